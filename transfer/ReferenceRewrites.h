#pragma once
// References of a copied row, turned from source keys into the keys the
// referenced rows received in the destination.
#include <string>

#include "db/IB.h"

class KeyMap;

// Rewrites the reference parameters of `dest` (the row's insert, values
// already copied) for `table`; `source` holds the row as read. A lookup or
// parameter failure raises, except on the ten named reader columns, which are
// skipped when missing. A NULL reference stays NULL.
void RewriteReferences(const std::string& table, TIBSQL& source, TIBSQL& dest,
                       const KeyMap& keyMap);
