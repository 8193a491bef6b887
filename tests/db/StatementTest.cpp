// Statements against a real database: the run of a query, the checks before
// prepare and execute, statement types and engine error texts.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "Fixture.h"

namespace dbtest {
namespace {

const char* kSchema =
    "CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, NAME VARCHAR(20));\n"
    "INSERT INTO T VALUES (1, 'one');\nINSERT INTO T VALUES (2, 'two');\n"
    "INSERT INTO T VALUES (3, 'three');\n"
    "CREATE GENERATOR G_T;\nSET GENERATOR G_T TO 100;\n"
    "CREATE TABLE K (ID INTEGER NOT NULL PRIMARY KEY, NAME VARCHAR(20));\n"
    "SET TERM ^ ;\n"
    "CREATE TRIGGER K_BI FOR K BEFORE INSERT AS BEGIN "
    "IF (NEW.ID IS NULL) THEN NEW.ID = GEN_ID(G_T, 1); END^\n"
    "CREATE PROCEDURE BUMP (X INTEGER) RETURNS (Y INTEGER) AS BEGIN "
    "UPDATE T SET NAME = 'bumped' WHERE ID = :X; Y = :X + 1; END^\n"
    "CREATE EXCEPTION E_NO 'no such luck'^\n"
    "CREATE PROCEDURE FAIL AS BEGIN EXCEPTION E_NO; END^\n"
    "SET TERM ; ^\n";

class StatementTest : public ::testing::Test {
 protected:
  TempDatabase db_{kSchema};
  Connection c_{db_.Path()};
};

TEST_F(StatementTest, QueryWithoutRowsIsAtEndAtOnce) {
  StatementBracket bracket(c_.sql);
  c_.sql.SQLAdd("SELECT ID FROM T WHERE ID > 100");
  c_.sql.Execute();
  EXPECT_TRUE(c_.sql.Open());
  EXPECT_TRUE(c_.sql.AtEnd());
  EXPECT_TRUE(c_.sql.BOF());
  EXPECT_EQ(c_.sql.RowsFetched(), 0);
  c_.sql.Close();
}

TEST_F(StatementTest, RowsFetchedCountsUpToTheLastRow) {
  StatementBracket bracket(c_.sql);
  c_.sql.SQLAdd("SELECT ID FROM T ORDER BY ID");
  c_.sql.Execute();
  EXPECT_FALSE(c_.sql.AtEnd());
  EXPECT_FALSE(c_.sql.BOF()) << "the first row is already fetched";
  EXPECT_EQ(c_.sql.RowsFetched(), 1);
  EXPECT_EQ(c_.sql.Column(0).GetInteger(), 1);
  int seen = 1;
  for (c_.sql.FetchNext(); !c_.sql.AtEnd(); c_.sql.FetchNext())
    EXPECT_EQ(c_.sql.Column(0).GetInteger(), ++seen);
  EXPECT_EQ(seen, 3);
  EXPECT_EQ(c_.sql.RowsFetched(), 3);
  EXPECT_FALSE(c_.sql.BOF());
  EXPECT_TRUE(c_.sql.Open()) << "the last row keeps the cursor open until Close";
  c_.sql.FetchNext();  // at end: nothing happens
  EXPECT_EQ(c_.sql.RowsFetched(), 3);
  c_.sql.Close();
  EXPECT_FALSE(c_.sql.Open());
  EXPECT_TRUE(c_.sql.AtEnd());
  EXPECT_EQ(c_.sql.RowsFetched(), 0);
  EXPECT_TRUE(c_.sql.Prepared());
}

TEST_F(StatementTest, CloseWithoutCursorChangesNothing) {
  StatementBracket bracket(c_.sql);
  EXPECT_NO_THROW(c_.sql.Close());
  c_.sql.SQLAdd("UPDATE T SET NAME = NAME");
  c_.sql.Prepare();
  EXPECT_NO_THROW(c_.sql.Close());
  EXPECT_TRUE(c_.sql.Prepared());
  EXPECT_EQ(c_.sql.SQLType(), SQLUpdate);
}

TEST_F(StatementTest, FetchWithoutCursorIsClosedError) {
  StatementBracket bracket(c_.sql);
  c_.sql.SQLAdd("SELECT ID FROM T");
  c_.sql.Prepare();
  EXPECT_EQ(dbtest::ClientMessageOf([&] { c_.sql.FetchNext(); }, 32), "IBSQL Closed");
}

TEST_F(StatementTest, EmptyTextIsEmptyQuery) {
  StatementBracket bracket(c_.sql);
  EXPECT_EQ(dbtest::ClientMessageOf([&] { c_.sql.Prepare(); }, 42), "Empty query");
  c_.sql.SetParamCheck(false);
  EXPECT_EQ(dbtest::ClientMessageOf([&] { c_.sql.Execute(); }, 42), "Empty query");
  EXPECT_FALSE(c_.sql.Prepared());
}

TEST_F(StatementTest, SetTransactionIsNotPermitted) {
  StatementBracket bracket(c_.sql);
  c_.sql.SQLAdd("SET TRANSACTION");
  EXPECT_EQ(dbtest::ClientMessageOf([&] { c_.sql.Prepare(); }, 5), "Not permitted");
  EXPECT_FALSE(c_.sql.Prepared());
  EXPECT_EQ(*c_.sql.HandlePtr(), 0u) << "the engine statement is dropped";
}

TEST_F(StatementTest, TextChangeOfOpenQueryFailsPrepareUntilClosed) {
  StatementBracket bracket(c_.sql);
  c_.sql.SQLAdd("SELECT ID FROM T");
  c_.sql.Execute();
  c_.sql.SQLClear();
  c_.sql.SQLAdd("SELECT NAME FROM T WHERE ID = 2");
  EXPECT_FALSE(c_.sql.Prepared()) << "a text change drops the engine statement";
  EXPECT_TRUE(c_.sql.Open()) << "but leaves the open flag";
  EXPECT_EQ(dbtest::ClientMessageOf([&] { c_.sql.Prepare(); }, 31), "IBSQL Open");
  EXPECT_EQ(dbtest::ClientMessageOf([&] { c_.sql.Execute(); }, 31), "IBSQL Open");
  c_.sql.Close();
  c_.sql.Execute();
  EXPECT_EQ(c_.sql.Column(0).GetText(), "two");
  c_.sql.Close();
}

TEST_F(StatementTest, PrepareChecksLinksInOrder) {
  TIBSQL lone("Lone");
  lone.SQLAdd("SELECT 1 FROM RDB$DATABASE");
  EXPECT_EQ(dbtest::ClientMessageOf([&] { lone.Prepare(); }, 24), "Database not assigned");
  lone.SetDatabase(&c_.database);
  EXPECT_EQ(dbtest::ClientMessageOf([&] { lone.Prepare(); }, 25), "Transaction not assigned");
  lone.SetTransaction(&c_.transaction);
  EXPECT_EQ(dbtest::ClientMessageOf([&] { lone.Prepare(); }, 18), "Transaction is not active");
  c_.database.Close();
  EXPECT_EQ(dbtest::ClientMessageOf([&] { lone.Prepare(); }, 15),
            "Cannot perform operation -- DB is not open");
}

TEST_F(StatementTest, TransactionSetTakesTheDefaultConnection) {
  TIBSQL lone("Lone");
  lone.SetTransaction(&c_.transaction);
  EXPECT_EQ(lone.Database(), &c_.database);
  lone.SetTransaction(nullptr);
  EXPECT_EQ(lone.Transaction(), nullptr);
}

TEST_F(StatementTest, EngineErrorCarriesCodesAndJoinedText) {
  StatementBracket bracket(c_.sql);
  c_.sql.SQLAdd("SELECT FROM WHERE");
  try {
    c_.sql.Prepare();
    FAIL() << "prepared";
  } catch (const EIBInterBaseError& e) {
    EXPECT_EQ(e.SQLCode(), -104);
    EXPECT_EQ(e.IBErrorCode(), 335544569L);
    std::string m = e.Message();
    EXPECT_EQ(m.rfind("Dynamic SQL Error\r\nSQL error code = -104\r\n", 0), 0u) << m;
    EXPECT_NE(m.back(), '.');
    EXPECT_EQ(m.find("\n\n"), std::string::npos);
  }
  EXPECT_FALSE(c_.sql.Prepared());
  EXPECT_EQ(*c_.sql.HandlePtr(), 0u);
}

TEST_F(StatementTest, ConstraintViolationTextHasNoTrailingPeriod) {
  try {
    Exec(c_.sql, "INSERT INTO T VALUES (1, 'dup')");
    FAIL() << "inserted a duplicate key";
  } catch (const EIBInterBaseError& e) {
    EXPECT_EQ(e.IBErrorCode(), 335544665L);
    EXPECT_EQ(e.SQLCode(), -803);
    EXPECT_NE(e.Message().find("violation of PRIMARY or UNIQUE KEY constraint"), std::string::npos);
    EXPECT_NE(e.Message().find("\r\n"), std::string::npos);
    EXPECT_NE(e.Message().back(), '.');
  }
}

TEST_F(StatementTest, ColumnsAreNamedAndFoundByName) {
  StatementBracket bracket(c_.sql);
  c_.sql.SQLAdd("SELECT ID, ID, NAME AS Label, 1 + 1, 2 + 2 FROM T WHERE ID = 2");
  c_.sql.Execute();
  ASSERT_EQ(c_.sql.ColumnCount(), 5);
  EXPECT_EQ(c_.sql.Column(0).Name(), "ID");
  EXPECT_EQ(c_.sql.Column(1).Name(), "ID1");
  EXPECT_EQ(c_.sql.Column(2).Name(), "LABEL");
  EXPECT_EQ(c_.sql.Column(3).Name(), "ADD");
  EXPECT_EQ(c_.sql.Column(4).Name(), "ADD1");
  EXPECT_EQ(c_.sql.Current().NameAt(1), "ID1");
  EXPECT_EQ(c_.sql.ColumnByName("  label ").GetText(), "two");
  EXPECT_EQ(c_.sql.ColumnByName("add1").GetInteger(), 4);
  EXPECT_EQ(dbtest::ClientMessageOf([&] { c_.sql.Column(5); }, 46), "Field \"5\" not found");
  EXPECT_EQ(dbtest::ClientMessageOf([&] { c_.sql.Column(-1); }, 46), "Field \"-1\" not found");
  EXPECT_EQ(dbtest::ClientMessageOf([&] { c_.sql.ColumnByName("Nope "); }, 46),
            "Field \"Nope \" not found");
  c_.sql.Close();
}

TEST_F(StatementTest, ParametersByIndexAndName) {
  StatementBracket bracket(c_.sql);
  c_.sql.SQLAdd("SELECT NAME FROM T WHERE ID = :id OR ID = :Other");
  EXPECT_FALSE(c_.sql.Prepared());
  EXPECT_EQ(c_.sql.ParamCount(), 2) << "counting prepares";
  EXPECT_TRUE(c_.sql.Prepared());
  EXPECT_EQ(c_.sql.Param(1).Name(), "OTHER");
  EXPECT_EQ(dbtest::ClientMessageOf([&] { c_.sql.Param(2); }, 26), "XSQLDA index out of range");
  EXPECT_EQ(dbtest::ClientMessageOf([&] { c_.sql.ParamByName("missing"); }, 46),
            "Field \"missing\" not found");
  c_.sql.ParamByName(" ID").SetInteger(3);
  c_.sql.ParamByName("other").SetInteger(-5);
  c_.sql.Execute();
  EXPECT_EQ(c_.sql.Column(0).GetText(), "three");
  c_.sql.Close();
  EXPECT_EQ(c_.sql.ProcessedSQL(), "SELECT NAME FROM T WHERE ID = ? OR ID = ?\r\n");
}

TEST_F(StatementTest, ParamByNamePreparesFirst) {
  StatementBracket bracket(c_.sql);
  c_.sql.SQLAdd("DELETE FROM T WHERE ID = :ID");
  c_.sql.ParamByName("ID").SetInteger(1);
  EXPECT_TRUE(c_.sql.Prepared());
  c_.sql.Execute();
  bracket.Close();
  EXPECT_EQ(Query(c_.sql, "SELECT COUNT(*) FROM T")[0][0], "2");
}

TEST_F(StatementTest, ParamCheckOffSendsColonsUnchanged) {
  c_.sql.SetParamCheck(false);
  Exec(c_.sql, "CREATE PROCEDURE TWICE (X INTEGER) RETURNS (Y INTEGER) AS BEGIN Y = :X * 2; END");
  c_.sql.SetParamCheck(true);
  StatementBracket bracket(c_.sql);
  c_.sql.SQLClear();
  c_.sql.SQLAdd("EXECUTE PROCEDURE TWICE(:X)");
  c_.sql.ParamByName("X").SetInteger(21);
  c_.sql.Execute();
  EXPECT_EQ(c_.sql.SQLType(), SQLExecProcedure);
  EXPECT_EQ(c_.sql.ColumnByName("Y").GetInteger(), 42);
}

TEST_F(StatementTest, PlaceholderWithoutPreprocessingFailsInsteadOfRunningEmpty) {
  c_.sql.SetParamCheck(false);
  EXPECT_THROW(Exec(c_.sql, "UPDATE T SET NAME = ? WHERE ID = 1"), EIBInterBaseError);
  c_.sql.SetParamCheck(true);
  EXPECT_EQ(Query(c_.sql, "SELECT NAME FROM T WHERE ID = 1")[0][0], "one");
}

TEST_F(StatementTest, MarkerWithoutValueRunsAsEmptyValue) {
  // The first script's colon words stay parameters that nobody fills.
  Exec(c_.sql, "UPDATE T SET NAME = :NOTHING WHERE ID = 1");
  auto rows = Query(c_.sql, "SELECT NAME, COALESCE(NAME, 'null') FROM T WHERE ID = 1");
  EXPECT_EQ(rows[0][1], "") << "zero-filled, not null";
}

TEST_F(StatementTest, MarkerInLineCommentIsNotAParameterOfTheEngine) {
  // The preprocessing names it, but the engine sees no placeholder there; the
  // engine's count decides, so the statement runs without parameters.
  StatementBracket bracket(c_.sql);
  c_.sql.SQLAdd("-- :note");
  c_.sql.SQLAdd("SELECT COUNT(*) FROM T");
  EXPECT_EQ(c_.sql.ParamCount(), 0);
  c_.sql.Execute();
  EXPECT_EQ(c_.sql.Column(0).GetInteger(), 3);
  c_.sql.Close();
}

TEST_F(StatementTest, ParseErrorLeavesStatementUnprepared) {
  StatementBracket bracket(c_.sql);
  c_.sql.SQLAdd("SELECT 'open FROM T");
  EXPECT_EQ(dbtest::ClientMessageOf([&] { c_.sql.Prepare(); }, 55),
            "SQL Parse Error:\r\n\r\nEOF in string detected");
  EXPECT_FALSE(c_.sql.Prepared());
  EXPECT_EQ(*c_.sql.HandlePtr(), 0u);
}

TEST_F(StatementTest, InsertReturningGivesTheNewKey) {
  StatementBracket bracket(c_.sql);
  c_.sql.SQLAdd("INSERT INTO K (NAME) VALUES (:NAME) RETURNING ID");
  c_.sql.Prepare();
  EXPECT_EQ(c_.sql.SQLType(), SQLExecProcedure);
  c_.sql.ParamByName("NAME").SetText("first");
  c_.sql.Execute();
  EXPECT_EQ(c_.sql.ColumnByName("ID").GetInteger(), 101);
  c_.sql.ResetParams();
  c_.sql.ParamByName("NAME").SetText("second");
  c_.sql.Execute();
  EXPECT_EQ(c_.sql.Column(0).GetInteger(), 102);
  EXPECT_FALSE(c_.sql.Open());
  bracket.Close();
  EXPECT_EQ(Query(c_.sql, "SELECT NAME FROM K WHERE ID = 102")[0][0], "second");
}

TEST_F(StatementTest, FailingProcedureRaisesItsError) {
  try {
    Exec(c_.sql, "EXECUTE PROCEDURE FAIL");
    FAIL() << "no error";
  } catch (const EIBInterBaseError& e) {
    EXPECT_NE(e.Message().find("no such luck"), std::string::npos) << e.Message();
  }
}

TEST_F(StatementTest, ProcedureDeadlockIsRaised) {
  // A second attachment holds the row; the procedure's update cannot wait.
  Connection other(db_.Path());
  other.transaction.SetParams({"nowait"});
  StatementBracket holder(other.sql);
  other.sql.SQLAdd("UPDATE T SET NAME = 'held' WHERE ID = 2");
  other.sql.Execute();

  c_.transaction.SetParams({"nowait"});
  StatementBracket bracket(c_.sql);
  c_.sql.SQLAdd("EXECUTE PROCEDURE BUMP(2)");
  try {
    c_.sql.Execute();
    FAIL() << "a deadlock was reported as success";
  } catch (const EIBInterBaseError& e) {
    EXPECT_EQ(e.IBErrorCode(), 335544336L) << e.Message();
  }
}

TEST_F(StatementTest, SelectForUpdateOpensACursor) {
  StatementBracket bracket(c_.sql);
  c_.sql.SQLAdd("SELECT ID FROM T ORDER BY ID FOR UPDATE");
  c_.sql.Execute();
  EXPECT_EQ(c_.sql.SQLType(), SQLSelectForUpdate);
  EXPECT_TRUE(c_.sql.Open());
  EXPECT_EQ(c_.sql.Column(0).GetInteger(), 1);
  c_.sql.Close();
}

TEST_F(StatementTest, CursorNameIsComponentNameAndEightDigits) {
  const std::string& name = c_.sql.CursorName();
  ASSERT_EQ(name.size(), std::string("TestSQL").size() + 8);
  EXPECT_EQ(name.rfind("TestSQL", 0), 0u);
  for (size_t i = 7; i < name.size(); ++i) EXPECT_TRUE(name[i] >= '0' && name[i] <= '9');
}

TEST_F(StatementTest, CommitClosesCursorAndKeepsPreparation) {
  c_.transaction.Start();
  c_.sql.SQLAdd("SELECT ID FROM T");
  c_.sql.Execute();
  c_.transaction.Commit();
  EXPECT_FALSE(c_.sql.Open());
  EXPECT_TRUE(c_.sql.Prepared());
  c_.transaction.Start();
  c_.sql.Execute();
  EXPECT_EQ(c_.sql.RowsFetched(), 1);
  c_.transaction.Rollback();
}

TEST_F(StatementTest, DetachUnpreparesStatements) {
  c_.transaction.Start();
  c_.sql.SQLAdd("SELECT ID FROM T");
  c_.sql.Execute();
  c_.database.Close();
  EXPECT_FALSE(c_.sql.Open());
  EXPECT_FALSE(c_.sql.Prepared());
  EXPECT_EQ(*c_.sql.HandlePtr(), 0u);
  EXPECT_EQ(c_.sql.ColumnCount(), 0);
  c_.database.Open();
  EXPECT_EQ(Query(c_.sql, "SELECT COUNT(*) FROM T")[0][0], "3");
}

}  // namespace
}  // namespace dbtest
