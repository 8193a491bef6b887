#include "transfer/KeyMap.h"

#include "text/Trim.h"

void KeyMapPair::AppendOld(const std::string& oldKey) {
  firstIndex_.emplace(text::UpperCase(oldKey), old_.size());
  old_.push_back(oldKey);
}

void KeyMapPair::AppendNew(const std::string& newKey) { new_.push_back(newKey); }

int KeyMapPair::LookupNewKey(int oldKey) const {
  auto found = firstIndex_.find(std::to_string(oldKey));
  if (found == firstIndex_.end()) return -1;
  // An old key without its new key yet reads as an empty entry.
  const std::string newKey = found->second < new_.size() ? new_[found->second] : std::string();
  return text::StrToInt(newKey);
}

int KeyMapPairNumber(const std::string& table) {
  static const std::unordered_map<std::string, int> kNumbers = {
      {"HOSTS", keymap::kHosts},     {"CONTROLLERS", keymap::kControllers},
      {"PCN", keymap::kPcn},         {"CINPUTS", keymap::kCinputs},
      {"SLAVES", keymap::kSlaves},   {"OUTPUTS", keymap::kOutputs},
      {"INPUTS", keymap::kInputs},   {"READERS", keymap::kReaders},
      {"MACROSES", keymap::kMacroses}, {"OWNER", keymap::kOwner},
      {"CARDGROUPS", keymap::kCardGroups}, {"KRONTUR", keymap::kKrontur},
  };
  auto found = kNumbers.find(table);
  return found == kNumbers.end() ? 0 : found->second;
}
