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
      return finding.count > 0
                 ? ToQt(ru::FindingEventTableNotInDest()).arg(CountText(finding.count))
                 : ToQt(ru::FindingEventTableNotInDestNoRows());
    case FindingKind::KeptKeysHeld:
      return ToQt(ru::FindingKeptKeysHeld()).arg(CountText(finding.count));
    case FindingKind::KeptKeysTwice:
      return ToQt(ru::FindingKeptKeysTwice()).arg(CountText(finding.count));
  }
  return QStringLiteral("?");
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
  for (const TablePlan& line : plan->lines) {
    for (const std::string& error : line.errors) errors << Said(LineName(line), ToQt(error));
    for (const PlanFinding& finding : line.findings)
      if (finding.severity == Severity::Error) errors << Said(LineName(line), FindingText(finding));
  }
  for (const GeneratorPlan& generator : plan->generators)
    if (!generator.error.empty())
      errors << Said(ToQt(ru::WhereGenerator()).arg(generator.line).arg(ToQt(generator.generator)),
                     ToQt(generator.error));
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
