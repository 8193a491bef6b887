#pragma once
// A dialog of the menu "Сервис" whose work (reading both databases, restoring
// one) runs on a thread of its own, so the window stays responsive: its progress
// is shown about ten times a second, and a request to close the dialog while
// the work runs, which cannot be stopped halfway, closes it once the work ends.
#include <QDialog>
#include <QTimer>
#include <functional>
#include <future>
#include <string>

class QLabel;

class WorkDialog : public QDialog {
  Q_OBJECT

 public:
  explicit WorkDialog(QWidget* parent);
  ~WorkDialog() override;

  bool Working() const { return work_.valid(); }
  // Tests: processes the window's messages until the work has ended and its
  // result is shown; false when `milliseconds` pass first.
  bool WaitForWork(int milliseconds);

  void reject() override;

 protected:
  // Runs `work` on a thread of its own; `done` then runs on the window's thread.
  // The work touches nothing of the dialog's widgets. One work at a time. A
  // dialog whose work uses its own members waits for it in its destructor
  // (EndWork), before they go.
  void StartWork(std::function<void()> work, std::function<void()> done);
  // The same, once the dialog is first shown, so that it opens at once.
  void StartWorkWhenShown(std::function<void()> work, std::function<void()> done);
  // The message of an error the last work raised; empty when it raised none.
  const std::string& WorkError() const { return workError_; }
  void EndWork();
  // Called about ten times a second while the work runs, on the window's thread.
  virtual void ShowProgress() {}

  // The line that says what the dialog is doing, for the dialog's layout.
  QLabel* StatusLine() const { return status_; }
  void SetStatus(const QString& text);

  void closeEvent(QCloseEvent* e) override;
  void showEvent(QShowEvent* e) override;

 private:
  void Poll();
  void CloseWhenDone();

  QLabel* status_;
  QTimer ticker_;
  std::future<void> work_;
  std::function<void()> done_;
  std::function<void()> workWhenShown_, doneWhenShown_;
  std::string workError_;
  QString statusText_;
  bool closeWhenDone_ = false;
};
