// Every exit code from a real cause. A command that cannot start says why on
// standard error and leaves both databases as they were.
#include <filesystem>

#include "tests/console/ConsoleFixture.h"
#include "tests/support/Contents.h"
#include "tests/support/RunLogLines.h"
#include "text/Cp1251.h"
#include "text/RussianTexts.h"

namespace consoletest {
namespace {

namespace fs = std::filesystem;

// Arguments of a case: "@S" and "@D" stand for the two databases wherever they
// appear, "@/" at the start for the test's folder.
struct NotStarted {
  const char* name;
  std::vector<std::string> arguments;
  const char* removed;   // a file of the program folder, or nullptr
  std::string says;      // on standard error, UTF-8
  bool russian = false;  // run under a Russian locale, where the window's texts stay Russian
};

std::string Utf8(const std::string& programText) {
  return text::Utf8FromCp1251(programText);
}

class ExitCodes : public ConsoleTest {
 protected:
  std::vector<std::string> Expanded(const std::vector<std::string>& arguments) const {
    std::vector<std::string> expanded;
    for (std::string argument : arguments) {
      if (argument.rfind("@/", 0) == 0) argument = folder_ + argument.substr(2);
      for (const auto& [mark, path] : {std::pair{"@S", source_}, std::pair{"@D", dest_}})
        if (const size_t at = argument.find(mark); at != std::string::npos)
          argument.replace(at, 2, path);
      expanded.push_back(argument);
    }
    return expanded;
  }
};

TEST_F(ExitCodes, TwoWhenItCannotStart) {
  const std::string same = Utf8(ru::SamePathsMessage());
  const NotStarted cases[] = {
      {"no such day",
       {"--source", "@S", "--dest", "@D", "--events-from", "31.02.2026"},
       nullptr,
       "DD.MM.YYYY"},
      {"no destination", {"--source", "@S"}, nullptr, "both --source and --dest"},
      {"an unknown option",
       {"--source", "@S", "--dest", "@D", "--all"},
       nullptr,
       "Unknown option 'all'"},
      {"no table list",
       {"--source", "@S", "--dest", "@D"},
       "Conv.txt",
       "Не найден Файл со списком копируемых таблиц,\n         продолжение",
       true},
      {"no table list, in English",
       {"--source", "@S", "--dest", "@D"},
       "Conv.txt",
       "The table list file was not found,\n  the work cannot go on."},
      {"no generator list",
       {"--source", "@S", "--dest", "@D"},
       "GENERATOR.txt",
       "Не найден Файл со списком генераторов,\n   продолжение",
       true},
      {"no second script",
       {"--source", "@S", "--dest", "@D"},
       "SQL/Upd.sql",
       "the script SQL/Upd.sql cannot be read"},
      {"a source that is not there",
       {"--source", "@/gone.fdb", "--dest", "@D"},
       nullptr,
       "source: I/O error during \"open\" operation"},
      {"a destination that is not there",
       {"--source", "@S", "--dest", "@/gone.fdb"},
       nullptr,
       "destination: I/O error during \"open\" operation"},
      {"the destination as the source, spelt otherwise",
       {"--source", "@/./dest.fdb", "--dest", "@D"},
       nullptr,
       same,
       true},
      {"the destination as the source, through a server of this machine",
       {"--source", "localhost:@D", "--dest", "@D"},
       nullptr,
       same,
       true},
      {"the same for a plan",
       {"--source", "@/./dest.fdb", "--dest", "@D", "--plan"},
       nullptr,
       same,
       true},
      {"a backup into a folder that is not there",
       {"--source", "@S", "--dest", "@D", "--backup", "@/gone/dest.fbk"},
       nullptr,
       "of the backup file cannot be written"},
      // The engine saves the destination, and the finished file cannot take
      // the place of a folder: the run must not begin.
      {"a backup the engine made that cannot be put in place",
       {"--source", "@S", "--dest", "@D", "--backup", "@/SQL"},
       nullptr,
       "the backup of the destination failed, so nothing was written"},
      {"a backup over the source",
       {"--source", "@S", "--dest", "@D", "--backup", "@S"},
       nullptr,
       "would be renamed over the source database"},
      // The path is the server's; written as this machine's, it is refused all the same.
      {"a backup over the path of a server's destination",
       {"--source", "@S", "--dest", "far.invalid/3050:@D", "--backup", "@D"},
       nullptr,
       "would be renamed over the destination database far.invalid/3050:"},
      {"a restore off a terminal without --yes",
       {"--restore", "@/SQL/Upd.sql", "--dest", "@D"},
       nullptr,
       "off a terminal it needs --yes"},
      {"a restore from a file that is not a backup",
       {"--restore", "@/SQL/Upd.sql", "--dest", "@D", "--yes"},
       nullptr,
       Utf8(ru::ServiceNotABackup()),
       true},
      {"the same in English",
       {"--restore", "@/SQL/Upd.sql", "--dest", "@D", "--yes"},
       nullptr,
       "The file is not a whole backup of a database"},
      {"a restore with an option of a run",
       {"--restore", "@/x.fbk", "--dest", "@D", "--check"},
       nullptr,
       "--check does not go with it"},
  };
  const std::string source = testsupport::DatabaseContents(source_),
                    dest = testsupport::DatabaseContents(dest_);
  for (const NotStarted& start : cases) {
    SCOPED_TRACE(start.name);
    testsupport::TempDir folder("dravik-console-folder");
    for (const fs::directory_entry& entry : fs::directory_iterator(dir_.path()))
      if (entry.path().extension() != ".fdb")
        fs::copy(entry.path(), folder.path() / entry.path().filename(),
                 fs::copy_options::recursive);
    if (start.removed != nullptr) fs::remove(folder / start.removed);
    std::vector<std::string> arguments = {kCommand, "--folder", folder.path().string()};
    if (start.russian) arguments.insert(arguments.begin(), {"env", "LC_ALL=ru_RU.UTF-8"});
    const std::vector<std::string> more = Expanded(start.arguments);
    arguments.insert(arguments.end(), more.begin(), more.end());
    const testsupport::ProcessResult result = testsupport::RunProcess(arguments);
    EXPECT_EQ(result.exitCode, 2) << result.out << result.err;
    EXPECT_NE(result.err.find(start.says), std::string::npos) << result.err;
    // A backup that failed leaves nothing behind in its folder either.
    for (const fs::directory_entry& entry : fs::directory_iterator(dir_.path()))
      EXPECT_EQ(entry.path().filename().string().find(".part-"), std::string::npos);
  }
  EXPECT_EQ(testsupport::DatabaseContents(source_), source);
  EXPECT_EQ(testsupport::DatabaseContents(dest_), dest);
}

TEST_F(ExitCodes, OneWhenAStatementFailed) {
  WriteControl("SQL/Upd.sql", {"UPDATE NO_SUCH_TABLE SET NO_SUCH_COLUMN = 1"});
  const testsupport::ProcessResult result = Console(Databases());
  EXPECT_EQ(result.exitCode, 1) << result.out << result.err;
  EXPECT_EQ(After(result.out, "failed statements: "), std::vector<std::string>{"1"}) << result.out;
  EXPECT_NE(LogBytes().find("NO_SUCH_TABLE"), std::string::npos);
  // The run went on after the failure: the generators and states were set.
  EXPECT_EQ(testsupport::QueryInt(dest_,
                                  "SELECT SC_COUNT FROM STATE_CALLS WHERE SC_NAME = 'SAVE_STATES'"),
            1);
}

}  // namespace
}  // namespace consoletest
