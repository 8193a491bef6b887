// The macro and reader-rights rewriter on bare text, against a small key map.
#include <gtest/gtest.h>

#include "text/Trim.h"
#include "transfer/KeyMap.h"
#include "transfer/Peregonner.h"

namespace {

KeyMap SampleKeyMap() {
  KeyMap map;
  auto add = [&map](int pair, const char* oldKey, const char* newKey) {
    map.Pair(pair).AppendOld(oldKey);
    map.Pair(pair).AppendNew(newKey);
  };
  add(keymap::kReaders, "15", "40");
  add(keymap::kReaders, "12", "30");
  add(keymap::kInputs, "123", "200");
  add(keymap::kOutputs, "40", "41");
  // The same old key in another pair must not leak into a reader lookup.
  add(keymap::kSlaves, "16", "77");
  return map;
}

struct LineCase {
  const char* line;
  const char* expected;
};

class MacroLineTest : public testing::TestWithParam<LineCase> {};

TEST_P(MacroLineTest, RewritesThroughTheKeyMap) {
  const KeyMap map = SampleKeyMap();
  Tperegonner macro(map);
  macro.Lines = {GetParam().line};
  macro.RewriteMacroLine(0);
  EXPECT_EQ(macro.Lines[0], GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Numeric, MacroLineTest,
                         testing::Values(LineCase{"24;0;6;15;0;1;", "24;0;6;40;0;1;"},
                                         LineCase{"24;0;6;16;0;1;", "24;0;6;-1;0;1;"},
                                         LineCase{"3;0;5;007;1;", "3;0;5;7;1;"},
                                         LineCase{"24;0;262;15;0;1;", "24;0;262;40;0;1;"},
                                         LineCase{"1;0;-250;15;", "1;0;-250;40;"},
                                         LineCase{"22;0;7;40;0;1;", "22;0;7;41;0;1;"},
                                         LineCase{"24;0;8;123;0;1;", "24;0;8;200;0;1;"},
                                         LineCase{"A;B;6;15;", "A;B;6;40;"},
                                         // 20 characters: still numeric.
                                         LineCase{"24;0;6;15;0;1;123456", "24;0;6;40;0;1;123456"},
                                         LineCase{"5:123:3:x:y:PutInAT:", "5:123:3:x:y:PutInAT:"}));

INSTANTIATE_TEST_SUITE_P(Named, MacroLineTest,
                         testing::Values(LineCase{"5:123:3:x:y:TakeInAT:", "24;0;8;200;0;1;0;"},
                                         LineCase{"5:123:3:x:y:PutInAT:extra", "24;0;8;200;0;1;1;"},
                                         LineCase{"9:123:5:aa:bb:ResetInAT:", "26;0;8;200;0;5;"},
                                         LineCase{"7:40:1:aa:bb:ResetUU:", "22;0;7;41;0;0;"},
                                         LineCase{"7:40:9:aa:bb:xxActUUCTimeyy:", "22;0;7;41;0;1;"},
                                         LineCase{"7:99:1:aa:bb:ActUUReset:", "22;0;7;-1;0;2;"},
                                         LineCase{"1:15:0:aa:bb:EnableAcWish:", "32;0;6;40;0;2;"},
                                         LineCase{"1:15:0:aa:bb:DisAcWish:", "32;0;6;40;0;2;"},
                                         LineCase{"1:15:3:aa:bb:SetAcMode:", "32;0;6;40;0;3;"},
                                         LineCase{"1:15:3:aa:bb:SetPrmsAcMode:", "32;0;6;40;0;2;"},
                                         LineCase{"1:15:3:aa:bb:DisAcQuery:", "32;0;6;40;0;2;"},
                                         LineCase{"1:15:3:aa:bb:EnableAcQuery:", "32;0;6;40;0;2;"},
                                         LineCase{"1:12:3:aa:bb:ResetAlrm:", "27;0;6;30;0;1;"},
                                         LineCase{"5:123:3:xxxx:yyyy:Hello:", "5;0;;123;0;3;"},
                                         // 21 characters: named, and without six ":" left alone.
                                         LineCase{"24;0;6;15;0;1;1234567",
                                                  "24;0;6;15;0;1;1234567"}));

INSTANTIATE_TEST_SUITE_P(
    LeftUnchanged, MacroLineTest,
    testing::Values(LineCase{"", ""}, LineCase{"24;0;6", "24;0;6"},
                    LineCase{"24;0;6;15", "24;0;6;15"}, LineCase{"24;0;6;x5;0;", "24;0;6;x5;0;"},
                    LineCase{"24;0;;15;0;", "24;0;;15;0;"}, LineCase{"24;0;6;;0;", "24;0;6;;0;"},
                    LineCase{"5:123:3:x:y:TakeInATxxx", "5:123:3:x:y:TakeInATxxx"},
                    LineCase{"5:abc:3:x:y:TakeInAT:", "5:abc:3:x:y:TakeInAT:"},
                    LineCase{"::3:xxxxxx:yyy:TakeInAT:", "::3:xxxxxx:yyy:TakeInAT:"}));

class RightsLineTest : public testing::TestWithParam<LineCase> {};

TEST_P(RightsLineTest, RewritesTheReaderKey) {
  const KeyMap map = SampleKeyMap();
  Tperegonner rights(map);
  rights.Lines = {GetParam().line};
  rights.RewriteRightsLine(0);
  EXPECT_EQ(rights.Lines[0], GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Rights, RightsLineTest,
                         testing::Values(LineCase{"abc]12", "abc]30"}, LineCase{"12", "30"},
                                         LineCase{"abc]16", "abc]-1"},
                                         LineCase{"x]000000000000000000129", "x]30"}));

TEST(RightsLine, KeyPartThatIsNoIntegerRaisesAConversionError) {
  const KeyMap map = SampleKeyMap();
  for (const char* line : {"abc]", "a]b]12", ""}) {
    Tperegonner rights(map);
    rights.Lines = {line};
    EXPECT_THROW(rights.RewriteRightsLine(0), text::EConvertError) << line;
  }
}

TEST(Peregonner, RewritesEveryLineOfAText) {
  const KeyMap map = SampleKeyMap();
  Tperegonner macro(map);
  macro.LoadFromText("24;0;6;15;0;1;\r\n\r\n7:40:1:aa:bb:ResetUU:\r\n24;0;8;123;0;1;");
  macro.RewriteMacro();
  EXPECT_EQ(macro.SaveToText(), "24;0;6;40;0;1;\r\n\r\n22;0;7;41;0;0;\r\n24;0;8;200;0;1;\r\n");

  Tperegonner rights(map);
  rights.LoadFromText("u]12\nu]15\n");
  rights.RewriteRights();
  EXPECT_EQ(rights.Lines, (std::vector<std::string>{"u]30", "u]40"}));
}

TEST(Peregonner, SplitsAtEveryKindOfLineBreak) {
  const KeyMap map;
  const struct {
    const char* text;
    std::vector<std::string> lines;
  } cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\n", {"a"}},
      {"a\r\nb", {"a", "b"}},
      {"a\rb\nc\r\n", {"a", "b", "c"}},
      {"a\r\n\r\nb", {"a", "", "b"}},
      {"a\n\r", {"a", ""}},
      {"\r\n", {""}},
  };
  for (const auto& c : cases) {
    Tperegonner text(map);
    text.LoadFromText(c.text);
    EXPECT_EQ(text.Lines, c.lines) << c.text;
  }
}

TEST(Peregonner, SavesEveryLineWithCrLf) {
  const KeyMap map;
  Tperegonner text(map);
  EXPECT_EQ(text.SaveToText(), "");
  text.Lines = {"a", "", "b"};
  EXPECT_EQ(text.SaveToText(), "a\r\n\r\nb\r\n");
}

TEST(PeregonnerList, OwnsItsItemsAndAnswersNoneOutsideItsRange) {
  const KeyMap map;
  TPeregonnerList list;
  list.Add(nullptr);
  EXPECT_EQ(list.Count(), 0);
  auto first = std::make_unique<Tperegonner>(map);
  first->Name = "first";
  list.Add(std::move(first));
  list.Add(std::make_unique<Tperegonner>(map));
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Items(0)->Name, "first");
  EXPECT_NE(list.Items(1), nullptr);
  EXPECT_EQ(list.Items(-1), nullptr);
  EXPECT_EQ(list.Items(2), nullptr);
}

}  // namespace
