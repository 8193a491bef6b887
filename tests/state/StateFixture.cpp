#include "tests/state/StateFixture.h"

#include <stdexcept>

#include "tests/support/Isql.h"
#include "tests/support/Schema.h"

namespace statetest {

const Table kHosts{"HOSTS", "HS_ID", "HS_ARCHIVE", 14, 1};
const Table kControllers{"CONTROLLERS", "CT_ID", "CT_ARCHIVE", 6, 2};
const Table kSlaves{"SLAVES", "SL_ID", "SL_ARCHIVE", 6, 3};
const Table kReaders{"READERS", "RD_ID", "RD_ARCHIVE", 7, 4};
const Table kOwner{"OWNER", "OW_ID", "OW_ARCHIVE", 4, 5};

const std::vector<Table>& AllTables() {
  static const std::vector<Table> tables{kHosts, kControllers, kSlaves, kReaders, kOwner};
  return tables;
}

int StateValue(const Table& t, int key, int n) {
  const int v = t.slot * 1000000 + key * 100 + n;
  return key % 2 ? -v : v;
}

std::string SeedRows(const Table& t, const std::vector<int>& keys, const std::set<int>& archived) {
  std::string sql;
  for (int key : keys)
    sql += "INSERT INTO " + t.name + " (" + t.key + ", " + t.archive + ") VALUES (" +
           std::to_string(key) + ", " + (archived.count(key) ? "1" : "0") + ");\n";
  return sql;
}

std::string SeedStates(const Table& t, const std::vector<int>& keys) {
  std::string sql;
  for (int key : keys)
    for (int n = 1; n <= 16; ++n)
      sql += "INSERT INTO STATE_VALUES (SV_TABLE, SV_KEY, SV_NUM, SV_VALUE) VALUES ('" + t.name +
             "', " + std::to_string(key) + ", " + std::to_string(n) + ", " +
             std::to_string(StateValue(t, key, n)) + ");\n";
  return sql;
}

std::string SetGenerator(const Table& t, int value) {
  return "SET GENERATOR GEN_" + t.name + " TO " + std::to_string(value) + ";\n";
}

Rows Query(TIBDatabase& db, const std::vector<std::string>& sql) {
  TIBTransaction transaction("TestTransaction");
  transaction.SetDefaultDatabase(&db);
  TIBSQL query("TestSQL");
  query.SetDatabase(&db);
  query.SetTransaction(&transaction);
  transaction.Start();
  query.SetSQL(sql);
  query.Execute();
  Rows rows;
  for (; !query.AtEnd(); query.FetchNext()) {
    std::vector<int> row;
    for (int c = 0; c < query.ColumnCount(); ++c) row.push_back(query.Column(c).GetInteger());
    rows.push_back(row);
  }
  query.Close();
  transaction.Commit();
  return rows;
}

namespace {

// Made once per test program: creating a database takes seconds, copying a file
// does not.
const std::filesystem::path& TemplateDatabase() {
  static testsupport::TempDir folder("dravik-state-template");
  static const std::filesystem::path db = [] {
    const std::filesystem::path path = folder / "template.fdb";
    testsupport::MakeDatabase(path);
    return path;
  }();
  return db;
}

}  // namespace

std::vector<SiteTable> Site(int o) {
  return {
      {kHosts, {1 + o, 2 + o, 3 + o, 10 + o, 11 + o, 20 + o}, {20 + o}},
      {kControllers,
       {1 + o, 2 + o, 3 + o, 4 + o, 5 + o, 6 + o, 7 + o, 8 + o, 9 + o, 10 + o, 11 + o, 12 + o},
       {4 + o, 9 + o}},
      {kSlaves, {5 + o, 6 + o, 7 + o}, {}},
      {kReaders, {1 + o, 2 + o, 3 + o, 4 + o, 5 + o, 6 + o, 7 + o, 8 + o, 9 + o}, {3 + o}},
      {kOwner, {1 + o, 2 + o, 3 + o, 4 + o, 5 + o}, {2 + o}},
  };
}

void StateDbTest::FreshDatabases(const std::string& tag) {
  src_ = dir_ / ("source" + tag + ".fdb");
  dst_ = dir_ / ("dest" + tag + ".fdb");
  std::filesystem::copy_file(TemplateDatabase(), src_);
  std::filesystem::copy_file(TemplateDatabase(), dst_);
}

void StateDbTest::SeedSite(int keyOffset) {
  std::string source, dest;
  for (const SiteTable& s : Site(keyOffset)) {
    source += SeedRows(s.table, s.keys, s.archived) + SeedStates(s.table, s.keys);
    dest += SetGenerator(s.table, 500);
  }
  dest += SeedRows(kControllers, {1});
  Isql(src_, source);
  Isql(dst_, dest);
}

void StateDbTest::SetUp() {
  FreshDatabases("");
  dm_ = std::make_unique<TDM1>();
  states_ = std::make_unique<DynamicStates>(*dm_, [this] { return locationFlag_; });
}

void StateDbTest::TearDown() {
  states_.reset();
  Disconnect();
  dm_.reset();
}

void StateDbTest::Isql(const std::filesystem::path& db, const std::string& script) {
  testsupport::RunIsql(db, script);
}

void StateDbTest::Connect() {
  dm_->IBDatabase3.SetDatabaseName(src_.string());
  dm_->IBDatabase1.SetDatabaseName(dst_.string());
  dm_->IBDatabase3.SetConnected(true);
  dm_->IBDatabase1.SetConnected(true);
}

void StateDbTest::Disconnect() {
  if (!dm_) return;
  dm_->IBDatabase3.SetConnected(false);
  dm_->IBDatabase1.SetConnected(false);
}

std::map<int, int> StateDbTest::Copy(const Table& t) {
  const Rows rows = Query(dm_->IBDatabase3, {"SELECT " + t.key + ", " + t.archive + " FROM " +
                                             t.name + " ORDER BY " + t.key + " DESC"});
  TIBDatabase& dest = dm_->IBDatabase1;
  TIBTransaction transaction("CopyTransaction");
  transaction.SetDefaultDatabase(&dest);
  TIBSQL insert("CopySQL");
  insert.SetDatabase(&dest);
  insert.SetTransaction(&transaction);
  transaction.Start();
  insert.SetSQL(
      {"INSERT INTO " + t.name + " (" + t.archive + ") VALUES (:A)", "RETURNING " + t.key});
  std::map<int, int> keys;
  for (const std::vector<int>& row : rows) {
    insert.ParamByName("A").SetInteger(row[1]);
    insert.Execute();
    const int newKey = insert.Column(0).GetInteger();
    keys[row[0]] = newKey;
    states_->StoreNewKey(t.name, row[0], newKey);
  }
  transaction.Commit();
  return keys;
}

std::map<std::string, std::map<int, int>> StateDbTest::CopyAll() {
  std::map<std::string, std::map<int, int>> all;
  for (const Table& t : AllTables()) all[t.name] = Copy(t);
  return all;
}

std::vector<int> StateDbTest::States(TIBDatabase& db, const Table& t, int key, int count) {
  std::vector<std::string> sql{"SELECT " + t.key};
  for (int n = 1; n <= count; ++n)
    sql.push_back(", GET_STATE(\"" + t.name + "\", " + t.key + ", " + std::to_string(n) + ")");
  sql.push_back("FROM " + t.name + " WHERE " + t.key + " = " + std::to_string(key));
  const Rows rows = Query(db, sql);
  if (rows.size() != 1) throw std::runtime_error("no row " + std::to_string(key) + " in " + t.name);
  return std::vector<int>(rows[0].begin() + 1, rows[0].end());
}

bool StateDbTest::Stateless(const Table& t, int destKey) {
  return Query(dm_->IBDatabase1, {"SELECT COUNT(*) FROM STATE_VALUES WHERE SV_TABLE = '" + t.name +
                                  "' AND SV_KEY = " + std::to_string(destKey)})[0][0] == 0;
}

int StateDbTest::DestStateRows() {
  return Query(dm_->IBDatabase1, {"SELECT COUNT(*) FROM STATE_VALUES"})[0][0];
}

int StateDbTest::CallCount(TIBDatabase& db, const std::string& function) {
  const Rows rows =
      Query(db, {"SELECT SC_COUNT FROM STATE_CALLS WHERE SC_NAME = '" + function + "'"});
  return rows.empty() ? 0 : rows[0][0];
}

void StateDbTest::ExpectCarried(const Table& t, const std::map<int, int>& keys,
                                const std::set<int>& archived) {
  for (const auto& [oldKey, newKey] : keys) {
    SCOPED_TRACE(t.name + " " + std::to_string(oldKey) + " -> " + std::to_string(newKey));
    if (archived.count(oldKey)) {
      EXPECT_TRUE(Stateless(t, newKey));
      continue;
    }
    const std::vector<int> expected = States(dm_->IBDatabase3, t, oldKey, t.states);
    EXPECT_EQ(expected[0], StateValue(t, oldKey, 1));  // the source really holds states
    EXPECT_EQ(States(dm_->IBDatabase1, t, newKey, t.states), expected);
    // States past the table's count stay behind.
    EXPECT_EQ(States(dm_->IBDatabase1, t, newKey, t.states + 1).back(), 0);
  }
}

void StateDbTest::ExpectNotCarried(const Table& t, const std::map<int, int>& keys) {
  for (const auto& [oldKey, newKey] : keys) {
    SCOPED_TRACE(t.name + " " + std::to_string(oldKey) + " -> " + std::to_string(newKey));
    EXPECT_TRUE(Stateless(t, newKey));
  }
}

void StateDbTest::ExpectSiteCarried(int keyOffset,
                                    const std::map<std::string, std::map<int, int>>& keys,
                                    bool owners) {
  for (const SiteTable& s : Site(keyOffset)) {
    const std::map<int, int>& tableKeys = keys.at(s.table.name);
    EXPECT_EQ(tableKeys.size(), s.keys.size()) << s.table.name;
    if (s.table.slot == kOwner.slot && !owners)
      ExpectNotCarried(s.table, tableKeys);
    else
      ExpectCarried(s.table, tableKeys, s.archived);
  }
}

}  // namespace statetest
