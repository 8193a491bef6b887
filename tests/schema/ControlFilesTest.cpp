// The sample control files are the ones the demo and the transfer tests run with:
// they must be in the program's file format and fit the installation schema, so
// that a run with them rewrites every reference and leaves nothing half done.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
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

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> FileLines(const std::filesystem::path& path) {
  std::vector<std::string> lines;
  std::istringstream in(ReadFile(path));
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::string Trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool IsComment(const std::string& line) {
  return Trim(line).rfind('*', 0) == 0;
}

struct Entry {
  std::string table, key, line;
  bool copied;          // the copying pass copies it (or, for MACROSES, transfers macros)
  std::string updated;  // the column of an "&" line
  std::string condition;
};

std::vector<Entry> TableList() {
  std::vector<Entry> entries;
  for (const std::string& line : FileLines(testsupport::ControlDir() / "Conv.txt")) {
    if (IsComment(line)) continue;
    std::string name = line;
    for (char marker : {'#', '%', '@', '&'}) {
      if (const auto at = line.find(marker); at != std::string::npos) {
        name = line.substr(0, at);
        break;
      }
    }
    Entry entry;
    entry.line = line;
    const auto eq = name.find('=');
    if (eq != std::string::npos) {
      entry.table = name.substr(0, eq);
      entry.key = name.substr(eq + 1);
    }
    const bool clearOnly = line.find('%') != std::string::npos;
    const auto amp = line.find('&');
    entry.copied = entry.table == "MACROSES" || (!clearOnly && amp == std::string::npos);
    if (amp != std::string::npos) entry.updated = line.substr(amp + 1);
    if (const auto at = line.find('@'); at != std::string::npos)
      entry.condition = line.substr(at + 1);
    entries.push_back(entry);
  }
  return entries;
}

const std::set<std::string> kEventTables = {"EVENTS",     "ALARM",      "ACR$EVENTS",
                                            "ACR$ALARMS", "STR_EVENTS", "STR_ALARMS"};
const std::set<std::string> kNeverCleared = {"EVENTS",     "ALARM",      "ACR$EVENTS",
                                             "ACR$ALARMS", "STR_EVENTS", "STR_ALARMS",
                                             "EVDESC",     "ACR$EVDESC"};

// A script as the script runners read it: statements end at a line that is blank
// or holds "{***}" or "---"; the end of the file ends the last one.
std::vector<std::vector<std::string>> ScriptStatements(const std::filesystem::path& path) {
  std::vector<std::vector<std::string>> statements;
  std::vector<std::string> lines = FileLines(path);
  std::size_t next = 0;
  do {
    std::vector<std::string> statement;
    while (next < lines.size()) {
      const std::string& line = lines[next++];
      if (Trim(line).empty() || line.find("{***}") != std::string::npos ||
          line.find("---") != std::string::npos) {
        break;
      }
      statement.push_back(line);
    }
    statements.push_back(statement);
  } while (next < lines.size());
  return statements;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

TEST(ControlFiles, AreWindows1251TextWithCrLfLineEnds) {
  for (const char* name : {"Conv.txt", "GENERATOR.txt", "SQL/_Upd.sql", "SQL/Upd.sql"}) {
    SCOPED_TRACE(name);
    const std::string text = ReadFile(testsupport::ControlDir() / name);
    ASSERT_GE(text.size(), 2u);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    bool cyrillic = false, utf8 = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
      const auto c = static_cast<unsigned char>(text[i]);
      if (c == '\n') {
        EXPECT_TRUE(i > 0 && text[i - 1] == '\r') << "bare LF at byte " << i;
      }
      if (c >= 0xC0) cyrillic = true;
      // UTF-8 Cyrillic letters are 0xD0 or 0xD1 followed by 0x80..0xBF.
      const auto after = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
      if ((c == 0xD0 || c == 0xD1) && after >= 0x80 && after <= 0xBF) utf8 = true;
    }
    EXPECT_TRUE(cyrillic) << "the Russian comments are missing";
    EXPECT_FALSE(utf8) << "looks like UTF-8";
  }
}

class ControlFilesOnSchema : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new testsupport::TempDir("dravik-control");
    for (Variant v : {Variant::Current, Variant::Older}) {
      testsupport::MakeDemoDatabase(Db(v), v, 1);
      for (const testsupport::Row& row : testsupport::QueryRows(
               Db(v),
               "SELECT TRIM(RDB$RELATION_NAME), TRIM(RDB$FIELD_NAME) FROM RDB$RELATION_FIELDS "
               "WHERE RDB$SYSTEM_FLAG = 0")) {
        columns_[v][row[0]].insert(row[1]);
      }
    }
    for (const testsupport::Row& row : testsupport::QueryRows(
             Db(Variant::Current),
             "SELECT DISTINCT TRIM(C.RDB$RELATION_NAME), TRIM(P.RDB$RELATION_NAME) "
             "FROM RDB$RELATION_CONSTRAINTS C "
             "JOIN RDB$REF_CONSTRAINTS R ON R.RDB$CONSTRAINT_NAME = C.RDB$CONSTRAINT_NAME "
             "JOIN RDB$RELATION_CONSTRAINTS P ON P.RDB$CONSTRAINT_NAME = R.RDB$CONST_NAME_UQ "
             "WHERE C.RDB$CONSTRAINT_TYPE = 'FOREIGN KEY'")) {
      if (row[0] != row[1]) parents_.emplace_back(row[0], row[1]);
    }
  }
  static void TearDownTestSuite() {
    delete dir_;
    dir_ = nullptr;
  }
  static std::filesystem::path Db(Variant v) {
    return *dir_ / (v == Variant::Current ? "current.fdb" : "older.fdb");
  }
  static bool HasColumn(Variant v, const std::string& table, const std::string& column) {
    auto found = columns_[v].find(table);
    return found != columns_[v].end() && found->second.count(column) > 0;
  }

  static testsupport::TempDir* dir_;
  static std::map<Variant, std::map<std::string, std::set<std::string>>> columns_;
  static std::vector<std::pair<std::string, std::string>> parents_;  // child, parent
};

