#include "state/StsList.h"

#include <memory>

TStsList::TStsList() {
  SetSorted(true);
  SetDuplicates(TDuplicates::dupError);
}

std::string TStsList::GetS(int32_t key) {
  return std::to_string(key);
}

bool TStsList::AddRec(int32_t oldKey, const StateValues& values) noexcept {
  try {
    // A refused duplicate frees the newcomer inside AddObject.
    AddObject(GetS(oldKey), std::make_unique<TStsItem>(oldKey, values));
    return true;
  } catch (...) {
    return false;
  }
}

TStsItem* TStsList::FindOldID(int32_t oldKey) const noexcept {
  try {
    int index = 0;
    if (!Find(GetS(oldKey), index)) return nullptr;
    return Item(index);
  } catch (...) {
    return nullptr;
  }
}

bool TStsList::SetNewData(int32_t oldKey, const StateValues& values) noexcept {
  TStsItem* item = FindOldID(oldKey);
  if (!item) return false;
  item->Data = values;
  return true;
}

bool TStsList::SetNewID(int32_t oldKey, int32_t newKey) noexcept {
  TStsItem* item = FindOldID(oldKey);
  if (!item) return false;
  item->NewID = newKey;
  return true;
}

TStsItem* TStsList::Item(int index) const {
  return dynamic_cast<TStsItem*>(Objects(index));
}
