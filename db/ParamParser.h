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

}  // namespace ib
