#include "app/ToolsWords.h"

#include <QFile>
#include <QLocale>
#include <cstring>

#include "app/QtText.h"
#include "text/RussianTexts.h"
#include "transfer/RunPlan.h"
#include "transfer/WayBack.h"

namespace {

QString Side(DatabaseSide side) {
  return ToQt(side == DatabaseSide::Source ? ru::SideSource() : ru::SideDest());
}

QString Said(const QString& where, const QString& what) {
  return where.isEmpty() ? what : where + QLatin1String(": ") + what;
}

}  // namespace

QString FileNameText(const std::string& name) {
  return QFile::decodeName(QByteArray::fromStdString(name));
}

QString SizeText(long long bytes) {
  return ToQt(ru::Megabytes()).arg(QLocale().toString(bytes / (1024.0 * 1024.0), 'f', 1));
}

QString CountText(long long count) {
  return QLocale().toString(count);
}

QString FindingText(const PlanFinding& finding) {
  const QString name = ToQt(finding.name), other = ToQt(finding.other);
  const QString message = ToQt(finding.message);
  const QString count = CountText(finding.count);
  switch (finding.kind) {
    case FindingKind::EmptyTableList:
      return ToQt(ru::FindingEmptyTableList());
    case FindingKind::DestinationReadOnly:
      return ToQt(ru::FindingDestinationReadOnly());
    case FindingKind::EventTableInNeither:
      return ToQt(ru::FindingEventTableInNeither());
    case FindingKind::EventTableNotInSource:
      return ToQt(ru::FindingEventTableNotInSource());
    case FindingKind::EventTableNotInDest:
      return finding.count > 0 ? ToQt(ru::FindingEventTableNotInDest()).arg(count)
                               : ToQt(ru::FindingEventTableNotInDestNoRows());
    case FindingKind::KeptKeysHeld:
      return ToQt(ru::FindingKeptKeysHeld()).arg(count);
    case FindingKind::KeptKeysTwice:
      return ToQt(ru::FindingKeptKeysTwice()).arg(count);
    case FindingKind::ZonesGoWithReaders:
      return ToQt(ru::FindingZonesGoWithReaders()).arg(count);
    case FindingKind::CopiedByEventsSection:
      return ToQt(ru::FindingCopiedByEventsSection());
    case FindingKind::EventsSectionLeftOut:
      return ToQt(ru::FindingEventsSectionLeftOut());
    case FindingKind::NeverEmptied:
      return ToQt(ru::FindingNeverEmptied());
    case FindingKind::HostPortSetToOne:
      return ToQt(ru::FindingHostPortSetToOne());
    case FindingKind::UpdatedInPlace:
      return ToQt(ru::FindingUpdatedInPlace()).arg(name);
    case FindingKind::NewKeysGiven:
      return ToQt(ru::FindingNewKeysGiven()).arg(name);
    case FindingKind::OwnerPhotoEmpty:
      return ToQt(ru::FindingOwnerPhotoEmpty());
    case FindingKind::ColumnUpdated:
      return ToQt(ru::FindingColumnUpdated()).arg(other, name);
    case FindingKind::BlanksAroundTable:
      return ToQt(ru::FindingBlanksAroundTable());
    case FindingKind::FirstColumnNotKey:
      return ToQt(ru::FindingFirstColumnNotKey()).arg(name, other);
    case FindingKind::ReferencedNotCopied:
      return ToQt(ru::FindingReferencedNotCopied()).arg(name);
    case FindingKind::MacroDevicesNotCopied:
      return ToQt(ru::FindingMacroDevicesNotCopied()).arg(name);
    case FindingKind::NoColumnToUpdate:
      return ToQt(ru::FindingNoColumnToUpdate()).arg(name);
    case FindingKind::LineUnparsable:
      return ToQt(ru::FindingLineUnparsable());
    case FindingKind::DestinationCannotDelete:
      return ToQt(ru::FindingDestinationCannotDelete()).arg(message);
    case FindingKind::DestinationRefuses:
      return ToQt(ru::FindingDestinationRefuses()).arg(message);
    case FindingKind::SourceRefuses:
      return ToQt(ru::FindingSourceRefuses()).arg(message);
    case FindingKind::TooFewColumnsToUpdate:
      return ToQt(ru::FindingTooFewColumnsToUpdate());
    case FindingKind::NoCommonColumn:
      return ToQt(ru::FindingNoCommonColumn());
    case FindingKind::ColumnUpdateFails:
      return ToQt(ru::FindingColumnUpdateFails()).arg(message);
    case FindingKind::NoValueForReference:
      return ToQt(ru::FindingNoValueForReference()).arg(finding.count);
    case FindingKind::SourceLacksColumn:
      return ToQt(ru::FindingSourceLacksColumn()).arg(name);
  }
  return QStringLiteral("?");
}

