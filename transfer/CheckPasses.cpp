#include "transfer/CheckPasses.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <exception>
#include <stdexcept>

#include "text/Trim.h"
#include "transfer/KeyMap.h"
#include "transfer/Peregonner.h"
#include "transfer/TableCopyPlan.h"

namespace check {

namespace {

bool IsNumericType(int type) {
  switch (type) {
    case SQL_TYPE_SHORT:
    case SQL_TYPE_LONG:
    case SQL_TYPE_INT64:
    case SQL_TYPE_DOUBLE:
    case SQL_TYPE_FLOAT:
    case SQL_TYPE_D_FLOAT:
      return true;
    default:
      return false;
  }
}

// Numbers read as text carry the regional decimal separator.
bool ParseNumber(std::string text, double& number) {
  for (char& c : text)
    if (c == ',') c = '.';
  const char* end = text.data() + text.size();
  auto [stop, error] = std::from_chars(text.data(), end, number);
  return !text.empty() && error == std::errc() && stop == end;
}

std::string WithoutTrailingBlanks(const std::string& text) {
  return text.substr(0, text.find_last_not_of(' ') + 1);
}

Value Unknown() {
  return Value{true, std::string(), false};
}

int ColumnIndex(TIBSQL& statement, const std::string& name) {
  const TIBXSQLVAR* column = statement.Current().FindByName(name);
  return column == nullptr ? -1 : column->Index();
}

int ColumnType(TIBSQL& statement, int index) {
  return index < 0 ? 0 : statement.Column(index).SQLType();
}

int IndexOf(const std::vector<ExpectedColumn>& columns, const std::string& name) {
  for (size_t i = 0; i < columns.size(); ++i)
    if (text::SameTextAscii(columns[i].name, name)) return static_cast<int>(i);
  return -1;
}

// What the copy's insert rewrites, by the same rules.
void MarkRewrites(const std::string& table, TIBSQL& source, std::vector<ExpectedColumn>& columns) {
  const Comparison numeric{true, false};
  auto reference = [&](int index, int pair) {
    if (index < 0 || index >= static_cast<int>(columns.size())) return;  // every row failed
    columns[static_cast<size_t>(index)].from = ExpectedColumn::From::Reference;
    columns[static_cast<size_t>(index)].pair = pair;
    columns[static_cast<size_t>(index)].comparison = numeric;
  };
  for (const rewrites::PositionRewrite& rewrite : rewrites::PositionRewritesOf(table))
    reference(rewrite.param, rewrite.pair);
  if (table == rewrites::kNamedRewriteTable)
    for (const rewrites::NamedRewrite& rewrite : rewrites::ReaderDeviceColumns())
      reference(IndexOf(columns, rewrite.param), rewrite.pair);
  if (const rewrites::TypedRewrite* typed = rewrites::TypedRewriteOf(table)) {
    if (typed->param < static_cast<int>(columns.size())) {
      ExpectedColumn& column = columns[static_cast<size_t>(typed->param)];
      column.from = ExpectedColumn::From::Typed;
      column.typed = typed;
      column.typeColumn = ColumnIndex(source, typed->typeColumn);
      column.valueColumn =
          typed->sourceValueColumn ? ColumnIndex(source, typed->sourceValueColumn) : -1;
      column.comparison = numeric;
    }
  }
  if (table == "INIDATA") {
    const int blob = IndexOf(columns, "ID_BLOB");
    if (blob >= 0) {
      columns[static_cast<size_t>(blob)].from = ExpectedColumn::From::RightsText;
      columns[static_cast<size_t>(blob)].sectionColumn = ColumnIndex(source, "ID_SECTION");
      columns[static_cast<size_t>(blob)].comparison = Comparison{};
    }
  }
}

}  // namespace

Comparison ComparisonOf(int sourceType, int destType) {
  return Comparison{IsNumericType(sourceType) && IsNumericType(destType),
                    sourceType == SQL_TYPE_TEXT || destType == SQL_TYPE_TEXT};
}

bool SameValue(const Value& expected, const Value& actual, Comparison how) {
  if (expected.null || actual.null) return expected.null == actual.null;
  if (how.padded) return WithoutTrailingBlanks(expected.text) == WithoutTrailingBlanks(actual.text);
  double a = 0, b = 0;
  if (how.numeric && ParseNumber(expected.text, a) && ParseNumber(actual.text, b))
    return std::fabs(a - b) <= 1e-9 * std::max({1.0, std::fabs(a), std::fabs(b)});
  return expected.text == actual.text;
}

std::optional<Key> ValuePass::Expect(Row& source, long long index) {
  meantFrom_ = source.size();
  for (const ExpectedColumn& column : columns_) {
    Value meant = Meant(column, source);
    source.push_back(std::move(meant));
  }
  if (rule_.pair != 0) return MappedKey(source, index);
  const Value& key = rule_.keyColumn >= 0
                         ? source[meantFrom_ + static_cast<size_t>(rule_.keyColumn)]
                         : source.at(static_cast<size_t>(rule_.keySource));
  if (!key.known) return std::nullopt;
  return Key::Of(key);
}

std::string ValuePass::SourceKey(const Row& source) const {
  return rule_.sourceKey < 0 ? std::string() : source[static_cast<size_t>(rule_.sourceKey)].text;
}

void ValuePass::Compare(const Row& source, const Row& dest,
                        std::vector<ColumnDifference>& out) const {
  for (size_t i = 0; i < columns_.size(); ++i) {
    const Value& meant = source[meantFrom_ + i];
    const Value& there = dest.at(i + 1);
    if (!meant.known || !SameValue(meant, there, columns_[i].comparison))
      out.push_back(ColumnDifference{columns_[i].name, meant, there});
  }
}

Value ValuePass::Lookup(int pair, const Value& oldKey) {
  if (oldKey.null) return oldKey;  // a NULL reference stays NULL
  int key = 0;
  if (!text::TryStrToInt(text::Trim(oldKey.text), key)) return Unknown();
  try {
    const int newKey = keyMap_.Pair(pair).LookupNewKey(key);
    if (newKey == -1) ++unresolved_;
    return Value::Of(std::to_string(newKey));
  } catch (const std::exception&) {
    return Unknown();
  }
}

Value ValuePass::Meant(const ExpectedColumn& column, const Row& source) {
  auto at = [&](int index) -> const Value& { return source.at(static_cast<size_t>(index)); };
  switch (column.from) {
    case ExpectedColumn::From::Source:
      return at(column.source);
    case ExpectedColumn::From::Constant:
      return Value::Of(column.constant);
    case ExpectedColumn::From::Null:
      return Value{};
    case ExpectedColumn::From::Reference:
      return Lookup(column.pair, at(column.source));
    case ExpectedColumn::From::Typed: {
      if (column.typeColumn < 0) return Unknown();
      int type = 0;
      const Value& typeValue = at(column.typeColumn);
      if (!typeValue.null && !text::TryStrToInt(text::Trim(typeValue.text), type)) return Unknown();
      const int pair = column.typed->PairOf(type);
      if (pair == 0) return at(column.source);
      if (column.valueColumn < 0) return Lookup(pair, at(column.source));
      const Value& device = at(column.valueColumn);
      return device.null ? at(column.source) : Lookup(pair, device);
    }
    case ExpectedColumn::From::RightsText:
    case ExpectedColumn::From::MacroText: {
      const bool rights = column.from == ExpectedColumn::From::RightsText;
      if (rights) {
        if (column.sectionColumn < 0) return Unknown();
        if (at(column.sectionColumn).text != "USERS_RD_RIGHTS") return at(column.source);
      }
      try {
        Tperegonner lines(keyMap_);
        lines.LoadFromText(at(column.source).text);
        if (rights)
          lines.RewriteRights();
        else
          lines.RewriteMacro();
        return Value::Of(lines.SaveToText());
      } catch (const std::exception&) {
        return Unknown();
      }
    }
  }
  return Unknown();
}

std::optional<Key> ValuePass::MappedKey(const Row& source, long long index) const {
  const KeyMapPair& pair = keyMap_.Pair(rule_.pair);
  const Value& oldKey = source.at(static_cast<size_t>(rule_.oldKey));
  std::string newKey;
  if (rule_.positional) {
    // Rows beyond the line's entries were never reached by its copy.
    if (index < 0 || static_cast<size_t>(index) >= rule_.count) return std::nullopt;
    const size_t position = rule_.first + static_cast<size_t>(index);
    if (position < pair.OldCount() && pair.OldKeyAt(position) == oldKey.text)
      newKey = position < pair.NewCount() ? pair.NewKeyAt(position) : std::string();
    else
      return MappedKeyByLookup(pair, oldKey);
  } else {
    return MappedKeyByLookup(pair, oldKey);
  }
  int number = 0;
  if (!text::TryStrToInt(newKey, number) || number == -1) return std::nullopt;
  return Key::Number(number);
}

std::optional<Key> ValuePass::MappedKeyByLookup(const KeyMapPair& pair, const Value& oldKey) const {
  int key = 0;
  if (oldKey.null || !text::TryStrToInt(text::Trim(oldKey.text), key)) return std::nullopt;
  try {
    const int newKey = pair.LookupNewKey(key);
    if (newKey == -1) return std::nullopt;
    return Key::Number(newKey);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

CopyColumns ColumnsOfCopy(const CopyOptions& options, TIBSQL& source, TIBSQL& dest) {
  std::vector<std::string> sourceNames, destNames;
  if (options.photosFromOwner) {
    sourceNames = tablecopy::PhotosFromOwnerSourceColumns();
  } else {
    for (int i = 0; i < source.ColumnCount(); ++i) sourceNames.push_back(source.Column(i).Name());
  }
  for (int i = 0; i < dest.ColumnCount(); ++i) destNames.push_back(dest.Column(i).Name());
  const std::string& table = options.table;
  const int pair = KeyMapPairNumber(table);
  const bool addHostPort = table == "HOSTS" && !tablecopy::HasColumn(sourceNames, "HS_PORT") &&
                           tablecopy::HasColumn(destNames, "HS_PORT");
  const std::vector<std::string> common = tablecopy::CommonColumns(sourceNames, destNames);
  tablecopy::RowStatement row;
  try {
    row = tablecopy::BuildRowStatement(table, pair != 0, common, addHostPort);
  } catch (const std::out_of_range&) {
    throw UnfollowableCopy({FindingKind::TooFewColumnsToUpdate, Severity::Error, 0, {}, {}, {}});
  }

  CopyColumns copy;
  copy.update = row.kind != tablecopy::RowKind::Insert;
  const size_t written = copy.update ? row.paramSources.size() - 1 : row.insertColumns.size();
  for (size_t i = 0; i < written; ++i) {
    ExpectedColumn column;
    const bool parameter = copy.update || row.insertValues[i].front() == ':';
    column.name = copy.update ? row.paramSources[i] : row.insertColumns[i];
    if (parameter) {
      column.source = ColumnIndex(source, row.paramSources[i]);
      column.comparison = ComparisonOf(ColumnType(source, column.source),
                                       ColumnType(dest, ColumnIndex(dest, column.name)));
    } else {
      column.from = ExpectedColumn::From::Constant;
      column.constant = row.insertValues[i];
      column.comparison = Comparison{true, false};
    }
    copy.columns.push_back(column);
  }
  KeyRule& rule = copy.rule;
  rule.sourceKey = ColumnIndex(source, options.keyColumn);
  if (rule.sourceKey < 0)
    throw UnfollowableCopy(
        {FindingKind::SourceLacksColumn, Severity::Error, 0, options.keyColumn, {}, {}});
  if (copy.update) {
    copy.destKey = row.updateKey;
    rule.keySource = ColumnIndex(source, row.paramSources.back());
  } else {
    MarkRewrites(table, source, copy.columns);
    if (table == "OWNER" && options.destHasOwnerPhotos) {
      const int photo = IndexOf(copy.columns, "OW_PHOTO");
      if (photo >= 0) copy.columns[static_cast<size_t>(photo)].from = ExpectedColumn::From::Null;
    }
    copy.destKey = options.keyColumn;
    if (pair != 0 && table != "OWNER") {
      rule.pair = pair;
      rule.oldKey = ColumnIndex(source, common.at(0));
    } else {
      rule.keySource = rule.sourceKey;
    }
  }
  std::erase_if(copy.columns, [&](const ExpectedColumn& column) {
    return options.skipped.count(column.name) != 0;
  });
  // A kept key is the value meant for its column, a rewritten one included.
  if (!copy.update && rule.pair == 0) rule.keyColumn = IndexOf(copy.columns, copy.destKey);
  return copy;
}

CopyColumns ColumnsOfMacros(TIBSQL& source, TIBSQL& dest) {
  CopyColumns copy;
  for (const char* name : {"MCR_NAME", "MCR_FILL"}) {
    ExpectedColumn column;
    column.name = name;
    column.source = ColumnIndex(source, name);
    column.comparison =
        ComparisonOf(ColumnType(source, column.source), ColumnType(dest, ColumnIndex(dest, name)));
    copy.columns.push_back(column);
  }
  copy.columns[1].from = ExpectedColumn::From::MacroText;
  copy.destKey = "MCR_ID";
  copy.rule.sourceKey = copy.rule.oldKey = ColumnIndex(source, "MCR_ID");
  copy.rule.pair = keymap::kMacroses;
  return copy;
}

CopyColumns ColumnOfUpdate(const std::string& column, const std::string& keyColumn, TIBSQL& source,
                           TIBSQL& dest) {
  CopyColumns copy;
  copy.update = true;
  ExpectedColumn value;
  value.name = column;
  value.source = 1;
  value.comparison =
      ComparisonOf(ColumnType(source, 1), ColumnType(dest, ColumnIndex(dest, column)));
  copy.columns.push_back(value);
  copy.destKey = keyColumn;
  copy.rule.sourceKey = copy.rule.keySource = 0;
  return copy;
}

}  // namespace check
