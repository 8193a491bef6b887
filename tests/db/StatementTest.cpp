#include <gtest/gtest.h>

#include "Fixture.h"

namespace dbtest {
namespace {

const char* kSchema =
    "CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, NAME VARCHAR(20));\n"
    "INSERT INTO T VALUES (1, 'one');\nINSERT INTO T VALUES (2, 'two');\n"
    "INSERT INTO T VALUES (3, 'three');\n";

TEST(Statement, SmokeSelect) {
  TempDatabase db(kSchema);
  Connection c(db.Path());
  auto rows = Query(c.sql, "SELECT ID, NAME FROM T ORDER BY ID");
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[2][1], "three");
}

}  // namespace
}  // namespace dbtest
