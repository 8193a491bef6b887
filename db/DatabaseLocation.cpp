#include "db/DatabaseLocation.h"

#include <algorithm>

namespace ib {

std::string DatabaseLocation::Host() const {
  std::string host = server;
  if (!host.empty() && host.front() == '[') {
    const std::size_t close = host.find(']');
    return host.substr(1, close == std::string::npos ? std::string::npos : close - 1);
  }
  return host.substr(0, host.find('/'));
}

std::string DatabaseLocation::ServiceManager() const {
  return Remote() ? server + ":service_mgr" : "service_mgr";
}

std::string DatabaseLocation::NameOf(const std::string& file) const {
  return Remote() ? server + ":" + file : file;
}

DatabaseLocation LocateDatabase(const std::string& databaseName) {
  const DatabaseLocation local{std::string(), databaseName};
  // An IPv6 address is bracketed, for its own colons.
  std::size_t hostEnd = 0;
  if (!databaseName.empty() && databaseName.front() == '[') {
    hostEnd = databaseName.find(']');
    if (hostEnd == std::string::npos) return local;
  }
  const std::size_t colon = databaseName.find(':', hostEnd);
  if (colon == std::string::npos || colon == 0 || colon + 1 == databaseName.size()) return local;
  const std::string server = databaseName.substr(0, colon);
  // A path of this machine may hold a colon too; a server name starts with no
  // slash and has at most one, before its port.
  if (server.front() == '/' || server.front() == '.') return local;
  const std::string afterHost = server.substr(hostEnd);
  if (std::count(afterHost.begin(), afterHost.end(), '/') > 1) return local;
  if (hostEnd != 0 && afterHost.size() > 1 && afterHost[1] != '/') return local;
  return {server, databaseName.substr(colon + 1)};
}

}  // namespace ib