QString GeneratorProblemText(const GeneratorPlan& generator) {
  const QString message = ToQt(generator.problemMessage);
  switch (generator.problem) {
    case GeneratorPlan::Problem::None:
      break;
    case GeneratorPlan::Problem::RunEndsHere:
      return ToQt(ru::GeneratorRunEndsHere()).arg(message);
    case GeneratorPlan::Problem::CannotBeSet:
      return ToQt(ru::GeneratorCannotBeSet()).arg(message);
  }
  return QString();
}

QString BackupProblemText(const BackupFileProblem& problem) {
  const QString path = FileNameText(problem.path);
  switch (problem.clash) {
    case BackupClash::None:
      return QString();
    case BackupClash::Database:
      return ToQt(ru::BackupOnDatabase()).arg(Side(problem.side), path);
    case BackupClash::TableList:
      return ToQt(ru::BackupOnTableList()).arg(path);
    case BackupClash::GeneratorList:
      return ToQt(ru::BackupOnGeneratorList()).arg(path);
    case BackupClash::Script:
      return ToQt(ru::BackupOnScript()).arg(path);
    case BackupClash::RunLog:
      return ToQt(ru::BackupOnRunLog()).arg(path);
    case BackupClash::Executable:
      return ToQt(ru::BackupOnProgram()).arg(path);
    case BackupClash::FolderNotWritable:
      return ToQt(ru::BackupFolderNotWritable())
          .arg(path, QString::fromLocal8Bit(std::strerror(problem.systemError)));
  }
  return QStringLiteral("?");
}

QString LineName(const TablePlan& line) {
  if (line.line == 0) return ToQt(ru::WhereEvents()).arg(ToQt(line.table));
  return ToQt(ru::WhereLine()).arg(line.line).arg(ToQt(line.text));
}

QStringList PlanErrors(const RunPlan* plan, const BackupFileProblem& backup, bool refusalsOnly) {
  QStringList errors;
  if (backup.Found()) errors << Said(ToQt(ru::WhereBackup()), BackupProblemText(backup));
  if (!plan) return errors;
  for (const PlanFinding& finding : plan->findings)
    if (finding.severity == Severity::Error && (!refusalsOnly || IsRefusal(finding)))
      errors << FindingText(finding);
  if (refusalsOnly) return errors;
  for (const TablePlan& line : plan->lines)
    for (const PlanFinding& finding : line.findings)
      if (finding.severity == Severity::Error) errors << Said(LineName(line), FindingText(finding));
  for (const GeneratorPlan& generator : plan->generators)
    if (generator.problem != GeneratorPlan::Problem::None)
      errors << Said(ToQt(ru::WhereGenerator()).arg(generator.line).arg(ToQt(generator.generator)),
                     GeneratorProblemText(generator));
  for (const ScriptPlan* script : {&plan->firstScript, &plan->secondScript})
    if (!script->error.empty()) errors << Said(FileNameText(script->file), ToQt(script->error));
  return errors;
}

QString RestoreOutcomeText(const RestoreResult& result, const std::string& backup,
                           const std::string& dest) {
  const QString destName = FileNameText(dest);
  const QString error = ToQt(result.error);
  switch (result.now) {
    case DestinationNow::Restored:
      return ToQt(ru::RestoreDone()).arg(destName, FileNameText(backup));
    case DestinationNow::AsItWas:
      return ToQt(ru::RestoreAsItWas()).arg(destName, error);
    case DestinationNow::BackupInPlace:
      return ToQt(ru::RestoreBackupInPlace()).arg(destName, error);
    case DestinationNow::NotKnown:
      return ToQt(ru::RestoreNotKnown()).arg(destName, FileNameText(result.keptCopy), error);
  }
  return error;
}
