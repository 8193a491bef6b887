#pragma once
#include <QObject>

class FormTests : public QObject {
  Q_OBJECT

 private slots:
  void startsWithStartCommandDisabled();
  void pathsEnableStartCommand_data();
  void pathsEnableStartCommand();
  void typingTheSamePathWarnsWhenTextsBecomeEqual();
  void browseButtonQuotesPathsWithBlanks_data();
  void browseButtonQuotesPathsWithBlanks();
  void menuBrowseWritesTheNameUnquoted();
  void browseFilterReadsAsQtNameFilter();
  void interruptQuestion_data();
  void interruptQuestion();
  void runningAndIdleStates();
  void busyCursorFollowsTheRun();
  void reportsAndWarnings();
  void statusAndProgressBars();
  void eventsDate_data();
  void eventsDate();
  void tabOrderAndFirstFocus();
  void helpOpensTheHelpFileAtContext10();
  void runWithMissingSourceEndsIdleWithTheDatabaseMessage();
};
