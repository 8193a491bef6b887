// How a table's copy ends when its source cannot be read to the end, or when
// the destination refuses the table's commit.
#include <algorithm>

#include "tests/transfer/CopyFixture.h"
#include "text/Cp1251.h"
#include "transfer/KeyMap.h"
#include "transfer/SourceReader.h"

namespace copytest {
namespace {

using Keys = std::vector<std::string>;

// `count` hosts with keys 1..count named h<key>.
std::string Hosts(int count) {
  return "SET TERM ^;\nEXECUTE BLOCK AS DECLARE K INTEGER = 1; BEGIN WHILE (K <= " +
         std::to_string(count) +
         ") DO BEGIN INSERT INTO HOSTS (HS_ID, HS_NAME) VALUES (:K, 'h' || :K); K = K + 1; END "
         "END^\nSET TERM ;^";
}

class TableEndTest : public CopyTest {
 protected:
  void TearDown() override { SourceReader::SetReadAhead(true); }

  // The destination refuses every commit of a transaction after which `condition` holds.
  void RefuseCommitWhen(const std::string& condition) {
    Dest(
        "CREATE EXCEPTION NO_COMMIT 'the commit is refused';\nSET TERM ^;\n"
        "CREATE TRIGGER REFUSE_COMMIT ON TRANSACTION COMMIT AS BEGIN IF (" +
        condition + ") THEN EXCEPTION NO_COMMIT; END^\nSET TERM ;^");
  }
};

// Host 150 cannot be read: a column the destination lacks divides by zero for
// it. Read ahead or in line, the rows before it arrive and map (the first
// batches and those written alone after them), nothing is logged, and the
// engine's error ends the table in the same words.
TEST_F(TableEndTest, ARowThatCannotBeReadEndsTheTableAfterTheRowsBeforeIt) {
  std::string message[2];
  Keys newKeys[2];
  for (int ahead = 0; ahead < 2; ++ahead) {
    SCOPED_TRACE(ahead);
    MakeDatabases();
    Source(Hosts(400) + "\nALTER TABLE HOSTS ADD HS_CHECK COMPUTED BY (1 / (HS_ID - 150));");
    SourceReader::SetReadAhead(ahead == 1);
    context_.keyMap = KeyMap();
    try {
      Copy("HOSTS", "HS_ID");
      ADD_FAILURE() << "the table ended without an error";
    } catch (const EIBError& e) {
      message[ahead] = text::Utf8FromCp1251(e.what());
    }
    newKeys[ahead] = NewKeys(keymap::kHosts);
    EXPECT_EQ(OldKeys(keymap::kHosts).size(), 149u);
    EXPECT_EQ(DestRows("SELECT COUNT(*), MIN(HS_NAME), MAX(HS_ID) - MIN(HS_ID) FROM HOSTS"),
              (std::vector<Row>{{"149", "h1", "148"}}));
    EXPECT_TRUE(LogLines().empty());
  }
  EXPECT_NE(message[1].find("divide by zero"), std::string::npos) << message[1];
  EXPECT_EQ(message[1], message[0]);
  EXPECT_EQ(newKeys[1].size(), 149u);
}

// The destination refuses to commit the hosts. Their rows are gone: the table
// is logged with the engine's error, counts its rows as failed, and maps them
// to -1, so that the controllers copied next point at no host (which the
// destination refuses). The refused transaction is undone, so the owners after
// them arrive in a transaction of their own.
TEST_F(TableEndTest, ACommitThatFailsLosesTheTableAndSaysSo) {
  MakeDatabases();
  RefuseCommitWhen("EXISTS (SELECT 1 FROM HOSTS WHERE HS_NAME = 'h70')");
  Source(Hosts(100) +
         "\nINSERT INTO CONTROLLERS (CT_ID, CT_HS_ID, CT_NAME) VALUES (1, 70, 'c1');"
         "\nINSERT INTO OWNER (OW_ID, OW_NAME) VALUES (3, 'o3');");
  Copy("HOSTS", "HS_ID");
  Copy("CONTROLLERS", "CT_ID");
  Copy("OWNER", "OW_ID");

  const std::vector<std::string> log = LogLines();
  const std::vector<std::string> errors = ErrorLines();
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_EQ(errors[0].rfind("Ошибка сохранения таблицы  HOSTS :  ", 0), 0u) << errors[0];
  EXPECT_TRUE(std::find(log.begin(), log.end(), "the commit is refused") != log.end());
  EXPECT_EQ(errors[1].rfind("Ошибка Добавления CONTROLLERS CT_ID =  1 :  ", 0), 0u) << errors[1];
  EXPECT_TRUE(std::find(log.begin(), log.end(), "Problematic key value is (\"CT_HS_ID\" = -1)") !=
              log.end());
  EXPECT_EQ(context_.log.FailedStatements(), 2);
  EXPECT_EQ(context_.log.FailedRows(),
            (std::map<std::string, int>{{"CONTROLLERS", 1}, {"HOSTS", 100}}));
  EXPECT_EQ(NewKeys(keymap::kHosts), Keys(100, "-1"));
  EXPECT_EQ(DestRows("SELECT COUNT(*) FROM HOSTS"), (std::vector<Row>{{"0"}}));
  EXPECT_EQ(DestRows("SELECT OW_ID, OW_NAME FROM OWNER"), (std::vector<Row>{{"3", "o3"}}));
}

// The macros' commit is refused: the deletion of the destination's macros is
// undone with the insertions, and the macros written count as failed and map to -1.
TEST_F(TableEndTest, ACommitThatFailsLosesTheMacrosAndSaysSo) {
  MakeDatabases();
  Dest("INSERT INTO MACROSES (MCR_ID, MCR_NAME) VALUES (1, 'old');");
  RefuseCommitWhen("EXISTS (SELECT 1 FROM MACROSES WHERE MCR_NAME = 'last')");
  Source(
      "INSERT INTO MACROSES (MCR_ID, MCR_NAME, MCR_FILL) VALUES (7, 'open', '24;0;6;15;0;1;');\n"
      "INSERT INTO MACROSES (MCR_ID, MCR_NAME, MCR_FILL) VALUES (20, 'last', '');");
  CopyMacros();

  const std::vector<std::string> errors = ErrorLines();
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].rfind("Ошибка сохранения таблицы  MACROSES :  ", 0), 0u) << errors[0];
  EXPECT_EQ(context_.log.FailedRows(), (std::map<std::string, int>{{"MACROSES", 2}}));
  EXPECT_EQ(OldKeys(keymap::kMacroses), (Keys{"7", "20"}));
  EXPECT_EQ(NewKeys(keymap::kMacroses), (Keys{"-1", "-1"}));
  EXPECT_EQ(DestRows("SELECT MCR_ID, MCR_NAME FROM MACROSES"), (std::vector<Row>{{"1", "old"}}));
}

}  // namespace
}  // namespace copytest
