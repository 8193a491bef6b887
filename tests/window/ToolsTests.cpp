// The menu "Сервис" against real databases made from schema/: a run asks
// before it runs over its plan's errors and refuses what cannot run, with a
// backup first when it goes ahead; the plan, restore and check dialogs.
#include "tests/window/ToolsTests.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "app/CheckDialog.h"
#include "app/Inputs.h"
#include "app/PlanDialog.h"
#include "app/QtText.h"
#include "app/ReportView.h"
#include "app/RestoreDialog.h"
#include "tests/support/Contents.h"
#include "tests/support/Isql.h"
#include "tests/support/Schema.h"
#include "tests/window/WindowTestSupport.h"
#include "text/Cp1251.h"
#include "text/RussianTexts.h"
#include "transfer/BackupFolder.h"
#include "transfer/WayBack.h"

using Button = WindowServices::Button;
using Icon = WindowServices::Icon;

namespace {

namespace fs = std::filesystem;

constexpr int kWorkLimit = 120000;  // ms: reading or restoring a small site on a loaded machine

// A program folder with a small site: one controller's demo in the source, an
// empty destination, and scripts that leave the tables alone.
struct Site {
  ProgramFolder folder;
  RecordingServices services;
  std::unique_ptr<TDbDravikForm> form;
  std::string source = folder.Path() + "source.fdb";
  std::string dest = folder.Path() + "dest.fdb";

  explicit Site(const std::string& tableList) {
    testsupport::MakeDemoDatabase(source, testsupport::Variant::Current, 1);
    testsupport::MakeDatabase(dest);
    folder.Write("Conv.txt", tableList);
    folder.Write("GENERATOR.txt", "GEN_HOSTS=HOSTS/HS_ID\r\n");
    fs::create_directories(folder.Path() + "SQL");
    folder.Write("SQL/_Upd.sql", "");
    folder.Write("SQL/Upd.sql", "");
    form = MakeForm(services, folder);
    if (!ShowAndWaitForChecks(*form)) qFatal("the start-up checks were not made");
    Control<FileNameEdit>(*form, "SourceFE")->setText(QString::fromStdString(source));
    Control<FileNameEdit>(*form, "DestFE")->setText(QString::fromStdString(dest));
  }

  QAction* Menu(const char* name) { return Control<QAction>(*form, name); }
  void Start() { Control<QPushButton>(*form, "MoveBitBtn")->click(); }
  std::vector<BackupEntry> Backups() { return ListBackups(BackupFolder(folder.Path())); }
  std::string Log() { return folder.Read("DB_dravik.log"); }
  std::string Contents() { return testsupport::DatabaseContents(dest); }
};

bool Contains(const std::string& cp1251, const std::string& what) {
  return cp1251.find(what) != std::string::npos;
}

// The rows of a report, each cell's whole text joined by " | ".
QStringList RowsOf(const ReportView& report) {
  QStringList rows;
  const QAbstractItemModel* model = report.Rows();
  for (int row = 0; row < model->rowCount(); ++row) {
    QStringList cells;
    for (int column = 0; column < model->columnCount(); ++column)
      cells << ReportView::WholeText(model->index(row, column));
    rows << cells.join(QStringLiteral(" | "));
  }
  return rows;
}

}  // namespace

void ToolsTests::planErrorsBeforeARun_data() {
  QTest::addColumn<QByteArray>("tableList");
  QTest::addColumn<int>("answer");  // to the question, when one is asked
  QTest::addColumn<bool>("asked");
  QTest::addColumn<bool>("runs");
  QTest::newRow("an error, answered no")
      << QByteArray("HOSTS=HS_ID\r\nNO_SUCH=NS_ID\r\n") << int(Button::No) << true << false;
  QTest::newRow("an error, answered yes")
      << QByteArray("HOSTS=HS_ID\r\nNO_SUCH=NS_ID\r\n") << int(Button::Yes) << true << true;
  // Refused, not asked: no one may run over it.
  QTest::newRow("no table in the list")
      << QByteArray("* nothing to copy\r\n") << int(Button::Yes) << false << false;
}

