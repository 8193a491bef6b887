// The statement bracket and its process-wide re-entrant lock.
#include <gtest/gtest.h>

#include <future>
#include <mutex>
#include <string>

#include "Fixture.h"

namespace dbtest {
namespace {

const char* kSchema = "CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY);\n";

// Whether another thread could take the lock now.
bool FreeForOtherThreads(std::recursive_mutex* lock) {
  return std::async(std::launch::async,
                    [lock] {
                      if (!lock->try_lock()) return false;
                      lock->unlock();
                      return true;
                    })
      .get();
}

TEST(Bracket, NestedBracketsDoNotBlockAndFreeTheLock) {
  TempDatabase source(kSchema, "source.fdb");
  TempDatabase destination(kSchema, "destination.fdb");
  Connection s(source.Path());
  Connection d(destination.Path());
  {
    StatementBracket outer(s.sql);
    EXPECT_FALSE(FreeForOtherThreads(StatementLock()));
    {
      StatementBracket inner(d.sql);
      EXPECT_TRUE(s.transaction.Active());
      EXPECT_TRUE(d.transaction.Active());
      EXPECT_FALSE(FreeForOtherThreads(StatementLock()));
    }
    EXPECT_FALSE(FreeForOtherThreads(StatementLock())) << "the outer bracket still holds it";
    EXPECT_FALSE(d.transaction.Active()) << "the inner bracket committed";
  }
  EXPECT_TRUE(FreeForOtherThreads(StatementLock()));
  EXPECT_FALSE(s.transaction.Active());
}

TEST(Bracket, DetachedConnectionInTransactionShowsAtPrepare) {
  TempDatabase first(kSchema, "first.fdb");
  TempDatabase second(kSchema, "second.fdb");
  Connection c(first.Path());
  TIBDatabase detached("Detached");
  detached.SetDatabaseName(second.Path());
  detached.SetDefaultTransaction(&c.transaction);  // listed, never attached

  EXPECT_NO_THROW(BeginStatement(c.sql));
  EXPECT_FALSE(FreeForOtherThreads(StatementLock()));
  EXPECT_FALSE(c.transaction.Active());
  c.sql.SQLAdd("SELECT COUNT(*) FROM T");
  try {
    c.sql.Prepare();
    FAIL() << "prepared without a transaction";
  } catch (const EIBClientError& e) {
    EXPECT_EQ(e.Message(), "Transaction is not active");
  }
  EXPECT_NO_THROW(EndStatement(c.sql));
  EXPECT_TRUE(FreeForOtherThreads(StatementLock()));
}

TEST(Bracket, BeginCommitsWorkLeftOpenAndStartsAfresh) {
  TempDatabase db(kSchema);
  Connection c(db.Path());
  c.transaction.Start();
  c.sql.SQLAdd("INSERT INTO T VALUES (1)");
  c.sql.Execute();
  BeginStatement(c.sql);
  EXPECT_TRUE(c.transaction.Active());
  EXPECT_NE(*c.transaction.HandlePtr(), 0u);
  c.transaction.Rollback();  // only the new transaction is undone
  EndStatement(c.sql);
  EXPECT_EQ(Query(c.sql, "SELECT COUNT(*) FROM T")[0][0], "1");
}

TEST(Bracket, ErrorInsideStillCommitsWhatWentBefore) {
  TempDatabase db(kSchema);
  Connection c(db.Path());
  try {
    StatementBracket bracket(c.sql);
    c.sql.SQLAdd("INSERT INTO T VALUES (1)");
    c.sql.Execute();
    c.sql.Execute();  // duplicate key
    FAIL() << "inserted twice";
  } catch (const EIBInterBaseError&) {
  }
  EXPECT_TRUE(FreeForOtherThreads(StatementLock()));
  EXPECT_EQ(Query(c.sql, "SELECT COUNT(*) FROM T")[0][0], "1");
}

TEST(Bracket, StatementWithoutTransactionStillTakesTheLock) {
  TIBSQL lone("Lone");
  BeginStatement(lone);
  EXPECT_FALSE(FreeForOtherThreads(StatementLock()));
  EndStatement(lone);
  EXPECT_TRUE(FreeForOtherThreads(StatementLock()));
}

TEST(Bracket, RegisteredLockIsTheOneTaken) {
  std::recursive_mutex own;
  RegisterStatementLock(&own);
  struct Unregister {
    ~Unregister() { RegisterStatementLock(nullptr); }
  } unregister;
  EXPECT_EQ(StatementLock(), &own);
  TIBSQL lone("Lone");
  {
    StatementBracket bracket(lone);
    EXPECT_FALSE(FreeForOtherThreads(&own));
  }
  EXPECT_TRUE(FreeForOtherThreads(&own));
  RegisterStatementLock(nullptr);
  EXPECT_NE(StatementLock(), &own);
}

}  // namespace
}  // namespace dbtest
