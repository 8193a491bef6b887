// Blob contents travel whole through memory, so a blob can be copied between
// two attachments (the source and the destination database).
#include <algorithm>
#include <cstring>
#include <string>

#include "db/Descriptors.h"
#include "db/IB.h"

namespace {

constexpr unsigned short kSegmentSize = 16384;

// An open blob; closed (read) or cancelled (written) when left by an error.
class BlobHandle {
 public:
  explicit BlobHandle(bool writing) : writing_(writing) {}
  ~BlobHandle() {
    if (handle_ == 0) return;
    ib::Status ignored;
    if (writing_)
      ib::Api().cancel_blob(ignored.Vector(), &handle_);
    else
      ib::Api().close_blob(ignored.Vector(), &handle_);
  }
  BlobHandle(const BlobHandle&) = delete;
  BlobHandle& operator=(const BlobHandle&) = delete;

  isc_blob_handle* Ptr() { return &handle_; }
  void Close() {
    ib::Status status;
    ib::Api().close_blob(status.Vector(), &handle_);
    status.Check();
    handle_ = 0;
  }

 private:
  bool writing_;
  isc_blob_handle handle_ = 0;
};

long TotalLength(BlobHandle& blob) {
  const ib::ClientApi& api = ib::Api();
  const char items[] = {isc_info_blob_num_segments, isc_info_blob_max_segment,
                        isc_info_blob_total_length, isc_info_blob_type, isc_info_end};
  char reply[64] = {};
  ib::Status status;
  api.blob_info(status.Vector(), blob.Ptr(), sizeof items, items, sizeof reply, reply);
  status.Check();
  long total = 0;
  for (size_t i = 0; i + 3 <= sizeof reply && reply[i] != isc_info_end;) {
    char item = reply[i];
    short length = static_cast<short>(api.vax_integer(reply + i + 1, 2));
    if (length < 0 || i + 3 + static_cast<size_t>(length) > sizeof reply) break;
    if (item == isc_info_blob_total_length) total = api.vax_integer(reply + i + 3, length);
    i += 3 + static_cast<size_t>(length);
  }
  return total;
}

}  // namespace

namespace ib {

std::string ReadBlob(TIBSQL& statement, const ISC_QUAD& id) {
  StatementContext context = ContextOf(statement);
  const ClientApi& api = Api();
  BlobHandle blob(false);
  ISC_QUAD blobId = id;
  Status status;
  api.open_blob2(status.Vector(), context.database, context.transaction, blob.Ptr(), &blobId, 0,
                 nullptr);
  status.Check();
  long total = TotalLength(blob);
  std::string content(static_cast<size_t>(std::max(total, 0L)), '\0');
  size_t read = 0;
  while (read < content.size()) {
    unsigned short wanted =
        static_cast<unsigned short>(std::min<size_t>(kSegmentSize, content.size() - read));
    unsigned short got = 0;
    Status segment;
    api.get_segment(segment.Vector(), blob.Ptr(), &got, wanted, content.data() + read);
    // A segment longer than the buffer arrives in parts; that is not an error.
    if (segment.Failed() && segment.ErrorCode() != isc_segment) {
      if (segment.ErrorCode() == isc_segstr_eof) break;
      segment.Raise();
    }
    if (got == 0) break;
    read += got;
  }
  content.resize(read);
  blob.Close();
  return content;
}

ISC_QUAD WriteBlob(TIBSQL& statement, const std::string& content) {
  StatementContext context = ContextOf(statement);
  const ClientApi& api = Api();
  BlobHandle blob(true);
  ISC_QUAD id{};
  Status status;
  api.create_blob2(status.Vector(), context.database, context.transaction, blob.Ptr(), &id, 0,
                   nullptr);
  status.Check();
  for (size_t written = 0; written < content.size();) {
    unsigned short length =
        static_cast<unsigned short>(std::min<size_t>(kSegmentSize, content.size() - written));
    api.put_segment(status.Vector(), blob.Ptr(), length, content.data() + written);
    status.Check();
    written += length;
  }
  blob.Close();
  return id;
}

}  // namespace ib

void TIBXSQLVAR::ReadBlobTo(std::string& out) const {
  if (IsNull()) return;
  if (SQLType() != SQL_TYPE_BLOB) IBError(ibxeInvalidDataConversion);
  const TIBXSQLDA::Impl::Slot& slot = owner_.GetImpl().SlotAt(index_);
  if (slot.blobHeld) {
    if (slot.blobFailure) std::rethrow_exception(slot.blobFailure);
    out += slot.blobContent;
    return;
  }
  ISC_QUAD id;
  std::memcpy(&id, static_cast<const XSQLVAR*>(Descriptor())->sqldata, sizeof id);
  out += ib::ReadBlob(owner_.Statement(), id);
}

void TIBXSQLVAR::WriteBlobFrom(const std::string& content) {
  const std::string& name = Name();
  for (int i = 0; i < owner_.Count(); ++i) {
    TIBXSQLVAR& other = owner_[i];
    if (&other != this && (name.empty() || other.Name() != name)) continue;
    if (other.SQLType() != SQL_TYPE_BLOB && other.SQLType() != SQL_TYPE_ARRAY)
      IBError(ibxeInvalidDataConversion);
  }
  ISC_QUAD id = ib::WriteBlob(owner_.Statement(), content);
  for (int i = 0; i < owner_.Count(); ++i) {
    TIBXSQLVAR& other = owner_[i];
    if (&other != this && (name.empty() || other.Name() != name)) continue;
    XSQLVAR& v = *static_cast<XSQLVAR*>(other.Descriptor());
    owner_.GetImpl().Resize(i, sizeof id);
    std::memcpy(v.sqldata, &id, sizeof id);
    if (ib::IsNullable(v)) *v.sqlind = 0;
    other.modified_ = true;
  }
}
