// The about box, help, regional settings, close requests from outside and the
// master data module.
#include "tests/window/ServicesTests.h"

#include <dlfcn.h>

#include <QAction>
#include <QDeadlineTimer>
#include <QFile>
#include <QTest>
#include <chrono>
#include <csignal>

#include "app/OutsideClose.h"
#include "app/RegionalFromLocale.h"
#include "link/IBDB.h"
#include "tests/window/WindowTestSupport.h"
#include "text/Cp1251.h"
#include "text/Regional.h"
#include "text/RussianTexts.h"

using Button = WindowServices::Button;

TdmMaster& TestMaster();

namespace {

void InstallAbout(const ProgramFolder& folder, const char* library) {
  QVERIFY(
      QFile::copy(QString::fromUtf8(library), QString::fromStdString(folder.Path() + "about.dll")));
}

bool LeftLoaded(const ProgramFolder& folder) {
  void* handle = dlopen((folder.Path() + "about.dll").c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (handle) dlclose(handle);
  return handle != nullptr;
}

// The real Qt services with the boxes recorded instead of shown.
class QtServicesRecordingBoxes : public QtWindowServices {
 public:
  std::vector<ShownMessage> messages;
  Button Message(QWidget*, Icon icon, const std::string& caption, const std::string& text,
                 const std::vector<Button>& buttons) override {
    messages.push_back({icon, caption, text, buttons});
    return Button::Ok;
  }
};

}  // namespace

void ServicesTests::aboutLibraryMissing() {
  ProgramFolder folder;
  RecordingServices services;
  ShowAboutBox(folder.Path(), services, nullptr);
  QCOMPARE(services.messages.size(), size_t(1));
  QCOMPARE(services.messages[0].text, ru::AboutLibraryNotLoaded());
  QCOMPARE(services.messages[0].caption, ru::ErrorCaption());
  QVERIFY(services.messages[0].icon == WindowServices::Icon::Error);
  QVERIFY(services.messages[0].buttons == std::vector<Button>{Button::Ok});
}

void ServicesTests::aboutLibraryWithoutEntry() {
  ProgramFolder folder;
  InstallAbout(folder, ABOUT_WITHOUT_ENTRY);
  RecordingServices services;
  ShowAboutBox(folder.Path(), services, nullptr);
  QCOMPARE(services.messages.size(), size_t(1));
  QCOMPARE(services.messages[0].text, ru::AboutEntryNotFound());
  QCOMPARE(services.messages[0].caption, ru::ErrorCaption());
  QVERIFY(!LeftLoaded(folder));
}

void ServicesTests::aboutLibraryWithEntry() {
  ProgramFolder folder;
  InstallAbout(folder, ABOUT_WITH_ENTRY);
  const std::string marker = folder.Path() + "about-shown";
  qputenv("DRAVIK_ABOUT_MARKER", QByteArray::fromStdString(marker));
  RecordingServices services;
  ShowAboutBox(folder.Path(), services, nullptr);
  ShowAboutBox(folder.Path(), services, nullptr);
  qunsetenv("DRAVIK_ABOUT_MARKER");
  QVERIFY(services.messages.empty());
  QCOMPARE(folder.Read("about-shown"), std::string("shown\nshown\n"));
  QVERIFY(!LeftLoaded(folder));
}

void ServicesTests::aboutMenuItemLoadsFromTheProgramFolder() {
  ProgramFolder folder;
  InstallAbout(folder, ABOUT_WITH_ENTRY);
  qputenv("DRAVIK_ABOUT_MARKER", QByteArray::fromStdString(folder.Path() + "about-shown"));
  RecordingServices services;
  services.realAbout = true;
  auto form = MakeForm(services, folder);
  QVERIFY(ShowAndWaitForChecks(*form));
  Control<QAction>(*form, "mnuHelp_About")->trigger();
  qunsetenv("DRAVIK_ABOUT_MARKER");
  QVERIFY(services.messages.empty());
  QCOMPARE(services.abouts, std::vector<std::string>{folder.Path()});
  QCOMPARE(folder.Read("about-shown"), std::string("shown\n"));
}

void ServicesTests::missingHelpFileIsReported() {
  ProgramFolder folder;
  QtServicesRecordingBoxes services;
  services.Help(nullptr, folder.Path() + "DB_dravik.hlp", 10);
  QCOMPARE(services.messages.size(), size_t(1));
  QCOMPARE(services.messages[0].text,
           ru::HelpFileNotFound() + text::Cp1251FromFileName(folder.Path()) + "DB_dravik.hlp.");
  QCOMPARE(services.messages[0].caption, ru::AppTitle());
}

void ServicesTests::regionalSettingsFromTheRussianLocale() {
  text::RegionalSettings saved = text::Regional();
  FillRegional(QLocale(QLocale::Russian, QLocale::Russia));
  QCOMPARE(text::Regional().shortDateFormat, std::string("dd.MM.yyyy"));
  QCOMPARE(text::Regional().longTimeFormat, std::string("HH:mm:ss"));
  QCOMPARE(text::Regional().decimalSeparator, ',');
  text::DateTimeParts p;
  p.year = 2026, p.month = 12, p.day = 6, p.hour = 17, p.minute = 33, p.second = 49;
  QCOMPARE(text::DateTimeToStr(text::EncodeDateTime(p)), std::string("06.12.2026 17:33:49"));

  FillRegional(QLocale(QLocale::English, QLocale::UnitedStates));
  QCOMPARE(text::Regional().shortDateFormat, std::string("M/d/yy"));
  QCOMPARE(text::Regional().longTimeFormat, std::string("h:mm:ss AP"));
  QCOMPARE(text::Regional().decimalSeparator, '.');
  text::Regional() = saved;
}

void ServicesTests::timeFormatWithoutTimeZone_data() {
  QTest::addColumn<QString>("format");
  QTest::addColumn<QString>("withoutZone");
  QTest::newRow("zone last") << "HH:mm:ss t"
                             << "HH:mm:ss";
  QTest::newRow("zone first") << "t HH:mm:ss"
                              << "HH:mm:ss";
  QTest::newRow("long zone") << "HH:mm:ss tttt"
                             << "HH:mm:ss";
  QTest::newRow("no zone") << "HH:mm:ss"
                           << "HH:mm:ss";
  QTest::newRow("quoted t kept") << "H 'at' mm t"
                                 << "H 'at' mm";
}

void ServicesTests::timeFormatWithoutTimeZone() {
  QFETCH(QString, format);
  QFETCH(QString, withoutZone);
  QCOMPARE(QString::fromStdString(WithoutTimeZone(format.toStdString())), withoutZone);
}

void ServicesTests::outsideCloseRequest_data() {
  QTest::addColumn<int>("signal");
  QTest::newRow("SIGTERM") << int(SIGTERM);
  QTest::newRow("SIGHUP") << int(SIGHUP);
  QTest::newRow("SIGINT") << int(SIGINT);
}

void ServicesTests::outsideCloseRequest() {
  QFETCH(int, signal);
  ProgramFolder folder;
  RecordingServices services;
  auto form = MakeForm(services, folder);
  QVERIFY(ShowAndWaitForChecks(*form));
  OutsideCloseRequests requests;
  connect(&requests, &OutsideCloseRequests::requested, form.get(), &TDbDravikForm::WmClose);
  std::raise(signal);
  QTRY_VERIFY_WITH_TIMEOUT(!form->isVisible(), 5000);
  QCOMPARE(services.messages.size(), size_t(1));
  QCOMPARE(services.messages[0].text, std::string("Wm_Close"));
  QCOMPARE(services.messages[0].caption, ru::AppTitle());
  QVERIFY(services.messages[0].buttons == std::vector<Button>{Button::Ok});
}

void ServicesTests::outsideCloseRequestDuringRunLeavesWindowOpen() {
  ProgramFolder folder;
  RecordingServices services;
  auto form = MakeForm(services, folder);
  QVERIFY(ShowAndWaitForChecks(*form));
  OutsideCloseRequests requests;
  connect(&requests, &OutsideCloseRequests::requested, form.get(), &TDbDravikForm::WmClose);
  form->SetRunning(true);
  std::raise(SIGTERM);
  QTRY_COMPARE_WITH_TIMEOUT(services.messages.size(), size_t(1), 5000);
  QVERIFY(form->isVisible());
  form->SetRunning(false);
}

void ServicesTests::masterModuleOwnsTheStatementLock() {
  const auto started = std::chrono::steady_clock::now();
  {
    TdmMaster master;
    QCOMPARE(StatementLock(), &master.StatementLock());
    // Statement brackets nest on one thread.
    std::scoped_lock outer(master.StatementLock());
    std::scoped_lock inner(master.StatementLock());
  }
  const auto elapsed = std::chrono::steady_clock::now() - started;
  QVERIFY(elapsed >= std::chrono::milliseconds(TdmMaster::kExitWaitMs));
  QVERIFY(StatementLock() != nullptr);
  QVERIFY(StatementLock() != &TestMaster().StatementLock());
  RegisterStatementLock(&TestMaster().StatementLock());
}
