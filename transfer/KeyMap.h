#pragma once
// The record of old and new keys of one transfer run: numbered pairs of an
// old-key list and a new-key list of decimal key texts, aligned entry by entry.
//
// A big site maps hundreds of thousands of keys, so the texts are kept as the
// 32-bit numbers they spell (4 bytes an entry) and found through an open hash
// of numbers; only a text that is not the plain decimal form of a number is kept
// as text, aside.
#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace keymapdetail {

// One list of key texts.
class KeyTexts {
 public:
  // Returns the position of the appended text.
  uint32_t Append(const std::string& text);
  size_t Size() const { return numbers_.size(); }
  std::string At(size_t position) const;
  // True, with the number, when the text at `position` is a plain decimal number.
  bool NumberAt(size_t position, int32_t& number) const;
  void SetNumber(size_t position, int32_t number);

 private:
  std::vector<int32_t> numbers_;
  std::unordered_map<uint32_t, std::string> otherTexts_;  // by position
};

// The first position of every number, in slots of 8 bytes.
class FirstPositions {
 public:
  // Keeps the position already recorded for `number`, if any.
  void Add(int32_t number, uint32_t position);
  // The first position of `number`, or kNone.
  uint32_t Find(int32_t number) const;
  static constexpr uint32_t kNone = UINT32_MAX;

 private:
  struct Slot {
    int32_t number = 0;
    uint32_t position = kNone;
  };
  size_t SlotOf(int32_t number) const;
  void Grow();

  std::vector<Slot> slots_;
  size_t used_ = 0;
};

}  // namespace keymapdetail

class KeyMapPair {
 public:
  void AppendOld(const std::string& oldKey);
  void AppendNew(const std::string& newKey);
  // The new keys from `position` on become -1: their rows never arrived.
  void ForgetNewKeysFrom(size_t position);
  size_t OldCount() const { return old_.Size(); }
  size_t NewCount() const { return new_.Size(); }
  // The entry at a position, as it was appended.
  std::string OldKeyAt(size_t position) const { return old_.At(position); }
  std::string NewKeyAt(size_t position) const { return new_.At(position); }
  // The entries as they were appended.
  std::vector<std::string> OldKeys() const;
  std::vector<std::string> NewKeys() const;

  // The new key of the first entry whose old key equals the value's decimal
  // text; -1 when there is none. A new-key entry that is not a decimal integer
  // (or not there yet) raises text::EConvertError.
  int LookupNewKey(int oldKey) const;

 private:
  keymapdetail::KeyTexts old_;
  keymapdetail::KeyTexts new_;
  keymapdetail::FirstPositions firstOld_;
};

class KeyMap {
 public:
  static constexpr int kPairs = 13;
  KeyMapPair& Pair(int number) { return pairs_.at(static_cast<size_t>(number - 1)); }
  const KeyMapPair& Pair(int number) const { return pairs_.at(static_cast<size_t>(number - 1)); }

 private:
  std::array<KeyMapPair, kPairs> pairs_;
};

// Pair numbers of the key-mapped tables (0: not key-mapped). Names compare exactly.
int KeyMapPairNumber(const std::string& table);
// The table of a pair number; empty for 13 and numbers out of range.
std::string KeyMapPairTable(int number);

namespace keymap {
enum : int {
  kHosts = 1,
  kControllers = 2,
  kPcn = 3,
  kCinputs = 4,
  kSlaves = 5,
  kOutputs = 6,
  kInputs = 7,
  kReaders = 8,
  kMacroses = 9,
  kOwner = 10,
  kCardGroups = 11,
  kKrontur = 12,
};
}  // namespace keymap
