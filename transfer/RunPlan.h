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

// What the plan finds, of the run as a whole or of one line, as data the
// front ends word. `name` and `other` are names of tables and columns, and
// `message` the engine's or the system's words, all windows-1251.
enum class FindingKind {
  // Of the run as a whole.
  EmptyTableList,       // no line of the table list names a table
  DestinationReadOnly,  // the destination database is in read-only mode
  // The events section's tables.
  EventTableInNeither,    // neither database has the event table: skipped
  EventTableNotInSource,  // the source lacks the event table: skipped
  EventTableNotInDest,    // only the destination lacks it; `count` source rows cannot arrive
  // Keys a kept-key copy brings.
  KeptKeysHeld,   // `count` source rows bring keys the destination holds and keeps: they fail
  KeptKeysTwice,  // the same, without a unique key in the destination: they arrive twice
  // Notes on what a line does.
  ZonesGoWithReaders,     // every row of ZONES is deleted with the readers; `count` now
  CopiedByEventsSection,  // an event table's line: the events section copies it
  EventsSectionLeftOut,   // the same, in a run without the events
  NeverEmptied,           // "#" or "%" on a table the run never empties
  HostPortSetToOne,       // HS_PORT, which the source lacks, is 1 for every host
  UpdatedInPlace,         // rows with the same `name` (a column) are updated, none added
  NewKeysGiven,           // `name` (the key column) is left to the destination
  OwnerPhotoEmpty,        // OW_PHOTO is written empty, the photos go to OWNERPHOTOS
  ColumnUpdated,          // "&": rows whose `other` (the key) matches get `name` (the column)
  // Warnings: the line does its work, but likely not as meant.
  BlanksAroundTable,      // the table name has blanks around it
  FirstColumnNotKey,      // `name`, the first common column, is not the key `other`
  ReferencedNotCopied,    // `name` is not copied above the line: references become -1
  MacroDevicesNotCopied,  // `name` is not copied above the line: macro lines get -1
  NoColumnToUpdate,       // "&": no column named exactly `name` on both sides
  // Errors: the line would not do its work.
  LineUnparsable,           // no TABLE=KEY before the markers
  DestinationCannotDelete,  // the deletion fails with `message`
  DestinationRefuses,       // the destination's statement fails with `message`
  SourceRefuses,            // the source's statement fails with `message`
  TooFewColumnsToUpdate,    // too few common columns for the update in place
  NoCommonColumn,           // no column both sides have: every row fails
  ColumnUpdateFails,        // "&": the update's statements fail with `message`
  NoValueForReference,      // the insert has no value number `count` to rewrite
  SourceLacksColumn,        // the source rows have no `name`: every row fails
};

enum class Severity { Note, Warning, Error };

struct PlanFinding {
  FindingKind kind;
  Severity severity;
  long long count = 0;
  std::string name, other;
  std::string message;
};

// Keys a copy rewrites inside texts rather than in a column of their own.
enum class KeysInTexts {
  None,
  ReaderRights,  // reader keys in the USERS_RD_RIGHTS texts of INIDATA
  MacroLines,    // device keys in the macro lines
};

// A value the copy rewrites from source keys to the keys the referenced rows
// get in the destination.
struct ReferencePlan {
  std::string column;  // destination column; empty for keys inside texts
  KeysInTexts inTexts = KeysInTexts::None;
  std::optional<int> type;    // a typed reference: the type this entry is for
  std::string typeCondition;  // the destination rows of that type, as SQL on alias X
  int pair = 0;
  std::string referencedTable;
  std::string referencedKey;  // empty when no line above copies that table
  bool filledBefore = false;  // a line above fills the pair
};

// Which of the source's rows a line reads.
enum class SourceRowChoice {
  All,
  Condition,              // those meeting `sourceCondition` ("@")
  OwnersPhotos,           // the photos of the source's owners (OWNER.OW_PHOTO)
  Events,                 // from the run's day on, or all without a day
  DescribedEvents,        // the same, those a description matches
  IniDataWithoutFilters,  // without the sections USER_CAN_FILTER, USER_FILTERS, CTRL_FILTERS
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
  SourceRowChoice sourceRowChoice = SourceRowChoice::All;
  std::string sourceCondition;
  // Events and alarms no description matches: the copy does not read them.
  std::optional<long long> sourceRowsLeftOut;
  std::optional<long long> destRowsAfter;  // the table's rows once the line is done
  KeyHandling keys = KeyHandling::None;
  int pair = 0;
  std::vector<std::string> copied;      // columns given the source's values
  std::vector<std::string> sourceOnly;  // dropped
  std::vector<std::string> destOnly;    // left to their defaults
  std::vector<ReferencePlan> references;
  std::vector<PlanFinding> findings;

  int Count(Severity severity) const;
  bool Fails() const { return Count(Severity::Error) > 0; }  // it would not do its work
  // An event table a database lacks: the run's copy stops at its first statement.
  bool Skipped() const;
};

// How a generator's value is worked out: the largest of what these give.
struct GeneratorBasis {
  enum class Kind {
    NotListed,     // the table is not in the table list: the destination's own rows
    NeverEmptied,  // the destination's own rows, never emptied
    RowsThatStay,  // the destination's rows that stay
    NewKeys,       // new keys counted on from the generator's `present` value
    SourceValues,  // the source rows' values
    Emptied,       // the table is emptied: 0
  };
  Kind kind;
  long long present = 0;
};

struct GeneratorPlan {
  int line = 0;
  std::string generator, table, column;
  std::optional<long long> value;  // what SET GENERATOR would be given
  std::vector<GeneratorBasis> basis;
  std::string unforeseen;  // why the value cannot be foreseen: the engine's words

  enum class Problem {
    None,
    RunEndsHere,  // the run's statement for the entry fails: the run ends at it
    CannotBeSet,  // setting the generator would fail
  };
  Problem problem = Problem::None;
  std::string problemMessage;  // the engine's words
};

struct ScriptPlan {
  std::string file;
  int statements = 0;               // non-empty statements
  int blocks = 0;                   // statement blocks in the run log (empty statements too)
  std::vector<std::string> writes;  // tables its statements name as written, upper-cased
  std::string error;                // the file cannot be read: the system's words
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