testsupport::TempDir* ControlFilesOnSchema::dir_ = nullptr;
std::map<Variant, std::map<std::string, std::set<std::string>>> ControlFilesOnSchema::columns_;
std::vector<std::pair<std::string, std::string>> ControlFilesOnSchema::parents_;

TEST_F(ControlFilesOnSchema, TableListNamesEveryTableWithItsKeyAndColumns) {
  std::set<std::string> listed;
  for (const Entry& entry : TableList()) {
    SCOPED_TRACE(entry.line);
    listed.insert(entry.table);
    for (Variant v : {Variant::Current, Variant::Older}) {
      if (v == Variant::Older && entry.table == "OWNERPHOTOS") continue;
      EXPECT_TRUE(HasColumn(v, entry.table, entry.key));
      if (!entry.updated.empty()) {
        EXPECT_TRUE(HasColumn(v, entry.table, entry.updated));
      }
    }
  }
  // The state tables travel through the state functions, not the table list.
  for (const auto& [table, columns] : columns_[Variant::Current]) {
    if (table.rfind("STATE_", 0) == 0) continue;
    EXPECT_TRUE(listed.count(table)) << table << " is not in the table list";
  }
}

TEST_F(ControlFilesOnSchema, TableListCopiesEveryTableAfterTheTablesItRefersTo) {
  std::map<std::string, std::size_t> firstCopy;
  std::vector<Entry> entries = TableList();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].copied) firstCopy.emplace(entries[i].table, i);
  }
  // Foreign keys, and the references that are rewritten without one.
  std::vector<std::pair<std::string, std::string>> needs = parents_;
  for (const char* device : {"READERS", "CINPUTS", "PCN", "INPUTS", "OUTPUTS"}) {
    needs.emplace_back("PRGDEF", device);
  }
  for (const char* device : {"READERS", "INPUTS", "OUTPUTS"})
    needs.emplace_back("MACROSES", device);
  needs.emplace_back("INIDATA", "READERS");
  needs.emplace_back("OWNERPHOTOS", "OWNER");
  for (const auto& [child, parent] : needs) {
    if (kEventTables.count(child) || child == "ZONES")
      continue;  // copied after the list, or not at all
    ASSERT_TRUE(firstCopy.count(child)) << child << " is never copied";
    ASSERT_TRUE(firstCopy.count(parent)) << parent << " is never copied";
    EXPECT_LT(firstCopy[parent], firstCopy[child]) << child << " comes before " << parent;
  }
}

TEST_F(ControlFilesOnSchema, ClearingPassInListOrderEmptiesTheClearedTables) {
  // The clearing pass deletes table by table in list order; children must go with
  // their parents rather than block them. (The older layout has no OWNERPHOTOS; the
  // program ignores the failing delete.)
  for (Variant v : {Variant::Current, Variant::Older}) {
    std::string sql;
    std::set<std::string> cleared;
    for (const Entry& entry : TableList()) {
      if (entry.table.empty() || kNeverCleared.count(entry.table)) continue;
      if (!columns_[v].count(entry.table)) continue;
      sql += "DELETE FROM " + entry.table;
      if (!entry.condition.empty()) sql += " WHERE " + entry.condition;
      sql += ";\n";
      cleared.insert(entry.table);
      if (entry.table == "READERS") {
        sql += "DELETE FROM ZONES;\n";
        cleared.insert("ZONES");
      }
    }
    const std::filesystem::path db = *dir_ / "clear.fdb";
    std::filesystem::copy_file(Db(v), db, std::filesystem::copy_options::overwrite_existing);
    ASSERT_NO_THROW(testsupport::RunIsql(db, sql));
    std::string counts;
    for (const std::string& table : cleared) {
      counts += (counts.empty() ? "" : " UNION ALL ") + std::string("SELECT '") + table +
                "', COUNT(*) FROM " + table;
    }
    for (const testsupport::Row& row : testsupport::QueryRows(db, counts)) {
      EXPECT_EQ(row[1], "0") << row[0];
    }
    // The journals and descriptions stay.
    EXPECT_GT(testsupport::QueryInt(db, "SELECT COUNT(*) FROM EVENTS"), 0);
    std::filesystem::remove(db);
  }
}

