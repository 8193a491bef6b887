#include "app/PlanDialog.h"

#include <QDialogButtonBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "app/QtText.h"
#include "app/ReportView.h"
#include "app/ToolsWords.h"
#include "text/RussianTexts.h"

namespace {

bool Copies(const TablePlan& line) {
  if (line.Skipped()) return false;
  return line.action == LineAction::Copy || line.action == LineAction::UpdateInPlace ||
         line.action == LineAction::UpdateColumn || line.action == LineAction::Macros;
}

QString ActionText(const TablePlan& line) {
  if (line.Skipped()) return ToQt(ru::ActionSkipped());
  switch (line.action) {
    case LineAction::Comment:
    case LineAction::Blank:
      return ToQt(line.Fails() ? ru::ActionBroken() : ru::ActionNothing());
    case LineAction::Copy:
      return ToQt(ru::ActionCopy());
    case LineAction::UpdateInPlace:
      return ToQt(ru::ActionUpdateRows());
    case LineAction::UpdateColumn:
      return ToQt(ru::ActionUpdateColumn());
    case LineAction::ClearOnly:
      return ToQt(ru::ActionClear());
    case LineAction::Macros:
      return ToQt(ru::ActionMacros());
    case LineAction::EventsSectionOnly:
      return ToQt(ru::ActionEventsOnly());
  }
  return QStringLiteral("?");
}

QString KeysText(const TablePlan& line) {
  switch (line.keys) {
    case KeyHandling::New:
      return ToQt(ru::KeysNew()).arg(line.pair);
    case KeyHandling::Kept:
      return line.pair != 0 ? ToQt(ru::KeysKeptInPair()).arg(line.pair) : ToQt(ru::KeysKept());
    case KeyHandling::None:
      break;
  }
  return QString();
}

QVariant Number(const std::optional<long long>& value) {
  return value ? QVariant(static_cast<qlonglong>(*value)) : QVariant(QStringLiteral("?"));
}

QString Marked(const std::string& mark, const QString& text) {
  return ToQt(mark) + QLatin1String(": ") + text;
}

// The remarks of one line, errors first, and the mark of the worst of them.
QString Remarks(const TablePlan& line, ReportView::Mark& mark) {
  QStringList remarks;
  for (const Severity severity : {Severity::Error, Severity::Warning, Severity::Note})
    for (const PlanFinding& finding : line.findings)
      if (finding.severity == severity)
        remarks << Marked(severity == Severity::Error     ? ru::MarkError()
                          : severity == Severity::Warning ? ru::MarkWarning()
                                                          : ru::MarkNote(),
                          FindingText(finding));
  mark = line.Count(Severity::Error) > 0     ? ReportView::Mark::Error
         : line.Count(Severity::Warning) > 0 ? ReportView::Mark::Warning
         : remarks.isEmpty()                 ? ReportView::Mark::None
                                             : ReportView::Mark::Note;
  return remarks.join(QLatin1Char('\n'));
}

QString Totals(const RunPlan& plan) {
  long long deleted = 0, read = 0;
  int copied = 0, lines = 0;
  for (const TablePlan& line : plan.lines) {
    if (line.line != 0) ++lines;
    deleted += line.destRowsDeleted.value_or(0);
    if (Copies(line)) read += line.sourceRows.value_or(0);
    if (line.action == LineAction::Copy || line.action == LineAction::Macros) ++copied;
  }
  return ToQt(ru::PlanTotals())
      .arg(CountText(lines), CountText(copied), CountText(deleted), CountText(read),
           CountText(static_cast<long long>(plan.generators.size())), CountText(plan.Warnings()),
           CountText(plan.Errors()));
}

}  // namespace

QString PlanFailureText(const RunGate& gate) {
  if (gate.attachFailed == DatabaseSide::None) return ToQt(gate.planError);
  return ToQt(ru::AttachFailed())
      .arg(ToQt(gate.attachFailed == DatabaseSide::Source ? ru::SideSource() : ru::SideDest()),
           ToQt(gate.planError));
}

