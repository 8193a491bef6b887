#pragma once
// The database layer: the one header the rest of the program includes.
// A thin object wrapper over the Firebird client's isc_ C interface; no other
// code of the program calls the client library. Text values are windows-1251
// bytes, as the connections' character set WIN1251 delivers them.
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include "text/Regional.h"

using text::TDateTime;

// ---------------------------------------------------------------- errors

class EDatabaseError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// SQLCode: the engine's SQL code, or the layer's error number for EIBClientError.
// IBErrorCode: the first engine error code of the status vector, 0 for client errors.
class EIBError : public EDatabaseError {
 public:
  EIBError(int sqlCode, long ibErrorCode, const std::string& message)
      : EDatabaseError(message), sqlCode_(sqlCode), ibErrorCode_(ibErrorCode) {}
  int SQLCode() const { return sqlCode_; }
  long IBErrorCode() const { return ibErrorCode_; }
  std::string Message() const { return what(); }

 private:
  int sqlCode_;
  long ibErrorCode_;
};

class EIBInterBaseError : public EIBError {
 public:
  using EIBError::EIBError;
};

// The layer's own checks. The number is one of the table below; the message is
// the table's text with "%s"/"%d" filled from the argument.
enum TIBClientError {
  ibxeUnknownError = 0,
  ibxeIB60feature = 1,  // library not found
  ibxeNotSupported = 4,
  ibxeNotPermitted = 5,
  ibxeDatabaseClosed = 15,
  ibxeDatabaseOpen = 16,
  ibxeDatabaseNameMissing = 17,
  ibxeNotInTransaction = 18,
  ibxeInTransaction = 19,
  ibxeNoDatabasesInTransaction = 21,
  ibxeDatabaseNotAssigned = 24,
  ibxeTransactionNotAssigned = 25,
  ibxeXSQLDAIndexOutOfRange = 26,
  ibxeInvalidStatementHandle = 30,
  ibxeSQLOpen = 31,
  ibxeSQLClosed = 32,
  ibxeUnknownSQLDataType = 35,
  ibxeInvalidDataConversion = 38,
  ibxeEmptyQuery = 42,
  ibxeFieldNotFound = 46,
  ibxeSQLParseError = 55,
};

class EIBClientError : public EIBError {
 public:
  EIBClientError(TIBClientError number, const std::string& message)
      : EIBError(number, 0, message) {}
};

// Raises EIBClientError `number` with its message, `arg` filling %s or %d.
[[noreturn]] void IBError(TIBClientError number, const std::string& arg = std::string());

// ---------------------------------------------------------------- client library

// Loads the client library (once per process). Throws EIBClientError 1 with the
// message "InterBase library gds32.dll not found in the path. Please install
// InterBase to use this functionality" when it cannot be loaded.
void CheckIBLoaded();
// Ctrl-C and SIGTERM make the client library shut every connection down, in the
// middle of a statement. A program that stops its work between rows on these
// signals itself calls this once; false when the library cannot be told.
bool KeepConnectionsOnSignals();
// Tests only: the file name the next load attempt uses ("libfbclient.so.2").
void SetClientLibraryNameForTests(const std::string& fileName);

// ---------------------------------------------------------------- the statement lock

// The process-wide re-entrant lock every statement bracket takes. It is created
// by the master data module, which registers it here for its lifetime.
void RegisterStatementLock(std::recursive_mutex* lock);
std::recursive_mutex* StatementLock();

// ---------------------------------------------------------------- connections

class TIBTransaction;
class TIBSQL;

enum TTransactionAction {
  TARollback = 0,
  TACommit = 1,
  TARollbackRetaining = 2,
  TACommitRetaining = 3
};

class TIBDatabase {
 public:
  explicit TIBDatabase(std::string componentName = "IBDatabase");
  ~TIBDatabase();  // detaches (forced), unbinds transactions and statements; never throws
  TIBDatabase(const TIBDatabase&) = delete;
  TIBDatabase& operator=(const TIBDatabase&) = delete;

