// What the transfer relies on from the databases themselves: the state functions
// accept its calls and keep what they are given, key-mapped tables number rows
// inserted without a key, and the current layout gives every owner a photo row.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/Isql.h"
#include "tests/support/Schema.h"
#include "tests/support/TempDir.h"

namespace {

using testsupport::Variant;

// The state statement as the state save and restore build it: one line per state.
std::string StateSelect(const std::string& function, const std::string& table,
                        const std::string& key, int id, int first, int last, int valueBase) {
  std::string sql = "SELECT " + key + ",\n";
  for (int n = first; n <= last; ++n) {
    sql += function + "(\"" + table + "\", " + key + ", ";
    if (function == "SET_STATE") sql += std::to_string(valueBase + n) + ", ";
    sql += std::to_string(n) + ") AS FLD_" + std::to_string(n) + (n < last ? ",\n" : "\n");
  }
  return sql + "FROM " + table + "\nWHERE " + key + " = " + std::to_string(id);
}

class Databases : public ::testing::TestWithParam<Variant> {
 protected:
  void SetUp() override { testsupport::MakeDatabase(db_, GetParam()); }
  testsupport::TempDir dir_{"dravik-db"};
  std::filesystem::path db_ = dir_ / "db.fdb";
};

TEST_P(Databases, StatesWrittenBySelectStayAndReadBackPerRowAndNumber) {
  testsupport::RunIsql(db_,
                       "INSERT INTO HOSTS (HS_ID, HS_NAME) VALUES (7, 'h');\n"
                       "INSERT INTO CONTROLLERS (CT_ID, CT_HS_ID) VALUES (1, 7);\n"
                       "INSERT INTO CONTROLLERS (CT_ID, CT_HS_ID) VALUES (5, 7);\n");
  // Written in one session, read in later ones: the values are committed data.
  testsupport::RunIsql(db_, StateSelect("SET_STATE", "CONTROLLERS", "CT_ID", 5, 1, 6, 500) + ";\n" +
                                StateSelect("SET_STATE", "HOSTS", "HS_ID", 7, 1, 8, 700) + ";\n" +
                                StateSelect("SET_STATE", "HOSTS", "HS_ID", 7, 9, 14, 700));
  std::vector<testsupport::Row> rows =
      testsupport::QueryRows(db_, StateSelect("GET_STATE", "CONTROLLERS", "CT_ID", 5, 1, 6, 0));
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0], (testsupport::Row{"5", "501", "502", "503", "504", "505", "506"}));

  rows = testsupport::QueryRows(db_, StateSelect("GET_STATE", "HOSTS", "HS_ID", 7, 9, 14, 0));
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0], (testsupport::Row{"7", "709", "710", "711", "712", "713", "714"}));

  // Another row, another table with the same key, and an unwritten state read 0.
  EXPECT_EQ(testsupport::QueryInt(db_, "SELECT GET_STATE(\"CONTROLLERS\", 1, 1) FROM RDB$DATABASE"),
            0);
  EXPECT_EQ(testsupport::QueryInt(db_, "SELECT GET_STATE(\"HOSTS\", 5, 1) FROM RDB$DATABASE"), 0);
  EXPECT_EQ(testsupport::QueryInt(db_, "SELECT GET_STATE(\"CONTROLLERS\", 5, 7) FROM RDB$DATABASE"),
            0);

  // Writing again replaces the value instead of adding a second one.
  testsupport::RunIsql(db_, StateSelect("SET_STATE", "CONTROLLERS", "CT_ID", 5, 1, 1, 900));
  EXPECT_EQ(testsupport::QueryInt(db_, "SELECT GET_STATE(\"CONTROLLERS\", 5, 1) FROM RDB$DATABASE"),
            901);
  EXPECT_EQ(testsupport::QueryInt(db_, "SELECT COUNT(*) FROM STATE_VALUES"), 6 + 14);
}

TEST_P(Databases, FlushAndSaveCallsAreCountedOnlyWhenTheirRowIsFetched) {
  const std::string flush = "SELECT CT_ID, FLUSH_STATES()\nFROM CONTROLLERS WHERE CT_ID = 1";
  const std::string save = "SELECT CT_ID, SAVE_STATES()\nFROM CONTROLLERS WHERE CT_ID = 1";
  const std::string counts =
      "SELECT (SELECT COALESCE(MAX(SC_COUNT), 0) FROM STATE_CALLS WHERE SC_NAME = 'FLUSH_STATES'), "
      "(SELECT COALESCE(MAX(SC_COUNT), 0) FROM STATE_CALLS WHERE SC_NAME = 'SAVE_STATES') "
      "FROM RDB$DATABASE";
  // Without a controller 1 the functions are never evaluated.
  testsupport::RunIsql(db_, flush + ";\n" + save);
  EXPECT_EQ(testsupport::QueryRows(db_, counts)[0], (testsupport::Row{"0", "0"}));

  testsupport::RunIsql(db_,
                       "INSERT INTO HOSTS (HS_ID) VALUES (1);\n"
                       "INSERT INTO CONTROLLERS (CT_ID, CT_HS_ID) VALUES (1, 1);\n" +
                           flush + ";\n" + save + ";\n" + save);
  EXPECT_EQ(testsupport::QueryRows(db_, counts)[0], (testsupport::Row{"1", "2"}));
}

