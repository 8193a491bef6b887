#pragma once
// Builders of the connect and transaction parameter blocks from the text lines
// of Params ("name=value"), as byte vectors handed to the client library.
#include <string>
#include <vector>

namespace ib {

// Version byte 1, then one entry per line with a non-blank name. Unknown names
// raise EIBClientError.
std::vector<char> BuildDatabaseParamBlock(const std::vector<std::string>& lines);
// Empty for no lines; otherwise version byte 3 and one entry per non-blank line.
std::vector<char> BuildTransactionParamBlock(const std::vector<std::string>& lines);

// Slot lists of the connection and transaction objects: a removal empties the
// slot, an addition fills the first empty slot or appends; no duplicates.
template <typename T>
int AddToSlots(std::vector<T*>& slots, T* item) {
  int freeSlot = -1;
  for (size_t i = 0; i < slots.size(); ++i) {
    if (slots[i] == item) return static_cast<int>(i);
    if (slots[i] == nullptr && freeSlot < 0) freeSlot = static_cast<int>(i);
  }
  if (freeSlot >= 0) {
    slots[static_cast<size_t>(freeSlot)] = item;
    return freeSlot;
  }
  slots.push_back(item);
  return static_cast<int>(slots.size()) - 1;
}

template <typename T>
void RemoveFromSlots(std::vector<T*>& slots, const T* item) {
  for (auto& slot : slots)
    if (slot == item) slot = nullptr;
}

}  // namespace ib
