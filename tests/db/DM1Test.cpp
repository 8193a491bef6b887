// The transfer data module: its fixed settings and links, and how the
// re-pointing of transactions plays out over two runs in one process.
#include <gtest/gtest.h>

#include <string>

#include "Fixture.h"

namespace dbtest {
namespace {

const char* kSchema = "CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY);\n";

using Databases = std::vector<TIBDatabase*>;

// The listed connections without the emptied slots.
Databases Listed(const TIBTransaction& t) {
  Databases listed;
  for (TIBDatabase* d : t.Databases())
    if (d != nullptr) listed.push_back(d);
  return listed;
}

TEST(DM1, ComponentsAndSettings) {
  TDM1 dm;
  const std::vector<std::string> params = {"user_name=sysdba", "password=lockvault",
                                           "lc_ctype=WIN1251"};
  struct DatabaseRow {
    TIBDatabase* database;
    TIBTransaction* defaultTransaction;
  };
  for (DatabaseRow row : {DatabaseRow{&dm.IBDatabase3, &dm.IBTransaction},
                          DatabaseRow{&dm.IBDatabase1, &dm.IBTransaction1},
                          DatabaseRow{&dm.IBDatabase2, &dm.IBTransaction2}}) {
    SCOPED_TRACE(row.database->Name());
    EXPECT_EQ(row.database->Params(), params);
    EXPECT_FALSE(row.database->LoginPrompt());
    EXPECT_EQ(row.database->SQLDialect(), 1);
    EXPECT_EQ(row.database->DefaultTransaction(), row.defaultTransaction);
    EXPECT_TRUE(row.database->DatabaseName().empty());
    EXPECT_FALSE(row.database->Connected());
  }
  EXPECT_EQ(dm.IBTransaction.DefaultDatabase(), nullptr);
  EXPECT_EQ(Listed(dm.IBTransaction), Databases{&dm.IBDatabase3});
  EXPECT_TRUE(dm.IBTransaction.Params().empty());
  EXPECT_EQ(dm.IBTransaction1.DefaultDatabase(), &dm.IBDatabase1);
  EXPECT_EQ(Listed(dm.IBTransaction1), Databases{&dm.IBDatabase1});
  EXPECT_EQ(dm.IBTransaction1.Params(), std::vector<std::string>{""});
  EXPECT_EQ(dm.IBTransaction2.DefaultDatabase(), &dm.IBDatabase2);
  EXPECT_EQ(dm.IBTransaction2.Params(), std::vector<std::string>{""});
  EXPECT_TRUE(Listed(dm.IBTransaction3).empty());
  EXPECT_EQ(dm.IBTransaction.DefaultAction(), TACommit);

  struct StatementRow {
    TIBSQL* sql;
    TIBDatabase* database;
    TIBTransaction* transaction;
    bool paramCheck;
  };
  for (StatementRow row : {StatementRow{&dm.IBSQL4, &dm.IBDatabase3, &dm.IBTransaction, true},
                           StatementRow{&dm.IBSQL3, &dm.IBDatabase1, &dm.IBTransaction1, true},
                           StatementRow{&dm.IBSQL6, &dm.IBDatabase1, &dm.IBTransaction1, false},
                           StatementRow{&dm.IBSQL5, &dm.IBDatabase2, &dm.IBTransaction2, true}}) {
    SCOPED_TRACE(row.sql->Name());
    EXPECT_EQ(row.sql->Database(), row.database);
    EXPECT_EQ(row.sql->Transaction(), row.transaction);
    EXPECT_EQ(row.sql->ParamCheck(), row.paramCheck);
  }
  EXPECT_EQ(dm.IBDatabase1.Statements(), (std::vector<TIBSQL*>{&dm.IBSQL3, &dm.IBSQL6}));
}

TEST(DM1, RepointingOverTwoRuns) {
  TempDatabase source(kSchema, "source.fdb");
  TempDatabase destination(kSchema, "destination.fdb");
  TDM1 dm;
  dm.IBDatabase3.SetDatabaseName(source.Path());
  dm.IBDatabase1.SetDatabaseName(destination.Path());
  dm.IBDatabase2.SetDatabaseName(destination.Path());

  for (int run = 1; run <= 2; ++run) {
    SCOPED_TRACE("run " + std::to_string(run));
    dm.IBDatabase3.Open();
    dm.IBDatabase1.Open();
    dm.IBDatabase2.Open();

    // First script: the source transaction pointed at destination connection 1.
    dm.IBTransaction.SetDefaultDatabase(&dm.IBDatabase1);
    dm.IBSQL3.SetTransaction(&dm.IBTransaction);
    if (run == 1) {
      EXPECT_EQ(Listed(dm.IBTransaction), (Databases{&dm.IBDatabase3, &dm.IBDatabase1}));
      // One transaction over both files: both inserts are undone together.
      dm.IBTransaction.Start();
      dm.IBSQL4.SQLClear();
      dm.IBSQL4.SQLAdd("INSERT INTO T VALUES (1)");
      dm.IBSQL4.Execute();
      dm.IBSQL3.SQLClear();
      dm.IBSQL3.SQLAdd("INSERT INTO T VALUES (1)");
      dm.IBSQL3.Execute();
      dm.IBTransaction.Rollback();
    } else {
      EXPECT_EQ(Listed(dm.IBTransaction), Databases{&dm.IBDatabase1});
    }
    EXPECT_EQ(Query(dm.IBSQL3, "SELECT COUNT(*) FROM T")[0][0], "0");

    // The table copy points it at the source: destination 1 leaves the list.
    dm.IBTransaction.SetDefaultDatabase(&dm.IBDatabase3);
    EXPECT_EQ(Listed(dm.IBTransaction), Databases{&dm.IBDatabase3});
    EXPECT_EQ(Query(dm.IBSQL4, "SELECT COUNT(*) FROM T")[0][0], "0");

    // The second script: the source connection leaves and loses its default.
    dm.IBTransaction.SetDefaultDatabase(&dm.IBDatabase1);
    EXPECT_EQ(Listed(dm.IBTransaction), Databases{&dm.IBDatabase1});
    EXPECT_EQ(dm.IBDatabase3.DefaultTransaction(), nullptr);
    EXPECT_FALSE(dm.IBDatabase3.HasTransaction(&dm.IBTransaction));

    dm.IBDatabase3.Close();
    dm.IBDatabase1.Close();
    dm.IBDatabase2.Close();
  }
}

TEST(DM1, SourceStatementOutsideItsTransactionsConnectionFails) {
  // What a second run would meet without pointing the source transaction at
  // the source connection first: the engine refuses the statement.
  TempDatabase source(kSchema, "source.fdb");
  TempDatabase destination(kSchema, "destination.fdb");
  TDM1 dm;
  dm.IBDatabase3.SetDatabaseName(source.Path());
  dm.IBDatabase1.SetDatabaseName(destination.Path());
  dm.IBDatabase3.Open();
  dm.IBDatabase1.Open();
  dm.IBTransaction.SetDefaultDatabase(&dm.IBDatabase1);
  dm.IBTransaction.SetDefaultDatabase(&dm.IBDatabase3);
  dm.IBTransaction.SetDefaultDatabase(&dm.IBDatabase1);
  EXPECT_THROW(Query(dm.IBSQL4, "SELECT COUNT(*) FROM T"), EIBError);
  EXPECT_TRUE(dm.IBDatabase1.Connected());
  dm.IBTransaction.SetDefaultDatabase(&dm.IBDatabase3);
  EXPECT_EQ(Query(dm.IBSQL4, "SELECT COUNT(*) FROM T")[0][0], "0");
}

}  // namespace
}  // namespace dbtest
