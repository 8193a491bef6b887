#pragma once
// String lists: ordered entries of a text and an optional attached object, with
// an optional sorted mode. The derived lists own the objects attached to them.
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// Base of every object a string list can carry; owning lists free through it.
class TObject {
 public:
  virtual ~TObject() = default;
};

class EStringListError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class TDuplicates { dupIgnore, dupAccept, dupError };

// The shared list: keeps attached objects as plain references and frees nothing.
class TStringList {
 public:
  TStringList() = default;
  virtual ~TStringList() = default;
  TStringList(const TStringList&) = delete;
  TStringList& operator=(const TStringList&) = delete;

  // Case-insensitive order, byte by byte (ASCII and windows-1251 letters fold).
  static int CompareStrings(std::string_view a, std::string_view b);

  int Count() const { return static_cast<int>(entries_.size()); }
  const std::string& Strings(int index) const;
  TObject* Objects(int index) const;

  bool Sorted() const { return sorted_; }
  void SetSorted(bool sorted);
  TDuplicates Duplicates() const { return duplicates_; }
  void SetDuplicates(TDuplicates d) { duplicates_ = d; }

  // Appends (sorted: inserts in order). A duplicate in a sorted list is, by the
  // policy, inserted, answered with the existing entry's index, or an error.
  virtual int Add(const std::string& s);
  virtual int AddObject(const std::string& s, TObject* object);
  virtual void Delete(int index);
  virtual void Clear();

  // Sorted: binary search for the first equal entry; `index` is where it is
  // or would be inserted. Unsorted lists are scanned.
  bool Find(const std::string& s, int& index) const;
  int IndexOf(const std::string& s) const;

 protected:
  // Whether the last Add made a new entry (an ignored duplicate does not).
  bool LastAddInserted() const { return lastAddInserted_; }
  void PutObject(int index, TObject* object);
  // Appends an entry after the last one; the caller keeps a sorted list in
  // order and free of refused duplicates. Cheaper than Add, which shifts every
  // entry after the insertion point.
  void AppendEntry(std::string s, TObject* object);
  // Takes the object out of the entry, leaving it without one.
  TObject* TakeObject(int index);

 private:
  struct Entry {
    std::string text;
    TObject* object = nullptr;
  };
  void CheckIndex(int index) const;

  std::vector<Entry> entries_;
  bool sorted_ = false;
  TDuplicates duplicates_ = TDuplicates::dupAccept;
  bool lastAddInserted_ = false;
};

// A list that may hold at most Limit entries (0: no limit): adding to a full
// list first drops entry 0 together with its object.
class TLimitStringList : public TStringList {
 public:
  TLimitStringList() = default;

  int Limit() const { return limit_; }
  void SetLimit(int limit) { limit_ = limit; }
  bool IsLimited() const { return limit_ != 0; }

  int Add(const std::string& s) override;
  // The list takes the object in every case: when no entry is made for it (an
  // ignored or refused duplicate) it is freed, so it can never leak or be
  // attached twice.
  int AddObject(const std::string& s, TObject* object) override;
  int AddObject(const std::string& s, std::unique_ptr<TObject> object);

  // Deletes the entry and frees its object; an index past the end does nothing.
  void DeleteWithObject(int index);
  void DeleteFirst() { DeleteWithObject(0); }

 protected:
  static void FreeObject(TObject* object) { std::unique_ptr<TObject> owned(object); }
  void FreeAllObjects();

 private:
  int limit_ = 0;
};

// Frees every attached object when destroyed; its Clear and Delete free nothing.
class TFStringList : public TLimitStringList {
 public:
  TFStringList() = default;
  ~TFStringList() override;
};

// Also frees every attached object on Clear. Destruction frees only what is
// still attached, so each object is freed exactly once.
class TFCStringList : public TFStringList {
 public:
  TFCStringList() = default;
  void Clear() override;
};
