#pragma once
#include <QObject>

class ServicesTests : public QObject {
  Q_OBJECT

 private slots:
  void aboutLibraryMissing();
  void aboutLibraryWithoutEntry();
  void aboutLibraryWithEntry();
  void aboutMenuItemLoadsFromTheProgramFolder();
  void missingHelpFileIsReported();
  void regionalSettingsFromTheRussianLocale();
  void timeFormatWithoutTimeZone_data();
  void timeFormatWithoutTimeZone();
  void outsideCloseRequest_data();
  void outsideCloseRequest();
  void outsideCloseRequestDuringRunLeavesWindowOpen();
  void masterModuleOwnsTheStatementLock();
};
