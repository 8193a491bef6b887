#include "console/Options.h"

#include <QCommandLineParser>
#include <QDate>
#include <QStringList>

namespace {

// Latin-1 maps every byte to one character and back, so the parser sees the
// options as they are and the values come back as the very bytes given.
QString FromBytes(const char* bytes) {
  return QString::fromLatin1(bytes);
}

std::string ToBytes(const QString& text) {
  return text.toLatin1().toStdString();
}

bool ParseDay(const std::string& given, text::TDateTime& value) {
  const QDate day = QDate::fromString(QString::fromStdString(given), QStringLiteral("dd.MM.yyyy"));
  if (!day.isValid()) return false;
  text::DateTimeParts parts;
  parts.year = day.year();
  parts.month = day.month();
  parts.day = day.day();
  value = text::EncodeDateTime(parts);
  return true;
}

}  // namespace

const std::string& HelpText() {
  static const std::string text =
      R"(Usage: db-dravik --source DB --dest DB [OPTION]...
  or:  db-dravik --restore FILE --dest DB [--yes] [--quiet]

Moves the configuration of an access-control installation from the source
database into the destination, as the window DB_Dravik does, without a window.
A database is a file path (opened by the embedded engine) or host:/path or
host/port:/path (a Firebird server).

Options:
  --source DB               the source database
  --dest DB                 the destination database; its listed tables are
                            emptied and refilled
  --folder DIR              the program folder: Conv.txt, GENERATOR.txt,
                            SQL/_Upd.sql and SQL/Upd.sql are read there and the
                            run log DB_dravik.log is written there (default: the
                            window's, which is the folder of this command when
                            it holds Conv.txt; for an installed program it is
                            ~/.local/share/db-dravik, made from the samples on
                            first start)
  --events                  move the events and alarms, all of them
  --events-from DD.MM.YYYY  move the events and alarms from that day on
  --keep-locations          keep where the users are (slow)
  --backup FILE             before anything is written, save the destination
                            into FILE with the engine's own backup (gbak); a
                            backup that fails stops the command with nothing
                            written. FILE is a file of this machine, also for a
                            destination on a server
  --restore FILE            put the destination back from a backup made with
                            --backup, replacing it; the backup is restored
                            beside the destination first, so a backup that is
                            not whole leaves the destination as it was
  --yes                     restore without asking (a restore off a terminal
                            needs it)
  --plan                    print what a run would delete and copy, and stop;
                            nothing is written, the run log is left as it is.
                            A run makes this plan first and does not start
                            when it names an error
  --force                   run even though the plan names errors (the lines
                            it names then do not do their work, and the exit
                            code is at least 1). It never runs over a table
                            list that names no table, a destination that
                            cannot be written, or a --backup FILE that would
                            overwrite a database, a control file, a script,
                            the run log or a program
  --check                   after the run, compare every row and value that
                            was to arrive with what the destination holds,
                            and the states
  --quiet                   print only the summary
  -h, --help                print this help
  --version                 print the version

Progress goes to standard output: one line redrawn in place on a terminal,
otherwise one line per table. Errors go to standard error. Ctrl-C, SIGTERM or
SIGHUP stops the run between rows.

Exit codes:
  0  everything copied and every statement worked (and the check, if asked
     for, found no difference)
  1  the run ended, but statements failed (the run log has them), an error
     ended it early, the check found a difference, or --force ran it over
     errors of its plan; a restore that failed once the server had begun to
     replace the destination (the message says where the data is)
  2  it did not start: bad arguments, a missing control file, a database
     that cannot be opened (the message says which), the source equal to the
     destination, a plan that names errors, or a backup that failed; the
     message goes to standard error, nothing is written to either database
     and the run log is left as it was (a restore that was refused, or failed
     with the destination as it was, ends with 2 too)
  3  interrupted; what was written stays
)";
  return text;
}

