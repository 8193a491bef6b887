#pragma once
// Real embedded databases for the layer's tests: each made by isql-fb from a
// few DDL lines in a temporary folder of its own, removed afterwards.
#include <string>

namespace dbtest {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& Path() const { return path_; }  // ends without "/"

 private:
  std::string path_;
};

// A dialect 1, WIN1251 database holding `ddl` (statements ended by ";";
// "SET TERM" may be used for procedures). Throws std::runtime_error with
// isql-fb's output when the database cannot be made.
class TempDatabase {
 public:
  explicit TempDatabase(const std::string& ddl = std::string(),
                        const std::string& name = "test.fdb");
  const std::string& Path() const { return file_; }
  const std::string& Folder() const { return folder_.Path(); }

 private:
  TempFolder folder_;
  std::string file_;
};

// Runs an isql-fb script against an existing database file (no other process
// may have it open). Returns isql-fb's output; throws when it fails.
std::string RunIsql(const std::string& databasePath, const std::string& script);

}  // namespace dbtest
