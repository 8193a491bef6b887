// New keys for key-mapped tables and the references that follow them, with the
// key returned by the insert and with the largest-key read-back alike.
#include <filesystem>

#include "tests/transfer/CopyFixture.h"
#include "text/TextFile.h"
#include "transfer/KeyMap.h"
#include "transfer/KeyedInsert.h"

namespace copytest {
namespace {

using Keys = std::vector<std::string>;

// The device tree of a small site. Source keys have gaps and are not the keys
// the destination's generators hand out.
const char kDevices[] = R"(
INSERT INTO HOSTS (HS_ID, HS_NAME) VALUES (9, 'h9');
INSERT INTO HOSTS (HS_ID, HS_NAME) VALUES (5, 'h5');
INSERT INTO CONTROLLERS (CT_ID, CT_HS_ID, CT_NAME) VALUES (3, 9, 'c3');
INSERT INTO CONTROLLERS (CT_ID, CT_HS_ID, CT_NAME) VALUES (4, 5, 'c4');
INSERT INTO CONTROLLERS (CT_ID, CT_HS_ID, CT_NAME) VALUES (8, NULL, 'c8');
INSERT INTO SLAVES (SL_ID, SL_CT_ID, SL_NAME) VALUES (20, 4, 's20');
INSERT INTO SLAVES (SL_ID, SL_CT_ID, SL_NAME) VALUES (21, 3, 's21');
INSERT INTO INPUTS (IN_ID, IN_SL_ID, IN_NAME) VALUES (30, 21, 'i30');
INSERT INTO INPUTS (IN_ID, IN_SL_ID, IN_NAME) VALUES (31, 20, 'i31');
INSERT INTO OUTPUTS (OU_ID, OU_SL_ID, OU_NAME) VALUES (40, 20, 'o40');
INSERT INTO OUTPUTS (OU_ID, OU_SL_ID, OU_NAME) VALUES (41, 21, 'o41');
INSERT INTO READERS (RD_ID, RD_SL_ID, RD_NAME, RD_IN_1, RD_IN_4, RD_OUT_IND0, RD_OUT_OPEN,
  RD_OUT_CLOSE) VALUES (50, 21, 'r50', 31, 30, 41, 40, NULL);
INSERT INTO READERS (RD_ID, RD_SL_ID, RD_NAME, RD_IN_1, RD_OUT_IND3) VALUES (51, 20, 'r51', 30, 40);
INSERT INTO READERS (RD_ID, RD_SL_ID, RD_NAME) VALUES (52, NULL, 'r52');
INSERT INTO PCN (PC_ID, PC_CT_ID, PC_NAME) VALUES (60, 3, 'p60');
INSERT INTO CINPUTS (CI_ID, CI_CT_ID, CI_NAME) VALUES (70, 4, 'ci70');
)";

const char kDeviceTables[][2][16] = {
    {"HOSTS", "HS_ID"},   {"CONTROLLERS", "CT_ID"}, {"SLAVES", "SL_ID"}, {"INPUTS", "IN_ID"},
    {"OUTPUTS", "OU_ID"}, {"READERS", "RD_ID"},     {"PCN", "PC_ID"},    {"CINPUTS", "CI_ID"},
};

// Each case runs once with keys returned by the insert and once with the read-back.
class KeyRemapTest : public CopyTest, public ::testing::WithParamInterface<bool> {
 protected:
  void SetUp() override {
    KeyedInsert::UseMaxReadBackForTests(GetParam());
    MakeDatabases();
  }
  void TearDown() override { KeyedInsert::UseMaxReadBackForTests(false); }