bool ParseOptions(int argc, char** argv, const std::function<std::string()>& programFolder,
                  ConsoleOptions& options, std::string& error) {
  QCommandLineParser parser;
  const QCommandLineOption source(QStringLiteral("source"), QString(), QStringLiteral("DB"));
  const QCommandLineOption dest(QStringLiteral("dest"), QString(), QStringLiteral("DB"));
  const QCommandLineOption folder(QStringLiteral("folder"), QString(), QStringLiteral("DIR"));
  const QCommandLineOption events(QStringLiteral("events"));
  const QCommandLineOption eventsFrom(QStringLiteral("events-from"), QString(),
                                      QStringLiteral("DATE"));
  const QCommandLineOption keepLocations(QStringLiteral("keep-locations"));
  const QCommandLineOption plan(QStringLiteral("plan"));
  const QCommandLineOption check(QStringLiteral("check"));
  const QCommandLineOption force(QStringLiteral("force"));
  const QCommandLineOption quiet(QStringLiteral("quiet"));
  const QCommandLineOption backup(QStringLiteral("backup"), QString(), QStringLiteral("FILE"));
  const QCommandLineOption restore(QStringLiteral("restore"), QString(), QStringLiteral("FILE"));
  const QCommandLineOption yes(QStringLiteral("yes"));
  const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
  const QCommandLineOption version(QStringLiteral("version"));
  parser.addOptions({source, dest, folder, events, eventsFrom, keepLocations, plan, check, force,
                     quiet, backup, restore, yes, help, version});

  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << FromBytes(argv[i]);
  if (!parser.parse(arguments)) {
    error = ToBytes(parser.errorText());
    return false;
  }
  options.help = parser.isSet(help);
  options.version = parser.isSet(version);
  if (options.help || options.version) return true;
  if (!parser.positionalArguments().isEmpty()) {
    error = "unexpected argument: " + ToBytes(parser.positionalArguments().first());
    return false;
  }
  for (const QCommandLineOption* once : {&source, &dest, &folder, &eventsFrom, &backup, &restore}) {
    if (parser.values(*once).size() > 1) {
      error = "--" + ToBytes(once->names().first()) + " is given more than once";
      return false;
    }
  }
  if (parser.isSet(restore)) {
    // A restore only puts the destination back: an option of a run given with
    // it is a mistake the user should hear of, not something silently dropped.
    for (const QCommandLineOption* run :
         {&source, &events, &eventsFrom, &keepLocations, &plan, &check, &force, &backup}) {
      if (parser.isSet(*run)) {
        error = "--restore puts the destination back and does nothing else; --" +
                ToBytes(run->names().first()) + " does not go with it";
        return false;
      }
    }
    if (!parser.isSet(dest)) {
      error = "--restore needs --dest, the database to put back";
      return false;
    }
    options.restore = ToBytes(parser.value(restore));
    if (options.restore.empty()) {
      error = "--restore needs the name of the backup file";
      return false;
    }
    options.dest = ToBytes(parser.value(dest));
    options.yes = parser.isSet(yes);
    options.quiet = parser.isSet(quiet);
    return true;
  }
  if (parser.isSet(yes)) {
    error = "--yes answers the question of --restore and goes only with it";
    return false;
  }
  if (!parser.isSet(source) || !parser.isSet(dest)) {
    error = "both --source and --dest are needed";
    return false;
  }
  options.source = ToBytes(parser.value(source));
  options.dest = ToBytes(parser.value(dest));
  options.folder = parser.isSet(folder) ? ToBytes(parser.value(folder)) : programFolder();
  if (options.folder.empty() || options.folder.back() != '/') options.folder += '/';

  if (parser.isSet(events) && parser.isSet(eventsFrom)) {
    error = "--events and --events-from exclude each other";
    return false;
  }
  options.events = parser.isSet(events) || parser.isSet(eventsFrom);
  if (parser.isSet(eventsFrom)) {
    options.eventsFromText = ToBytes(parser.value(eventsFrom));
    if (!ParseDay(options.eventsFromText, options.eventsFrom)) {
      error = "--events-from takes a day as DD.MM.YYYY, not \"" + options.eventsFromText + "\"";
      return false;
    }
  }
  options.keepLocations = parser.isSet(keepLocations);
  options.backup = ToBytes(parser.value(backup));
  options.plan = parser.isSet(plan);
  options.check = parser.isSet(check);
  options.quiet = parser.isSet(quiet);
  options.force = parser.isSet(force);
  if (options.plan && options.check) {
    error = "--plan writes nothing, so there is no run for --check to check";
    return false;
  }
  if (options.plan && options.force) {
    error = "--plan only tells what a run would do; --force goes with the run";
    return false;
  }
  if (parser.isSet(backup) && options.backup.empty()) {
    error = "--backup needs the name of the file to save the destination into";
    return false;
  }
  return true;
}
