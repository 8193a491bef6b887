#pragma once
// What the real-window tests share: the window's texts read from the
// accessibility tree, the demo site's tables and generators, and a fixture
// that prepares a program folder, waits for runs and checks what they left.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/Operator.h"
#include "tests/e2e/ProgramFolder.h"
#include "tests/support/Isql.h"
#include "tests/support/TempDir.h"

namespace e2e {

namespace fs = std::filesystem;
using testsupport::QueryInt;
using testsupport::QueryRows;
using testsupport::Variant;

constexpr auto kRunLimit = 600s;  // a whole run on a loaded two-core machine

inline const std::string kCopyPassLine = "   Обновление БД приемника";
inline const std::string kClearingPassLine = "   Очистка БД приемника";
inline const std::string kSecondScriptStart = "-- Второй скрипт";

// Generators whose tables keep the keys they are given: only the generator step
// moves them in a transfer.
inline const std::vector<std::string> kKeptKeyGenerators = {
    "GEN_OWNER",      "GEN_EVENTS",     "GEN_ALARM",     "GEN_ACR$EVENTS",
    "GEN_ACR$ALARMS", "GEN_STR_EVENTS", "GEN_STR_ALARMS"};
constexpr int kPresetGenerator = 777;

// Tables copied whole from the demo site.
inline const std::vector<std::string> kWholeTables = {
    "HOSTS",    "CONTROLLERS", "PCN",     "CINPUTS",  "SLAVES",   "OUTPUTS",
    "INPUTS",   "READERS",     "KRONTUR", "CARDSDEF", "DAYSCH",   "TIMERS",
    "AGRIGHTS", "AGSCH",       "PRGDEF",  "OWNER",    "MACROSES", "MAKROS_RIGHT"};

std::string TestName();
const Accessible& MainFrame(const Accessible& tree);
// The status label's text.
std::string Status(const Accessible& tree);
bool ButtonEnabled(const Accessible& tree, const std::string& caption);
// The window is idle again: the start button usable, the interrupt button not.
bool Idle(const Accessible& tree);
std::vector<double> BarValues(const Accessible& tree);
// Two row sets hold the same rows; a difference reports the rows on one side only.
testing::AssertionResult SameRows(std::vector<testsupport::Row> actual,
                                  std::vector<testsupport::Row> expected);
long long Generator(const fs::path& db, const std::string& name);
void PresetGenerators(const fs::path& db);
// GENERATOR.txt entries: generator, table, column.
std::vector<std::array<std::string, 3>> GeneratorList(const ProgramFolder& p);

class TransferWindow : public testing::Test {
 protected:
  void SetUp() override {
    output_ = OutputFolder(TestName());
    op_ = std::make_unique<Operator>(output_);
  }

  void TearDown() override {
    // Whatever happened, the display, the bus and the program end here; the run log
    // stays beside the screenshots.
    op_.reset();
    if (!program_.folder.empty()) {
      std::error_code ignored;
      fs::copy_file(program_.runLog, output_ / "DB_dravik.log",
                    fs::copy_options::overwrite_existing, ignored);
      // The databases of a failed test stay for a look with isql.
      if (HasFailure())
        for (const fs::path& db : {program_.source, program_.dest})
          fs::copy_file(db, output_ / db.filename(), fs::copy_options::overwrite_existing, ignored);
    }
  }

  void Prepare(Variant variant, int size, const std::string& subfolder = "") {
    program_ = PrepareProgramFolder(folder_.path() / subfolder, variant, size);
    PresetGenerators(program_.dest);
  }

  // Waits for the end of run number `run` since the program started: its copying
  // pass began and the window is idle again.
  Accessible WaitRunEnd(int run = 1) {
    std::optional<Accessible> end = op_->WaitTree(
        [&](const Accessible& t) { return CopyPasses(ReadRunLog(program_)) >= run && Idle(t); },
        kRunLimit);
    if (!end) {
      op_->desktop().Screenshot(output_ / "run-did-not-end.png");
      throw std::runtime_error("the run did not end within the limit");
    }
    return *end;
  }

  // No box of the program is open: its only window is the main one.
  void ExpectNoBox() {
    const Accessible tree = op_->Tree();
    EXPECT_EQ(tree.children.size(), 1u) << "a box is open; see tree.txt";
    if (tree.children.size() != 1) Dump(tree, output_ / "tree.txt");
  }

  static int CopyPasses(const std::string& log);

  void CloseProgram() { EXPECT_EQ(op_->Close(), 0) << "see " << (output_ / "program.log"); }

  void ExpectCompleteTransfer(const std::string& eventsFrom, bool ownerStates);

  // The run ends done with both bars back at 0 and no box open; the program is closed.
  void ExpectDoneAndClose(const std::string& screenshot) {
    const Accessible end = WaitRunEnd();
    op_->desktop().Screenshot(output_ / screenshot);
    EXPECT_EQ(Status(end), kStatusDone);
    EXPECT_EQ(BarValues(end), (std::vector<double>{0, 0}));
    ExpectNoBox();
    CloseProgram();
  }

  // A started run with events from `eventsFromSql` and the owners' states kept ends
  // done, with a clean run log and a complete destination.
  void ExpectCompleteRun(const std::string& eventsFromSql) {
    ExpectDoneAndClose("3-done.png");

    const std::string log = ReadRunLog(program_);
    EXPECT_NE(log.find(kClearingPassLine), std::string::npos);
    EXPECT_NE(log.find(kSecondScriptStart), std::string::npos);
    EXPECT_EQ(log.find("########"), std::string::npos) << "a statement failed; see the run log";
    EXPECT_EQ(log.find("Ошибка"), std::string::npos) << "a step failed; see the run log";
    ExpectCompleteTransfer(eventsFromSql, true);
  }

  testsupport::TempDir folder_{"dravik-e2e"};
  fs::path output_;
  ProgramFolder program_;
  std::unique_ptr<Operator> op_;
};

}  // namespace e2e
