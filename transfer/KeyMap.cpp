#include "transfer/KeyMap.h"

#include <charconv>

#include "text/Trim.h"

namespace keymapdetail {
namespace {

// The number a text spells when it is exactly the decimal form std::to_string
// gives that number ("-0", "+1", "007" and blanks are not).
bool PlainDecimal(const std::string& text, int32_t& number) {
  const char* end = text.data() + text.size();
  auto [stop, error] = std::from_chars(text.data(), end, number);
  return error == std::errc() && stop == end && std::to_string(number) == text;
}

}  // namespace

uint32_t KeyTexts::Append(const std::string& text) {
  const auto position = static_cast<uint32_t>(numbers_.size());
  int32_t number = 0;
  if (!PlainDecimal(text, number)) otherTexts_.emplace(position, text);
  numbers_.push_back(number);
  return position;
}

std::string KeyTexts::At(size_t position) const {
  int32_t number = 0;
  if (NumberAt(position, number)) return std::to_string(number);
  return otherTexts_.at(static_cast<uint32_t>(position));
}

bool KeyTexts::NumberAt(size_t position, int32_t& number) const {
  if (!otherTexts_.empty() && otherTexts_.count(static_cast<uint32_t>(position)) != 0) return false;
  number = numbers_.at(position);
  return true;
}

void KeyTexts::SetNumber(size_t position, int32_t number) {
  otherTexts_.erase(static_cast<uint32_t>(position));
  numbers_.at(position) = number;
}

size_t FirstPositions::SlotOf(int32_t number) const {
  // Fibonacci hashing spreads the runs of consecutive keys a table has.
  const uint64_t hash = static_cast<uint32_t>(number) * 0x9E3779B97F4A7C15ull;
  return static_cast<size_t>(hash >> 32) & (slots_.size() - 1);
}

void FirstPositions::Grow() {
  std::vector<Slot> old = std::move(slots_);
  slots_.assign(old.empty() ? 64 : old.size() * 2, Slot{});
  used_ = 0;
  for (const Slot& slot : old)
    if (slot.position != kNone) Add(slot.number, slot.position);
}

void FirstPositions::Add(int32_t number, uint32_t position) {
  if ((used_ + 1) * 2 > slots_.size()) Grow();
  for (size_t i = SlotOf(number);; i = (i + 1) & (slots_.size() - 1)) {
    Slot& slot = slots_[i];
    if (slot.position == kNone) {
      slot = Slot{number, position};
      ++used_;
      return;
    }
    if (slot.number == number) return;
  }
}

uint32_t FirstPositions::Find(int32_t number) const {
  if (slots_.empty()) return kNone;
  for (size_t i = SlotOf(number);; i = (i + 1) & (slots_.size() - 1)) {
    const Slot& slot = slots_[i];
    if (slot.position == kNone) return kNone;
    if (slot.number == number) return slot.position;
  }
}

}  // namespace keymapdetail

void KeyMapPair::AppendOld(const std::string& oldKey) {
  const uint32_t position = old_.Append(oldKey);
  // Lookups ask by a number's decimal text, which only a plain decimal entry
  // can equal; other entries are kept but never found.
  int32_t number = 0;
  if (old_.NumberAt(position, number)) firstOld_.Add(number, position);
}

void KeyMapPair::AppendNew(const std::string& newKey) {
  new_.Append(newKey);
}

void KeyMapPair::ForgetNewKeysFrom(size_t position) {
  for (size_t i = position; i < new_.Size(); ++i) new_.SetNumber(i, -1);
}

std::vector<std::string> KeyMapPair::OldKeys() const {
  std::vector<std::string> keys;
  for (size_t i = 0; i < old_.Size(); ++i) keys.push_back(old_.At(i));
  return keys;
}

std::vector<std::string> KeyMapPair::NewKeys() const {
  std::vector<std::string> keys;
  for (size_t i = 0; i < new_.Size(); ++i) keys.push_back(new_.At(i));
  return keys;
}

int KeyMapPair::LookupNewKey(int oldKey) const {
  const uint32_t position = firstOld_.Find(oldKey);
  if (position == keymapdetail::FirstPositions::kNone) return -1;
  // An old key without its new key yet reads as an empty entry.
  if (position >= new_.Size()) return text::StrToInt("");
  int32_t newKey = 0;
  if (new_.NumberAt(position, newKey)) return newKey;
  return text::StrToInt(new_.At(position));
}

namespace {

const std::unordered_map<std::string, int>& PairNumbers() {
  static const std::unordered_map<std::string, int> kNumbers = {
      {"HOSTS", keymap::kHosts},
      {"CONTROLLERS", keymap::kControllers},
      {"PCN", keymap::kPcn},
      {"CINPUTS", keymap::kCinputs},
      {"SLAVES", keymap::kSlaves},
      {"OUTPUTS", keymap::kOutputs},
      {"INPUTS", keymap::kInputs},
      {"READERS", keymap::kReaders},
      {"MACROSES", keymap::kMacroses},
      {"OWNER", keymap::kOwner},
      {"CARDGROUPS", keymap::kCardGroups},
      {"KRONTUR", keymap::kKrontur},
  };
  return kNumbers;
}

}  // namespace

int KeyMapPairNumber(const std::string& table) {
  auto found = PairNumbers().find(table);
  return found == PairNumbers().end() ? 0 : found->second;
}

std::string KeyMapPairTable(int number) {
  for (const auto& [table, pair] : PairNumbers())
    if (pair == number) return table;
  return std::string();
}
