#include <gtest/gtest.h>

#include <numeric>
#include <ostream>
#include <thread>

#include "state/TableSts.h"
#include "tests/state/StateFixture.h"

namespace statetest {
namespace {

// Every transaction a database starts is written down, so a test can see where
// a pass renewed its transaction.
const char* kTransactionLog = R"(
CREATE TABLE TX_LOG (TX INTEGER);
COMMIT;
SET TERM ^ ;
CREATE TRIGGER TX_LOG_START ACTIVE ON TRANSACTION START AS
BEGIN
  INSERT INTO TX_LOG (TX) VALUES (CURRENT_TRANSACTION);
END^
SET TERM ; ^
)";

// GET_STATE answers the transaction it runs in; SET_STATE stores that of the writer.
const char* kStatesShowTheirTransaction = R"(
SET TERM ^ ;
CREATE OR ALTER FUNCTION GET_STATE (ATABLE VARCHAR(31), AKEY INTEGER, ANUM INTEGER)
RETURNS INTEGER AS
BEGIN
  RETURN CURRENT_TRANSACTION;
END^
CREATE OR ALTER FUNCTION SET_STATE (ATABLE VARCHAR(31), AKEY INTEGER, AVALUE INTEGER, ANUM INTEGER)
RETURNS INTEGER AS
BEGIN
  UPDATE OR INSERT INTO STATE_VALUES (SV_TABLE, SV_KEY, SV_NUM, SV_VALUE)
  VALUES (UPPER(TRIM(:ATABLE)), :AKEY, :ANUM, CURRENT_TRANSACTION)
  MATCHING (SV_TABLE, SV_KEY, SV_NUM);
  RETURN AVALUE;
END^
SET TERM ; ^
)";

int CurrentTransaction(TIBDatabase& db) {
  return Query(db, {"SELECT CURRENT_TRANSACTION FROM RDB$DATABASE"})[0][0];
}

// Transactions started strictly between two probes, in order.
std::vector<int> StartedBetween(TIBDatabase& db, int after, int before) {
  std::vector<int> started;
  for (const auto& row : Query(db, {"SELECT TX FROM TX_LOG WHERE TX > " + std::to_string(after) +
                                    " AND TX < " + std::to_string(before) + " ORDER BY TX"}))
    started.push_back(row[0]);
  return started;
}

using StatePasses = StateDbTest;

TEST_F(StatePasses, BothPassesRenewTheirTransactionEvery50Records) {
  std::vector<int> keys(120);
  std::iota(keys.begin(), keys.end(), 1);
  Isql(src_,
       std::string(kTransactionLog) + kStatesShowTheirTransaction + SeedRows(kControllers, keys));
  Isql(dst_, std::string(kTransactionLog) + kStatesShowTheirTransaction +
                 SetGenerator(kControllers, 500));
  Connect();

  const int beforeSave = CurrentTransaction(dm_->IBDatabase3);
  states_->SaveDynamicStates();
  const int afterSave = CurrentTransaction(dm_->IBDatabase3);
  ASSERT_NE(states_->Slot(2), nullptr);
  const TStsList& list = *states_->Slot(2)->List();
  ASSERT_EQ(list.Count(), 120);
  // Brackets of HOSTS, CONTROLLERS (its listing), then the renewals before
  // records 0, 50 and 100, then the brackets of SLAVES and READERS.
  const std::vector<int> read = StartedBetween(dm_->IBDatabase3, beforeSave, afterSave);
  ASSERT_EQ(read.size(), 7u);
  for (int i = 0; i < 120; ++i) {
    SCOPED_TRACE("record " + std::to_string(i));
    const StateValues& data = list.Item(i)->Data;
    for (int n = 0; n < 6; ++n)
      EXPECT_EQ(data[static_cast<size_t>(n)], read[static_cast<size_t>(2 + i / 50)]);
  }

  Copy(kControllers);
  const int beforeRestore = CurrentTransaction(dm_->IBDatabase1);
  EXPECT_TRUE(states_->RestoreDynamicStates());
  const int afterRestore = CurrentTransaction(dm_->IBDatabase1);
  // FLUSH_STATES, the CONTROLLERS bracket and two renewals, SAVE_STATES; the
  // empty tables open no bracket at all.
  const std::vector<int> written = StartedBetween(dm_->IBDatabase1, beforeRestore, afterRestore);
  ASSERT_EQ(written.size(), 5u);
  for (int i = 0; i < 120; ++i) {
    SCOPED_TRACE("record " + std::to_string(i));
    const Rows values =
        Query(dm_->IBDatabase1, {"SELECT SV_VALUE FROM STATE_VALUES WHERE SV_KEY = " +
                                 std::to_string(list.Item(i)->NewID)});
    ASSERT_EQ(values.size(), 6u);
    for (const auto& v : values) EXPECT_EQ(v[0], written[static_cast<size_t>(1 + i / 50)]);
  }
  // The destination has no controller 1: the two calls execute but are never evaluated.
  EXPECT_EQ(CallCount(dm_->IBDatabase1, "FLUSH_STATES"), 0);
}

