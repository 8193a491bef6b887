#include "tests/server/FirebirdServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "tests/support/Isql.h"

namespace servertest {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr auto kStartLimit = 20s;
constexpr auto kShutdownLimit = 10s;
constexpr auto kReapLimit = 5s;
constexpr int kStartAttempts = 3;

// Where Firebird 3 packages keep the server's message file and plugin list.
const char* const kInstallRoots[] = {
    "/usr/lib/x86_64-linux-gnu/firebird/3.0",
    "/usr/lib/firebird/3.0",
    "/opt/firebird",
};

// A port nobody listens on now. Another program may take it before the server
// does; Start then tries another one.
int FreeLoopbackPort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) throw std::runtime_error(std::string("socket: ") + std::strerror(errno));
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  const bool ok = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                  ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0;
  ::close(fd);
  if (!ok) throw std::runtime_error("no free loopback port");
  return ntohs(address.sin_port);
}

bool Listening(int port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return false;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<uint16_t>(port));
  const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  ::close(fd);
  return ok;
}

void CopyIfPresent(const fs::path& from, const fs::path& to) {
  std::error_code ignored;
  if (fs::exists(from)) fs::copy_file(from, to, fs::copy_options::overwrite_existing, ignored);
}

}  // namespace

std::string FindServerProgram() {
  const char* chosen = std::getenv("DRAVIK_FIREBIRD_SERVER");
  if (chosen && *chosen) return chosen;
  for (const char* candidate :
       {"/usr/sbin/firebird", "/usr/lib/x86_64-linux-gnu/firebird/3.0/bin/firebird",
        "/opt/firebird/bin/firebird"}) {
    if (::access(candidate, X_OK) == 0) return candidate;
  }
  return {};
}

FirebirdServer::FirebirdServer() : data_(root_ / "data"), program_(FindServerProgram()) {
  if (program_.empty())
    throw std::runtime_error("no Firebird server program found (package firebird3.0-server)");
  fs::create_directories(data_);
  fs::create_directories(root_ / "lock");
  fs::create_directories(root_ / "tmp");
  fs::create_directories(root_ / "intl");
  for (const char* install : kInstallRoots) {
    CopyIfPresent(fs::path(install) / "firebird.msg", root_ / "firebird.msg");
    CopyIfPresent(fs::path(install) / "plugins.conf", root_ / "plugins.conf");
    // Character sets (WIN1251 among them) are loaded from the root folder's
    // intl/, and only from a real copy there: a link to the installed module
    // is refused.
    CopyIfPresent(fs::path(install) / "intl" / "fbintl.conf", root_ / "intl" / "fbintl.conf");
    CopyIfPresent(fs::path(install) / "intl" / "libfbintl.so", root_ / "intl" / "libfbintl.so");
  }
  std::ofstream(root_ / "databases.conf");
  port_ = FreeLoopbackPort();
  WriteConfiguration();
  MakeSecurityDatabase();
  Start();
}

FirebirdServer::~FirebirdServer() {
  Stop();
}

std::string FirebirdServer::RemoteName(const fs::path& file, const std::string& host) const {
  return host + "/" + std::to_string(port_) + ":" + file.string();
}

void FirebirdServer::WriteConfiguration() const {
  std::ofstream conf(root_ / "firebird.conf", std::ios::trunc);
  // Loopback only, on a port of its own, and no database outside this folder.
  conf << "RemoteBindAddress = 127.0.0.1\n"
       << "RemoteServicePort = " << port_ << "\n"
       << "DatabaseAccess = Restrict " << root_.path().string() << "\n"
       << "ServerMode = Super\n"
       // Logins are checked against this folder's security database, which
       // knows SYSDBA with the program's fixed password.
       << "SecurityDatabase = " << (root_ / "security.fdb").string() << "\n"
       << "AuthServer = Srp\n"
       << "UserManager = Srp\n";
  if (!conf) throw std::runtime_error("cannot write " + (root_ / "firebird.conf").string());
}

testsupport::EnvChanges FirebirdServer::Environment() const {
  // The root folder carries the configuration; the lock folder keeps this
  // server's shared memory apart from every other engine on the machine. The
  // test process itself must not take these on: its client library reads them.
  return {{"FIREBIRD", root_.path().string()},
          {"FIREBIRD_LOCK", (root_ / "lock").string()},
          {"FIREBIRD_TMP", (root_ / "tmp").string()},
          // A server spells file names in its locale's encoding, UTF-8 as on an
          // installed system.
          {"LC_ALL", "C.UTF-8"}};
}

void FirebirdServer::MakeSecurityDatabase() const {
  // Made by the embedded engine under this folder's configuration, so the new
  // user lands in this security database and nowhere else.
  const fs::path script = root_ / "security.sql";
  std::ofstream(script, std::ios::trunc)
      << "CREATE DATABASE '" << (root_ / "security.fdb").string() << "';\n"
      << "CREATE USER " << kUser << " PASSWORD '" << kPassword << "';\n"
      << "COMMIT;\n";
  const testsupport::ToolResult made = testsupport::RunTool(
      {testsupport::IsqlProgram(), "-q", "-b", "-user", kUser, "-i", script.string()},
      Environment(), kStartLimit);
  if (made.exitCode != 0)
    throw std::runtime_error("making the server's security database failed:\n" + made.out);
}

void FirebirdServer::Start() {
  if (Running()) return;
  for (int attempt = 1; attempt <= kStartAttempts; ++attempt) {
    process_ = std::make_unique<testsupport::Child>(std::vector<std::string>{program_},
                                                    Environment(), root_ / "server.log");
    if (WaitUntilListening(kStartLimit)) return;
    Stop();
    // Most likely somebody else took the port meanwhile.
    port_ = FreeLoopbackPort();
    WriteConfiguration();
  }
  throw std::runtime_error("the Firebird server did not start:\n" + Output());
}

bool FirebirdServer::WaitUntilListening(std::chrono::milliseconds limit) {
  bool ended = false;
  const bool listening = testsupport::WaitUntil(
      [&] {
        ended = !process_->Running();
        return ended || Listening(port_);
      },
      limit, 20ms);
  return listening && !ended;
}

void FirebirdServer::Stop() noexcept {
  if (!Running()) return;
  try {
    process_->Stop(kShutdownLimit);
  } catch (...) {
    // The child is killed with its group when it goes, below.
  }
  process_.reset();
}

void FirebirdServer::Kill() noexcept {
  if (!Running()) return;
  process_->Signal(SIGKILL);
  try {
    process_->Wait(kReapLimit);
  } catch (...) {
  }
  process_.reset();
}

std::string FirebirdServer::Output() const {
  std::ifstream in(root_ / "server.log", std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace servertest
