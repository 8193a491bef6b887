#include "app/WorkDialog.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <utility>

#include "app/QtText.h"
#include "text/RussianTexts.h"

namespace {

constexpr int kProgressInterval = 100;  // ms: about ten times a second

}  // namespace

WorkDialog::WorkDialog(QWidget* parent) : QDialog(parent), status_(new QLabel(this)) {
  status_->setObjectName(QStringLiteral("status"));
  status_->setWordWrap(true);
  status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  ticker_.setInterval(kProgressInterval);
  connect(&ticker_, &QTimer::timeout, this, &WorkDialog::Poll);
}

WorkDialog::~WorkDialog() {
  EndWork();
}

void WorkDialog::EndWork() {
  if (work_.valid()) work_.wait();
}

void WorkDialog::StartWork(std::function<void()> work, std::function<void()> done) {
  done_ = std::move(done);
  workError_.clear();
  work_ = std::async(std::launch::async, [this, work = std::move(work)] {
    try {
      work();
    } catch (const std::exception& e) {
      workError_ = e.what();
    } catch (...) {
      workError_ = ru::UnknownError();
    }
  });
  ticker_.start();
}

void WorkDialog::StartWorkWhenShown(std::function<void()> work, std::function<void()> done) {
  workWhenShown_ = std::move(work);
  doneWhenShown_ = std::move(done);
}

void WorkDialog::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (workWhenShown_)
    StartWork(std::exchange(workWhenShown_, nullptr), std::exchange(doneWhenShown_, nullptr));
}

void WorkDialog::SetStatus(const QString& text) {
  statusText_ = text;
  status_->setText(closeWhenDone_ ? text + QLatin1Char('\n') + ToQt(ru::WorkWaitToClose()) : text);
}

void WorkDialog::Poll() {
  ShowProgress();
  if (work_.wait_for(std::chrono::seconds(0)) != std::future_status::ready) return;
  ticker_.stop();
  std::future<void> ended = std::move(work_);
  ended.wait();
  if (done_) std::exchange(done_, nullptr)();
  if (closeWhenDone_) QDialog::reject();
}

bool WorkDialog::WaitForWork(int milliseconds) {
  QDeadlineTimer deadline(milliseconds);
  while (Working() && !deadline.hasExpired())
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  return !Working();
}

void WorkDialog::CloseWhenDone() {
  closeWhenDone_ = true;
  SetStatus(statusText_);
}

void WorkDialog::reject() {
  if (Working())
    CloseWhenDone();
  else
    QDialog::reject();
}

void WorkDialog::closeEvent(QCloseEvent* e) {
  if (Working()) {
    CloseWhenDone();
    e->ignore();
    return;
  }
  QDialog::closeEvent(e);
}
