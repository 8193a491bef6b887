#include "state/StsList.h"

#include <algorithm>
#include <memory>
#include <utility>

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

int TStsList::AddRecs(const std::vector<int32_t>& oldKeys) noexcept {
  int added = 0;
  if (Count() != 0 || Limit() != 0) {
    for (int32_t key : oldKeys) added += AddRec(key, StateValues{}) ? 1 : 0;
    return added;
  }
  try {
    std::vector<std::pair<std::string, int32_t>> texts;
    texts.reserve(oldKeys.size());
    for (int32_t key : oldKeys) texts.emplace_back(GetS(key), key);
    // Stable, so of equal keys the first listed comes first and is the one kept,
    // as AddRec keeps the first record.
    std::stable_sort(texts.begin(), texts.end(), [](const auto& a, const auto& b) {
      return CompareStrings(a.first, b.first) < 0;
    });
    for (size_t i = 0; i < texts.size(); ++i) {
      if (i > 0 && CompareStrings(texts[i - 1].first, texts[i].first) == 0) continue;
      auto item = std::make_unique<TStsItem>(texts[i].second, StateValues{});
      // A copy: the next key is compared with this one.
      AppendEntry(texts[i].first, item.get());
      item.release();
      ++added;
    }
  } catch (...) {
  }
  return added;
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
