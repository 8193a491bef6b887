// The command's words in English and in Russian: numbers, plural forms and
// values as each language writes them, the window's own texts put into English
// where the command shows them, every finding of the plan worded, and the help
// laid out within the terminal's width.
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QStringList>
#include <sstream>

#include "console/Options.h"
#include "console/Report.h"
#include "console/WindowTexts.h"
#include "tests/language/InLanguage.h"
#include "text/Cp1251.h"
#include "text/RussianTexts.h"

namespace languagetest {
namespace {

bool Cyrillic(const std::string& utf8) {
  return QString::fromStdString(utf8).contains(
      QRegularExpression(QStringLiteral("[\u0400-\u04ff]")));
}

TEST(Words, NumbersAndValuesAsEachLanguageWritesThem) {
  Speak("C.UTF-8");
  EXPECT_EQ(lang::Count(12902400), "12902400");
  EXPECT_EQ(lang::Decimal(3.24, 1), "3.2");
  EXPECT_EQ(SizeText(3383296), "3.2 MB (3383296 bytes)");
  EXPECT_EQ(SizeText(1), "0.0 MB (1 byte)");
  // A value is put in as it stands: a file name's bytes, and a "%2" inside it.
  EXPECT_EQ(lang::Fill(QStringLiteral("%2 into %1"), {"/srv/\xff%2.fbk", "x"}),
            "x into /srv/\xff%2.fbk");

  const Russian russian;
  EXPECT_EQ(lang::Count(12902400), "12\u00a0902\u00a0400");
  EXPECT_EQ(lang::Decimal(3.24, 1), "3,2");
  EXPECT_EQ(lang::Day(text::EncodeDateTime({2024, 2, 1})), "01.02.2024");
  // Russian has three plural forms, chosen by the last two digits, also of
  // counts beyond an int.
  const std::pair<long long, const char*> bytes[] = {{1, "байт"},
                                                     {2, "байта"},
                                                     {5, "байт"},
                                                     {11, "байт"},
                                                     {21, "байт"},
                                                     {22, "байта"},
                                                     {3000000001LL, "байт"},
                                                     {3000000003LL, "байта"},
                                                     {3000000012LL, "байт"}};
  for (const auto& [count, word] : bytes)
    EXPECT_EQ(SizeText(count).substr(SizeText(count).rfind(' ') + 1), std::string(word) + ")")
        << count;
}

TEST(Words, WindowTextsAreEnglishOutsideARussianLocale) {
  // The database layer's messages put together from several window texts, and
  // one that begins with a shorter one's words.
  const std::string older = ru::OlderEngineDatabase() + "/srv/old.gdb" +
                            ru::OlderEngineStructure() + "10, Firebird 1.x" +
                            ru::OlderEngineCannotOpen() + "\r\n" + ru::OlderEngineAdvice();
  const std::string inUse = ru::ServiceDatabaseInUse() + "lock time-out on wait transaction";
  Speak("C.UTF-8");
  EXPECT_EQ(WindowMessage(older),
            "The database /srv/old.gdb was made by an older version of Firebird (file structure "
            "10, Firebird 1.x) and this version of Firebird does not open it.\r\nOpen it through "
            "a Firebird server of that version (a name like host:/path/base.fdb), or back it up "
            "with gbak of that version and restore the copy with gbak of this version of "
            "Firebird.");
  EXPECT_EQ(WindowMessage(inUse),
            "The database is in use by another program; close it and try again: lock time-out "
            "on wait transaction");
  EXPECT_EQ(WindowStatus(ru::StatusDone()), "Data transfer finished.");
  EXPECT_EQ(WindowStatus("OWNER"), "OWNER");
  for (const std::string* message :
       {&ru::SamePathsMessage(), &ru::RunLogNotCreated(), &ru::TableListNotFound(),
        &ru::GeneratorListNotFound(), &ru::InterruptWarning(), &ru::ServiceNotABackup(),
        &ru::ServiceDiskFull(), &ru::ServiceBackupFailed(), &ru::ServiceRestoreFailed(),
        &ru::ServiceBackupFileNotRead(), &ru::ServiceBackupFileNotWritten(),
        &ru::ServiceBackupIsTheDatabase(), &ru::ServiceDatabaseNotReplaced(),
        &ru::ServiceCopyKeptOnServer(), &ru::ServiceReplaceOnServerFailed(),
        &ru::ServiceFolderNotSynced(), &ru::ServiceDatabaseSizeUnknown()})
    EXPECT_FALSE(Cyrillic(WindowMessage(*message))) << WindowMessage(*message);

  const Russian russian;
  EXPECT_EQ(WindowMessage(inUse), text::Utf8FromCp1251(inUse));
  EXPECT_EQ(WindowStatus(ru::StatusDone()), text::Utf8FromCp1251(ru::StatusDone()));
}

// The names, the count and the engine's words a finding carries, each told in
// both languages, and every kind worded.
TEST(Words, EveryFindingIsWordedWithWhatItCarries) {
  PlanFinding finding{
      FindingKind::EmptyTableList, Severity::Error, 12345, "NAME_X", "OTHER_Y", "engine says Z"};
  const auto carried = [](const std::string& text) {
    std::string found;
    for (const char* value : {"NAME_X", "OTHER_Y", "engine says Z"})
      if (text.find(value) != std::string::npos) found += std::string(value) + ";";
    if (text.find("12") != std::string::npos) found += "count;";
    return found;
  };
  for (int kind = 0; kind <= static_cast<int>(FindingKind::SourceLacksColumn); ++kind) {
    finding.kind = static_cast<FindingKind>(kind);
    SCOPED_TRACE(kind);
    Speak("C.UTF-8");
    const std::string english = FindingText(finding);
    std::string russian;
    {
      const Russian inRussian;
      russian = FindingText(finding);
    }
    EXPECT_FALSE(english.empty());
    EXPECT_FALSE(Cyrillic(english)) << english;
    EXPECT_TRUE(Cyrillic(russian)) << russian;
    EXPECT_EQ(carried(russian), carried(english)) << english << "\n" << russian;
  }
}

TEST(Words, HelpFitsTheTerminalInBothLanguages) {
  for (const char* locale : {"C.UTF-8", "ru_RU.UTF-8"}) {
    SCOPED_TRACE(locale);
    Speak(locale);
    const QStringList lines = QString::fromStdString(HelpText()).split(u'\n');
    EXPECT_GT(lines.size(), 40);
    for (const QString& line : lines) EXPECT_LE(line.size(), 78) << line.toStdString();
  }
  Speak("C.UTF-8");
}

}  // namespace
}  // namespace languagetest
