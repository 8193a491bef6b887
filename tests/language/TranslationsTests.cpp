// The translation files as kept in the repository: every text translated, in
// every plural form the language has, and no translation that loses or invents
// a value the text shows.
#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <set>
#include <vector>

namespace {

struct Message {
  QString context, source;
  bool numerus = false;
  bool unfinished = false;
  std::vector<QString> forms;  // the translation, or each plural form
};

std::vector<Message> Read(const QString& file) {
  QFile ts(file);
  EXPECT_TRUE(ts.open(QIODevice::ReadOnly)) << file.toStdString();
  std::vector<Message> messages;
  QString context;
  QXmlStreamReader xml(&ts);
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    if (xml.name() == u"name") {
      context = xml.readElementText();
    } else if (xml.name() == u"message") {
      messages.push_back(
          {context,
           {},
           xml.attributes().value(QStringLiteral("numerus")) == QStringLiteral("yes"),
           false,
           {}});
    } else if (xml.name() == u"source") {
      messages.back().source = xml.readElementText();
    } else if (xml.name() == u"translation") {
      Message& message = messages.back();
      message.unfinished =
          xml.attributes().value(QStringLiteral("type")) == QStringLiteral("unfinished");
      if (!message.numerus) message.forms.push_back(xml.readElementText());
    } else if (xml.name() == u"numerusform") {
      messages.back().forms.push_back(xml.readElementText());
    }
  }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  return messages;
}

// The values a text shows: %1 to %9.
std::multiset<QString> Values(const QString& text) {
  std::multiset<QString> values;
  static const QRegularExpression value(QStringLiteral("%[1-9]"));
  for (auto match = value.globalMatch(text); match.hasNext();)
    values.insert(match.next().captured());
  return values;
}

qsizetype Indent(const QString& text) {
  qsizetype blanks = 0;
  while (blanks < text.size() && text[blanks] == u' ') ++blanks;
  return blanks;
}

struct Language {
  const char* file;
  size_t pluralForms;
};

TEST(Translations, EveryTextIsTranslatedWithTheValuesItShows) {
  for (const Language& language :
       {Language{"db-dravik_ru.ts", 3}, Language{"db-dravik_en.ts", 2}}) {
    SCOPED_TRACE(language.file);
    const std::vector<Message> messages =
        Read(QStringLiteral(DRAVIK_TRANSLATIONS "/") + QString::fromLatin1(language.file));
    ASSERT_FALSE(messages.empty());
    for (const Message& message : messages) {
      SCOPED_TRACE((message.context + QStringLiteral(": ") + message.source).toStdString());
      EXPECT_FALSE(message.unfinished);
      ASSERT_EQ(message.forms.size(), message.numerus ? language.pluralForms : 1u);
      for (const QString& form : message.forms) {
        EXPECT_FALSE(form.isEmpty());
        EXPECT_EQ(Values(form), Values(message.source)) << form.toStdString();
        // The layout a text is printed with (its indent, its line breaks) stays.
        EXPECT_EQ(form.count(u'\n'), message.source.count(u'\n')) << form.toStdString();
        EXPECT_EQ(Indent(form), Indent(message.source)) << form.toStdString();
      }
    }
  }
}

}  // namespace
