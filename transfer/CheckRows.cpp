#include "transfer/CheckRows.h"

#include <charconv>
#include <cmath>
#include <set>

namespace check {

namespace {

// Destination keys kept as candidates for the few rows shown as unmatched;
// some of them may still be claimed by a row looked up later.
constexpr size_t kUnmatchedCandidates = 50;

std::string WithoutTrailingBlanks(std::string text) {
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

struct SourceRow {
  Row row;
  std::optional<Key> key;
  std::string sourceKey;
  bool failed = false;  // the log names a failed row with its key
};

class SourceRows {
 public:
  SourceRows(TIBSQL& statement, RowPass& pass, std::map<std::string, int>& failedKeys)
      : statement_(statement), pass_(pass), failedKeys_(failedKeys) {}

  bool Next(SourceRow& row) {
    if (statement_.AtEnd()) return false;
    ReadRow(statement_, row.row);
    row.key = pass_.Expect(row.row, index_++);
    row.sourceKey = pass_.SourceKey(row.row);
    auto failed = failedKeys_.find(row.sourceKey);
    row.failed = failed != failedKeys_.end() && failed->second > 0;
    if (row.failed) --failed->second;
    statement_.FetchNext();
    return true;
  }

 private:
  TIBSQL& statement_;
  RowPass& pass_;
  std::map<std::string, int>& failedKeys_;
  long long index_ = 0;
};

// The destination table read in key order, and the rows looked up on their own
// when a source row's key comes out of that order.
class DestRows {
 public:
  DestRows(TIBSQL& stream, TIBSQL& lookup, const PassQueries& queries, PassResult& result)
      : stream_(stream), lookup_(lookup), result_(result) {
    std::string select = "SELECT " + queries.destKey;
    for (const std::string& column : queries.destColumns) select += ", " + column;
    select += " FROM " + queries.destTable;
    // By position: the key may also be among the columns.
    stream_.SetSQL({select, "ORDER BY 1"});
    stream_.Prepare();
    stream_.Execute();
    Read();
    lookup_.SetSQL({select, "WHERE " + queries.destKey + " = :CHECK_KEY"});
  }

  // The rows with `key` where the stream stands; the rows before it go unmatched.
  void Advance(const Key& key, std::vector<Row>& rows) {
    while (have_ && currentKey_ < key) {
      Unmatched(current_);
      Next();
    }
    while (have_ && currentKey_ == key) {
      rows.push_back(std::move(current_));
      Next();
    }
  }

  void Lookup(const Key& key, std::vector<Row>& rows) {
    if (!lookup_.Prepared()) lookup_.Prepare();
    if (lookup_.Open()) lookup_.Close();
    lookup_.ParamByName("CHECK_KEY").SetText(key.Text());
    lookup_.Execute();
    for (; !lookup_.AtEnd(); lookup_.FetchNext()) {
      rows.emplace_back();
      ReadRow(lookup_, rows.back());
    }
    lookup_.Close();
    claimed_.insert(key);
    std::erase(candidates_, key);
  }

  void Unmatched(const Row& row) {
    std::optional<Key> key = Key::Of(row.at(0));
    if (!key || claimed_.count(*key) != 0) return;
    if (candidates_.size() < kUnmatchedCandidates) candidates_.push_back(*key);
  }

  void Rest() {
    while (have_) {
      Unmatched(current_);
      Next();
    }
    for (const Key& key : candidates_) result_.unmatchedDestKeys.push_back(key.Text());
  }

 private:
  void Next() {
    stream_.FetchNext();
    Read();
  }

  void Read() {
    have_ = !stream_.AtEnd();
    if (!have_) return;
    ReadRow(stream_, current_);
    currentKey_ = Key::Of(current_.at(0));
    ++result_.destRows;
  }

  TIBSQL& stream_;
  TIBSQL& lookup_;
  PassResult& result_;
  bool have_ = false;
  Row current_;
  std::optional<Key> currentKey_;  // none sorts first, as NULL does
  std::set<Key> claimed_;          // keys of rows looked up on their own
  std::vector<Key> candidates_;
};

// One group of source rows with the same destination key against the
// destination rows with that key: usually one and one.
class GroupMatcher {
 public:
  GroupMatcher(RowPass& pass, PassResult& result, size_t samples)
      : pass_(pass), result_(result), samples_(samples) {}

  void Match(std::vector<SourceRow>& group, std::vector<Row>& dests, DestRows& destRows) {
    result_.sourceRows += static_cast<long long>(group.size());
    if (!group.front().key) {
      for (const SourceRow& row : group) {
        if (row.failed)
          ++result_.failed;
        else
          Missing(row, RowDifference::Kind::NoNewKey);
      }
      return;
    }
    used_.assign(dests.size(), false);
    done_.assign(group.size(), false);
    size_t failures = 0;
    for (const SourceRow& row : group) failures += row.failed ? 1 : 0;
    PairEqualRows(group, dests, group.size() - failures);
    // The failed rows next: those the log names first, so that which row of a
    // group failed does not matter.
    for (int pass = 0; pass < 2; ++pass) {
      for (size_t i = 0; i < group.size() && failures > 0; ++i) {
        if (done_[i] || (pass == 0 && !group[i].failed)) continue;
        done_[i] = true;
        --failures;
        ++result_.failed;
      }
    }
    PairTheRest(group, dests);
    for (size_t j = 0; j < dests.size(); ++j) {
      if (used_[j])
        ++result_.destMatched;
      else
        destRows.Unmatched(dests[j]);
    }
  }

 private:
  void PairEqualRows(const std::vector<SourceRow>& group, const std::vector<Row>& dests,
                     size_t allowed) {
    size_t paired = 0;
    for (size_t i = 0; i < group.size() && paired < allowed; ++i) {
      for (size_t j = 0; j < dests.size(); ++j) {
        if (used_[j]) continue;
        differences_.clear();
        pass_.Compare(group[i].row, dests[j], differences_);
        if (!differences_.empty()) continue;
        used_[j] = done_[i] = true;
        ++paired;
        ++result_.arrived;
        break;
      }
    }
  }

  void PairTheRest(const std::vector<SourceRow>& group, const std::vector<Row>& dests) {
    size_t j = 0;
    for (size_t i = 0; i < group.size(); ++i) {
      if (done_[i]) continue;
      while (j < dests.size() && used_[j]) ++j;
      if (j == dests.size()) {
        Missing(group[i], RowDifference::Kind::Missing);
        continue;
      }
      used_[j] = true;
      differences_.clear();
      pass_.Compare(group[i].row, dests[j], differences_);
      if (differences_.empty()) {
        ++result_.arrived;
        continue;
      }
      ++result_.differing;
      if (result_.samples.size() < samples_)
        result_.samples.push_back(RowDifference{RowDifference::Kind::Values, group[i].sourceKey,
                                                dests[j].at(0).text, differences_});
    }
  }

  void Missing(const SourceRow& row, RowDifference::Kind kind) {
    ++result_.missing;
    if (result_.samples.size() < samples_)
      result_.samples.push_back(
          RowDifference{kind, row.sourceKey, row.key ? row.key->Text() : std::string(), {}});
  }

  RowPass& pass_;
  PassResult& result_;
  const size_t samples_;
  std::vector<bool> used_, done_;
  std::vector<ColumnDifference> differences_;
};

bool AllFailed(const std::vector<SourceRow>& group) {
  for (const SourceRow& row : group)
    if (!row.failed) return false;
  return true;
}

}  // namespace

void ReadRow(TIBSQL& statement, Row& row) {
  const int count = statement.ColumnCount();
  row.resize(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    TIBXSQLVAR& column = statement.Column(i);
    Value& value = row[static_cast<size_t>(i)];
    value.null = column.IsNull();
    value.text.clear();
    if (!value.null) value.text = column.GetText();
  }
}

std::optional<Key> Key::Of(const Value& value) {
  if (value.null) return std::nullopt;
  Key key;
  key.text_ = WithoutTrailingBlanks(value.text);
  const char* end = key.text_.data() + key.text_.size();
  auto [stop, error] = std::from_chars(key.text_.data(), end, key.value_);
  key.number_ = !key.text_.empty() && error == std::errc() && stop == end;
  return key;
}

Key Key::Number(long long number) {
  Key key;
  key.number_ = true;
  key.value_ = number;
  key.text_ = std::to_string(number);
  return key;
}

std::strong_ordering Key::operator<=>(const Key& other) const {
  if (number_ != other.number_)
    return number_ ? std::strong_ordering::less : std::strong_ordering::greater;
  if (number_) return value_ <=> other.value_;
  return text_.compare(other.text_) <=> 0;
}

PassResult MatchRows(TIBSQL& source, TIBSQL& dest, TIBSQL& destLookup, const PassQueries& queries,
                     RowPass& pass, std::map<std::string, int> failedKeys, size_t samples) {
  PassResult result;
  StatementBracket sourceBracket(source);
  StatementBracket destBracket(dest);
  StatementBracket lookupBracket(destLookup);
  source.SetSQL(queries.source);
  source.Prepare();
  if (TIBXSQLVAR* from = source.Params().FindByName("EV_D"))
    from->SetDateTime(std::trunc(queries.eventsFrom));
  source.Execute();
  DestRows destRows(dest, destLookup, queries, result);
  SourceRows sourceRows(source, pass, failedKeys);
  GroupMatcher matcher(pass, result, samples);

  // Keys normally ascend in the source's order; one that does not is looked up alone.
  std::optional<Key> lastInOrder;
  std::vector<SourceRow> group;
  std::vector<Row> dests;
  SourceRow next;
  bool haveNext = sourceRows.Next(next);
  while (haveNext) {
    group.clear();
    group.push_back(std::move(next));
    haveNext = sourceRows.Next(next);
    while (haveNext && group.front().key && next.key == group.front().key) {
      group.push_back(std::move(next));
      haveNext = sourceRows.Next(next);
    }
    dests.clear();
    const std::optional<Key>& key = group.front().key;
    if (key && !AllFailed(group)) {
      if (!lastInOrder || *lastInOrder < *key) {
        destRows.Advance(*key, dests);
        lastInOrder = *key;
        // Not where the order puts it: the engine may sort keys otherwise.
        if (dests.empty()) destRows.Lookup(*key, dests);
      } else {
        destRows.Lookup(*key, dests);
      }
    }
    matcher.Match(group, dests, destRows);
  }
  destRows.Rest();
  source.Close();
  dest.Close();
  return result;
}

}  // namespace check
