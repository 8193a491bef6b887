#pragma once
// The window's words for what the guards, the plan, the backup and the restore
// return as data. Engine messages and texts of the control files are
// windows-1251; database and file names are the file system's bytes.
#include <QString>
#include <QStringList>
#include <string>

#include "transfer/RunGuards.h"

struct GeneratorPlan;
struct RunPlan;
struct TablePlan;
struct RestoreResult;

// A name of the file system as the window shows it.
QString FileNameText(const std::string& name);

// "12,3 МБ", in the regional format.
QString SizeText(long long bytes);
// A count in the regional format ("12 345").
QString CountText(long long count);

QString FindingText(const PlanFinding& finding);
// Why the run would end at a generator, or why it could not be set; empty when neither.
QString GeneratorProblemText(const GeneratorPlan& generator);
QString BackupProblemText(const BackupFileProblem& problem);

// Where in the run a line of the plan is: "строка 3 (CARDSDEF=CD_IDX)".
QString LineName(const TablePlan& line);

// Every error of the plan and of the backup file, each "where: what"; with
// `refusalsOnly` just those no one may run over.
QStringList PlanErrors(const RunPlan* plan, const BackupFileProblem& backup, bool refusalsOnly);

// What a restore of `dest` from `backup` left, for the box that ends it.
QString RestoreOutcomeText(const RestoreResult& result, const std::string& backup,
                           const std::string& dest);
