#pragma once
// Which of a transfer's two databases something is about, and the error of a
// database that cannot be opened, which names its side.
#include <stdexcept>
#include <string>

enum class DatabaseSide { None, Source, Destination };

class EAttachError : public std::runtime_error {
 public:
  EAttachError(DatabaseSide side, const std::string& message)
      : std::runtime_error(message), side_(side) {}
  DatabaseSide Side() const { return side_; }

 private:
  DatabaseSide side_;
};
