// The demo site is what the demo, the benchmarks and many transfer tests start
// from: its size must follow the size asked for, and every reference the transfer
// rewrites, including the ones no foreign key guards, must name a real row.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/Isql.h"
#include "tests/support/Schema.h"
#include "tests/support/TempDir.h"

namespace {

using testsupport::Variant;

constexpr int kSize = 2;

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::string part;
  std::istringstream in(text);
  while (std::getline(in, part, separator)) parts.push_back(part);
  return parts;
}

// Lines of a stored text, split at CR LF.
std::vector<std::string> TextLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find("\r\n", pos);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(pos, end - pos));
    pos = end + 2;
  }
  return lines;
}

class DemoSite : public ::testing::TestWithParam<Variant> {
 protected:
  static void SetUpTestSuite() {
    dir_ = new testsupport::TempDir("dravik-demo");
    for (Variant v : {Variant::Current, Variant::Older}) {
      testsupport::MakeDemoDatabase(DbOf(v), v, kSize);
    }
  }
  static void TearDownTestSuite() {
    delete dir_;
    dir_ = nullptr;
  }
  static std::filesystem::path DbOf(Variant v) {
    return *dir_ / (v == Variant::Current ? "current.fdb" : "older.fdb");
  }
  std::filesystem::path Db() const { return DbOf(GetParam()); }
  long long Count(const std::string& sql) const { return testsupport::QueryInt(Db(), sql); }
  std::set<std::string> Keys(const std::string& key, const std::string& table) const {
    std::vector<std::string> keys =
        testsupport::QueryColumn(Db(), "SELECT " + key + " FROM " + table);
    return {keys.begin(), keys.end()};
  }

  static testsupport::TempDir* dir_;
};

testsupport::TempDir* DemoSite::dir_ = nullptr;

TEST_P(DemoSite, SizeIsCountedInControllers) {
  testsupport::Row counts = testsupport::QueryRows(
      Db(),
      "SELECT (SELECT COUNT(*) FROM CONTROLLERS), (SELECT COUNT(*) FROM READERS), "
      "(SELECT COUNT(*) FROM OWNER), (SELECT COUNT(*) FROM EVENTS), (SELECT COUNT(*) FROM ALARM) "
      "FROM RDB$DATABASE")[0];
  EXPECT_EQ(counts, (testsupport::Row{std::to_string(kSize), std::to_string(8 * kSize),
                                      std::to_string(80 * kSize), std::to_string(800 * kSize),
                                      std::to_string(80 * kSize)}));
  // The builder's own helpers are gone and the owner trigger is back on.
  EXPECT_EQ(Count("SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME STARTING WITH "
                  "'DEMO_'"),
            0);
  EXPECT_EQ(Count("SELECT COUNT(*) FROM RDB$TRIGGERS WHERE RDB$TRIGGER_INACTIVE = 1"), 0);
}

