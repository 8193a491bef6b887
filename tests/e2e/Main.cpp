// The accessibility bus is read with Qt's D-Bus module, which wants an application
// object in the process.
#include <gtest/gtest.h>
#include <sys/prctl.h>

#include <QCoreApplication>

#include "tests/support/Process.h"

int main(int argc, char** argv) {
  // The session bus starts its services detached from itself; they come back to
  // this process when they end, so none is left unreaped.
  ::prctl(PR_SET_CHILD_SUBREAPER, 1);
  // The window program is a child the test cannot run again; see Process.h.
  testsupport::LeakCheckOffInChildren();
  QCoreApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
