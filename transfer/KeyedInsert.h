#pragma once
// The statement that writes every row of one table: prepared once and executed
// for each row, and for key-mapped tables the source of the key the destination
// gave the row.
#include <memory>
#include <string>

#include "db/IB.h"

class KeyedInsert {
 public:
  // `keyColumn` empty: the rows' keys are not wanted. Otherwise the statement is
  // an insert into `table`, whose new key is returned by the insert itself, or
  // read back as the table's largest key where the destination cannot return it.
  KeyedInsert(TIBSQL& dest, std::string text, std::string table, std::string keyColumn);
  ~KeyedInsert();
  KeyedInsert(const KeyedInsert&) = delete;
  KeyedInsert& operator=(const KeyedInsert&) = delete;

  // Makes the statement ready for one row: prepared on first use (and again
  // after a failed prepare), every parameter as a fresh prepare leaves it.
  TIBSQL& Start();
  void Execute();

  // The decimal key of the row just written, or "-1" when it was not written
  // or the key is unknown. Throws when the key cannot be read; the read-back
  // query runs whether or not the row was written, as it always did.
  std::string NewKey(bool written);

  // The insert itself returns the row's key (known once it has been prepared).
  bool ReturnsKey() const { return keySource_ == KeySource::Returning; }

  // Tests: read every new key back with the largest-key query.
  static void UseMaxReadBackForTests(bool on);

 private:
  void Prepare();

  TIBSQL& dest_;
  std::string text_;
  std::string table_;
  std::string keyColumn_;
  bool retryBefore_;      // the statement's retry setting, given back at the end
  bool textSet_ = false;  // the statement still holds an earlier query's text until then
  enum class KeySource { Unknown, Returning, MaxQuery } keySource_ = KeySource::Unknown;
  std::unique_ptr<TIBSQL> maxQuery_;
};

// Sets the archive flag of one owner; its own statement, so the owners' insert stays prepared.
class OwnerArchiveFlag {
 public:
  explicit OwnerArchiveFlag(TIBSQL& dest) : dest_(dest) {}
  ~OwnerArchiveFlag();
  OwnerArchiveFlag(const OwnerArchiveFlag&) = delete;
  OwnerArchiveFlag& operator=(const OwnerArchiveFlag&) = delete;
  void Set(int ownerKey);

 private:
  TIBSQL& dest_;
  std::unique_ptr<TIBSQL> update_;
};