void ToolsTests::planErrorsBeforeARun() {
  QFETCH(QByteArray, tableList);
  QFETCH(int, answer);
  QFETCH(bool, asked);
  QFETCH(bool, runs);
  Site site(tableList.toStdString());
  QVERIFY(site.Menu("mnuTools_Backup")->isChecked());
  QVERIFY(!site.Menu("mnuTools_Check")->isChecked());
  const std::string before = site.Contents();
  site.services.answers = {Button(answer)};
  site.Start();

  QVERIFY(!site.form->Running());
  QVERIFY(!site.services.messages.empty());
  const ShownMessage& first = site.services.messages.front();
  QCOMPARE(first.caption, ru::AppTitle());
  if (asked) {
    QVERIFY(first.icon == Icon::Question);
    // Running over the plan's errors is never what Enter does.
    QVERIFY(first.buttons == (std::vector<Button>{Button::No, Button::Yes}));
    QVERIFY2(Contains(first.text, "NO_SUCH=NS_ID"), first.text.c_str());
  } else {
    QVERIFY(first.icon == Icon::Error);
    QVERIFY(first.buttons == std::vector<Button>{Button::Ok});
    QVERIFY2(Contains(first.text, ru::FindingEmptyTableList()), first.text.c_str());
  }
  QVERIFY(site.services.dialogs.empty());  // the check is not ticked

  if (!runs) {
    QCOMPARE(site.services.messages.size(), size_t(1));
    QVERIFY(site.Backups().empty());
    QCOMPARE(site.Log(), std::string());
    QCOMPARE(site.Contents(), before);
    return;
  }
  // The run went ahead over the error, the destination saved first.
  QCOMPARE(site.services.messages.size(), size_t(1));
  const std::vector<BackupEntry> backups = site.Backups();
  QCOMPARE(backups.size(), size_t(1));
  QCOMPARE(backups[0].dest, site.dest);
  QVERIFY(!site.Log().empty());
  QCOMPARE(testsupport::QueryInt(site.dest, "SELECT COUNT(*) FROM HOSTS"),
           testsupport::QueryInt(site.source, "SELECT COUNT(*) FROM HOSTS"));
  QCOMPARE(Control<QLabel>(*site.form, "TabLabel")->text(), ToQt(ru::StatusDone()));
}

void ToolsTests::planDialogMarksTheErrorsAndWritesNothing() {
  Site site("HOSTS=HS_ID\r\n* a comment\r\nNO_SUCH=NS_ID\r\n");
  const std::string before = site.Contents();
  QStringList rows;
  QString status, totals;
  site.services.onDialog = [&](QDialog& dialog) {
    auto& plan = dynamic_cast<PlanDialog&>(dialog);
    QVERIFY(plan.WaitForWork(kWorkLimit));
    rows = RowsOf(*plan.Lines());
    status = plan.findChild<QLabel*>(QStringLiteral("status"))->text();
    totals = plan.findChild<QLabel*>(QStringLiteral("planTotals"))->text();
  };
  site.Menu("mnuTools_Plan")->trigger();

  QCOMPARE(site.services.dialogs, std::vector<QString>{ToQt(ru::PlanTitle())});
  QCOMPARE(rows.size(), 2);  // the comment is no line of work
  const long long hosts = testsupport::QueryInt(site.source, "SELECT COUNT(*) FROM HOSTS");
  const QString hostsLine = QStringLiteral("1 | HOSTS | %1 | 0 | %2 | %3 | %2 | ")
                                .arg(ToQt(ru::ActionCopy()))
                                .arg(hosts)
                                .arg(ToQt(ru::KeysNew()).arg(1));
  QVERIFY2(rows[0].startsWith(hostsLine), qPrintable(rows[0]));
  QVERIFY2(!rows[0].contains(ToQt(ru::MarkError())), qPrintable(rows[0]));
  QVERIFY2(rows[1].startsWith(QStringLiteral("3 | NO_SUCH | ")), qPrintable(rows[1]));
  QVERIFY2(rows[1].contains(ToQt(ru::MarkError())), qPrintable(rows[1]));
  QCOMPARE(status, ToQt(ru::PlanErrorsAsked()));
  QVERIFY2(totals.contains(QStringLiteral("0, ошибок 2")), qPrintable(totals));
  QCOMPARE(site.Log(), std::string());
  QVERIFY(site.Backups().empty());
  QCOMPARE(site.Contents(), before);
}

void ToolsTests::interruptDuringTheBackupStopsBeforeTheFirstWrite() {
  Site site("HOSTS=HS_ID\r\n");
  const std::string before = site.Contents();
  // The operator confirms the interrupt while the status label shows the backup.
  const QString backingUp = ToQt(ru::StatusBackingUp()).section(QLatin1Char('%'), 0, 0);
  auto* status = Control<QLabel>(*site.form, "TabLabel");
  auto* cancel = Control<QPushButton>(*site.form, "CancelMoveBitBtn");
  QTimer operatorAtTheButton;
  QObject::connect(&operatorAtTheButton, &QTimer::timeout, [&] {
    if (!status->text().startsWith(backingUp) || !cancel->isEnabled()) return;
    operatorAtTheButton.stop();
    cancel->click();
  });
  operatorAtTheButton.start(0);
  site.services.answers = {Button::Yes, Button::Yes};
  site.Start();

  QVERIFY2(!operatorAtTheButton.isActive(), "no pump showed the backup");
  QCOMPARE(site.services.messages.size(), size_t(2));
  QCOMPARE(site.services.messages[0].text, ru::InterruptQuestion());
  QCOMPARE(site.services.messages[1].text, ru::InterruptWarning());
  QCOMPARE(status->text(), ToQt(ru::StatusInterrupted()));
  QCOMPARE(site.Backups().size(), size_t(1));  // the backup was let finish
  QCOMPARE(site.Log(), std::string());
  QCOMPARE(site.Contents(), before);
}

