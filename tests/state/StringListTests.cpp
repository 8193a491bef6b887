#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "state/VclExt.h"

namespace {

// Counts its own destructions, so a test sees every free.
class Probe : public TObject {
 public:
  explicit Probe(int& freed) : freed_(freed) {}
  ~Probe() override { ++freed_; }

 private:
  int& freed_;
};

std::vector<std::string> Texts(const TStringList& list) {
  std::vector<std::string> texts;
  for (int i = 0; i < list.Count(); ++i) texts.push_back(list.Strings(i));
  return texts;
}

TEST(StringList, SortedOrderIsCaseInsensitiveCharacterByCharacter) {
  struct Case {
    std::vector<std::string> added;
    std::vector<std::string> walked;
  };
  const std::vector<Case> cases = {
      {{"2", "10", "1"}, {"1", "10", "2"}},
      {{"9", "100", "11", "10"}, {"10", "100", "11", "9"}},
      {{"b", "C", "a"}, {"a", "b", "C"}},
      {{"-5", "5", "-10"}, {"-10", "-5", "5"}},
      // windows-1251: "б" (0xE1) sorts with "Б" (0xC1), after "А" (0xC0) and "а" (0xE0)
      {{"\xE1", "\xC0"}, {"\xC0", "\xE1"}},
  };
  for (const Case& c : cases) {
    TStringList list;
    list.SetSorted(true);
    for (const std::string& s : c.added) list.Add(s);
    EXPECT_EQ(Texts(list), c.walked);
  }
}

TEST(StringList, FindLocatesEntriesIgnoringCase) {
  TStringList list;
  list.SetSorted(true);
  for (const char* s : {"delta", "Alpha", "charlie", "BRAVO", "\xC4\xE0"}) list.Add(s);
  int index = -1;
  EXPECT_TRUE(list.Find("bravo", index));
  EXPECT_EQ(list.Strings(index), "BRAVO");
  EXPECT_TRUE(list.Find("\xE4\xC0", index));  // "дА" finds "Да"
  EXPECT_EQ(list.Strings(index), "\xC4\xE0");
  EXPECT_FALSE(list.Find("bravissimo", index));
  EXPECT_EQ(list.Strings(index), "BRAVO");  // where it would be inserted
  EXPECT_EQ(list.IndexOf("ALPHA"), 0);
  EXPECT_EQ(list.IndexOf("echo"), -1);

  TStringList unsorted;
  for (const char* s : {"x", "Y", "z"}) unsorted.Add(s);
  EXPECT_EQ(unsorted.IndexOf("y"), 1);
  EXPECT_EQ(Texts(unsorted), (std::vector<std::string>{"x", "Y", "z"}));
}

TEST(StringList, DuplicatePolicies) {
  TStringList accept, ignore, error;
  for (TStringList* l : {&accept, &ignore, &error}) {
    l->SetSorted(true);
    l->Add("a");
    l->Add("b");
  }
  ignore.SetDuplicates(TDuplicates::dupIgnore);
  error.SetDuplicates(TDuplicates::dupError);

  accept.Add("B");
  EXPECT_EQ(accept.Count(), 3);
  EXPECT_EQ(ignore.Add("B"), 1);
  EXPECT_EQ(ignore.Count(), 2);
  EXPECT_EQ(ignore.Strings(1), "b");
  EXPECT_THROW(error.Add("B"), EStringListError);
  EXPECT_EQ(error.Count(), 2);
}

TEST(StringList, IndexOutOfRangeIsAnError) {
  TStringList list;
  list.Add("a");
  EXPECT_THROW(list.Delete(1), EStringListError);
  EXPECT_THROW(list.Strings(-1), EStringListError);
  EXPECT_EQ(list.Count(), 1);
}

TEST(OwningLists, FStringListFreesEveryObjectOnceWhenDestroyed) {
  int freed = 0;
  {
    TFStringList list;
    for (int i = 0; i < 5; ++i) list.AddObject(std::to_string(i), std::make_unique<Probe>(freed));
    list.Add("no object");
    EXPECT_EQ(freed, 0);
  }
  EXPECT_EQ(freed, 5);
}

TEST(OwningLists, FStringListClearAndDeleteFreeNothing) {
  int freed = 0;
  TFStringList list;
  list.AddObject("a", std::make_unique<Probe>(freed));
  list.AddObject("b", std::make_unique<Probe>(freed));
  // The caller keeps what plain Delete and Clear leave behind.
  std::unique_ptr<TObject> first(list.Objects(0));
  std::unique_ptr<TObject> second(list.Objects(1));
  list.Delete(0);
  EXPECT_EQ(freed, 0);
  list.Clear();
  EXPECT_EQ(freed, 0);
  EXPECT_EQ(list.Count(), 0);
  first.reset();
  second.reset();
  EXPECT_EQ(freed, 2);
}

TEST(OwningLists, FCStringListClearFreesOnceAndDestructionDoesNotRepeat) {
  int freed = 0;
  {
    TFCStringList list;
    for (int i = 0; i < 4; ++i) list.AddObject(std::to_string(i), std::make_unique<Probe>(freed));
    list.Clear();
    EXPECT_EQ(freed, 4);
    EXPECT_EQ(list.Count(), 0);
    list.AddObject("again", std::make_unique<Probe>(freed));
  }
  EXPECT_EQ(freed, 5);
}

TEST(OwningLists, LimitDropsTheFirstEntryWithItsObject) {
  int freed = 0;
  TFStringList list;
  list.SetLimit(3);
  EXPECT_TRUE(list.IsLimited());
  for (const char* s : {"one", "two", "three"}) list.AddObject(s, std::make_unique<Probe>(freed));
  EXPECT_EQ(freed, 0);
  list.AddObject("four", std::make_unique<Probe>(freed));
  EXPECT_EQ(freed, 1);
  EXPECT_EQ(Texts(list), (std::vector<std::string>{"two", "three", "four"}));
  list.Add("five");  // plain Add follows the limit rule too
  EXPECT_EQ(freed, 2);
  EXPECT_EQ(list.Count(), 3);
}

TEST(OwningLists, DeleteWithObjectAndDeleteFirst) {
  int freed = 0;
  TFStringList list;
  list.DeleteFirst();  // empty: nothing happens
  for (const char* s : {"a", "b", "c"}) list.AddObject(s, std::make_unique<Probe>(freed));
  list.DeleteWithObject(3);
  list.DeleteWithObject(-1);
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(freed, 0);
  list.DeleteWithObject(1);
  EXPECT_EQ(freed, 1);
  list.DeleteFirst();
  EXPECT_EQ(freed, 2);
  EXPECT_EQ(Texts(list), (std::vector<std::string>{"c"}));
}

TEST(OwningLists, AnObjectWithoutANewEntryIsFreedAndTheOldOneKept) {
  int freed = 0;
  TFCStringList ignore;
  ignore.SetSorted(true);
  ignore.SetDuplicates(TDuplicates::dupIgnore);
  ignore.AddObject("k", std::make_unique<Probe>(freed));
  TObject* kept = ignore.Objects(0);
  ignore.AddObject("K", std::make_unique<Probe>(freed));
  EXPECT_EQ(freed, 1);
  EXPECT_EQ(ignore.Objects(0), kept);

  TFCStringList error;
  error.SetSorted(true);
  error.SetDuplicates(TDuplicates::dupError);
  error.AddObject("k", new Probe(freed));
  EXPECT_THROW(error.AddObject("k", new Probe(freed)), EStringListError);
  EXPECT_EQ(freed, 2);
  EXPECT_EQ(error.Count(), 1);
}

}  // namespace
