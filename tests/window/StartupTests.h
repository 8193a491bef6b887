#pragma once
#include <QObject>

class StartupTests : public QObject {
  Q_OBJECT

 private slots:
  void programFolderOfTheExecutable_data();
  void programFolderOfTheExecutable();
  void stepCountIsTheTableListLineCount_data();
  void stepCountIsTheTableListLineCount();
  void runLogIsCreatedEmpty();
  void controlFilesAreFoundWhateverTheirLetterCase();
  void failingCheckEndsTheProgram_data();
  void failingCheckEndsTheProgram();
  void checksAreNotRepeatedOnLaterActivation();
};