// Every state of every record travels as a parameter of a statement prepared
// once per shape (states 1 to 8, then 9 to 16) and survives the renewals.
TEST_F(StatePasses, SixteenStatesOfEveryRecordReachTheirOwnRowAcrossRenewals) {
  std::vector<int> hosts(120);
  std::iota(hosts.begin(), hosts.end(), 1);
  Isql(src_, SeedRows(kHosts, hosts) + SeedStates(kHosts, hosts));
  Isql(dst_, SetGenerator(kHosts, 500));
  Connect();
  dm_->IBTransaction.SetDefaultDatabase(&dm_->IBDatabase3);
  TTableSts table(kHosts.name, kHosts.key, kHosts.archive, 16);
  ASSERT_TRUE(table.ReadStates(dm_->IBSQL4));
  ASSERT_EQ(table.List()->Count(), 120);
  const std::map<int, int> keys = Copy(kHosts);
  for (const auto& [oldKey, newKey] : keys) ASSERT_TRUE(table.SetNewID(oldKey, newKey));
  ASSERT_TRUE(table.WriteStates(dm_->IBSQL3));

  for (const auto& [oldKey, newKey] : keys) {
    SCOPED_TRACE("host " + std::to_string(oldKey));
    std::vector<int> expected;
    for (int n = 1; n <= 16; ++n) expected.push_back(StateValue(kHosts, oldKey, n));
    EXPECT_EQ(States(dm_->IBDatabase1, kHosts, newKey, 16), expected);
  }
}

struct FailingCase {
  const char* name;
  std::string sourceScript, destScript;
};

void PrintTo(const FailingCase& c, std::ostream* os) {
  *os << c.name;
}

// The schema's GET_STATE, failing for host 2's states past 8.
const char* kSecondReadFails = R"(
CREATE EXCEPTION E_STATE_TEST 'state test';
SET TERM ^ ;
CREATE OR ALTER FUNCTION GET_STATE (ATABLE VARCHAR(31), AKEY INTEGER, ANUM INTEGER)
RETURNS INTEGER AS
  DECLARE VARIABLE V INTEGER;
BEGIN
  IF (AKEY = 2 AND ANUM > 8) THEN EXCEPTION E_STATE_TEST;
  SELECT SV_VALUE FROM STATE_VALUES
  WHERE SV_TABLE = UPPER(TRIM(:ATABLE)) AND SV_KEY = :AKEY AND SV_NUM = :ANUM INTO :V;
  RETURN COALESCE(V, 0);
END^
SET TERM ; ^
)";

// The schema's SET_STATE, failing for host 2's values of states past 8.
const char* kSecondWriteFails = R"(
CREATE EXCEPTION E_STATE_TEST 'state test';
SET TERM ^ ;
CREATE OR ALTER FUNCTION SET_STATE (ATABLE VARCHAR(31), AKEY INTEGER, AVALUE INTEGER, ANUM INTEGER)
RETURNS INTEGER AS
BEGIN
  IF (ANUM > 8 AND AVALUE BETWEEN 1000209 AND 1000214) THEN EXCEPTION E_STATE_TEST;
  UPDATE OR INSERT INTO STATE_VALUES (SV_TABLE, SV_KEY, SV_NUM, SV_VALUE)
  VALUES (UPPER(TRIM(:ATABLE)), :AKEY, :ANUM, :AVALUE)
  MATCHING (SV_TABLE, SV_KEY, SV_NUM);
  RETURN AVALUE;
END^
SET TERM ; ^
)";

class SecondHostStatement : public StateDbTest,
                            public ::testing::WithParamInterface<FailingCase> {};

