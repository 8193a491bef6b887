#include "transfer/TableCopyPlan.h"

#include <map>
#include <stdexcept>

#include "text/Trim.h"

namespace tablecopy {

namespace {

// Double quotes are string constants in the databases' dialect 1.
const char kIniDataFilter[] =
    "(ID_SECTION <> \"USER_CAN_FILTER\") and (ID_SECTION <> \"USER_FILTERS\") and "
    "(ID_SECTION <> \"CTRL_FILTERS\")";

const std::map<std::string, std::string>& SpecialCountQueries() {
  static const std::map<std::string, std::string> queries = {
      {"INIDATA", std::string("Select Count(ID_ID) from  INIDATA Where ") + kIniDataFilter},
      {"EVENTS", "Select Count(EV_ID) from  EVENTS Where EV_DATE >= :EV_D"},
      {"ALARM", "Select Count(AL_ID) from Alarm A Where AL_DATE >= :EV_D"},
      {"ACR$EVENTS", "Select Count(AEV_ID) from ACR$EVENTS Where AEV_DATE >= :EV_D"},
      {"ACR$ALARMS", "Select Count(AAL_ID) from ACR$ALARMS Where AAL_DATE >= :EV_D"},
      {"STR_EVENTS", "Select Count(EV_ID) from  STR_EVENTS Where EV_DATE >= :EV_D"},
      {"STR_ALARMS", "Select Count(AL_ID) from STR_ALARMS A Where AL_DATE >= :EV_D"},
  };
  return queries;
}

// Events and alarms are read only where a description matches their code, so
// the row brings the description's hardware type along for the device rewrite.
const std::map<std::string, std::string>& SpecialSourceQueries() {
  static const std::map<std::string, std::string> queries = {
      {"INIDATA", std::string("Select * from INIDATA  Where ") + kIniDataFilter},
      {"EVENTS",
       "Select E.*,ED.ED_HARDTYPE from EVENTS E,EVDESC ED Where (E.EV_CODE = ED.ED_CODE) and "
       "((E.EV_ADDCODE = ED.ED_ADDCODE) or (E.EV_ADDCODE-256 = ED.ED_ADDCODE)) and "
       "(E.EV_DATE >= :EV_D)"},
      {"ALARM",
       "Select A.*,ED.ED_HARDTYPE from Alarm A, EVDESC ED Where (A.AL_CODE = ED.ED_CODE) and "
       "((A.AL_ADDCODE = ED.ED_ADDCODE) or (A.AL_ADDCODE-256 = ED.ED_ADDCODE)) and "
       "(A.AL_DATE >= :EV_D)"},
      {"ACR$EVENTS", "Select * from ACR$EVENTS Where AEV_DATE >= :EV_D"},
      {"ACR$ALARMS", "Select * from ACR$ALARMS Where AAL_DATE >= :EV_D"},
      {"STR_EVENTS", "Select E.* from STR_EVENTS E Where (E.EV_DATE >= :EV_D)"},
      {"STR_ALARMS", "Select A.* from STR_Alarms A Where (A.AL_DATE >= :EV_D)"},
  };
  return queries;
}

std::string Joined(const std::vector<std::string>& parts, const std::string& separator) {
  std::string joined;
  for (const std::string& part : parts) joined += (joined.empty() ? "" : separator) + part;
  return joined;
}

// "c1 = :c1, c2 = :c2" over common[first..last].
std::string Assignments(const std::vector<std::string>& common, size_t first, size_t last) {
  std::string part;
  for (size_t i = first; i <= last; ++i) {
    const std::string& column = common.at(i);
    if (i > first) part += ", ";
    part += column + " = :" + column;
  }
  return part;
}

RowStatement Update(RowKind kind, const std::string& table, const std::string& keyName,
                    const std::vector<std::string>& common, size_t first, size_t last) {
  RowStatement row;
  row.kind = kind;
  row.updateKey = keyName;
  row.text = "UPDATE " + table + " SET " + Assignments(common, first, last) + " Where " + keyName +
             " = :" + common.at(0);
  for (size_t i = first; i <= last; ++i) row.paramSources.push_back(common[i]);
  row.paramSources.push_back(common[0]);
  return row;
}

}  // namespace

std::string CountQuery(const std::string& table, const std::string& keyColumn) {
  const auto& special = SpecialCountQueries();
  auto found = special.find(table);
  if (found != special.end()) return found->second;
  return "select Count(" + keyColumn + ") from " + table;
}

std::vector<std::string> SourceQuery(const std::string& table, const std::string& keyColumn,
                                     const std::string& condition) {
  const auto& special = SpecialSourceQueries();
  auto found = special.find(table);
  if (found != special.end()) return {found->second};
  std::vector<std::string> lines = {"select * from " + table};
  if (!condition.empty()) lines.push_back("Where " + condition);
  lines.push_back(" Order BY " + keyColumn);
  return lines;
}

std::vector<std::string> UndescribedCountQuery(const std::string& table) {
  std::string alias, prefix;
  if (table == "EVENTS") {
    alias = "E";
    prefix = "E.EV_";
  } else if (table == "ALARM") {
    alias = "A";
    prefix = "A.AL_";
  } else {
    return {};
  }
  return {"Select Count(*) from " + table + " " + alias + " Where (" + prefix + "DATE >= :EV_D)",
          "and not exists (Select 1 from EVDESC ED Where (" + prefix + "CODE = ED.ED_CODE) and ((" +
              prefix + "ADDCODE = ED.ED_ADDCODE) or (" + prefix + "ADDCODE-256 = ED.ED_ADDCODE)))"};
}

std::string PhotosFromOwnerCountQuery() {
  return CountQuery("OWNER", "OW_ID");
}

std::vector<std::string> PhotosFromOwnerSourceQuery() {
  return {"select * from OWNER Order BY OW_ID"};
}

std::vector<std::string> PhotosFromOwnerSourceColumns() {
  return {"OW_ID", "OW_PHOTO"};
}

bool HasColumn(const std::vector<std::string>& columns, const std::string& name) {
  for (const std::string& column : columns)
    if (text::SameTextAscii(column, name)) return true;
  return false;
}

std::vector<std::string> CommonColumns(const std::vector<std::string>& source,
                                       const std::vector<std::string>& dest) {
  std::vector<std::string> common;
  for (const std::string& column : source)
    if (HasColumn(dest, column)) common.push_back(column);
  return common;
}

RowStatement BuildRowStatement(const std::string& table, bool keyMapped,
                               const std::vector<std::string>& common, bool addHostPort) {
  // Photos and event descriptions already exist in the destination: their
  // rows are updated in place by key.
  if (table == "OWNERPHOTOS") return Update(RowKind::PhotoUpdate, table, "OW_ID", common, 1, 1);
  if (table == "EVDESC") return Update(RowKind::EvDescUpdate, table, "ED_ID", common, 15, 19);
  if (table == "ACR$EVDESC")
    return Update(RowKind::AcrEvDescUpdate, table, "AED_ID", common, 6, 10);

  // Key-mapped rows other than owners leave their key to the destination.
  const size_t first = keyMapped && table != "OWNER" ? 1 : 0;
  RowStatement row;
  for (size_t i = first; i < common.size(); ++i) {
    row.insertColumns.push_back(common[i]);
    row.insertValues.push_back(":" + common[i]);
    row.paramSources.push_back(common[i]);
  }
  if (addHostPort) {
    row.insertColumns.push_back("HS_PORT");
    row.insertValues.push_back("1");
  }
  row.text = "Insert into " + table + "( " + Joined(row.insertColumns, ",") + " )" + " Values ( " +
             Joined(row.insertValues, ",") + " )";
  return row;
}

std::string BatchInsertBlock(const std::string& table, const RowStatement& row,
                             const std::string& keyColumn, int rows) {
  // Parameters are declared as their columns, so each value is converted as the
  // one-row insert converts it; block variables are named P<n> and K<row>.
  std::vector<std::string> inputs, outputs;
  std::string body;
  int param = 0;
  for (int r = 0; r < rows; ++r) {
    std::vector<std::string> values;
    for (size_t i = 0; i < row.insertValues.size(); ++i) {
      const std::string& value = row.insertValues[i];
      if (value.empty() || value[0] != ':') {
        values.push_back(value);
        continue;
      }
      const std::string name = std::string(1, 'P') + std::to_string(param++);
      inputs.push_back(name + " TYPE OF COLUMN " + table + "." + row.insertColumns[i] + " = ?");
      values.push_back(":" + name);
    }
    body += "INSERT INTO " + table + " (" + Joined(row.insertColumns, ",") + ") VALUES (" +
            Joined(values, ",") + ")";
    if (!keyColumn.empty()) {
      const std::string key = std::string(1, 'K') + std::to_string(r);
      outputs.push_back(key + " TYPE OF COLUMN " + table + "." + keyColumn);
      body += " RETURNING " + keyColumn + " INTO :" + key;
    }
    body += ";\n";
  }
  std::string block = "EXECUTE BLOCK";
  if (!inputs.empty()) block += " (" + Joined(inputs, ", ") + ")";
  if (!outputs.empty()) block += "\nRETURNS (" + Joined(outputs, ", ") + ")";
  block += "\nAS BEGIN\n" + body;
  // One SUSPEND after the last insert: the whole block runs within one fetch,
  // and a failure anywhere in it undoes all of it.
  if (!outputs.empty()) block += "SUSPEND;\n";
  return block + "END";
}

}  // namespace tablecopy
