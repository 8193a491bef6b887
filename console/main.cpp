// db-dravik: the transfer of DB_Dravik from the command line, for scripts and
// for installers who rebuild many sites.
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QLocale>
#include <clocale>
#include <iostream>

#include "BuildInfo.h"
#include "app/ProgramFolder.h"
#include "app/RegionalFromLocale.h"
#include "console/Command.h"
#include "console/Language.h"
#include "console/Options.h"

namespace {

class Main {
  Q_DECLARE_TR_FUNCTIONS(Main)
};

}  // namespace

int main(int argc, char* argv[]) {
  // File names and messages follow the user's locale, as everything the
  // command prints is read on the user's terminal.
  std::setlocale(LC_ALL, "");
  QCoreApplication app(argc, argv);
  lang::Choose();
  // The run log's timestamps keep the regional formats, as the window's do.
  FillRegional(QLocale::system());
  // The window's program folder, so that one folder serves both programs.
  const auto programFolder = [] {
    const ProgramFolderChoice choice = ProgramFolderOf(
        QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString() + "/");
    if (!choice.problem.empty())
      std::cerr << lang::Fill(Main::tr("db-dravik: the program folder %1 could not be made: %2"),
                              {choice.folder, choice.problem})
                << "\n";
    return choice.folder;
  };

  ConsoleOptions options;
  std::string error;
  if (!ParseOptions(argc, argv, programFolder, options, error)) {
    std::cerr << "db-dravik: " << error << "\n" << Main::tr("Try db-dravik --help.") << "\n";
    return kExitNotStarted;
  }
  if (options.help) {
    std::cout << HelpText();
    return kExitClean;
  }
  if (options.version) {
    std::cout << "db-dravik " << build::kVersion << "\n";
    return kExitClean;
  }
  const ConsoleWindow::Progress progress = options.quiet ? ConsoleWindow::Progress::Quiet
                                           : ::isatty(STDOUT_FILENO)
                                               ? ConsoleWindow::Progress::Terminal
                                               : ConsoleWindow::Progress::Lines;
  return RunCommand(options, progress);
}
