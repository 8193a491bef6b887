#pragma once
// The record of old and new keys of one transfer run: numbered pairs of an
// old-key list and a new-key list of decimal key texts, aligned entry by entry.
#include <array>
#include <string>
#include <unordered_map>
#include <vector>

class KeyMapPair {
 public:
  void AppendOld(const std::string& oldKey);
  void AppendNew(const std::string& newKey);
  const std::vector<std::string>& OldKeys() const { return old_; }
  const std::vector<std::string>& NewKeys() const { return new_; }

  // The new key of the first entry whose old key equals the value's decimal
  // text; -1 when there is none. A new-key entry that is not a decimal integer
  // raises text::EConvertError.
  int LookupNewKey(int oldKey) const;

 private:
  std::vector<std::string> old_;
  std::vector<std::string> new_;
  // First position of every old key, so a lookup answers as a scan from the top
  // would without scanning.
  std::unordered_map<std::string, size_t> firstIndex_;
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

namespace keymap {
enum : int {
  kHosts = 1, kControllers = 2, kPcn = 3, kCinputs = 4, kSlaves = 5, kOutputs = 6,
  kInputs = 7, kReaders = 8, kMacroses = 9, kOwner = 10, kCardGroups = 11, kKrontur = 12,
};
}  // namespace keymap
