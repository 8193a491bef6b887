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

struct Interrupt {
  int signal;
  const char* locale;
  const char* warning;  // the window's warning, as the command shows it
  const char* where;    // the summary's word on where the run stopped
};

// Ctrl-C, and a closed terminal's SIGHUP, stop the run alike, in either language.
TEST_F(ConsoleTest, AnInterruptDuringALargeTableKeepsWhatWasWritten) {
  const long long events = testsupport::QueryInt(source_, "SELECT COUNT(*) FROM EVENTS");
  const Interrupt interrupts[] = {
      {SIGINT, "ru_RU.UTF-8", "Перенос данных был прерван пользователем.",
       "Прервано в таблице EVENTS или после нее"},
      {SIGHUP, "C.UTF-8", "The data transfer was interrupted by the user.",
       "Interrupted in or after EVENTS"},
  };
  for (const Interrupt& interrupt : interrupts) {
    SCOPED_TRACE(interrupt.signal);
    testsupport::MakeDatabase(dest_);
    // Every event costs the destination a few milliseconds, so the events take
    // seconds and the signal surely comes in the middle of them.
    testsupport::RunIsql(dest_,
                         "SET TERM ^;"
                         "CREATE TRIGGER SLOW_EVENTS FOR EVENTS BEFORE INSERT AS "
                         "DECLARE I INTEGER = 0; BEGIN WHILE (I < 20000) DO I = I + 1; END^"
                         "SET TERM ;^");
    const std::filesystem::path output = dir_ / "output.txt";
    std::filesystem::remove(output);
    testsupport::Child command(
        {kCommand, "--folder", folder_, "--source", source_, "--dest", dest_, "--events"},
        {{"LC_ALL", interrupt.locale}}, output);
    // The table list's last line is reported as the events section begins.
    ASSERT_TRUE(testsupport::WaitUntil(
        [&] { return Read(output).find("STR_ALARMS:") != std::string::npos; }, 120s))
        << Read(output);
    std::this_thread::sleep_for(500ms);
    command.Signal(interrupt.signal);
    const std::optional<int> code = command.Wait(60s);
    const std::string said = Read(output);
    ASSERT_TRUE(code.has_value()) << said;
    EXPECT_EQ(*code, 3) << said;
    EXPECT_NE(said.find(interrupt.where), std::string::npos) << said;
    EXPECT_NE(said.find(interrupt.warning), std::string::npos) << said;

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
