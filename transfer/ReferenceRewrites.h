#pragma once
// References of a copied row, turned from source keys into the keys the
// referenced rows received in the destination. Which values are references is
// data, shared by the copy and by what the command line's plan and check report.
#include <array>
#include <string>
#include <utility>
#include <vector>

#include "db/IB.h"

class KeyMap;

namespace rewrites {

// A reference by its position among the inserted values; key-mapped tables
// other than OWNER start that list after their key.
struct PositionRewrite {
  int param;
  int pair;
};
// The table's references by position; empty when it has none.
const std::vector<PositionRewrite>& PositionRewritesOf(const std::string& table);

// The readers' input and output columns, found by name; a missing one is skipped.
struct NamedRewrite {
  const char* param;
  int pair;
};
inline constexpr const char* kNamedRewriteTable = "READERS";
const std::array<NamedRewrite, 10>& ReaderDeviceColumns();

// A device key whose table depends on a type read from the source row: the
// programs' device by PD_TYPE, the events' device by their description's
// hardware type. Types not listed are not rewritten.
struct TypedRewrite {
  int param;
  const char* typeColumn;
  const char* sourceValueColumn;  // the key looked up; nullptr: the parameter's own value
  std::vector<std::pair<int, int>> pairOfType;
  int PairOf(int type) const;
};
// The table's typed reference, or nullptr.
const TypedRewrite* TypedRewriteOf(const std::string& table);

}  // namespace rewrites

// Rewrites the reference parameters of `dest` (the row's insert, values
// already copied) for `table`; `source` holds the row as read. A lookup or
// parameter failure raises, except on the ten named reader columns, which are
// skipped when missing. A NULL reference stays NULL.
void RewriteReferences(const std::string& table, TIBSQL& source, TIBSQL& dest,
                       const KeyMap& keyMap);