  void CopyDevices() {
    for (const auto& table : kDeviceTables) Copy(table[0], table[1]);
  }
};

TEST_P(KeyRemapTest, RowsGetTheDestinationsKeysAndLaterReferencesFollowThem) {
  Source(kDevices);
  CopyDevices();

  EXPECT_EQ(OldKeys(keymap::kHosts), (Keys{"5", "9"}));
  EXPECT_EQ(NewKeys(keymap::kHosts), (Keys{"1", "2"}));
  EXPECT_EQ(OldKeys(keymap::kControllers), (Keys{"3", "4", "8"}));
  EXPECT_EQ(NewKeys(keymap::kControllers), (Keys{"1", "2", "3"}));
  EXPECT_EQ(OldKeys(keymap::kReaders), (Keys{"50", "51", "52"}));
  EXPECT_EQ(NewKeys(keymap::kReaders), (Keys{"1", "2", "3"}));
  EXPECT_TRUE(LogLines().empty());

  // Every reference names, by the row's own name, the row it named in the source.
  EXPECT_EQ(DestRows("SELECT C.CT_ID, C.CT_NAME, H.HS_NAME FROM CONTROLLERS C "
                     "LEFT JOIN HOSTS H ON H.HS_ID = C.CT_HS_ID ORDER BY C.CT_ID"),
            (std::vector<Row>{{"1", "c3", "h9"}, {"2", "c4", "h5"}, {"3", "c8", "<null>"}}));
  EXPECT_EQ(DestRows("SELECT S.SL_NAME, C.CT_NAME FROM SLAVES S JOIN CONTROLLERS C "
                     "ON C.CT_ID = S.SL_CT_ID ORDER BY S.SL_ID"),
            (std::vector<Row>{{"s20", "c4"}, {"s21", "c3"}}));
  EXPECT_EQ(DestRows("SELECT I.IN_NAME, S.SL_NAME FROM INPUTS I JOIN SLAVES S "
                     "ON S.SL_ID = I.IN_SL_ID ORDER BY I.IN_ID"),
            (std::vector<Row>{{"i30", "s21"}, {"i31", "s20"}}));
  EXPECT_EQ(DestRows("SELECT R.RD_NAME, S.SL_NAME, I1.IN_NAME, I4.IN_NAME, O0.OU_NAME, "
                     "O3.OU_NAME, OO.OU_NAME, R.RD_OUT_CLOSE FROM READERS R "
                     "LEFT JOIN SLAVES S ON S.SL_ID = R.RD_SL_ID "
                     "LEFT JOIN INPUTS I1 ON I1.IN_ID = R.RD_IN_1 "
                     "LEFT JOIN INPUTS I4 ON I4.IN_ID = R.RD_IN_4 "
                     "LEFT JOIN OUTPUTS O0 ON O0.OU_ID = R.RD_OUT_IND0 "
                     "LEFT JOIN OUTPUTS O3 ON O3.OU_ID = R.RD_OUT_IND3 "
                     "LEFT JOIN OUTPUTS OO ON OO.OU_ID = R.RD_OUT_OPEN ORDER BY R.RD_ID"),
            (std::vector<Row>{
                {"r50", "s21", "i31", "i30", "o41", "<null>", "o40", "<null>"},
                {"r51", "s20", "i30", "<null>", "<null>", "o40", "<null>", "<null>"},
                {"r52", "<null>", "<null>", "<null>", "<null>", "<null>", "<null>", "<null>"}}));
  EXPECT_EQ(DestRows("SELECT P.PC_NAME, C.CT_NAME FROM PCN P JOIN CONTROLLERS C "
                     "ON C.CT_ID = P.PC_CT_ID UNION ALL SELECT I.CI_NAME, C.CT_NAME FROM CINPUTS I "
                     "JOIN CONTROLLERS C ON C.CT_ID = I.CI_CT_ID"),
            (std::vector<Row>{{"p60", "c3"}, {"ci70", "c4"}}));
}

TEST_P(KeyRemapTest, ReferencesToATableNotCopiedYetBecomeMinusOne) {
  // Without the foreign key the -1 reaches the table instead of failing the row.
  Dest("ALTER TABLE CONTROLLERS DROP CONSTRAINT FK_CONTROLLERS_HOSTS;");
  Source(kDevices);
  Copy("CONTROLLERS", "CT_ID");
  Copy("HOSTS", "HS_ID");

  EXPECT_EQ(DestRows("SELECT CT_NAME, CT_HS_ID FROM CONTROLLERS ORDER BY CT_ID"),
            (std::vector<Row>{{"c3", "-1"}, {"c4", "-1"}, {"c8", "<null>"}}));
  EXPECT_EQ(NewKeys(keymap::kHosts), (Keys{"1", "2"}));
}

TEST_P(KeyRemapTest, AFailedRowMapsToMinusOneAndTheRowsAfterItKeepTheirOwnKeys) {
  Dest(
      "ALTER TABLE CONTROLLERS DROP CONSTRAINT FK_CONTROLLERS_HOSTS;\n"
      "ALTER TABLE HOSTS ADD CONSTRAINT CHK_HOST_NAME CHECK (HS_NAME <> 'h7');");
  Source(
      "INSERT INTO HOSTS (HS_ID, HS_NAME) VALUES (5, 'h5');\n"
      "INSERT INTO HOSTS (HS_ID, HS_NAME) VALUES (7, 'h7');\n"
      "INSERT INTO HOSTS (HS_ID, HS_NAME) VALUES (9, 'h9');\n"
      "INSERT INTO CONTROLLERS (CT_ID, CT_HS_ID, CT_NAME) VALUES (1, 7, 'c1');\n"
      "INSERT INTO CONTROLLERS (CT_ID, CT_HS_ID, CT_NAME) VALUES (2, 9, 'c2');\n"
      "INSERT INTO CONTROLLERS (CT_ID, CT_HS_ID, CT_NAME) VALUES (3, 5, 'c3');");
  Copy("HOSTS", "HS_ID");
  Copy("CONTROLLERS", "CT_ID");

  EXPECT_EQ(OldKeys(keymap::kHosts), (Keys{"5", "7", "9"}));
  // The failed insert still used a generator value: h9 gets 3.
  EXPECT_EQ(NewKeys(keymap::kHosts), (Keys{"1", "-1", "3"}));
  const auto log = ErrorLines();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].rfind("Ошибка Добавления HOSTS HS_ID =  7 :  ", 0), 0u) << log[0];
  EXPECT_NE(log[0].find("CHK_HOST_NAME"), std::string::npos) << log[0];

  EXPECT_EQ(DestRows("SELECT C.CT_NAME, C.CT_HS_ID, H.HS_NAME FROM CONTROLLERS C "
                     "LEFT JOIN HOSTS H ON H.HS_ID = C.CT_HS_ID ORDER BY C.CT_ID"),
            (std::vector<Row>{{"c1", "-1", "<null>"}, {"c2", "3", "h9"}, {"c3", "1", "h5"}}));
}

