// The check of the tables the run writes. Each table's lines are taken in the
// run's order: the copies since the run last emptied it, its updates in place
// and its "&" column updates, each compared row by row with what the run meant
// to write; then the table's rows as a whole, the destination's own that were
// to stay and the arrived ones.
#include <algorithm>
#include <exception>
#include <map>
#include <set>

#include "transfer/CheckPasses.h"
#include "transfer/CheckWork.h"
#include "transfer/KeyMap.h"
#include "transfer/ReadOnlySession.h"
#include "transfer/RunCheck.h"
#include "transfer/TableCopyPlan.h"
#include "transfer/TableList.h"

namespace {

using check::CopyColumns;
using check::PassResult;
using check::Step;
using check::TableWork;

// Rows the check could not read or follow: the engine's words, or the plan's
// reason for a copy that has no statement for its rows.
CheckProblem NotComparedProblem(int line, const std::exception& error) {
  CheckProblem problem{CheckProblem::Kind::NotCompared, line, error.what(), std::nullopt};
  if (const auto* copy = dynamic_cast<const check::UnfollowableCopy*>(&error)) {
    problem.error.clear();
    problem.reason = copy->Reason();
  }
  return problem;
}

bool HasOrder(const std::vector<std::string>& query) {
  for (const std::string& line : query)
    if (line.find("Order BY") != std::string::npos) return true;
  return false;
}

std::vector<std::string> Names(const std::vector<check::ExpectedColumn>& columns) {
  std::vector<std::string> names;
  for (const check::ExpectedColumn& column : columns) names.push_back(column.name);
  return names;
}

class TableChecker {
 public:
  TableChecker(ReadOnlySession& session, const RunPlan& plan, const PlanOptions& options,
               const RunRecord& record)
      : source_(session.Source().statement),
        dest_(session.Dest().statement),
        lookup_(session.Dest().lookup),
        plan_(plan),
        options_(options),
        record_(record) {}

  TableCheck Check(const TableWork& work) {
    TableCheck table;
    table.table = work.table;
    for (const TablePlan* line : work.lines) table.lines.push_back(line->line);
    const auto& writes = plan_.secondScript.writes;
    table.secondScriptWrites = std::find(writes.begin(), writes.end(), work.table) != writes.end();
    if (IsEventTable(work.table) && !BothHave(work, table)) return table;
    Problems(work, table);

    Rows rows;
    for (size_t i = 0; i < work.steps.size(); ++i) {
      const Step& step = work.steps[i];
      const bool copiedLater =
          std::any_of(work.steps.begin() + static_cast<long>(i) + 1, work.steps.end(),
                      [](const Step& s) { return s.Inserts(); });
      switch (step.kind) {
        case Step::Kind::Insert:
        case Step::Kind::Macros:
          Insert(work, i, table, rows);
          break;
        case Step::Kind::InPlace:
          InPlace(step, table);
          break;
        case Step::Kind::Column:
          if (copiedLater)
            table.notes.push_back(
                {CheckNote::Kind::UpdateNotCompared, step.line->line, step.argument});
          else
            Column(step, table);
          break;
      }
    }
    Account(work, table, rows);
    return table;
  }

 private:
  // What the copies found of the table's rows as a whole.
  struct Rows {
    int copies = 0;  // insert steps
    int passes = 0;  // of them, compared row by row
    std::optional<long long> destRows;
    long long matched = 0;
    std::vector<std::string> unmatched;
  };

  // An event table the source lacks is skipped, as the run skips it.
  bool BothHave(const TableWork& work, TableCheck& table) {
    const bool source = HasTable(source_, work.table);
    const bool dest = HasTable(dest_, work.table);
    if (source && dest) return true;
    const int line = work.lines.front()->line;
    if (!source) {
      table.notes.push_back(
          {dest ? CheckNote::Kind::NoSourceTable : CheckNote::Kind::NoTableOnEitherSide, line, ""});
      return false;
    }
    // Only rows there were to move make the missing table a difference.
    long long rows = 0;
    try {
      rows =
          readonly::ValueOf(source_, readonly::CountOf(tablecopy::SourceQuery(work.table, "", "")),
                            options_.eventsFrom)
              .value_or(0);
    } catch (const std::exception& e) {
      table.problems.push_back(NotComparedProblem(line, e));
    }
    if (rows == 0) {
      table.notes.push_back({CheckNote::Kind::NoDestTableNoRows, line, ""});
      return false;
    }
    table.problems.push_back({CheckProblem::Kind::NoDestTable, line, "", std::nullopt});
    table.sourceRows = table.missing = rows;
    return false;
  }

