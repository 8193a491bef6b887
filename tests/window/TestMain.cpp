// The window tests run offscreen with Russian regional settings, one test
// class after another, inside the data modules the program itself creates.
#include <QApplication>
#include <QTest>

#include "app/RegionalFromLocale.h"
#include "link/IBDB.h"
#include "tests/window/FormTests.h"
#include "tests/window/ServicesTests.h"
#include "tests/window/StartupTests.h"
#include "tests/window/ToolsTests.h"
#include "tests/window/WindowTestSupport.h"

namespace {
TdmMaster* master = nullptr;
TDM1* dm = nullptr;
}  // namespace

TdmMaster& TestMaster() {
  return *master;
}
TDM1& TestDm() {
  return *dm;
}

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  // A closed test window must not end the test program.
  QApplication::setQuitOnLastWindowClosed(false);
  FillRegional(QLocale(QLocale::Russian, QLocale::Russia));

  TdmMaster theMaster;
  TDM1 theDm;
  master = &theMaster;
  dm = &theDm;

  int failed = 0;
  FormTests form;
  failed += QTest::qExec(&form, argc, argv);
  StartupTests startup;
  failed += QTest::qExec(&startup, argc, argv);
  ServicesTests services;
  failed += QTest::qExec(&services, argc, argv);
  ToolsTests tools;
  failed += QTest::qExec(&tools, argc, argv);
  return failed == 0 ? 0 : 1;
}
