#pragma once
// The check after a run: the verdict, then every difference found (table, key,
// column, the value the run meant to write and the one the destination holds)
// and the tables one by one, with what is noted beside them.
#include <functional>

#include "app/WorkDialog.h"
#include "transfer/RunGate.h"

class ReportView;

class CheckDialog : public WorkDialog {
  Q_OBJECT

 public:
  // `check` reads both databases; it runs on the dialog's own thread once the
  // dialog shows, and must use nothing the window may change meanwhile.
  CheckDialog(QWidget* parent, std::function<CheckedRun()> check);
  ~CheckDialog() override { EndWork(); }

  const CheckedRun& Checked() const { return checked_; }
  ReportView* Differences() const { return differences_; }
  ReportView* Tables() const { return tables_; }

 private:
  void ShowCheck();
  void AddTable(const TableCheck& table);

  std::function<CheckedRun()> check_;
  CheckedRun checked_;
  ReportView* differences_;
  ReportView* tables_;
};
