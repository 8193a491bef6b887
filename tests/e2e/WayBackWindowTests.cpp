// The way back in the real window, from the keyboard: the backup a run makes by
// default restores with the engine's own gbak to the destination as it was
// before the run and leaves the run log as it is without it, and the restore
// dialog of the menu "Сервис" puts the destination back.
#include <fstream>
#include <iterator>

#include "tests/e2e/TransferFixture.h"
#include "tests/support/Contents.h"
#include "tests/support/Process.h"
#include "tests/support/RunLogLines.h"

namespace e2e {
namespace {

const std::string kRestoreTitle = "Восстановление приемника из резервной копии";

std::string Bytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<fs::path> BackupsIn(const fs::path& folder) {
  std::vector<fs::path> backups;
  std::error_code missing;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, missing))
    if (entry.path().extension() == ".fbk") backups.push_back(entry.path());
  return backups;
}

class WayBackWindow : public TransferWindow {
 protected:
  // The menu "Сервис" (the second of the menu bar) from the keyboard: Alt, then
  // the arrows to the item `downs` below the menu's top, and Return.
  void ChooseToolsItem(int downs) {
    op_->desktop().Focus(op_->MainWindow());
    op_->desktop().Keys({"alt"});
    std::vector<std::string> keys = {"Right", "Down"};
    for (int i = 0; i < downs; ++i) keys.push_back("Down");
    keys.push_back("Return");
    op_->desktop().Keys(keys);
  }

  // The program's windows are its main window alone again.
  bool OnlyMainWindow() {
    return op_->WaitTree([](const Accessible& t) { return t.children.size() == 1; }, 60s)
        .has_value();
  }
};

TEST_F(WayBackWindow, BackupBeforeTheRunAndRestoreFromTheMenu) {
  Prepare(Variant::Current, 3);
  const fs::path before = folder_.path() / "dest-before-the-run.fdb";
  fs::copy_file(program_.dest, before);
  op_->Launch(program_.exe);
  op_->FillForm({program_.source.string(), program_.dest.string(), true, "01.03.2026", true});
  op_->PressSpace();
  const Accessible first = WaitRunEnd(1);
  EXPECT_EQ(Status(first), kStatusDone);
  ExpectNoBox();
  const std::string firstLog = Bytes(program_.runLog);

  // One backup, beside the program's files, with the destination it holds noted.
  const fs::path backupFolder = program_.folder / "backups";
  const std::vector<fs::path> backups = BackupsIn(backupFolder);
  ASSERT_EQ(backups.size(), 1u);
  const fs::path backup = backups.front();
  EXPECT_EQ(backup.filename().string().rfind("dest ", 0), 0u) << backup;
  EXPECT_EQ(Bytes(backup.string() + ".dest"), program_.dest.string() + "\n");

  // The restore: the dialog's default button, a question naming the destination,
  // and a box saying it is restored.
  ChooseToolsItem(3);
  const std::string dialog = op_->desktop().WaitWindow(kRestoreTitle, {}, 60s);
  ASSERT_FALSE(dialog.empty()) << "the restore dialog did not open";
  op_->desktop().Screenshot(output_ / "1-restore-dialog.png");
  op_->desktop().Focus(dialog);
  op_->desktop().Keys({"Return"});
  const std::vector<std::string> question = op_->AnswerBox(
      kAppTitle, "будет заменена резервной копией", kYes, 60s, output_ / "2-question.png");
  EXPECT_NE(std::find_if(question.begin(), question.end(),
                         [&](const std::string& label) {
                           return label.find(program_.dest.string()) != std::string::npos;
                         }),
            question.end());
  op_->AnswerBox(kAppTitle, "восстановлена из резервной копии", "", kRunLimit,
                 output_ / "3-restored.png");
  op_->desktop().Focus(dialog);
  op_->desktop().Keys({"Escape"});
  ASSERT_TRUE(OnlyMainWindow()) << "the restore dialog did not close";
  // Between runs the program holds no database open.
  EXPECT_EQ(testsupport::DatabaseContents(program_.dest), testsupport::DatabaseContents(before))
      << "the restore did not bring the destination back";

  // The second run, on the destination put back, with the backup unticked.
  ChooseToolsItem(1);
  op_->desktop().Focus(op_->MainWindow());
  ASSERT_TRUE(op_->TabTo("push button", kStartButton));
  op_->PressSpace();
  const Accessible second = WaitRunEnd(2);
  EXPECT_EQ(Status(second), kStatusDone);
  ExpectNoBox();
  CloseProgram();

  EXPECT_EQ(BackupsIn(backupFolder).size(), 1u) << "the backup was not unticked";
  const std::string bothLogs = Bytes(program_.runLog);
  ASSERT_GT(bothLogs.size(), firstLog.size());
  EXPECT_EQ(testsupport::LinesWithoutTimes(firstLog),
            testsupport::LinesWithoutTimes(bothLogs.substr(firstLog.size())))
      << "the run log of the run with the backup differs from the one without";
  ExpectCompleteTransfer("2026-03-01", true);

  // The engine's own gbak makes of the backup the destination as it was.
  const fs::path restored = folder_.path() / "restored-by-gbak.fdb";
  const testsupport::ProcessResult gbak = testsupport::RunProcess(
      {"gbak", "-c", "-user", "SYSDBA", backup.string(), restored.string()});
  ASSERT_EQ(gbak.exitCode, 0) << gbak.out << gbak.err;
  EXPECT_EQ(testsupport::DatabaseContents(restored), testsupport::DatabaseContents(before));
  EXPECT_EQ(testsupport::GeneratorValues(restored), testsupport::GeneratorValues(before));
}

}  // namespace
}  // namespace e2e
