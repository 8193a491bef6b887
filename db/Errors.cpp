// The layer's two error families: its own checks (EIBClientError, fixed number
// and text) and failures the engine reports (EIBInterBaseError, engine text).
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "db/Client.h"
#include "db/IB.h"
#include "text/Cp1251.h"
#include "text/RussianTexts.h"

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
namespace {

// The text and number arguments that follow error `code` in a status vector.
struct ErrorArguments {
  bool found = false;
  std::vector<std::string> texts;
  std::vector<long> numbers;
};

ErrorArguments ArgumentsOf(const ISC_STATUS* vector, long code) {
  ErrorArguments arguments;
  for (int i = 0; i < ISC_STATUS_LENGTH - 1;) {
    const ISC_STATUS kind = vector[i];
    if (kind == isc_arg_end) break;
    if (kind == isc_arg_gds) {
      if (arguments.found) break;  // the next error's arguments are its own
      arguments.found = vector[i + 1] == code;
    } else if (arguments.found && kind == isc_arg_string) {
      arguments.texts.emplace_back(reinterpret_cast<const char*>(vector[i + 1]));
    } else if (arguments.found && kind == isc_arg_number) {
      arguments.numbers.push_back(static_cast<long>(vector[i + 1]));
    }
    i += kind == isc_arg_cstring ? 3 : 2;
  }
  return arguments;
}

// A database of an older on-disk structure gets a message that says what to do
// with it; one of a newer structure keeps the engine's own text, since neither
// remedy applies to it. The engine reports the file, the structure it found and
// the one it supports.
bool OlderEngineMessage(const ISC_STATUS* vector, std::string& message) {
  const ErrorArguments ods = ArgumentsOf(vector, isc_wrong_ods);
  if (!ods.found || ods.texts.empty() || ods.numbers.size() < 3) return false;
  const long found = ods.numbers[0];
  const long supported = ods.numbers[2];
  if (found >= supported) return false;
  std::string structure = std::to_string(found);
  if (found == 11) structure += ", Firebird 2.x";
  if (found == 10) structure += ", Firebird 1.x";
  message = ru::OlderEngineDatabase() + text::Cp1251FromFileName(ods.texts[0]) +
            ru::OlderEngineStructure() + structure + ru::OlderEngineCannotOpen() + "\r\n" +
            ru::OlderEngineAdvice();
  return true;
}

}  // namespace

bool Status::Contains(long code) const {
  return ArgumentsOf(vector_, code).found;
}

int Status::SystemError() const {
  for (int i = 0; i < ISC_STATUS_LENGTH - 1;) {
    const ISC_STATUS kind = vector_[i];
    if (kind == isc_arg_end) break;
    if (kind == isc_arg_unix) return static_cast<int>(vector_[i + 1]);
    i += kind == isc_arg_cstring ? 3 : 2;
  }
  return 0;
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

std::string Status::Message() const {
  std::string message;
  if (!OlderEngineMessage(vector_, message)) message = ComposeEngineMessage(vector_);
  return message;
}

bool Status::FromOlderEngine() const {
  std::string ignored;
  return OlderEngineMessage(vector_, ignored);
}

void Status::Raise() const {
  int sqlCode = static_cast<int>(Api().sqlcode(vector_));
  throw EIBInterBaseError(sqlCode, ErrorCode(), Message());
}

}  // namespace ib
