// Blobs and the column-to-parameter copy, also from one database file into
// another as the table copy does it.
#include <gtest/gtest.h>

#include <string>

#include "Fixture.h"

namespace dbtest {
namespace {

const char* kSourceSchema =
    "CREATE TABLE SRC (ID INTEGER NOT NULL PRIMARY KEY, NAME VARCHAR(20), CODE CHAR(5), "
    "AMOUNT NUMERIC(9,2), DT DATE, N INTEGER, MEMO BLOB SUB_TYPE 1, DATA BLOB SUB_TYPE 0);\n";
// The destination differs in types, as destinations of older or newer versions do.
const char* kDestinationSchema =
    "CREATE TABLE SRC (ID INTEGER NOT NULL PRIMARY KEY, NAME CHAR(20), CODE VARCHAR(5), "
    "AMOUNT NUMERIC(15,2), DT DATE, N INTEGER, MEMO BLOB SUB_TYPE 1, DATA BLOB SUB_TYPE 0, "
    "NOTE VARCHAR(40));\n";

std::string Binary(size_t size) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + i / 256) % 256);
  return bytes;
}

class BlobTest : public ::testing::Test {
 protected:
  TempDatabase sourceDb_{kSourceSchema, "source.fdb"};
  TempDatabase destinationDb_{kDestinationSchema, "destination.fdb"};
  Connection source_{sourceDb_.Path()};
  Connection destination_{destinationDb_.Path()};

  void InsertSource(int id, const std::string& memo, const std::string& data) {
    StatementBracket bracket(source_.sql);
    source_.sql.SQLClear();
    source_.sql.SQLAdd(
        "INSERT INTO SRC (ID, NAME, CODE, AMOUNT, DT, N, MEMO, DATA) "
        "VALUES (:ID, 'name', 'ab', 12.34, '2024-03-05 06:07:08', NULL, :MEMO, :DATA)");
    source_.sql.ParamByName("ID").SetInteger(id);
    source_.sql.ParamByName("MEMO").SetText(memo);
    source_.sql.ParamByName("DATA").WriteBlobFrom(data);
    source_.sql.Execute();
  }

  std::string ReadBlob(Connection& c, const std::string& column, int id) {
    StatementBracket bracket(c.sql);
    c.sql.SQLClear();
    c.sql.SQLAdd("SELECT " + column + " FROM SRC WHERE ID = " + std::to_string(id));
    c.sql.Execute();
    EXPECT_FALSE(c.sql.AtEnd());
    std::string content = "prefix:";
    c.sql.Column(0).ReadBlobTo(content);
    c.sql.Close();
    return content.substr(7);
  }
};

TEST_F(BlobTest, WriteAndReadOverManySegments) {
  const std::string data = Binary(16384 * 3 + 1);
  InsertSource(1, "memo", data);
  EXPECT_EQ(ReadBlob(source_, "DATA", 1), data);
  EXPECT_EQ(ReadBlob(source_, "MEMO", 1), "memo");
  auto rows = Query(source_.sql, "SELECT OCTET_LENGTH(DATA), MEMO FROM SRC");
  EXPECT_EQ(rows[0][0], std::to_string(data.size()));
  EXPECT_EQ(rows[0][1], "memo") << "a blob column reads as its content";
}

TEST_F(BlobTest, EmptyBlobIsEmptyNotNull) {
  InsertSource(1, "", "");
  auto rows = Query(source_.sql, "SELECT COALESCE(OCTET_LENGTH(DATA), -1) FROM SRC");
  EXPECT_EQ(rows[0][0], "0");
}

TEST_F(BlobTest, WriteBlobIntoNonBlobParameterFails) {
  StatementBracket bracket(source_.sql);
  source_.sql.SQLAdd("UPDATE SRC SET NAME = :NAME");
  try {
    source_.sql.ParamByName("NAME").WriteBlobFrom("x");
    FAIL() << "written";
  } catch (const EIBClientError& e) {
    EXPECT_EQ(e.Message(), "Invalid data conversion");
  }
}

