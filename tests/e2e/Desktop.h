#pragma once
// A display of the test's own: an X server on a free display number with no window
// manager, and the keyboard, window search and screenshots through xdotool and
// ImageMagick, the way an operator's desktop would deliver them.
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/Process.h"

namespace e2e {

class Desktop {
 public:
  // Starts the X server; `logFolder` receives its log. Throws std::runtime_error.
  explicit Desktop(const std::filesystem::path& logFolder);
  ~Desktop();
  Desktop(const Desktop&) = delete;
  Desktop& operator=(const Desktop&) = delete;

  // ":N"
  const std::string& Display() const { return display_; }
  // The environment a program on this display runs with.
  EnvChanges Env() const;

  // Visible top-level windows whose title is exactly `title`.
  std::vector<std::string> Windows(const std::string& title);
  // The title of a window (its _NET_WM_NAME, UTF-8); empty when it has none.
  std::string Title(const std::string& window);
  // Visible windows of a program by its class name, popups without a title included.
  std::vector<std::string> WindowsOfClass(const std::string& className);
  // Waits for a visible window titled `title` that is not in `except`; empty on timeout.
  std::string WaitWindow(const std::string& title, const std::vector<std::string>& except,
                         std::chrono::milliseconds limit);
  // "WIDTHxHEIGHT" of a window; empty when it cannot be read.
  std::string Geometry(const std::string& window);
  // Gives the keyboard focus to a window, as a click on it would.
  void Focus(const std::string& window);
  // Types text into the focused control.
  void Type(const std::string& text);
  // Presses keys ("Tab", "space", "Return", "alt+f") one after the other.
  void Keys(const std::vector<std::string>& keys);
  // A click of the left mouse button at a point of the screen.
  void Click(int x, int y);
  // A picture of the whole screen.
  void Screenshot(const std::filesystem::path& png);

 private:
  ToolResult Xdotool(const std::vector<std::string>& args, std::chrono::milliseconds limit = 60s);

  std::unique_ptr<Child> server_;
  std::string display_;
};

}  // namespace e2e
