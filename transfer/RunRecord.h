#pragma once
// What a run leaves behind besides the two databases and the run log's text,
// for the check after it: the key map, the keys of the rows whose statements
// failed, and for each line of the table list the errors that ended its work
// (the driver goes on with the next line) and the key-map entries its copy added.
#include <map>
#include <string>
#include <vector>

#include "transfer/KeyMap.h"

// Source keys of failed rows, as their log lines name them, by table, with
// how often each key failed.
using FailedKeys = std::map<std::string, std::map<std::string, int>>;

struct LineRecord {
  int line = 0;  // in the table list, from 1; 0 for the events section
  std::string table;
  std::vector<std::string> errors;  // windows-1251
  bool copied = false;              // the line's copy ran, whether or not it ended well
  // The entries its rows got in the table's key-map pair, in the order it read them.
  size_t firstKeyEntry = 0;
  size_t keyEntries = 0;
};

struct RunRecord {
  KeyMap keyMap;
  std::vector<LineRecord> lines;
  FailedKeys failedRows;     // rows kept out of the destination
  FailedKeys failedUpdates;  // rows whose "&" column update failed

  // The record of that line, or nullptr.
  const LineRecord* Line(int line, const std::string& table) const {
    for (const LineRecord& record : lines)
      if (record.line == line && record.table == table) return &record;
    return nullptr;
  }
};
