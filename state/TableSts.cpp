#include "state/TableSts.h"

#include <algorithm>
#include <vector>

#include "state/PreparedShapes.h"

namespace {

// Commits and restarts the statement's transaction while the statement lock
// stays held, so a long pass never runs in one transaction.
void RenewTransaction(TIBSQL& statement) {
  TIBTransaction* transaction = statement.Transaction();
  if (!transaction) IBError(ibxeTransactionNotAssigned);
  if (transaction->Active()) transaction->Commit();
  transaction->Start();
}

std::string ColumnName(int n) {
  return "FLD_" + std::to_string(n);
}

// The parameters of the state statements: the row's key and state n's value.
constexpr const char* kKeyParam = "KEY";
std::string ValueParam(int n) {
  return std::string("V").append(std::to_string(n));
}

// A parameter's marker in a statement text.
std::string Marker(const std::string& param) {
  return std::string(":").append(param);
}

}  // namespace

void CloseQuietly(TIBSQL& statement) noexcept {
  try {
    statement.Close();
  } catch (...) {
  }
}

TTableSts::TTableSts(std::string tableName, std::string keyField, std::string archiveField,
                     int stateCount)
    : TableName(std::move(tableName)),
      KeyField(std::move(keyField)),
      ArchiveField(std::move(archiveField)),
      StateCount(std::clamp(stateCount, 1, 16)) {
  try {
    list_ = std::make_unique<TStsList>();
  } catch (...) {
    // Without a store the table is simply not preserved.
  }
}

TTableSts::~TTableSts() = default;

bool TTableSts::AddRec(int32_t oldKey, const StateValues& values) noexcept {
  return list_ && list_->AddRec(oldKey, values);
}

bool TTableSts::SetNewData(int32_t oldKey, const StateValues& values) noexcept {
  return list_ && list_->SetNewData(oldKey, values);
}

bool TTableSts::SetNewID(int32_t oldKey, int32_t newKey) noexcept {
  return list_ && list_->SetNewID(oldKey, newKey);
}

std::vector<std::string> TTableSts::ListingText() const {
  std::vector<std::string> lines{"SELECT " + KeyField + " FROM " + TableName};
  if (!ArchiveField.empty()) lines.push_back("WHERE " + ArchiveField + " = 0");
  return lines;
}

std::vector<TTableSts::StateRange> TTableSts::StatementRanges() const {
  std::vector<StateRange> ranges{{1, std::min(StateCount, kStatesPerStatement)}};
  if (StateCount > kStatesPerStatement) ranges.push_back({kStatesPerStatement + 1, StateCount});
  return ranges;
}

std::vector<std::string> TTableSts::ReadText(const std::string& key, int first, int last) const {
  std::vector<std::string> lines{"SELECT " + KeyField + ","};
  for (int n = first; n <= last; ++n)
    lines.push_back("GET_STATE(\"" + TableName + "\", " + KeyField + ", " + std::to_string(n) +
                    ") AS " + ColumnName(n) + (n < last ? "," : ""));
  lines.push_back("FROM " + TableName);
  lines.push_back("WHERE " + KeyField + " = " + key);
  return lines;
}

template <typename ValueText>
std::vector<std::string> TTableSts::WriteText(const std::string& key, int first, int last,
                                              ValueText&& value) const {
  std::vector<std::string> lines{"SELECT " + KeyField + ","};
  for (int n = first; n <= last; ++n)
    lines.push_back("SET_STATE(\"" + TableName + "\", " + KeyField + ", " + value(n) + ", " +
                    std::to_string(n) + ") AS " + ColumnName(n) + (n < last ? "," : ""));
  lines.push_back("FROM " + TableName);
  lines.push_back("WHERE " + KeyField + " = " + key);
  return lines;
}

std::vector<std::string> TTableSts::ReadShapeText(int first, int last) const {
  return ReadText(Marker(kKeyParam), first, last);
}

std::vector<std::string> TTableSts::WriteShapeText(int first, int last) const {
  return WriteText(Marker(kKeyParam), first, last, [](int n) { return Marker(ValueParam(n)); });
}

std::vector<std::string> TTableSts::ReadRowText(int32_t oldKey, int first, int last) const {
  return ReadText(std::to_string(oldKey), first, last);
}

std::vector<std::string> TTableSts::WriteRowText(int32_t newKey, int first, int last,
                                                 const StateValues& values) const {
  return WriteText(std::to_string(newKey), first, last,
                   [&values](int n) { return std::to_string(values[static_cast<size_t>(n - 1)]); });
}

