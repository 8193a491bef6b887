// Emptying destination tables, the owner-photo probe and single-column updates.
#include <exception>

#include "text/RussianTexts.h"
#include "transfer/Operations.h"
#include "transfer/TableCommit.h"
#include "transfer/TransferContext.h"

namespace {

void Bind(TIBSQL& statement, TIBTransaction& transaction, TIBDatabase& database) {
  transaction.SetDefaultDatabase(&database);
  statement.SetTransaction(&transaction);
}

// Index of the result column named exactly `name` (letter case counts), or -1.
int ExactColumn(TIBSQL& statement, const std::string& name) {
  TIBXSQLDA& columns = statement.Current();
  for (int i = 0; i < columns.Count(); ++i)
    if (columns.NameAt(i) == name) return i;
  return -1;
}

}  // namespace

void ClearTable(TransferContext& context, TIBSQL& statement, TIBTransaction& transaction,
                TIBDatabase& database, const std::string& table, const std::string& condition) {
  // A missing log stops the deletion before it starts.
  context.log.CheckAppendable();
  Bind(statement, transaction, database);
  StatementBracket bracket(statement);
  statement.SQLClear();
  statement.SQLAdd("Delete From " + table);
  if (!condition.empty()) statement.SQLAdd(" WHERE " + condition);
  statement.Prepare();
  try {
    statement.Execute();
  } catch (const std::exception& e) {
    context.log.AppendFailure(ru::LogClearError() + table + " :  " + e.what());
    return;
  }
  CommitTableWork(context, bracket, table, 0);
}

bool UstNalOwnerPhoto(TIBSQL& statement, TIBTransaction& transaction, TIBDatabase& database) {
  Bind(statement, transaction, database);
  StatementBracket bracket(statement);
  bool found = false;
  try {
    statement.SQLClear();
    statement.SQLAdd("SELECT OW_ID FROM OWNERPHOTOS ");
    statement.SQLAdd("WHERE OW_ID = 1");
    statement.Prepare();
    statement.Execute();
    found = true;
  } catch (const std::exception&) {
    found = false;
  }
  try {
    statement.Close();
  } catch (const std::exception&) {
    found = false;
  }
  return found;
}

void UpdPer(TransferContext& context, TIBSQL& source, TIBSQL& dest, TIBTransaction& sourceTr,
            TIBTransaction& destTr, TIBDatabase& sourceDb, TIBDatabase& destDb,
            const std::string& table, const std::string& keyColumn, const std::string& column) {
  Bind(source, sourceTr, sourceDb);
  Bind(dest, destTr, destDb);
  const std::string query = "select * from " + table + " Order BY " + keyColumn;
  {
    StatementBracket probe(dest);
    dest.SQLClear();
    dest.SQLAdd(query);
    dest.Prepare();
    dest.Execute();
    const bool present = ExactColumn(dest, column) >= 0;
    dest.Close();
    if (!present) return;
  }

  StatementBracket sourceBracket(source);
  source.SQLClear();
  source.SQLAdd(query);
  source.Prepare();
  source.Execute();
  const int valueColumn = ExactColumn(source, column);
  if (valueColumn < 0 || source.AtEnd()) return;

  StatementBracket destBracket(dest);
  dest.SQLClear();
  dest.SQLAdd("UPDATE " + table + " SET " + column + " = :PP Where " + keyColumn + " = :ZZ");
  // The text is the same for every row, so it is prepared once.
  dest.Prepare();
  // Destination first, then source: the updates are committed.
  CommitAfter(
      [&] {
        while (!source.AtEnd()) {
          dest.ResetParams();
          TIBXSQLVAR& key = source.ColumnByName(keyColumn);
          dest.Param(0).AssignFrom(source.Column(valueColumn));
          dest.Param(1).AssignFrom(key);
          try {
            dest.Execute();
          } catch (const std::exception& e) {
            const std::string keyText = key.GetText();
            context.log.AppendUpdateFailure(table, keyText,
                                            ru::LogUpdateError() + table + " " + keyColumn +
                                                " =  " + keyText + " :  " + e.what());
          }
          source.FetchNext();
        }
      },
      [&] { CommitTableWork(context, destBracket, table, 0); });
}
