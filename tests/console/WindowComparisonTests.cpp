// The command line is a second front end, not a second transfer: the real
// window, offscreen, and the command, given the same site and the same options,
// leave the same destination and the same run log but for the timestamps.
#include <QCheckBox>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QPushButton>

#include "app/DbDravikForm.h"
#include "app/Inputs.h"
#include "tests/console/ConsoleFixture.h"
#include "tests/support/Contents.h"
#include "tests/support/RunLogLines.h"
#include "tests/window/RecordingServices.h"
#include "text/Cp1251.h"
#include "text/RussianTexts.h"

namespace consoletest {
namespace {

namespace fs = std::filesystem;

// The window's run in this process, its start-up checks made at its first
// activation as in the program.
void RunInWindow(const std::string& folder, const std::string& source, const std::string& dest,
                 const QString& eventsFrom) {
  TDM1 dm;
  RecordingServices services;
  TDbDravikForm form(dm, services, folder + "DB_Dravik", folder + "DB_dravik.hlp");
  form.show();
  QDeadlineTimer deadline(10000);
  while (!form.StartupChecksMade() && !deadline.hasExpired())
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  ASSERT_TRUE(form.StartupChecksMade());
  form.findChild<FileNameEdit*>(QStringLiteral("SourceFE"))
      ->setText(QString::fromStdString(source));
  form.findChild<FileNameEdit*>(QStringLiteral("DestFE"))->setText(QString::fromStdString(dest));
  form.findChild<QCheckBox*>(QStringLiteral("EventsCB"))->setChecked(true);
  form.findChild<DateBox*>(QStringLiteral("FromDE"))->setText(eventsFrom);
  form.findChild<QCheckBox*>(QStringLiteral("SaveUserPlaceCB"))->click();
  form.findChild<QPushButton*>(QStringLiteral("MoveBitBtn"))->click();
  for (const ShownMessage& message : services.messages)
    ADD_FAILURE() << "the window showed: " << text::Utf8FromCp1251(message.text);
  ASSERT_FALSE(form.Running());
}

TEST_F(ConsoleTest, WindowAndCommandLeaveTheSameDestinationAndLog) {
  testsupport::TempDir window("dravik-console-window");
  const std::string windowFolder = window.path().string() + "/";
  for (const fs::directory_entry& entry : fs::directory_iterator(dir_.path()))
    fs::copy(entry.path(), window.path() / entry.path().filename(), fs::copy_options::recursive);
  RunInWindow(windowFolder, window.File("source.fdb"), window.File("dest.fdb"),
              QStringLiteral("01.03.2026"));

  std::vector<std::string> arguments = Databases();
  arguments.insert(arguments.end(), {"--events-from", "01.03.2026", "--keep-locations"});
  const testsupport::ProcessResult console = Console(arguments);
  ASSERT_EQ(console.exitCode, 0) << console.out << console.err;
  EXPECT_EQ(console.err, "");

  const std::vector<std::string> log = testsupport::LogLinesWithoutTimes(dir_ / "DB_dravik.log");
  EXPECT_GT(log.size(), 50u);
  EXPECT_EQ(log, testsupport::LogLinesWithoutTimes(window / "DB_dravik.log"));
  EXPECT_EQ(testsupport::GeneratorValues(dest_), testsupport::GeneratorValues(window / "dest.fdb"));
  EXPECT_EQ(testsupport::DatabaseContents(dest_),
            testsupport::DatabaseContents(window / "dest.fdb"));
  // Events from the day on only, and the owners' states kept: the options reached the run.
  EXPECT_LT(testsupport::QueryInt(dest_, "SELECT COUNT(*) FROM EVENTS"),
            testsupport::QueryInt(source_, "SELECT COUNT(*) FROM EVENTS"));
  EXPECT_GT(
      testsupport::QueryInt(dest_, "SELECT COUNT(*) FROM STATE_VALUES WHERE SV_TABLE = 'OWNER'"),
      0);
}

}  // namespace
}  // namespace consoletest
