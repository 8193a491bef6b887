#pragma once
// Two different texts can name one file ("db.fdb" and "./db.fdb"). A transfer
// between them would empty the source itself, so it is refused before attaching.
#include <string>

// True when both paths name one existing file.
bool SameDatabaseFile(const std::string& a, const std::string& b);