  const std::string& Name() const { return name_; }
  const std::string& DatabaseName() const { return databaseName_; }
  void SetDatabaseName(const std::string& path);
  const std::vector<std::string>& Params() const { return params_; }
  void SetParams(const std::vector<std::string>& lines);
  bool LoginPrompt() const { return loginPrompt_; }
  void SetLoginPrompt(bool on) { loginPrompt_ = on; }
  int SQLDialect() const { return sqlDialect_; }
  void SetSQLDialect(int dialect) { sqlDialect_ = dialect; }
  int DBSQLDialect() const { return dbSqlDialect_; }
  TIBTransaction* DefaultTransaction() const { return defaultTransaction_; }
  void SetDefaultTransaction(TIBTransaction* transaction);

  bool Connected() const { return handle_ != 0; }
  void SetConnected(bool connected);
  void Open() { SetConnected(true); }
  void Close() { SetConnected(false); }

  // Slot lists: removal empties a slot (nullptr); an addition fills the first
  // empty slot or appends.
  const std::vector<TIBTransaction*>& Transactions() const { return transactions_; }
  const std::vector<TIBSQL*>& Statements() const { return statements_; }

  // For the layer's own files.
  unsigned int* HandlePtr() { return &handle_; }
  int AddTransaction(TIBTransaction* t);
  void RemoveTransaction(TIBTransaction* t);
  int AddStatement(TIBSQL* s);
  void RemoveStatement(TIBSQL* s);
  bool HasTransaction(const TIBTransaction* t) const;

 private:
  void Attach();
  void Detach();

  std::string name_;
  std::string databaseName_;
  std::vector<std::string> params_;
  bool paramsChanged_ = true;
  std::vector<char> dpb_;
  bool loginPrompt_ = false;
  int sqlDialect_ = 1;
  int dbSqlDialect_ = 1;
  TIBTransaction* defaultTransaction_ = nullptr;
  std::vector<TIBTransaction*> transactions_;
  std::vector<TIBSQL*> statements_;
  unsigned int handle_ = 0;
};

// ---------------------------------------------------------------- transactions

class TIBTransaction {
 public:
  explicit TIBTransaction(std::string componentName = "IBTransaction");
  ~TIBTransaction();  // ends an open transaction with DefaultAction, forced; never throws
  TIBTransaction(const TIBTransaction&) = delete;
  TIBTransaction& operator=(const TIBTransaction&) = delete;

  const std::string& Name() const { return name_; }
  bool Active() const { return handle_ != 0; }
  void Start();
  void Commit();
  void Rollback();

  TIBDatabase* DefaultDatabase() const { return defaultDatabase_; }
  void SetDefaultDatabase(TIBDatabase* database);  // the re-pointing rule
  const std::vector<TIBDatabase*>& Databases() const { return databases_; }
  const std::vector<TIBSQL*>& Statements() const { return statements_; }

  const std::vector<std::string>& Params() const { return params_; }
  void SetParams(const std::vector<std::string>& lines);
  TTransactionAction DefaultAction() const { return defaultAction_; }
  void SetDefaultAction(TTransactionAction a) { defaultAction_ = a; }

  // For the layer's own files.
  unsigned int* HandlePtr() { return &handle_; }
  void EndTransaction(TTransactionAction action, bool forced);
  int AddDatabase(TIBDatabase* d);
  void RemoveDatabase(TIBDatabase* d);
  int AddStatement(TIBSQL* s);
  void RemoveStatement(TIBSQL* s);

 private:
  std::string name_;
  TIBDatabase* defaultDatabase_ = nullptr;
  std::vector<TIBDatabase*> databases_;
  std::vector<TIBSQL*> statements_;
  std::vector<std::string> params_;
  bool paramsChanged_ = true;
  std::vector<char> tpb_;
  TTransactionAction defaultAction_ = TACommit;
  unsigned int handle_ = 0;
};

// The statement bracket: takes the statement lock, commits the statement's
// transaction when active and starts it again (errors discarded).
void BeginStatement(TIBSQL& statement);
// Commits the statement's transaction when active (errors discarded) and releases the lock.
void EndStatement(TIBSQL& statement);
// The same, for work whose loss must be reported: a commit that fails rolls the
// transaction back and raises its error once the lock is released.
void EndStatementReportingCommit(TIBSQL& statement);

