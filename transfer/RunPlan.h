#pragma once
// What a run with this program folder and these options would do, worked out
// from both databases by reading only: for every line of the table list what is
// deleted and copied, how keys and references are handled, then the values the
// generators would get and the statements of the two scripts. Texts are
// windows-1251 bytes, as in the control files and the databases.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "text/Regional.h"

class ReadOnlySession;

struct PlanOptions {
  std::string programFolder;  // ends with "/"
  bool events = false;
  text::TDateTime eventsFrom = 0;  // 0: every event
};

enum class LineAction {
  Comment,
  Blank,              // an entry without a table: nothing happens
  Copy,               // rows inserted into the destination
  UpdateInPlace,      // the destination's rows with the same key are updated
  UpdateColumn,       // "&": one column of the destination's rows
  ClearOnly,          // "%"
  Macros,             // the macro transfer
  EventsSectionOnly,  // an event table: copied by the events section alone
};

enum class KeyHandling { None, New, Kept };

// What the plan finds beside what each line does, as data the front ends word.
enum class FindingKind {
  EmptyTableList,         // no line of the table list names a table
  DestinationReadOnly,    // the destination database is in read-only mode
  EventTableInNeither,    // neither database has the event table: skipped
  EventTableNotInSource,  // the source lacks the event table: skipped
  EventTableNotInDest,    // only the destination lacks it; `count` source rows cannot arrive
  KeptKeysHeld,   // `count` source rows bring keys the destination holds and keeps: they fail
  KeptKeysTwice,  // the same, without a unique key in the destination: they arrive twice
};

enum class Severity { Note, Warning, Error };

struct PlanFinding {
  FindingKind kind;
  Severity severity;
  long long count = 0;
};

// A value the copy rewrites from source keys to the keys the referenced rows
// get in the destination.
struct ReferencePlan {
  std::string column;         // destination column; empty for keys inside texts
  std::string what;           // as the plan names it
  std::optional<int> type;    // a typed reference: the type this entry is for
  std::string typeCondition;  // the destination rows of that type, as SQL on alias X
  int pair = 0;
  std::string referencedTable;
  std::string referencedKey;  // empty when no line above copies that table
  bool filledBefore = false;  // a line above fills the pair
};

struct TablePlan {
  int line = 0;      // in the table list, from 1; 0 for the events section
  std::string text;  // the line as read
  LineAction action = LineAction::Comment;
  std::string table, keyColumn, markers;

  // Rows of the table in the destination that the line's deletions take: the
  // clearing pass with its condition, and "#" or "%" again before the copy.
  bool deletes = false;
  std::string deleteCondition;  // empty: every row
  std::optional<long long> destRowsDeleted;

  std::optional<long long> sourceRows;  // rows the line copies or updates from
  std::string sourceRowsNote;           // which rows, when not all of them
  // Events and alarms no description matches: the copy does not read them.
  std::optional<long long> sourceRowsLeftOut;
  std::optional<long long> destRowsAfter;  // the table's rows once the line is done
  KeyHandling keys = KeyHandling::None;
  int pair = 0;
  std::vector<std::string> copied;      // columns given the source's values
  std::vector<std::string> sourceOnly;  // dropped
  std::vector<std::string> destOnly;    // left to their defaults
  std::vector<std::string> notes;
  std::vector<ReferencePlan> references;
  std::vector<std::string> errors;    // the line would not do its work
  std::vector<std::string> warnings;  // it would, but likely not as meant
  std::vector<PlanFinding> findings;
};

struct GeneratorPlan {
  int line = 0;
  std::string generator, table, column;
  std::optional<long long> value;  // what SET GENERATOR would be given
  std::string basis;               // how the value was worked out
  std::string error;               // the run would end at this entry
};

struct ScriptPlan {
  std::string file;
  int statements = 0;               // non-empty statements
  int blocks = 0;                   // statement blocks in the run log (empty statements too)
  std::vector<std::string> writes;  // tables its statements name as written, upper-cased
  std::string error;
};

// How the run would leave one table: which of the destination's own rows go,
// which source rows arrive.
struct TableFate {
  bool cleared = false;                      // every row of its own deleted
  std::vector<std::string> clearConditions;  // otherwise: rows meeting one of these go
  struct Copy {
    std::vector<std::string> sourceQuery;
    KeyHandling keys = KeyHandling::Kept;
    std::string keyColumn;
    long long rows = 0;
  };
  std::vector<Copy> copies;  // rows inserted since the last full deletion
};

// The rows a table should hold after the run, for the check: every table a
// line names that the destination has.
struct ExpectedRows {
  long long kept = 0;    // the destination's own rows that stay
  long long copied = 0;  // source rows inserted
};

struct RunPlan {
  std::vector<TablePlan> lines;  // the table list, then the events section
  std::vector<GeneratorPlan> generators;
  ScriptPlan firstScript, secondScript;
  bool destHasOwnerPhotos = false;
  bool sourceHasOwnerPhotos = false;
  std::map<std::string, TableFate> fates;  // every table a line names
  std::map<std::string, ExpectedRows> expected;
  std::vector<PlanFinding> findings;  // of the run as a whole

  int Errors() const;
  int Warnings() const;
};

// Reads both databases and the control files; changes nothing. Throws when a
// control file cannot be read or a database stops answering.
RunPlan MakeRunPlan(ReadOnlySession& session, const PlanOptions& options);
