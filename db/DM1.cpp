// TDM1: the fixed connections, transactions and statements of a transfer.
#include "db/Credentials.h"
#include "db/IB.h"

namespace {

void Configure(TIBDatabase& database, TIBTransaction& defaultTransaction) {
  database.SetParams(ib::ConnectParams());
  database.SetLoginPrompt(false);
  database.SetSQLDialect(1);
  database.SetDefaultTransaction(&defaultTransaction);
}

void Bind(TIBSQL& statement, TIBDatabase& database, TIBTransaction& transaction, bool paramCheck) {
  statement.SetDatabase(&database);
  statement.SetTransaction(&transaction);
  statement.SetParamCheck(paramCheck);
}

}  // namespace

TDM1::TDM1() {
  // The members' constructors bind the client library before anything else
  // runs; a missing library ends the construction with error 1.
  Configure(IBDatabase3, IBTransaction);
  Configure(IBDatabase1, IBTransaction1);
  Configure(IBDatabase2, IBTransaction2);

  IBTransaction1.SetDefaultDatabase(&IBDatabase1);
  IBTransaction1.SetParams({""});
  IBTransaction2.SetDefaultDatabase(&IBDatabase2);
  IBTransaction2.SetParams({""});

  Bind(IBSQL4, IBDatabase3, IBTransaction, true);
  Bind(IBSQL3, IBDatabase1, IBTransaction1, true);
  Bind(IBSQL6, IBDatabase1, IBTransaction1, false);
  Bind(IBSQL5, IBDatabase2, IBTransaction2, true);
}

TDM1::~TDM1() = default;
