#pragma once
// The program in a folder of its own on a test display, and an operator at its
// keyboard: starting it, filling the window, starting and interrupting a run,
// answering its boxes and closing it. What the window shows is read through the
// accessibility bus; the keys go through the X server.
#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/Accessibility.h"
#include "tests/e2e/Desktop.h"
#include "tests/e2e/Process.h"
#include "tests/support/TempDir.h"

namespace e2e {

// Window texts, UTF-8.
inline const std::string kAppTitle = "Перенос данных";
inline const std::string kErrorTitle = "Ошибка";
inline const std::string kStartButton = "Выполнить перенос данных";
inline const std::string kInterruptButton = "Прервать перенос данных";
inline const std::string kEventsBox = "Переносить события и тревоги";
inline const std::string kKeepLocationsBox = "Сохранять местоположение пользователей (долго!)";
inline const std::string kStatusCaption = "Копируется таблица:";
inline const std::string kStatusDone = "Перенос данных завершен.";
inline const std::string kStatusInterrupted = "Перенос данных прерван";
inline const std::string kYes = "Да";

// What the operator enters before starting.
struct FormInput {
  std::string source, dest;
  bool events = false;
  std::string eventsFrom;  // typed into the date box
  bool keepLocations = false;
};

class Operator {
 public:
  // `outputFolder` keeps the logs of the display, the bus and the program.
  explicit Operator(const std::filesystem::path& outputFolder);
  ~Operator();

  Desktop& desktop() { return *desktop_; }

  // Starts the executable `exe` (its folder is the program folder) and waits until
  // its window is shown and readable.
  void Launch(const std::filesystem::path& exe);
  bool Running() { return program_ && program_->Running(); }

  // The program's accessible tree right now (every window of it); throws when it
  // cannot be read within the bounded wait.
  Accessible Tree();
  // Polls the tree until `done` holds; the last tree read, or nothing on timeout.
  std::optional<Accessible> WaitTree(const std::function<bool(const Accessible&)>& done,
                                     std::chrono::milliseconds limit);

  // Types the paths, ticks and fills the options with Tab, space and text, and
  // leaves the focus on the start button. Throws when a control cannot be reached
  // from the keyboard.
  void FillForm(const FormInput& input);
  // The first part of it: the source path, two tabs past its browse button, the
  // destination path.
  void TypePaths(const std::string& source, const std::string& dest);
  // Presses space on the control that has the focus.
  void PressSpace();

  // Tabs until text box `index` of the window (0 source, 1 destination, 2 date)
  // has the focus; false when it is never reached.
  bool TabToText(int index, int maxTabs = 12);

  // Tabs through the window until the control `role`/`name` has the focus (at most
  // `maxTabs` presses); false when it is never reached.
  bool TabTo(const std::string& role, const std::string& name, int maxTabs = 12);

  // A box of the program titled `title` with a label whose text holds `text`:
  // waits for it, gives it the focus, tabs to `button` (any button when empty),
  // takes a screenshot into `screenshot` when one is named, and presses the
  // button. Returns the box's label texts; throws when it does not appear within
  // `limit`.
  std::vector<std::string> AnswerBox(const std::string& title, const std::string& text,
                                     const std::string& button, std::chrono::milliseconds limit,
                                     const std::filesystem::path& screenshot = {});

  // The window of the program on the display; empty when none is visible.
  std::string MainWindow();

  // Closes the program as the desktop asks a program to end (SIGTERM: its
  // "Wm_Close" box, answered), and returns its exit code.
  int Close();

 private:
  bool TabUntil(const std::function<bool(const Accessible&)>& reached, int maxTabs,
                const std::string& what);

  std::filesystem::path output_;
  // The buses' sockets: a short path of the test's own.
  testsupport::TempDir runtime_{"dravik-e2e-run"};
  std::unique_ptr<Desktop> desktop_;
  std::unique_ptr<AccessibilityBus> bus_;
  std::unique_ptr<Child> program_;
  std::string mainGeometry_;
};

// The top-level window of the tree that holds a label containing `text`, or null.
const Accessible* WindowWithLabel(const Accessible& tree, const std::string& text);

// Label texts of the window (the main window or a box) whose top node `window` is.
std::vector<std::string> Labels(const Accessible& window);

// Writes the tree into a file, for the report of a failed test.
void Dump(const Accessible& tree, const std::filesystem::path& file);

}  // namespace e2e
