#include "console/WindowTexts.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "console/Language.h"
#include "text/Cp1251.h"
#include "text/RussianTexts.h"

namespace {

struct InEnglish {
  const std::string& (*russian)();
  const char* english;
};

const InEnglish kStatuses[] = {
    {ru::StatusSavingStates, "Saving the run-time data..."},
    {ru::StatusProcessing, "Processing"},
    {ru::StatusRestoringGenerators, "Restoring the generators."},
    {ru::StatusRestoringStates, "Restoring the run-time data..."},
    {ru::StatusDone, "Data transfer finished."},
    {ru::StatusInterrupted, "Data transfer interrupted"},
    {ru::StatusClearing, "Clearing the destination database."},
};

const InEnglish kMessages[] = {
    {ru::SamePathsMessage, "The source and destination databases must be different."},
    {ru::RunLogNotCreated, "The run log cannot be created,\r  the work cannot go on."},
    {ru::TableListNotFound, "The table list file was not found,\r  the work cannot go on."},
    {ru::GeneratorListNotFound, "The generator list file was not found,\r  the work cannot go on."},
    {ru::InterruptWarning,
     "Warning!!!\rThe data transfer was interrupted by the user.\rRefresh the destination "
     "database before the transfer is started again."},
    {ru::UnknownError, "Unknown error"},
    {ru::OlderEngineDatabase, "The database "},
    {ru::OlderEngineStructure, " was made by an older version of Firebird (file structure "},
    {ru::OlderEngineCannotOpen, ") and this version of Firebird does not open it."},
    {ru::OlderEngineAdvice,
     "Open it through a Firebird server of that version (a name like host:/path/base.fdb), or "
     "back it up with gbak of that version and restore the copy with gbak of this version of "
     "Firebird."},
    {ru::ServiceNotABackup,
     "The file is not a whole backup of a database (another file, cut short or damaged): "},
    {ru::ServiceDatabaseInUse,
     "The database is in use by another program; close it and try again: "},
    {ru::ServiceDiskFull, "Not enough space on the disk: "},
    {ru::ServiceBackupFailed, "The backup was not made: "},
    {ru::ServiceRestoreFailed, "The database was not restored and is as it was: "},
    {ru::ServiceBackupFileNotRead, "Cannot read the backup file "},
    {ru::ServiceBackupFileNotWritten, "Cannot write the backup file "},
    {ru::ServiceBackupIsTheDatabase,
     "The backup was not made: its file cannot be the database itself: "},
    {ru::ServiceDatabaseNotReplaced, "Cannot replace the database with the restored one: "},
    {ru::ServiceCopyKeptOnServer,
     "The database on the server was not replaced to the end. The copy restored from the "
     "backup and checked is kept on the server: "},
    {ru::ServiceReplaceOnServerFailed,
     "The restore of the database on the server was cut short; the server may already have "
     "removed the old database: "},
    {ru::ServiceFolderNotSynced,
     "The file is written, but its folder could not be saved to disk: "},
    {ru::ServiceDatabaseSizeUnknown, "Cannot tell the size of the database "},
};

}  // namespace

std::string WindowStatus(const std::string& status) {
  if (!lang::Russian())
    for (const InEnglish& text : kStatuses)
      if (status == text.russian()) return text.english;
  return text::Utf8FromCp1251(status);
}

std::string WindowMessage(const std::string& message) {
  std::string english = message;
  if (!lang::Russian()) {
    // Longest first: "База данных " begins several of the others.
    std::vector<const InEnglish*> texts;
    for (const InEnglish& text : kMessages) texts.push_back(&text);
    std::stable_sort(texts.begin(), texts.end(), [](const InEnglish* a, const InEnglish* b) {
      return a->russian().size() > b->russian().size();
    });
    for (const InEnglish* text : texts) {
      const std::string& russian = text->russian();
      for (size_t at = english.find(russian); at != std::string::npos;
           at = english.find(russian, at)) {
        english.replace(at, russian.size(), text->english);
        at += std::strlen(text->english);
      }
    }
  }
  return text::Utf8FromCp1251(english);
}
