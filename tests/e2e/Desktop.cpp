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

// The text of xprop's `NAME = "..."` line, its escapes undone (\" \\ and octal bytes).
std::string QuotedValue(const std::string& line) {
  std::string value;
  size_t at = line.find("= \"");
  if (at == std::string::npos) return value;
  for (at += 3; at < line.size() && line[at] != '"'; ++at) {
    if (line[at] != '\\' || at + 1 >= line.size()) {
      value += line[at];
    } else if (line[at + 1] >= '0' && line[at + 1] <= '7') {
      int byte = 0;
      int digits = 0;
      for (++at; digits < 3 && at < line.size() && line[at] >= '0' && line[at] <= '7'; ++digits)
        byte = byte * 8 + (line[at++] - '0');
      value += static_cast<char>(byte);
      --at;
    } else {
      value += line[++at];
    }
  }
  return value;
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
  // The title is compared as _NET_WM_NAME holds it, UTF-8 in every locale; WM_NAME
  // holds the program's locale encoding, which differs between a C and a Russian desktop.
  std::vector<std::string> titled;
  for (const std::string& id : WindowIds(Xdotool({"search", "--onlyvisible", "--name", "."})))
    if (Title(id) == title) titled.push_back(id);
  return titled;
}

std::string Desktop::Title(const std::string& window) {
  EnvChanges env = Env();
  env.push_back({"LC_ALL", "C.UTF-8"});
  const ToolResult r = RunTool({"xprop", "-id", window, "-notype", "_NET_WM_NAME"}, env, 30s);
  return r.exitCode == 0 ? QuotedValue(r.out) : std::string();
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
