// The main window's controls and rules: the start command, the path check, the
// browse dialogs, the interrupt question, the running and idle states.
#include "tests/window/FormTests.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "app/Inputs.h"
#include "app/QtText.h"
#include "tests/window/WindowTestSupport.h"
#include "text/RussianTexts.h"

using Button = WindowServices::Button;
using Icon = WindowServices::Icon;

namespace {

struct OpenForm {
  ProgramFolder folder;
  RecordingServices services;
  std::unique_ptr<TDbDravikForm> form = MakeForm(services, folder);

  OpenForm() { ShowAndWaitForChecks(*form); }
  FileNameEdit* Source() { return Control<FileNameEdit>(*form, "SourceFE"); }
  FileNameEdit* Dest() { return Control<FileNameEdit>(*form, "DestFE"); }
  QPushButton* Move() { return Control<QPushButton>(*form, "MoveBitBtn"); }
  QPushButton* Cancel() { return Control<QPushButton>(*form, "CancelMoveBitBtn"); }
  QAction* MenuMove() { return Control<QAction>(*form, "mnuFile_Move"); }
  QAction* Menu(const char* name) { return Control<QMenu>(*form, name)->menuAction(); }
  bool StartCommand() {
    // The button and the menu item always go together.
    if (Move()->isEnabled() != MenuMove()->isEnabled()) qFatal("start command split");
    return Move()->isEnabled();
  }
};

}  // namespace

void FormTests::startsWithStartCommandDisabled() {
  OpenForm f;
  QVERIFY(f.services.messages.empty());
  QVERIFY(!f.StartCommand());
  QVERIFY(!f.Cancel()->isEnabled());
  QCOMPARE(f.Source()->text(), QString());
  QCOMPARE(Control<DateBox>(*f.form, "FromDE")->text(), QString());
  QCOMPARE(f.form->windowTitle(), ToQt(ru::AppTitle()));
  QCOMPARE(f.form->centralWidget()->size(), QSize(479, 325));
}

void FormTests::pathsEnableStartCommand_data() {
  QTest::addColumn<QString>("source");
  QTest::addColumn<QString>("dest");
  QTest::addColumn<bool>("enabled");
  QTest::addColumn<bool>("sameMessage");
  QTest::newRow("both empty") << ""
                              << "" << false << false;
  QTest::newRow("destination empty") << "/db/s.fdb"
                                     << "" << false << false;
  QTest::newRow("source empty") << ""
                                << "/db/d.fdb" << false << false;
  QTest::newRow("different") << "/db/s.fdb"
                             << "/db/d.fdb" << true << false;
  QTest::newRow("blanks only in both") << "   "
                                       << "  " << true << false;
  QTest::newRow("letter case differs") << "/db/base.fdb"
                                       << "/db/BASE.fdb" << true << false;
  QTest::newRow("equal") << "/db/base.fdb"
                         << "/db/base.fdb" << false << true;
  QTest::newRow("equal after trimming") << " /db/base.fdb"
                                        << "/db/base.fdb\t " << false << true;
  QTest::newRow("quoted and unquoted") << "\"/db x/base.fdb\""
                                       << "/db x/base.fdb" << true << false;
  QTest::newRow("equal Cyrillic") << QString::fromUtf8("/данные/база.fdb")
                                  << QString::fromUtf8("/данные/база.fdb") << false << true;
  // Letters windows-1251 lacks stay themselves: these two names are different files.
  QTest::newRow("different letters beyond windows-1251")
      << QString::fromUtf8("/данные/日本.fdb") << QString::fromUtf8("/данные/中国.fdb") << true
      << false;
}

void FormTests::pathsEnableStartCommand() {
  QFETCH(QString, source);
  QFETCH(QString, dest);
  QFETCH(bool, enabled);
  QFETCH(bool, sameMessage);
  OpenForm f;
  f.Source()->setText(source);
  f.Dest()->setText(dest);
  QCOMPARE(f.StartCommand(), enabled);
  QCOMPARE(f.services.messages.size(), size_t(sameMessage ? 1 : 0));
  if (sameMessage) {
    const ShownMessage& m = f.services.messages.front();
    QCOMPARE(m.text, ru::SamePathsMessage());
    QCOMPARE(m.caption, ru::ErrorCaption());
    QVERIFY(m.icon == Icon::Error);
    QVERIFY(m.buttons == std::vector<Button>{Button::Ok});
  }
}