TEST_P(DemoSite, DeviceKeysByTypeNameRealRows) {
  // Columns whose table depends on another column have no foreign key to guard them.
  const std::string device =
      "(CASE %T WHEN 1 THEN (SELECT COUNT(*) FROM HOSTS WHERE HS_ID = %K) "
      "WHEN 2 THEN (SELECT COUNT(*) FROM CONTROLLERS WHERE CT_ID = %K) "
      "WHEN 3 THEN (SELECT COUNT(*) FROM SLAVES WHERE SL_ID = %K) "
      "WHEN 4 THEN (SELECT COUNT(*) FROM READERS WHERE RD_ID = %K) "
      "WHEN 5 THEN (SELECT COUNT(*) FROM CINPUTS WHERE CI_ID = %K) "
      "WHEN 6 THEN (SELECT COUNT(*) FROM PCN WHERE PC_ID = %K) "
      "WHEN 7 THEN (SELECT COUNT(*) FROM INPUTS WHERE IN_ID = %K) "
      "WHEN 8 THEN (SELECT COUNT(*) FROM OUTPUTS WHERE OU_ID = %K) ELSE 1 END)";
  auto exists = [&](const std::string& type, const std::string& key) {
    std::string text = device;
    for (auto [mark, value] : {std::pair{"%T", type}, std::pair{"%K", key}}) {
      for (auto at = text.find(mark); at != std::string::npos; at = text.find(mark)) {
        text.replace(at, 2, value);
      }
    }
    return text;
  };
  const std::string matched =
      " FROM %S E JOIN EVDESC D ON E.%P_CODE = D.ED_CODE AND "
      "(E.%P_ADDCODE = D.ED_ADDCODE OR E.%P_ADDCODE - 256 = D.ED_ADDCODE)";
  auto join = [&](const std::string& table, const std::string& prefix) {
    std::string text = matched;
    for (auto at = text.find("%S"); at != std::string::npos; at = text.find("%S")) {
      text.replace(at, 2, table);
    }
    for (auto at = text.find("%P"); at != std::string::npos; at = text.find("%P")) {
      text.replace(at, 2, prefix);
    }
    return text;
  };
  // Program types 4 to 8 number devices as the event descriptions do; lower types
  // name no device.
  // Every count in one query; each check names the count it compares.
  std::vector<std::string> selects;
  auto at = [&](const std::string& select) {
    selects.push_back(select);
    return selects.size() - 1;
  };
  const auto programDangling = at("SELECT COUNT(*) FROM PRGDEF WHERE PD_TYPE BETWEEN 4 AND 8 AND " +
                                  exists("PD_TYPE", "PD_DEV_ID") + " = 0");
  const auto programTypes =
      at("SELECT COUNT(DISTINCT PD_TYPE) FROM PRGDEF WHERE PD_TYPE BETWEEN 4 AND 8");
  const auto programsWithoutDevice =
      at("SELECT COUNT(*) FROM PRGDEF WHERE PD_TYPE NOT BETWEEN 4 AND 8");
  struct Journal {
    std::size_t dangling, types, joined, distinct, flagged, all;
  };
  std::vector<std::pair<std::string, Journal>> journals;
  for (auto [table, prefix] : {std::pair{"EVENTS", "EV"}, std::pair{"ALARM", "AL"}}) {
    const std::string from = join(table, prefix);
    Journal j;
    j.dangling = at("SELECT COUNT(*)" + from + " WHERE " +
                    exists("D.ED_HARDTYPE", std::string("E.") + prefix + "_DEV_ID") + " = 0");
    j.types = at("SELECT COUNT(DISTINCT D.ED_HARDTYPE)" + from);
    j.joined = at("SELECT COUNT(*)" + from);
    j.distinct = at("SELECT COUNT(DISTINCT E." + std::string(prefix) + "_ID)" + from);
    j.flagged = at("SELECT COUNT(*)" + from + " WHERE E." + prefix + "_ADDCODE >= 256");
    j.all = at(std::string("SELECT COUNT(*) FROM ") + table);
    journals.emplace_back(table, j);
  }
  const auto ownerDangling =
      at("SELECT COUNT(*) FROM EVENTS WHERE EV_OW_ID IS NOT NULL AND NOT EXISTS "
         "(SELECT 1 FROM OWNER WHERE OW_ID = EV_OW_ID)");
  const auto zoneDangling = at(
      "SELECT COUNT(*) FROM ZONES WHERE NOT EXISTS (SELECT 1 FROM READERS WHERE RD_ID = ZN_RD_ID)");

  std::string sql;
  for (const std::string& select : selects)
    sql += (sql.empty() ? "SELECT (" : ", (") + select + ")";
  const testsupport::Row values = testsupport::QueryRows(Db(), sql + " FROM RDB$DATABASE").at(0);
  std::vector<long long> n;
  for (const std::string& value : values) n.push_back(std::stoll(value));
  ASSERT_EQ(n.size(), selects.size());

  EXPECT_EQ(n[programDangling], 0);
  EXPECT_EQ(n[programTypes], 5);
  EXPECT_GT(n[programsWithoutDevice], 0);
  for (const auto& [table, j] : journals) {
    SCOPED_TRACE(table);
    EXPECT_EQ(n[j.dangling], 0);
    EXPECT_EQ(n[j.types], 9);
    // The copy joins descriptions the same way: no event may match two of them.
    EXPECT_EQ(n[j.joined], n[j.distinct]);
    EXPECT_GT(n[j.flagged], 0);
    const long long unmatched = n[j.all] - n[j.joined];
    EXPECT_GT(unmatched, 0);
    EXPECT_LT(unmatched * 20, n[j.all]);
  }
  EXPECT_EQ(n[ownerDangling], 0);
  EXPECT_EQ(n[zoneDangling], 0);
}

