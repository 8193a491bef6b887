// The check's row matching on real databases: source rows found under the
// keys the key map gives them in whatever order those keys come, rows of one
// key that are not unique, rows the run logged as failed, and how values of
// either side's types are compared.
#include <optional>

#include "tests/transfer/CopyFixture.h"
#include "transfer/CheckPasses.h"
#include "transfer/KeyMap.h"
#include "transfer/ReadOnlySession.h"

namespace copytest {
namespace {

using check::Key;
using check::PassResult;
using check::RowDifference;
using check::Value;

class CheckRows : public CopyTest {
 protected:
  // One table compared as the check compares a copy of it.
  PassResult Compare(const std::string& table, const std::string& keyColumn,
                     std::map<std::string, int> failed = {},
                     std::optional<std::pair<size_t, size_t>> entries = std::nullopt) {
    Disconnect();
    ReadOnlySession session(dm_.IBDatabase3, src_.string(), dst_.string());
    TIBSQL& source = session.Source().statement;
    TIBSQL& dest = session.Dest().statement;
    const std::vector<std::string> query = {"select * from " + table, " Order BY " + keyColumn};
    check::CopyColumns copy;
    {
      StatementBracket sourceBracket(source), destBracket(dest);
      source.SetSQL(query);
      source.Prepare();
      dest.SetSQL({"select * from " + table});
      dest.Prepare();
      copy = check::ColumnsOfCopy({table, keyColumn, false, true, {}}, source, dest);
    }
    if (entries) {
      copy.rule.positional = true;
      copy.rule.first = entries->first;
      copy.rule.count = entries->second;
    }
    std::vector<std::string> names;
    for (const check::ExpectedColumn& column : copy.columns) names.push_back(column.name);
    check::ValuePass pass(copy.columns, copy.rule, keyMap_);
    return check::MatchRows(source, dest, session.Dest().lookup,
                            {query, 0, table, copy.destKey, names}, pass, std::move(failed), 10);
  }

  void Map(int pair, const std::vector<std::pair<std::string, std::string>>& keys) {
    for (const auto& [oldKey, newKey] : keys) {
      keyMap_.Pair(pair).AppendOld(oldKey);
      keyMap_.Pair(pair).AppendNew(newKey);
    }
  }

