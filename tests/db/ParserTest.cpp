// The layer's pure text work: named-parameter preprocessing, column naming,
// parameter blocks and the fixed client messages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "db/IB.h"
#include "db/ParamBlock.h"
#include "db/ParamParser.h"

namespace {

struct ParseCase {
  const char* label;
  std::string sql;
  std::string text;
  std::vector<std::string> names;
};

const ParseCase kParseCases[] = {
    {"one marker",
     "Select Count(EV_ID) from  EVENTS Where EV_DATE >= :EV_D\r\n",
     "Select Count(EV_ID) from  EVENTS Where EV_DATE >= ?\r\n",
     {"EV_D"}},
    {"same name twice", "WHERE A = :X OR B = :X\r\n", "WHERE A = ? OR B = ?\r\n", {"X", "X"}},
    {"question mark with name", "VALUES (?A, ?b)\r\n", "VALUES (?, ?)\r\n", {"A", "b"}},
    {"name characters", "= :a_1$Z+1\r\n", "= ?+1\r\n", {"a_1$Z"}},
    {"single quotes keep colons", "'a:b' = :P\r\n", "'a:b' = ?\r\n", {"P"}},
    {"double quotes keep colons", "\"a:b\" = :P\r\n", "\"a:b\" = ?\r\n", {"P"}},
    {"doubled quote stays in string", "'it''s :x' :y\r\n", "'it''s :x' ?\r\n", {"y"}},
    {"comment keeps colons", "/* :a */ :b\r\n", "/* :a */ ?\r\n", {"b"}},
    {"line comment does not protect", "-- :a\r\nSELECT 1\r\n", "-- ?\r\nSELECT 1\r\n", {"a"}},
    {"quoted name", ":\"My Name\" x\r\n", "? x\r\n", {"My Name"}},
    {"char after quoted name copied unexamined", ":\"N\"'x\r\n", "?'x\r\n", {"N"}},
    {"adjacent marker copied after first name", ":A:B\r\n", "?:B\r\n", {"A"}},
    {"look-ahead quote is not examined", ":A'b\r\n", "?'b\r\n", {"A"}},
    {"name at end of text", "= :LAST", "= ?", {"LAST"}},
    {"comment closing slash starts a new comment",
     "/* a */* b */ :c\r\n",
     "/* a */* b */ ?\r\n",
     {"c"}},
    {"no markers", "SELECT 1 FROM RDB$DATABASE\r\n", "SELECT 1 FROM RDB$DATABASE\r\n", {}},
};

class PreprocessTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(PreprocessTest, TextAndNames) {
  const ParseCase& c = GetParam();
  ib::ProcessedSql out = ib::PreprocessParams(c.sql);
  EXPECT_EQ(out.text, c.text);
  EXPECT_EQ(out.names, c.names);
}

INSTANTIATE_TEST_SUITE_P(Cases, PreprocessTest, ::testing::ValuesIn(kParseCases),
                         [](const auto& info) {
                           std::string name;
                           for (char ch : std::string(info.param.label))
                             name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
                           return name;
                         });

struct ParseErrorCase {
  std::string sql;
  std::string detail;
};

TEST(Preprocess, ParseErrorsCarryTheirDetail) {
  const ParseErrorCase cases[] = {
      {"SELECT 'abc\r\n", "EOF in string detected"},
      {"SELECT \"abc\r\n", "EOF in string detected"},
      {"SELECT 'it''", "EOF in string detected"},
      {"SELECT /* abc\r\n", "EOF in comment detected"},
      {"SELECT 1 /*", "EOF in comment detected"},
      {"WHERE A = ? AND B = 1\r\n", "Parameter name expected"},
      {"WHERE A = :(1)\r\n", "Parameter name expected"},
      {"WHERE A = ::B\r\n", "Parameter name expected"},
      {"WHERE A = :", "Parameter name expected"},
      {"WHERE A = :\"open", "EOF in string detected"},
  };
  for (const ParseErrorCase& c : cases) {
    try {
      ib::PreprocessParams(c.sql);
      ADD_FAILURE() << "no error for " << c.sql;
    } catch (const EIBClientError& e) {
      EXPECT_EQ(e.SQLCode(), ibxeSQLParseError) << c.sql;
      EXPECT_EQ(e.IBErrorCode(), 0);
      EXPECT_EQ(e.Message(), "SQL Parse Error:\r\n\r\n" + c.detail) << c.sql;
    }
  }
}

TEST(ColumnNames, AliasesCountersAndGeneratedNames) {
  using V = std::vector<std::string>;
  EXPECT_EQ(ib::ColumnNames({"ID", "ID", "ID"}), (V{"ID", "ID1", "ID2"}));
  EXPECT_EQ(ib::ColumnNames({"", ""}), (V{"F_1", "F_2"}));
  EXPECT_EQ(ib::ColumnNames({"F_1", ""}), (V{"F_1", "F_2"}));
  EXPECT_EQ(ib::ColumnNames({"name", "NAME"}), (V{"NAME", "NAME1"}));
  EXPECT_EQ(ib::ColumnNames({"ADD", "ADD1", "ADD"}), (V{"ADD", "ADD1", "ADD2"}));

  const std::string long31(31, 'A');
  V names = ib::ColumnNames({long31, long31});
  EXPECT_EQ(names[0], long31);
  EXPECT_EQ(names[1], std::string(30, 'A') + "1");
  std::vector<std::string> many(12, long31);
  names = ib::ColumnNames(many);
  EXPECT_EQ(names[11], std::string(29, 'A') + "11");
  for (const std::string& n : names) EXPECT_LE(n.size(), 31u);
}

TEST(ParamBlocks, ConnectBlockForTheProgramsParams) {
  std::vector<char> block =
      ib::BuildDatabaseParamBlock({"user_name=sysdba", "password=lockvault", "lc_ctype=WIN1251"});
  std::string expected =
      std::string("\x01") + "\x1C\x06sysdba" + "\x1D\x09lockvault" + "\x30\x07WIN1251";
  EXPECT_EQ(std::string(block.begin(), block.end()), expected);
}

TEST(ParamBlocks, ConnectBlockNamesValuesAndBlankLines) {
  // Names are case-insensitive and may carry the API prefix; the value is
  // everything after the first "="; blank names are skipped.
  std::vector<char> block =
      ib::BuildDatabaseParamBlock({"", "  ", "ISC_DPB_SQL_ROLE_NAME=a=b", "num_buffers=300"});
  std::string expected =
      std::string("\x01") + "\x3C\x03" + "a=b" + std::string("\x05\x04\x2C\x01\x00\x00", 6);
  EXPECT_EQ(std::string(block.begin(), block.end()), expected);
  EXPECT_THROW(ib::BuildDatabaseParamBlock({"no_such_param=1"}), EIBClientError);
  EXPECT_THROW(ib::BuildDatabaseParamBlock({"user_name=" + std::string(256, 'x')}), EIBClientError);
}

TEST(ParamBlocks, TransactionBlock) {
  auto bytes = [](const std::vector<std::string>& lines) {
    std::vector<char> b = ib::BuildTransactionParamBlock(lines);
    return std::string(b.begin(), b.end());
  };
  EXPECT_EQ(bytes({}), "");
  EXPECT_EQ(bytes({""}), "\x03");
  EXPECT_EQ(bytes({"read_committed", "rec_version", "nowait"}), "\x03\x0F\x11\x07");
  EXPECT_EQ(bytes({"isc_tpb_lock_read=T"}), "\x03\x0A\x01T");
  EXPECT_THROW(bytes({"sometimes"}), EIBClientError);
}

TEST(ClientErrors, NumbersAndMessages) {
  struct Expected {
    TIBClientError number;
    std::string arg;
    std::string message;
  };
  const Expected table[] = {
      {ibxeUnknownError, "", "Unknown error"},
      {ibxeIB60feature, "",
       "InterBase library gds32.dll not found in the path. Please install InterBase to use "
       "this functionality"},
      {ibxeNotSupported, "", "Unsupported feature"},
      {ibxeNotPermitted, "", "Not permitted"},
      {ibxeDatabaseClosed, "", "Cannot perform operation -- DB is not open"},
      {ibxeDatabaseOpen, "", "Cannot perform operation -- DB is currently open"},
      {ibxeDatabaseNameMissing, "", "Database name is missing"},
      {ibxeNotInTransaction, "", "Transaction is not active"},
      {ibxeInTransaction, "", "Transaction is active"},
      {ibxeNoDatabasesInTransaction, "", "No databases are listed in transaction component"},
      {ibxeDatabaseNotAssigned, "", "Database not assigned"},
      {ibxeTransactionNotAssigned, "", "Transaction not assigned"},
      {ibxeXSQLDAIndexOutOfRange, "", "XSQLDA index out of range"},
      {ibxeInvalidStatementHandle, "", "Invalid statement handle"},
      {ibxeSQLOpen, "", "IBSQL Open"},
      {ibxeSQLClosed, "", "IBSQL Closed"},
      {ibxeUnknownSQLDataType, "32764", "Unknown SQL Data type (32764)"},
      {ibxeInvalidDataConversion, "", "Invalid data conversion"},
      {ibxeEmptyQuery, "", "Empty query"},
      {ibxeFieldNotFound, "NAME", "Field \"NAME\" not found"},
      {ibxeSQLParseError, "x", "SQL Parse Error:\r\n\r\nx"},
  };
  for (const Expected& e : table) {
    try {
      IBError(e.number, e.arg);
    } catch (const EIBClientError& error) {
      EXPECT_EQ(error.Message(), e.message);
      EXPECT_EQ(error.SQLCode(), static_cast<int>(e.number));
      EXPECT_EQ(error.IBErrorCode(), 0);
    }
  }
}

}  // namespace