TEST_P(DemoSite, ReferencesVaryEnoughToShowEveryRewriteCase) {
  // Reader inputs and outputs set on some readers and NULL on others; archived and
  // working rows in every table whose state is kept. One query: each count must be
  // above zero.
  std::vector<std::string> counts;
  for (const char* column : {"RD_IN_1", "RD_IN_2", "RD_IN_4", "RD_OUT_IND0", "RD_OUT_IND2",
                             "RD_OUT_OPEN", "RD_OUT_CLOSE"}) {
    counts.push_back(std::string("SELECT COUNT(") + column + ") FROM READERS");
  }
  counts.push_back("SELECT COUNT(*) FROM READERS WHERE RD_OUT_CLOSE IS NULL AND RD_IN_4 IS NULL");
  for (const char* flag :
       {"HOSTS WHERE HS_ARCHIVE", "CONTROLLERS WHERE CT_ARCHIVE", "SLAVES WHERE SL_ARCHIVE",
        "READERS WHERE RD_ARCHIVE", "OWNER WHERE OW_ARCHIVE"}) {
    counts.push_back(std::string("SELECT COUNT(*) FROM ") + flag + " = 1");
    counts.push_back(std::string("SELECT COUNT(*) FROM ") + flag + " = 0");
  }
  std::string sql;
  for (const std::string& count : counts) sql += (sql.empty() ? "SELECT (" : ", (") + count + ")";
  testsupport::Row values = testsupport::QueryRows(Db(), sql + " FROM RDB$DATABASE").at(0);
  ASSERT_EQ(values.size(), counts.size());
  for (std::size_t i = 0; i < counts.size(); ++i) EXPECT_NE(values[i], "0") << counts[i];

  // Gaps in the keys, and key ranges of different tables that do not overlap, so a
  // key rewritten through the wrong table cannot pass for a right one.
  std::vector<testsupport::Row> ranges = testsupport::QueryRows(
      Db(),
      "SELECT 'HOSTS', MIN(HS_ID), MAX(HS_ID), COUNT(*) FROM HOSTS UNION ALL "
      "SELECT 'CONTROLLERS', MIN(CT_ID), MAX(CT_ID), COUNT(*) FROM CONTROLLERS UNION ALL "
      "SELECT 'PCN', MIN(PC_ID), MAX(PC_ID), COUNT(*) FROM PCN UNION ALL "
      "SELECT 'CINPUTS', MIN(CI_ID), MAX(CI_ID), COUNT(*) FROM CINPUTS UNION ALL "
      "SELECT 'SLAVES', MIN(SL_ID), MAX(SL_ID), COUNT(*) FROM SLAVES UNION ALL "
      "SELECT 'OUTPUTS', MIN(OU_ID), MAX(OU_ID), COUNT(*) FROM OUTPUTS UNION ALL "
      "SELECT 'INPUTS', MIN(IN_ID), MAX(IN_ID), COUNT(*) FROM INPUTS UNION ALL "
      "SELECT 'READERS', MIN(RD_ID), MAX(RD_ID), COUNT(*) FROM READERS UNION ALL "
      "SELECT 'CARDGROUPS', MIN(CG_ID), MAX(CG_ID), COUNT(*) FROM CARDGROUPS UNION ALL "
      "SELECT 'KRONTUR', MIN(KT_ID), MAX(KT_ID), COUNT(*) FROM KRONTUR");
  std::map<long long, std::pair<long long, std::string>> byStart;
  for (const testsupport::Row& row : ranges) {
    const long long low = std::stoll(row[1]), high = std::stoll(row[2]);
    if (row[0] == "HOSTS" || row[0] == "SLAVES" || row[0] == "READERS" || row[0] == "INPUTS" ||
        row[0] == "OUTPUTS") {
      EXPECT_GT(high - low + 1, std::stoll(row[3])) << "no gap in " << row[0];
    }
    byStart[low] = {high, row[0]};
  }
  long long previousEnd = 0;
  for (const auto& [low, range] : byStart) {
    EXPECT_GT(low, previousEnd) << range.second << " overlaps the table before it";
    previousEnd = range.first;
  }
}

