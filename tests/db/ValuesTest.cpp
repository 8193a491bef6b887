// Reading columns and assigning parameters: the conversions the transfer uses.
#include <gtest/gtest.h>

#include <string>

#include "Fixture.h"
#include "text/Cp1251.h"
#include "text/Regional.h"

namespace dbtest {
namespace {

const char* kSchema =
    "CREATE TABLE V (ID INTEGER NOT NULL PRIMARY KEY, C CHAR(10), VC VARCHAR(10), "
    "N NUMERIC(9,2), D NUMERIC(15,2), F DOUBLE PRECISION, S SMALLINT, DT DATE, "
    "B BLOB SUB_TYPE 1, R BLOB SUB_TYPE 0);\n"
    "INSERT INTO V (ID, C, VC, N, D, F, S) VALUES (1, 'AB', 'AB  ', 12.99, 12.5, 5000000000, 7);\n"
    "INSERT INTO V (ID, C, VC, N, D, F, S) VALUES (2, '42', ' 42', -12.99, -0.25, -3.75, -7);\n"
    "INSERT INTO V (ID) VALUES (3);\n";

class ValuesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    text::Regional() = text::RegionalSettings{};  // dd.MM.yyyy HH:mm:ss, decimal comma
  }

  // Runs `query` for one row and hands the statement to `check`.
  template <typename F>
  void Row(const std::string& query, F check) {
    StatementBracket bracket(c_.sql);
    c_.sql.SQLClear();
    c_.sql.SQLAdd(query);
    c_.sql.Execute();
    ASSERT_FALSE(c_.sql.AtEnd()) << query;
    check(c_.sql);
    c_.sql.Close();
  }

  TempDatabase db_{kSchema};
  Connection c_{db_.Path()};
};

int ClientNumber(const std::function<void()>& f) {
  try {
    f();
  } catch (const EIBClientError& e) {
    return e.SQLCode();
  }
  return -1;
}

TEST_F(ValuesTest, CharLosesTrailingBlanksVarcharKeepsThem) {
  Row("SELECT C, VC FROM V WHERE ID = 1", [](TIBSQL& s) {
    EXPECT_EQ(s.Column(0).SQLType(), SQL_TYPE_TEXT);
    EXPECT_EQ(s.Column(0).GetText(), "AB");
    EXPECT_EQ(s.Column(1).SQLType(), SQL_TYPE_VARYING);
    EXPECT_EQ(s.Column(1).GetText(), "AB  ");
  });
}

TEST_F(ValuesTest, GetIntegerTruncatesTowardZero) {
  Row("SELECT N, D, F, S FROM V WHERE ID = 1", [](TIBSQL& s) {
    EXPECT_EQ(s.Column(0).SQLScale(), -2);
    EXPECT_EQ(s.Column(0).GetInteger(), 12);
    EXPECT_EQ(s.Column(1).SQLType(), SQL_TYPE_DOUBLE) << "NUMERIC(15,2) is a double in dialect 1";
    EXPECT_EQ(s.Column(1).GetInteger(), 12);
    EXPECT_EQ(s.Column(3).GetInteger(), 7);
  });
  Row("SELECT N, D, F, S FROM V WHERE ID = 2", [](TIBSQL& s) {
    EXPECT_EQ(s.Column(0).GetInteger(), -12);
    EXPECT_EQ(s.Column(1).GetInteger(), 0);
    EXPECT_EQ(s.Column(2).GetInteger(), -3);
    EXPECT_EQ(s.Column(3).GetInteger(), -7);
  });
}

TEST_F(ValuesTest, NullReadsAsZeroAndEmptyText) {
  Row("SELECT N, C, VC, DT, B FROM V WHERE ID = 3", [](TIBSQL& s) {
    for (int i = 0; i < 5; ++i) {
      EXPECT_TRUE(s.Column(i).IsNull()) << i;
      EXPECT_EQ(s.Column(i).GetText(), "") << i;
    }
    EXPECT_EQ(s.Column(0).GetInteger(), 0);
    EXPECT_EQ(s.Column(1).GetInteger(), 0);
  });
}

