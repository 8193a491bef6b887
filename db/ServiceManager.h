#pragma once
// The layer's private view of the engine's service manager: where a database
// name points, service parameter blocks, one attachment, and the two data
// streams of a backup ("stdout") and a restore ("stdin"). Only files of db/
// include this header.
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "db/DatabaseLocation.h"
#include "db/Services.h"

namespace ib {

class Status;

// A service parameter block: attach blocks carry one-byte lengths, start
// blocks two-byte lengths; numbers are four bytes, low byte first.
class ServiceParamBlock {
 public:
  explicit ServiceParamBlock(std::vector<char> start) : bytes_(std::move(start)) {}
  ServiceParamBlock& Tag(int tag);
  ServiceParamBlock& ShortText(int tag, const std::string& value);  // one-byte length
  ServiceParamBlock& Text(int tag, const std::string& value);       // two-byte length
  ServiceParamBlock& Number(int tag, unsigned int value);
  const std::vector<char>& Bytes() const { return bytes_; }

 private:
  std::vector<char> bytes_;
};

// One attachment to a service manager with the program's credentials, detached
// when the object goes. A failed call raises RaiseServiceError with `what`.
class ServiceAttachment {
 public:
  ServiceAttachment(const DatabaseLocation& location, std::string what);
  ~ServiceAttachment();
  ServiceAttachment(const ServiceAttachment&) = delete;
  ServiceAttachment& operator=(const ServiceAttachment&) = delete;

  void Start(const ServiceParamBlock& request);
  // One query: `send` items to the service, `receive` the items asked for; the
  // reply lands in `reply` (its size is the buffer offered).
  void Query(const std::vector<char>& send, const std::vector<char>& receive,
             std::vector<char>& reply);

 private:
  std::string what_;
  unsigned int handle_ = 0;
};

// Reads a started backup whose file is "stdout" until the service ends; every
// piece of the backup goes to `sink` in order.
void ReceiveBackup(ServiceAttachment& service,
                   const std::function<void(const char* data, std::size_t size)>& sink);

// Feeds a started restore whose file is "stdin" until the service ends: `source`
// fills at most `size` bytes and returns how many (0 at the end of the file);
// every output line goes to `onLine`.
void FeedRestore(ServiceAttachment& service,
                 const std::function<std::size_t(char* buffer, std::size_t size)>& source,
                 const std::function<void(const std::string& line)>& onLine);

// Which failure with a message of its own `status` reports, if any.
TServiceFailure ClassifyServiceFailure(const Status& status);

// Raises the error of a failed service call: a plain Russian sentence for a file
// that is not a backup, a database in use, a full disk or an older engine's
// database, followed by the engine's text; `what` opens the message
// (ru::ServiceBackupFailed or ru::ServiceRestoreFailed) when no sentence fits.
[[noreturn]] void RaiseServiceError(const Status& status, const std::string& what);

// The message of this machine's file error `error` (an errno) on `file`:
// the disk-full sentence for a full disk, otherwise `what` + file; the system's
// reason follows.
std::string FileErrorMessage(const std::string& what, const std::string& file, int error);

}  // namespace ib
