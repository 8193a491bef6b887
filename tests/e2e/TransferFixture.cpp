#include "tests/e2e/TransferFixture.h"

#include <algorithm>
#include <fstream>

namespace e2e {
namespace {

std::string Text(const testsupport::Row& row) {
  std::string text;
  for (const std::string& value : row) text += (text.empty() ? "" : " | ") + value;
  return text;
}

}  // namespace

std::string TestName() {
  return testing::UnitTest::GetInstance()->current_test_info()->name();
}

const Accessible& MainFrame(const Accessible& tree) {
  for (const Accessible& window : tree.children)
    if (window.Find("label", kStatusCaption)) return window;
  throw std::runtime_error("the main window is not in the accessible tree");
}

std::string Status(const Accessible& tree) {
  const Accessible* status = MainFrame(tree).After("label", kStatusCaption);
  return status ? status->name : "<no status label>";
}

bool ButtonEnabled(const Accessible& tree, const std::string& caption) {
  const Accessible* button = MainFrame(tree).Find("push button", caption);
  return button && button->Enabled();
}

bool Idle(const Accessible& tree) {
  return ButtonEnabled(tree, kStartButton) && !ButtonEnabled(tree, kInterruptButton);
}

std::vector<double> BarValues(const Accessible& tree) {
  std::vector<double> values;
  MainFrame(tree).Find([&](const Accessible& a) {
    if (a.role == "progress bar") values.push_back(a.value);
    return false;
  });
  return values;
}

testing::AssertionResult SameRows(std::vector<testsupport::Row> actual,
                                  std::vector<testsupport::Row> expected) {
  std::sort(actual.begin(), actual.end());
  std::sort(expected.begin(), expected.end());
  if (actual == expected) return testing::AssertionSuccess();
  std::vector<testsupport::Row> missing, extra;
  std::set_difference(expected.begin(), expected.end(), actual.begin(), actual.end(),
                      std::back_inserter(missing));
  std::set_difference(actual.begin(), actual.end(), expected.begin(), expected.end(),
                      std::back_inserter(extra));
  testing::AssertionResult failure = testing::AssertionFailure();
  failure << actual.size() << " rows where " << expected.size() << " were expected";
  for (size_t i = 0; i < missing.size() && i < 10; ++i)
    failure << "\n  missing: " << Text(missing[i]);
  for (size_t i = 0; i < extra.size() && i < 10; ++i) failure << "\n  extra:   " << Text(extra[i]);
  return failure;
}

long long Generator(const fs::path& db, const std::string& name) {
  return QueryInt(db, "SELECT GEN_ID(" + name + ", 0) FROM RDB$DATABASE");
}

void PresetGenerators(const fs::path& db) {
  std::string sql;
  for (const std::string& g : kKeptKeyGenerators)
    sql += "SET GENERATOR " + g + " TO " + std::to_string(kPresetGenerator) + ";\n";
  testsupport::RunIsql(db, sql);
}

std::vector<std::array<std::string, 3>> GeneratorList(const ProgramFolder& p) {
  std::ifstream in(p.folder / "GENERATOR.txt");
  std::vector<std::array<std::string, 3>> list;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t eq = line.find('='), slash = line.find('/');
    if (line.empty() || line[0] == '*' || eq == std::string::npos || slash == std::string::npos)
      continue;
    list.push_back(
        {line.substr(0, eq), line.substr(eq + 1, slash - eq - 1), line.substr(slash + 1)});
  }
  return list;
}

int TransferWindow::CopyPasses(const std::string& log) {
  int passes = 0;
  for (size_t at = log.find(kCopyPassLine); at != std::string::npos;
       at = log.find(kCopyPassLine, at + 1))
    ++passes;
  return passes;
}

