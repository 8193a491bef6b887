#include "bench/Ceiling.h"

#include <sys/resource.h>

#include <algorithm>
#include <chrono>

#include "transfer/KeyMap.h"
#include "transfer/TableCopyPlan.h"
#include "transfer/TableList.h"

namespace {

struct ColumnInfo {
  std::string name;
  bool text = false;
};

// Key-mapped tables other than OWNER leave their key to the destination's trigger.
bool KeyFromTrigger(const std::string& table) {
  return KeyMapPairNumber(table) != 0 && table != "OWNER";
}

std::string Quoted(const std::string& text) {
  return "'" + text + "'";
}

}  // namespace

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

bool IsUpdateTable(const std::string& table) {
  return table == "OWNERPHOTOS" || table == "EVDESC" || table == "ACR$EVDESC";
}

Ceiling::Ceiling(const std::filesystem::path& db) {
  dm_.IBDatabase1.SetDatabaseName(db.string());
  dm_.IBDatabase1.Open();
}

Ceiling::~Ceiling() {
  try {
    dm_.IBDatabase1.Close();
  } catch (...) {
    // The data module's own destructor lets the attachment go.
  }
}

std::vector<std::string> Ceiling::FirstColumn(const std::string& select) {
  TIBSQL& sql = dm_.IBSQL3;
  StatementBracket bracket(sql);
  sql.SetSQL({select});
  sql.Prepare();
  sql.Execute();
  std::vector<std::string> values;
  while (!sql.AtEnd()) {
    values.push_back(sql.Column(0).GetText());
    sql.FetchNext();
  }
  sql.Close();
  return values;
}

long Ceiling::Count(const std::string& table) {
  return std::stol(FirstColumn("select count(*) from " + table).at(0));
}

std::optional<CeilingResult> Ceiling::Measure(const std::string& table,
                                              const std::string& keyColumn,
                                              const std::string& condition) {
  if (IsUpdateTable(table)) return std::nullopt;
  TIBSQL& sql = dm_.IBSQL3;

  std::vector<ColumnInfo> columns;
  {
    StatementBracket bracket(sql);
    sql.SetSQL({"select * from " + table});
    sql.Prepare();
    sql.Execute();
    for (int i = 0; i < sql.ColumnCount(); ++i) {
      const int type = sql.Column(i).SQLType();
      columns.push_back({sql.Column(i).Name(), type == SQL_TYPE_VARYING || type == SQL_TYPE_TEXT});
    }
    sql.Close();
  }

  const std::string constraintColumns =
      "select trim(S.RDB$FIELD_NAME) from RDB$RELATION_CONSTRAINTS RC join RDB$INDEX_SEGMENTS S "
      "on S.RDB$INDEX_NAME = RC.RDB$INDEX_NAME where RC.RDB$RELATION_NAME = " +
      Quoted(table) + " and RC.RDB$CONSTRAINT_TYPE = ";
  const std::vector<std::string> primary =
      FirstColumn(constraintColumns + "'PRIMARY KEY' order by S.RDB$FIELD_POSITION");
  const std::vector<std::string> foreign = FirstColumn(constraintColumns + "'FOREIGN KEY'");
  auto isForeign = [&](const std::string& name) {
    return std::find(foreign.begin(), foreign.end(), name) != foreign.end();
  };
  std::string shifted;
  for (const std::string& name : primary)
    if (shifted.empty() && !isForeign(name)) shifted = name;
  // A text key takes a suffix instead of an offset.
  bool shiftedIsText = false;
  for (const ColumnInfo& column : columns)
    if (column.name == shifted) shiftedIsText = column.text;
  std::string shift;
  if (!KeyFromTrigger(table) && !shifted.empty() && !shiftedIsText)
    shift = FirstColumn("select coalesce(max(" + shifted + "), 0) + 1 from " + table).at(0);

  std::string names, values;
  for (const ColumnInfo& column : columns) {
    if (KeyFromTrigger(table) && !primary.empty() && column.name == primary.front()) continue;
    std::string value = "Q." + column.name;
    if (column.name == shifted && !KeyFromTrigger(table))
      value = shiftedIsText ? value + " || '+'" : value + " + " + shift;
    names += (names.empty() ? "" : ", ") + column.name;
    values += (values.empty() ? "" : ", ") + value;
  }

  const long before = Count(table);
  const auto start = std::chrono::steady_clock::now();
  const double cpuStart = CpuSeconds();
  {
    StatementBracket bracket(sql);
    std::string query;
    for (const std::string& line : tablecopy::SourceQuery(table, keyColumn, condition))
      query += line + " ";
    sql.SetSQL(
        {"insert into " + table + " (" + names + ") select " + values + " from (" + query + ") Q"});
    sql.Prepare();
    // Events from the same day as the copy took them: all of them.
    if (IsEventTable(table)) sql.ParamByName("EV_D").SetDateTime(0);
    sql.Execute();
  }  // committed here, as the program's table transaction is
  CeilingResult result;
  result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  result.cpuSeconds = CpuSeconds() - cpuStart;
  result.rows = Count(table) - before;
  return result;
}
