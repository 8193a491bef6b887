#include <gtest/gtest.h>

#include <ostream>

#include "state/TableSts.h"
#include "tests/state/StateFixture.h"

namespace statetest {
namespace {

using SaveRestore = StateDbTest;

TEST_F(SaveRestore, EveryPreservedRowKeepsItsStatesUnderItsNewKey) {
  locationFlag_ = true;
  SeedSite();
  Connect();
  states_->SaveDynamicStates();
  const auto keys = CopyAll();
  EXPECT_TRUE(states_->RestoreDynamicStates());
  states_->FreeDynamicStates();

  ExpectSiteCarried(0, keys, true);
  // The destination's own controller 1 is nobody's copy.
  EXPECT_TRUE(Stateless(kControllers, 1));
  EXPECT_EQ(CallCount(dm_->IBDatabase1, "FLUSH_STATES"), 1);
  EXPECT_EQ(CallCount(dm_->IBDatabase1, "SAVE_STATES"), 1);
  EXPECT_EQ(CallCount(dm_->IBDatabase3, "FLUSH_STATES"), 0);
  for (int slot = 1; slot <= 5; ++slot) EXPECT_EQ(states_->Slot(slot), nullptr);
}

TEST_F(SaveRestore, StoreNewKeyTakesExactNamesAndListedKeysOnly) {
  locationFlag_ = true;
  SeedSite();
  Connect();
  states_->SaveDynamicStates();
  ASSERT_NE(states_->Slot(1), nullptr);
  const TStsList& hosts = *states_->Slot(1)->List();
  ASSERT_EQ(hosts.Count(), 5);  // host 20 is archived

  EXPECT_FALSE(states_->StoreNewKey("hosts", 1, 501));
  EXPECT_FALSE(states_->StoreNewKey("HOSTS", 20, 501));
  EXPECT_FALSE(states_->StoreNewKey("HOSTS", 4, 501));
  EXPECT_FALSE(states_->StoreNewKey("INPUTS", 1, 501));
  EXPECT_EQ(hosts.FindOldID(1)->NewID, 0);
  EXPECT_TRUE(states_->StoreNewKey("HOSTS", 1, 501));
  EXPECT_EQ(hosts.FindOldID(1)->NewID, 501);

  locationFlag_ = false;
  EXPECT_FALSE(states_->StoreNewKey("OWNER", 1, 601));
  EXPECT_EQ(states_->Slot(5)->List()->FindOldID(1)->NewID, 0);
  locationFlag_ = true;
  EXPECT_TRUE(states_->StoreNewKey("OWNER", 1, 601));
}

// An interrupted run frees what it saved without touching the destination.
TEST_F(SaveRestore, InterruptedRunWritesNothing) {
  locationFlag_ = true;
  SeedSite();
  Connect();
  states_->SaveDynamicStates();
  ASSERT_GT(states_->Slot(2)->List()->Count(), 0);
  CopyAll();
  states_->FreeDynamicStates();

  EXPECT_EQ(DestStateRows(), 0);
  EXPECT_EQ(CallCount(dm_->IBDatabase1, "FLUSH_STATES"), 0);
  EXPECT_EQ(CallCount(dm_->IBDatabase1, "SAVE_STATES"), 0);
  for (int slot = 1; slot <= 5; ++slot) EXPECT_EQ(states_->Slot(slot), nullptr);
}

// A row the copy never reported (new key 0) or reported as failed (-1) must not
// hand its states to a destination row that happens to have that key.
TEST_F(SaveRestore, RowsWithoutANewKeyWriteNothing) {
  SeedSite();
  Isql(dst_, SeedRows(kHosts, {0, -1}));
  Connect();
  states_->SaveDynamicStates();
  auto keys = CopyAll();
  EXPECT_TRUE(states_->StoreNewKey("HOSTS", 2, 0));
  EXPECT_TRUE(states_->StoreNewKey("HOSTS", 3, -1));
  EXPECT_TRUE(states_->RestoreDynamicStates());

  EXPECT_TRUE(Stateless(kHosts, 0));
  EXPECT_TRUE(Stateless(kHosts, -1));
  EXPECT_TRUE(Stateless(kHosts, keys["HOSTS"].at(2)));
  EXPECT_TRUE(Stateless(kHosts, keys["HOSTS"].at(3)));
  keys["HOSTS"].erase(2);
  keys["HOSTS"].erase(3);
  ExpectCarried(kHosts, keys["HOSTS"], {20});
}

// The scripts of a run leave the source transaction on the destination; the
// next run's save must still read the source.
TEST_F(SaveRestore, SecondRunInTheSameProcessPreservesStatesToo) {
  for (int run = 1; run <= 2; ++run) {
    SCOPED_TRACE("run " + std::to_string(run));
    const int offset = run == 1 ? 0 : 30;
    if (run == 2) FreshDatabases("2");
    SeedSite(offset);
    Connect();
    states_->SaveDynamicStates();
    dm_->IBTransaction.SetDefaultDatabase(&dm_->IBDatabase1);  // first script
    dm_->IBTransaction.SetDefaultDatabase(&dm_->IBDatabase3);  // table copy
    const auto keys = CopyAll();
    dm_->IBTransaction.SetDefaultDatabase(&dm_->IBDatabase1);  // second script
    EXPECT_TRUE(states_->RestoreDynamicStates());
    states_->FreeDynamicStates();
    ExpectSiteCarried(offset, keys, false);
    Disconnect();
  }
}

struct FlagCase {
  const char* name;
  bool atSave, atCopy, atRestore;
  bool ownersCarried;
};

void PrintTo(const FlagCase& c, std::ostream* os) {
  *os << c.name;
}

class LocationFlag : public StateDbTest, public ::testing::WithParamInterface<FlagCase> {};

TEST_P(LocationFlag, OwnersFollowTheFlagAtEachCall) {
  const FlagCase& c = GetParam();
  SeedSite();
  Connect();
  locationFlag_ = c.atSave;
  states_->SaveDynamicStates();
  EXPECT_EQ(states_->Slot(5) != nullptr, c.atSave);
  locationFlag_ = c.atCopy;
  const auto keys = CopyAll();
  locationFlag_ = c.atRestore;
  EXPECT_TRUE(states_->RestoreDynamicStates());
  ExpectSiteCarried(0, keys, c.ownersCarried);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LocationFlag,
    ::testing::Values(FlagCase{"OnThroughout", true, true, true, true},
                      FlagCase{"OffThroughout", false, false, false, false},
                      FlagCase{"SwitchedOnAfterTheSave", false, true, true, false},
                      FlagCase{"OffWhileKeysAreReported", true, false, true, false},
                      FlagCase{"SwitchedOffBeforeTheRestore", true, true, false, false}),
    [](const ::testing::TestParamInfo<FlagCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace statetest