  static bool HasTable(TIBSQL& statement, const std::string& table) {
    return readonly::ValueOf(statement, {"SELECT COUNT(*) FROM RDB$RELATIONS WHERE "
                                         "RDB$RELATION_NAME = '" +
                                         table + "'"})
               .value_or(0) > 0;
  }

  void Problems(const TableWork& work, TableCheck& table) {
    for (const TablePlan* line : work.lines) {
      // A line without a table is the plan's to judge: the run cannot read it.
      if (line->action == LineAction::Blank) {
        if (line->Fails())
          table.problems.push_back(
              {CheckProblem::Kind::LineUnparsable, line->line, "", std::nullopt});
        continue;
      }
      if (const LineRecord* record = record_.Line(line->line, line->table))
        for (const std::string& error : record->errors)
          table.problems.push_back(
              {CheckProblem::Kind::LineFailed, line->line, error, std::nullopt});
    }
  }

  bool RunFailed(const TablePlan& line) const {
    const LineRecord* record = record_.Line(line.line, line.table);
    return record != nullptr && !record->errors.empty();
  }

  void Insert(const TableWork& work, size_t index, TableCheck& table, Rows& rows) {
    const Step& step = work.steps[index];
    const TablePlan& line = *step.line;
    ++rows.copies;
    std::set<std::string> skipped;
    for (size_t i = index + 1; i < work.steps.size(); ++i)
      if (work.steps[i].kind == Step::Kind::Column) skipped.insert(work.steps[i].argument);
    const bool macros = step.kind == Step::Kind::Macros;
    std::vector<std::string> query =
        macros ? std::vector<std::string>{"Select MCR_NAME,MCR_FILL,MCR_ID from MACROSES "}
               : tablecopy::SourceQuery(line.table, line.keyColumn, step.argument);
    // Rows that keep their keys are compared in key order; key-mapped ones are
    // read in the run's own order, which their key-map entries follow.
    if (!macros && !HasOrder(query)) query.push_back(" Order BY " + line.keyColumn);
    try {
      CopyColumns copy = Prepare(query, line.table, [&] {
        return macros ? check::ColumnsOfMacros(source_, dest_)
                      : check::ColumnsOfCopy(
                            {line.table, line.keyColumn, false, plan_.destHasOwnerPhotos, skipped},
                            source_, dest_);
      });
      const PassResult result = Match(line, query, copy, record_.failedRows, table);
      table.sourceRows += result.sourceRows;
      table.arrived += result.arrived;
      table.differing += result.differing;
      table.failed += result.failed;
      table.missing += result.missing;
      if (!rows.destRows) rows.destRows = result.destRows;
      rows.matched += result.destMatched;
      rows.unmatched = result.unmatchedDestKeys;
      ++rows.passes;
      CountNotMoved(line.table, table);
    } catch (const std::exception& e) {
      NotCompared(line, e, macros ? "" : step.argument, table);
    }
  }

  // A line the run could not do: the rows it was to copy did not arrive.
  void NotCompared(const TablePlan& line, const std::exception& error, const std::string& condition,
                   TableCheck& table) {
    if (!RunFailed(line)) {
      table.problems.push_back(NotComparedProblem(line.line, error));
      return;
    }
    const std::optional<long long> rows = SourceRows(line.table, condition);
    table.sourceRows += rows.value_or(0);
    table.missing += rows.value_or(0);
  }

