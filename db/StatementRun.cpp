// TIBSQL: prepare, execute, fetch and close over the engine statement.
#include <algorithm>
#include <string>

#include "db/Descriptors.h"
#include "db/IB.h"
#include "db/ParamParser.h"

namespace {

void CheckTransaction(TIBSQL& statement) {
  if (statement.Transaction() == nullptr) IBError(ibxeTransactionNotAssigned);
  if (!statement.Transaction()->Active()) IBError(ibxeNotInTransaction);
}

// Statement kinds whose rows come back through a cursor.
bool OpensCursor(TIBSQLTypes type) {
  return type == SQLSelect || type == SQLSelectForUpdate;
}

void Describe(TIBXSQLDA& list, unsigned int* handle, int dialect, bool bind, int initial) {
  const ib::ClientApi& api = ib::Api();
  TIBXSQLDA::Impl& impl = list.GetImpl();
  auto call = [&] {
    impl.Reserve(initial);
    ib::Status status;
    auto fn = bind ? api.dsql_describe_bind : api.dsql_describe;
    fn(status.Vector(), handle, static_cast<unsigned short>(dialect), impl.Sqlda());
    status.Check();
    return static_cast<int>(impl.Sqlda()->sqld);
  };
  int described = call();
  if (described > initial) {
    initial = described;
    call();
  }
}

}  // namespace

ib::StatementContext ib::ContextOf(TIBSQL& statement) {
  TIBDatabase* database = statement.Database();
  if (database == nullptr) IBError(ibxeDatabaseNotAssigned);
  if (!database->Connected()) IBError(ibxeDatabaseClosed);
  CheckTransaction(statement);
  return {database->HandlePtr(), statement.Transaction()->HandlePtr()};
}

void TIBSQL::Prepare() {
  if (open_) IBError(ibxeSQLOpen);
  ib::StatementContext context = ib::ContextOf(*this);
  if (prepared_) return;
  std::string text;
  for (const std::string& line : sql_) text += line + "\r\n";
  if (text.empty()) IBError(ibxeEmptyQuery);
  ib::ProcessedSql processed;
  if (paramCheck_ && !enginePlaceholders_)
    processed = ib::PreprocessParams(text);
  else
    processed.text = text;
  if (processed.text.empty()) IBError(ibxeEmptyQuery);
  processedSql_ = processed.text;

  const ib::ClientApi& api = ib::Api();
  const int dialect = Database()->SQLDialect();
  try {
    ib::Status status;
    api.dsql_alloc_statement2(status.Vector(), context.database, &handle_);
    status.Check();
    api.dsql_prepare(status.Vector(), context.transaction, &handle_, 0, processedSql_.c_str(),
                     static_cast<unsigned short>(dialect), nullptr);
    status.Check();
    const char request[] = {isc_info_sql_stmt_type};
    char reply[16] = {};
    api.dsql_sql_info(status.Vector(), &handle_, sizeof request, request, sizeof reply, reply);
    status.Check();
    if (reply[0] != isc_info_sql_stmt_type) IBError(ibxeUnknownError);
    int length = static_cast<int>(api.vax_integer(reply + 1, 2));
    sqlType_ = static_cast<TIBSQLTypes>(api.vax_integer(reply + 3, static_cast<short>(length)));
    if (sqlType_ == SQLGetSegment || sqlType_ == SQLPutSegment || sqlType_ == SQLStartTransaction)
      IBError(ibxeNotPermitted);

    // The engine's description sets the count; the names from the text are
    // stored at their positions. Without the preprocessing the statement takes
    // no parameters, so a placeholder in such a text fails at execute instead
    // of running with empty values.
    TIBXSQLDA::Impl& in = params_->GetImpl();
    Describe(*params_, &handle_, dialect, true, std::max<int>(processed.names.size(), 1));
    in.SetCount(paramCheck_ || enginePlaceholders_ ? in.Sqlda()->sqld : 0, processed.names);
    in.SetupBuffers();

    if (sqlType_ == SQLSelect || sqlType_ == SQLExecProcedure || sqlType_ == SQLSelectForUpdate) {
      TIBXSQLDA::Impl& out = columns_->GetImpl();
      Describe(*columns_, &handle_, dialect, false, 1);
      out.SetCount(out.Sqlda()->sqld, {});
      out.SetupBuffers();
      out.NameColumns();
    }
    prepared_ = true;
  } catch (...) {
    try {
      FreeHandle();
    } catch (...) {
    }
    throw;
  }
}

