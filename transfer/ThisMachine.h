#pragma once
// Whether a server's host name or address is this machine, so that the file
// a server opens can be compared with the files of this process.
#include <string>

// True for localhost, a loopback address (127.x, ::1), this machine's own name
// and a name or address that resolves to one of its network addresses.
bool IsThisMachine(const std::string& host);
