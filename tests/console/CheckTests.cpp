// The check after a run compares every value with what the run meant to
// write: it names each value a destination trigger or the second script
// altered, a line the run could not do and a row that should not be there,
// and tells the rows the run logged as failed, references the source already
// left dangling and events without a description apart from differences.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "tests/console/ConsoleFixture.h"
#include "tests/support/Isql.h"
#include "tests/support/Schema.h"

namespace consoletest {
namespace {

std::vector<std::string> Words(const std::string& line) {
  std::istringstream words(line);
  return {std::istream_iterator<std::string>(words), std::istream_iterator<std::string>()};
}

// The check's row of a table in its first table.
std::vector<std::string> TableRow(const std::string& out, const std::string& table) {
  const std::vector<std::string> rows = After(out, "\n  " + table + " ");
  return rows.empty() ? std::vector<std::string>{} : Words(rows.front());
}

std::string Bytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool Says(const std::string& out, const std::string& text) {
  return out.find(text) != std::string::npos;
}

const char kDescribed[] =
    "EXISTS (SELECT 1 FROM EVDESC ED WHERE E.EV_CODE = ED.ED_CODE AND (E.EV_ADDCODE = "
    "ED.ED_ADDCODE OR E.EV_ADDCODE - 256 = ED.ED_ADDCODE))";

TEST_F(ConsoleTest, CheckTellsFailedRowsAndDanglingReferencesFromDifferences) {
  // A reader program whose reader the source does not have: the copy finds no
  // new key for it and writes -1, as it means to.
  testsupport::RunIsql(source_,
                       "INSERT INTO PRGDEF (PD_ID, PD_NUM, PD_CT_ID, PD_TYPE, PD_DEV_ID) "
                       "VALUES (990001, 1, 101, 4, 999999)");
  const std::string input =
      testsupport::QueryValue(source_, "SELECT MIN(PD_ID) FROM PRGDEF WHERE PD_TYPE = 7");
  // The second script runs after the copy: an input program then names an input nobody has.
  WriteControl("SQL/Upd.sql", {"UPDATE PRGDEF SET PD_DEV_ID = 888888 WHERE PD_ID = " + input});
  // Events keep their keys and the destination keeps its own: one of the
  // source's collides with it and fails.
  const std::string event = testsupport::QueryValue(source_, "SELECT MIN(EV_ID) FROM EVENTS");
  testsupport::RunIsql(
      dest_, "INSERT INTO EVENTS (EV_ID, EV_CODE, EV_ADDCODE) VALUES (" + event + ", 1, 0)");
  // The destination refuses a row of a key-mapped table, a macro (and so its
  // rights, which then name no macro) and one owner's "&" update.
  testsupport::RunIsql(
      dest_,
      "CREATE EXCEPTION REFUSED 'refused';\n"
      "SET TERM ^ ;\n"
      "CREATE TRIGGER R1 FOR KRONTUR BEFORE INSERT POSITION 9 AS BEGIN\n"
      "  IF (NEW.KT_CT_ID = 1 AND NEW.KT_NAME = 'Выходной') THEN EXCEPTION REFUSED; END^\n"
      "CREATE TRIGGER R2 FOR MACROSES BEFORE INSERT POSITION 9 AS BEGIN\n"
      "  IF (NEW.MCR_NAME = 'Сброс тревог 2') THEN EXCEPTION REFUSED; END^\n"
      "CREATE TRIGGER R3 FOR OWNER BEFORE UPDATE POSITION 9 AS BEGIN\n"
      "  IF (NEW.OW_ID = 2) THEN EXCEPTION REFUSED; END^\n"
      "SET TERM ; ^");
  const long long rights = testsupport::QueryInt(
      source_,
      "SELECT COUNT(*) FROM MAKROS_RIGHT R JOIN MACROSES M ON M.MCR_ID = R.MR_MCR_ID "
      "WHERE M.MCR_NAME = 'Сброс тревог 2'");
  auto count = [&](const std::string& table) {
    return testsupport::QueryInt(source_, "SELECT COUNT(*) FROM " + table);
  };
  const long long krontur = count("KRONTUR"), macros = count("MACROSES"),
                  allRights = count("MAKROS_RIGHT"), owners = count("OWNER");
  const long long events = testsupport::QueryInt(
      source_, std::string("SELECT COUNT(*) FROM EVENTS E WHERE ") + kDescribed);
  const long long undescribed = testsupport::QueryInt(
      source_, std::string("SELECT COUNT(*) FROM EVENTS E WHERE NOT ") + kDescribed);
  const long long alarms = testsupport::QueryInt(
      source_,
      "SELECT COUNT(*) FROM ALARM E WHERE NOT EXISTS (SELECT 1 FROM EVDESC ED WHERE E.AL_CODE = "
      "ED.ED_CODE AND (E.AL_ADDCODE = ED.ED_ADDCODE OR E.AL_ADDCODE - 256 = ED.ED_ADDCODE))");
  ASSERT_GT(undescribed, 0);

  std::vector<std::string> arguments = Databases();
  arguments.push_back("--events");
  std::vector<std::string> plan = arguments;
  plan.push_back("--plan");
  const testsupport::ProcessResult planned = Console(plan);
  EXPECT_EQ(After(planned.out, "    not moved: ").front(),
            std::to_string(undescribed) +
                " rows no description matches (their code and "
                "additional code)")
      << planned.out;

  arguments.push_back("--check");
  const testsupport::ProcessResult result = Console(arguments);
  EXPECT_EQ(result.exitCode, 1) << result.out << result.err;
  EXPECT_EQ(testsupport::QueryInt(dest_, "SELECT PD_DEV_ID FROM PRGDEF WHERE PD_ID = 990001"), -1);

  // Lines, read, arrived, failed, differing, missing, updated, kept, rows now,
  // unexpected, result.
  const long long programs = testsupport::QueryInt(source_, "SELECT COUNT(*) FROM PRGDEF");
  EXPECT_EQ(
      TableRow(result.out, "PRGDEF"),
      (std::vector<std::string>{"26", std::to_string(programs), std::to_string(programs - 1), "-",
                                "1", "-", "-", "0", std::to_string(programs), "-", "DIFFERENT"}))
      << result.out;
  EXPECT_TRUE(Says(result.out, "\n    " + input + "  PD_DEV_ID: meant ")) << result.out;
  EXPECT_TRUE(Says(result.out, ", found 888888\n")) << result.out;
  EXPECT_TRUE(Says(result.out, "note: the second script (SQL/Upd.sql) writes this table"));
  EXPECT_TRUE(Says(result.out, "note: 1 reference was meant to be -1")) << result.out;
  // Refused rows are failed rows, not differences.
  auto row = [](const std::string& line, long long read, long long failed,
                const std::string& updated) {
    const std::string arrived = std::to_string(read - failed);
    return std::vector<std::string>{line,    std::to_string(read),
                                    arrived, std::to_string(failed),
                                    "-",     "-",
                                    updated, "0",
                                    arrived, "-",
                                    "ok"};
  };
  EXPECT_EQ(TableRow(result.out, "KRONTUR"), row("20", krontur, 1, "-")) << result.out;
  EXPECT_EQ(TableRow(result.out, "MACROSES"), row("32", macros, 1, "-")) << result.out;
  EXPECT_EQ(TableRow(result.out, "MAKROS_RIGHT"), row("33", allRights, rights, "-"));
  const std::string updated = std::to_string(owners - 1) + "/" + std::to_string(owners - 1);
  std::vector<std::string> ownerRow = row("28,31", owners, 0, updated);
  ownerRow[3] = "1";
  EXPECT_EQ(TableRow(result.out, "OWNER"), ownerRow) << result.out;
  // The collided event failed and the destination's own stayed: no difference.
  EXPECT_EQ(TableRow(result.out, "EVENTS"),
            (std::vector<std::string>{"ev", std::to_string(events), std::to_string(events - 1), "1",
                                      "-", "-", "-", "1", std::to_string(events), "-", "ok"}))
      << result.out;
  EXPECT_TRUE(Says(result.out, "note: " + std::to_string(undescribed) +
                                   " source rows without a matching description are not moved"));
  EXPECT_TRUE(Says(result.out, "read (" + std::to_string(undescribed + alarms) +
                                   " events and alarms not read: no description matches"))
      << result.out;
  EXPECT_TRUE(Says(result.out, "Verdict: 1 difference (marked above).")) << result.out;
}

// Each kind of value the copy rewrites, altered by a trigger of the
// destination as it arrives: from a source of the older layout, whose owners'
// photos reach the destination's photo table by update; the readers' new keys
// descend, so each is looked up on its own.
TEST_F(ConsoleTest, CheckNamesEveryValueATriggerAlters) {
  testsupport::MakeDemoDatabase(source_, testsupport::Variant::Older, kSiteSize);
  const std::string owner = testsupport::QueryValue(source_, "SELECT MIN(OW_ID) FROM OWNER");
  const std::string photo =
      testsupport::QueryValue(source_, "SELECT MIN(OW_ID) FROM OWNER WHERE OW_PHOTO IS NOT NULL");
  const std::string reader = testsupport::QueryValue(source_, "SELECT MIN(RD_ID) FROM READERS");
  const std::string macro = testsupport::QueryValue(source_, "SELECT MIN(MCR_ID) FROM MACROSES");
  const std::string event = testsupport::QueryValue(
      source_,
      "SELECT MIN(E.EV_ID) FROM EVENTS E JOIN EVDESC ED ON E.EV_CODE = ED.ED_CODE AND "
      "E.EV_ADDCODE = ED.ED_ADDCODE WHERE ED.ED_HARDTYPE = 4 AND E.EV_DEV_ID IS NOT NULL");
  const std::string rights = testsupport::QueryValue(
      source_, "SELECT MIN(ID_ID) FROM INIDATA WHERE ID_SECTION = 'USERS_RD_RIGHTS'");
  const std::string description = testsupport::QueryValue(source_, "SELECT MIN(ED_ID) FROM EVDESC");
  const std::string controller =
      testsupport::QueryValue(source_, "SELECT MIN(CT_ID) FROM CONTROLLERS WHERE CT_ARCHIVE = 0");
  struct Trigger {
    const char* table;
    const char* when;
    std::string body;
  };
  const Trigger triggers[] = {
      {"OWNER", "BEFORE INSERT", "IF (NEW.OW_ID = " + owner + ") THEN NEW.OW_DEPT = 'Изменено';"},
      {"READERS", "BEFORE INSERT",
       "NEW.RD_ID = 1000000 - NEW.RD_ID; IF (NEW.RD_ID = 999999) THEN NEW.RD_MODE = 77;"},
      {"OWNERPHOTOS", "BEFORE UPDATE", "IF (NEW.OW_ID = " + photo + ") THEN NEW.OW_PHOTO = 'xx';"},
      {"MACROSES", "BEFORE INSERT", "IF (NEW.MCR_ID = 1) THEN NEW.MCR_FILL = 'abc';"},
      {"EVENTS", "BEFORE INSERT", "IF (NEW.EV_ID = " + event + ") THEN NEW.EV_DEV_ID = 5;"},
      {"INIDATA", "BEFORE INSERT", "IF (NEW.ID_ID = " + rights + ") THEN NEW.ID_BLOB = '1]1';"},
      // The "&" line's update, and a description's update in place.
      {"OWNER", "BEFORE UPDATE",
       "IF (NEW.OW_ID = " + owner + ") THEN NEW.OW_REGDATE = '2001-02-03';"},
      {"EVDESC", "BEFORE UPDATE", "IF (NEW.ED_ID = " + description + ") THEN NEW.ED_SOUND = 'x';"},
      // The first controller's first state, restored under its new key.
      {"STATE_VALUES", "BEFORE INSERT",
       "IF (NEW.SV_TABLE = 'CONTROLLERS' AND NEW.SV_KEY = 1 AND NEW.SV_NUM = 1) THEN "
       "NEW.SV_VALUE = -5;"},
  };
  std::string sql = "SET TERM ^ ;\n";
  int number = 0;
  for (const Trigger& trigger : triggers)
    sql += "CREATE TRIGGER T" + std::to_string(++number) + " FOR " + trigger.table + " " +
           trigger.when + " POSITION 9 AS BEGIN " + trigger.body + " END^\n";
  testsupport::RunIsql(dest_, sql + "SET TERM ; ^");

  std::vector<std::string> arguments = Databases();
  arguments.insert(arguments.end(), {"--events", "--check"});
  const testsupport::ProcessResult result = Console(arguments);
  EXPECT_EQ(result.exitCode, 1) << result.out << result.err;
  const std::string readerNow =
      testsupport::QueryValue(dest_, "SELECT RD_ID FROM READERS WHERE RD_MODE = 77");
  const std::string readerMode =
      testsupport::QueryValue(source_, "SELECT RD_MODE FROM READERS WHERE RD_ID = " + reader);
  // Table, then each difference by the source's key, the destination's when
  // new, the column, the value meant and the one found.
  const std::vector<std::pair<std::string, std::string>> named = {
      {"OWNER", owner + "  OW_DEPT: meant \""},
      {"OWNER", "\", found \"Изменено\""},
      {"READERS", reader + " -> " + readerNow + "  RD_MODE: meant " + readerMode + ", found 77"},
      {"OWNERPHOTOS", photo + "  OW_PHOTO: meant "},
      {"OWNERPHOTOS", " bytes, found \"xx\""},
      {"MACROSES", macro + " -> 1  MCR_FILL: meant \""},
      {"EVENTS", event + "  EV_DEV_ID: meant "},
      {"EVENTS", ", found 5"},
      {"INIDATA", rights + "  ID_BLOB: meant \"1]"},
      {"OWNER", owner + "  OW_REGDATE: meant "},
      {"EVDESC", description + "  ED_SOUND: meant \"sound"},
  };
  for (const auto& [table, text] : named) {
    const size_t at = result.out.find("\n  " + table + "\n    ");
    ASSERT_NE(at, std::string::npos) << table << "\n" << result.out;
    EXPECT_NE(result.out.find(text, at), std::string::npos) << table << ": " << text;
  }
  EXPECT_EQ(Words(After(result.out, "\n  CONTROLLERS  ").back()),
            (std::vector<std::string>{"2", "1", "1", "0", controller, "DIFFERENT"}))
      << result.out;
  EXPECT_TRUE(Says(result.out, "Verdict: 9 differences (marked above).")) << result.out;
}

// Every row of a table is accounted for: the rows a line could not copy, a row
// that should not be there, one of the destination's own that was to stay and
// is gone, the rows of an event table only the destination lacks; a table
// copied twice has each copy's rows under their own keys, and an event table
// the source lacks is skipped as the run skips it.
TEST_F(ConsoleTest, CheckAccountsForEveryRowOfATable) {
  // A key column the table lacks: the table is emptied, its copy fails as a whole.
  std::string list = Bytes(dir_ / "Conv.txt");
  const size_t at = list.find("\r\nCARDSDEF=CD_ID\r\n");
  ASSERT_NE(at, std::string::npos);
  list.insert(at + 16, "X");
  list += "KRONTUR=KT_ID\r\n";
  std::ofstream(dir_ / "Conv.txt", std::ios::binary | std::ios::trunc) << list;
  const std::string line =
      std::to_string(std::count(list.begin(), list.begin() + static_cast<long>(at), '\n') + 2);
  // Card groups without a controller are the destination's own and stay.
  testsupport::RunIsql(dest_,
                       "INSERT INTO CARDGROUPS (CG_ID, CG_NAME) VALUES (900, 'own');"
                       "INSERT INTO CARDGROUPS (CG_ID, CG_NAME) VALUES (901, 'own');");
  WriteControl("SQL/Upd.sql", {"INSERT INTO TIMERS (TM_ID, TM_NUM) VALUES (999999, 1)", "",
                               "DELETE FROM CARDGROUPS WHERE CG_ID = 901"});
  const long long cards = testsupport::QueryInt(source_, "SELECT COUNT(*) FROM CARDSDEF");
  const long long groups =
      testsupport::QueryInt(source_, "SELECT COUNT(*) FROM CARDGROUPS WHERE CG_CT_ID IS NOT NULL");
  const long long krontur = testsupport::QueryInt(source_, "SELECT COUNT(*) FROM KRONTUR");
  const long long strEvents = testsupport::QueryInt(source_, "SELECT COUNT(*) FROM STR_EVENTS");
  testsupport::RunIsql(source_, "DROP TABLE ACR$ALARMS;");
  testsupport::RunIsql(dest_, "DROP TABLE STR_EVENTS;");
  std::string generators = Bytes(dir_ / "GENERATOR.txt");
  const std::string strGenerator = "GEN_STR_EVENTS=STR_EVENTS/EV_ID\r\n";
  ASSERT_NE(generators.find(strGenerator), std::string::npos);
  generators.erase(generators.find(strGenerator), strGenerator.size());
  std::ofstream(dir_ / "GENERATOR.txt", std::ios::binary | std::ios::trunc) << generators;

  // The plan names the two lines the run cannot do; --force runs it all the same.
  std::vector<std::string> arguments = Databases();
  arguments.insert(arguments.end(), {"--events", "--check", "--force"});
  const testsupport::ProcessResult result = Console(arguments);
  EXPECT_EQ(result.exitCode, 1) << result.out << result.err;
  // Lines, read, arrived, failed, differing, missing, updated, kept, rows now,
  // unexpected, result.
  const std::string n = std::to_string(cards);
  EXPECT_EQ(TableRow(result.out, "CARDSDEF"),
            (std::vector<std::string>{line, n, "-", "-", "-", n, "-", "0", "0", "-", "DIFFERENT"}))
      << result.out;
  EXPECT_TRUE(Says(result.out, "ERROR: line " + line + " did not do its work: ")) << result.out;
  EXPECT_TRUE(Says(result.out, "CD_IDX")) << result.out;
  EXPECT_EQ(TableRow(result.out, "TIMERS").at(9), "1") << result.out;
  EXPECT_TRUE(Says(result.out, "-> 999999  a destination row that should not be there"));
  const std::string g = std::to_string(groups);
  EXPECT_EQ(TableRow(result.out, "CARDGROUPS"),
            (std::vector<std::string>{"19", g, g, "-", "-", "-", "-", "2",
                                      std::to_string(groups + 1), "-1", "DIFFERENT"}))
      << result.out;
  const std::string k = std::to_string(2 * krontur);
  const std::vector<std::string> kronturRow = TableRow(result.out, "KRONTUR");
  ASSERT_FALSE(kronturRow.empty()) << result.out;
  EXPECT_EQ(std::vector<std::string>(kronturRow.begin() + 1, kronturRow.end()),
            (std::vector<std::string>{k, k, "-", "-", "-", "-", "0", k, "-", "ok"}))
      << result.out;
  const std::string e = std::to_string(strEvents);
  EXPECT_EQ(TableRow(result.out, "STR_EVENTS"),
            (std::vector<std::string>{"ev", e, "-", "-", "-", e, "-", "-", "-", "-", "DIFFERENT"}))
      << result.out;
  EXPECT_TRUE(Says(result.out, "the destination has no such table, so the source's rows"));
  EXPECT_EQ(TableRow(result.out, "ACR$ALARMS").back(), "ok") << result.out;
  EXPECT_TRUE(Says(result.out, "note: the source has no such table: nothing to move"));
  EXPECT_TRUE(
      Says(result.out, "Verdict: " + std::to_string(cards + strEvents + 4) + " differences"))
      << result.out;
}

}  // namespace
}  // namespace consoletest
