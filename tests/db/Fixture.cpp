#include "Fixture.h"

namespace dbtest {

Connection::Connection(const std::string& path, bool open) {
  database.SetDatabaseName(path);
  database.SetParams({"user_name=sysdba", "password=lockvault", "lc_ctype=WIN1251"});
  database.SetDefaultTransaction(&transaction);
  transaction.SetDefaultDatabase(&database);
  sql.SetDatabase(&database);
  sql.SetTransaction(&transaction);
  if (open) database.Open();
}

void Exec(TIBSQL& statement, const std::string& text) {
  StatementBracket bracket(statement);
  statement.SQLClear();
  statement.SQLAdd(text);
  statement.Execute();
  statement.Close();
}

std::vector<std::vector<std::string>> Query(TIBSQL& statement, const std::string& text) {
  StatementBracket bracket(statement);
  statement.SQLClear();
  statement.SQLAdd(text);
  statement.Execute();
  std::vector<std::vector<std::string>> rows;
  while (!statement.AtEnd()) {
    std::vector<std::string> row;
    for (int i = 0; i < statement.ColumnCount(); ++i) row.push_back(statement.Column(i).GetText());
    rows.push_back(row);
    statement.FetchNext();
  }
  statement.Close();
  return rows;
}

}  // namespace dbtest