void ToolsTests::restoreThroughTheDialog() {
  Site site("HOSTS=HS_ID\r\n");
  const std::string before = site.Contents();
  const std::string folder = BackupFolder(site.folder.Path());
  fs::create_directories(folder);
  const std::string backup = folder + "dest saved.fbk";
  QVERIFY(BackUpDestination(site.dest, backup, nullptr).made);
  QVERIFY(NoteBackupDestination(backup, site.dest));
  testsupport::RunIsql(site.dest, "INSERT INTO HOSTS (HS_ID, HS_NAME) VALUES (77, 'later');");
  const std::string changed = site.Contents();
  QVERIFY(changed != before);

  // First another file, which is no backup: the destination stays as it is.
  site.services.browseResult = QString::fromStdString(site.folder.Path() + "Conv.txt");
  site.services.answers = {Button::Yes, Button::Ok, Button::Yes, Button::Ok};
  QStringList listed;
  std::vector<std::string> chosen;
  site.services.onDialog = [&](QDialog& dialog) {
    auto& restore = dynamic_cast<RestoreDialog&>(dialog);
    listed = RowsOf(*restore.Backups());
    auto* restoreButton = restore.findChild<QPushButton*>(QStringLiteral("restore"));
    restore.findChild<QPushButton*>(QStringLiteral("otherFile"))->click();
    chosen.push_back(restore.ChosenFile());
    restoreButton->click();
    QVERIFY(restore.WaitForWork(kWorkLimit));
    QVERIFY(restore.Result().now == DestinationNow::AsItWas);
    // Then the backup of the folder.
    restore.Backups()->selectRow(
        restore.Backups()->model()->index(0, 3).data().toString().endsWith(QLatin1String(".fbk"))
            ? 0
            : 1);
    chosen.push_back(restore.ChosenFile());
    restoreButton->click();
    // Asked to close meanwhile, it closes once the restore is done.
    restore.close();
    QVERIFY(restore.isVisible());
    QVERIFY(restore.WaitForWork(kWorkLimit));
    QVERIFY(!restore.isVisible());
    QVERIFY(restore.Result().now == DestinationNow::Restored);
  };
  site.Menu("mnuTools_Restore")->trigger();

  QCOMPARE(listed.size(), 1);
  QVERIFY2(listed[0].startsWith(QString::fromStdString(site.dest) + QStringLiteral(" | ")),
           qPrintable(listed[0]));
  QVERIFY2(listed[0].endsWith(QStringLiteral(" | ") + QString::fromStdString(backup)),
           qPrintable(listed[0]));
  QCOMPARE(chosen, (std::vector<std::string>{site.folder.Path() + "Conv.txt", backup}));
  const std::vector<ShownMessage>& shown = site.services.messages;
  QCOMPARE(shown.size(), size_t(4));
  for (size_t question : {0, 2}) {
    QVERIFY(shown[question].icon == Icon::Question);
    QVERIFY2(Contains(shown[question].text, text::Cp1251FromFileName(site.dest)),
             shown[question].text.c_str());
  }
  QVERIFY(shown[1].icon == Icon::Error);
  QVERIFY2(Contains(shown[1].text, text::Cp1251FromUtf8("осталась прежней")),
           shown[1].text.c_str());
  QVERIFY(shown[3].icon == Icon::Information);
  QVERIFY2(Contains(shown[3].text, text::Cp1251FromUtf8("восстановлена")), shown[3].text.c_str());
  QCOMPARE(site.Contents(), before);
}

void ToolsTests::checkDialogNamesAnAlteredValue() {
  Site site("HOSTS=HS_ID\r\n");
  // The destination marks every host's name as it arrives.
  testsupport::RunIsql(site.dest,
                       "SET TERM ^;\nCREATE TRIGGER MARK_HOST FOR HOSTS BEFORE INSERT AS BEGIN "
                       "NEW.HS_NAME = NEW.HS_NAME || '*'; END^\nSET TERM ;^\n");
  const std::string name =
      testsupport::QueryValue(site.source, "SELECT FIRST 1 HS_NAME FROM HOSTS ORDER BY HS_ID");
  site.Menu("mnuTools_Backup")->trigger();
  site.Menu("mnuTools_Check")->trigger();
  QStringList differences;
  QString status;
  site.services.onDialog = [&](QDialog& dialog) {
    auto& check = dynamic_cast<CheckDialog&>(dialog);
    QVERIFY(check.WaitForWork(kWorkLimit));
    differences = RowsOf(*check.Differences());
    status = check.findChild<QLabel*>(QStringLiteral("status"))->text();
  };
  site.Start();

  QVERIFY(site.services.messages.empty());
  QVERIFY(site.Backups().empty());
  QCOMPARE(site.services.dialogs, std::vector<QString>{ToQt(ru::CheckTitle())});
  const QString altered =
      QStringLiteral(" | HS_NAME | \"%1\" | \"%1*\"").arg(QString::fromStdString(name));
  bool found = false;
  for (const QString& row : differences)
    found = found || (row.startsWith(QStringLiteral("HOSTS | ")) && row.endsWith(altered));
  QVERIFY2(found, qPrintable(differences.join(QLatin1Char('\n'))));
  QVERIFY2(status.startsWith(ToQt(ru::CheckDifferences()).section(QLatin1Char('%'), 0, 0)),
           qPrintable(status));
}
