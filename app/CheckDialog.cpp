#include "app/CheckDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/QtText.h"
#include "app/ReportView.h"
#include "app/ToolsWords.h"
#include "text/RussianTexts.h"
#include "transfer/CheckShown.h"

namespace {

constexpr size_t kShownCharacters = 80;

// A value as one short line: texts quoted, line breaks shown as \n, long ones cut.
QString Shown(const check::Value& value) {
  const ShownValue shown = ShowValue(value, kShownCharacters);
  switch (shown.kind) {
    case ShownValue::Kind::Unknown:
      return QStringLiteral("?");
    case ShownValue::Kind::Null:
      return QStringLiteral("NULL");
    case ShownValue::Kind::Bytes:
      return ToQt(ru::CheckBytes()).arg(CountText(static_cast<long long>(shown.bytes)));
    case ShownValue::Kind::Number:
      return ToQt(shown.text);
    case ShownValue::Kind::Text:
      break;
  }
  return QLatin1Char('"') + ToQt(shown.text) + (shown.cut ? QStringLiteral("...") : QString()) +
         QLatin1Char('"');
}

QString Key(const CheckDifference& difference) {
  return ToQt(DifferenceKey(difference));
}

QString Where(int line) {
  return line == 0 ? ToQt(ru::CheckEventsSection()) : ToQt(ru::CheckLine()).arg(line);
}

QString OneLine(const std::string& message) {
  return ToQt(message).remove(QLatin1Char('\r')).replace(QLatin1Char('\n'), QLatin1Char(' '));
}

QString Problem(const CheckProblem& problem) {
  switch (problem.kind) {
    case CheckProblem::Kind::LineFailed:
      return ToQt(ru::CheckLineFailed()).arg(Where(problem.line), OneLine(problem.error));
    case CheckProblem::Kind::LineUnparsable:
      return ToQt(ru::CheckLineUnparsable()).arg(Where(problem.line));
    case CheckProblem::Kind::NotCompared:
      return ToQt(ru::CheckNotCompared())
          .arg(Where(problem.line),
               problem.reason ? FindingText(*problem.reason) : OneLine(problem.error));
    case CheckProblem::Kind::NoDestTable:
      return ToQt(ru::CheckNoDestTable());
  }
  return QString();
}

QString Note(const CheckNote& note) {
  switch (note.kind) {
    case CheckNote::Kind::NoSourceTable:
      return ToQt(ru::CheckNoteNoSourceTable());
    case CheckNote::Kind::NoTableOnEitherSide:
      return ToQt(ru::CheckNoteNoTableOnEitherSide());
    case CheckNote::Kind::NoDestTableNoRows:
      return ToQt(ru::CheckNoteNoDestTableNoRows());
    case CheckNote::Kind::UpdateNotCompared:
      return ToQt(ru::CheckNoteUpdateNotCompared()).arg(Where(note.line), ToQt(note.detail));
    case CheckNote::Kind::UpdateColumnMissing:
      return ToQt(ru::CheckNoteUpdateColumnMissing()).arg(Where(note.line), ToQt(note.detail));
    case CheckNote::Kind::WrittenBySecondScript:
      return ToQt(ru::CheckNoteWrittenBySecondScript()).arg(ToQt(note.detail));
  }
  return QString();
}

QStringList Notes(const TableCheck& table) {
  QStringList notes;
  for (const CheckNote& note : table.notes) notes << Note(note);
  if (table.notMoved > 0) notes << ToQt(ru::CheckNoteNotMoved()).arg(CountText(table.notMoved));
  if (table.unresolved > 0)
    notes << ToQt(ru::CheckNoteUnresolved()).arg(CountText(table.unresolved));
  if (table.withoutRow > 0)
    notes << ToQt(ru::CheckNoteWithoutRow()).arg(CountText(table.withoutRow));
  return notes;
}

QVariant Count(long long value) {
  return static_cast<qlonglong>(value);
}

QString Lines(const std::vector<int>& lines) {
  QStringList names;
  for (int line : lines)
    names << (line == 0 ? ToQt(ru::CheckEventsSection()) : QString::number(line));
  return names.join(QStringLiteral(", "));
}

}  // namespace

