#pragma once
// Where a database name points, as the client library reads it: a plain path
// goes to the embedded engine of this process, "host:/path", "host/port:/path"
// and "[v6 address]/port:/path" to that server.
#include <string>

namespace ib {

struct DatabaseLocation {
  std::string server;  // "host" or "host/port"; empty for the embedded engine
  std::string path;    // the file as that engine names it

  bool Remote() const { return !server.empty(); }
  // The server's host alone: no port, no brackets around an IPv6 address.
  std::string Host() const;
  // "service_mgr", or "host/port:service_mgr" for a server.
  std::string ServiceManager() const;
  // The connection name of another file on the same engine.
  std::string NameOf(const std::string& file) const;
};

// Every name that is not a server's (a path, "/dir/a:b.fdb" included) is a
// local file.
DatabaseLocation LocateDatabase(const std::string& databaseName);

}  // namespace ib
