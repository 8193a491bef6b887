#pragma once
// Carries the run-time state of hosts, controllers, slaves, readers and (on
// request) owners across a transfer: read from the source before the copy, given
// the rows' new keys during it, written into the destination afterwards.
// Nothing here logs or shows a message; every failure ends as a false result.
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "db/IB.h"

class TTableSts;

struct PreservedTable {
  const char* table;
  const char* key;
  const char* archive;
  int stateCount;
};

// The preserved tables in the order every operation visits them; the last one
// (owners) only while the keep-locations box is ticked.
const std::array<PreservedTable, 5>& PreservedTables();
inline constexpr size_t kOwnerSlot = 4;  // the owners' place among them, counted from 0

class DynamicStates {
 public:
  // `locationFlag` answers the keep-locations box at the moment of each call.
  DynamicStates(TDM1& dm, std::function<bool()> locationFlag);
  ~DynamicStates();
  DynamicStates(const DynamicStates&) = delete;
  DynamicStates& operator=(const DynamicStates&) = delete;

  void SaveDynamicStates();
  bool StoreNewKey(const std::string& table, int oldKey, int newKey);
  bool RestoreDynamicStates();
  void FreeDynamicStates();

  // Tests: the slot of a preserved table (1 HOSTS .. 5 OWNER), or none.
  TTableSts* Slot(int number) const;

 private:
  bool LocationFlag() const noexcept;

  TDM1& dm_;
  std::function<bool()> locationFlag_;
  std::array<std::unique_ptr<TTableSts>, 5> slots_;
};