TEST_F(ValuesTest, TextToIntegerAndFailedConversions) {
  Row("SELECT C, VC FROM V WHERE ID = 2", [](TIBSQL& s) {
    EXPECT_EQ(s.Column(0).GetInteger(), 42);
    EXPECT_EQ(s.Column(1).GetInteger(), 42);
  });
  Row("SELECT C, F, DT FROM V WHERE ID = 1", [](TIBSQL& s) {
    EXPECT_EQ(ClientNumber([&] { s.Column(0).GetInteger(); }), 38);
    // 5e9 does not fit 32 bits; it is refused instead of wrapping to another number.
    EXPECT_EQ(ClientNumber([&] { s.Column(1).GetInteger(); }), 38);
  });
}

TEST_F(ValuesTest, NumbersAsTextFollowRegionalSettings) {
  Row("SELECT N, D, F, S, CAST(1 AS NUMERIC(9,4)) / 3 FROM V WHERE ID = 1", [](TIBSQL& s) {
    EXPECT_EQ(s.Column(0).GetText(), "12,99");
    EXPECT_EQ(s.Column(1).GetText(), "12,5");
    EXPECT_EQ(s.Column(2).GetText(), "5000000000");
    EXPECT_EQ(s.Column(3).GetText(), "7");
  });
  text::Regional().decimalSeparator = '.';
  Row("SELECT N, D FROM V WHERE ID = 2", [](TIBSQL& s) {
    EXPECT_EQ(s.Column(0).GetText(), "-12.99");
    EXPECT_EQ(s.Column(1).GetText(), "-0.25");
  });
}

TEST_F(ValuesTest, DateTimeRoundTrip) {
  text::DateTimeParts parts;
  parts.year = 2026, parts.month = 12, parts.day = 6, parts.hour = 17, parts.minute = 33,
  parts.second = 49;
  {
    StatementBracket bracket(c_.sql);
    c_.sql.SQLAdd("UPDATE V SET DT = :DT WHERE ID = :ID");
    c_.sql.ParamByName("DT").SetDateTime(text::EncodeDateTime(parts));
    c_.sql.ParamByName("ID").SetInteger(1);
    c_.sql.Execute();
    c_.sql.SQLClear();
    c_.sql.SQLAdd("UPDATE V SET DT = :DT WHERE ID = 2");
    c_.sql.ParamByName("DT").SetText("07.01.2027");
    c_.sql.Execute();
  }
  Row("SELECT DT FROM V WHERE ID = 1", [](TIBSQL& s) {
    EXPECT_EQ(s.Column(0).SQLType(), SQL_TYPE_TIMESTAMP);
    EXPECT_EQ(s.Column(0).GetText(), "06.12.2026 17:33:49");
  });
  Row("SELECT DT FROM V WHERE ID = 2", [](TIBSQL& s) {
    EXPECT_EQ(s.Column(0).GetText(), "07.01.2027") << "midnight shows the date only";
  });
}

TEST_F(ValuesTest, SetTextByParameterType) {
  {
    StatementBracket bracket(c_.sql);
    c_.sql.SQLAdd("UPDATE V SET N = :N, S = :S, DT = :DT, VC = :VC, C = :C WHERE ID = 3");
    c_.sql.ParamByName("N").SetText("3.5");  // the engine converts numbers from text
    c_.sql.ParamByName("S").SetText("");     // empty text on a number is null
    c_.sql.ParamByName("DT").SetText("31.01.2020 10:00:01");
    c_.sql.ParamByName("VC").SetText("xyz");
    c_.sql.ParamByName("C").SetText("");  // an empty text is a value, not null
    EXPECT_EQ(c_.sql.ParamByName("C").SQLLen(), 0);
    EXPECT_EQ(c_.sql.ParamByName("VC").SQLType(), SQL_TYPE_TEXT);
    EXPECT_EQ(c_.sql.ParamByName("VC").SQLLen(), 3);
    EXPECT_EQ(ClientNumber([&] { c_.sql.ParamByName("DT").SetText("not a date"); }), 38);
    c_.sql.ParamByName("DT").SetText("31.01.2020 10:00:01");
    c_.sql.Execute();
  }
  Row("SELECT N, S, DT, VC, C FROM V WHERE ID = 3", [](TIBSQL& s) {
    EXPECT_EQ(s.Column(0).GetText(), "3,5");
    EXPECT_TRUE(s.Column(1).IsNull());
    EXPECT_EQ(s.Column(2).GetText(), "31.01.2020 10:00:01");
    EXPECT_EQ(s.Column(3).GetText(), "xyz");
    EXPECT_FALSE(s.Column(4).IsNull());
    EXPECT_EQ(s.Column(4).GetText(), "");
  });
}

