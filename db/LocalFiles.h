#pragma once
// Files of this machine that a backup writes and a restore reads, with errors
// raised as EIBError carrying a message for the operator. Only files of db/
// include this header.
#include <cstddef>
#include <string>

namespace ib {

// A file of its own beside `target` (same folder, so a rename replaces the
// target at once), named target + `suffix` + six random characters. It is
// removed when the object goes, unless it was renamed into place.
class FileBeside {
 public:
  // `open` keeps it open for Write; otherwise only the name is reserved and the
  // file itself is left for the engine to create. `what` opens the message of
  // a failure to make or write it.
  FileBeside(const std::string& target, const char* suffix, bool open, std::string what);
  ~FileBeside();
  FileBeside(const FileBeside&) = delete;
  FileBeside& operator=(const FileBeside&) = delete;

  const std::string& Path() const { return path_; }
  void Write(const char* data, std::size_t size);
  // Makes the written contents durable and closes the file.
  void Finish();
  // Gives the file the permissions `model` has, when `model` exists.
  void CopyPermissionsOf(const std::string& model);
  // Renames the file over `target` and syncs the folder; `what` opens the
  // message when the rename fails.
  void RenameOver(const std::string& target, const std::string& what);
  bool Renamed() const { return renamed_; }

 private:
  std::string target_;  // named in messages: the temporary name means nothing to a person
  std::string path_;
  std::string what_;
  int fd_ = -1;
  bool renamed_ = false;
};

// A backup file read from its start.
class FileReader {
 public:
  explicit FileReader(const std::string& path);
  ~FileReader();
  FileReader(const FileReader&) = delete;
  FileReader& operator=(const FileReader&) = delete;

  // Fills at most `size` bytes; 0 at the end of the file.
  std::size_t Read(char* buffer, std::size_t size);
  long long BytesRead() const { return bytesRead_; }

 private:
  std::string path_;
  int fd_ = -1;
  long long bytesRead_ = 0;
};

}  // namespace ib
