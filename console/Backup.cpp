#include "console/Backup.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QStringList>
#include <chrono>
#include <iostream>

#include "console/Interrupts.h"
#include "console/Language.h"
#include "console/Report.h"

namespace {

class WayBack {
  Q_DECLARE_TR_FUNCTIONS(WayBack)
};

// An answer to a yes-or-no question: "y" or "yes", and under Russian also "д"
// or "да", in any letter case.
bool SaysYes(const std::string& answer) {
  const QString word = QString::fromStdString(answer).trimmed().toLower();
  QStringList yes = {QStringLiteral("y"), QStringLiteral("yes")};
  if (lang::Russian()) yes << QStringLiteral("д") << QStringLiteral("да");
  return yes.contains(word);
}

// Asks on the terminal.
bool Confirmed(const std::string& dest, const std::string& file) {
  std::cerr << lang::Fill(WayBack::tr("db-dravik: the database %1 is replaced by the backup %2; "
                                      "what it holds now is lost.\nRestore it? [y/N] "),
                          {dest, file})
            << std::flush;
  std::string answer;
  if (!std::getline(std::cin, answer)) return false;
  return SaysYes(answer);
}

}  // namespace

BackupResult BackUpWithProgress(ConsoleWindow& window, const std::string& dest,
                                const std::string& file) {
  window.BeginStep(lang::Fill(WayBack::tr("backup of the destination into %1"), {file}));
  const BackupResult result =
      BackUpDestination(dest, file, [&](long long bytes) { window.SetStepBytes(bytes); });
  if (result.made) window.SetStepBytes(result.size);
  return result;
}

int RestoreCommand(const ConsoleOptions& options, const std::string& dest, ConsoleWindow& window) {
  if (!options.yes) {
    if (!::isatty(STDIN_FILENO)) {
      window.ErrorUtf8(
          lang::Fill(WayBack::tr("db-dravik: --restore replaces the destination; off a "
                                 "terminal it needs --yes. Nothing was restored.")));
      return kExitNotStarted;
    }
    if (!Confirmed(options.dest, options.restore)) {
      window.ErrorUtf8(lang::Fill(WayBack::tr("db-dravik: nothing was restored.")));
      return kExitNotStarted;
    }
  }
  // A restore cannot be stopped halfway without leaving the destination as it
  // was, and that is what it does when it fails; Ctrl-C only waits for its end.
  interrupts::Install(false);
  const auto start = std::chrono::steady_clock::now();
  window.BeginStep(
      lang::Fill(WayBack::tr("restore of the destination from %1"), {options.restore}));
  const RestoreResult result = RestoreDestination(
      options.restore, dest, [&](long long bytes) { window.SetStepBytes(bytes); });
  window.Finish();
  if (result.now != DestinationNow::Restored) {
    window.Error(result.error);
    window.ErrorUtf8("db-dravik: " + RestoreFailureAdvice(result, options.restore, dest));
    return result.now == DestinationNow::AsItWas ? kExitNotStarted : kExitFailures;
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::cout << lang::Fill(WayBack::tr("Restored %1 from the backup %2, %3 read in %4 s."),
                          {options.dest, options.restore, SizeText(result.bytesRead),
                           lang::Decimal(seconds, 1)})
            << "\n";
  if (interrupts::Requested())
    std::cout << WayBack::tr(
                     "The interrupt came while the restore was under way; it has been finished.")
              << "\n";
  std::cout.flush();
  return kExitClean;
}
