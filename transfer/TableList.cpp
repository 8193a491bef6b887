#include "transfer/TableList.h"

#include "text/Trim.h"

namespace {

// The text after the first `marker`, or empty when there is none.
std::string After(std::string_view line, char marker) {
  size_t at = line.find(marker);
  return at == std::string_view::npos ? std::string() : std::string(line.substr(at + 1));
}

// Splits at the first "=": without one the left part is empty and the right part
// is everything, which is how both control files have always read such lines.
void SplitAtEquals(std::string_view text, std::string& left, std::string& right) {
  size_t eq = text.find('=');
  if (eq == std::string_view::npos) {
    left.clear();
    right = std::string(text);
    return;
  }
  left = std::string(text.substr(0, eq));
  right = std::string(text.substr(eq + 1));
}

}  // namespace

bool IsControlFileComment(std::string_view line) {
  std::string trimmed = text::Trim(line);
  return !trimmed.empty() && trimmed.front() == '*';
}

TableListLine ParseTableListLine(std::string_view line, TableListPass pass) {
  TableListLine result;
  if (IsControlFileComment(line)) {
    result.comment = true;
    return result;
  }
  const size_t hash = line.find('#');
  const size_t percent = line.find('%');
  const size_t at = line.find('@');
  const size_t amp = line.find('&');
  constexpr size_t npos = std::string_view::npos;
  result.extraClearing = hash != npos;
  result.clearOnly = percent != npos;
  result.condition = at != npos;
  result.update = amp != npos;

  if (at != npos)
    result.argument = After(line, '@');
  else if (pass == TableListPass::Copying)
    result.argument = After(line, '&');

  // The cut follows a fixed order of markers, not the leftmost one.
  size_t cut = npos;
  for (size_t marker : {hash, percent, at, amp}) {
    if (marker != npos) {
      cut = marker;
      break;
    }
  }
  std::string_view namePart = cut == npos ? line : line.substr(0, cut);
  SplitAtEquals(namePart, result.table, result.keyColumn);
  return result;
}

const std::vector<EventTable>& EventSectionTables() {
  static const std::vector<EventTable> kTables = {
      {"EVENTS", "EV_ID"},     {"ALARM", "AL_ID"},      {"ACR$EVENTS", "AEV_ID"},
      {"STR_EVENTS", "EV_ID"}, {"STR_ALARMS", "AL_ID"}, {"ACR$ALARMS", "AAL_ID"},
  };
  return kTables;
}

bool IsEventTable(std::string_view table) {
  for (const EventTable& events : EventSectionTables())
    if (table == events.table) return true;
  return false;
}

bool IsDescriptionTable(std::string_view table) {
  return table == "EVDESC" || table == "ACR$EVDESC";
}

GeneratorEntry ParseGeneratorLine(std::string_view line) {
  GeneratorEntry result;
  if (IsControlFileComment(line)) {
    result.comment = true;
    return result;
  }
  std::string_view rest = line;
  size_t slash = line.find('/');
  if (slash != std::string_view::npos) {
    result.column = std::string(line.substr(slash + 1));
    rest = line.substr(0, slash);
  }
  SplitAtEquals(rest, result.generator, result.table);
  return result;
}
