#pragma once
// Whole transfer runs between databases served by a real Firebird server on
// loopback, as an installation names them ("host/port:/path"), beside the same
// run through the embedded engine for comparison.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/TransferRun.h"
#include "db/IB.h"
#include "state/DynamicStates.h"
#include "tests/server/FirebirdServer.h"
#include "tests/support/FakeWindow.h"
#include "tests/support/Isql.h"
#include "tests/support/TempDir.h"

namespace servertest {

// The objects of one program process: data module, state store, window, run.
struct Program {
  Program();
  TDM1 dm;
  FakeWindow window;
  DynamicStates states;
  TransferRun run;
  bool Connected() const;
};

// A program folder with the sample control files and a fresh run log.
class ProgramFolder {
 public:
  ProgramFolder();
  const std::string& Path() const { return folder_; }  // ends with "/"
  // The run log split at CR LF, timestamps replaced by "<TIME>".
  std::vector<std::string> LogLines() const;

 private:
  testsupport::TempDir dir_{"dravik-server-program"};
  std::string folder_;
};

class ServerRun : public ::testing::Test {
 protected:
  static constexpr int kSiteSize = 2;  // controllers of the demo site

  void SetUp() override;

  // One start of the transfer with events, as the start button gives it.
  void Run(Program& program, const ProgramFolder& folder, const std::string& source,
           const std::string& dest);

  static long long Count(const std::filesystem::path& db, const std::string& table);

  std::optional<FirebirdServer> server_;
  std::filesystem::path source_, dest_;  // in the server's folder
};

}  // namespace servertest