  KeyMap keyMap_;
};

// New keys that come out of the source's order are looked up one by one; the
// rows the stream passed meanwhile are not taken for rows that should not be
// there. By position among the copy's key-map entries or by old key alike.
TEST_F(CheckRows, FindsNewKeysInAnyOrder) {
  MakeDatabases();
  Source(
      "INSERT INTO KRONTUR (KT_ID, KT_NUM, KT_NAME) VALUES (5, 1, 'a');"
      "INSERT INTO KRONTUR (KT_ID, KT_NUM, KT_NAME) VALUES (9, 2, 'b');"
      "INSERT INTO KRONTUR (KT_ID, KT_NUM, KT_NAME) VALUES (12, 3, 'c');"
      "INSERT INTO KRONTUR (KT_ID, KT_NUM, KT_NAME) VALUES (20, 4, 'd');");
  // 7 no source row became; 20's row (new key 8) is not there.
  Dest(
      "INSERT INTO KRONTUR (KT_ID, KT_NUM, KT_NAME) VALUES (3, 1, 'a');"
      "INSERT INTO KRONTUR (KT_ID, KT_NUM, KT_NAME) VALUES (1, 2, 'b');"
      "INSERT INTO KRONTUR (KT_ID, KT_NUM, KT_NAME) VALUES (4, 3, 'X');"
      "INSERT INTO KRONTUR (KT_ID, KT_NUM, KT_NAME) VALUES (7, 9, 'own');");
  // An earlier copy's entries come first.
  Map(keymap::kKrontur, {{"9", "99"}, {"5", "3"}, {"9", "1"}, {"12", "4"}, {"20", "8"}});

  struct Case {
    const char* name;
    std::optional<std::pair<size_t, size_t>> entries;
    long long arrived, missing;
  };
  const Case cases[] = {
      {"by position", std::pair<size_t, size_t>{1, 4}, 2, 1},
      // Positions that hold other keys: found by old key, the first entry for 9.
      {"by position, the positions off", std::pair<size_t, size_t>{0, 4}, 1, 2},
      {"by old key", std::nullopt, 1, 2},
      // The copy ended after two rows: the others never had a new key.
      {"by position, the copy cut short", std::pair<size_t, size_t>{1, 2}, 2, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const PassResult result = Compare("KRONTUR", "KT_ID", {}, c.entries);
    EXPECT_EQ(result.sourceRows, 4);
    EXPECT_EQ(result.arrived, c.arrived);
    EXPECT_EQ(result.missing, c.missing);
    EXPECT_EQ(result.failed, 0);
    EXPECT_EQ(result.destRows, 4);
    if (c.entries && c.entries->first == 1 && c.entries->second == 4) {
      EXPECT_EQ(result.differing, 1);
      EXPECT_EQ(result.destMatched, 3);
      EXPECT_EQ(result.unmatchedDestKeys, std::vector<std::string>{"7"});
      ASSERT_EQ(result.samples.size(), 2u);
      const RowDifference& changed = result.samples[0];
      EXPECT_EQ(changed.kind, RowDifference::Kind::Values);
      EXPECT_EQ(changed.sourceKey + ">" + changed.destKey, "12>4");
      ASSERT_EQ(changed.columns.size(), 1u);
      EXPECT_EQ(changed.columns[0].column, "KT_NAME");
      EXPECT_EQ(changed.columns[0].expected.text, "c");
      EXPECT_EQ(changed.columns[0].actual.text, "X");
      EXPECT_EQ(result.samples[1].kind, RowDifference::Kind::Missing);
      EXPECT_EQ(result.samples[1].sourceKey + ">" + result.samples[1].destKey, "20>8");
    }
  }
}

// A key that is itself a reference is found under its new value; rows of one
// key pair up by their values whatever their order; a row the run logged as
// failed leaves the destination's own row of that key alone, even one just
// like it (a second run over rows already copied).
TEST_F(CheckRows, PairsRowsOfOneKeyAndLeavesFailedOnesOut) {
  MakeDatabases();
  const std::string macros =
      "INSERT INTO MACROSES (MCR_ID, MCR_NAME) VALUES (%1, 'm');"
      "INSERT INTO MACROSES (MCR_ID, MCR_NAME) VALUES (%2, 'm');"
      "INSERT INTO MACROSES (MCR_ID, MCR_NAME) VALUES (%3, 'm');";
  auto with = [&](const std::string& a, const std::string& b, const std::string& c) {
    std::string text = macros;
    text.replace(text.find("%1"), 2, a);
    text.replace(text.find("%2"), 2, b);
    text.replace(text.find("%3"), 2, c);
    return text;
  };
  Source(with("1", "2", "3") +
         "INSERT INTO MAKROS_RIGHT VALUES (1, 'A', 1);"
         "INSERT INTO MAKROS_RIGHT VALUES (1, 'B', 0);"
         "INSERT INTO MAKROS_RIGHT VALUES (2, 'A', 1);"
         "INSERT INTO MAKROS_RIGHT VALUES (3, 'A', 1);"
         "INSERT INTO MAKROS_RIGHT VALUES (3, 'B', 0);");
  Dest(with("10", "20", "30") +
       "INSERT INTO MAKROS_RIGHT VALUES (10, 'B', 0);"
       "INSERT INTO MAKROS_RIGHT VALUES (10, 'A', 1);"
       "INSERT INTO MAKROS_RIGHT VALUES (20, 'A', 1);"
       "INSERT INTO MAKROS_RIGHT VALUES (30, 'A', 1);"
       "INSERT INTO MAKROS_RIGHT VALUES (30, 'B', 5);");
  Map(keymap::kMacroses, {{"1", "10"}, {"2", "20"}, {"3", "30"}});

  const PassResult result = Compare("MAKROS_RIGHT", "MR_MCR_ID", {{"2", 1}});
  EXPECT_EQ(result.sourceRows, 5);
  EXPECT_EQ(result.arrived, 3);
  EXPECT_EQ(result.failed, 1);
  EXPECT_EQ(result.differing, 1);
  EXPECT_EQ(result.missing, 0);
  EXPECT_EQ(result.destRows, 5);
  EXPECT_EQ(result.destMatched, 4);
  EXPECT_EQ(result.unmatchedDestKeys, std::vector<std::string>{"20"});
  ASSERT_EQ(result.samples.size(), 1u);
  EXPECT_EQ(result.samples[0].sourceKey, "3");
  ASSERT_EQ(result.samples[0].columns.size(), 1u);
  EXPECT_EQ(result.samples[0].columns[0].column, "MR_RIGHT");
  EXPECT_EQ(result.samples[0].columns[0].actual.text, "5");
}

TEST(CheckValues, CompareByTheirKind) {
  const check::Comparison exact, numeric{true, false}, padded{false, true};
  const Value null;
  struct Case {
    Value expected, actual;
    check::Comparison how;
    bool same;
  };
  const Case cases[] = {
      {null, null, exact, true},
      {null, Value::Of(""), exact, false},
      {Value::Of("12,5"), Value::Of("12.50"), numeric, true},
      {Value::Of("12,5"), Value::Of("12.51"), numeric, false},
      {Value::Of("12,5"), Value::Of("12.50"), exact, false},
      {Value::Of("1e300"), Value::Of("1.0000000000001e300"), numeric, true},
      {Value::Of("abc"), Value::Of("abc   "), padded, true},
      {Value::Of("abc"), Value::Of("abc   "), exact, false},
      {Value::Of(" abc"), Value::Of("abc"), padded, false},
      {Value::Of(std::string("a\0b", 3)), Value::Of(std::string("a\0c", 3)), exact, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected.text + " / " + c.actual.text);
    EXPECT_EQ(check::SameValue(c.expected, c.actual, c.how), c.same);
  }
  EXPECT_TRUE(check::ComparisonOf(SQL_TYPE_SHORT, SQL_TYPE_DOUBLE).numeric);
  EXPECT_FALSE(check::ComparisonOf(SQL_TYPE_VARYING, SQL_TYPE_LONG).numeric);
  EXPECT_TRUE(check::ComparisonOf(SQL_TYPE_TEXT, SQL_TYPE_VARYING).padded);
}

// Keys sort as the destination sorts them: numbers by value, before any text.
TEST(CheckValues, KeysSortAsTheDestinationSortsThem) {
  auto key = [](const char* text) { return *Key::Of(Value::Of(text)); };
  EXPECT_LT(key("9"), key("10"));
  EXPECT_LT(key("-3"), key("2"));
  EXPECT_EQ(key("10"), Key::Number(10));
  EXPECT_LT(key("99"), key("A"));
  EXPECT_LT(key("AB"), key("B"));
  EXPECT_EQ(key("AB  "), key("AB"));
  EXPECT_LT(key("Z"), key("\xC0"));  // windows-1251 letters after ASCII
  EXPECT_FALSE(Key::Of(Value{}).has_value());
}

}  // namespace
}  // namespace copytest