void FormTests::typingTheSamePathWarnsWhenTextsBecomeEqual() {
  OpenForm f;
  f.Source()->setText("/db/base.fdb");
  f.Dest()->Edit()->setFocus();
  QTest::keyClicks(f.Dest()->Edit(), "/db/base.fd");
  QVERIFY(f.services.messages.empty());
  QVERIFY(f.StartCommand());
  QTest::keyClicks(f.Dest()->Edit(), "b");
  QCOMPARE(f.services.messages.size(), size_t(1));
  QVERIFY(!f.StartCommand());
  QTest::keyClicks(f.Dest()->Edit(), "2");
  QCOMPARE(f.services.messages.size(), size_t(1));
  QVERIFY(f.StartCommand());
}

void FormTests::browseButtonQuotesPathsWithBlanks_data() {
  QTest::addColumn<QString>("picked");
  QTest::addColumn<QString>("written");
  QTest::newRow("no blank") << "/db/base.fdb"
                            << "/db/base.fdb";
  QTest::newRow("blank") << "/my db/base.fdb"
                         << "\"/my db/base.fdb\"";
  QTest::newRow("already quoted") << "\"/my db/base.fdb"
                                  << "\"/my db/base.fdb";
}

void FormTests::browseButtonQuotesPathsWithBlanks() {
  QFETCH(QString, picked);
  QFETCH(QString, written);
  OpenForm f;
  f.Dest()->setText("/old/dest.fdb");
  f.services.browseResult = picked;
  QTest::mouseClick(f.Source()->Button(), Qt::LeftButton);
  QTest::mouseClick(f.Dest()->Button(), Qt::LeftButton);
  QCOMPARE(f.Source()->text(), written);
  QCOMPARE(f.Dest()->text(), written);
  QCOMPARE(f.services.browses.size(), size_t(2));
  QCOMPARE(f.services.browses[0].title, ru::BrowseDialogTitle());
  QCOMPARE(f.services.browses[0].filter, ru::BrowseDialogFilter());
  QCOMPARE(f.services.browses[1].fileName, QString("/old/dest.fdb"));
}

void FormTests::menuBrowseWritesTheNameUnquoted() {
  OpenForm f;
  f.services.browseResult = "/my db/base.fdb";
  Control<QAction>(*f.form, "mnuFile_Source")->trigger();
  Control<QAction>(*f.form, "mnuFile_Dest")->trigger();
  QCOMPARE(f.Source()->text(), QString("/my db/base.fdb"));
  QCOMPARE(f.Dest()->text(), QString("/my db/base.fdb"));
  // Equal names: the path check has spoken.
  QCOMPARE(f.services.messages.size(), size_t(1));

  f.services.browseConfirms = false;
  Control<QAction>(*f.form, "mnuFile_Source")->trigger();
  QCOMPARE(f.Source()->text(), QString("/my db/base.fdb"));
}

void FormTests::browseFilterReadsAsQtNameFilter() {
  QCOMPARE(QtNameFilter(ru::BrowseDialogFilter()),
           QString::fromUtf8("Базы данных (*.gdb, *.fdb) (*.gdb *.fdb)"));
  QCOMPARE(QtNameFilter("A|*.a|B|*.b;*.c"), QString("A (*.a);;B (*.b *.c)"));
}

void FormTests::interruptQuestion_data() {
  QTest::addColumn<bool>("yes");
  QTest::newRow("Yes") << true;
  QTest::newRow("No") << false;
}

void FormTests::interruptQuestion() {
  QFETCH(bool, yes);
  OpenForm f;
  f.form->SetRunning(true);
  f.services.answers.push_back(yes ? Button::Yes : Button::No);
  QTest::mouseClick(f.Cancel(), Qt::LeftButton);
  QCOMPARE(f.form->Interrupted(), yes);
  QCOMPARE(f.services.messages.size(), size_t(1));
  const ShownMessage& m = f.services.messages.front();
  QCOMPARE(m.text, ru::InterruptQuestion());
  QVERIFY(m.icon == Icon::Question);
  QVERIFY((m.buttons == std::vector<Button>{Button::Yes, Button::No}));
  f.form->SetRunning(false);
}

