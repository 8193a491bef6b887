#pragma once
// What the run meant to write, column by column, for the rows the check
// matches: a copy's inserts and in-place updates, the macros, the "&" column
// updates and the saved states. The columns and their rewrites are worked out
// as the copy works them out, from the same rules.
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "transfer/CheckRows.h"
#include "transfer/ReferenceRewrites.h"
#include "transfer/RunPlan.h"

class KeyMap;
class KeyMapPair;

namespace check {

// How a destination value compares with the one meant: numbers by value (the
// two sides may scale them differently), fixed-length texts without their
// padding, everything else byte for byte.
struct Comparison {
  bool numeric = false;
  bool padded = false;
};
Comparison ComparisonOf(int sourceType, int destType);
bool SameValue(const Value& expected, const Value& actual, Comparison how);

// A destination column and where the value meant for it comes from.
struct ExpectedColumn {
  enum class From {
    Source,      // the source column's value as read
    Reference,   // a source key, turned into the new key through `pair`
    Typed,       // a device key whose pair the row's type gives
    RightsText,  // reader-rights lines of USERS_RD_RIGHTS rows, rewritten
    MacroText,   // macro lines, rewritten
    Constant,
    Null,
  };
  std::string name;
  From from = From::Source;
  int source = -1;  // the source column
  int pair = 0;
  const rewrites::TypedRewrite* typed = nullptr;
  int typeColumn = -1;     // Typed: the source column with the type
  int valueColumn = -1;    // Typed: the source column looked up, -1 for `source`
  int sectionColumn = -1;  // RightsText: the source's ID_SECTION
  std::string constant;
  Comparison comparison;
};

// Where a source row is found in the destination.
struct KeyRule {
  int sourceKey = -1;  // the source column of K, by which the run log names a row
  // Key-mapped rows: their old key (`oldKey`, a source column) through `pair`,
  // by position among the entries the line's copy added (`first`, `count`), or
  // by the old key itself when there is no such record or the position holds
  // another key.
  int pair = 0;
  int oldKey = -1;
  bool positional = false;
  size_t first = 0, count = 0;
  // Rows that keep their key: the value meant for this compared column is the
  // destination key (a key may itself be a rewritten reference), else the
  // value of the source column `keySource` as read.
  int keyColumn = -1;
  int keySource = -1;
};

class ValuePass : public RowPass {
 public:
  ValuePass(std::vector<ExpectedColumn> columns, KeyRule rule, const KeyMap& keyMap)
      : columns_(std::move(columns)), rule_(rule), keyMap_(keyMap) {}

  std::optional<Key> Expect(Row& source, long long index) override;
  std::string SourceKey(const Row& source) const override;
  void Compare(const Row& source, const Row& dest,
               std::vector<ColumnDifference>& out) const override;

  const std::vector<ExpectedColumn>& Columns() const { return columns_; }
  // References meant to be -1: their source keys have no new key in the map.
  long long Unresolved() const { return unresolved_; }

 private:
  Value Meant(const ExpectedColumn& column, const Row& source);
  Value Lookup(int pair, const Value& oldKey);
  std::optional<Key> MappedKey(const Row& source, long long index) const;
  std::optional<Key> MappedKeyByLookup(const KeyMapPair& pair, const Value& oldKey) const;

  std::vector<ExpectedColumn> columns_;
  KeyRule rule_;
  const KeyMap& keyMap_;
  size_t meantFrom_ = 0;  // where the meant values start in a source row
  long long unresolved_ = 0;
};

// The columns one copy writes, from the source query's prepared columns and
// the destination table's (`select * from T`); `skipped` are left out (an "&"
// line below rewrites them). The key rule's position fields are the caller's.
struct CopyColumns {
  std::vector<ExpectedColumn> columns;
  std::string destKey;  // the destination column rows are found by
  bool update = false;  // the rows are updated in place, not inserted
  KeyRule rule;
};
struct CopyOptions {
  std::string table, keyColumn;
  bool photosFromOwner = false;
  bool destHasOwnerPhotos = false;
  std::set<std::string> skipped;
};
// A copy the check cannot follow, for a reason the plan names as well.
class UnfollowableCopy : public std::runtime_error {
 public:
  explicit UnfollowableCopy(PlanFinding reason)
      : std::runtime_error(reason.name), reason_(std::move(reason)) {}
  const PlanFinding& Reason() const { return reason_; }

 private:
  PlanFinding reason_;
};
// Throws UnfollowableCopy when the copy would have no statement for its rows,
// or its source rows no key.
CopyColumns ColumnsOfCopy(const CopyOptions& options, TIBSQL& source, TIBSQL& dest);
// The macro transfer's: the name as read, the lines rewritten, found through
// the macros' key map; `source` reads MCR_NAME, MCR_FILL, MCR_ID.
CopyColumns ColumnsOfMacros(TIBSQL& source, TIBSQL& dest);
// A column set from the source rows with the same key (`source` reads the key,
// then the column), written as read.
CopyColumns ColumnOfUpdate(const std::string& column, const std::string& keyColumn, TIBSQL& source,
                           TIBSQL& dest);

}  // namespace check
