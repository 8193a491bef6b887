#include "transfer/ReferenceRewrites.h"

#include <exception>
#include <map>

#include "transfer/KeyMap.h"

namespace rewrites {

const std::vector<PositionRewrite>& PositionRewritesOf(const std::string& table) {
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
  static const std::vector<PositionRewrite> none;
  auto found = rewrites.find(table);
  return found == rewrites.end() ? none : found->second;
}

const std::array<NamedRewrite, 10>& ReaderDeviceColumns() {
  static constexpr std::array<NamedRewrite, 10> columns = {{
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
  return columns;
}

int TypedRewrite::PairOf(int type) const {
  for (const auto& [listed, pair] : pairOfType)
    if (listed == type) return pair;
  return 0;
}

const TypedRewrite* TypedRewriteOf(const std::string& table) {
  using namespace keymap;
  // Device kinds of program definitions (PD_TYPE), whose device key is PD_DEV_ID.
  static const TypedRewrite programs{
      5,
      "PD_TYPE",
      "PD_DEV_ID",
      {{4, kReaders}, {5, kCinputs}, {6, kPcn}, {7, kInputs}, {8, kOutputs}}};
  // Hardware types of event descriptions (ED_HARDTYPE): which table the event's device is in.
  static const TypedRewrite events{4,
                                   "ED_HARDTYPE",
                                   nullptr,
                                   {{1, kHosts},
                                    {2, kControllers},
                                    {3, kSlaves},
                                    {4, kReaders},
                                    {5, kCinputs},
                                    {6, kPcn},
                                    {7, kInputs},
                                    {8, kOutputs}}};
  if (table == "PRGDEF") return &programs;
  if (table == "EVENTS" || table == "ALARM") return &events;
  return nullptr;
}

}  // namespace rewrites

namespace {

void RewriteValue(TIBXSQLVAR& param, const KeyMapPair& pair) {
  if (param.IsNull()) return;
  param.SetInteger(pair.LookupNewKey(param.GetInteger()));
}

void RewriteTyped(const rewrites::TypedRewrite& rewrite, TIBSQL& source, TIBSQL& dest,
                  const KeyMap& keyMap) {
  const int pair = rewrite.PairOf(source.ColumnByName(rewrite.typeColumn).GetInteger());
  if (pair == 0) return;
  if (rewrite.sourceValueColumn == nullptr)
    return RewriteValue(dest.Param(rewrite.param), keyMap.Pair(pair));
  const TIBXSQLVAR& device = source.ColumnByName(rewrite.sourceValueColumn);
  if (device.IsNull()) return;
  dest.Param(rewrite.param).SetInteger(keyMap.Pair(pair).LookupNewKey(device.GetInteger()));
}

}  // namespace

void RewriteReferences(const std::string& table, TIBSQL& source, TIBSQL& dest,
                       const KeyMap& keyMap) {
  for (const rewrites::PositionRewrite& rewrite : rewrites::PositionRewritesOf(table))
    RewriteValue(dest.Param(rewrite.param), keyMap.Pair(rewrite.pair));

  if (table == rewrites::kNamedRewriteTable) {
    for (const rewrites::NamedRewrite& rewrite : rewrites::ReaderDeviceColumns()) {
      try {
        TIBXSQLVAR* param = dest.Params().FindByName(rewrite.param);
        if (param != nullptr) RewriteValue(*param, keyMap.Pair(rewrite.pair));
      } catch (const std::exception&) {
        // A device column that cannot be rewritten keeps its copied value.
      }
    }
  }
  if (const rewrites::TypedRewrite* typed = rewrites::TypedRewriteOf(table))
    RewriteTyped(*typed, source, dest, keyMap);
}
