#pragma once
// Source and destination databases made from schema/ for the state tests, seeded
// through isql, with a small copy that gives rows new keys in the destination
// and reports them as the table copy does.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "db/IB.h"
#include "state/DynamicStates.h"
#include "tests/support/TempDir.h"

namespace statetest {

// The preserved tables, written out again here so the tests check the program's
// own table against an independent copy.
struct Table {
  std::string name, key, archive;
  int states;
  int slot;
};
extern const Table kHosts, kControllers, kSlaves, kReaders, kOwner;
const std::vector<Table>& AllTables();

// A distinct value per table, key and state number; odd keys give negative ones.
int StateValue(const Table& t, int key, int n);

// isql lines that insert rows (archived ones with flag 1) and their states 1..16.
std::string SeedRows(const Table& t, const std::vector<int>& keys,
                     const std::set<int>& archived = {});
std::string SeedStates(const Table& t, const std::vector<int>& keys);
// Every new key of the table's generator comes after `value`.
std::string SetGenerator(const Table& t, int value);

// Rows of integers; each query runs in a transaction of its own.
using Rows = std::vector<std::vector<int>>;
Rows Query(TIBDatabase& db, const std::vector<std::string>& sql);

// A small installation: rows of every preserved table, some archived.
struct SiteTable {
  Table table;
  std::vector<int> keys;
  std::set<int> archived;
};
std::vector<SiteTable> Site(int keyOffset);

class StateDbTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Runs an isql script on a file this process does not hold open.
  void Isql(const std::filesystem::path& db, const std::string& script);
  // Copies fresh databases from the template into src_ and dst_.
  void FreshDatabases(const std::string& tag);
  // Seeds the site with its states into the source; the destination gets a
  // controller 1 of its own and generators past 500.
  void SeedSite(int keyOffset = 0);
  void Connect();
  void Disconnect();

  // Copies every row of the table (archived ones too) into the destination,
  // where it gets a new key, and reports the keys through StoreNewKey.
  // Returns old key -> new key.
  std::map<int, int> Copy(const Table& t);
  // Every preserved table, by table name.
  std::map<std::string, std::map<int, int>> CopyAll();

  // GET_STATE 1..count of one row.
  std::vector<int> States(TIBDatabase& db, const Table& t, int key, int count);
  // Whether the destination holds no state at all for the row.
  bool Stateless(const Table& t, int destKey);
  // Rows STATE_VALUES holds in the destination, and the calls of FLUSH_STATES or SAVE_STATES.
  int DestStateRows();
  int CallCount(TIBDatabase& db, const std::string& function);

  // Checks that every non-archived source row of the table has its states under
  // its new key and that archived rows brought none.
  void ExpectCarried(const Table& t, const std::map<int, int>& keys, const std::set<int>& archived);
  void ExpectNotCarried(const Table& t, const std::map<int, int>& keys);
  // The same for every table of the site; owners carried only when asked.
  void ExpectSiteCarried(int keyOffset, const std::map<std::string, std::map<int, int>>& keys,
                         bool owners);

  testsupport::TempDir dir_{"dravik-state"};
  std::filesystem::path src_, dst_;
  std::unique_ptr<TDM1> dm_;
  bool locationFlag_ = false;
  std::unique_ptr<DynamicStates> states_;
};

}  // namespace statetest