// Hosts are walked 1, 10, 11, 2, 3: host 2 follows host 11, whose states 9 to
// 14 must not end up on host 2.
TEST_P(SecondHostStatement, FailingLeavesStatesOneToEightAndNoOtherHostsValues) {
  const std::vector<int> hosts{1, 2, 3, 10, 11};
  Isql(src_, GetParam().sourceScript + SeedRows(kHosts, hosts) + SeedStates(kHosts, hosts));
  Isql(dst_, GetParam().destScript + SetGenerator(kHosts, 500));
  Connect();
  states_->SaveDynamicStates();
  std::map<int, int> keys = Copy(kHosts);
  EXPECT_TRUE(states_->RestoreDynamicStates());

  std::vector<int> expected;
  for (int n = 1; n <= 8; ++n) expected.push_back(StateValue(kHosts, 2, n));
  expected.resize(14, 0);
  EXPECT_EQ(States(dm_->IBDatabase1, kHosts, keys.at(2), 14), expected);
  keys.erase(2);
  ExpectCarried(kHosts, keys, {});
}

INSTANTIATE_TEST_SUITE_P(Cases, SecondHostStatement,
                         ::testing::Values(FailingCase{"Read", kSecondReadFails, ""},
                                           FailingCase{"Write", "", kSecondWriteFails}),
                         [](const auto& info) { return std::string(info.param.name); });

// A state that is fetched but cannot be read as a number spoils only its own row.
TEST_F(StatePasses, UnreadableStateSpoilsOnlyItsOwnRow) {
  const char* unreadable = R"(
SET TERM ^ ;
CREATE OR ALTER FUNCTION GET_STATE (ATABLE VARCHAR(31), AKEY INTEGER, ANUM INTEGER)
RETURNS VARCHAR(12) AS
  DECLARE VARIABLE V INTEGER;
BEGIN
  IF (AKEY = 2) THEN RETURN 'unreadable';
  SELECT SV_VALUE FROM STATE_VALUES
  WHERE SV_TABLE = UPPER(TRIM(:ATABLE)) AND SV_KEY = :AKEY AND SV_NUM = :ANUM INTO :V;
  RETURN COALESCE(V, 0);
END^
SET TERM ; ^
)";
  // Walked 1, 10, 11, 12, 2, 3, ..., 9: seven controllers follow the bad one.
  std::vector<int> controllers(12);
  std::iota(controllers.begin(), controllers.end(), 1);
  Isql(src_,
       unreadable + SeedRows(kControllers, controllers) + SeedStates(kControllers, controllers));
  Isql(dst_, SetGenerator(kControllers, 500));
  Connect();
  states_->SaveDynamicStates();
  std::map<int, int> keys = Copy(kControllers);
  EXPECT_TRUE(states_->RestoreDynamicStates());

  EXPECT_EQ(States(dm_->IBDatabase1, kControllers, keys.at(2), 6), std::vector<int>(6, 0));
  keys.erase(2);
  ExpectCarried(kControllers, keys, {});
}

// Whether another thread could take the statement lock now: every bracket closed.
bool LockIsFree() {
  bool free = false;
  std::thread([&free] {
    free = StatementLock()->try_lock();
    if (free) StatementLock()->unlock();
  }).join();
  return free;
}

// A source without the controllers' archive column cannot list controllers; the
// tables after it are preserved all the same and no bracket stays open.
TEST_F(StatePasses, TableThatCannotBeListedLeavesTheOthersIntact) {
  SeedSite();
  Isql(src_, "ALTER TABLE CONTROLLERS DROP CT_ARCHIVE;");
  Connect();
  states_->SaveDynamicStates();
  EXPECT_TRUE(LockIsFree());
  ASSERT_NE(states_->Slot(2), nullptr);
  EXPECT_EQ(states_->Slot(2)->List()->Count(), 0);
  EXPECT_FALSE(states_->Slot(2)->ReadStates(dm_->IBSQL4));
  const std::map<int, int> hosts = Copy(kHosts);
  const std::map<int, int> slaves = Copy(kSlaves);
  const std::map<int, int> readers = Copy(kReaders);
  EXPECT_TRUE(states_->RestoreDynamicStates());
  EXPECT_TRUE(LockIsFree());
  ExpectCarried(kHosts, hosts, {20});
  ExpectCarried(kSlaves, slaves, {});
  ExpectCarried(kReaders, readers, {3});
}

}  // namespace
}  // namespace statetest