CheckDialog::CheckDialog(QWidget* parent, std::function<CheckedRun()> check)
    : WorkDialog(parent),
      check_(std::move(check)),
      differences_(new ReportView(
          this,
          {ToQt(ru::CheckColumnTable()), ToQt(ru::CheckColumnKey()), ToQt(ru::CheckColumnColumn()),
           ToQt(ru::CheckColumnExpected()), ToQt(ru::CheckColumnActual())})),
      tables_(
          new ReportView(this, {ToQt(ru::CheckColumnTable()), ToQt(ru::CheckColumnLines()),
                                ToQt(ru::CheckColumnRead()), ToQt(ru::CheckColumnArrived()),
                                ToQt(ru::CheckColumnFailed()), ToQt(ru::CheckColumnDiffering()),
                                ToQt(ru::CheckColumnMissing()), ToQt(ru::CheckColumnUnexpected()),
                                ToQt(ru::CheckColumnResult()), ToQt(ru::CheckColumnNotes())})) {
  setObjectName(QStringLiteral("CheckDialog"));
  setWindowTitle(ToQt(ru::CheckTitle()));
  differences_->setObjectName(QStringLiteral("checkDifferences"));
  tables_->setObjectName(QStringLiteral("checkTables"));
  auto* tabs = new QTabWidget(this);
  tabs->addTab(differences_, ToQt(ru::CheckTabDifferences()));
  tabs->addTab(tables_, ToQt(ru::CheckTabTables()));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(buttons, &QDialogButtonBox::rejected, this, &CheckDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(StatusLine());
  layout->addWidget(tabs, 1);
  layout->addWidget(buttons);
  resize(900, 520);
  SetStatus(ToQt(ru::CheckReading()));
  StartWorkWhenShown([this] { checked_ = check_(); }, [this] { ShowCheck(); });
}

void CheckDialog::AddTable(const TableCheck& table) {
  const QString name = ToQt(table.table);
  const auto difference = [&](const QString& key, const QString& column, const QString& expected,
                              const QString& actual) {
    differences_->AddRow({name, key, column, expected, actual}, ReportView::Mark::Error);
  };
  for (const CheckProblem& problem : table.problems)
    difference(Where(problem.line), QString(), QString(), Problem(problem));
  for (const CheckDifference& sample : table.samples) {
    switch (sample.kind) {
      case CheckDifference::Kind::Value:
        difference(Key(sample), ToQt(sample.column), Shown(sample.expected), Shown(sample.actual));
        break;
      case CheckDifference::Kind::MissingRow:
        difference(Key(sample), QString(), ToQt(ru::CheckSourceRow()), ToQt(ru::CheckMissingRow()));
        break;
      case CheckDifference::Kind::NoNewKey:
        difference(Key(sample), QString(), ToQt(ru::CheckSourceRow()), ToQt(ru::CheckNoNewKey()));
        break;
      case CheckDifference::Kind::UnexpectedRow:
        difference(Key(sample), QString(), ToQt(ru::CheckNoRow()), ToQt(ru::CheckUnexpectedRow()));
        break;
    }
  }
  tables_->AddRow({name, Lines(table.lines), Count(table.sourceRows + table.updateRows),
                   Count(table.arrived + table.updated), Count(table.failed + table.updateFailed),
                   Count(table.differing + table.updateDiffering), Count(table.missing),
                   table.rowsCounted ? Count(table.unexpected) : QVariant(QString()),
                   ToQt(table.Ok() ? ru::CheckOk() : ru::CheckDifferent()),
                   Notes(table).join(QLatin1Char('\n'))},
                  table.Ok() ? ReportView::Mark::None : ReportView::Mark::Error);
}

void CheckDialog::ShowCheck() {
  if (!WorkError().empty()) checked_ = CheckedRun{std::nullopt, WorkError()};
  if (!checked_.check) {
    SetStatus(ToQt(ru::CheckNotMade()).arg(OneLine(checked_.error)));
    return;
  }
  const RunCheck& check = *checked_.check;
  for (const TableCheck& table : check.tables) AddTable(table);
  for (const StateCheck& state : check.states) {
    if (state.Ok()) continue;
    QStringList keys;
    for (const std::string& key : state.keys) keys << ToQt(key);
    differences_->AddRow(
        {ToQt(state.table), keys.join(QLatin1Char(' ')), ToQt(ru::CheckStates()),
         ToQt(ru::CheckStatesAsInSource()),
         state.error.empty() ? ToQt(ru::CheckStatesFound())
                                   .arg(CountText(state.differing), CountText(state.missing))
                             : OneLine(state.error)},
        ReportView::Mark::Error);
  }
  differences_->FitToContents();
  tables_->FitToContents();
  const long long differences = check.Differences();
  QString verdict = differences == 0 ? ToQt(ru::CheckNoDifference())
                                     : ToQt(ru::CheckDifferences()).arg(CountText(differences));
  if (check.NotMoved() > 0)
    verdict += QLatin1Char(' ') + ToQt(ru::CheckNotMovedTotal()).arg(CountText(check.NotMoved()));
  SetStatus(verdict);
}
