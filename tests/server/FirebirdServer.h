#pragma once
// A Firebird server of the test's own, reached only on loopback: its own root
// folder (configuration, security database, lock files), its own port, run as the
// current user and always stopped when the object goes, even when a test fails.
// Should the test process die first, the server is killed with it.
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

#include "tests/support/ChildProcess.h"
#include "tests/support/TempDir.h"

namespace servertest {

class FirebirdServer {
 public:
  // The credentials the program connects with; the server's own security
  // database holds SYSDBA with this password, so its default authentication
  // (SRP) accepts exactly these.
  static constexpr const char* kUser = "SYSDBA";
  static constexpr const char* kPassword = "lockvault";

  // Prepares the root folder and its security database and starts the server;
  // throws std::runtime_error with the server's own output when it cannot.
  FirebirdServer();
  ~FirebirdServer();
  FirebirdServer(const FirebirdServer&) = delete;
  FirebirdServer& operator=(const FirebirdServer&) = delete;

  int Port() const { return port_; }
  bool Running() const { return process_ != nullptr; }
  // A database file in the server's folder, as a remote client names it through
  // `host` (127.0.0.1 or localhost): "host/port:/path".
  std::string RemoteName(const std::filesystem::path& file, const std::string& host) const;
  // The folder for the test's database files.
  const std::filesystem::path& DataDir() const { return data_; }

  // Starts it again on the same port (after Stop or Kill).
  void Start();
  // Asks it to shut down, and kills it when it does not within a few seconds.
  void Stop() noexcept;
  // Kills it at once, as a crash or a pulled cable would end it for its clients.
  void Kill() noexcept;
  // What the server printed, for failure messages.
  std::string Output() const;

 private:
  testsupport::EnvChanges Environment() const;
  void WriteConfiguration() const;
  void MakeSecurityDatabase() const;
  bool WaitUntilListening(std::chrono::milliseconds limit);

  testsupport::TempDir root_{"dravik-fbserver"};
  std::filesystem::path data_;
  std::string program_;
  int port_ = 0;
  std::unique_ptr<testsupport::Child> process_;
};

// The server executable: $DRAVIK_FIREBIRD_SERVER when set, otherwise the first of
// the places Firebird 3 packages install it; empty when there is none.
std::string FindServerProgram();

}  // namespace servertest
