#include "transfer/ReadOnlySession.h"

#include <charconv>
#include <cmath>
#include <exception>

#include "transfer/DatabaseSide.h"

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
  side.lookupTransaction.SetDefaultDatabase(&side.database);
  side.lookupTransaction.SetParams(kReadOnly);
  side.lookup.SetDatabase(&side.database);
  side.lookup.SetTransaction(&side.lookupTransaction);
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
    : database(role + "Database"),
      transaction(role + "Transaction"),
      statement(role + "SQL"),
      lookupTransaction(role + "LookupTransaction"),
      lookup(role + "LookupSQL") {}

ReadOnlySession::ReadOnlySession(const TIBDatabase& connectLike, const std::string& sourcePath,
                                 const std::string& destPath) {
  try {
    Open(source_, connectLike, sourcePath);
  } catch (const std::exception& e) {
    throw EAttachError(DatabaseSide::Source, e.what());
  }
  try {
    Open(dest_, connectLike, destPath);
  } catch (const std::exception& e) {
    throw EAttachError(DatabaseSide::Destination, e.what());
  }
}

ReadOnlySession::~ReadOnlySession() {
  for (Side* side : {&dest_, &source_}) {
    try {
      if (side->statement.Open()) side->statement.Close();
      if (side->lookup.Open()) side->lookup.Close();
      if (side->transaction.Active()) side->transaction.Commit();
      if (side->lookupTransaction.Active()) side->lookupTransaction.Commit();
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

namespace {

// The current row's first column as a whole number; false for NULL. Throws
// when it is some other value.
bool WholeNumber(TIBSQL& statement, long long& value) {
  TIBXSQLVAR& column = statement.Column(0);
  if (column.IsNull()) return false;
  const std::string text = column.GetText();
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size())
    throw std::invalid_argument("not a whole number: " + text);
  return true;
}

}  // namespace

std::optional<long long> CountShared(TIBSQL& first, const std::vector<std::string>& firstLines,
                                     TIBSQL& second, const std::vector<std::string>& secondLines,
                                     text::TDateTime eventsFrom) {
  StatementBracket firstBracket(first);
  StatementBracket secondBracket(second);
  Prepare(first, firstLines);
  Execute(first, eventsFrom);
  Prepare(second, secondLines);
  Execute(second, eventsFrom);
  long long shared = 0;
  try {
    // Both in ascending order: each side is read once, the second only as far
    // as the first has come.
    long long value = 0, other = 0;
    auto nextOther = [&](bool fetch) {
      for (;; fetch = true) {
        if (fetch) second.FetchNext();
        if (second.AtEnd()) return false;
        if (WholeNumber(second, other)) return true;
      }
    };
    bool otherLeft = nextOther(false);
    for (; !first.AtEnd(); first.FetchNext()) {
      if (!WholeNumber(first, value)) continue;
      while (otherLeft && other < value) otherLeft = nextOther(true);
      if (otherLeft && other == value) ++shared;
    }
  } catch (const std::invalid_argument&) {
    first.Close();
    second.Close();
    return std::nullopt;
  }
  first.Close();
  second.Close();
  return shared;
}

std::vector<std::string> CountOf(const std::vector<std::string>& query) {
  std::vector<std::string> lines{"SELECT COUNT(*) FROM ("};
  lines.insert(lines.end(), query.begin(), query.end());
  lines.push_back(")");
  return lines;
}

}  // namespace readonly