// Opens a bracket and closes it on scope exit, so every path closes it.
class StatementBracket {
 public:
  explicit StatementBracket(TIBSQL& statement) : statement_(&statement) {
    BeginStatement(statement);
  }
  ~StatementBracket() { Close(); }
  void Close() {
    if (statement_) EndStatement(*statement_);
    statement_ = nullptr;
  }
  // Closes the bracket; a commit that fails is raised (EndStatementReportingCommit).
  void Commit() {
    TIBSQL* statement = statement_;
    statement_ = nullptr;
    if (statement) EndStatementReportingCommit(*statement);
  }
  StatementBracket(const StatementBracket&) = delete;
  StatementBracket& operator=(const StatementBracket&) = delete;

 private:
  TIBSQL* statement_;
};

// ---------------------------------------------------------------- values

class TIBXSQLDA;

// SQL type codes of the client API (without the nullable bit).
enum : int {
  SQL_TYPE_VARYING = 448,
  SQL_TYPE_TEXT = 452,
  SQL_TYPE_DOUBLE = 480,
  SQL_TYPE_FLOAT = 482,
  SQL_TYPE_LONG = 496,
  SQL_TYPE_SHORT = 500,
  SQL_TYPE_TIMESTAMP = 510,
  SQL_TYPE_BLOB = 520,
  SQL_TYPE_D_FLOAT = 530,
  SQL_TYPE_ARRAY = 540,
  SQL_TYPE_QUAD = 550,
  SQL_TYPE_TIME = 560,
  SQL_TYPE_DATE = 570,
  SQL_TYPE_INT64 = 580,
};

// A variant for SetVariant: the kinds the program passes.
struct TVariant {
  enum Kind {
    Empty,
    Null,
    Integer,
    Double,
    Currency,
    Date,
    Text,
    Boolean,
    Interface,
    Array
  } kind = Empty;
  long long integer = 0;  // Integer, Boolean (0/1), Currency (value * 10000)
  double number = 0;      // Double, Date
  std::string text;       // Text
};

// One parameter or result column.
class TIBXSQLVAR {
 public:
  TIBXSQLVAR(TIBXSQLDA& owner, int index);
  ~TIBXSQLVAR();
  TIBXSQLVAR(const TIBXSQLVAR&) = delete;
  TIBXSQLVAR& operator=(const TIBXSQLVAR&) = delete;

  int Index() const { return index_; }
  const std::string& Name() const;  // stored trimmed and upper-cased
  int SQLType() const;              // without the nullable bit
  int SQLScale() const;
  int SQLLen() const;
  bool IsNullable() const;
  bool IsNull() const;

  int GetInteger() const;
  std::string GetText() const;
  void SetInteger(int value);
  void SetText(const std::string& value);
  void SetDateTime(TDateTime value);
  void SetVariant(const TVariant& value);
  void SetNull(bool isNull);
  void AssignFrom(const TIBXSQLVAR& source);
  // Appends the blob's whole content to `out`.
  void ReadBlobTo(std::string& out) const;
  // Writes `content` into a new blob and assigns its id.
  void WriteBlobFrom(const std::string& content);

  bool Modified() const { return modified_; }

  // For the layer's own files: the engine descriptor entry (an XSQLVAR).
  void* Descriptor() const;

 private:
  friend class TIBXSQLDA;  // its descriptor block resets the modified flag

  TIBXSQLDA& owner_;
  int index_;
  bool modified_ = false;
};

// The parameter values of one statement as they stand, kept aside to be given
// to the parameters of this or another statement later: rows gathered for a
// batch, or written one by one after all.
class TParamValues {
 public:
  int Count() const { return static_cast<int>(entries_.size()); }
  // What the values take in a statement's input message, null flags included.
  size_t MessageBytes() const { return messageBytes_; }
  // A blob id that is not NULL: it belongs to the first statement that uses it.
  bool HasBlob() const { return hasBlob_; }

 private:
  friend class TIBXSQLDA;
  struct Entry {
    short type, scale, subtype, length, indicator;
    size_t offset, size;  // in data_
  };
  std::vector<Entry> entries_;
  std::vector<char> data_;
  size_t messageBytes_ = 0;
  bool hasBlob_ = false;
};

// One fetched row kept apart from its statement, so that it can be read after
// the statement has moved on: its column values, and the whole content of the
// blob columns asked for (or the error reading one raised). A reader thread
// fills it from the source; the row is read back through a column list of the
// same layout (TIBXSQLDA::CopyLayout, LoadRow).
class TRowValues {
 public:
  // Memory the row holds: values and blob contents.
  size_t Bytes() const;