TEST_P(KeyRemapTest, ARowWhoseLogLineCannotBeWrittenStillMapsToMinusOne) {
  Dest("ALTER TABLE HOSTS ADD CONSTRAINT CHK_HOST_NAME CHECK (HS_NAME <> 'h7');");
  Source(
      "INSERT INTO HOSTS (HS_ID, HS_NAME) VALUES (5, 'h5');\n"
      "INSERT INTO HOSTS (HS_ID, HS_NAME) VALUES (7, 'h7');\n"
      "INSERT INTO HOSTS (HS_ID, HS_NAME) VALUES (9, 'h9');");
  std::filesystem::remove(context_.log.Path());
  // The missing log ends the table at the failed row, with both lists in step.
  EXPECT_THROW(Copy("HOSTS", "HS_ID"), text::EInOutError);
  EXPECT_EQ(OldKeys(keymap::kHosts), (Keys{"5", "7"}));
  EXPECT_EQ(NewKeys(keymap::kHosts), (Keys{"1", "-1"}));
}

TEST_P(KeyRemapTest, AStatementThatCannotBePreparedFailsEveryRowAndKeepsTheListsAligned) {
  // The destination lacks a column the source has no value for: the insert names
  // a column it cannot find once HS_NAME is renamed on the destination only.
  Dest("ALTER TABLE HOSTS ADD HS_EXTRA INTEGER NOT NULL;");
  Source(
      "ALTER TABLE HOSTS ADD HS_EXTRA INTEGER;\n"
      "INSERT INTO HOSTS (HS_ID, HS_NAME) VALUES (5, 'h5');\n"
      "INSERT INTO HOSTS (HS_ID, HS_NAME) VALUES (9, 'h9');");
  Copy("HOSTS", "HS_ID");

  EXPECT_EQ(OldKeys(keymap::kHosts), (Keys{"5", "9"}));
  EXPECT_EQ(NewKeys(keymap::kHosts), (Keys{"-1", "-1"}));
  const auto log = ErrorLines();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].rfind("Ошибка Добавления HOSTS HS_ID =  5 :  ", 0), 0u) << log[0];
  EXPECT_EQ(log[1].rfind("Ошибка Добавления HOSTS HS_ID =  9 :  ", 0), 0u) << log[1];
  EXPECT_EQ(DestRows("SELECT COUNT(*) FROM HOSTS"), (std::vector<Row>{{"0"}}));
}

INSTANTIATE_TEST_SUITE_P(NewKeySource, KeyRemapTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? std::string("MaxReadBack")
                                             : std::string("Returning");
                         });

}  // namespace
}  // namespace copytest
