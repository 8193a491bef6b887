#pragma once
// Whole transfer runs, headless: a program folder of its own with the control
// files and the run log, a source and a destination made from schema/, the data
// module, the state store and a fake window.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/TransferRun.h"
#include "db/IB.h"
#include "state/DynamicStates.h"
#include "tests/support/FakeWindow.h"
#include "tests/support/Isql.h"
#include "tests/support/TempDir.h"

namespace runtest {

using testsupport::Row;

// An expected run log line that starts with this is a timestamp followed by the rest.
inline const std::string kStamp = "<TIMESTAMP>";

class RunTest : public ::testing::Test {
 protected:
  // The program folder and both databases lie in `programSubfolder` of the test's folder.
  explicit RunTest(const std::string& programSubfolder = "");

  // Control files in the program folder; the lines are given in UTF-8 and
  // written in windows-1251 with CR LF after each.
  void WriteControl(const std::string& name, const std::vector<std::string>& lines);
  void WriteControlBytes(const std::string& name, const std::string& bytes);
  void TableList(const std::vector<std::string>& lines) { WriteControl("Conv.txt", lines); }
  void Generators(const std::vector<std::string>& lines) { WriteControl("Generator.txt", lines); }
  void FirstScript(const std::vector<std::string>& lines) { WriteControl("SQL/_Upd.sql", lines); }
  void SecondScript(const std::vector<std::string>& lines) { WriteControl("SQL/Upd.sql", lines); }

  // isql on either side (UTF-8 texts); only while no run holds the files.
  void Source(const std::string& sql) { testsupport::RunIsql(src_, sql); }
  void Dest(const std::string& sql) { testsupport::RunIsql(dst_, sql); }
  std::vector<Row> SourceRows(const std::string& select) {
    return testsupport::QueryRows(src_, select);
  }
  std::vector<Row> DestRows(const std::string& select) {
    return testsupport::QueryRows(dst_, select);
  }
  // Each row as its values joined by one blank.
  std::vector<std::string> DestLines(const std::string& select);
  std::vector<std::string> SourceLines(const std::string& select);
  long long DestInt(const std::string& select) { return testsupport::QueryInt(dst_, select); }
  long long Generator(const std::string& name);

  // A small site on both sides: hosts, controllers, readers, a zone, card groups,
  // owners and an event in the source; other rows of the same tables, and
  // generators well above the source keys, in the destination.
  void SeedSite();

  // Every row of every table the tests touch as isql lists them, for
  // before-and-after comparisons.
  std::string Snapshot(const std::filesystem::path& db);

  // Empties the run log, as a program start does.
  void ResetLog();
  // Fresh copies of the empty template on both sides.
  void FreshDatabases();
  // One start of the transfer, as the start button gives it; the step count comes
  // from the table list as the window counted it at start-up.
  void Run();
  void Run(int tableListLines);

  // The run log split at CR LF (windows-1251 bytes), and checks of it.
  std::string LogBytes() const;
  std::vector<std::string> LogLines() const;
  // Compares the whole log with `expected`; lines starting with kStamp must start
  // with a timestamp of the Russian form.
  void ExpectLog(const std::vector<std::string>& expected) const;

  // The statement blocks the run log shows, for building expected logs.
  static std::vector<std::string> Block(const std::vector<std::string>& statement, bool success);
  static std::vector<std::string> SecondBlock(const std::vector<std::string>& statement);
  // The log of a run whose table list writes nothing of its own: the first
  // script's blocks, the two pass lines, then `afterPasses`.
  static std::vector<std::string> LogAround(const std::vector<std::string>& firstBlocks,
                                            const std::vector<std::string>& afterPasses);

  // Sets the interrupt flag at the first pump where `when` holds; `when` is not
  // asked while the flag is still set.
  void InterruptWhen(std::function<bool(const FakeWindow&)> when);

  bool Connected() const;

  testsupport::TempDir dir_{"dravik-run"};
  std::filesystem::path programDir_;
  std::string folder_;  // the program folder, ending with "/"
  std::filesystem::path src_, dst_;
  TDM1 dm_;
  FakeWindow window_;
  DynamicStates states_;
  TransferRun run_;
  std::vector<std::chrono::milliseconds> pauses_;
};

// Appends `more` to `lines`.
void Add(std::vector<std::string>& lines, const std::vector<std::string>& more);

}  // namespace runtest