TEST_P(Databases, RowsWithoutKeyAreNumberedInInsertOrderAndGivenKeysAreKept) {
  testsupport::RunIsql(db_,
                       "INSERT INTO HOSTS (HS_NAME) VALUES ('a');\n"
                       "INSERT INTO HOSTS (HS_NAME) VALUES ('b');\n"
                       "INSERT INTO CONTROLLERS (CT_HS_ID) SELECT HS_ID FROM HOSTS;\n"
                       "INSERT INTO PCN (PC_CT_ID) SELECT CT_ID FROM CONTROLLERS;\n"
                       "INSERT INTO CINPUTS (CI_CT_ID) SELECT CT_ID FROM CONTROLLERS;\n"
                       "INSERT INTO SLAVES (SL_CT_ID) SELECT CT_ID FROM CONTROLLERS;\n"
                       "INSERT INTO OUTPUTS (OU_SL_ID) SELECT SL_ID FROM SLAVES;\n"
                       "INSERT INTO INPUTS (IN_SL_ID) SELECT SL_ID FROM SLAVES;\n"
                       "INSERT INTO READERS (RD_SL_ID) SELECT SL_ID FROM SLAVES;\n"
                       "INSERT INTO CARDGROUPS (CG_CT_ID) SELECT CT_ID FROM CONTROLLERS;\n"
                       "INSERT INTO KRONTUR (KT_CT_ID) SELECT CT_ID FROM CONTROLLERS;\n"
                       "INSERT INTO MACROSES (MCR_NAME) VALUES ('m1');\n"
                       "INSERT INTO MACROSES (MCR_NAME) VALUES ('m2');\n"
                       "INSERT INTO OWNER (OW_ID, OW_NAME) VALUES (40, 'kept');\n"
                       "INSERT INTO EVENTS (EV_ID, EV_CODE) VALUES (900, 1);\n");
  const std::vector<std::pair<std::string, std::string>> tables = {
      {"HOSTS", "HS_ID"},   {"CONTROLLERS", "CT_ID"}, {"PCN", "PC_ID"},
      {"CINPUTS", "CI_ID"}, {"SLAVES", "SL_ID"},      {"OUTPUTS", "OU_ID"},
      {"INPUTS", "IN_ID"},  {"READERS", "RD_ID"},     {"CARDGROUPS", "CG_ID"},
      {"KRONTUR", "KT_ID"}, {"MACROSES", "MCR_ID"}};
  std::string sql;
  for (const auto& [table, key] : tables) {
    if (!sql.empty()) sql += " UNION ALL ";
    sql += "SELECT '" + table + "', LIST(" + key + ") FROM (SELECT " + key + " FROM " + table +
           " ORDER BY " + key + ")";
  }
  for (const testsupport::Row& row : testsupport::QueryRows(db_, sql)) {
    EXPECT_EQ(row[1], "1,2") << row[0];
  }
  EXPECT_EQ(testsupport::QueryInt(db_, "SELECT OW_ID FROM OWNER"), 40);
  EXPECT_EQ(testsupport::QueryInt(db_, "SELECT EV_ID FROM EVENTS"), 900);

  // The first script resets the generators of emptied tables: numbering restarts.
  testsupport::RunIsql(db_,
                       "DELETE FROM MACROSES;\nSET GENERATOR GEN_MACROSES TO 0;\nCOMMIT;\n"
                       "INSERT INTO MACROSES (MCR_NAME) VALUES ('again');\n");
  EXPECT_EQ(testsupport::QueryInt(db_, "SELECT MCR_ID FROM MACROSES"), 1);
}

TEST_P(Databases, OwnerRegistrationDateIsTheDatabasesAndUpdatesKeepTheirs) {
  testsupport::RunIsql(db_,
                       "INSERT INTO OWNER (OW_ID, OW_REGDATE) VALUES (1, '2001-02-03');\n"
                       "COMMIT;\n"
                       "UPDATE OWNER SET OW_REGDATE = '2001-02-03' WHERE OW_ID = 1;\n");
  EXPECT_EQ(testsupport::QueryValue(db_, "SELECT OW_REGDATE FROM OWNER"), "03-FEB-2001");
  testsupport::RunIsql(db_, "INSERT INTO OWNER (OW_ID, OW_REGDATE) VALUES (2, '2001-02-03')");
  EXPECT_EQ(testsupport::QueryInt(
                db_, "SELECT COUNT(*) FROM OWNER WHERE OW_ID = 2 AND OW_REGDATE > '2020-01-01'"),
            1);
}

INSTANTIATE_TEST_SUITE_P(BothLayouts, Databases,
                         ::testing::Values(Variant::Current, Variant::Older), [](const auto& info) {
                           return info.param == Variant::Current ? "Current" : "Older";
                         });

TEST(CurrentLayout, EveryOwnerHasAPhotoRowThatGoesWithTheOwner) {
  testsupport::TempDir dir("dravik-db");
  const std::filesystem::path db = dir / "db.fdb";
  testsupport::MakeDatabase(db, Variant::Current);
  testsupport::RunIsql(db,
                       "INSERT INTO OWNER (OW_ID) VALUES (3);\n"
                       "INSERT INTO OWNER (OW_ID) VALUES (8);\n"
                       "COMMIT;\n"
                       "UPDATE OWNERPHOTOS SET OW_PHOTO = x'FFD8' WHERE OW_ID = 8;\n"
                       "COMMIT;\n"
                       "DELETE FROM OWNER WHERE OW_ID = 3;\n");
  std::vector<testsupport::Row> rows =
      testsupport::QueryRows(db, "SELECT OW_ID, OCTET_LENGTH(OW_PHOTO) FROM OWNERPHOTOS");
  EXPECT_EQ(rows, (std::vector<testsupport::Row>{{"8", "2"}}));
}

}  // namespace