PlanDialog::PlanDialog(QWidget* parent, const TIBDatabase& connectLike, RunGateRequest request)
    : WorkDialog(parent),
      connectLike_(connectLike),
      request_(std::move(request)),
      lines_(
          new ReportView(this, {ToQt(ru::PlanColumnLine()), ToQt(ru::PlanColumnTable()),
                                ToQt(ru::PlanColumnAction()), ToQt(ru::PlanColumnDeleted()),
                                ToQt(ru::PlanColumnSourceRows()), ToQt(ru::PlanColumnKeys()),
                                ToQt(ru::PlanColumnRowsAfter()), ToQt(ru::PlanColumnRemarks())})),
      details_(new QPlainTextEdit(this)),
      totals_(new QLabel(this)) {
  setObjectName(QStringLiteral("PlanDialog"));
  setWindowTitle(ToQt(ru::PlanTitle()));
  lines_->setObjectName(QStringLiteral("planLines"));
  totals_->setObjectName(QStringLiteral("planTotals"));
  totals_->setWordWrap(true);
  auto* heading = new QLabel(ToQt(ru::PlanNothingWritten())
                                 .arg(FileNameText(request_.source), FileNameText(request_.dest)),
                             this);
  heading->setTextInteractionFlags(Qt::TextSelectableByMouse);
  details_->setObjectName(QStringLiteral("planDetails"));
  details_->setReadOnly(true);
  details_->setMaximumHeight(110);
  // The remarks of the line the operator is on, whole.
  connect(lines_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) {
            const int last = lines_->model()->columnCount() - 1;
            details_->setPlainText(ReportView::WholeText(current.siblingAtColumn(last)));
          });
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(buttons, &QDialogButtonBox::rejected, this, &PlanDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(heading);
  layout->addWidget(StatusLine());
  layout->addWidget(lines_, 1);
  layout->addWidget(details_);
  layout->addWidget(totals_);
  layout->addWidget(buttons);
  resize(1000, 620);
  SetStatus(ToQt(ru::PlanReading()));
  StartWorkWhenShown([this] { gate_ = GateRun(connectLike_, request_); }, [this] { ShowPlan(); });
}

void PlanDialog::ShowPlan() {
  if (!WorkError().empty()) gate_.planError = WorkError();
  for (const QString& problem : PlanErrors(nullptr, gate_.backup, false))
    lines_->AddRow({QString(), QString(), QString(), QString(), QString(), QString(), QString(),
                    Marked(ru::MarkError(), problem)},
                   ReportView::Mark::Error, {qlonglong(-1)});
  if (!gate_.plan) {
    SetStatus(ToQt(ru::PlanNotMade()).arg(PlanFailureText(gate_)));
    lines_->FitToContents();
    return;
  }
  const RunPlan& plan = *gate_.plan;
  for (const PlanFinding& finding : plan.findings) {
    const ReportView::Mark mark =
        finding.severity == Severity::Error ? ReportView::Mark::Error : ReportView::Mark::Warning;
    lines_->AddRow(
        {QString(), QString(), QString(), QString(), QString(), QString(), QString(),
         Marked(finding.severity == Severity::Error ? ru::MarkError() : ru::MarkWarning(),
                FindingText(finding))},
        mark, {qlonglong(0)});
  }
  qlonglong order = 1;
  for (const TablePlan& line : plan.lines) {
    ++order;
    if (line.action == LineAction::Comment) continue;
    ReportView::Mark mark;
    const QString remarks = Remarks(line, mark);
    lines_->AddRow(
        {line.line == 0 ? ToQt(ru::PlanEventsLine()) : QString::number(line.line), ToQt(line.table),
         ActionText(line), line.deletes ? Number(line.destRowsDeleted) : QVariant(QString()),
         Copies(line) ? Number(line.sourceRows) : QVariant(QString()), KeysText(line),
         line.destRowsAfter ? Number(line.destRowsAfter) : QVariant(QString()), remarks},
        mark, {order});
  }
  // Generators and scripts have no table-list line of their own: only their errors show.
  auto otherError = [&](const QString& where, const QString& error) {
    lines_->AddRow({where, QString(), QString(), QString(), QString(), QString(), QString(),
                    Marked(ru::MarkError(), error)},
                   ReportView::Mark::Error, {++order});
  };
  for (const GeneratorPlan& generator : plan.generators)
    if (generator.problem != GeneratorPlan::Problem::None)
      otherError(ToQt(ru::WhereGenerator()).arg(generator.line).arg(ToQt(generator.generator)),
                 GeneratorProblemText(generator));
  for (const ScriptPlan* script : {&plan.firstScript, &plan.secondScript})
    if (!script->error.empty()) otherError(FileNameText(script->file), ToQt(script->error));
  lines_->FitToContents();
  // The operator starts at the first error, or the first line.
  int first = 0;
  for (int row = 0; row < lines_->model()->rowCount(); ++row)
    if (lines_->model()->index(row, 0).data(ReportView::kMarkRole).toInt() ==
        int(ReportView::Mark::Error)) {
      first = row;
      break;
    }
  lines_->selectRow(first);
  lines_->scrollTo(lines_->model()->index(first, 0));
  totals_->setText(Totals(plan));
  SetStatus(ToQt(gate_.verdict.refusals > 0 ? ru::PlanErrorsRefused()
                 : gate_.verdict.errors > 0 ? ru::PlanErrorsAsked()
                                            : ru::PlanNoErrors()));
}
