#pragma once
// A WindowServices for tests: records every box, dialog and help request, and
// answers from a script, so that nothing modal ever opens.
#include <QDialog>
#include <QString>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "app/AboutBox.h"
#include "app/WindowServices.h"

struct ShownMessage {
  WindowServices::Icon icon;
  std::string caption;
  std::string text;
  std::vector<WindowServices::Button> buttons;
};

class RecordingServices : public WindowServices {
 public:
  std::vector<ShownMessage> messages;
  std::deque<Button> answers;  // taken in order; Ok when empty

  struct BrowseRequest {
    std::string title, filter;
    QString fileName;
  };
  std::vector<BrowseRequest> browses;
  bool browseConfirms = true;
  QString browseResult;

  std::vector<std::pair<std::string, int>> helps;
  std::vector<std::string> abouts;
  bool realAbout = false;  // the real about loader, reporting here

  Button Message(QWidget*, Icon icon, const std::string& caption, const std::string& text,
                 const std::vector<Button>& buttons) override {
    messages.push_back({icon, caption, text, buttons});
    if (answers.empty()) return Button::Ok;
    Button answer = answers.front();
    answers.pop_front();
    return answer;
  }

  bool BrowseFile(QWidget*, const std::string& title, const std::string& filter,
                  QString& fileName) override {
    browses.push_back({title, filter, fileName});
    if (!browseConfirms) return false;
    fileName = browseResult;
    return true;
  }

  void Help(QWidget*, const std::string& helpFile, int context) override {
    helps.emplace_back(helpFile, context);
  }

  void About(QWidget* parent, const std::string& programFolder) override {
    abouts.push_back(programFolder);
    if (realAbout) ShowAboutBox(programFolder, *this, parent);
  }

  // Dialogs are shown without a modal loop and handed to `onDialog`, which
  // works them as an operator would; they close when it returns.
  std::function<void(QDialog&)> onDialog;
  std::vector<QString> dialogs;  // their titles
  void ShowDialog(QDialog& dialog) override {
    dialogs.push_back(dialog.windowTitle());
    dialog.show();
    if (onDialog) onDialog(dialog);
    dialog.close();
  }
};
