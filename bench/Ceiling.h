#pragma once
// The engine's own ceiling for one table: the same rows written by a single
// INSERT ... SELECT inside one database, through the same indexes, foreign keys
// and triggers the program's inserts meet, committed once as the program commits
// a table. No client can copy faster than the engine inserts.
#include <filesystem>
#include <optional>
#include <string>

#include "db/IB.h"

struct CeilingResult {
  long rows = 0;
  double seconds = 0;
  double cpuSeconds = 0;  // the engine runs inside this process
};

// This process's processor time so far, user and system.
double CpuSeconds();

class Ceiling {
 public:
  // `db` is a copy of the source with the destination's forced writes and
  // trigger states; it is attached for the object's life.
  explicit Ceiling(const std::filesystem::path& db);
  ~Ceiling();
  Ceiling(const Ceiling&) = delete;
  Ceiling& operator=(const Ceiling&) = delete;

  // Inserts every row of `table` once more, under keys that collide with none:
  // the table's key trigger gives them for key-mapped tables, as in the
  // destination; elsewhere a primary-key column that no foreign key uses is
  // shifted past its largest value. Nothing for tables the program updates
  // rather than fills.
  // The rows are read by the same query the program's copy reads them with.
  std::optional<CeilingResult> Measure(const std::string& table, const std::string& keyColumn,
                                       const std::string& condition);

 private:
  std::vector<std::string> FirstColumn(const std::string& select);
  long Count(const std::string& table);

  TDM1 dm_;
};

// Tables whose rows the program writes as updates of rows already there.
bool IsUpdateTable(const std::string& table);
