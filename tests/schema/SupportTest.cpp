// The isql helpers are how every test checks a database independently of the
// program, so their reading of isql's output must hold for awkward values too.
#include <gtest/gtest.h>

#include <fstream>

#include "tests/support/Isql.h"
#include "tests/support/Schema.h"
#include "tests/support/TempDir.h"

namespace {

using testsupport::kNull;
using testsupport::Row;

class IsqlHelpers : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new testsupport::TempDir("dravik-isql");
    testsupport::MakeDatabase(Db(), testsupport::Variant::Current);
    testsupport::RunIsql(Db(),
                         "CREATE TABLE T (ID INTEGER, NAME VARCHAR(40), CODE CHAR(6), "
                         "AMOUNT NUMERIC(15,2), NOTE BLOB SUB_TYPE 1, RAW BLOB SUB_TYPE 0);\n"
                         "COMMIT;\n"
                         "INSERT INTO T VALUES (1, 'Иванов', 'ab', 12.5, "
                         "'first' || ASCII_CHAR(13) || ASCII_CHAR(10) || 'second' || "
                         "ASCII_CHAR(13) || ASCII_CHAR(10), x'FFD8');\n"
                         "INSERT INTO T VALUES (2, 'two' || ASCII_CHAR(10) || 'lines', NULL, "
                         "NULL, NULL, NULL);\n"
                         "INSERT INTO T VALUES (3, '', 'c', -1, '', NULL);\n");
  }
  static void TearDownTestSuite() {
    delete dir_;
    dir_ = nullptr;
  }
  static std::filesystem::path Db() { return *dir_ / "isql.fdb"; }
  static testsupport::TempDir* dir_;
};

testsupport::TempDir* IsqlHelpers::dir_ = nullptr;

TEST_F(IsqlHelpers, RowsKeepEveryValueWhateverItsShape) {
  std::vector<Row> rows =
      testsupport::QueryRows(Db(), "SELECT ID, NAME, CODE, AMOUNT, NOTE, RAW FROM T ORDER BY ID");
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0], (Row{"1", "Иванов", "ab", "12.50", "first\r\nsecond\r\n", "\xFF\xD8"}));
  EXPECT_EQ(rows[1], (Row{"2", "two\nlines", std::string(kNull), std::string(kNull),
                          std::string(kNull), std::string(kNull)}));
  EXPECT_EQ(rows[2], (Row{"3", "", "c", "-1.00", "", std::string(kNull)}));
}

TEST_F(IsqlHelpers, BlobInTheLastColumnOfTheLastRowKeepsItsLineEnds) {
  std::vector<Row> rows = testsupport::QueryRows(Db(), "SELECT NAME, NOTE FROM T WHERE ID = 1");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][1], "first\r\nsecond\r\n");
}

TEST_F(IsqlHelpers, EmptyResultAndSingleValues) {
  EXPECT_TRUE(testsupport::QueryRows(Db(), "SELECT ID, NAME FROM T WHERE ID < 0").empty());
  EXPECT_EQ(testsupport::QueryColumn(Db(), "SELECT ID FROM T ORDER BY ID DESC"),
            (std::vector<std::string>{"3", "2", "1"}));
  EXPECT_EQ(testsupport::QueryInt(Db(), "SELECT COUNT(*) FROM T"), 3);
  EXPECT_THROW(testsupport::QueryValue(Db(), "SELECT ID FROM T WHERE ID < 0"),
               testsupport::IsqlError);
  EXPECT_THROW(testsupport::QueryInt(Db(), "SELECT NAME FROM T WHERE ID = 1"),
               testsupport::IsqlError);
}

TEST_F(IsqlHelpers, FailingStatementReportsTheEngineMessage) {
  try {
    testsupport::RunIsql(Db(), "INSERT INTO NO_SUCH_TABLE VALUES (1)");
    FAIL() << "no error";
  } catch (const testsupport::IsqlError& e) {
    EXPECT_NE(std::string(e.what()).find("NO_SUCH_TABLE"), std::string::npos) << e.what();
  }
}

TEST(TempDir, IsRemovedWithItsContents) {
  std::filesystem::path kept;
  {
    testsupport::TempDir dir;
    kept = dir.path();
    std::filesystem::create_directories(dir / "a/b");
    std::ofstream(dir.File("a/b/file.txt")) << "x";
    EXPECT_TRUE(std::filesystem::is_directory(kept));
  }
  EXPECT_FALSE(std::filesystem::exists(kept));
}

}  // namespace
