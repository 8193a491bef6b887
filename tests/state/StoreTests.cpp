#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <numeric>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "state/StsList.h"
#include "state/TableSts.h"

namespace {

StateValues Values(int32_t base) {
  StateValues v{};
  for (size_t i = 0; i < v.size(); ++i) v[i] = base + static_cast<int32_t>(i);
  return v;
}

TEST(StsList, KeyTexts) {
  const std::vector<std::pair<int32_t, std::string>> cases = {{0, "0"},
                                                              {7, "7"},
                                                              {120, "120"},
                                                              {-7, "-7"},
                                                              {INT_MAX, "2147483647"},
                                                              {INT_MIN, "-2147483648"}};
  for (const auto& [key, text] : cases) EXPECT_EQ(TStsList::GetS(key), text);
}

TEST(StsList, DuplicateKeyKeepsTheFirstRecord) {
  TStsList list;
  ASSERT_TRUE(list.AddRec(42, Values(100)));
  ASSERT_TRUE(list.SetNewID(42, 7));
  EXPECT_FALSE(list.AddRec(42, Values(900)));
  ASSERT_EQ(list.Count(), 1);
  const TStsItem* item = list.FindOldID(42);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->Data, Values(100));
  EXPECT_EQ(item->NewID, 7);
}

TEST(StsList, WalkedInTextOrderOfTheKeys) {
  TStsList list;
  for (int32_t key : {2, 10, 1}) ASSERT_TRUE(list.AddRec(key, StateValues{}));
  std::vector<int32_t> walked;
  for (int i = 0; i < list.Count(); ++i) walked.push_back(list.Item(i)->OldID);
  EXPECT_EQ(walked, (std::vector<int32_t>{1, 10, 2}));
}

TEST(StsList, AbsentKeysChangeNothing) {
  TStsList list;
  EXPECT_EQ(list.FindOldID(1), nullptr);
  EXPECT_FALSE(list.SetNewID(1, 5));
  EXPECT_FALSE(list.SetNewData(1, Values(1)));
  ASSERT_TRUE(list.AddRec(3, Values(30)));
  EXPECT_FALSE(list.SetNewID(30, 5));
  EXPECT_FALSE(list.SetNewData(33, Values(1)));
  EXPECT_EQ(list.FindOldID(3)->NewID, 0);  // never reported: stays 0
  EXPECT_EQ(list.FindOldID(3)->Data, Values(30));
}

// Binary search over the text order must find every key, whatever order the
// rows arrived in, and must not confuse keys whose texts share a prefix.
TEST(StsList, EveryRecordIsFoundByItsOldKey) {
  std::vector<int32_t> keys(1500);
  std::iota(keys.begin(), keys.end(), -20);
  std::shuffle(keys.begin(), keys.end(), std::mt19937(20240607));
  TStsList list;
  for (int32_t key : keys) ASSERT_TRUE(list.AddRec(key, Values(key)));
  for (int32_t key : keys) {
    ASSERT_TRUE(list.SetNewID(key, key * 3 + 1)) << key;
    ASSERT_TRUE(list.SetNewData(key, Values(-key))) << key;
  }
  for (int32_t key : keys) {
    const TStsItem* item = list.FindOldID(key);
    ASSERT_NE(item, nullptr) << key;
    EXPECT_EQ(item->OldID, key);
    EXPECT_EQ(item->NewID, key * 3 + 1);
    EXPECT_EQ(item->Data, Values(-key));
  }
  EXPECT_EQ(list.FindOldID(1480), nullptr);
  EXPECT_EQ(list.FindOldID(-21), nullptr);
}

TEST(StateStatements, ControllerRowReadIsOneStatementOfNineLines) {
  TTableSts t("CONTROLLERS", "CT_ID", "CT_ARCHIVE", 6);
  EXPECT_EQ(t.ReadRowText(5, 1, 6), (std::vector<std::string>{
                                        "SELECT CT_ID,",
                                        "GET_STATE(\"CONTROLLERS\", CT_ID, 1) AS FLD_1,",
                                        "GET_STATE(\"CONTROLLERS\", CT_ID, 2) AS FLD_2,",
                                        "GET_STATE(\"CONTROLLERS\", CT_ID, 3) AS FLD_3,",
                                        "GET_STATE(\"CONTROLLERS\", CT_ID, 4) AS FLD_4,",
                                        "GET_STATE(\"CONTROLLERS\", CT_ID, 5) AS FLD_5,",
                                        "GET_STATE(\"CONTROLLERS\", CT_ID, 6) AS FLD_6",
                                        "FROM CONTROLLERS",
                                        "WHERE CT_ID = 5",
                                    }));
}