// What a finished transfer of a demo site leaves in the destination.
void TransferWindow::ExpectCompleteTransfer(const std::string& eventsFromSql, bool ownerStates) {
  const fs::path& src = program_.source;
  const fs::path& dst = program_.dest;
  for (const std::string& table : kWholeTables)
    EXPECT_EQ(QueryInt(dst, "SELECT COUNT(*) FROM " + table),
              QueryInt(src, "SELECT COUNT(*) FROM " + table))
        << table;
  EXPECT_EQ(QueryInt(dst, "SELECT COUNT(*) FROM CARDGROUPS"),
            QueryInt(src, "SELECT COUNT(*) FROM CARDGROUPS WHERE CG_CT_ID IS NOT NULL"));
  // The second script rebuilt the zones from the working readers.
  EXPECT_EQ(QueryInt(dst, "SELECT COUNT(*) FROM ZONES"),
            QueryInt(src, "SELECT COUNT(*) FROM READERS WHERE RD_ARCHIVE = 0"));

  // References rewritten to the new keys: every device sits where it sat, by name.
  const std::string devices =
      "SELECT R.RD_NAME, S.SL_NAME, C.CT_NAME, H.HS_NAME, I.IN_NAME, O.OU_NAME "
      "FROM READERS R JOIN SLAVES S ON S.SL_ID = R.RD_SL_ID "
      "JOIN CONTROLLERS C ON C.CT_ID = S.SL_CT_ID JOIN HOSTS H ON H.HS_ID = C.CT_HS_ID "
      "LEFT JOIN INPUTS I ON I.IN_ID = R.RD_IN_1 LEFT JOIN OUTPUTS O ON O.OU_ID = R.RD_OUT_OPEN";
  const auto srcDevices = QueryRows(src, devices);
  EXPECT_FALSE(srcDevices.empty());
  EXPECT_TRUE(SameRows(QueryRows(dst, devices), srcDevices));

  // Events and alarms from the typed date on, those with a description only.
  const std::string events =
      "SELECT COUNT(*) FROM EVENTS E WHERE E.EV_DATE >= '" + eventsFromSql + "'";
  const std::string described =
      " AND EXISTS (SELECT 1 FROM EVDESC D WHERE D.ED_CODE = E.EV_CODE AND "
      "(D.ED_ADDCODE = E.EV_ADDCODE OR D.ED_ADDCODE = E.EV_ADDCODE - 256))";
  const long long srcEvents = QueryInt(src, events + described);
  EXPECT_GT(srcEvents, 0);
  EXPECT_LT(srcEvents, QueryInt(src, "SELECT COUNT(*) FROM EVENTS"));
  EXPECT_EQ(QueryInt(dst, "SELECT COUNT(*) FROM EVENTS"), srcEvents);
  EXPECT_EQ(QueryInt(dst, events), srcEvents);
  const std::string alarms = "SELECT COUNT(*) FROM ALARM E WHERE E.AL_DATE >= '" + eventsFromSql +
                             "' AND EXISTS (SELECT 1 FROM EVDESC D WHERE D.ED_CODE = E.AL_CODE AND "
                             "(D.ED_ADDCODE = E.AL_ADDCODE OR D.ED_ADDCODE = E.AL_ADDCODE - 256))";
  EXPECT_EQ(QueryInt(dst, "SELECT COUNT(*) FROM ALARM"), QueryInt(src, alarms));

  // Every generator continues after the largest key now in its table.
  const auto generators = GeneratorList(program_);
  EXPECT_EQ(generators.size(), 18u) << "GENERATOR.txt read wrongly";
  for (const auto& [generator, table, column] : generators)
    EXPECT_EQ(Generator(dst, generator),
              QueryInt(dst, "SELECT COALESCE(MAX(" + column + ") + 1, 0) FROM " + table))
        << generator;

  // The run-time state of the rows in use follows them to their new keys (as many
  // states as each kind keeps); the owners' only when the operator asked to keep
  // where the users are.
  struct StateTable {
    std::string table, key, name, archive;
    int states;
  };
  const std::vector<StateTable> stateTables = {{"HOSTS", "HS_ID", "HS_NAME", "HS_ARCHIVE", 14},
                                               {"CONTROLLERS", "CT_ID", "CT_NAME", "CT_ARCHIVE", 6},
                                               {"SLAVES", "SL_ID", "SL_NAME", "SL_ARCHIVE", 6},
                                               {"READERS", "RD_ID", "RD_NAME", "RD_ARCHIVE", 7},
                                               {"OWNER", "OW_ID", "OW_NAME", "OW_ARCHIVE", 4}};
  for (const StateTable& t : stateTables) {
    const std::string states = "SELECT X." + t.name +
                               ", V.SV_NUM, V.SV_VALUE FROM STATE_VALUES V "
                               "JOIN " +
                               t.table + " X ON X." + t.key +
                               " = V.SV_KEY "
                               "WHERE V.SV_TABLE = '" +
                               t.table + "' AND V.SV_VALUE <> 0";
    const auto dstStates = QueryRows(dst, states);
    if (t.table == "OWNER" && !ownerStates) {
      EXPECT_TRUE(dstStates.empty()) << t.table;
      continue;
    }
    const auto kept = QueryRows(
        src, states + " AND X." + t.archive + " = 0 AND V.SV_NUM <= " + std::to_string(t.states));
    EXPECT_FALSE(kept.empty()) << t.table;
    EXPECT_TRUE(SameRows(dstStates, kept)) << t.table;
  }
}

}  // namespace e2e
