// An interrupt in the middle of a large table: the run stops between rows, what
// was written stays, and the command ends with 3 after saying what was done.
#include <signal.h>

#include <fstream>
#include <iterator>

#include "tests/console/ConsoleFixture.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/Isql.h"
#include "tests/support/Schema.h"

namespace consoletest {
namespace {

using namespace std::chrono_literals;

std::string Read(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Ctrl-C, and a closed terminal's SIGHUP, stop the run alike.
TEST_F(ConsoleTest, AnInterruptDuringALargeTableKeepsWhatWasWritten) {
  const long long events = testsupport::QueryInt(source_, "SELECT COUNT(*) FROM EVENTS");
  for (const int signal : {SIGINT, SIGHUP}) {
    SCOPED_TRACE(signal);
    testsupport::MakeDatabase(dest_);
    // Every event costs the destination a few milliseconds, so the events take
    // seconds and the signal surely comes in the middle of them.
    testsupport::RunIsql(dest_,
                         "SET TERM ^;"
                         "CREATE TRIGGER SLOW_EVENTS FOR EVENTS BEFORE INSERT AS "
                         "DECLARE I INTEGER = 0; BEGIN WHILE (I < 20000) DO I = I + 1; END^"
                         "SET TERM ;^");
    const std::filesystem::path output = dir_ / "output.txt";
    testsupport::Child command(
        {kCommand, "--folder", folder_, "--source", source_, "--dest", dest_, "--events"}, {},
        output);
    // The table list's last line is reported as the events section begins.
    ASSERT_TRUE(testsupport::WaitUntil(
        [&] { return Read(output).find("STR_ALARMS:") != std::string::npos; }, 120s))
        << Read(output);
    std::this_thread::sleep_for(500ms);
    command.Signal(signal);
    const std::optional<int> code = command.Wait(60s);
    const std::string said = Read(output);
    ASSERT_TRUE(code.has_value()) << said;
    EXPECT_EQ(*code, 3) << said;
    EXPECT_NE(said.find("Interrupted in or after EVENTS"), std::string::npos) << said;
    EXPECT_NE(said.find("Перенос данных был прерван пользователем."), std::string::npos) << said;

    const long long written = testsupport::QueryInt(dest_, "SELECT COUNT(*) FROM EVENTS");
    EXPECT_GT(written, 0);
    EXPECT_LT(written, events);
    // Nothing after the interrupted table ran: no alarms, no state restore.
    EXPECT_EQ(testsupport::QueryInt(dest_, "SELECT COUNT(*) FROM ALARM"), 0);
    EXPECT_EQ(testsupport::QueryInt(dest_, "SELECT COUNT(*) FROM STATE_CALLS"), 0);
  }
}

}  // namespace
}  // namespace consoletest
