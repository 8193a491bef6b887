// The console tests run the command as a child process, and the window in this
// process offscreen; both with Russian regional settings.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLocale>
#include <cstdlib>

#include "app/RegionalFromLocale.h"
#include "tests/support/Process.h"

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // The children inherit it: their run logs carry Russian timestamps, while
  // the command speaks English unless a test asks for Russian.
  unsetenv("LC_ALL");
  unsetenv("LANGUAGE");
  setenv("LANG", "ru_RU.UTF-8", 1);
  setenv("LC_MESSAGES", "C.UTF-8", 1);
  testsupport::LeakCheckOffInChildren();
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  FillRegional(QLocale(QLocale::Russian, QLocale::Russia));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