void FormTests::runningAndIdleStates() {
  OpenForm f;
  f.Source()->setText("/db/s.fdb");
  f.Dest()->setText("/db/d.fdb");
  auto inputs = [&] {
    return std::vector<QWidget*>{f.Source(), f.Dest(), Control<QCheckBox>(*f.form, "EventsCB"),
                                 Control<DateBox>(*f.form, "FromDE")};
  };
  auto* keep = Control<QCheckBox>(*f.form, "SaveUserPlaceCB");

  f.form->SetRunning(true);
  QVERIFY(f.form->isVisible());
  for (QWidget* w : inputs()) QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
  QVERIFY(!f.StartCommand());
  QVERIFY(!f.Menu("mnuFile")->isEnabled());
  QVERIFY(!f.Menu("mnuHelp")->isEnabled());
  QVERIFY(f.Cancel()->isEnabled());
  QVERIFY(keep->isEnabled());
  QVERIFY(!f.form->windowFlags().testFlag(Qt::WindowCloseButtonHint));
  QVERIFY(!f.form->windowFlags().testFlag(Qt::WindowSystemMenuHint));
  QVERIFY(!f.form->close());
  QVERIFY(f.form->isVisible());
  // The keep-locations box acts during a run, at once.
  QTest::mouseClick(keep, Qt::LeftButton);
  QVERIFY(f.form->LocationFlag());

  f.form->SetRunning(false);
  for (QWidget* w : inputs()) QVERIFY2(w->isEnabled(), qPrintable(w->objectName()));
  QVERIFY(f.StartCommand());
  QVERIFY(f.Menu("mnuFile")->isEnabled());
  QVERIFY(f.Menu("mnuHelp")->isEnabled());
  QVERIFY(!f.Cancel()->isEnabled());
  QVERIFY(f.form->windowFlags().testFlag(Qt::WindowCloseButtonHint));
  QVERIFY(!f.form->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
  QTest::mouseClick(keep, Qt::LeftButton);
  QVERIFY(!f.form->LocationFlag());
  QVERIFY(f.form->close());
}

void FormTests::busyCursorFollowsTheRun() {
  OpenForm f;
  f.form->SetBusyCursor(true);
  f.form->SetBusyCursor(true);
  QVERIFY(QApplication::overrideCursor() != nullptr);
  QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  f.form->SetBusyCursor(false);
  QVERIFY(QApplication::overrideCursor() == nullptr);
}

void FormTests::reportsAndWarnings() {
  OpenForm f;
  f.form->ShowErrorReport("I/O error.");
  f.form->ShowInterruptWarning(ru::InterruptWarning());
  QCOMPARE(f.services.messages.size(), size_t(2));
  const ShownMessage& error = f.services.messages[0];
  QCOMPARE(error.caption, ru::AppTitle());
  QCOMPARE(error.text, std::string("I/O error."));
  QVERIFY(error.icon == Icon::Error);
  QVERIFY(error.buttons == std::vector<Button>{Button::Ok});
  const ShownMessage& warning = f.services.messages[1];
  QCOMPARE(warning.text, ru::InterruptWarning());
  QVERIFY(warning.icon == Icon::Warning);
  QVERIFY(warning.buttons == std::vector<Button>{Button::Yes});
}

void FormTests::statusAndProgressBars() {
  OpenForm f;
  f.form->SetStatusText(ru::StatusProcessing());
  QCOMPARE(Control<QLabel>(*f.form, "TabLabel")->text(), QString::fromUtf8("Обработка"));
  auto* all = Control<QProgressBar>(*f.form, "AllPB");
  QCOMPARE(all->value(), 0);
  f.form->SetAllBarMax(2);
  for (int i = 0; i < 3; ++i) f.form->StepAllBar();
  f.form->ProcessMessages();
  QCOMPARE(all->value(), 2);
  f.form->SetAllBarPosition(0);
  QCOMPARE(all->value(), 0);

  // Stepped once per row, a bar repaints no faster than a screen shows, and
  // every pump shows the exact count.
  auto* table = Control<QProgressBar>(*f.form, "TablePB");
  int shown = 0;
  QObject::connect(table, &QProgressBar::valueChanged, [&] { ++shown; });
  f.form->SetTableBarMax(100000);
  f.form->SetTableBarPosition(0);
  shown = 0;
  QElapsedTimer clock;
  clock.start();
  for (int i = 0; i < 20000; ++i) f.form->StepTableBar();
  QVERIFY2(shown <= clock.elapsed() / 16 + 1, qPrintable(QString::number(shown)));
  f.form->ProcessMessages();
  QCOMPARE(table->value(), 20000);
  f.form->StepTableBar();
  f.form->SetRunning(true);
  QCOMPARE(table->value(), 20001);
  f.form->SetRunning(false);

  // An empty range shows an empty bar, not a busy indicator.
  f.form->SetTableBarMax(0);
  f.form->StepTableBar();
  QVERIFY(table->maximum() > table->minimum());
  QCOMPARE(table->value(), 0);
}

void FormTests::eventsDate_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<double>("value");
  text::DateTimeParts december6;
  december6.year = 2026;
  december6.month = 12;
  december6.day = 6;
  QTest::newRow("empty") << "" << 0.0;
  QTest::newRow("blanks") << "   " << 0.0;
  QTest::newRow("date") << "06.12.2026" << text::EncodeDateTime(december6);
  QTest::newRow("no such day") << "31.02.2026" << 0.0;
  QTest::newRow("no date") << "abc" << 0.0;
}

