#include "transfer/ReadOnlySession.h"

#include <cmath>

namespace {

// Read committed, so a long plan sees what is there, and read only, so nothing
// it runs can change either database.
const std::vector<std::string> kReadOnly = {"read", "read_committed", "rec_version", "nowait"};

void Open(ReadOnlySession::Side& side, const TIBDatabase& like, const std::string& path) {
  side.database.SetParams(like.Params());
  side.database.SetLoginPrompt(false);
  side.database.SetSQLDialect(like.SQLDialect());
  side.database.SetDefaultTransaction(&side.transaction);
  side.transaction.SetDefaultDatabase(&side.database);
  side.transaction.SetParams(kReadOnly);
  side.statement.SetDatabase(&side.database);
  side.statement.SetTransaction(&side.transaction);
  side.database.SetDatabaseName(path);
  side.database.SetConnected(true);
}

void Prepare(TIBSQL& statement, const std::vector<std::string>& lines) {
  if (statement.Open()) statement.Close();
  statement.SetSQL(lines);
  statement.Prepare();
}

void Execute(TIBSQL& statement, text::TDateTime eventsFrom) {
  if (TIBXSQLVAR* from = statement.Params().FindByName("EV_D"))
    from->SetDateTime(std::trunc(eventsFrom));
  statement.Execute();
}

}  // namespace

ReadOnlySession::Side::Side(const std::string& role)
    : database(role + "Database"), transaction(role + "Transaction"), statement(role + "SQL") {}

ReadOnlySession::ReadOnlySession(const TIBDatabase& connectLike, const std::string& sourcePath,
                                 const std::string& destPath) {
  Open(source_, connectLike, sourcePath);
  Open(dest_, connectLike, destPath);
}

ReadOnlySession::~ReadOnlySession() {
  for (Side* side : {&dest_, &source_}) {
    try {
      if (side->statement.Open()) side->statement.Close();
      if (side->transaction.Active()) side->transaction.Commit();
      side->database.SetConnected(false);
    } catch (...) {
      // The objects' own destructors end whatever is still open.
    }
  }
}

namespace readonly {

std::vector<std::string> ColumnsOf(TIBSQL& statement, const std::vector<std::string>& lines) {
  StatementBracket bracket(statement);
  Prepare(statement, lines);
  std::vector<std::string> names;
  for (int i = 0; i < statement.ColumnCount(); ++i) names.push_back(statement.Column(i).Name());
  return names;
}

std::optional<long long> ValueOf(TIBSQL& statement, const std::vector<std::string>& lines,
                                 text::TDateTime eventsFrom) {
  StatementBracket bracket(statement);
  Prepare(statement, lines);
  Execute(statement, eventsFrom);
  std::optional<long long> value;
  if (!statement.AtEnd() && !statement.Column(0).IsNull()) value = statement.Column(0).GetInteger();
  statement.Close();
  return value;
}

std::vector<std::vector<std::string>> RowsOf(TIBSQL& statement,
                                             const std::vector<std::string>& lines) {
  StatementBracket bracket(statement);
  Prepare(statement, lines);
  Execute(statement, 0);
  std::vector<std::vector<std::string>> rows;
  for (; !statement.AtEnd(); statement.FetchNext()) {
    std::vector<std::string> row;
    for (int i = 0; i < statement.ColumnCount(); ++i) {
      TIBXSQLVAR& value = statement.Column(i);
      row.push_back(value.IsNull() ? std::string() : value.GetText());
    }
    rows.push_back(std::move(row));
  }
  statement.Close();
  return rows;
}

std::vector<std::string> CountOf(const std::vector<std::string>& query) {
  std::vector<std::string> lines{"SELECT COUNT(*) FROM ("};
  lines.insert(lines.end(), query.begin(), query.end());
  lines.push_back(")");
  return lines;
}

}  // namespace readonly
