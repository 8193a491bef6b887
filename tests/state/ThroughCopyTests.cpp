#include <gtest/gtest.h>

#include "tests/state/StateFixture.h"
#include "tests/support/FakeWindow.h"
#include "text/Trim.h"
#include "transfer/Operations.h"
#include "transfer/TransferContext.h"

namespace statetest {
namespace {

using ThroughCopy = StateDbTest;

// The program's own table copy reports the new keys: the states must follow.
TEST_F(ThroughCopy, StatesFollowRowsCopiedByTheTableCopy) {
  locationFlag_ = true;
  SeedSite();
  Connect();
  FakeWindow window;
  TransferContext context(*dm_, window, *states_, dir_.File(""), 1);
  context.log.Create();
  context.destHasOwnerPhotos = UstNalOwnerPhoto(dm_->IBSQL3, dm_->IBTransaction1, dm_->IBDatabase1);
  context.sourceHasOwnerPhotos =
      UstNalOwnerPhoto(dm_->IBSQL4, dm_->IBTransaction, dm_->IBDatabase3);

  states_->SaveDynamicStates();
  std::map<std::string, std::map<int, int>> keys;
  for (const Table& t : AllTables()) {
    Perepis(context, dm_->IBSQL4, dm_->IBSQL3, dm_->IBTransaction, dm_->IBTransaction1,
            dm_->IBDatabase3, dm_->IBDatabase1, t.name, t.key, "");
    const KeyMapPair& pair = context.keyMap.Pair(KeyMapPairNumber(t.name));
    const std::vector<std::string> oldKeys = pair.OldKeys(), newKeys = pair.NewKeys();
    ASSERT_EQ(oldKeys.size(), newKeys.size());
    for (size_t i = 0; i < oldKeys.size(); ++i)
      keys[t.name][text::StrToInt(oldKeys[i])] = text::StrToInt(newKeys[i]);
  }
  EXPECT_TRUE(states_->RestoreDynamicStates());
  ExpectSiteCarried(0, keys, true);
}

}  // namespace
}  // namespace statetest
