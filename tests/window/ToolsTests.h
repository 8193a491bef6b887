#pragma once
#include <QObject>

// The menu "Сервис" with real databases: the questions and refusals before a
// run, the plan, the restore and the check dialogs.
class ToolsTests : public QObject {
  Q_OBJECT

 private slots:
  void planErrorsBeforeARun_data();
  void planErrorsBeforeARun();
  void planDialogMarksTheErrorsAndWritesNothing();
  void interruptDuringTheBackupStopsBeforeTheFirstWrite();
  void restoreThroughTheDialog();
  void checkDialogNamesAnAlteredValue();
};
