#include "console/ConsoleWindow.h"

#include <QCoreApplication>
#include <algorithm>

#include "console/Interrupts.h"
#include "console/Language.h"
#include "console/Report.h"
#include "console/WindowTexts.h"
#include "text/Trim.h"

namespace {

class ProgressLine {
  Q_DECLARE_TR_FUNCTIONS(ProgressLine)
};

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
  StartItem(text, WindowStatus(text));
}

void ConsoleWindow::BeginStep(const std::string& label) {
  EndItem();
  StartItem(std::string(), label);
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

void ConsoleWindow::ShowInterruptWarning(const std::string& warning) {
  // The box's three centred lines, as one line.
  const std::string text = WindowMessage(warning);
  std::string line;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\r', start);
    if (end == std::string::npos) end = text.size();
    const std::string piece = text::Trim(std::string_view(text).substr(start, end - start));
    if (!piece.empty()) line += (line.empty() ? "" : " ") + piece;
    start = end + 1;
  }
  ErrorUtf8(line);
}

void ConsoleWindow::ShowErrorReport(const std::string& message) {
  errorReported_ = true;
  errorReport_ = message;
}

void ConsoleWindow::Error(const std::string& text) {
  ErrorUtf8(WindowMessage(text));
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

void ConsoleWindow::StartItem(const std::string& name, const std::string& label) {
  item_ = Item{};
  item_.name = name;
  item_.start = Clock::now();
  item_.step = std::min(allPosition_ + 1, std::max(allMax_, 1));
  item_.label = label;
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
  const std::string seconds = lang::Decimal(Seconds(Clock::now() - item_.start), 2);
  std::string line;
  if (item_.total >= 0)
    line = lang::Fill(ProgressLine::tr("%1: %2 rows in %3 s", nullptr, lang::Plural(item_.rows)),
                      {item_.label, lang::Count(item_.rows), seconds});
  else if (item_.bytes >= 0)
    line = lang::Fill(ProgressLine::tr("%1: %2 in %3 s"),
                      {item_.label, Megabytes(item_.bytes), seconds});
  else
    line = lang::Fill(ProgressLine::tr("%1: %2 s"), {item_.label, seconds});
  std::fputs((line + "\n").c_str(), out_);
  std::fflush(out_);
}

void ConsoleWindow::Draw() {
  lastDraw_ = Clock::now();
  if (!itemOpen_) return;
  const double gone = Seconds(lastDraw_ - item_.start);
  std::string figures;
  if (item_.total >= 0) {
    const double rate = gone > 0 ? item_.rows / gone : 0;
    const long long left = std::max<long long>(item_.total - item_.rows, 0);
    figures = lang::Fill(ProgressLine::tr("  %1/%2 rows  %3 rows/s  %4 gone  %5 left"),
                         {lang::Count(item_.rows), lang::Count(item_.total),
                          lang::Count(static_cast<long long>(rate + 0.5)), Duration(gone),
                          rate > 0 ? Duration(left / rate) : "?"});
  } else if (item_.bytes >= 0) {
    figures =
        lang::Fill(ProgressLine::tr("  %1  %2 gone"), {Megabytes(item_.bytes), Duration(gone)});
  } else {
    figures = lang::Fill(ProgressLine::tr("  %1 gone"), {Duration(gone)});
  }
  // A carriage return and erase-to-end redraw the one line.
  std::fputs(("\r" + item_.label + figures + "\033[K").c_str(), out_);
  std::fflush(out_);
  lineShown_ = true;
}

void ConsoleWindow::ClearLine() {
  if (!lineShown_) return;
  std::fputs("\r\033[K", out_);
  std::fflush(out_);
  lineShown_ = false;
}