 private:
  friend class TIBXSQLDA;
  struct Blob {
    int column = 0;
    std::string content;
    std::exception_ptr failure;
  };
  TParamValues values_;
  std::vector<Blob> blobs_;  // the first blobCount_ belong to the row; the rest are kept for reuse
  size_t blobCount_ = 0;
};

// A list of parameters or result columns.
class TIBXSQLDA {
 public:
  explicit TIBXSQLDA(TIBSQL& statement);
  ~TIBXSQLDA();
  TIBXSQLDA(const TIBXSQLDA&) = delete;
  TIBXSQLDA& operator=(const TIBXSQLDA&) = delete;

  TIBSQL& Statement() const { return statement_; }
  int Count() const { return count_; }
  const std::string& NameAt(int i) const { return names_[static_cast<size_t>(i)]; }
  TIBXSQLVAR& operator[](int i);  // "XSQLDA index out of range" outside 0..Count-1
  TIBXSQLVAR* FindByName(const std::string& name);  // trimmed, upper-cased match

  // What the entries take in an input message, as they stand.
  size_t MessageBytes() const;
  // Keeps every entry's type and value in `values`, replacing what it held.
  void SaveValues(TParamValues& values) const;
  // Gives entries first, first + 1, ... the kept types and values.
  void LoadValues(const TParamValues& values, int first);

  // Columns: the same entries, names and types as `other`, with buffers of
  // their own; no statement behind them, so a blob is read only from a row
  // loaded with its content.
  void CopyLayout(const TIBXSQLDA& other);
  // Keeps the row as it stands, with the content of the blob columns listed
  // (indexes); a blob that cannot be read keeps its error instead.
  void SaveRow(TRowValues& row, const std::vector<int>& blobColumns) const;
  // Gives the columns a kept row; its blob contents move into the columns.
  void LoadRow(TRowValues& row);

  // For the layer's own files.
  struct Impl;
  Impl& GetImpl() const { return *impl_; }

 private:
  TIBSQL& statement_;
  int count_ = 0;
  std::vector<std::string> names_;
  std::vector<std::unique_ptr<TIBXSQLVAR>> vars_;
  std::unique_ptr<Impl> impl_;
};

// ---------------------------------------------------------------- statements

enum TIBSQLTypes {
  SQLUnknown = 0,
  SQLSelect = 1,
  SQLInsert = 2,
  SQLUpdate = 3,
  SQLDelete = 4,
  SQLDDL = 5,
  SQLGetSegment = 6,
  SQLPutSegment = 7,
  SQLExecProcedure = 8,
  SQLStartTransaction = 9,
  SQLCommit = 10,
  SQLRollback = 11,
  SQLSelectForUpdate = 12,
  SQLSetGenerator = 13,
};

// The statement's link to its connection and transaction.
class TIBBase {
 public:
  explicit TIBBase(TIBSQL& owner) : owner_(owner) {}
  TIBDatabase* Database() const { return database_; }
  TIBTransaction* Transaction() const { return transaction_; }
  void SetDatabase(TIBDatabase* d);
  void SetTransaction(TIBTransaction* t);

 private:
  TIBSQL& owner_;
  TIBDatabase* database_ = nullptr;
  TIBTransaction* transaction_ = nullptr;
};

class TIBSQL {
 public:
  explicit TIBSQL(std::string componentName = "IBSQL");
  ~TIBSQL();  // closes and drops the engine statement; never throws
  TIBSQL(const TIBSQL&) = delete;
  TIBSQL& operator=(const TIBSQL&) = delete;

  const std::string& Name() const { return name_; }
  TIBDatabase* Database() const { return base_.Database(); }
  void SetDatabase(TIBDatabase* d) { base_.SetDatabase(d); }
  TIBTransaction* Transaction() const { return base_.Transaction(); }
  void SetTransaction(TIBTransaction* t) { base_.SetTransaction(t); }

  // SQL text; every change drops the engine statement.
  const std::vector<std::string>& SQL() const { return sql_; }
  void SQLClear();
  void SQLAdd(const std::string& line);
  void SetSQL(const std::vector<std::string>& lines);  // clear + add each line
  int SQLCount() const { return static_cast<int>(sql_.size()); }

