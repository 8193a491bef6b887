// The start-up checks made at the window's first activation.
#include "tests/window/StartupTests.h"

#include <QDir>
#include <QTest>

#include "tests/window/WindowTestSupport.h"
#include "text/RussianTexts.h"

using Button = WindowServices::Button;

void StartupTests::programFolderOfTheExecutable_data() {
  QTest::addColumn<QString>("executable");
  QTest::addColumn<QString>("folder");
  QTest::newRow("plain") << "/opt/dravik/DB_Dravik"
                         << "/opt/dravik/";
  QTest::newRow("root") << "/DB_Dravik"
                        << "/";
  QTest::newRow("blank in folder") << "/opt/my dravik/DB_Dravik"
                                   << "/opt/my dravik/";
  QTest::newRow("blanks around") << " /opt/dravik/DB_Dravik "
                                 << "/opt/dravik/";
  QTest::newRow("folder only") << "/opt/dravik/"
                               << "/opt/dravik/";
}

void StartupTests::programFolderOfTheExecutable() {
  QFETCH(QString, executable);
  QFETCH(QString, folder);
  QCOMPARE(QString::fromStdString(TDbDravikForm::FilePath(executable.toStdString())), folder);
}

void StartupTests::stepCountIsTheTableListLineCount_data() {
  QTest::addColumn<QByteArray>("tableList");
  QTest::addColumn<int>("steps");
  QByteArray twelve;
  for (int i = 1; i <= 12; ++i) twelve += "TABLE" + QByteArray::number(i) + "=ID\r\n";
  QTest::newRow("empty file") << QByteArray() << 1;
  QTest::newRow("12 lines, final line break") << twelve << 12;
  QTest::newRow("12 lines, no final line break") << twelve.chopped(2) << 12;
  QTest::newRow("12 lines, LF ends") << QByteArray(twelve).replace("\r\n", "\n") << 12;
  QTest::newRow("one blank line") << QByteArray("\r\n") << 1;
}

void StartupTests::stepCountIsTheTableListLineCount() {
  QFETCH(QByteArray, tableList);
  QFETCH(int, steps);
  ProgramFolder folder;
  folder.Write("Conv.txt", tableList.toStdString());
  RecordingServices services;
  auto form = MakeForm(services, folder);
  QVERIFY(ShowAndWaitForChecks(*form));
  QVERIFY(services.messages.empty());
  QCOMPARE(form->StepCount(), steps);
  QCOMPARE(form->ProgramFolder(), folder.Path());
  QVERIFY(form->isVisible());
}

void StartupTests::runLogIsCreatedEmpty() {
  ProgramFolder folder;
  folder.Write("DB_dravik.log", "an earlier run\r\n");
  RecordingServices services;
  auto form = MakeForm(services, folder);
  QVERIFY(!form->StartupChecksMade());
  QVERIFY(ShowAndWaitForChecks(*form));
  QVERIFY(QFileInfo::exists(QString::fromStdString(folder.Path() + "DB_dravik.log")));
  QCOMPARE(folder.Read("DB_dravik.log"), std::string());
}

void StartupTests::controlFilesAreFoundWhateverTheirLetterCase() {
  ProgramFolder folder;
  folder.Remove("Conv.txt");
  folder.Remove("GENERATOR.txt");
  folder.Write("conv.TXT", "A=B\r\nC=D\r\n");
  folder.Write("Generator.txt", "");
  RecordingServices services;
  auto form = MakeForm(services, folder);
  QVERIFY(ShowAndWaitForChecks(*form));
  QVERIFY(services.messages.empty());
  QCOMPARE(form->StepCount(), 2);
}

void StartupTests::failingCheckEndsTheProgram_data() {
  QTest::addColumn<QString>("failure");
  QTest::addColumn<QByteArray>("message");
  QTest::newRow("run log") << "log" << QByteArray::fromStdString(ru::RunLogNotCreated());
  QTest::newRow("table list") << "conv" << QByteArray::fromStdString(ru::TableListNotFound());
  QTest::newRow("generator list") << "generator"
                                  << QByteArray::fromStdString(ru::GeneratorListNotFound());
}

void StartupTests::failingCheckEndsTheProgram() {
  QFETCH(QString, failure);
  QFETCH(QByteArray, message);
  ProgramFolder folder;
  folder.Remove("GENERATOR.txt");
  if (failure == "log") {
    // A folder in the run log's place cannot be created as a file, even by root.
    QDir(QString::fromStdString(folder.Path())).mkdir("DB_dravik.log");
  } else if (failure == "conv") {
    folder.Remove("Conv.txt");
  }
  RecordingServices services;
  auto form = MakeForm(services, folder);
  QVERIFY(ShowAndWaitForChecks(*form));
  // One message: the later checks are not made.
  QCOMPARE(services.messages.size(), size_t(1));
  const ShownMessage& shown = services.messages.front();
  QCOMPARE(QByteArray::fromStdString(shown.text), message);
  QCOMPARE(shown.caption, ru::ErrorCaption());
  QVERIFY(shown.icon == WindowServices::Icon::Error);
  QVERIFY(shown.buttons == std::vector<Button>{Button::Ok});
  QVERIFY(!form->isVisible());
  // The table list is counted only when the run log could be made.
  QCOMPARE(form->StepCount(), failure == "generator" ? 3 : 0);
}

void StartupTests::checksAreNotRepeatedOnLaterActivation() {
  ProgramFolder folder;
  RecordingServices services;
  auto form = MakeForm(services, folder);
  QVERIFY(ShowAndWaitForChecks(*form));
  QCOMPARE(form->StepCount(), 3);

  folder.Write("DB_dravik.log", "a run\r\n");
  folder.Write("Conv.txt", "A=B\r\n");
  QEvent activate(QEvent::WindowActivate);
  QCoreApplication::sendEvent(form.get(), &activate);
  form->hide();
  form->show();
  form->FormActivate();
  QTest::qWait(50);

  QCOMPARE(folder.Read("DB_dravik.log"), std::string("a run\r\n"));
  QCOMPARE(form->StepCount(), 3);
  QVERIFY(services.messages.empty());
}