  void InPlace(const Step& step, TableCheck& table) {
    const TablePlan& line = *step.line;
    const bool photosFromOwner =
        line.table == "OWNERPHOTOS" && plan_.destHasOwnerPhotos && !plan_.sourceHasOwnerPhotos;
    const std::vector<std::string> query =
        photosFromOwner ? tablecopy::PhotosFromOwnerSourceQuery()
                        : tablecopy::SourceQuery(line.table, line.keyColumn, "");
    try {
      CopyColumns copy = Prepare(query, line.table, [&] {
        return check::ColumnsOfCopy(
            {line.table, line.keyColumn, photosFromOwner, plan_.destHasOwnerPhotos, {}}, source_,
            dest_);
      });
      AddUpdates(Match(line, query, copy, record_.failedRows, table), table);
    } catch (const std::exception& e) {
      if (!RunFailed(line)) table.problems.push_back(NotComparedProblem(line.line, e));
    }
  }

  // "&": the column of the destination rows whose key equals a source row's,
  // by the column's exact name on both sides.
  void Column(const Step& step, TableCheck& table) {
    const TablePlan& line = *step.line;
    const std::string& column = step.argument;
    const std::vector<std::string> all = {"select * from " + line.table + " Order BY " +
                                          line.keyColumn};
    try {
      auto exact = [&](const std::vector<std::string>& names) {
        return std::find(names.begin(), names.end(), column) != names.end();
      };
      if (!exact(readonly::ColumnsOf(dest_, all)) || !exact(readonly::ColumnsOf(source_, all))) {
        table.notes.push_back({CheckNote::Kind::UpdateColumnMissing, line.line, column});
        return;
      }
      const std::vector<std::string> query = {
          "select " + line.keyColumn + ", " + column + " from " + line.table,
          " Order BY " + line.keyColumn};
      CopyColumns copy = Prepare(query, line.table, [&] {
        return check::ColumnOfUpdate(column, line.keyColumn, source_, dest_);
      });
      AddUpdates(Match(line, query, copy, record_.failedUpdates, table), table);
    } catch (const std::exception& e) {
      if (!RunFailed(line)) table.problems.push_back(NotComparedProblem(line.line, e));
    }
  }

  template <typename Columns>
  CopyColumns Prepare(const std::vector<std::string>& query, const std::string& table,
                      Columns&& columns) {
    StatementBracket sourceBracket(source_);
    StatementBracket destBracket(dest_);
    source_.SetSQL(query);
    source_.Prepare();
    dest_.SetSQL({"select * from " + table});
    dest_.Prepare();
    return columns();
  }

  PassResult Match(const TablePlan& line, const std::vector<std::string>& query, CopyColumns& copy,
                   const FailedKeys& failedKeys, TableCheck& table) {
    if (copy.rule.pair != 0) {
      const LineRecord* record = record_.Line(line.line, line.table);
      if (record != nullptr && record->copied) {
        copy.rule.positional = true;
        copy.rule.first = record->firstKeyEntry;
        copy.rule.count = record->keyEntries;
      }
    }
    check::ValuePass pass(copy.columns, copy.rule, record_.keyMap);
    const check::PassQueries queries{query, options_.eventsFrom, line.table, copy.destKey,
                                     Names(copy.columns)};
    std::map<std::string, int> failed;
    if (auto found = failedKeys.find(line.table); found != failedKeys.end()) failed = found->second;
    PassResult result =
        check::MatchRows(source_, dest_, lookup_, queries, pass, std::move(failed), kCheckSamples);
    table.unresolved += pass.Unresolved();
    Samples(result, copy.update, table);
    return result;
  }

  static void AddUpdates(const PassResult& result, TableCheck& table) {
    table.updateRows += result.sourceRows;
    table.updated += result.arrived;
    table.updateDiffering += result.differing;
    table.updateFailed += result.failed;
    table.withoutRow += result.missing;
  }

