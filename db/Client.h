#pragma once
// The layer's private view of the client library: the bound entry points and
// the status vector. Only files of db/ include this header (and so ibase.h).
#include <ibase.h>
// ibase.h defines these two as macros; IB.h names them as enumerators of the
// same values, so the macros give way.
#undef SQL_TYPE_TIME
#undef SQL_TYPE_DATE

#include <string>
#include <type_traits>

static_assert(std::is_same_v<FB_API_HANDLE, unsigned int>,
              "IB.h keeps engine handles as unsigned int");

namespace ib {

// Entry points resolved from the client library loaded at run time.
struct ClientApi {
  decltype(&::isc_attach_database) attach_database;
  decltype(&::isc_detach_database) detach_database;
  decltype(&::isc_database_info) database_info;
  decltype(&::isc_start_multiple) start_multiple;
  decltype(&::isc_commit_transaction) commit_transaction;
  decltype(&::isc_rollback_transaction) rollback_transaction;
  decltype(&::isc_dsql_alloc_statement2) dsql_alloc_statement2;
  decltype(&::isc_dsql_prepare) dsql_prepare;
  decltype(&::isc_dsql_sql_info) dsql_sql_info;
  decltype(&::isc_dsql_describe_bind) dsql_describe_bind;
  decltype(&::isc_dsql_describe) dsql_describe;
  decltype(&::isc_dsql_execute) dsql_execute;
  decltype(&::isc_dsql_execute2) dsql_execute2;
  decltype(&::isc_dsql_set_cursor_name) dsql_set_cursor_name;
  decltype(&::isc_dsql_fetch) dsql_fetch;
  decltype(&::isc_dsql_free_statement) dsql_free_statement;
  decltype(&::isc_open_blob2) open_blob2;
  decltype(&::isc_create_blob2) create_blob2;
  decltype(&::isc_get_segment) get_segment;
  decltype(&::isc_put_segment) put_segment;
  decltype(&::isc_blob_info) blob_info;
  decltype(&::isc_close_blob) close_blob;
  decltype(&::isc_cancel_blob) cancel_blob;
  decltype(&::isc_drop_database) drop_database;
  decltype(&::isc_service_attach) service_attach;
  decltype(&::isc_service_detach) service_detach;
  decltype(&::isc_service_start) service_start;
  decltype(&::isc_service_query) service_query;
  decltype(&::isc_sqlcode) sqlcode;
  decltype(&::fb_interpret) interpret;
  decltype(&::isc_vax_integer) vax_integer;
  decltype(&::isc_encode_date) encode_date;
  decltype(&::isc_decode_date) decode_date;
  decltype(&::isc_decode_sql_date) decode_sql_date;
  decltype(&::isc_decode_sql_time) decode_sql_time;
};

// The bound library; binds it on first use (EIBClientError 1 when it cannot).
const ClientApi& Api();

// One status vector per call, checked right after the call it was passed to.
class Status {
 public:
  ISC_STATUS* Vector() { return vector_; }
  const ISC_STATUS* Vector() const { return vector_; }
  bool Failed() const { return vector_[0] == 1 && vector_[1] != 0; }
  // The first engine error code, 0 when the call succeeded.
  long ErrorCode() const { return Failed() ? static_cast<long>(vector_[1]) : 0; }
  // True when `code` is any of the error codes the vector carries.
  bool Contains(long code) const;
  // The operating system's error number the vector carries, 0 when none.
  int SystemError() const;
  // The message of the failure: the engine's text, or for a database of an
  // older on-disk structure a plain Russian message that says what to do.
  std::string Message() const;
  // True when the failure is a database of an older on-disk structure.
  bool FromOlderEngine() const;
  // Raises EIBInterBaseError with Message().
  [[noreturn]] void Raise() const;
  void Check() const {
    if (Failed()) Raise();
  }

 private:
  ISC_STATUS_ARRAY vector_{};
};

// The engine's text of a status vector: every interpreted line, CR LF between
// them, one trailing period removed.
std::string ComposeEngineMessage(const ISC_STATUS* vector);

}  // namespace ib
