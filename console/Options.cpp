#include "console/Options.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDate>
#include <QStringList>

#include "console/Language.h"

namespace {

class Options {
  Q_DECLARE_TR_FUNCTIONS(Options)
};

std::string Option(const QCommandLineOption& option) {
  return "--" + option.names().first().toStdString();
}

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
    // Told again from the arguments as the terminal shows them, so that the
    // parser's message and the argument it quotes are both readable text.
    QStringList shown;
    for (int i = 0; i < argc; ++i) shown << QString::fromLocal8Bit(argv[i]);
    parser.parse(shown);
    error = parser.errorText().toStdString();
    return false;
  }
  options.help = parser.isSet(help);
  options.version = parser.isSet(version);
  if (options.help || options.version) return true;
  if (!parser.positionalArguments().isEmpty()) {
    error = lang::Fill(Options::tr("unexpected argument: %1"),
                       {ToBytes(parser.positionalArguments().first())});
    return false;
  }
  for (const QCommandLineOption* once : {&source, &dest, &folder, &eventsFrom, &backup, &restore}) {
    if (parser.values(*once).size() > 1) {
      error = lang::Fill(Options::tr("%1 is given more than once"), {Option(*once)});
      return false;
    }
  }
  if (parser.isSet(restore)) {
    // A restore only puts the destination back: an option of a run given with
    // it is a mistake the user should hear of, not something silently dropped.
    for (const QCommandLineOption* run :
         {&source, &events, &eventsFrom, &keepLocations, &plan, &check, &force, &backup}) {
      if (parser.isSet(*run)) {
        error = lang::Fill(Options::tr("--restore puts the destination back and does nothing "
                                       "else; %1 does not go with it"),
                           {Option(*run)});
        return false;
      }
    }
    if (!parser.isSet(dest)) {
      error = lang::Fill(Options::tr("--restore needs --dest, the database to put back"));
      return false;
    }
    options.restore = ToBytes(parser.value(restore));
    if (options.restore.empty()) {
      error = lang::Fill(Options::tr("--restore needs the name of the backup file"));
      return false;
    }
    options.dest = ToBytes(parser.value(dest));
    options.yes = parser.isSet(yes);
    options.quiet = parser.isSet(quiet);
    return true;
  }
  if (parser.isSet(yes)) {
    error =
        lang::Fill(Options::tr("--yes answers the question of --restore and goes only with it"));
    return false;
  }
  if (!parser.isSet(source) || !parser.isSet(dest)) {
    error = lang::Fill(Options::tr("both --source and --dest are needed"));
    return false;
  }
  options.source = ToBytes(parser.value(source));
  options.dest = ToBytes(parser.value(dest));
  options.folder = parser.isSet(folder) ? ToBytes(parser.value(folder)) : programFolder();
  if (options.folder.empty() || options.folder.back() != '/') options.folder += '/';

  if (parser.isSet(events) && parser.isSet(eventsFrom)) {
    error = lang::Fill(Options::tr("--events and --events-from exclude each other"));
    return false;
  }
  options.events = parser.isSet(events) || parser.isSet(eventsFrom);
  if (parser.isSet(eventsFrom)) {
    options.eventsFromText = ToBytes(parser.value(eventsFrom));
    if (!ParseDay(options.eventsFromText, options.eventsFrom)) {
      error = lang::Fill(Options::tr("--events-from takes a day as DD.MM.YYYY, not \"%1\""),
                         {options.eventsFromText});
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
    error =
        lang::Fill(Options::tr("--plan writes nothing, so there is no run for --check to check"));
    return false;
  }
  if (options.plan && options.force) {
    error =
        lang::Fill(Options::tr("--plan only tells what a run would do; --force goes with the run"));
    return false;
  }
  if (parser.isSet(backup) && options.backup.empty()) {
    error =
        lang::Fill(Options::tr("--backup needs the name of the file to save the destination into"));
    return false;
  }
  return true;
}
