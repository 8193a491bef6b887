#pragma once
// The statements of one table copy, worked out from the table-list line and the
// column lists of the two databases before any row is read.
#include <string>
#include <vector>

namespace tablecopy {

// The counting query behind the table bar, and the query that reads the rows.
// Both bind the parameter EV_D for event tables.
std::string CountQuery(const std::string& table, const std::string& keyColumn);
std::vector<std::string> SourceQuery(const std::string& table, const std::string& keyColumn,
                                     const std::string& condition);
// Counts the events or alarms from EV_D on that no description matches, which
// the copy leaves out; empty for other tables.
std::vector<std::string> UndescribedCountQuery(const std::string& table);
// The destination keeps photos in OWNERPHOTOS while the source keeps them in OWNER.
std::string PhotosFromOwnerCountQuery();
std::vector<std::string> PhotosFromOwnerSourceQuery();
std::vector<std::string> PhotosFromOwnerSourceColumns();

// The source columns that the destination also has (letter case ignored), in source order.
std::vector<std::string> CommonColumns(const std::vector<std::string>& source,
                                       const std::vector<std::string>& dest);
bool HasColumn(const std::vector<std::string>& columns, const std::string& name);

enum class RowKind { Insert, PhotoUpdate, EvDescUpdate, AcrEvDescUpdate };

// The statement written for every source row, and where each parameter's value comes from.
struct RowStatement {
  RowKind kind = RowKind::Insert;
  std::string text;
  std::vector<std::string> paramSources;  // source column copied into parameter i
  std::string updateKey;                  // updates: the destination column they match
  // Inserts: the columns written and the value of each, a parameter (":NAME")
  // or a constant.
  std::vector<std::string> insertColumns, insertValues;
};

// `keyMapped`: the table has a key-map pair. `addHostPort`: the destination has
// HS_PORT and the source does not. Throws std::out_of_range when the common
// columns are too few for an update table.
RowStatement BuildRowStatement(const std::string& table, bool keyMapped,
                               const std::vector<std::string>& common, bool addHostPort);

// One statement that inserts `rows` rows of `row` (an insert) at once: an
// EXECUTE BLOCK whose "?" parameters are the rows' values in row order, each
// typed as its column. With `keyColumn` it returns the rows' new keys, K0 to
// K<rows-1>, as one row.
std::string BatchInsertBlock(const std::string& table, const RowStatement& row,
                             const std::string& keyColumn, int rows);

}  // namespace tablecopy