void TIBSQL::Execute() {
  if (open_) IBError(ibxeSQLOpen);
  if (!prepared_) Prepare();
  CheckTransaction(*this);
  if (handle_ == 0) IBError(ibxeInvalidStatementHandle);
  const ib::ClientApi& api = ib::Api();
  unsigned int* transaction = Transaction()->HandlePtr();
  const unsigned short dialect = static_cast<unsigned short>(Database()->SQLDialect());
  XSQLDA* in = params_->GetImpl().ForEngine();
  ib::Status status;
  if (OpensCursor(sqlType_)) {
    api.dsql_execute2(status.Vector(), transaction, &handle_, dialect, in, nullptr);
    status.Check();
    api.dsql_set_cursor_name(status.Vector(), &handle_, cursorName_.c_str(), 0);
    status.Check();
    open_ = true;
    bof_ = true;
    eof_ = false;
    rowsFetched_ = 0;
    FetchNext();
  } else if (sqlType_ == SQLExecProcedure) {
    XSQLDA* out = columns_->GetImpl().ForEngine();
    api.dsql_execute2(status.Vector(), transaction, &handle_, dialect, in, out);
    // A deadlock is reported like any failure; other failures get one retry on
    // a freshly prepared statement.
    if (status.Failed() && retryFailedProcedure_ && status.ErrorCode() != isc_deadlock) {
      ib::Status retry;
      api.dsql_prepare(retry.Vector(), transaction, &handle_, 0, processedSql_.c_str(), dialect,
                       nullptr);
      retry.Check();
      api.dsql_execute2(retry.Vector(), transaction, &handle_, dialect, in, out);
      retry.Check();
      return;
    }
    status.Check();
  } else {
    api.dsql_execute(status.Vector(), transaction, &handle_, dialect, in);
    status.Check();
  }
}

void TIBSQL::FetchNext() {
  if (eof_) return;
  if (!open_) IBError(ibxeSQLClosed);
  ib::Status status;
  ISC_STATUS result = ib::Api().dsql_fetch(status.Vector(), &handle_,
                                           static_cast<unsigned short>(Database()->SQLDialect()),
                                           columns_->GetImpl().ForEngine());
  if (result == 100) {
    eof_ = true;
  } else if (status.Failed()) {
    if (status.Contains(isc_dsql_cursor_err)) {
      eof_ = true;
      return;
    }
    try {
      Close();
    } catch (...) {
    }
    status.Raise();
  } else {
    ++rowsFetched_;
    bof_ = false;
  }
}

void TIBSQL::Close() {
  bool wasOpen = open_;
  open_ = false;
  eof_ = false;
  bof_ = false;
  rowsFetched_ = 0;
  if (!wasOpen || handle_ == 0 || !OpensCursor(sqlType_)) return;
  ib::Status status;
  ib::Api().dsql_free_statement(status.Vector(), &handle_, DSQL_close);
  if (status.Failed() && !status.Contains(isc_bad_stmt_handle) &&
      !status.Contains(isc_dsql_cursor_close_err))
    status.Raise();
}

void TIBSQL::DropCursorForTransactionEnd() {
  // The engine closes the cursor with the transaction; a failure to close it
  // first changes nothing about the end of the transaction.
  try {
    Close();
  } catch (...) {
  }
}

void TIBSQL::FreeHandle() {
  params_->GetImpl().Clear();
  columns_->GetImpl().Clear();
  prepared_ = false;
  if (handle_ == 0) return;
  ib::Status status;
  ib::Api().dsql_free_statement(status.Vector(), &handle_, DSQL_drop);
  handle_ = 0;
  if (status.Failed() && status.ErrorCode() != isc_bad_stmt_handle) status.Raise();
}
