#pragma once
// Everything the main window opens outside itself: message boxes, the browse
// dialog, help, the about box and the dialogs of the menu "Сервис". The window
// calls only this interface, so tests replace it and no test ever waits on a
// modal box.
#include <QString>
#include <string>
#include <vector>

class QDialog;
class QWidget;

class WindowServices {
 public:
  // Error stands for the error and the stop icon alike: they are the same icon.
  enum class Icon { None, Error, Warning, Question, Information };
  enum class Button { Ok, Yes, No };

  virtual ~WindowServices() = default;

  // A modal box; `caption` and `text` are windows-1251, a lone CR breaks a line.
  // The first button is the default one, pressed by Enter. Returns the button
  // pressed (the last button when the box is closed otherwise).
  virtual Button Message(QWidget* parent, Icon icon, const std::string& caption,
                         const std::string& text, const std::vector<Button>& buttons) = 0;

  // The file-open dialog of a file-name box. `filter` has the form
  // "description|*.a;*.b". `fileName` comes in as the box's text and goes out
  // as the chosen file; false when the operator cancels.
  virtual bool BrowseFile(QWidget* parent, const std::string& title, const std::string& filter,
                          QString& fileName) = 0;

  // Opens `helpFile` at the topic `context`.
  virtual void Help(QWidget* parent, const std::string& helpFile, int context) = 0;

  // Shows the about box from the about library of `programFolder`.
  virtual void About(QWidget* parent, const std::string& programFolder) = 0;

  // Shows a dialog of the window's own until the operator closes it.
  virtual void ShowDialog(QDialog& dialog) = 0;
};

// The real boxes and dialogs of Qt.
class QtWindowServices : public WindowServices {
 public:
  Button Message(QWidget* parent, Icon icon, const std::string& caption, const std::string& text,
                 const std::vector<Button>& buttons) override;
  bool BrowseFile(QWidget* parent, const std::string& title, const std::string& filter,
                  QString& fileName) override;
  void Help(QWidget* parent, const std::string& helpFile, int context) override;
  void About(QWidget* parent, const std::string& programFolder) override;
  void ShowDialog(QDialog& dialog) override;
};

// "description|*.a;*.b" as Qt's name filter "description (*.a *.b)"; several
// pairs become several filters separated by ";;".
QString QtNameFilter(const std::string& filter);
