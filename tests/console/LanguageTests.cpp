// The command speaks the user's language: Russian under a Russian locale,
// English otherwise, numbers written as the language writes them, and the
// restore's question answered in that language.
#include <QRegularExpression>
#include <set>

#include "tests/console/ConsoleFixture.h"
#include "tests/support/Contents.h"
#include "tests/support/Schema.h"

namespace consoletest {
namespace {

// Every --option a text names.
std::set<std::string> OptionsIn(const std::string& text) {
  std::set<std::string> options;
  const QRegularExpression option(QStringLiteral("--[a-z][a-z-]+"));
  for (auto match = option.globalMatch(QString::fromStdString(text)); match.hasNext();)
    options.insert(match.next().captured().toStdString());
  return options;
}

bool Has(const std::string& text, const char* pattern) {
  return QRegularExpression(QString::fromUtf8(pattern))
      .match(QString::fromStdString(text))
      .hasMatch();
}

struct Locale {
  const char* name;
  std::vector<std::string> env;  // for env(1): "-u NAME" removes, NAME=VALUE sets
  bool russian;
};

TEST_F(ConsoleTest, HelpFollowsTheLocaleInTheCLibrarysOrder) {
  const Locale locales[] = {
      {"LC_ALL Russian", {"LC_ALL=ru_RU.UTF-8"}, true},
      {"LC_ALL C over a Russian LANG", {"LC_ALL=C.UTF-8", "LANG=ru_RU.UTF-8"}, false},
      {"LC_MESSAGES Russian over an English LANG",
       {"-u", "LC_ALL", "LANG=C.UTF-8", "LC_MESSAGES=ru_RU.UTF-8"},
       true},
      {"LANG Russian alone", {"-u", "LC_ALL", "-u", "LC_MESSAGES", "LANG=ru_RU.UTF-8"}, true},
      {"a language the command has no texts for",
       {"-u", "LC_ALL", "-u", "LC_MESSAGES", "LANG=de_DE.UTF-8"},
       false},
  };
  std::set<std::string> english;
  for (const Locale& locale : locales) {
    SCOPED_TRACE(locale.name);
    std::vector<std::string> command = {"env"};
    command.insert(command.end(), locale.env.begin(), locale.env.end());
    command.insert(command.end(), {kCommand, "--help"});
    const testsupport::ProcessResult help = testsupport::RunProcess(command);
    ASSERT_EQ(help.exitCode, 0) << help.err;
    EXPECT_EQ(Has(help.out, "(?m)^Параметры:$"), locale.russian) << help.out;
    EXPECT_EQ(Has(help.out, "(?m)^Коды завершения:$"), locale.russian) << help.out;
    EXPECT_EQ(Has(help.out, "(?m)^Options:$"), !locale.russian) << help.out;
    EXPECT_EQ(Has(help.out, "(?m)^Exit codes:$"), !locale.russian) << help.out;
    // Both tell every option.
    if (english.empty()) english = OptionsIn(help.out);
    EXPECT_EQ(OptionsIn(help.out), english);
  }
  EXPECT_GE(english.size(), 15u);
}

TEST_F(ConsoleTest, PlanIsRussianWithRussianNumbersAndEnglishWithPlainOnes) {
  std::vector<std::string> plan = Databases();
  plan.insert(plan.end(), {"--plan", "--events-from", "01.02.2024"});
  const testsupport::ProcessResult russian = InLocale("ru_RU.UTF-8", plan);
  ASSERT_EQ(russian.exitCode, 0) << russian.out << russian.err;
  EXPECT_TRUE(Has(russian.out, "^План переноса данных: ")) << russian.out;
  EXPECT_TRUE(Has(russian.out, "(?m)^  события: +с 01\\.02\\.2024$")) << russian.out;
  // A decimal comma, and groups of three digits apart from each other.
  EXPECT_TRUE(
      Has(russian.out, "(?m)^  размер приемника: +\\d+,\\d МБ \\(\\d{1,3}(\u00a0\\d{3})+ байт"))
      << russian.out;
  EXPECT_TRUE(Has(russian.out, "(?m)^Итого: \\d+ строк.*, 0 ошибок$")) << russian.out;
  // Every word of the plan is Russian: none of the English ones is left.
  EXPECT_FALSE(Has(russian.out, "\\b(rows?|the|of|to|ERROR|WARNING|note)\\b")) << russian.out;

  // The fixture's locale: Russian regional formats, English messages. An
  // English sentence keeps its decimal point and plain numbers.
  const testsupport::ProcessResult english = Console(plan);
  ASSERT_EQ(english.exitCode, 0) << english.out << english.err;
  EXPECT_TRUE(Has(english.out, "^Plan of a transfer: ")) << english.out;
  EXPECT_TRUE(Has(english.out, "(?m)^  dest size: +\\d+\\.\\d MB \\(\\d+ bytes\\)$"))
      << english.out;
  EXPECT_TRUE(Has(english.out, "(?m)^  events: +from 01\\.02\\.2024$")) << english.out;
  // Cyrillic only in the test folder's name.
  const QString words = QString::fromStdString(english.out).remove(QString::fromStdString(folder_));
  EXPECT_FALSE(words.contains(QRegularExpression(QStringLiteral("[\u0400-\u04ff]"))))
      << english.out;
}

// A whole run with its check: progress, check and summary in one language,
// and a decimal point, never a comma, in the English one.
TEST_F(ConsoleTest, ARunSpeaksOneLanguageThroughout) {
  std::vector<std::string> run = Databases();
  run.insert(run.end(), {"--events", "--check"});
  const testsupport::ProcessResult russian = InLocale("ru_RU.UTF-8", run);
  ASSERT_EQ(russian.exitCode, 0) << russian.out << russian.err;
  EXPECT_TRUE(Has(russian.out, "(?m)^Перенос данных завершен\\.$")) << russian.out;
  EXPECT_TRUE(Has(russian.out,
                  "(?m)^Скопировано строк: [\\d\u00a0]+ из [\\d\u00a0]+ "
                  "прочитанных.*; неудачных команд: 0$"))
      << russian.out;
  EXPECT_TRUE(Has(russian.out, "(?m)^Проверка: отличий нет$")) << russian.out;
  EXPECT_TRUE(Has(russian.out, "(?m)^Время: \\d+,\\d с, проверка еще \\d+,\\d с$")) << russian.out;
  EXPECT_TRUE(Has(russian.out, "(?m)^Итог: отличий нет")) << russian.out;
  const QString words = QString::fromStdString(russian.out).remove(QString::fromStdString(folder_));
  EXPECT_FALSE(words.contains(QRegularExpression(QStringLiteral("\\b(rows?|the|of|to|in)\\b"))))
      << russian.out;

  testsupport::MakeDatabase(dest_);  // the events are there now, and would collide
  const testsupport::ProcessResult english = Console(run);
  ASSERT_EQ(english.exitCode, 0) << english.out << english.err;
  EXPECT_TRUE(Has(english.out, "(?m)^Data transfer finished\\.$")) << english.out;
  EXPECT_TRUE(Has(english.out, "(?m)^Time: \\d+\\.\\d s, the check \\d+\\.\\d s more$"))
      << english.out;
  EXPECT_TRUE(Has(english.out, "(?m)^Check: no difference$")) << english.out;
}

// The question of --restore on a terminal: "д" is yes in Russian only.
TEST_F(ConsoleTest, RestoreQuestionIsAnsweredInTheUsersLanguage) {
  const std::string backup = dir_.File("dest.fbk");
  const std::string before = testsupport::DatabaseContents(dest_);
  std::vector<std::string> run = Databases();
  run.insert(run.end(), {"--backup", backup});
  ASSERT_EQ(Console(run).exitCode, 0);
  const std::string after = testsupport::DatabaseContents(dest_);
  ASSERT_NE(after, before);

  auto answered = [&](const std::string& locale, const std::string& answer) {
    // script(1) gives the command a terminal and types the answer into it.
    return testsupport::RunProcess(
        {"env", "LC_ALL=" + locale, "COMMAND=" + kCommand, "BACKUP=" + backup, "DEST=" + dest_,
         "sh", "-c",
         "printf '%s\\n' '" + answer +
             "' | script -qec '\"$COMMAND\" --restore \"$BACKUP\" --dest \"$DEST\"' /dev/null"});
  };
  const testsupport::ProcessResult declined = answered("C.UTF-8", "д");
  EXPECT_EQ(declined.exitCode, 2) << declined.out;
  EXPECT_NE(declined.out.find("Restore it? [y/N]"), std::string::npos) << declined.out;
  EXPECT_NE(declined.out.find("nothing was restored"), std::string::npos) << declined.out;
  EXPECT_EQ(testsupport::DatabaseContents(dest_), after);

  const testsupport::ProcessResult restored = answered("ru_RU.UTF-8", "д");
  EXPECT_EQ(restored.exitCode, 0) << restored.out;
  EXPECT_NE(restored.out.find("Восстановить ее? [д/Н]"), std::string::npos) << restored.out;
  EXPECT_NE(restored.out.find("восстановлена из резервной копии"), std::string::npos)
      << restored.out;
  EXPECT_EQ(testsupport::DatabaseContents(dest_), before);
}

}  // namespace
}  // namespace consoletest
