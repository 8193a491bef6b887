// --help: the usage, every option and the exit codes, in the user's language.
// The texts are whole paragraphs; the layout (columns, wrapping) is made here,
// so that a translation never has to count blanks.
#include <QCoreApplication>
#include <QStringList>
#include <vector>

#include "console/Language.h"
#include "console/Options.h"

namespace {

class Help {
  Q_DECLARE_TR_FUNCTIONS(Help)
};

constexpr int kWidth = 78;
constexpr int kOptionColumn = 28;

// `text` wrapped at word ends to kWidth; the first line begins with `first`,
// the others with `indent` blanks.
QString Wrapped(const QString& text, const QString& first, int indent) {
  QString out = first;
  int column = static_cast<int>(first.size());
  bool lineEmpty = true;
  for (const QString& word : text.split(u' ', Qt::SkipEmptyParts)) {
    if (!lineEmpty && column + 1 + word.size() > kWidth) {
      out += u'\n' + QString(indent, u' ');
      column = indent;
      lineEmpty = true;
    }
    if (!lineEmpty) {
      out += u' ';
      ++column;
    }
    out += word;
    column += static_cast<int>(word.size());
    lineEmpty = false;
  }
  return out + u'\n';
}

QString Option(const QString& syntax, const QString& description) {
  QString first = QStringLiteral("  ") + syntax;
  if (first.size() + 2 > kOptionColumn) {
    // A long option name gets its description on the next line.
    return first + u'\n' + Wrapped(description, QString(kOptionColumn, u' '), kOptionColumn);
  }
  first = first.leftJustified(kOptionColumn, u' ');
  return Wrapped(description, first, kOptionColumn);
}

QString ExitCode(int code, const QString& meaning) {
  return Wrapped(meaning, QStringLiteral("  %1  ").arg(code), 5);
}

QString Text() {
  QString text = Help::tr(
                     "Usage: db-dravik --source DB --dest DB [OPTION]...\n"
                     "  or:  db-dravik --restore FILE --dest DB [--yes] [--quiet]") +
                 QStringLiteral("\n\n");
  text += Wrapped(Help::tr("Moves the configuration of an access-control installation from the "
                           "source database into the destination, as the window DB_Dravik does, "
                           "without a window. A database is a file path (opened by the embedded "
                           "engine) or host:/path or host/port:/path (a Firebird server)."),
                  QString(), 0);
  text += u'\n' + Help::tr("Options:") + u'\n';
  // The values' names as the usage writes them.
  const QString db = Help::tr("DB"), file = Help::tr("FILE");
  text += Option(QStringLiteral("--source ") + db, Help::tr("the source database"));
  text += Option(QStringLiteral("--dest ") + db,
                 Help::tr("the destination database; its listed tables are emptied and refilled"));
  text += Option(QStringLiteral("--folder ") + Help::tr("DIR"),
                 Help::tr("the program folder: Conv.txt, GENERATOR.txt, SQL/_Upd.sql and "
                          "SQL/Upd.sql are read there and the run log DB_dravik.log is written "
                          "there (default: the window's, which is the folder of this command when "
                          "it holds Conv.txt; for an installed program it is "
                          "~/.local/share/db-dravik, made from the samples on first start)"));
  text += Option(QStringLiteral("--events"), Help::tr("move the events and alarms, all of them"));
  text += Option(QStringLiteral("--events-from ") + Help::tr("DD.MM.YYYY"),
                 Help::tr("move the events and alarms from that day on"));
  text += Option(QStringLiteral("--keep-locations"), Help::tr("keep where the users are (slow)"));
  text += Option(QStringLiteral("--backup ") + file,
                 Help::tr("before anything is written, save the destination into FILE with the "
                          "engine's own backup (gbak); a backup that fails stops the command with "
                          "nothing written. FILE is a file of this machine, also for a "
                          "destination on a server"));
  text += Option(QStringLiteral("--restore ") + file,
                 Help::tr("put the destination back from a backup made with --backup, replacing "
                          "it; the backup is restored beside the destination first, so a backup "
                          "that is not whole leaves the destination as it was"));
  text += Option(QStringLiteral("--yes"),
                 Help::tr("restore without asking (a restore off a terminal needs it)"));
  text += Option(QStringLiteral("--plan"),
                 Help::tr("print what a run would delete and copy, and stop; nothing is written, "
                          "the run log is left as it is. A run makes this plan first and does "
                          "not start when it names an error"));
  text += Option(QStringLiteral("--force"),
                 Help::tr("run even though the plan names errors (the lines it names then do not "
                          "do their work, and the exit code is at least 1). It never runs over a "
                          "table list that names no table, a destination that cannot be written, "
                          "or a --backup FILE that would overwrite a database, a control file, a "
                          "script, the run log or a program"));
  text +=
      Option(QStringLiteral("--check"),
             Help::tr("after the run, compare every row and value that was to arrive with what the "
                      "destination holds, and the states"));
  text += Option(QStringLiteral("--quiet"), Help::tr("print only the summary"));
  text += Option(QStringLiteral("-h, --help"), Help::tr("print this help"));
  text += Option(QStringLiteral("--version"), Help::tr("print the version"));
  text += u'\n' +
          Wrapped(Help::tr("Progress goes to standard output: one line redrawn in place on a "
                           "terminal, otherwise one line per table. Errors go to standard error. "
                           "Ctrl-C, SIGTERM or SIGHUP stops the run between rows. Texts are "
                           "Russian under a Russian locale (LC_ALL, LC_MESSAGES or LANG), "
                           "English otherwise."),
                  QString(), 0);
  text += u'\n' + Help::tr("Exit codes:") + u'\n';
  text += ExitCode(0, Help::tr("everything copied and every statement worked (and the check, if "
                               "asked for, found no difference)"));
  text += ExitCode(1, Help::tr("the run ended, but statements failed (the run log has them), an "
                               "error ended it early, the check found a difference, or --force "
                               "ran it over errors of its plan; a restore that failed once the "
                               "server had begun to replace the destination (the message says "
                               "where the data is)"));
  text += ExitCode(2, Help::tr("it did not start: bad arguments, a missing control file, a "
                               "database that cannot be opened (the message says which), the "
                               "source equal to the destination, a plan that names errors, or a "
                               "backup that failed; the message goes to standard error, nothing "
                               "is written to either database and the run log is left as it was "
                               "(a restore that was refused, or failed with the destination as "
                               "it was, ends with 2 too)"));
  text += ExitCode(3, Help::tr("interrupted; what was written stays"));
  return text;
}

}  // namespace

std::string HelpText() {
  return Text().toStdString();
}
