#pragma once
// The fixed credentials of the program: every connection and every service
// attachment logs in with them.
#include <string>
#include <vector>

namespace ib {

inline constexpr const char* kUserName = "sysdba";
inline constexpr const char* kPassword = "lockvault";

// The connect parameter lines (TIBDatabase::SetParams) of every connection.
inline std::vector<std::string> ConnectParams() {
  return {std::string("user_name=") + kUserName, std::string("password=") + kPassword,
          "lc_ctype=WIN1251"};
}

}  // namespace ib