TEST_F(ValuesTest, SameNameParametersShareOneValue) {
  StatementBracket bracket(c_.sql);
  c_.sql.SQLAdd("SELECT COUNT(*) FROM V WHERE ID = :x OR ID + 1 = :X");
  ASSERT_EQ(c_.sql.ParamCount(), 2);
  EXPECT_EQ(c_.sql.Param(0).Name(), "X");
  EXPECT_EQ(c_.sql.Param(1).Name(), "X");
  c_.sql.Param(1).SetInteger(2);  // ID = 2 or ID = 1
  EXPECT_EQ(c_.sql.Param(0).GetInteger(), 2);
  c_.sql.Execute();
  EXPECT_EQ(c_.sql.Column(0).GetInteger(), 2);
  c_.sql.Close();

  c_.sql.Param(0).SetNull(true);
  EXPECT_TRUE(c_.sql.Param(1).IsNull());
  c_.sql.Param(0).SetInteger(1);
  EXPECT_FALSE(c_.sql.Param(1).IsNull()) << "a value clears null on every parameter of the name";
  c_.sql.Execute();
  EXPECT_EQ(c_.sql.Column(0).GetInteger(), 1);
  c_.sql.Close();
}

TEST_F(ValuesTest, SetNullAndNullRoundTrip) {
  {
    StatementBracket bracket(c_.sql);
    c_.sql.SQLAdd("UPDATE V SET C = :C, N = :N WHERE ID = 1");
    c_.sql.ParamByName("C").SetText("x");
    c_.sql.ParamByName("C").SetNull(true);
    c_.sql.ParamByName("N").SetNull(true);
    c_.sql.ParamByName("N").SetNull(false);  // back to the zero value
    EXPECT_TRUE(c_.sql.ParamByName("C").IsNull());
    EXPECT_TRUE(c_.sql.ParamByName("C").Modified());
    c_.sql.Execute();
  }
  Row("SELECT C, N FROM V WHERE ID = 1", [](TIBSQL& s) {
    EXPECT_TRUE(s.Column(0).IsNull());
    EXPECT_FALSE(s.Column(1).IsNull());
    EXPECT_EQ(s.Column(1).GetText(), "0");
  });
}

TEST_F(ValuesTest, SetVariantKinds) {
  {
    StatementBracket bracket(c_.sql);
    c_.sql.SQLAdd(
        "UPDATE V SET S = :S, F = :F, N = :N, DT = :DT, VC = :VC, C = :C, D = :D WHERE ID = 3");
    TVariant v;
    v.kind = TVariant::Boolean, v.integer = 5;
    c_.sql.ParamByName("S").SetVariant(v);
    v = {}, v.kind = TVariant::Double, v.number = 2.25;
    c_.sql.ParamByName("F").SetVariant(v);
    v = {}, v.kind = TVariant::Currency, v.integer = 123456;  // 12.3456
    c_.sql.ParamByName("N").SetVariant(v);
    EXPECT_EQ(c_.sql.ParamByName("N").SQLScale(), -4);
    v = {}, v.kind = TVariant::Date, v.number = 45000.5;
    c_.sql.ParamByName("DT").SetVariant(v);
    v = {}, v.kind = TVariant::Text, v.text = "txt";
    c_.sql.ParamByName("VC").SetVariant(v);
    v = {}, v.kind = TVariant::Null;
    c_.sql.ParamByName("C").SetVariant(v);
    v = {}, v.kind = TVariant::Integer, v.integer = 7;
    c_.sql.ParamByName("D").SetVariant(v);
    v = {}, v.kind = TVariant::Interface;
    EXPECT_EQ(ClientNumber([&] { c_.sql.ParamByName("D").SetVariant(v); }), 5);
    v.kind = TVariant::Array;
    EXPECT_EQ(ClientNumber([&] { c_.sql.ParamByName("D").SetVariant(v); }), 4);
    c_.sql.Execute();
  }
  Row("SELECT S, F, N, DT, VC, C, D FROM V WHERE ID = 3", [](TIBSQL& s) {
    EXPECT_EQ(s.Column(0).GetInteger(), 1);
    EXPECT_EQ(s.Column(1).GetText(), "2,25");
    EXPECT_EQ(s.Column(2).GetText(), "12,35");
    EXPECT_EQ(s.Column(3).GetText(), "15.03.2023 12:00:00");
    EXPECT_EQ(s.Column(4).GetText(), "txt");
    EXPECT_TRUE(s.Column(5).IsNull());
    EXPECT_EQ(s.Column(6).GetInteger(), 7);
  });
}

