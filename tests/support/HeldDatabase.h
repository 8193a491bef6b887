#pragma once
// A database file kept open by another program for as long as the object lives:
// an isql session of its own, attached with the embedded engine, as a second
// installer's tool holding the file would be.
#include <sys/types.h>

#include <filesystem>

namespace testsupport {

class DatabaseHeldElsewhere {
 public:
  // Returns once isql has answered a query over the file; throws
  // std::runtime_error when it cannot attach.
  explicit DatabaseHeldElsewhere(const std::filesystem::path& db);
  // Ends the session (end of its input) and waits for isql to exit.
  ~DatabaseHeldElsewhere();
  DatabaseHeldElsewhere(const DatabaseHeldElsewhere&) = delete;
  DatabaseHeldElsewhere& operator=(const DatabaseHeldElsewhere&) = delete;

 private:
  void Release();

  pid_t pid_ = -1;
  int input_ = -1;   // isql's standard input
  int output_ = -1;  // isql's standard output and error
};

}  // namespace testsupport
