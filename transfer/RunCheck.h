#pragma once
// After a run: did every row arrive with every value the run meant to write?
// Worked out from both databases by reading only, against the plan made before
// the run and what the run recorded: its key map, its failed rows and the
// lines it could not do. Each source row that was to arrive is matched with
// its destination row, by its own key or through the key map, and every
// column is compared with the value the copy meant to write (references
// through the key map, macro lines and rights texts rewritten). Texts are
// windows-1251.
#include <optional>
#include <string>
#include <vector>

#include "transfer/CheckRows.h"
#include "transfer/RunPlan.h"
#include "transfer/RunRecord.h"

class ReadOnlySession;

// One value or one row that is not as the run meant it.
struct CheckDifference {
  enum class Kind {
    Value,          // `column` holds `actual` where `expected` was meant
    MissingRow,     // no destination row for the source row
    NoNewKey,       // the run recorded no new key for the source row
    UnexpectedRow,  // a destination row no source row and no kept row accounts for
  };
  Kind kind = Kind::Value;
  std::string table;
  std::string sourceKey;  // the source row's key as the table list names it
  std::string destKey;    // the destination row's, where it has one
  std::string column;
  check::Value expected, actual;
};

// A line that did not do its work.
struct CheckProblem {
  enum class Kind {
    LineFailed,      // the run's error that ended the line's work
    LineUnparsable,  // a line without TABLE=KEY, which the run cannot read
    NotCompared,     // the check could not read the rows it would compare
    NoDestTable,     // an event table the destination lacks while the source has rows
  };
  Kind kind = Kind::LineFailed;
  int line = 0;                       // in the table list; 0 for the events section
  std::string error;                  // the engine's words, windows-1251
  std::optional<PlanFinding> reason;  // a copy the check cannot follow, in the plan's terms
};

// What the check says beside a table without it being a difference.
struct CheckNote {
  enum class Kind {
    NoSourceTable,          // an event table the source lacks: nothing to move
    NoTableOnEitherSide,    // an event table neither database has
    NoDestTableNoRows,      // an event table the destination lacks, with no rows to move
    UpdateNotCompared,      // an "&" line a later copy of the table follows
    UpdateColumnMissing,    // an "&" line whose column is not named exactly so on both sides
    WrittenBySecondScript,  // a table the run copies nothing into and the second script writes
  };
  Kind kind = Kind::NoSourceTable;
  int line = 0;
  std::string detail;  // the column; the rows the table holds
};

struct TableCheck {
  std::string table;
  std::vector<int> lines;  // table-list lines naming it, 0 for the events section

  // Rows copied in: the source rows the copies read and what became of them.
  long long sourceRows = 0;
  long long arrived = 0;    // there, every value as meant
  long long differing = 0;  // there, some value not as meant
  long long failed = 0;     // the run logged them as failed
  long long missing = 0;    // not there
  // Rows updated in place ("&" lines and the tables updated by key).
  long long updateRows = 0;  // source rows updates were made from
  long long updated = 0;     // as meant
  long long updateDiffering = 0;
  long long updateFailed = 0;
  long long withoutRow = 0;  // no destination row had their key: nothing to update

  // The table's rows as a whole: the destination's own rows that were to stay
  // and the arrived ones; anything else should not be there.
  bool rowsCounted = false;
  long long kept = 0;
  long long destRows = 0;
  long long unexpected = 0;  // below 0: rows that were to stay are gone

  long long unresolved = 0;  // references meant to be -1: no new key for their source key
  long long notMoved = 0;    // events and alarms without a matching description
  bool secondScriptWrites = false;
  std::vector<CheckProblem> problems;
  std::vector<CheckNote> notes;
  std::vector<CheckDifference> samples;  // the first few differences

  long long Differences() const;
  bool Ok() const { return Differences() == 0; }
};

// The run-time states of the source's rows against those of the rows they
// became in the destination.
struct StateCheck {
  std::string table;
  long long saved = 0;            // source rows whose states the run saves
  long long restored = 0;         // their new rows hold the same states
  long long differing = 0;        // their new rows hold other states
  long long missing = 0;          // no new row to hold them
  std::vector<std::string> keys;  // a few differing or missing rows, by source key
  std::string error;
  bool Ok() const { return error.empty() && differing == 0 && missing == 0; }
};

struct RunCheck {
  std::vector<TableCheck> tables;
  std::vector<StateCheck> states;
  long long Differences() const;
  long long NotMoved() const;
};

// How many differences a table keeps as samples.
inline constexpr size_t kCheckSamples = 10;

// `options` as the plan was made with; owners' states are compared only when
// the run kept the users' locations.
RunCheck CheckRun(ReadOnlySession& session, const RunPlan& plan, const PlanOptions& options,
                  const RunRecord& record, bool keepLocations);

// The table checks; RunCheck.cpp adds the states.
std::vector<TableCheck> CheckTables(ReadOnlySession& session, const RunPlan& plan,
                                    const PlanOptions& options, const RunRecord& record);
