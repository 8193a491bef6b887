#pragma once
// Close requests from outside the program (SIGTERM, SIGHUP, SIGINT) arrive
// through the message loop, as a posted close message did on the first
// platform: the signal handler only writes a byte into a pipe, and the loop
// reads it and reports `requested`.
#include <QObject>
#include <csignal>

class QSocketNotifier;

class OutsideCloseRequests : public QObject {
  Q_OBJECT

 public:
  // Installs the handlers; one instance at a time. The destructor restores the
  // handlers that were there before.
  explicit OutsideCloseRequests(QObject* parent = nullptr);
  ~OutsideCloseRequests() override;

 signals:
  void requested();

 private:
  void ReadPipe();

  static constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};
  int pipe_[2] = {-1, -1};
  struct sigaction previous_[3];
  QSocketNotifier* notifier_ = nullptr;
};
