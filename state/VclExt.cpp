#include "state/VclExt.h"

#include <algorithm>

namespace {

// Upper case of one windows-1251 byte: Latin and Cyrillic letters, Ё included.
unsigned char FoldCase(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 'a' + 'A');
  if (c >= 0xE0) return static_cast<unsigned char>(c - 0x20);
  if (c == 0xB8) return 0xA8;
  return c;
}

}  // namespace

// ---------------------------------------------------------------- TStringList

int TStringList::CompareStrings(std::string_view a, std::string_view b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const unsigned char x = FoldCase(static_cast<unsigned char>(a[i]));
    const unsigned char y = FoldCase(static_cast<unsigned char>(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

void TStringList::CheckIndex(int index) const {
  if (index < 0 || index >= Count())
    throw EStringListError("List index out of bounds (" + std::to_string(index) + ")");
}

const std::string& TStringList::Strings(int index) const {
  CheckIndex(index);
  return entries_[static_cast<size_t>(index)].text;
}

TObject* TStringList::Objects(int index) const {
  CheckIndex(index);
  return entries_[static_cast<size_t>(index)].object;
}

void TStringList::PutObject(int index, TObject* object) {
  CheckIndex(index);
  entries_[static_cast<size_t>(index)].object = object;
}

TObject* TStringList::TakeObject(int index) {
  CheckIndex(index);
  TObject* object = entries_[static_cast<size_t>(index)].object;
  entries_[static_cast<size_t>(index)].object = nullptr;
  return object;
}

void TStringList::SetSorted(bool sorted) {
  if (sorted && !sorted_)
    std::stable_sort(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) {
      return CompareStrings(a.text, b.text) < 0;
    });
  sorted_ = sorted;
}

int TStringList::Add(const std::string& s) {
  lastAddInserted_ = false;
  int index = Count();
  if (sorted_ && Find(s, index)) {
    if (duplicates_ == TDuplicates::dupIgnore) return index;
    if (duplicates_ == TDuplicates::dupError)
      throw EStringListError("String list does not allow duplicates");
  }
  entries_.insert(entries_.begin() + index, Entry{s, nullptr});
  lastAddInserted_ = true;
  return index;
}

int TStringList::AddObject(const std::string& s, TObject* object) {
  const int index = Add(s);
  if (lastAddInserted_) PutObject(index, object);
  return index;
}

void TStringList::AppendEntry(std::string s, TObject* object) {
  entries_.push_back(Entry{std::move(s), object});
}

void TStringList::Delete(int index) {
  CheckIndex(index);
  entries_.erase(entries_.begin() + index);
}

void TStringList::Clear() {
  entries_.clear();
}

bool TStringList::Find(const std::string& s, int& index) const {
  if (!sorted_) {
    index = IndexOf(s);
    if (index >= 0) return true;
    index = Count();
    return false;
  }
  auto it = std::lower_bound(
      entries_.begin(), entries_.end(), s,
      [](const Entry& e, const std::string& v) { return CompareStrings(e.text, v) < 0; });
  index = static_cast<int>(it - entries_.begin());
  return it != entries_.end() && CompareStrings(it->text, s) == 0;
}

int TStringList::IndexOf(const std::string& s) const {
  if (sorted_) {
    int index = 0;
    return Find(s, index) ? index : -1;
  }
  for (size_t i = 0; i < entries_.size(); ++i)
    if (CompareStrings(entries_[i].text, s) == 0) return static_cast<int>(i);
  return -1;
}

// ---------------------------------------------------------------- TLimitStringList

int TLimitStringList::Add(const std::string& s) {
  if (IsLimited() && Count() >= Limit()) DeleteFirst();
  return TStringList::Add(s);
}

int TLimitStringList::AddObject(const std::string& s, TObject* object) {
  return AddObject(s, std::unique_ptr<TObject>(object));
}

int TLimitStringList::AddObject(const std::string& s, std::unique_ptr<TObject> object) {
  const int index = Add(s);
  if (LastAddInserted()) PutObject(index, object.release());
  return index;
}

void TLimitStringList::DeleteWithObject(int index) {
  if (index < 0 || index > Count() - 1) return;
  TObject* object = TakeObject(index);
  Delete(index);
  FreeObject(object);
}

void TLimitStringList::FreeAllObjects() {
  for (int i = 0; i < Count(); ++i) FreeObject(TakeObject(i));
}

// ---------------------------------------------------------------- owning lists

TFStringList::~TFStringList() {
  FreeAllObjects();
}

void TFCStringList::Clear() {
  FreeAllObjects();
  TFStringList::Clear();
}