TEST_P(DemoSite, MacroLinesNameRealReadersOutputsAndInputs) {
  const std::map<std::string, std::set<std::string>> keysByType = {{"6", Keys("RD_ID", "READERS")},
                                                                   {"7", Keys("OU_ID", "OUTPUTS")},
                                                                   {"8", Keys("IN_ID", "INPUTS")}};
  const std::map<std::string, std::string> typeOfWord = {
      {"TakeInAT", "8"}, {"ResetUU", "7"}, {"SetAcMode", "6"}, {"EnableAcWish", "6"}};
  std::map<std::string, int> numericByType, namedByWord;
  int dangling = 0, withoutFinalBreak = 0, emptyLines = 0;
  for (const std::string& text : testsupport::QueryColumn(Db(), "SELECT MCR_FILL FROM MACROSES")) {
    if (text.size() < 2 || text.compare(text.size() - 2, 2, "\r\n") != 0) ++withoutFinalBreak;
    for (const std::string& line : TextLines(text)) {
      if (line.empty()) {
        ++emptyLines;
      } else if (line.size() <= 20) {
        std::vector<std::string> fields = Split(line, ';');
        ASSERT_GE(fields.size(), 5u) << line;
        auto keys = keysByType.find(fields[2]);
        if (keys == keysByType.end()) continue;
        ++numericByType[fields[2]];
        if (!keys->second.count(fields[3])) ++dangling;
      } else {
        std::vector<std::string> fields = Split(line, ':');
        ASSERT_EQ(fields.size(), 6u) << line;
        auto word = typeOfWord.find(fields[5]);
        if (word == typeOfWord.end()) continue;
        ++namedByWord[fields[5]];
        EXPECT_TRUE(keysByType.at(word->second).count(fields[1])) << line;
      }
    }
  }
  for (const char* type : {"6", "7", "8"}) EXPECT_GT(numericByType[type], 0) << type;
  for (const auto& [word, type] : typeOfWord) EXPECT_GT(namedByWord[word], 0) << word;
  EXPECT_EQ(dangling, 1);  // one line names a reader that does not exist
  EXPECT_GT(withoutFinalBreak, 0);
  EXPECT_GT(emptyLines, 0);
}

TEST_P(DemoSite, ReaderRightsNameRealReadersAndFiltersArePresent) {
  const std::set<std::string> readers = Keys("RD_ID", "READERS");
  std::vector<std::string> texts = testsupport::QueryColumn(
      Db(), "SELECT ID_BLOB FROM INIDATA WHERE ID_SECTION = 'USERS_RD_RIGHTS'");
  ASSERT_GE(texts.size(), 2u);
  for (const std::string& text : texts) {
    std::vector<std::string> lines = TextLines(text);
    EXPECT_FALSE(lines.empty());
    for (const std::string& line : lines) {
      const auto bracket = line.find(']');
      ASSERT_NE(bracket, std::string::npos) << line;
      EXPECT_TRUE(readers.count(line.substr(bracket + 1))) << line;
    }
  }
  EXPECT_EQ(Count("SELECT COUNT(DISTINCT ID_SECTION) FROM INIDATA WHERE ID_SECTION IN "
                  "('USER_FILTERS', 'USER_CAN_FILTER', 'CTRL_FILTERS')"),
            3);
}

