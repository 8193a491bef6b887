// Setting the destination's generators past the largest keys now in its tables.
#include <exception>

#include "text/RussianTexts.h"
#include "text/TextFile.h"
#include "transfer/Operations.h"
#include "transfer/TableList.h"
#include "transfer/TransferContext.h"

void RestoreGenerators(TransferContext& context) {
  // A list removed while the program runs is not caught: it ends the run.
  text::TextFileReader list(text::ResolveInFolder(context.programFolder, "Generator.txt"));
  TDM1& dm = context.dm;
  do {
    GeneratorEntry entry = ParseGeneratorLine(list.ReadLine());
    if (!entry.comment)
      SetGenerator(context, dm.IBSQL3, dm.IBTransaction1, dm.IBDatabase1, entry.table, entry.column,
                   entry.generator);
  } while (!list.Eof());
}

void SetGenerator(TransferContext& context, TIBSQL& statement, TIBTransaction& transaction,
                  TIBDatabase& database, const std::string& table, const std::string& column,
                  const std::string& generator) {
  context.log.CheckAppendable();
  transaction.SetDefaultDatabase(&database);
  statement.SetTransaction(&transaction);

  int value = 0;
  {
    StatementBracket bracket(statement);
    statement.SQLClear();
    statement.SQLAdd("SELECT MAX(" + column + ")+1 FROM " + table);
    // A statement the database cannot prepare is a broken entry: it ends the run.
    statement.Prepare();
    try {
      statement.Execute();
    } catch (const std::exception& e) {
      context.log.AppendFailure(ru::LogMaxError() + table + " :  " + e.what());
      return;
    }
    // An empty table gives NULL, and the generator starts again from 0.
    TIBXSQLVAR& maximum = statement.Column(0);
    value = maximum.IsNull() ? 0 : maximum.GetInteger();
    statement.Close();
  }

  // Each statement commits on its own, so the maximum is read before the set.
  StatementBracket bracket(statement);
  statement.SQLClear();
  statement.SQLAdd("SET GENERATOR " + generator + " to " + std::to_string(value));
  statement.Prepare();
  try {
    statement.Execute();
  } catch (const std::exception& e) {
    context.log.AppendFailure(ru::LogGeneratorError() + generator + " :  " + e.what());
  }
}
