#include "console/ConsoleWindow.h"

#include <algorithm>

#include "console/Interrupts.h"
#include "console/Report.h"
#include "text/Cp1251.h"
#include "text/Trim.h"

namespace {

constexpr std::chrono::milliseconds kRedraw{100};

std::string Duration(double seconds) {
  const long whole = static_cast<long>(seconds + 0.5);
  char text[32];
  std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
  return text;
}

double Seconds(std::chrono::steady_clock::duration span) {
  return std::chrono::duration<double>(span).count();
}

}  // namespace

ConsoleWindow::ConsoleWindow(const ConsoleOptions& options, Progress progress, std::FILE* out,
                             std::FILE* err)
    : options_(options), progress_(progress), out_(out), err_(err) {}

void ConsoleWindow::SetStatusText(const std::string& text) {
  EndItem();
  StartItem(text);
}

void ConsoleWindow::SetTableBarMax(int max) {
  // The table copy counts its rows first: the item is a table from here on.
  item_.total = max;
  lastTable_ = item_.name;
  lastTableStep_ = item_.step;
}

void ConsoleWindow::StepTableBar() {
  ++item_.rows;
  ++rowsRead_;
}

void ConsoleWindow::StepAllBar() {
  if (allPosition_ < allMax_) ++allPosition_;
}

void ConsoleWindow::SetStepBytes(long long bytes) {
  item_.bytes = bytes;
  ProcessMessages();
}

void ConsoleWindow::ProcessMessages() {
  if (progress_ == Progress::Terminal && Clock::now() - lastDraw_ >= kRedraw) Draw();
}

bool ConsoleWindow::Interrupted() const {
  return interrupts::Requested();
}

void ConsoleWindow::ShowInterruptWarning(const std::string& text) {
  // The box's three centred lines, as one line.
  std::string line;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\r', start);
    if (end == std::string::npos) end = text.size();
    const std::string piece = text::Trim(std::string_view(text).substr(start, end - start));
    if (!piece.empty()) line += (line.empty() ? "" : " ") + piece;
    start = end + 1;
  }
  Error(line);
}

void ConsoleWindow::ShowErrorReport(const std::string& message) {
  errorReported_ = true;
  errorReport_ = message;
}

void ConsoleWindow::Error(const std::string& text) {
  ErrorUtf8(text::Utf8FromCp1251(text));
}

void ConsoleWindow::ErrorUtf8(const std::string& text) {
  ClearLine();
  // The window's messages break their lines with a carriage return alone,
  // which on a terminal would write the second line over the first.
  std::string lines;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r')
      lines += text[i];
    else if (i + 1 >= text.size() || text[i + 1] != '\n')
      lines += '\n';
  }
  std::fputs((lines + "\n").c_str(), err_);
  std::fflush(err_);
}

void ConsoleWindow::Finish() {
  EndItem();
  ClearLine();
}

void ConsoleWindow::StartItem(const std::string& name) {
  item_ = Item{};
  item_.name = name;
  item_.start = Clock::now();
  item_.step = std::min(allPosition_ + 1, std::max(allMax_, 1));
  item_.label = text::Utf8FromCp1251(name);
  if (inPasses_)
    item_.label =
        "[" + std::to_string(item_.step) + "/" + std::to_string(allMax_) + "] " + item_.label;
  itemOpen_ = true;
  if (progress_ == Progress::Terminal) Draw();
}

void ConsoleWindow::EndItem() {
  if (!itemOpen_) return;
  itemOpen_ = false;
  if (progress_ != Progress::Lines) return;
  const double seconds = Seconds(Clock::now() - item_.start);
  char figures[96];
  if (item_.total >= 0)
    std::snprintf(figures, sizeof figures, ": %lld rows in %.2f s", item_.rows, seconds);
  else if (item_.bytes >= 0)
    std::snprintf(figures, sizeof figures, ": %s in %.2f s", Megabytes(item_.bytes).c_str(),
                  seconds);
  else
    std::snprintf(figures, sizeof figures, ": %.2f s", seconds);
  const std::string line = item_.label + figures + "\n";
  std::fputs(line.c_str(), out_);
  std::fflush(out_);
}

void ConsoleWindow::Draw() {
  lastDraw_ = Clock::now();
  if (!itemOpen_) return;
  const double gone = Seconds(lastDraw_ - item_.start);
  const std::string& line = item_.label;
  char figures[128] = "";
  if (item_.total >= 0) {
    const double rate = gone > 0 ? item_.rows / gone : 0;
    const long long left = std::max<long long>(item_.total - item_.rows, 0);
    std::snprintf(figures, sizeof figures, "  %lld/%d rows  %.0f rows/s  %s gone  %s left",
                  item_.rows, item_.total, rate, Duration(gone).c_str(),
                  rate > 0 ? Duration(left / rate).c_str() : "?");
  } else if (item_.bytes >= 0) {
    std::snprintf(figures, sizeof figures, "  %s  %s gone", Megabytes(item_.bytes).c_str(),
                  Duration(gone).c_str());
  } else {
    std::snprintf(figures, sizeof figures, "  %s gone", Duration(gone).c_str());
  }
  // A carriage return and erase-to-end redraw the one line.
  std::fputs(("\r" + line + figures + "\033[K").c_str(), out_);
  std::fflush(out_);
  lineShown_ = true;
}

void ConsoleWindow::ClearLine() {
  if (!lineShown_) return;
  std::fputs("\r\033[K", out_);
  std::fflush(out_);
  lineShown_ = false;
}
