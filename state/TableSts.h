#pragma once
// One preserved table: which rows count, how many state values each has, and
// the passes that read the states from the source and write them into the
// destination.
#include <memory>
#include <string>
#include <vector>

#include "db/IB.h"
#include "state/StsList.h"

class PreparedShapes;

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

  // The states one statement handles: 1 to 8, then 9 to StateCount.
  struct StateRange {
    int first, last;
  };
  std::vector<StateRange> StatementRanges() const;

  // One state statement of a record: shape `shape` of `shapes`, the texts of
  // ReadShapeText or WriteShapeText in the order of StatementRanges.
  bool ReadRowStates(PreparedShapes& shapes, size_t shape, int32_t oldKey,
                     StateValues& work) noexcept;
  bool WriteRowStates(PreparedShapes& shapes, size_t shape, int32_t newKey,
                      const StateValues& values) noexcept;

  // The statement texts, line by line. A record's statement is the shape's
  // text with the key (:KEY) and the values (:V1 ...) as parameters; the Row
  // forms show what it amounts to for one record.
  std::vector<std::string> ListingText() const;
  std::vector<std::string> ReadShapeText(int first, int last) const;
  std::vector<std::string> WriteShapeText(int first, int last) const;
  std::vector<std::string> ReadRowText(int32_t oldKey, int first, int last) const;
  std::vector<std::string> WriteRowText(int32_t newKey, int first, int last,
                                        const StateValues& values) const;

 private:
  std::vector<std::string> ReadText(const std::string& key, int first, int last) const;
  template <typename ValueText>
  std::vector<std::string> WriteText(const std::string& key, int first, int last,
                                     ValueText&& value) const;
  template <typename ShapeText>
  std::vector<std::vector<std::string>> ShapeTexts(ShapeText&& text) const;

  std::unique_ptr<TStsList> list_;
};

// Closes a statement's cursor, ignoring a failure: used on the way out of a pass.
void CloseQuietly(TIBSQL& statement) noexcept;