TEST_F(ValuesTest, Windows1251TextRoundTrip) {
  const std::string word = text::Cp1251FromUtf8("Проверка");
  ASSERT_EQ(word.size(), 8u);
  {
    StatementBracket bracket(c_.sql);
    c_.sql.SQLAdd("UPDATE V SET VC = :T, C = :T, B = :T WHERE ID = 3");
    c_.sql.ParamByName("T").SetText(word);
    c_.sql.Execute();
  }
  Row("SELECT VC, C, B, CHAR_LENGTH(VC), UPPER(VC) FROM V WHERE ID = 3", [&](TIBSQL& s) {
    EXPECT_EQ(s.Column(0).GetText(), word);
    EXPECT_EQ(s.Column(1).GetText(), word);
    EXPECT_EQ(s.Column(2).GetText(), word);
    EXPECT_EQ(s.Column(3).GetInteger(), 8) << "stored as WIN1251, one byte a letter";
    EXPECT_EQ(s.Column(4).GetText(), text::Cp1251FromUtf8("ПРОВЕРКА"));
  });
}

TEST_F(ValuesTest, TooLongTextFailsAtExecute) {
  StatementBracket bracket(c_.sql);
  c_.sql.SQLAdd("UPDATE V SET VC = :VC WHERE ID = 3");
  c_.sql.ParamByName("VC").SetText("eleven char");
  EXPECT_THROW(c_.sql.Execute(), EIBInterBaseError);
}

TEST_F(ValuesTest, ResetParamsBehavesLikeAFreshPrepare) {
  // Row by row once with a statement prepared per row, once with one statement
  // reset between rows: the tables must end up the same.
  const std::string insert = "INSERT INTO V (ID, C, VC, N, DT) VALUES (:ID, :C, :VC, :N, :DT)";
  auto fill = [&](int id, bool full) {
    c_.sql.ParamByName("ID").SetInteger(id);
    if (!full) return;
    c_.sql.ParamByName("C").SetText("full");
    c_.sql.ParamByName("VC").SetNull(true);
    c_.sql.ParamByName("N").SetText("1.25");
    c_.sql.ParamByName("DT").SetDateTime(40000);
  };
  {
    StatementBracket bracket(c_.sql);
    for (int id : {10, 11}) {
      c_.sql.SQLClear();
      c_.sql.SQLAdd(insert);
      fill(id, id == 10);
      c_.sql.Execute();
    }
    c_.sql.SQLClear();
    c_.sql.SQLAdd(insert);
    c_.sql.Prepare();
    for (int id : {20, 21}) {
      c_.sql.ResetParams();
      fill(id, id == 20);
      c_.sql.Execute();
    }
    EXPECT_EQ(c_.sql.ParamByName("N").SQLType(), SQL_TYPE_LONG);
    c_.sql.ResetParams();
    EXPECT_EQ(c_.sql.ParamByName("C").SQLType(), SQL_TYPE_TEXT);
    EXPECT_EQ(c_.sql.ParamByName("C").SQLLen(), 10) << "the described length is back";
    EXPECT_EQ(c_.sql.ParamByName("VC").SQLType(), SQL_TYPE_VARYING);
    EXPECT_FALSE(c_.sql.ParamByName("VC").IsNull());
    EXPECT_FALSE(c_.sql.ParamByName("VC").Modified());
  }
  auto rows = Query(c_.sql,
                    "SELECT ID, C, COALESCE(VC, 'null'), N, COALESCE(DT, 'now') FROM V "
                    "WHERE ID >= 10 ORDER BY ID");
  ASSERT_EQ(rows.size(), 4u);
  for (size_t col = 1; col < rows[0].size(); ++col) {
    EXPECT_EQ(rows[0][col], rows[2][col]) << "column " << col;
    EXPECT_EQ(rows[1][col], rows[3][col]) << "column " << col;
  }
  // Unset parameters hold zero bytes and are not null, as right after Prepare.
  EXPECT_EQ(rows[1][1], std::string(10, '\0'));
  EXPECT_EQ(rows[1][2], "");
}

}  // namespace
}  // namespace dbtest
