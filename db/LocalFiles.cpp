// Backup files and temporary files of this machine.
#include "db/LocalFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "db/IB.h"
#include "db/ServiceManager.h"
#include "text/RussianTexts.h"

namespace ib {
namespace {

[[noreturn]] void RaiseFileError(const std::string& what, const std::string& file, int error) {
  throw EIBError(0, 0, FileErrorMessage(what, file, error));
}

}  // namespace

FileBeside::FileBeside(const std::string& target, const char* suffix, bool open, std::string what)
    : target_(target), what_(std::move(what)) {
  std::string pattern = target + suffix + "XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  fd_ = ::mkstemp(name.data());
  if (fd_ < 0) RaiseFileError(what_, target_, errno);
  path_ = name.data();
  if (!open) {
    // The engine creates the database itself and refuses to overwrite a file;
    // the random name stays unused meanwhile.
    ::close(fd_);
    fd_ = -1;
    ::unlink(path_.c_str());
  }
}

FileBeside::~FileBeside() {
  if (fd_ >= 0) ::close(fd_);
  if (!renamed_) ::unlink(path_.c_str());
}

void FileBeside::Write(const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd_, data, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) RaiseFileError(what_, target_, written < 0 ? errno : ENOSPC);
    data += written;
    size -= static_cast<std::size_t>(written);
  }
}

void FileBeside::Finish() {
  if (fd_ < 0) return;
  const int synced = ::fsync(fd_);
  const int syncError = errno;
  const int closed = ::close(fd_);
  const int closeError = errno;
  fd_ = -1;
  if (synced != 0) RaiseFileError(what_, target_, syncError);
  if (closed != 0) RaiseFileError(what_, target_, closeError);
}

void FileBeside::CopyPermissionsOf(const std::string& model) {
  struct stat status = {};
  if (::stat(model.c_str(), &status) != 0) return;
  // The replaced database keeps who may open it. Only the superuser may give
  // the file to its old owner; anyone else stays its owner.
  ::chmod(path_.c_str(), status.st_mode & 07777);
  if (::chown(path_.c_str(), status.st_uid, status.st_gid) != 0) return;
}

void FileBeside::RenameOver(const std::string& target, const std::string& what) {
  // What the engine wrote reaches the disk before the name points at it.
  Finish();
  const int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0 || ::fsync(fd) != 0) {
    const int error = errno;
    if (fd >= 0) ::close(fd);
    RaiseFileError(what, target_, error);
  }
  ::close(fd);
  if (std::rename(path_.c_str(), target.c_str()) != 0) RaiseFileError(what, target, errno);
  renamed_ = true;
  // The new name lives in the folder: until the folder reaches the disk, a
  // power cut may bring the old file back.
  const size_t slash = target.find_last_of('/');
  // Built without assigning a literal: GCC 12 at -O3 misreads that as an overlapping copy.
  const std::string folder = slash == std::string::npos ? std::string(1, '.')
                                                        : target.substr(0, slash + 1);
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir < 0 || ::fsync(dir) != 0) {
    const int error = errno;
    if (dir >= 0) ::close(dir);
    RaiseFileError(ru::ServiceFolderNotSynced(), folder, error);
  }
  ::close(dir);
}

FileReader::FileReader(const std::string& path) : path_(path) {
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) RaiseFileError(ru::ServiceBackupFileNotRead(), path, errno);
}

FileReader::~FileReader() {
  if (fd_ >= 0) ::close(fd_);
}

std::size_t FileReader::Read(char* buffer, std::size_t size) {
  for (;;) {
    const ssize_t read = ::read(fd_, buffer, size);
    if (read < 0 && errno == EINTR) continue;
    if (read < 0) RaiseFileError(ru::ServiceBackupFileNotRead(), path_, errno);
    bytesRead_ += read;
    return static_cast<std::size_t>(read);
  }
}

}  // namespace ib
