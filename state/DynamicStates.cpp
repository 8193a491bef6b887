#include "state/DynamicStates.h"

#include "state/TableSts.h"

namespace {

constexpr std::array<PreservedTable, 5> kPreserved{{
    {"HOSTS", "HS_ID", "HS_ARCHIVE", 14},
    {"CONTROLLERS", "CT_ID", "CT_ARCHIVE", 6},
    {"SLAVES", "SL_ID", "SL_ARCHIVE", 6},
    {"READERS", "RD_ID", "RD_ARCHIVE", 7},
    {"OWNER", "OW_ID", "OW_ARCHIVE", 4},
}};

// One whole-database call on the destination statement, in a bracket of its own.
bool CallDatabaseFunction(TIBSQL& dest, const std::string& function) noexcept {
  bool ok = false;
  try {
    StatementBracket bracket(dest);
    try {
      dest.SetSQL({"SELECT CT_ID, " + function + "()", "FROM CONTROLLERS WHERE CT_ID = 1"});
      dest.Execute();
      ok = true;
    } catch (...) {
    }
    CloseQuietly(dest);
  } catch (...) {
  }
  return ok;
}

}  // namespace

const std::array<PreservedTable, 5>& PreservedTables() {
  return kPreserved;
}

DynamicStates::DynamicStates(TDM1& dm, std::function<bool()> locationFlag)
    : dm_(dm), locationFlag_(std::move(locationFlag)) {}

DynamicStates::~DynamicStates() = default;

bool DynamicStates::LocationFlag() const noexcept {
  try {
    return locationFlag_ && locationFlag_();
  } catch (...) {
    return false;
  }
}

void DynamicStates::SaveDynamicStates() {
  // The source transaction may still point at the destination, as the second
  // script leaves it after a run; the states must be read from the source.
  try {
    dm_.IBTransaction.SetDefaultDatabase(&dm_.IBDatabase3);
    dm_.IBSQL4.SetTransaction(&dm_.IBTransaction);
  } catch (...) {
  }
  // A save starts from empty slots, so owners saved earlier never reach a run
  // that saved without them.
  FreeDynamicStates();
  const size_t count = LocationFlag() ? kPreserved.size() : kOwnerSlot;
  for (size_t i = 0; i < count; ++i) {
    const PreservedTable& t = kPreserved[i];
    try {
      slots_[i] = std::make_unique<TTableSts>(t.table, t.key, t.archive, t.stateCount);
    } catch (...) {
      continue;
    }
    try {
      slots_[i]->ReadStates(dm_.IBSQL4);
    } catch (...) {
      slots_[i].reset();
    }
  }
}

bool DynamicStates::StoreNewKey(const std::string& table, int oldKey, int newKey) {
  try {
    for (size_t i = 0; i < kPreserved.size(); ++i) {
      if (table != kPreserved[i].table) continue;
      if (i == kOwnerSlot && !LocationFlag()) return false;
      return slots_[i] && slots_[i]->SetNewID(oldKey, newKey);
    }
  } catch (...) {
  }
  return false;
}

bool DynamicStates::RestoreDynamicStates() {
  try {
    dm_.IBTransaction1.SetDefaultDatabase(&dm_.IBDatabase1);
    dm_.IBSQL3.SetTransaction(&dm_.IBTransaction1);
  } catch (...) {
  }
  CallDatabaseFunction(dm_.IBSQL3, "FLUSH_STATES");
  const size_t count = LocationFlag() ? kPreserved.size() : kOwnerSlot;
  for (size_t i = 0; i < count; ++i) {
    if (!slots_[i]) continue;
    try {
      slots_[i]->WriteStates(dm_.IBSQL3);
    } catch (...) {
    }
  }
  return CallDatabaseFunction(dm_.IBSQL3, "SAVE_STATES");
}

void DynamicStates::FreeDynamicStates() {
  for (auto& slot : slots_) slot.reset();
}

TTableSts* DynamicStates::Slot(int number) const {
  if (number < 1 || number > static_cast<int>(slots_.size())) return nullptr;
  return slots_[static_cast<size_t>(number - 1)].get();
}