TEST(StateStatements, HostRowSecondPartAndWriteText) {
  TTableSts t("HOSTS", "HS_ID", "HS_ARCHIVE", 14);
  const std::vector<std::string> second = t.ReadRowText(-3, 9, 14);
  ASSERT_EQ(second.size(), 9u);
  EXPECT_EQ(second[1], "GET_STATE(\"HOSTS\", HS_ID, 9) AS FLD_9,");
  EXPECT_EQ(second[6], "GET_STATE(\"HOSTS\", HS_ID, 14) AS FLD_14");
  EXPECT_EQ(second[8], "WHERE HS_ID = -3");

  EXPECT_EQ(t.WriteRowText(12, 8, 9, Values(-8)),
            (std::vector<std::string>{
                "SELECT HS_ID,",
                "SET_STATE(\"HOSTS\", HS_ID, -1, 8) AS FLD_8,",
                "SET_STATE(\"HOSTS\", HS_ID, 0, 9) AS FLD_9",
                "FROM HOSTS",
                "WHERE HS_ID = 12",
            }));
}

TEST(StateStatements, ListingWithAndWithoutArchiveColumn) {
  EXPECT_EQ(TTableSts("OWNER", "OW_ID", "OW_ARCHIVE", 4).ListingText(),
            (std::vector<std::string>{"SELECT OW_ID FROM OWNER", "WHERE OW_ARCHIVE = 0"}));
  EXPECT_EQ(TTableSts("OWNER", "OW_ID", "", 4).ListingText(),
            (std::vector<std::string>{"SELECT OW_ID FROM OWNER"}));
}

}  // namespace

namespace {

// The store as the one-by-one path leaves it: texts in order, each record's keys.
std::vector<std::tuple<std::string, int32_t, int32_t>> Content(const TStsList& list) {
  std::vector<std::tuple<std::string, int32_t, int32_t>> out;
  for (int i = 0; i < list.Count(); ++i) {
    const TStsItem* item = list.Item(i);
    out.emplace_back(list.Strings(i), item ? item->OldID : INT_MIN, item ? item->NewID : INT_MIN);
  }
  return out;
}

TEST(StsList, AddRecsBuildsTheSameStoreAsAddRecOneByOne) {
  std::vector<int32_t> keys(3000);
  std::iota(keys.begin(), keys.end(), -20);
  std::mt19937 random(7);
  std::shuffle(keys.begin(), keys.end(), random);
  // Repeats, also of the first key and next to each other.
  keys.insert(keys.begin() + 5, keys.front());
  keys.push_back(keys[100]);
  keys.push_back(keys[100]);
  keys.push_back(INT_MIN);
  keys.push_back(INT_MAX);

  TStsList one, bulk;
  int added = 0;
  for (int32_t key : keys) added += one.AddRec(key, StateValues{}) ? 1 : 0;
  EXPECT_EQ(bulk.AddRecs(keys), added);
  EXPECT_EQ(added, 3002);
  EXPECT_EQ(Content(bulk), Content(one));
  // Still the sorted, duplicate-refusing store: lookups and further adds behave.
  EXPECT_TRUE(bulk.Sorted());
  EXPECT_FALSE(bulk.AddRec(keys[0], Values(5)));
  EXPECT_TRUE(bulk.AddRec(5000, Values(5)));
  ASSERT_NE(bulk.FindOldID(5000), nullptr);
  EXPECT_EQ(bulk.FindOldID(5000)->Data, Values(5));
  for (int32_t key : keys) EXPECT_NE(bulk.FindOldID(key), nullptr) << key;
}

TEST(StsList, AddRecsKeepsTheFirstOfEqualKeysAndTheRecordsAlreadyThere) {
  TStsList fresh;
  EXPECT_EQ(fresh.AddRecs({2, 10, 1, 10, 2}), 3);
  ASSERT_EQ(fresh.Count(), 3);
  EXPECT_EQ(fresh.Strings(0), "1");
  EXPECT_EQ(fresh.Strings(1), "10");
  EXPECT_EQ(fresh.Strings(2), "2");
  EXPECT_EQ(fresh.FindOldID(10)->Data, StateValues{});

  TStsList filled;
  ASSERT_TRUE(filled.AddRec(10, Values(100)));
  ASSERT_TRUE(filled.SetNewID(10, 77));
  EXPECT_EQ(filled.AddRecs({9, 10, 11}), 2);
  ASSERT_EQ(filled.Count(), 3);
  EXPECT_EQ(filled.FindOldID(10)->Data, Values(100));
  EXPECT_EQ(filled.FindOldID(10)->NewID, 77);
  EXPECT_EQ(filled.Strings(0), "10");
  EXPECT_EQ(filled.Strings(2), "9");
  EXPECT_EQ(TStsList().AddRecs({}), 0);
}

}  // namespace
