#pragma once
// After a run: did every row, every reference and every saved state arrive?
// Worked out from both databases by reading only, against the plan made before
// the run and what the run recorded (its failed rows and its key map).
#include <map>
#include <string>
#include <vector>

#include "transfer/RunPlan.h"

class KeyMap;
class ReadOnlySession;

struct TableCheck {
  std::string table;
  ExpectedRows expected;
  long long destRows = 0;
  int failedRows = 0;
  std::string error;
  bool Ok() const {
    return error.empty() && failedRows == 0 && destRows == expected.kept + expected.copied;
  }
};

// Destination rows whose rewritten reference points nowhere: -1, or a key no
// row of the referenced table has.
struct ReferenceCheck {
  std::string table, what, referencedTable;
  long long broken = 0;
  std::vector<std::string> keys;  // a few of those rows, by their own key
  std::string error;
  bool Ok() const { return error.empty() && broken == 0; }
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
  std::vector<ReferenceCheck> references;
  std::vector<StateCheck> states;
  int Differences() const;
};

// `failedRows` and `keyMap` as the run left them; owners' states are compared
// only when the run kept the users' locations.
RunCheck CheckRun(ReadOnlySession& session, const RunPlan& plan,
                  const std::map<std::string, int>& failedRows, const KeyMap& keyMap,
                  bool keepLocations);