  static void Samples(const PassResult& result, bool update, TableCheck& table) {
    for (const check::RowDifference& row : result.samples) {
      using Kind = check::RowDifference::Kind;
      // An update finds no row for some keys by design: nothing to compare.
      if (update && row.kind != Kind::Values) continue;
      if (row.kind != Kind::Values) {
        if (table.samples.size() >= kCheckSamples) return;
        table.samples.push_back({row.kind == Kind::Missing ? CheckDifference::Kind::MissingRow
                                                           : CheckDifference::Kind::NoNewKey,
                                 table.table,
                                 row.sourceKey,
                                 row.destKey,
                                 "",
                                 {},
                                 {}});
        continue;
      }
      for (const check::ColumnDifference& column : row.columns) {
        if (table.samples.size() >= kCheckSamples) return;
        table.samples.push_back({CheckDifference::Kind::Value, table.table, row.sourceKey,
                                 row.destKey, column.column, column.expected, column.actual});
      }
    }
  }

  void CountNotMoved(const std::string& name, TableCheck& table) {
    const std::vector<std::string> query = tablecopy::UndescribedCountQuery(name);
    if (!query.empty())
      table.notMoved += readonly::ValueOf(source_, query, options_.eventsFrom).value_or(0);
  }

  std::optional<long long> SourceRows(const std::string& name, const std::string& condition) {
    std::vector<std::string> query = {"select count(*) from " + name};
    if (!condition.empty()) query.push_back("Where " + condition);
    try {
      return readonly::ValueOf(source_, query, options_.eventsFrom);
    } catch (const std::exception&) {
      return std::nullopt;
    }
  }

  // The destination's own rows that were to stay and the arrived ones make
  // the table; a table only updated in place keeps rows made elsewhere.
  void Account(const TableWork& work, TableCheck& table, const Rows& rows) {
    auto expected = plan_.expected.find(work.table);
    if (expected == plan_.expected.end()) return;
    const bool inPlace = std::any_of(work.steps.begin(), work.steps.end(), [](const Step& step) {
      return step.kind == Step::Kind::InPlace;
    });
    if (rows.copies == 0 && inPlace) return;
    const std::string& key = work.lines.front()->keyColumn;
    try {
      const long long destRows =
          rows.copies == rows.passes && rows.destRows
              ? *rows.destRows
              : readonly::ValueOf(dest_, {"SELECT COUNT(*) FROM " + work.table}).value_or(0);
      // Rows the second script adds to a table the run only empties are its own.
      if (rows.copies == 0 && table.secondScriptWrites) {
        table.notes.push_back(
            {CheckNote::Kind::WrittenBySecondScript, 0, std::to_string(destRows)});
        return;
      }
      table.rowsCounted = true;
      table.kept = expected->second.kept;
      table.destRows = destRows;
      table.unexpected = destRows - rows.matched - table.kept;
      if (table.unexpected <= 0 || table.kept != 0) return;
      std::vector<std::string> keys = rows.unmatched;
      if (rows.copies == 0)
        for (const auto& row :
             readonly::RowsOf(dest_, {"SELECT FIRST " + std::to_string(kCheckSamples) + " " + key +
                                      " FROM " + work.table + " ORDER BY " + key}))
          keys.push_back(row.at(0));
      if (rows.copies > 1) keys.clear();  // a row one copy left may be another's
      for (const std::string& destKey : keys) {
        if (table.samples.size() >= kCheckSamples) break;
        table.samples.push_back(
            {CheckDifference::Kind::UnexpectedRow, work.table, "", destKey, "", {}, {}});
      }
    } catch (const std::exception& e) {
      table.problems.push_back(NotComparedProblem(work.lines.front()->line, e));
    }
  }

  TIBSQL& source_;
  TIBSQL& dest_;
  TIBSQL& lookup_;
  const RunPlan& plan_;
  const PlanOptions& options_;
  const RunRecord& record_;
};

}  // namespace

long long TableCheck::Differences() const {
  const long long unexpectedRows = rowsCounted ? (unexpected < 0 ? -unexpected : unexpected) : 0;
  return differing + missing + updateDiffering + unexpectedRows +
         static_cast<long long>(problems.size());
}

std::vector<TableCheck> CheckTables(ReadOnlySession& session, const RunPlan& plan,
                                    const PlanOptions& options, const RunRecord& record) {
  TableChecker checker(session, plan, options, record);
  std::vector<TableCheck> tables;
  for (const TableWork& work : check::WorkOf(plan)) tables.push_back(checker.Check(work));
  return tables;
}
