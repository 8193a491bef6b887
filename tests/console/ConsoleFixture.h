#pragma once
// db-dravik started as a separate process, as a script starts it: a program
// folder with the sample control files, a demo site as the source and an empty
// installation as the destination, all in a folder of the test's own.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "tests/support/Process.h"
#include "tests/support/TempDir.h"

namespace consoletest {

// The command, as built beside the window.
inline const std::string kCommand = DRAVIK_CONSOLE;

class ConsoleTest : public ::testing::Test {
 protected:
  static constexpr int kSiteSize = 3;  // controllers of the demo site

  ConsoleTest();

  // db-dravik with these arguments and --folder of the test's program folder,
  // speaking English; InLocale runs it under LC_ALL=`locale`.
  testsupport::ProcessResult Console(std::vector<std::string> arguments) const;
  testsupport::ProcessResult InLocale(const std::string& locale,
                                      std::vector<std::string> arguments) const;
  // The arguments every run names: both databases.
  std::vector<std::string> Databases() const { return {"--source", source_, "--dest", dest_}; }

  // A control file of the program folder, lines given in UTF-8 and written in
  // windows-1251 with CR LF.
  void WriteControl(const std::string& name, const std::vector<std::string>& lines) const;
  std::string LogBytes() const;
  // Every file of the test's folder but the databases, by path, with its bytes.
  std::map<std::string, std::string> FolderFiles() const;

  // A Cyrillic name with a blank: the paths reach the command as UTF-8 bytes.
  testsupport::TempDir dir_{"dravik-console Объект"};
  std::string folder_;  // ends with "/"
  std::string source_, dest_;
};

// The text that follows `label` up to the end of its line, for every line holding it.
std::vector<std::string> After(const std::string& output, const std::string& label);

}  // namespace consoletest