TEST_F(BlobTest, RowsCopyFromOneFileIntoAnother) {
  const std::string data = Binary(40000);
  const std::string memo(20000, 'm');
  InsertSource(1, memo, data);
  InsertSource(2, "short", std::string("\0\1\2", 3));

  // As the table copy: a source bracket with a destination bracket inside it,
  // the insert prepared once and reset for every row.
  StatementBracket sourceBracket(source_.sql);
  source_.sql.SQLClear();
  source_.sql.SQLAdd("SELECT ID, NAME, CODE, AMOUNT, DT, N, MEMO, DATA FROM SRC ORDER BY ID");
  source_.sql.Execute();
  StatementBracket destinationBracket(destination_.sql);
  destination_.sql.SQLAdd(
      "INSERT INTO SRC (ID, NAME, CODE, AMOUNT, DT, N, MEMO, DATA) "
      "VALUES (:ID, :NAME, :CODE, :AMOUNT, :DT, :N, :MEMO, :DATA)");
  destination_.sql.Prepare();
  int copied = 0;
  for (; !source_.sql.AtEnd(); source_.sql.FetchNext()) {
    destination_.sql.ResetParams();
    for (int i = 0; i < source_.sql.ColumnCount(); ++i) {
      TIBXSQLVAR& column = source_.sql.Column(i);
      destination_.sql.ParamByName(column.Name()).AssignFrom(column);
    }
    destination_.sql.Execute();
    ++copied;
  }
  source_.sql.Close();
  destinationBracket.Close();
  sourceBracket.Close();
  EXPECT_EQ(copied, 2);

  EXPECT_EQ(ReadBlob(destination_, "DATA", 1), data);
  EXPECT_EQ(ReadBlob(destination_, "MEMO", 1), memo);
  EXPECT_EQ(ReadBlob(destination_, "DATA", 2), std::string("\0\1\2", 3));
  auto rows = Query(destination_.sql,
                    "SELECT NAME, CODE, AMOUNT, DT, COALESCE(N, -1) FROM SRC WHERE ID = 1");
  EXPECT_EQ(rows[0][0], "name");
  EXPECT_EQ(rows[0][1], "ab   ") << "CHAR(5) bytes, blanks included, into VARCHAR";
  EXPECT_EQ(rows[0][2], "12,34");
  EXPECT_EQ(rows[0][3], "05.03.2024 06:07:08");
  EXPECT_EQ(rows[0][4], "-1") << "null stays null";
}

TEST_F(BlobTest, AssignFromAcrossTypes) {
  InsertSource(1, "memo text", "bin");
  StatementBracket sourceBracket(source_.sql);
  source_.sql.SQLClear();
  source_.sql.SQLAdd("SELECT ID, MEMO, N, NAME FROM SRC");
  source_.sql.Execute();
  StatementBracket destinationBracket(destination_.sql);
  destination_.sql.SQLAdd(
      "INSERT INTO SRC (ID, NOTE, MEMO, DATA, NAME) VALUES (:ID, :NOTE, :MEMO, :DATA, :NAME)");
  TIBXSQLVAR& id = source_.sql.ColumnByName("ID");
  destination_.sql.ParamByName("ID").AssignFrom(id);
  // blob into a text parameter: the content as text
  destination_.sql.ParamByName("NOTE").AssignFrom(source_.sql.ColumnByName("MEMO"));
  EXPECT_EQ(destination_.sql.ParamByName("NOTE").SQLType(), SQL_TYPE_TEXT);
  EXPECT_FALSE(destination_.sql.ParamByName("NOTE").IsNullable());
  // a number into a blob: its text, never its binary form
  destination_.sql.ParamByName("MEMO").AssignFrom(id);
  // varchar into a blob: the characters without the length prefix
  destination_.sql.ParamByName("DATA").AssignFrom(source_.sql.ColumnByName("NAME"));
  // null into anything: null
  destination_.sql.ParamByName("NAME").AssignFrom(source_.sql.ColumnByName("N"));
  EXPECT_TRUE(destination_.sql.ParamByName("NAME").IsNull());
  destination_.sql.Execute();
  source_.sql.Close();
  destinationBracket.Close();
  sourceBracket.Close();

  EXPECT_EQ(ReadBlob(destination_, "MEMO", 1), "1");
  EXPECT_EQ(ReadBlob(destination_, "DATA", 1), "name");
  auto rows = Query(destination_.sql, "SELECT NOTE, COALESCE(NAME, 'null') FROM SRC");
  EXPECT_EQ(rows[0][0], "memo text");
  EXPECT_EQ(rows[0][1], "null");
}

TEST_F(BlobTest, AssignFromTakesSourceDescriptorForEverySameName) {
  InsertSource(7, "", "");
  StatementBracket sourceBracket(source_.sql);
  source_.sql.SQLClear();
  source_.sql.SQLAdd("SELECT AMOUNT, NAME FROM SRC");
  source_.sql.Execute();
  StatementBracket destinationBracket(destination_.sql);
  destination_.sql.SQLAdd("SELECT COUNT(*) FROM SRC WHERE :V IS NOT NULL AND NOTE = :V");
  destination_.sql.Param(0).AssignFrom(source_.sql.Column(1));
  EXPECT_EQ(destination_.sql.Param(1).SQLType(), SQL_TYPE_VARYING);
  EXPECT_EQ(destination_.sql.Param(1).GetText(), "name");
  destination_.sql.Param(1).AssignFrom(source_.sql.Column(0));
  EXPECT_EQ(destination_.sql.Param(0).SQLScale(), -2);
  EXPECT_EQ(destination_.sql.Param(0).GetText(), "12,34");
  EXPECT_TRUE(destination_.sql.Param(0).Modified());
  source_.sql.Close();
}

}  // namespace
}  // namespace dbtest
