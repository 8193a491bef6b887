#pragma once
// What the window tests share: a program folder of their own, the data module
// and a window opened the way the entry opens it.
#include <QTemporaryDir>
#include <memory>
#include <string>

#include "app/DbDravikForm.h"
#include "tests/window/RecordingServices.h"

// One transfer data module for the whole test program, as in the program itself.
TDM1& TestDm();

// A temporary program folder holding the two control files the window requires.
class ProgramFolder {
 public:
  ProgramFolder();
  const std::string& Path() const { return path_; }  // ends with "/"
  std::string Executable() const { return path_ + "DB_Dravik"; }
  void Write(const std::string& name, const std::string& content) const;
  std::string Read(const std::string& name) const;
  void Remove(const std::string& name) const;

 private:
  QTemporaryDir dir_;
  std::string path_;
};

std::unique_ptr<TDbDravikForm> MakeForm(RecordingServices& services, const ProgramFolder& folder);

// Shows the window and waits until its first activation has made the start-up checks.
bool ShowAndWaitForChecks(TDbDravikForm& form);

// A control of the window by its name.
template <typename W>
W* Control(TDbDravikForm& form, const char* name) {
  return form.findChild<W*>(QLatin1String(name));
}
