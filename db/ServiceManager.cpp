// The service manager: attachment, parameter blocks and the query loops that
// carry a backup out of the service and into it.
#include "db/ServiceManager.h"

#include <algorithm>

#include "db/Client.h"
#include "db/Credentials.h"
#include "db/IB.h"

namespace ib {
namespace {

// Each query waits at most this long for the service, so a quiet service (a
// large table being read) never blocks a query for good.
constexpr unsigned int kQueryTimeoutSeconds = 1;
// Reply and send buffers: their lengths travel as unsigned 16-bit numbers.
constexpr std::size_t kBufferSize = 32768;

unsigned int LittleEndian(const char* p, int bytes) {
  unsigned int value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(p[i]);
  return value;
}

void AppendLength(std::vector<char>& bytes, std::size_t length) {
  bytes.push_back(static_cast<char>(length & 0xFF));
  bytes.push_back(static_cast<char>((length >> 8) & 0xFF));
}

// The send items of every query: the timeout, then `data` as standard input
// when the service asked for some (an empty piece tells it the file has ended).
std::vector<char> SendItems(const char* data = nullptr, std::size_t size = 0) {
  std::vector<char> send{static_cast<char>(isc_info_svc_timeout)};
  AppendLength(send, 4);
  for (int i = 0; i < 4; ++i)
    send.push_back(static_cast<char>((kQueryTimeoutSeconds >> (8 * i)) & 0xFF));
  if (data != nullptr) {
    send.push_back(static_cast<char>(isc_info_svc_line));
    AppendLength(send, size);
    send.insert(send.end(), data, data + size);
  }
  send.push_back(static_cast<char>(isc_info_end));
  return send;
}

// One parsed reply of the two stream loops.
struct Reply {
  bool more = false;             // the service is still running
  unsigned int stdinWanted = 0;  // bytes of standard input the service asks for
};

// Walks the items of a reply; text items (output lines, backup data) go to `onText`.
Reply Parse(const std::vector<char>& reply,
            const std::function<void(int tag, const char* text, std::size_t size)>& onText) {
  Reply parsed;
  const char* p = reply.data();
  const char* const end = p + reply.size();
  while (p < end && *p != isc_info_end) {
    const int tag = static_cast<unsigned char>(*p++);
    switch (tag) {
      case isc_info_svc_line:
      case isc_info_svc_to_eof: {
        if (end - p < 2) return parsed;
        const std::size_t size = LittleEndian(p, 2);
        p += 2;
        if (static_cast<std::size_t>(end - p) < size) return parsed;
        if (size > 0) {
          onText(tag, p, size);
          parsed.more = true;
        }
        p += size;
        break;
      }
      case isc_info_svc_stdin:
        if (end - p < 4) return parsed;
        parsed.stdinWanted = LittleEndian(p, 4);
        p += 4;
        if (parsed.stdinWanted > 0) parsed.more = true;
        break;
      case isc_info_truncated:
      case isc_info_svc_timeout:
      case isc_info_data_not_ready:
        parsed.more = true;
        break;
      default:
        // An item this loop never asked for: the rest cannot be read.
        IBError(ibxeNotSupported);
    }
  }
  return parsed;
}

}  // namespace

ServiceParamBlock& ServiceParamBlock::Tag(int tag) {
  bytes_.push_back(static_cast<char>(tag));
  return *this;
}

ServiceParamBlock& ServiceParamBlock::ShortText(int tag, const std::string& value) {
  if (value.size() > 255) IBError(ibxeNotSupported);
  bytes_.push_back(static_cast<char>(tag));
  bytes_.push_back(static_cast<char>(value.size()));
  bytes_.insert(bytes_.end(), value.begin(), value.end());
  return *this;
}

ServiceParamBlock& ServiceParamBlock::Text(int tag, const std::string& value) {
  if (value.size() > 0xFFFF) IBError(ibxeNotSupported);
  bytes_.push_back(static_cast<char>(tag));
  AppendLength(bytes_, value.size());
  bytes_.insert(bytes_.end(), value.begin(), value.end());
  return *this;
}

ServiceParamBlock& ServiceParamBlock::Number(int tag, unsigned int value) {
  bytes_.push_back(static_cast<char>(tag));
  for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
  return *this;
}

ServiceAttachment::ServiceAttachment(const DatabaseLocation& location, std::string what)
    : what_(std::move(what)) {
  ServiceParamBlock spb(
      {static_cast<char>(isc_spb_version), static_cast<char>(isc_spb_current_version)});
  // File names in the start block are UTF-8, whatever the process locale.
  spb.ShortText(isc_spb_user_name, kUserName)
      .ShortText(isc_spb_password, kPassword)
      .ShortText(isc_spb_utf8_filename, "");
  const std::string name = location.ServiceManager();
  Status status;
  Api().service_attach(status.Vector(), 0, name.c_str(), &handle_,
                       static_cast<unsigned short>(spb.Bytes().size()), spb.Bytes().data());
  if (status.Failed()) {
    handle_ = 0;
    RaiseServiceError(status, what_);
  }
}

ServiceAttachment::~ServiceAttachment() {
  if (handle_ == 0) return;
  Status ignored;
  Api().service_detach(ignored.Vector(), &handle_);
}

void ServiceAttachment::Start(const ServiceParamBlock& request) {
  Status status;
  Api().service_start(status.Vector(), &handle_, nullptr,
                      static_cast<unsigned short>(request.Bytes().size()), request.Bytes().data());
  if (status.Failed()) RaiseServiceError(status, what_);
}

void ServiceAttachment::Query(const std::vector<char>& send, const std::vector<char>& receive,
                              std::vector<char>& reply) {
  std::fill(reply.begin(), reply.end(), static_cast<char>(isc_info_end));
  Status status;
  Api().service_query(status.Vector(), &handle_, nullptr, static_cast<unsigned short>(send.size()),
                      send.data(), static_cast<unsigned short>(receive.size()), receive.data(),
                      static_cast<unsigned short>(reply.size()), reply.data());
  if (status.Failed()) RaiseServiceError(status, what_);
}

void ReceiveBackup(ServiceAttachment& service,
                   const std::function<void(const char* data, std::size_t size)>& sink) {
  const std::vector<char> send = SendItems();
  const std::vector<char> receive{static_cast<char>(isc_info_svc_to_eof)};
  std::vector<char> reply(kBufferSize);
  Reply parsed;
  do {
    service.Query(send, receive, reply);
    parsed = Parse(reply, [&](int, const char* data, std::size_t size) { sink(data, size); });
  } while (parsed.more);
}

void FeedRestore(ServiceAttachment& service,
                 const std::function<std::size_t(char* buffer, std::size_t size)>& source,
                 const std::function<void(const std::string& line)>& onLine) {
  const std::vector<char> receive{static_cast<char>(isc_info_svc_stdin),
                                  static_cast<char>(isc_info_svc_line)};
  // The service must never get more than it asked for; the piece also has to
  // fit in one send block beside the timeout item.
  const std::size_t largestPiece = kBufferSize - SendItems().size() - 3;
  std::vector<char> piece(largestPiece);
  std::vector<char> reply(kBufferSize);
  Reply parsed;
  do {
    std::vector<char> send;
    if (parsed.stdinWanted > 0) {
      const std::size_t read =
          source(piece.data(), std::min<std::size_t>(parsed.stdinWanted, largestPiece));
      send = SendItems(piece.data(), read);
    } else {
      send = SendItems();
    }
    service.Query(send, receive, reply);
    parsed = Parse(
        reply, [&](int, const char* text, std::size_t size) { onLine(std::string(text, size)); });
  } while (parsed.more);
}

}  // namespace ib
