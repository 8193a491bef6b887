// The layer's two error families: its own checks (EIBClientError, fixed number
// and text) and failures the engine reports (EIBInterBaseError, engine text).
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "db/Client.h"
#include "db/IB.h"
#include "text/Cp1251.h"

namespace {

const char* ClientMessage(TIBClientError number) {
  switch (number) {
    case ibxeUnknownError:
      return "Unknown error";
    case ibxeIB60feature:
      return "InterBase library gds32.dll not found in the path. Please install InterBase to "
             "use this functionality";
    case ibxeNotSupported:
      return "Unsupported feature";
    case ibxeNotPermitted:
      return "Not permitted";
    case ibxeDatabaseClosed:
      return "Cannot perform operation -- DB is not open";
    case ibxeDatabaseOpen:
      return "Cannot perform operation -- DB is currently open";
    case ibxeDatabaseNameMissing:
      return "Database name is missing";
    case ibxeNotInTransaction:
      return "Transaction is not active";
    case ibxeInTransaction:
      return "Transaction is active";
    case ibxeNoDatabasesInTransaction:
      return "No databases are listed in transaction component";
    case ibxeDatabaseNotAssigned:
      return "Database not assigned";
    case ibxeTransactionNotAssigned:
      return "Transaction not assigned";
    case ibxeXSQLDAIndexOutOfRange:
      return "XSQLDA index out of range";
    case ibxeInvalidStatementHandle:
      return "Invalid statement handle";
    case ibxeSQLOpen:
      return "IBSQL Open";
    case ibxeSQLClosed:
      return "IBSQL Closed";
    case ibxeUnknownSQLDataType:
      return "Unknown SQL Data type (%d)";
    case ibxeInvalidDataConversion:
      return "Invalid data conversion";
    case ibxeEmptyQuery:
      return "Empty query";
    case ibxeFieldNotFound:
      return "Field \"%s\" not found";
    case ibxeSQLParseError:
      return "SQL Parse Error:\r\n\r\n%s";
  }
  return "Unknown error";
}

}  // namespace

void IBError(TIBClientError number, const std::string& arg) {
  std::string message = ClientMessage(number);
  size_t at = message.find("%s");
  if (at == std::string::npos) at = message.find("%d");
  if (at != std::string::npos) message.replace(at, 2, arg);
  throw EIBClientError(number, message);
}

namespace ib {

bool Status::Contains(long code) const {
  for (int i = 0; i < ISC_STATUS_LENGTH - 1;) {
    ISC_STATUS kind = vector_[i];
    if (kind == isc_arg_end) break;
    if (kind == isc_arg_gds && vector_[i + 1] == code) return true;
    i += kind == isc_arg_cstring ? 3 : 2;
  }
  return false;
}

namespace {

// The vector with every string argument in windows-1251: file names and the
// system's texts arrive as UTF-8, names and values of the database as WIN1251.
// `texts` owns the converted strings the copy points at.
std::vector<ISC_STATUS> WithProgramTexts(const ISC_STATUS* vector, std::deque<std::string>& texts) {
  std::vector<ISC_STATUS> copy;
  for (int i = 0; i < ISC_STATUS_LENGTH - 1 && vector[i] != isc_arg_end;) {
    const ISC_STATUS kind = vector[i];
    if (kind == isc_arg_cstring) {
      const char* start = reinterpret_cast<const char*>(vector[i + 2]);
      texts.push_back(text::Cp1251FromSystemOrSame(
          std::string_view(start, static_cast<size_t>(vector[i + 1]))));
      copy.push_back(isc_arg_string);
      copy.push_back(reinterpret_cast<ISC_STATUS>(texts.back().c_str()));
      i += 3;
      continue;
    }
    copy.push_back(kind);
    if (kind == isc_arg_string || kind == isc_arg_interpreted || kind == isc_arg_sql_state) {
      texts.push_back(text::Cp1251FromSystemOrSame(reinterpret_cast<const char*>(vector[i + 1])));
      copy.push_back(reinterpret_cast<ISC_STATUS>(texts.back().c_str()));
    } else {
      copy.push_back(vector[i + 1]);
    }
    i += 2;
  }
  copy.push_back(isc_arg_end);
  return copy;
}

}  // namespace

std::string ComposeEngineMessage(const ISC_STATUS* vector) {
  std::deque<std::string> texts;
  const std::vector<ISC_STATUS> converted = WithProgramTexts(vector, texts);
  std::string message;
  const ISC_STATUS* cursor = converted.data();
  char buffer[1024];
  while (true) {
    // An operating system error is interpreted as the C library's text, in the
    // locale's encoding.
    const bool systemText = *cursor == isc_arg_unix;
    if (Api().interpret(buffer, sizeof buffer, &cursor) <= 0) break;
    if (!message.empty() && message.back() != '\n') message += "\r\n";
    message += systemText ? text::Cp1251FromLocale(buffer) : std::string(buffer);
  }
  if (!message.empty() && message.back() == '.') message.pop_back();
  return message;
}

void Status::Raise() const {
  int sqlCode = static_cast<int>(Api().sqlcode(vector_));
  throw EIBInterBaseError(sqlCode, ErrorCode(), ComposeEngineMessage(vector_));
}

}  // namespace ib
