// The table copy: one source table into the destination, row by row, with new
// keys for key-mapped tables and references rewritten through the key map.
#include <cmath>
#include <exception>
#include <vector>

#include "state/DynamicStates.h"
#include "text/RussianTexts.h"
#include "text/Trim.h"
#include "transfer/KeyedInsert.h"
#include "transfer/Operations.h"
#include "transfer/Peregonner.h"
#include "transfer/ReferenceRewrites.h"
#include "transfer/TableCopyPlan.h"
#include "transfer/TableList.h"
#include "transfer/ThrottledPump.h"
#include "transfer/TransferContext.h"

namespace {

using tablecopy::RowKind;

void Bind(TIBSQL& statement, TIBTransaction& transaction, TIBDatabase& database) {
  transaction.SetDefaultDatabase(&database);
  statement.SetTransaction(&transaction);
}

std::vector<std::string> ColumnNames(TIBSQL& statement) {
  std::vector<std::string> names;
  for (int i = 0; i < statement.ColumnCount(); ++i) names.push_back(statement.Column(i).Name());
  return names;
}

// Tables whose rows carry run-time state to be written under the new keys.
bool KeepsDynamicState(const std::string& table) {
  return table == "HOSTS" || table == "CONTROLLERS" || table == "SLAVES" || table == "READERS" ||
         table == "OWNER";
}

class TableCopy {
 public:
  TableCopy(TransferContext& context, TIBSQL& source, TIBSQL& dest, const std::string& table,
            const std::string& keyColumn, const std::string& condition)
      : context_(context),
        source_(source),
        dest_(dest),
        table_(table),
        keyColumn_(keyColumn),
        condition_(condition),
        pair_(KeyMapPairNumber(table)),
        photosFromOwner_(table == "OWNERPHOTOS" && context.destHasOwnerPhotos &&
                         !context.sourceHasOwnerPhotos) {}

  void Run();

 private:
  bool Interrupted() const { return context_.window.Interrupted(); }
  std::vector<std::string> DestinationColumns();
  void RunSourceQuery(const std::vector<std::string>& lines);
  void PlanRows(const std::vector<std::string>& destColumns);
  void CopyRows();
  void CopyRow(KeyedInsert& insert, OwnerArchiveFlag& archive);
  void FillInsert(TIBSQL& dest);
  void RewriteRightsText(TIBSQL& dest);
  TIBXSQLVAR& SourceColumn(int index, const std::string& name);
  void LogRowError(const std::string& prefix, const std::exception& error);

