// What the plan finds, in the command's words: the findings of the run and of
// each line, and how each generator's value is worked out.
#include <QCoreApplication>

#include "console/Language.h"
#include "console/Report.h"
#include "console/WindowTexts.h"
#include "transfer/RunPlan.h"

namespace {

class Findings {
  Q_DECLARE_TR_FUNCTIONS(Findings)
};

std::string Rows(long long count) {
  return lang::Fill(Findings::tr("%1 source rows", nullptr, lang::Plural(count)),
                    {lang::Count(count)});
}

// Words that take no names.
QString Plain(FindingKind kind) {
  switch (kind) {
    case FindingKind::EmptyTableList:
      return Findings::tr(
          "the table list names no table (no TABLE=KEY line): a run would copy nothing, yet run "
          "both scripts and reset the devices' states");
    case FindingKind::DestinationReadOnly:
      return Findings::tr(
          "the destination is in read-only mode: every write would fail (gfix -mode read_write "
          "makes it writable)");
    case FindingKind::EventTableInNeither:
      return Findings::tr("neither database has this table: the events section skips it");
    case FindingKind::EventTableNotInSource:
      return Findings::tr("the source has no such table: the events section skips it");
    case FindingKind::CopiedByEventsSection:
      return Findings::tr("copied by the events section, below");
    case FindingKind::EventsSectionLeftOut:
      return Findings::tr("copied only by the events section, which this run leaves out");
    case FindingKind::NeverEmptied:
      return Findings::tr("the table is never emptied: the extra clearing deletes nothing");
    case FindingKind::HostPortSetToOne:
      return Findings::tr("HS_PORT is set to 1 for every host");
    case FindingKind::OwnerPhotoEmpty:
      return Findings::tr("OW_PHOTO is written empty: the photos come through OWNERPHOTOS");
    case FindingKind::BlanksAroundTable:
      return Findings::tr(
          "blanks around the table name: it no longer matches the tables the transfer treats "
          "apart");
    case FindingKind::LineUnparsable:
      return Findings::tr("the line cannot be parsed: it has no TABLE=KEY before its markers");
    case FindingKind::TooFewColumnsToUpdate:
      return Findings::tr(
          "too few columns both sides have for the update in place: no row would be written");
    case FindingKind::NoCommonColumn:
      return Findings::tr("no column both sides have: every row would fail");
    default:
      return QString();
  }
}

}  // namespace

std::string FindingText(const PlanFinding& finding) {
  const std::string name = Utf8(finding.name), other = Utf8(finding.other);
  const std::string message = WindowMessage(finding.message);
  switch (finding.kind) {
    case FindingKind::EventTableNotInDest:
      return finding.count > 0
                 ? lang::Fill(
                       Findings::tr("the destination has no such table: %1 could not arrive"),
                       {Rows(finding.count)})
                 : lang::Fill(Findings::tr("the destination has no such table, and the source has "
                                           "no rows for it to move: the events section skips it"));
    case FindingKind::KeptKeysHeld:
      return lang::Fill(Findings::tr("%1 bring keys the destination already holds and does not "
                                     "delete first: those rows will fail"),
                        {Rows(finding.count)});
    case FindingKind::KeptKeysTwice:
      return lang::Fill(Findings::tr("%1 bring keys the destination already holds and does not "
                                     "delete first, with no unique key on them: those rows will "
                                     "be there twice"),
                        {Rows(finding.count)});
    case FindingKind::ZonesGoWithReaders:
      return lang::Fill(Findings::tr("every row of ZONES goes with the readers (%1 now)"),
                        {lang::Count(finding.count)});
    case FindingKind::UpdatedInPlace:
      return lang::Fill(
          Findings::tr("the destination's rows with the same %1 are updated; no row is added"),
          {name});
    case FindingKind::NewKeysGiven:
      return lang::Fill(
          Findings::tr("%1 is left to the destination, which gives every row a new key"), {name});
    case FindingKind::ColumnUpdated:
      return lang::Fill(Findings::tr("the destination's rows whose %1 equals a source row's get "
                                     "its %2; keys are not mapped"),
                        {other, name});
    case FindingKind::FirstColumnNotKey:
      return lang::Fill(Findings::tr("the first column both sides have is %1, not the key %2"),
                        {name, other});
    case FindingKind::ReferencedNotCopied:
      return lang::Fill(
          Findings::tr("%1 is not copied above this line: references to it become -1"), {name});
    case FindingKind::MacroDevicesNotCopied:
      return lang::Fill(
          Findings::tr("%1 is not copied above this line: macro lines naming it get -1"), {name});
    case FindingKind::NoColumnToUpdate:
      return lang::Fill(
          Findings::tr("no column named exactly \"%1\" on both sides: nothing is updated"), {name});
    case FindingKind::DestinationCannotDelete:
      return lang::Fill(Findings::tr("the destination cannot delete these rows: %1"), {message});
    case FindingKind::DestinationRefuses:
      return lang::Fill(Findings::tr("the destination: %1"), {message});
    case FindingKind::SourceRefuses:
      return lang::Fill(Findings::tr("the source: %1"), {message});
    case FindingKind::ColumnUpdateFails:
      return lang::Fill(Findings::tr("the column update: %1"), {message});
    case FindingKind::NoValueForReference:
      return lang::Fill(Findings::tr("the insert has no value %1 to rewrite a reference in: "
                                     "every row would fail"),
                        {std::to_string(finding.count)});
    case FindingKind::SourceLacksColumn:
      return lang::Fill(Findings::tr("the source rows have no %1: every row would fail"), {name});
    default:
      return lang::Fill(Plain(finding.kind));
  }
}

std::string GeneratorBasisText(const GeneratorPlan& generator) {
  if (!generator.unforeseen.empty())
    return lang::Fill(Findings::tr("cannot be foreseen: %1"),
                      {WindowMessage(generator.unforeseen)});
  std::string text;
  for (const GeneratorBasis& basis : generator.basis) {
    std::string part;
    switch (basis.kind) {
      case GeneratorBasis::Kind::NotListed:
        part = lang::Fill(Findings::tr("not in the table list: the destination's own rows"));
        break;
      case GeneratorBasis::Kind::NeverEmptied:
        part = lang::Fill(Findings::tr("the destination's own rows, never emptied"));
        break;
      case GeneratorBasis::Kind::RowsThatStay:
        part = lang::Fill(Findings::tr("the destination's rows that stay"));
        break;
      case GeneratorBasis::Kind::NewKeys:
        part = lang::Fill(Findings::tr("new keys after %1's present %2"),
                          {Utf8(generator.generator), lang::Count(basis.present)});
        break;
      case GeneratorBasis::Kind::SourceValues:
        part = lang::Fill(Findings::tr("the source rows' values"));
        break;
      case GeneratorBasis::Kind::Emptied:
        part = lang::Fill(Findings::tr("the table is emptied"));
        break;
    }
    text += (text.empty() ? "" : "; ") + part;
  }
  return text;
}

std::string GeneratorProblemText(const GeneratorPlan& generator) {
  const std::string message = WindowMessage(generator.problemMessage);
  switch (generator.problem) {
    case GeneratorPlan::Problem::None:
      return std::string();
    case GeneratorPlan::Problem::RunEndsHere:
      return lang::Fill(Findings::tr("the run would end at this entry, before the states are "
                                     "restored: %1"),
                        {message});
    case GeneratorPlan::Problem::CannotBeSet:
      return lang::Fill(Findings::tr("setting the generator would fail: %1"), {message});
  }
  return std::string();
}
