#include "transfer/ReferenceRewrites.h"

#include <array>
#include <exception>
#include <map>
#include <vector>

#include "transfer/KeyMap.h"

namespace {

struct PositionRewrite {
  int param;  // counted in the insert's value list
  int pair;
};

// Reference columns by their position among the inserted values; key-mapped
// tables other than OWNER start that list after their key.
const std::map<std::string, std::vector<PositionRewrite>>& PositionRewrites() {
  using namespace keymap;
  static const std::map<std::string, std::vector<PositionRewrite>> rewrites = {
      {"CONTROLLERS", {{0, kHosts}}},     {"CARDGROUPS", {{1, kControllers}}},
      {"KRONTUR", {{0, kControllers}}},   {"PCN", {{0, kControllers}}},
      {"CINPUTS", {{0, kControllers}}},   {"SLAVES", {{0, kControllers}}},
      {"OUTPUTS", {{0, kSlaves}}},        {"INPUTS", {{0, kSlaves}}},
      {"READERS", {{0, kSlaves}}},        {"AGRIGHTS", {{2, kReaders}}},
      {"AGSCH", {{2, kReaders}}},         {"CARDSDEF", {{1, kControllers}}},
      {"DAYSCH", {{1, kControllers}}},    {"TIMERS", {{1, kControllers}}},
      {"MAKROS_RIGHT", {{0, kMacroses}}}, {"PRGDEF", {{2, kControllers}}},
      {"ROBOTS$ACTIONS", {{1, kHosts}}},
  };
  return rewrites;
}

struct NamedRewrite {
  const char* param;
  int pair;
};

constexpr std::array<NamedRewrite, 10> kReaderDeviceColumns = {{
    {"RD_IN_1", keymap::kInputs},
    {"RD_IN_2", keymap::kInputs},
    {"RD_IN_3", keymap::kInputs},
    {"RD_IN_4", keymap::kInputs},
    {"RD_OUT_IND0", keymap::kOutputs},
    {"RD_OUT_IND1", keymap::kOutputs},
    {"RD_OUT_IND2", keymap::kOutputs},
    {"RD_OUT_IND3", keymap::kOutputs},
    {"RD_OUT_OPEN", keymap::kOutputs},
    {"RD_OUT_CLOSE", keymap::kOutputs},
}};

// Device kinds of program definitions (PD_TYPE), whose device key is PD_DEV_ID.
int PairOfProgramDevice(int type) {
  switch (type) {
    case 4:
      return keymap::kReaders;
    case 5:
      return keymap::kCinputs;
    case 6:
      return keymap::kPcn;
    case 7:
      return keymap::kInputs;
    case 8:
      return keymap::kOutputs;
    default:
      return 0;
  }
}

// Hardware types of event descriptions (ED_HARDTYPE): which table the event's device is in.
int PairOfEventDevice(int hardType) {
  switch (hardType) {
    case 1:
      return keymap::kHosts;
    case 2:
      return keymap::kControllers;
    case 3:
      return keymap::kSlaves;
    default:
      return PairOfProgramDevice(hardType);
  }
}

void RewriteValue(TIBXSQLVAR& param, const KeyMapPair& pair) {
  if (param.IsNull()) return;
  param.SetInteger(pair.LookupNewKey(param.GetInteger()));
}

constexpr int kProgramDeviceParam = 5;
constexpr int kEventDeviceParam = 4;

}  // namespace

void RewriteReferences(const std::string& table, TIBSQL& source, TIBSQL& dest,
                       const KeyMap& keyMap) {
  const auto& positions = PositionRewrites();
  auto found = positions.find(table);
  if (found != positions.end())
    for (const PositionRewrite& rewrite : found->second)
      RewriteValue(dest.Param(rewrite.param), keyMap.Pair(rewrite.pair));

  if (table == "READERS") {
    for (const NamedRewrite& rewrite : kReaderDeviceColumns) {
      try {
        TIBXSQLVAR* param = dest.Params().FindByName(rewrite.param);
        if (param != nullptr) RewriteValue(*param, keyMap.Pair(rewrite.pair));
      } catch (const std::exception&) {
        // A device column that cannot be rewritten keeps its copied value.
      }
    }
  } else if (table == "PRGDEF") {
    const int pair = PairOfProgramDevice(source.ColumnByName("PD_TYPE").GetInteger());
    if (pair == 0) return;
    const TIBXSQLVAR& device = source.ColumnByName("PD_DEV_ID");
    if (device.IsNull()) return;
    dest.Param(kProgramDeviceParam).SetInteger(keyMap.Pair(pair).LookupNewKey(device.GetInteger()));
  } else if (table == "EVENTS" || table == "ALARM") {
    const int pair = PairOfEventDevice(source.ColumnByName("ED_HARDTYPE").GetInteger());
    if (pair != 0) RewriteValue(dest.Param(kEventDeviceParam), keyMap.Pair(pair));
  }
}
