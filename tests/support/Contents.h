#pragma once
// The whole of a database's data read through isql, for comparing two databases
// or one database before and after. Only while no connection of the test holds
// the file (see Isql.h).
#include <filesystem>
#include <string>

#include "tests/support/Isql.h"

namespace testsupport {

// Every row of every user table as isql shows them, in an order that does not
// depend on where the engine stored them; a blob shows as its length and hash.
std::string DatabaseContents(const std::filesystem::path& db);

// "NAME=value" for every user generator, by name.
Row GeneratorValues(const std::filesystem::path& db);

}  // namespace testsupport
