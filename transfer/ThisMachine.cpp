#include "transfer/ThisMachine.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <vector>

#include "text/Trim.h"

namespace {

bool Loopback(const sockaddr* address) {
  if (address->sa_family == AF_INET) {
    const auto* v4 = reinterpret_cast<const sockaddr_in*>(address);
    return (ntohl(v4->sin_addr.s_addr) >> 24) == 127;
  }
  if (address->sa_family == AF_INET6) {
    const auto* v6 = reinterpret_cast<const sockaddr_in6*>(address);
    if (IN6_IS_ADDR_LOOPBACK(&v6->sin6_addr)) return true;
    if (IN6_IS_ADDR_V4MAPPED(&v6->sin6_addr)) return v6->sin6_addr.s6_addr[12] == 127;
  }
  return false;
}

bool SameAddress(const sockaddr* a, const sockaddr* b) {
  if (a->sa_family != b->sa_family) return false;
  if (a->sa_family == AF_INET)
    return reinterpret_cast<const sockaddr_in*>(a)->sin_addr.s_addr ==
           reinterpret_cast<const sockaddr_in*>(b)->sin_addr.s_addr;
  if (a->sa_family == AF_INET6)
    return std::memcmp(&reinterpret_cast<const sockaddr_in6*>(a)->sin6_addr,
                       &reinterpret_cast<const sockaddr_in6*>(b)->sin6_addr, sizeof(in6_addr)) == 0;
  return false;
}

bool OwnName(const std::string& host) {
  char name[256] = {};
  if (::gethostname(name, sizeof name - 1) != 0) return false;
  const std::string own = name;
  if (text::SameTextAscii(host, own)) return true;
  // "site-pc" and "site-pc.local" name one machine.
  const std::string shortOwn = own.substr(0, own.find('.'));
  return !shortOwn.empty() && text::SameTextAscii(host.substr(0, host.find('.')), shortOwn) &&
         (host.find('.') == std::string::npos || own.find('.') == std::string::npos);
}

// Every address of this machine's network interfaces.
bool AnInterfaceHas(const sockaddr* address) {
  ifaddrs* all = nullptr;
  if (::getifaddrs(&all) != 0) return false;
  bool found = false;
  for (const ifaddrs* one = all; one != nullptr && !found; one = one->ifa_next)
    found = one->ifa_addr != nullptr && SameAddress(one->ifa_addr, address);
  ::freeifaddrs(all);
  return found;
}

}  // namespace

bool IsThisMachine(const std::string& host) {
  if (host.empty() || text::SameTextAscii(host, "localhost")) return true;
  if (OwnName(host)) return true;
  addrinfo hints = {};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (::getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0) return false;
  bool local = false;
  for (const addrinfo* one = found; one != nullptr && !local; one = one->ai_next)
    local = Loopback(one->ai_addr) || AnInterfaceHas(one->ai_addr);
  ::freeaddrinfo(found);
  return local;
}
