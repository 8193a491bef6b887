#include "console/Language.h"

#include <QDate>
#include <QLibraryInfo>
#include <QLocale>
#include <QStringList>
#include <QTranslator>
#include <cstdlib>

namespace lang {
namespace {

bool russian = false;

// The locale messages follow, in the C library's order of precedence.
QByteArray MessagesLocale() {
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return value;
  }
  return QByteArray();
}

bool PlainC(const QByteArray& locale) {
  return locale.isEmpty() || locale == "C" || locale.startsWith("C.") || locale == "POSIX";
}

}  // namespace

void Choose() {
  // They live as long as the process; choosing again replaces their texts.
  static QTranslator own, qt;
  QCoreApplication::removeTranslator(&qt);
  (void)own.load(QString());  // unloads what an earlier choice loaded
  if (!PlainC(MessagesLocale())) {
    // Each of the user's languages in turn (LANGUAGE may list several); the
    // first one the command has texts for wins.
    for (const QString& language : QLocale::system().uiLanguages()) {
      QString name = language;
      name.replace(u'-', u'_');
      if (own.load(QStringLiteral("db-dravik_") + name, QStringLiteral(":/i18n"))) break;
    }
  }
  russian = own.language().startsWith(QStringLiteral("ru"));
  // The English texts need a translator only for their plural forms.
  if (!russian) (void)own.load(QStringLiteral("db-dravik_en"), QStringLiteral(":/i18n"));
  QCoreApplication::installTranslator(&own);
  // Qt's own texts, such as the argument parser's errors, where the system has them.
  if (russian &&
      qt.load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(&qt);
  // English keeps plain numbers (no grouping, a decimal point), as scripts read them.
  QLocale::setDefault(russian ? QLocale(QLocale::Russian, QLocale::Russia) : QLocale::c());
}

bool Russian() {
  return russian;
}

std::string Fill(const QString& pattern, std::initializer_list<std::string> args) {
  const std::string text = pattern.toStdString();
  std::string filled;
  filled.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char next = i + 1 < text.size() ? text[i + 1] : '\0';
    const size_t index = next >= '1' && next <= '9' ? static_cast<size_t>(next - '1') : 9;
    if (text[i] == '%' && index < args.size()) {
      filled += args.begin()[index];
      ++i;
    } else {
      filled += text[i];
    }
  }
  return filled;
}

int Plural(long long count) {
  if (count < 0) count = -count;
  return static_cast<int>(count < 1000 ? count : 1000 + count % 1000);
}

std::string Count(long long value) {
  return QLocale().toString(value).toStdString();
}

std::string Decimal(double value, int places) {
  return QLocale().toString(value, 'f', places).toStdString();
}

std::string Day(text::TDateTime value) {
  const text::DateTimeParts parts = text::DecodeDateTime(value);
  const QDate day(parts.year, parts.month, parts.day);
  // English writes it as --events-from takes it.
  return (russian ? QLocale().toString(day, QLocale::ShortFormat)
                  : day.toString(QStringLiteral("dd.MM.yyyy")))
      .toStdString();
}

}  // namespace lang

std::ostream& operator<<(std::ostream& out, const QString& text) {
  return out << text.toStdString();
}