TEST_F(ControlFilesOnSchema, GeneratorListSetsEveryGeneratorFromAnExistingColumn) {
  std::set<std::string> listed;
  std::string sql;
  for (const std::string& line : FileLines(testsupport::ControlDir() / "GENERATOR.txt")) {
    if (IsComment(line)) continue;
    const auto eq = line.find('='), slash = line.find('/');
    ASSERT_TRUE(eq != std::string::npos && slash != std::string::npos && eq < slash) << line;
    const std::string generator = line.substr(0, eq);
    EXPECT_TRUE(listed.insert(generator).second) << generator << " twice";
    // The two statements of the generator restore, with a fixed value.
    sql += "SELECT MAX(" + line.substr(slash + 1) + ")+1 FROM " +
           line.substr(eq + 1, slash - eq - 1) + ";\nSET GENERATOR " + generator + " to 1;\n";
  }
  for (Variant v : {Variant::Current, Variant::Older}) {
    std::vector<std::string> generators = testsupport::QueryColumn(
        Db(v), "SELECT TRIM(RDB$GENERATOR_NAME) FROM RDB$GENERATORS WHERE RDB$SYSTEM_FLAG = 0");
    EXPECT_EQ(std::set<std::string>(generators.begin(), generators.end()), listed);
    const std::filesystem::path db = *dir_ / "generators.fdb";
    std::filesystem::copy_file(Db(v), db, std::filesystem::copy_options::overwrite_existing);
    EXPECT_NO_THROW(testsupport::RunIsql(db, sql));
    std::filesystem::remove(db);
  }
}

TEST_F(ControlFilesOnSchema, ScriptsSwitchTheEventTriggerOffAndOnAndRebuildZones) {
  std::vector<std::vector<std::string>> first =
      ScriptStatements(testsupport::ControlDir() / "SQL/_Upd.sql");
  std::vector<std::vector<std::string>> second =
      ScriptStatements(testsupport::ControlDir() / "SQL/Upd.sql");
  // Every statement of the second script costs a one-second pause, empty ones too.
  EXPECT_LE(second.size(), 3u);
  std::string firstSql, secondSql;
  for (const auto& statement : first) {
    ASSERT_FALSE(statement.empty()) << "empty statement in the first script";
    // A colon word in the first script becomes a parameter that gets no value.
    EXPECT_EQ(Joined(statement).find(':'), std::string::npos) << Joined(statement);
    firstSql += Joined(statement) + ";\n";
  }
  for (const auto& statement : second) {
    ASSERT_FALSE(statement.empty()) << "empty statement in the second script";
    secondSql += Joined(statement) + ";\n";
  }
  const std::string triggerState =
      "SELECT RDB$TRIGGER_INACTIVE FROM RDB$TRIGGERS WHERE RDB$TRIGGER_NAME = "
      "'EVENTS_AI_LASTPASS'";
  for (Variant v : {Variant::Current, Variant::Older}) {
    const std::filesystem::path db = *dir_ / "scripts.fdb";
    std::filesystem::copy_file(Db(v), db, std::filesystem::copy_options::overwrite_existing);
    ASSERT_NO_THROW(testsupport::RunIsql(db, firstSql, "WIN1251"));
    EXPECT_EQ(testsupport::QueryInt(db, triggerState), 1);
    EXPECT_EQ(testsupport::QueryInt(db, "SELECT COUNT(*) FROM STATE_VALUES"), 0);
    EXPECT_EQ(testsupport::QueryInt(db, "SELECT GEN_ID(GEN_READERS, 0) FROM RDB$DATABASE"), 0);

    ASSERT_NO_THROW(
        testsupport::RunIsql(db, "DELETE FROM ZONES;\nCOMMIT;\n" + secondSql, "WIN1251"));
    EXPECT_EQ(testsupport::QueryInt(db, triggerState), 0);
    EXPECT_EQ(testsupport::QueryInt(db, "SELECT COUNT(*) FROM ZONES"),
              testsupport::QueryInt(db, "SELECT COUNT(*) FROM READERS WHERE RD_ARCHIVE = 0"));
    std::filesystem::remove(db);
  }
}

}  // namespace
