#pragma once
// Two different texts can name one file ("db.fdb", "./db.fdb", and
// "localhost:/srv/db.fdb" for a server of this machine). A transfer between
// them would empty the source itself, and a backup renamed over one of them
// would destroy it, so both are refused before anything is opened.
#include <optional>
#include <string>

// The file of this machine that a database name opens: the path itself, or
// the path part of a server name whose host is this machine; nothing for a
// database of another machine.
std::optional<std::string> FileOnThisMachine(const std::string& databaseName);

// True when two paths name one file: one existing file (a link to it too), or
// equal paths once made absolute and normal.
bool SameFile(const std::string& a, const std::string& b);

// True when two database names open one file: SameFile of their files on this
// machine, or for two servers of other machines the same host and path.
bool SameDatabaseFile(const std::string& a, const std::string& b);
