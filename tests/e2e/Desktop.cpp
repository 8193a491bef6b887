#include "tests/e2e/Desktop.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <sstream>
#include <stdexcept>

namespace e2e {
namespace {

// Reads the display number the X server writes to its -displayfd descriptor.
std::string ReadDisplayNumber(int fd, std::chrono::milliseconds limit) {
  std::string number;
  const auto end = Clock::now() + limit;
  while (Clock::now() < end) {
    pollfd p{fd, POLLIN, 0};
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
    if (::poll(&p, 1, static_cast<int>(std::max<long long>(left.count(), 1))) <= 0) continue;
    char c = 0;
    const ssize_t n = ::read(fd, &c, 1);
    if (n <= 0) break;  // the server ended without naming a display
    if (c == '\n') return number;
    number += c;
  }
  return {};
}

std::string TitlePattern(const std::string& title) {
  // Qt stores the title's UTF-8 bytes in WM_NAME typed as Latin-1 text, and xdotool
  // compares WM_NAME read as Latin-1: each byte of the title is one Latin-1
  // character of the pattern. The anchors keep "Перенос данных" from matching a
  // longer title.
  std::string pattern = "^";
  for (unsigned char byte : title) {
    if (byte < 0x80) {
      pattern += static_cast<char>(byte);
    } else {
      pattern += static_cast<char>(0xC0 | (byte >> 6));
      pattern += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return pattern + "$";
}

}  // namespace

Desktop::Desktop(const std::filesystem::path& logFolder) {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe2 failed");
  try {
    // A free display number, chosen by the server itself; -noreset keeps it up
    // between clients.
    server_ = std::make_unique<Child>(
        std::vector<std::string>{"Xvfb", "-displayfd", "3", "-noreset", "-nolisten", "tcp",
                                 "-screen", "0", "1024x768x24"},
        EnvChanges{}, logFolder / "xvfb.log", fds[1]);
  } catch (...) {
    ::close(fds[0]);
    ::close(fds[1]);
    throw;
  }
  ::close(fds[1]);
  const std::string number = ReadDisplayNumber(fds[0], 60s);
  ::close(fds[0]);
  if (number.empty()) throw std::runtime_error("the X server named no display (see xvfb.log)");
  display_ = ":" + number;

  // A Russian layout beside the Latin one, as on the operators' machines.
  const ToolResult keyboard = RunTool({"setxkbmap", "us,ru"}, Env());
  if (keyboard.exitCode != 0) throw std::runtime_error("setxkbmap failed: " + keyboard.out);
}

Desktop::~Desktop() {
  server_.reset();
}

EnvChanges Desktop::Env() const {
  // xdotool compares window titles as text of the locale: Cyrillic titles need UTF-8.
  return {{"DISPLAY", display_}, {"LANG", "C.UTF-8"}, {"LC_ALL", "C.UTF-8"}};
}

ToolResult Desktop::Xdotool(const std::vector<std::string>& args, std::chrono::milliseconds limit) {
  std::vector<std::string> argv{"xdotool"};
  argv.insert(argv.end(), args.begin(), args.end());
  return RunTool(argv, Env(), limit);
}

namespace {

std::vector<std::string> WindowIds(const ToolResult& found) {
  std::vector<std::string> ids;
  std::istringstream lines(found.out);
  for (std::string line; std::getline(lines, line);)
    if (!line.empty() && std::all_of(line.begin(), line.end(), ::isdigit)) ids.push_back(line);
  return ids;
}

}  // namespace

std::vector<std::string> Desktop::Windows(const std::string& title) {
  return WindowIds(Xdotool({"search", "--onlyvisible", "--name", TitlePattern(title)}));
}

std::vector<std::string> Desktop::WindowsOfClass(const std::string& className) {
  return WindowIds(Xdotool({"search", "--onlyvisible", "--classname", "^" + className + "$"}));
}

std::string Desktop::WaitWindow(const std::string& title, const std::vector<std::string>& except,
                                std::chrono::milliseconds limit) {
  std::string found;
  WaitUntil(
      [&] {
        for (const std::string& id : Windows(title))
          if (std::find(except.begin(), except.end(), id) == except.end()) {
            found = id;
            return true;
          }
        return false;
      },
      limit, 300ms);
  return found;
}

std::string Desktop::Geometry(const std::string& window) {
  const ToolResult r = Xdotool({"getwindowgeometry", window});
  const size_t at = r.out.find("Geometry: ");
  if (r.exitCode != 0 || at == std::string::npos) return {};
  const size_t start = at + 10;
  return r.out.substr(start, r.out.find('\n', start) - start);
}

void Desktop::Focus(const std::string& window) {
  const ToolResult r = Xdotool({"windowfocus", "--sync", window}, 30s);
  if (r.exitCode != 0) throw std::runtime_error("xdotool windowfocus failed: " + r.out);
}

void Desktop::Type(const std::string& text) {
  const ToolResult r = Xdotool({"type", "--delay", "40", "--", text}, 120s);
  if (r.exitCode != 0) throw std::runtime_error("xdotool type failed: " + r.out);
}

void Desktop::Keys(const std::vector<std::string>& keys) {
  std::vector<std::string> args{"key", "--delay", "150"};
  args.insert(args.end(), keys.begin(), keys.end());
  const ToolResult r = Xdotool(args, 60s);
  if (r.exitCode != 0) throw std::runtime_error("xdotool key failed: " + r.out);
}

void Desktop::Click(int x, int y) {
  const ToolResult r =
      Xdotool({"mousemove", "--sync", std::to_string(x), std::to_string(y), "click", "1"}, 30s);
  if (r.exitCode != 0) throw std::runtime_error("xdotool click failed: " + r.out);
}

void Desktop::Screenshot(const std::filesystem::path& png) {
  std::filesystem::create_directories(png.parent_path());
  const ToolResult r = RunTool({"import", "-window", "root", png.string()}, Env(), 60s);
  if (r.exitCode != 0) throw std::runtime_error("import failed: " + r.out);
}

}  // namespace e2e
