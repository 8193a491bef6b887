#pragma once
// The check's row matching: every row a source query reads is matched with the
// destination row it should have become, and what the run meant to write is
// compared with what is there. Both sides are read once, in key order, side by
// side, so memory does not grow with the tables. A row whose destination key
// comes out of order is looked up on its own. What a row should have become,
// and under which key, is the caller's.
#include <compare>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "db/IB.h"

namespace check {

// A value as read: NULL, or its text (a blob's whole content). windows-1251.
// A value meant to be written is not known when the run could not have worked
// it out either (such a row failed).
struct Value {
  bool null = true;
  std::string text;
  bool known = true;
  static Value Of(std::string text) { return Value{false, std::move(text), true}; }
};
using Row = std::vector<Value>;

// Every column of the statement's current row.
void ReadRow(TIBSQL& statement, Row& row);

// A key in the order the destination sorts it: whole numbers by value, other
// keys by their bytes, trailing blanks aside.
class Key {
 public:
  static std::optional<Key> Of(const Value& value);  // none for NULL
  static Key Number(long long number);
  const std::string& Text() const { return text_; }
  std::strong_ordering operator<=>(const Key& other) const;
  bool operator==(const Key& other) const { return (*this <=> other) == 0; }

 private:
  bool number_ = false;
  long long value_ = 0;
  std::string text_;
};

struct ColumnDifference {
  std::string column;
  Value expected, actual;
};

// A source row that did not arrive as the run meant it to.
struct RowDifference {
  enum class Kind {
    Values,    // the row is there, with these columns not as meant
    Missing,   // no destination row has its key
    NoNewKey,  // the run recorded no new key for it
  };
  Kind kind = Kind::Values;
  std::string sourceKey, destKey;
  std::vector<ColumnDifference> columns;
};

// How the rows of one pass are matched and compared.
class RowPass {
 public:
  virtual ~RowPass() = default;
  // Works out what the `index`-th source row (from 0, in the order read)
  // should have become: appends to `source` the values meant for the compared
  // columns and gives the key of the destination row it should be; none when
  // the run recorded no key for it.
  virtual std::optional<Key> Expect(Row& source, long long index) = 0;
  // The row's key as the run log names a failed row.
  virtual std::string SourceKey(const Row& source) const = 0;
  // The values of `dest` (the key first, then the columns of PassQueries)
  // that are not what the run meant to write for `source`.
  virtual void Compare(const Row& source, const Row& dest,
                       std::vector<ColumnDifference>& out) const = 0;
};

struct PassQueries {
  std::vector<std::string> source;  // read in the order the run read them
  text::TDateTime eventsFrom = 0;   // for a parameter EV_D
  std::string destTable, destKey;
  std::vector<std::string> destColumns;  // read after the key; expressions allowed
};

struct PassResult {
  long long sourceRows = 0;
  long long arrived = 0;                       // there, every value as meant
  long long differing = 0;                     // there, some value not as meant
  long long failed = 0;                        // the run logged them as failed
  long long missing = 0;                       // not there, or no key recorded for them
  long long destRows = 0;                      // rows of the destination table
  long long destMatched = 0;                   // of them, rows some source row was matched with
  std::vector<RowDifference> samples;          // the first few differing or missing rows
  std::vector<std::string> unmatchedDestKeys;  // a few destination rows no source row matched
};

// The statements are the two sides' and one more on the destination, in a
// transaction of its own, for the rows looked up alone. `failedKeys`: source
// keys of the rows the run logged as failed, by how often.
PassResult MatchRows(TIBSQL& source, TIBSQL& dest, TIBSQL& destLookup, const PassQueries& queries,
                     RowPass& pass, std::map<std::string, int> failedKeys, size_t samples);

}  // namespace check