TEST_P(DemoSite, OwnersHaveRussianNamesAndPhotosWhereTheLayoutKeepsThem) {
  // WIN1251 stores one byte per letter; the names read back as Russian text.
  EXPECT_EQ(Count("SELECT COUNT(*) FROM OWNER WHERE OCTET_LENGTH(OW_NAME) <> CHAR_LENGTH(OW_NAME)"),
            0);
  EXPECT_GT(Count("SELECT COUNT(*) FROM OWNER WHERE OW_NAME = 'Иванов'"), 0);
  const long long owners = Count("SELECT COUNT(*) FROM OWNER");
  if (GetParam() == Variant::Current) {
    EXPECT_EQ(Count("SELECT COUNT(OW_PHOTO) FROM OWNER"), 0);
    const long long photos = Count("SELECT COUNT(OW_PHOTO) FROM OWNERPHOTOS");
    EXPECT_GT(photos, owners / 2);
    EXPECT_LT(photos, owners);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM HOSTS WHERE HS_PORT IS NULL"), 0);
  } else {
    const long long photos = Count("SELECT COUNT(OW_PHOTO) FROM OWNER");
    EXPECT_GT(photos, owners / 2);
    EXPECT_LT(photos, owners);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM CONTROLLERS WHERE CT_PHONE IS NULL"), 0);
  }
}

TEST_P(DemoSite, EveryKeptRowHasAllItsStatesTaggedWithItsKey) {
  for (auto [table, key, states] :
       {std::tuple{"HOSTS", "HS_ID", 14}, std::tuple{"CONTROLLERS", "CT_ID", 6},
        std::tuple{"SLAVES", "SL_ID", 6}, std::tuple{"READERS", "RD_ID", 7},
        std::tuple{"OWNER", "OW_ID", 4}}) {
    SCOPED_TRACE(table);
    EXPECT_EQ(
        Count(std::string("SELECT COUNT(*) FROM ") + table + " WHERE " + std::to_string(states) +
              " <> (SELECT COUNT(*) FROM STATE_VALUES WHERE SV_TABLE = '" + table +
              "' AND SV_KEY = " + key + " AND SV_VALUE = SV_KEY * 100 + SV_NUM)"),
        0);
  }
}

INSTANTIATE_TEST_SUITE_P(BothLayouts, DemoSite, ::testing::Values(Variant::Current, Variant::Older),
                         [](const auto& info) {
                           return info.param == Variant::Current ? "Current" : "Older";
                         });

}  // namespace

namespace {

// Other proportions, as the benchmark's large site takes them: the owners and
// the events per controller, the alarms and the journals following the events,
// and the events' owners still real owners.
TEST(DemoShape, OwnersAndEventsPerControllerFollowTheOptions) {
  testsupport::TempDir dir("dravik-demo-shape");
  const std::filesystem::path db = dir / "shaped.fdb";
  const std::string command = "'" + (testsupport::SchemaDir() / "make-db").string() +
                              "' --async --fill 2 --owners 5 --events 40 '" + db.string() +
                              "' >/dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  EXPECT_EQ(
      testsupport::QueryRows(db,
                             "SELECT (SELECT COUNT(*) FROM INPUTS), (SELECT COUNT(*) FROM OWNER), "
                             "(SELECT COUNT(*) FROM EVENTS), (SELECT COUNT(*) FROM ALARM), "
                             "(SELECT COUNT(*) FROM ACR$EVENTS) FROM RDB$DATABASE")[0],
      (testsupport::Row{"32", "10", "80", "8", "4"}));
  EXPECT_GT(testsupport::QueryInt(db, "SELECT COUNT(*) FROM EVENTS WHERE EV_OW_ID IS NOT NULL"), 0);
  EXPECT_EQ(testsupport::QueryInt(db,
                                  "SELECT COUNT(*) FROM EVENTS E WHERE E.EV_OW_ID IS NOT NULL AND "
                                  "NOT EXISTS (SELECT 1 FROM OWNER O WHERE O.OW_ID = E.EV_OW_ID)"),
            0);
}

}  // namespace
