#pragma once
// Both databases of a transfer opened for reading only, with the connect
// parameters of the transfer's own connections. Every query runs in a read-only
// transaction, so the engine itself refuses a write; the plan and the check of
// the command line read through it.
#include <optional>
#include <string>
#include <vector>

#include "db/IB.h"

class ReadOnlySession {
 public:
  // Attaches the source, then the destination, like `connectLike` would (its
  // parameters and dialect); throws EAttachError, naming the side, with the
  // database's error when one cannot be opened.
  ReadOnlySession(const TIBDatabase& connectLike, const std::string& sourcePath,
                  const std::string& destPath);
  ~ReadOnlySession();
  ReadOnlySession(const ReadOnlySession&) = delete;
  ReadOnlySession& operator=(const ReadOnlySession&) = delete;

  struct Side {
    explicit Side(const std::string& role);
    TIBDatabase database;
    TIBTransaction transaction;
    TIBSQL statement;
    // A second statement in a transaction of its own, for queries made while
    // the first one's rows are being read.
    TIBTransaction lookupTransaction;
    TIBSQL lookup;
  };
  Side& Source() { return source_; }
  Side& Dest() { return dest_; }

 private:
  Side source_{"Source"};
  Side dest_{"Dest"};
};

namespace readonly {

// Prepares the query (nothing runs) and gives its result columns' names; throws
// the database's error when the query cannot be prepared.
std::vector<std::string> ColumnsOf(TIBSQL& statement, const std::vector<std::string>& lines);

// Runs a query and gives the first column of its first row as a whole number,
// or nothing when that is NULL or there is no row. A parameter EV_D takes
// `eventsFrom` (a day's midnight). Throws the database's error.
std::optional<long long> ValueOf(TIBSQL& statement, const std::vector<std::string>& lines,
                                 text::TDateTime eventsFrom = 0);

// Runs a query and gives every row, each value as text (NULL as an empty text).
std::vector<std::vector<std::string>> RowsOf(TIBSQL& statement,
                                             const std::vector<std::string>& lines);

// The rows of the first query whose first column, a whole number, the second
// query also gives; both in ascending order of it, read side by side once, so
// neither is held in memory. NULLs count for nothing; nothing when a value is
// not a whole number. EV_D takes `eventsFrom` in both.
std::optional<long long> CountShared(TIBSQL& first, const std::vector<std::string>& firstLines,
                                     TIBSQL& second, const std::vector<std::string>& secondLines,
                                     text::TDateTime eventsFrom = 0);

// "SELECT COUNT(*) FROM (" + the query + ")", so a count is always of exactly
// the rows the query reads.
std::vector<std::string> CountOf(const std::vector<std::string>& query);

}  // namespace readonly
