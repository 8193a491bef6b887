// Connections and transactions: attach and detach, start and end, links
// between the objects, and the client library binding.
#include <gtest/gtest.h>

#include <string>

#include "Fixture.h"

namespace dbtest {
namespace {

const char* kSchema = "CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY);\n";

int Count(TIBSQL& statement) {
  return std::stoi(Query(statement, "SELECT COUNT(*) FROM T")[0][0]);
}

void InsertWithoutCommit(TIBSQL& statement, int id) {
  statement.SQLClear();
  statement.SQLAdd("INSERT INTO T VALUES (" + std::to_string(id) + ")");
  statement.Execute();
}

TEST(Connection, DatabaseNameRules) {
  TempDatabase db(kSchema);
  Connection c(db.Path(), false);
  EXPECT_NO_THROW(c.database.SetDatabaseName(db.Path()));
  c.database.Open();
  EXPECT_TRUE(c.database.Connected());
  EXPECT_NO_THROW(c.database.SetDatabaseName(db.Path())) << "the same path changes nothing";
  EXPECT_EQ(dbtest::ClientMessageOf([&] { c.database.SetDatabaseName(db.Path() + "x"); }, 16),
            "Cannot perform operation -- DB is currently open");
  EXPECT_EQ(c.database.DatabaseName(), db.Path());
  c.database.Close();
  c.database.SetDatabaseName("");
  EXPECT_EQ(dbtest::ClientMessageOf([&] { c.database.Open(); }, 17), "Database name is missing");
}

TEST(Connection, FailedAttachLeavesItDetachedAndRetryable) {
  TempDatabase db(kSchema);
  Connection c(db.Path(), false);
  c.database.SetDatabaseName(db.Folder() + "/missing.fdb");
  try {
    c.database.Open();
    FAIL() << "attached a missing file";
  } catch (const EIBInterBaseError& e) {
    EXPECT_NE(e.IBErrorCode(), 0);
    EXPECT_FALSE(e.Message().empty());
  }
  EXPECT_FALSE(c.database.Connected());
  c.database.SetDatabaseName(db.Path());
  c.database.Open();
  EXPECT_TRUE(c.database.Connected());
  EXPECT_EQ(c.database.DBSQLDialect(), 1);
  c.database.Close();
  c.database.Close();  // detached: nothing
  EXPECT_FALSE(c.database.Connected());
}

TEST(Connection, DialectIsLoweredToTheDatabases) {
  TempDatabase db(kSchema);
  Connection c(db.Path(), false);
  c.database.SetSQLDialect(3);
  c.database.Open();
  EXPECT_EQ(c.database.SQLDialect(), 1);
}

TEST(Connection, StartChecks) {
  TempDatabase db(kSchema);
  Connection c(db.Path(), false);
  TIBTransaction empty("Empty");
  EXPECT_EQ(dbtest::ClientMessageOf([&] { empty.Start(); }, 21),
            "No databases are listed in transaction component");
  EXPECT_EQ(dbtest::ClientMessageOf([&] { c.transaction.Start(); }, 15),
            "Cannot perform operation -- DB is not open");
  EXPECT_FALSE(c.transaction.Active());
  c.database.Open();
  c.transaction.Start();
  EXPECT_EQ(dbtest::ClientMessageOf([&] { c.transaction.Start(); }, 19), "Transaction is active");
  c.transaction.Commit();
  EXPECT_EQ(dbtest::ClientMessageOf([&] { c.transaction.Commit(); }, 18),
            "Transaction is not active");
  EXPECT_EQ(dbtest::ClientMessageOf([&] { c.transaction.Rollback(); }, 18),
            "Transaction is not active");
}

TEST(Connection, CommitKeepsRollbackUndoes) {
  TempDatabase db(kSchema);
  Connection c(db.Path());
  c.transaction.Start();
  InsertWithoutCommit(c.sql, 1);
  c.transaction.Rollback();
  EXPECT_EQ(Count(c.sql), 0);
  c.transaction.Start();
  InsertWithoutCommit(c.sql, 1);
  c.transaction.Commit();
  EXPECT_EQ(Count(c.sql), 1);
}

TEST(Connection, TwoConnectionsInOneTransaction) {
  TempDatabase first(kSchema, "first.fdb");
  TempDatabase second(kSchema, "second.fdb");
  Connection a(first.Path());
  Connection b(second.Path());
  // b's statement runs in a's transaction, which now spans both files.
  b.database.SetDefaultTransaction(&a.transaction);
  b.sql.SetTransaction(&a.transaction);
  ASSERT_TRUE(b.database.HasTransaction(&a.transaction));

  a.transaction.Start();
  InsertWithoutCommit(a.sql, 1);
  InsertWithoutCommit(b.sql, 2);
  a.transaction.Rollback();
  a.transaction.Start();
  InsertWithoutCommit(a.sql, 3);
  InsertWithoutCommit(b.sql, 4);
  a.transaction.Commit();

  b.sql.SetTransaction(&b.transaction);
  EXPECT_EQ(Query(a.sql, "SELECT LIST(ID) FROM T")[0][0], "3");
  EXPECT_EQ(Query(b.sql, "SELECT LIST(ID) FROM T")[0][0], "4");
}

TEST(Connection, DetachEndsOpenTransactionsWithTheirDefaultAction) {
  TempDatabase db(kSchema);
  Connection c(db.Path());
  TIBTransaction rollbackOnly("RollbackOnly");
  rollbackOnly.SetDefaultDatabase(&c.database);
  rollbackOnly.SetDefaultAction(TARollback);
  TIBSQL other("Other");
  other.SetTransaction(&rollbackOnly);

  c.transaction.Start();
  InsertWithoutCommit(c.sql, 1);
  c.sql.SQLClear();
  c.sql.SQLAdd("SELECT ID FROM T");
  c.sql.Execute();  // an open cursor is closed on the way
  rollbackOnly.Start();
  InsertWithoutCommit(other, 2);
  EXPECT_NO_THROW(c.database.Close());
  EXPECT_FALSE(c.transaction.Active());
  EXPECT_FALSE(rollbackOnly.Active());
  EXPECT_FALSE(c.sql.Open());

  c.database.Open();
  EXPECT_EQ(Query(c.sql, "SELECT LIST(ID) FROM T")[0][0], "1");
}

TEST(Connection, DestroyedTransactionCommitsAndUnlinks) {
  TempDatabase db(kSchema);
  Connection c(db.Path());
  {
    TIBTransaction local("Local");
    local.SetDefaultDatabase(&c.database);
    c.database.SetDefaultTransaction(&local);
    c.sql.SetTransaction(&local);
    local.Start();
    InsertWithoutCommit(c.sql, 5);
  }
  EXPECT_EQ(c.sql.Transaction(), nullptr);
  EXPECT_EQ(c.database.DefaultTransaction(), nullptr);
  for (TIBTransaction* t : c.database.Transactions())
    EXPECT_TRUE(t == nullptr || t == &c.transaction);
  c.sql.SetTransaction(&c.transaction);
  EXPECT_EQ(Count(c.sql), 1);
}

TEST(Connection, DestroyedConnectionUnlinksEverything) {
  TIBTransaction transaction("T");
  TIBSQL statement("S");
  {
    TIBDatabase database("D");
    transaction.SetDefaultDatabase(&database);
    statement.SetTransaction(&transaction);
    EXPECT_EQ(statement.Database(), &database);
  }
  EXPECT_EQ(transaction.DefaultDatabase(), nullptr);
  EXPECT_EQ(statement.Database(), nullptr);
  for (TIBDatabase* d : transaction.Databases()) EXPECT_EQ(d, nullptr);
}

TEST(Connection, SlotListsReuseEmptiedSlots) {
  TIBDatabase database("D");
  TIBTransaction t1("T1"), t2("T2"), t3("T3"), t4("T4");
  for (TIBTransaction* t : {&t1, &t2, &t3}) t->SetDefaultDatabase(&database);
  EXPECT_EQ(database.Transactions(), (std::vector<TIBTransaction*>{&t1, &t2, &t3}));
  t2.SetDefaultDatabase(nullptr);
  EXPECT_EQ(database.Transactions(), (std::vector<TIBTransaction*>{&t1, nullptr, &t3}));
  t4.SetDefaultDatabase(&database);
  EXPECT_EQ(database.Transactions(), (std::vector<TIBTransaction*>{&t1, &t4, &t3}));
  t4.SetDefaultDatabase(&database);  // no duplicate
  EXPECT_EQ(database.Transactions().size(), 3u);
}

TEST(Connection, MissingClientLibraryIsErrorOne) {
  struct Restore {
    ~Restore() { SetClientLibraryNameForTests("libfbclient.so.2"); }
  } restore;
  SetClientLibraryNameForTests("libdravik-no-such-client.so");
  const std::string message =
      "InterBase library gds32.dll not found in the path. Please install InterBase to use "
      "this functionality";
  EXPECT_EQ(dbtest::ClientMessageOf([] { TIBDatabase d; }, 1), message);
  EXPECT_EQ(dbtest::ClientMessageOf([] { TDM1 module; }, 1), message);
  EXPECT_EQ(dbtest::ClientMessageOf([] { CheckIBLoaded(); }, 1), message);
  SetClientLibraryNameForTests("libfbclient.so.2");
  EXPECT_NO_THROW(TDM1 module);
}

}  // namespace
}  // namespace dbtest
