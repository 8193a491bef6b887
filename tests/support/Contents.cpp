#include "tests/support/Contents.h"

namespace testsupport {

std::string DatabaseContents(const std::filesystem::path& db) {
  const std::vector<Row> columns =
      QueryRows(db,
                "SELECT TRIM(RF.RDB$RELATION_NAME), TRIM(RF.RDB$FIELD_NAME), F.RDB$FIELD_TYPE "
                "FROM RDB$RELATION_FIELDS RF "
                "JOIN RDB$FIELDS F ON F.RDB$FIELD_NAME = RF.RDB$FIELD_SOURCE "
                "JOIN RDB$RELATIONS R ON R.RDB$RELATION_NAME = RF.RDB$RELATION_NAME "
                "WHERE COALESCE(R.RDB$SYSTEM_FLAG, 0) = 0 AND R.RDB$VIEW_BLR IS NULL "
                "ORDER BY RF.RDB$RELATION_NAME, RF.RDB$FIELD_POSITION");
  constexpr const char* kBlobType = "261";
  // One isql call for every table. A blob shows as its length and a hash: its
  // identifier depends on where the engine stored it. Rows are ordered by every
  // other column, so the order does not depend on storage either.
  std::string script;
  for (size_t i = 0; i < columns.size();) {
    const std::string table = columns[i][0];
    std::string list, order;
    for (; i < columns.size() && columns[i][0] == table; ++i) {
      const std::string& name = columns[i][1];
      if (!list.empty()) list += ", ";
      if (columns[i][2] == kBlobType) {
        list += "OCTET_LENGTH(" + name + "), HASH(" + name + ")";
      } else {
        list += name;
        order += (order.empty() ? " ORDER BY " : ", ") + name;
      }
    }
    script += "SELECT '" + table + "', " + list + " FROM " + table + order + ";\n";
  }
  return RunIsql(db, script);
}

Row GeneratorValues(const std::filesystem::path& db) {
  const std::vector<std::string> names =
      QueryColumn(db,
                  "SELECT TRIM(RDB$GENERATOR_NAME) FROM RDB$GENERATORS "
                  "WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 ORDER BY 1");
  std::string select;
  for (const std::string& name : names)
    select += (select.empty() ? "SELECT '" : ", '") + name + "=' || GEN_ID(" + name + ", 0)";
  if (select.empty()) return {};
  return QueryRows(db, select + " FROM RDB$DATABASE").at(0);
}

}  // namespace testsupport
