#pragma once
// The store of one preserved table's run-time state: one record per source row,
// kept in the text order of the row's old key so new keys are found by binary
// search while the tables are copied.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "state/VclExt.h"

// State number n (1..16) of a row is held at position n - 1.
using StateValues = std::array<int32_t, 16>;

class TStsItem : public TObject {
 public:
  TStsItem(int32_t oldId, const StateValues& data) : OldID(oldId), Data(data) {}

  int32_t OldID;
  int32_t NewID = 0;  // 0 until the copy reports the row's key in the destination
  StateValues Data;
};

// Sorted by key text, duplicate keys refused; owns its records. No operation
// lets a failure escape: each answers with its negative result instead.
class TStsList : public TFCStringList {
 public:
  TStsList();

  static std::string GetS(int32_t key);

  // False when the key is already present: the first record stays as it was.
  bool AddRec(int32_t oldKey, const StateValues& values) noexcept;
  // AddRec for each key in turn, each with zero values, with the same store as
  // the result; returns how many were added. On an empty store the list is
  // built in one sort, so a listing of many rows costs n log n, not the shift
  // of every later entry per key.
  int AddRecs(const std::vector<int32_t>& oldKeys) noexcept;
  TStsItem* FindOldID(int32_t oldKey) const noexcept;
  bool SetNewData(int32_t oldKey, const StateValues& values) noexcept;
  bool SetNewID(int32_t oldKey, int32_t newKey) noexcept;

  TStsItem* Item(int index) const;
};
