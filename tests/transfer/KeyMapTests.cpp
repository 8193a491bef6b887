// The key map on its own: texts kept as given, lookups as a scan from the top
// would answer them, over sizes that make its hash grow many times.
#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <random>

#include "text/Trim.h"
#include "transfer/KeyMap.h"

namespace {

using Keys = std::vector<std::string>;

TEST(KeyMap, TextsComeBackAsGivenAndOnlyPlainDecimalsAreFound) {
  KeyMapPair pair;
  const Keys old = {"5", "007", "-0", " 9", "abc", "", "-2147483648", "2147483648", "12"};
  const Keys added = {"1", "2", "3", "4", "5", "6", "7", "8", "x"};
  for (size_t i = 0; i < old.size(); ++i) {
    pair.AppendOld(old[i]);
    pair.AppendNew(added[i]);
  }
  EXPECT_EQ(pair.OldKeys(), old);
  EXPECT_EQ(pair.NewKeys(), added);
  EXPECT_EQ(pair.OldCount(), old.size());
  EXPECT_EQ(pair.LookupNewKey(5), 1);
  EXPECT_EQ(pair.LookupNewKey(INT_MIN), 7);
  // "007", "-0" and " 9" are not the decimal text of 7, 0 or 9
  EXPECT_EQ(pair.LookupNewKey(7), -1);
  EXPECT_EQ(pair.LookupNewKey(0), -1);
  EXPECT_EQ(pair.LookupNewKey(9), -1);
  // a new key that is no number fails as the conversion of its text does
  EXPECT_THROW(pair.LookupNewKey(12), text::EConvertError);
}

TEST(KeyMap, FirstEntryWinsAndAnOldKeyWithoutItsNewKeyFails) {
  KeyMapPair pair;
  pair.AppendOld("4");
  pair.AppendNew("-1");
  pair.AppendOld("4");
  pair.AppendNew("40");
  pair.AppendOld("6");
  EXPECT_EQ(pair.LookupNewKey(4), -1);
  EXPECT_THROW(pair.LookupNewKey(6), text::EConvertError);
  pair.AppendNew("60");
  EXPECT_EQ(pair.LookupNewKey(6), 60);
  EXPECT_EQ(KeyMapPair().LookupNewKey(0), -1);
}

TEST(KeyMap, LargeMapsAnswerAsAPlainMapWould) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> anyKey(INT_MIN, INT_MAX);
  std::uniform_int_distribution<int> smallKey(-50, 300000);
  KeyMapPair pair;
  std::map<int, int> expected;  // the first new key of every old key
  for (int i = 0; i < 200000; ++i) {
    const int oldKey = i % 3 == 0 ? anyKey(random) : smallKey(random);
    pair.AppendOld(std::to_string(oldKey));
    pair.AppendNew(std::to_string(i));
    expected.emplace(oldKey, i);
  }
  for (const auto& [oldKey, newKey] : expected) ASSERT_EQ(pair.LookupNewKey(oldKey), newKey);
  int absent = 0;
  for (int probe = -100; probe < 400000; ++probe)
    if (expected.count(probe) == 0) {
      ASSERT_EQ(pair.LookupNewKey(probe), -1) << probe;
      ++absent;
    }
  EXPECT_GT(absent, 0);
  EXPECT_EQ(pair.OldKeys().size(), 200000u);
}

}  // namespace