// Both passes prepare each shape once per table: a statement text per record
// cost an engine prepare per record, many times the copy of the record itself.
template <typename ShapeText>
std::vector<std::vector<std::string>> TTableSts::ShapeTexts(ShapeText&& text) const {
  std::vector<std::vector<std::string>> texts;
  for (const StateRange& range : StatementRanges()) texts.push_back(text(range.first, range.last));
  return texts;
}

bool TTableSts::ReadStates(TIBSQL& source) noexcept {
  if (!list_) return false;
  bool ok = false;
  try {
    StatementBracket bracket(source);
    try {
      source.SetSQL(ListingText());
      source.Execute();
      // The keys first, then the store in one go: inserting each key in order
      // grows with the square of the rows (20,000 owners).
      std::vector<int32_t> keys;
      try {
        for (; !source.AtEnd(); source.FetchNext()) keys.push_back(source.Column(0).GetInteger());
      } catch (...) {
        // The rows listed before the failure stay, as they would one by one.
        list_->AddRecs(keys);
        throw;
      }
      list_->AddRecs(keys);
      source.Close();

      PreparedShapes shapes(
          source, ShapeTexts([this](int first, int last) { return ReadShapeText(first, last); }));
      for (int i = 0; i < list_->Count(); ++i) {
        if (i % kRenewalInterval == 0) {
          source.Close();
          RenewTransaction(source);
        }
        const TStsItem* item = list_->Item(i);
        if (!item) continue;
        // A fresh array per record: a statement that fails leaves zeros, never
        // the previous record's values.
        StateValues work{};
        for (size_t shape = 0; shape < shapes.Count(); ++shape)
          ReadRowStates(shapes, shape, item->OldID, work);
      }
      ok = true;
    } catch (...) {
    }
    CloseQuietly(source);
  } catch (...) {
  }
  return ok;
}

bool TTableSts::ReadRowStates(PreparedShapes& shapes, size_t shape, int32_t oldKey,
                              StateValues& work) noexcept {
  bool ok = false;
  TIBSQL* statement = nullptr;
  try {
    const StateRange range = StatementRanges().at(shape);
    statement = &shapes.Ready(shape);
    statement->ParamByName(kKeyParam).SetInteger(oldKey);
    statement->Execute();
    // A row gone since the listing has no states to give.
    if (!statement->AtEnd()) {
      for (int n = range.first; n <= range.last; ++n)
        work[static_cast<size_t>(n - 1)] = statement->ColumnByName(ColumnName(n)).GetInteger();
      ok = SetNewData(oldKey, work);
    }
  } catch (...) {
  }
  // Closed on every path, so one unreadable row does not fail the rows after it.
  if (statement) CloseQuietly(*statement);
  return ok;
}

bool TTableSts::WriteStates(TIBSQL& dest) noexcept {
  if (!list_) return false;
  // Nothing to write opens no bracket at all.
  if (list_->Count() == 0) return true;
  bool ok = false;
  try {
    CloseQuietly(dest);
    StatementBracket bracket(dest);
    try {
      PreparedShapes shapes(
          dest, ShapeTexts([this](int first, int last) { return WriteShapeText(first, last); }));
      for (int i = 0; i < list_->Count(); ++i) {
        // The bracket's own start serves record 0.
        if (i > 0 && i % kRenewalInterval == 0) {
          dest.Close();
          RenewTransaction(dest);
        }
        const TStsItem* item = list_->Item(i);
        // Never copied (0) or failed to copy (-1): no destination row is this one.
        if (!item || item->NewID <= 0) continue;
        for (size_t shape = 0; shape < shapes.Count(); ++shape)
          WriteRowStates(shapes, shape, item->NewID, item->Data);
      }
      ok = true;
    } catch (...) {
    }
    CloseQuietly(dest);
  } catch (...) {
  }
  return ok;
}

bool TTableSts::WriteRowStates(PreparedShapes& shapes, size_t shape, int32_t newKey,
                               const StateValues& values) noexcept {
  try {
    const StateRange range = StatementRanges().at(shape);
    TIBSQL& statement = shapes.Ready(shape);
    for (int n = range.first; n <= range.last; ++n)
      statement.ParamByName(ValueParam(n)).SetInteger(values[static_cast<size_t>(n - 1)]);
    statement.ParamByName(kKeyParam).SetInteger(newKey);
    // Executing the select fetches the row with the new key, which is what
    // evaluates SET_STATE; the cursor stays open until the next statement.
    statement.Execute();
    return true;
  } catch (...) {
    return false;
  }
}