  TransferContext& context_;
  TIBSQL& source_;
  TIBSQL& dest_;
  const std::string& table_;
  const std::string& keyColumn_;
  const std::string& condition_;
  const int pair_;
  const bool photosFromOwner_;
  std::vector<std::string> common_;
  tablecopy::RowStatement row_;
  // Source column positions of the row's parameters and of its key; -1 when
  // the source lacks the column, so that the copy of that value fails.
  std::vector<int> paramColumns_;
  int keyColumnIndex_ = -1;
};

void TableCopy::Run() {
  const std::vector<std::string> destColumns = DestinationColumns();
  if (Interrupted()) return;

  StatementBracket sourceBracket(source_);
  RunSourceQuery({photosFromOwner_ ? tablecopy::PhotosFromOwnerCountQuery()
                                   : tablecopy::CountQuery(table_, keyColumn_)});
  context_.window.SetTableBarMax(source_.Column(0).GetInteger());
  source_.Close();

  RunSourceQuery(photosFromOwner_ ? tablecopy::PhotosFromOwnerSourceQuery()
                                  : tablecopy::SourceQuery(table_, keyColumn_, condition_));
  PlanRows(destColumns);
  if (Interrupted()) return;

  // One destination transaction for the whole table, committed when the bracket closes.
  StatementBracket destBracket(dest_);
  if (source_.AtEnd()) return;
  context_.window.SetTableBarPosition(0);
  CopyRows();
}

std::vector<std::string> TableCopy::DestinationColumns() {
  StatementBracket bracket(dest_);
  dest_.SQLClear();
  dest_.SQLAdd("select * from " + table_ + " Order BY " + keyColumn_);
  dest_.Prepare();
  dest_.Execute();
  std::vector<std::string> columns = ColumnNames(dest_);
  dest_.Close();
  return columns;
}

void TableCopy::RunSourceQuery(const std::vector<std::string>& lines) {
  source_.SetSQL(lines);
  source_.Prepare();
  // Events and alarms are taken from the chosen day on, from its midnight.
  if (IsEventTable(table_))
    source_.ParamByName("EV_D").SetDateTime(std::trunc(context_.window.EventsFrom()));
  source_.Execute();
}

void TableCopy::PlanRows(const std::vector<std::string>& destColumns) {
  const std::vector<std::string> sourceColumns =
      photosFromOwner_ ? tablecopy::PhotosFromOwnerSourceColumns() : ColumnNames(source_);
  const bool addHostPort = table_ == "HOSTS" && !tablecopy::HasColumn(sourceColumns, "HS_PORT") &&
                           tablecopy::HasColumn(destColumns, "HS_PORT");
  common_ = tablecopy::CommonColumns(sourceColumns, destColumns);
  row_ = tablecopy::BuildRowStatement(table_, pair_ != 0, common_, addHostPort);

  auto indexOf = [this](const std::string& name) {
    const TIBXSQLVAR* column = source_.Current().FindByName(name);
    return column == nullptr ? -1 : column->Index();
  };
  for (const std::string& name : row_.paramSources) paramColumns_.push_back(indexOf(name));
  if (!common_.empty()) keyColumnIndex_ = indexOf(common_[0]);
}

void TableCopy::CopyRows() {
  KeyedInsert insert(dest_, row_.text, table_, pair_ != 0 ? keyColumn_ : std::string());
  OwnerArchiveFlag archive(dest_);
  ThrottledPump pump(context_.window);
  while (true) {
    if (Interrupted()) return;
    context_.window.StepTableBar();
    pump.Pump();
    CopyRow(insert, archive);
    source_.FetchNext();
    if (Interrupted() || source_.AtEnd()) return;
  }
}

void TableCopy::CopyRow(KeyedInsert& insert, OwnerArchiveFlag& archive) {
  // A log line that cannot be written ends the table, but only once the row has
  // its entries in both key lists, so the lists never fall out of step.
  std::exception_ptr logFailure;
  auto log = [&](const std::string& prefix, const std::exception& error) {
    try {
      LogRowError(prefix, error);
    } catch (...) {
      if (!logFailure) logFailure = std::current_exception();
    }
  };

  // Every key-mapped row gets an entry in both lists, so they stay aligned.
  std::string oldKeyText;
  if (pair_ != 0 && !common_.empty())
    oldKeyText = SourceColumn(keyColumnIndex_, common_[0]).GetText();
  if (pair_ != 0) context_.keyMap.Pair(pair_).AppendOld(oldKeyText);

  bool written = false;
  try {
    TIBSQL& dest = insert.Start();
    for (size_t i = 0; i < row_.paramSources.size(); ++i) {
      auto copyValue = [&] {
        dest.Param(static_cast<int>(i))
            .AssignFrom(SourceColumn(paramColumns_[i], row_.paramSources[i]));
      };
      if (row_.kind != RowKind::Insert) {
        // An update with a value missing would overwrite the destination row
        // with an empty one: the row fails instead.
        copyValue();
        continue;
      }
      try {
        copyValue();
      } catch (const std::exception&) {
        // An inserted row keeps what it can: a value that cannot be copied
        // leaves its parameter as prepared.
      }
    }
    if (row_.kind == RowKind::Insert) FillInsert(dest);
    insert.Execute();
    written = true;
  } catch (const std::exception& e) {
    log(ru::LogInsertError(), e);
  }

  int newKey = -1;
  if (pair_ != 0) {
    std::string newKeyText = "-1";
    try {
      newKeyText = insert.NewKey(written);
    } catch (const std::exception& e) {
      log(ru::LogNewKeyError(), e);
    }
    context_.keyMap.Pair(pair_).AppendNew(newKeyText);
    if (!text::TryStrToInt(newKeyText, newKey)) newKey = -1;
  }

  if (table_ == "OWNER" && source_.ColumnByName("OW_ARCHIVE").GetInteger() == 1 && written &&
      newKey != -1) {
    try {
      archive.Set(newKey);
    } catch (const std::exception& e) {
      log(ru::LogArchiveFlagError(), e);
    }
  }

  int oldKey = 0;
  if (KeepsDynamicState(table_) && newKey != -1 && text::TryStrToInt(oldKeyText, oldKey))
    context_.states.StoreNewKey(table_, oldKey, newKey);
  if (logFailure) std::rethrow_exception(logFailure);
}

void TableCopy::FillInsert(TIBSQL& dest) {
  if (table_ == "INIDATA") RewriteRightsText(dest);
  // Photos travel through OWNERPHOTOS when the destination has that table.
  if (table_ == "OWNER" && context_.destHasOwnerPhotos) {
    if (TIBXSQLVAR* photo = dest.Params().FindByName("OW_PHOTO")) photo->SetNull(true);
  }
  RewriteReferences(table_, source_, dest, context_.keyMap);
}

void TableCopy::RewriteRightsText(TIBSQL& dest) {
  if (source_.ColumnByName("ID_SECTION").GetText() != "USERS_RD_RIGHTS") return;
  std::string text;
  source_.ColumnByName("ID_BLOB").ReadBlobTo(text);
  Tperegonner rights(context_.keyMap);
  rights.LoadFromText(text);
  rights.RewriteRights();
  dest.ParamByName("ID_BLOB").WriteBlobFrom(rights.SaveToText());
}

TIBXSQLVAR& TableCopy::SourceColumn(int index, const std::string& name) {
  return index >= 0 ? source_.Column(index) : source_.ColumnByName(name);
}

void TableCopy::LogRowError(const std::string& prefix, const std::exception& error) {
  const std::string key = source_.ColumnByName(keyColumn_).GetText();
  const std::string line =
      prefix + table_ + " " + keyColumn_ + " =  " + key + " :  " + error.what();
  // Only a failed row statement keeps the row out; the later steps' failures do not.
  if (prefix == ru::LogInsertError())
    context_.log.AppendRowFailure(table_, line);
  else
    context_.log.AppendFailure(line);
}

}  // namespace

void Perepis(TransferContext& context, TIBSQL& source, TIBSQL& dest, TIBTransaction& sourceTr,
             TIBTransaction& destTr, TIBDatabase& sourceDb, TIBDatabase& destDb,
             const std::string& table, const std::string& keyColumn, const std::string& condition) {
  Bind(source, sourceTr, sourceDb);
  Bind(dest, destTr, destDb);
  TableCopy(context, source, dest, table, keyColumn, condition).Run();
}