void FormTests::eventsDate() {
  QFETCH(QString, typed);
  QFETCH(double, value);
  OpenForm f;
  Control<DateBox>(*f.form, "FromDE")->setText(typed);
  QCOMPARE(f.form->EventsFrom(), value);
}

void FormTests::tabOrderAndFirstFocus() {
  OpenForm f;
  QCOMPARE(f.form->focusWidget(), static_cast<QWidget*>(f.Source()->Edit()));
  const std::vector<QWidget*> expected = {f.Source()->Edit(),
                                          f.Source()->Button(),
                                          f.Dest()->Edit(),
                                          f.Dest()->Button(),
                                          Control<QCheckBox>(*f.form, "EventsCB"),
                                          Control<DateBox>(*f.form, "FromDE")->Edit(),
                                          Control<QCheckBox>(*f.form, "SaveUserPlaceCB"),
                                          f.Move(),
                                          f.Cancel()};
  std::vector<QWidget*> chain;
  QWidget* w = f.Source()->Edit();
  do {
    if (w->focusPolicy() & Qt::TabFocus) chain.push_back(w);
    w = w->nextInFocusChain();
  } while (w != f.Source()->Edit() && chain.size() < 20);
  QCOMPARE(chain.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i)
    QVERIFY2(chain[i] == expected[i], qPrintable(QString::number(i)));
}

void FormTests::helpOpensTheHelpFileAtContext10() {
  OpenForm f;
  Control<QAction>(*f.form, "mnuHelp_MainWindow")->trigger();
  QCOMPARE(f.services.helps.size(), size_t(1));
  QCOMPARE(f.services.helps[0].first, f.folder.Path() + "DB_dravik.hlp");
  QCOMPARE(f.services.helps[0].second, 10);
}

void FormTests::runWithMissingSourceEndsIdleWithTheDatabaseMessage() {
  OpenForm f;
  f.Source()->setText(QString::fromStdString(f.folder.Path() + "missing-source.fdb"));
  f.Dest()->setText(QString::fromStdString(f.folder.Path() + "missing-dest.fdb"));
  QTest::mouseClick(f.Move(), Qt::LeftButton);
  QCOMPARE(f.services.messages.size(), size_t(1));
  const ShownMessage& report = f.services.messages.front();
  QCOMPARE(report.caption, ru::AppTitle());
  QVERIFY(report.icon == Icon::Error);
  QVERIFY(report.text.find("missing-source.fdb") != std::string::npos);
  QVERIFY(!f.form->Running());
  QVERIFY(f.StartCommand());
  QVERIFY(!f.Cancel()->isEnabled());
  QVERIFY(!TestDm().IBDatabase1.Connected());
}
