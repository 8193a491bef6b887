#pragma once
// One preserved table: which rows count, how many state values each has, and
// the passes that read the states from the source and write them into the
// destination.
#include <memory>
#include <string>
#include <vector>

#include "db/IB.h"
#include "state/StsList.h"

class TTableSts {
 public:
  // At most this many state functions go into one statement.
  static constexpr int kStatesPerStatement = 8;
  // Both passes commit and restart their transaction every this many records.
  static constexpr int kRenewalInterval = 50;

  TTableSts(std::string tableName, std::string keyField, std::string archiveField, int stateCount);
  ~TTableSts();
  TTableSts(const TTableSts&) = delete;
  TTableSts& operator=(const TTableSts&) = delete;

  const std::string TableName;
  const std::string KeyField;
  const std::string ArchiveField;  // rows preserved only where it is 0; empty: every row
  const int StateCount;            // 1..16

  TStsList* List() const { return list_.get(); }

  bool AddRec(int32_t oldKey, const StateValues& values) noexcept;
  bool SetNewData(int32_t oldKey, const StateValues& values) noexcept;
  bool SetNewID(int32_t oldKey, int32_t newKey) noexcept;

  // The save pass on the source statement; records listed before a failure stay.
  bool ReadStates(TIBSQL& source) noexcept;
  // The restore pass on the destination statement.
  bool WriteStates(TIBSQL& dest) noexcept;

  bool ReadRowStates(TIBSQL& source, int32_t oldKey, int first, int last,
                     StateValues& work) noexcept;
  bool WriteRowStates(TIBSQL& dest, int32_t newKey, int first, int last,
                      const StateValues& values) noexcept;

  // The statement texts, line by line.
  std::vector<std::string> ListingText() const;
  std::vector<std::string> ReadRowText(int32_t oldKey, int first, int last) const;
  std::vector<std::string> WriteRowText(int32_t newKey, int first, int last,
                                        const StateValues& values) const;

 private:
  std::unique_ptr<TStsList> list_;
};

// Closes a statement's cursor, ignoring a failure: used on the way out of a pass.
void CloseQuietly(TIBSQL& statement) noexcept;