  bool ParamCheck() const { return paramCheck_; }
  void SetParamCheck(bool on) { paramCheck_ = on; }
  // The text carries the engine's own "?" placeholders and its ":name" words
  // belong to the engine (variables of an EXECUTE BLOCK): it is sent as written
  // and every described parameter is kept, unnamed, in placeholder order.
  bool EnginePlaceholders() const { return enginePlaceholders_; }
  void SetEnginePlaceholders(bool on) {
    enginePlaceholders_ = on;
    FreeHandle();
  }
  // A failed EXECUTE PROCEDURE is prepared again and tried once more. An insert
  // with RETURNING runs as such a statement too, and must run once: a second try
  // would take another generator value for the failed row.
  bool RetryFailedProcedure() const { return retryFailedProcedure_; }
  void SetRetryFailedProcedure(bool on) { retryFailedProcedure_ = on; }
  bool GoToFirstRecordOnExecute() const { return true; }

  void Prepare();
  void Execute();  // named ExecQuery in some wrappers
  void FetchNext();
  void Close();
  bool Prepared() const { return prepared_; }
  bool Open() const { return open_; }
  bool AtEnd() const { return !open_ || eof_; }
  bool BOF() const { return bof_; }
  int RowsFetched() const { return rowsFetched_; }
  TIBSQLTypes SQLType() const { return sqlType_; }
  const std::string& ProcessedSQL() const { return processedSql_; }
  const std::string& CursorName() const { return cursorName_; }

  TIBXSQLVAR& Param(int index);
  TIBXSQLVAR& ParamByName(const std::string& name);
  TIBXSQLVAR& Column(int index);  // "Field "<index>" not found" outside 0..count-1
  TIBXSQLVAR& ColumnByName(const std::string& name);
  int ParamCount();  // prepares first when needed
  int ColumnCount() const;
  TIBXSQLDA& Params() { return *params_; }
  TIBXSQLDA& Current() { return *columns_; }

  // Puts every parameter back into the state right after Prepare (described
  // type, zero-filled, not null), so that a statement prepared once can be
  // executed for many rows exactly as if it had been prepared for each.
  void ResetParams();

  // For the layer's own files.
  unsigned int* HandlePtr() { return &handle_; }
  void FreeHandle();                   // drops the engine statement (the text-change rule)
  void DropCursorForTransactionEnd();  // the Close that a commit or rollback makes

 private:
  std::string name_;
  TIBBase base_;
  std::vector<std::string> sql_;
  bool paramCheck_ = true;
  bool enginePlaceholders_ = false;
  bool retryFailedProcedure_ = true;
  bool prepared_ = false;
  bool open_ = false;
  bool eof_ = false;
  bool bof_ = false;
  int rowsFetched_ = 0;
  TIBSQLTypes sqlType_ = SQLUnknown;
  std::string processedSql_;
  std::string cursorName_;
  std::unique_ptr<TIBXSQLDA> params_;
  std::unique_ptr<TIBXSQLDA> columns_;
  unsigned int handle_ = 0;
};

// ---------------------------------------------------------------- the transfer data module

// Every connection, transaction and statement a transfer uses, created once at
// start-up with its fixed settings and links, and living until the program ends.
class TDM1 {
 public:
  TDM1();  // binds the client library first; throws EIBClientError 1 when it is missing
  ~TDM1();

  TIBDatabase IBDatabase3{"IBDatabase3"};           // source connection
  TIBDatabase IBDatabase1{"IBDatabase1"};           // destination connection 1
  TIBDatabase IBDatabase2{"IBDatabase2"};           // destination connection 2
  TIBTransaction IBTransaction{"IBTransaction"};    // source transaction
  TIBTransaction IBTransaction1{"IBTransaction1"};  // destination transaction 1
  TIBTransaction IBTransaction2{"IBTransaction2"};
  TIBTransaction IBTransaction3{"IBTransaction3"};
  TIBSQL IBSQL4{"IBSQL4"};  // source statement
  TIBSQL IBSQL3{"IBSQL3"};  // destination statement
  TIBSQL IBSQL6{"IBSQL6"};  // destination script statement
  TIBSQL IBSQL5{"IBSQL5"};
};
