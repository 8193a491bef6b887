#pragma once
// The plan of a run for the two boxes as they stand: both databases read, not
// written, and what each line of the table list would do, its errors and
// warnings marked, then the totals and whether a run would start.
#include "app/WorkDialog.h"
#include "transfer/RunGate.h"

class ReportView;
class TIBDatabase;

class PlanDialog : public WorkDialog {
  Q_OBJECT

 public:
  // `request` is the run's, copied: the boxes may change while the plan is made.
  PlanDialog(QWidget* parent, const TIBDatabase& connectLike, RunGateRequest request);
  ~PlanDialog() override { EndWork(); }

  const RunGate& Gate() const { return gate_; }
  ReportView* Lines() const { return lines_; }

 private:
  void ShowPlan();

  const TIBDatabase& connectLike_;
  const RunGateRequest request_;
  RunGate gate_;
  ReportView* lines_;
  class QPlainTextEdit* details_;
  class QLabel* totals_;
};

// The text of a gate that has no plan: the database that cannot be opened, or
// the reason the plan could not be made.
QString PlanFailureText(const RunGate& gate);
