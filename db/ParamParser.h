#pragma once
// Named-parameter preprocessing: ":NAME" markers become "?" placeholders and
// their names are collected in order, duplicates included.
#include <string>
#include <vector>

namespace ib {

struct ProcessedSql {
  std::string text;                // the text sent to the engine
  std::vector<std::string> names;  // one per placeholder, as written
};

// Raises EIBClientError 55 ("SQL Parse Error") for a comment or string left
// open at the end, or a marker not followed by a name.
ProcessedSql PreprocessParams(const std::string& sql);

// Names of result columns from the aliases the engine describes (at most 31
// characters each): an empty alias becomes F_1, F_2, ...; a repeated name gets
// a counter (ID, ID1, ...), the base cut so that the name stays within 31
// characters. Names are returned trimmed and upper-cased.
std::vector<std::string> ColumnNames(const std::vector<std::string>& aliases);

}  // namespace ib
