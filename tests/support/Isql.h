#pragma once
// Reading and changing a database through isql, independently of the program's own
// database layer, for test set-up and checks.
//
// Embedded Firebird lets one process at a time open a database file: isql cannot
// open a file while the test process holds a connection to it. Call these helpers
// only while the test's own connections to that file are closed.
//
// Every call connects as SYSDBA in SQL dialect 1 (double-quoted words are strings)
// with the connection character set UTF8 unless RunIsql is told otherwise: texts go
// in and come out as UTF-8, and the engine converts them to and from the database's
// WIN1251.
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace testsupport {

// isql reported an error; what() holds the statement text's report from isql.
class IsqlError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The program used for isql: $ISQL when set, otherwise isql-fb.
std::string IsqlProgram();

// Runs statements (each ended by ";", or by the terminator a SET TERM in the text
// chose) and commits at the end. Stops at the first failing statement and throws
// IsqlError; statements before it stay uncommitted. Returns isql's output.
// `charset` is the connection character set the text is written in (WIN1251 for
// the program's own script files).
std::string RunIsql(const std::filesystem::path& db, std::string_view sql,
                    std::string_view charset = "UTF8");

using Row = std::vector<std::string>;

// The text isql shows for NULL; QueryRows gives it for every NULL value.
inline constexpr std::string_view kNull = "<null>";

// Runs one SELECT and returns its rows, columns in select-list order, values as isql
// shows them: numbers in plain decimal (a scaled NUMERIC with its decimals), text
// as stored but CHAR without its trailing blanks, NULL as kNull, blob contents as
// stored (a text blob's line ends included). A dialect-1 DATE shows only its day
// (for instance 01-FEB-2026); select CAST(column AS VARCHAR(30)) for the time too.
// Throws IsqlError when isql fails or its output cannot be read.
std::vector<Row> QueryRows(const std::filesystem::path& db, std::string_view select);

// The first column of every row.
std::vector<std::string> QueryColumn(const std::filesystem::path& db, std::string_view select);

// The first column of the first row; throws IsqlError when there is no row.
std::string QueryValue(const std::filesystem::path& db, std::string_view select);

// QueryValue read as a whole number; throws IsqlError when it is not one.
long long QueryInt(const std::filesystem::path& db, std::string_view select);

}  // namespace testsupport
