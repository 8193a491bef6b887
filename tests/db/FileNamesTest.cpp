// Database files under folder names in Cyrillic (and beyond windows-1251), opened
// and reported in the C locale the process starts in and in the Russian one.
#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <optional>
#include <string>

#include "Fixture.h"
#include "TestDatabase.h"
#include "db/IB.h"
#include "text/Cp1251.h"
#include "text/TextFile.h"

namespace dbtest {
namespace {

namespace fs = std::filesystem;
using text::Cp1251FromUtf8;
using text::Utf8FromCp1251;

// Switches the whole locale for the scope; nullptr keeps the process's own.
class LocaleScope {
 public:
  explicit LocaleScope(const char* locale) : saved_(std::setlocale(LC_ALL, nullptr)) {
    if (locale != nullptr && std::setlocale(LC_ALL, locale) == nullptr)
      ADD_FAILURE() << "the locale " << locale << " is missing (scripts/deps generates it)";
  }
  ~LocaleScope() { std::setlocale(LC_ALL, saved_.c_str()); }

 private:
  std::string saved_;
};

struct LocaleCase {
  const char* locale;
  const char* reason;  // the system's text for a missing file, UTF-8
};
const LocaleCase kLocales[] = {{nullptr, "No such file or directory"},
                               {"ru_RU.UTF-8", "Нет такого файла или каталога"}};

// A folder name with a blank, Cyrillic letters and letters windows-1251 lacks.
const char kFolderName[] = "Загрузки старые 日本";

TEST(FileNames, DatabasesInCyrillicFoldersOpenInEitherLocale) {
  for (const LocaleCase& c : kLocales) {
    LocaleScope scope(c.locale);
    TempDatabase made("CREATE TABLE T (I INTEGER);");
    const fs::path folder = fs::path(made.Folder()) / kFolderName;
    fs::create_directories(folder);
    const std::string path = (folder / "база.fdb").string();
    fs::copy_file(made.Path(), path);
    Connection connection(path);
    Exec(connection.sql, "INSERT INTO T (I) VALUES (7)");
    EXPECT_EQ(Query(connection.sql, "SELECT I FROM T"),
              (std::vector<std::vector<std::string>>{{"7"}}))
        << (c.locale ? c.locale : "C");
  }
}

TEST(FileNames, MessagesNameThePathAndTheSystemsReasonInProgramText) {
  for (const LocaleCase& c : kLocales) {
    LocaleScope scope(c.locale);
    TempFolder temp;
    const fs::path folder = fs::path(temp.Path()) / kFolderName;
    fs::create_directories(folder);
    const std::string missing = (folder / "нет.fdb").string();
    // The letters windows-1251 lacks show as "?", one each.
    const std::string shownPath = Cp1251FromUtf8(missing);
    ASSERT_NE(shownPath.find(Cp1251FromUtf8("старые ?") + "?/" + Cp1251FromUtf8("нет.fdb")),
              std::string::npos);

    std::optional<std::string> engine;
    try {
      Connection connection(missing);
    } catch (const EIBError& e) {
      engine = e.what();
    }
    ASSERT_TRUE(engine) << "a missing database opened";
    std::optional<std::string> file;
    try {
      text::TextFileReader reader(missing);
    } catch (const text::EInOutError& e) {
      file = e.what();
    }
    ASSERT_TRUE(file);
    for (const std::string& message : {*engine, *file}) {
      EXPECT_NE(message.find(shownPath), std::string::npos) << Utf8FromCp1251(message);
      EXPECT_NE(message.find(Cp1251FromUtf8(c.reason)), std::string::npos)
          << Utf8FromCp1251(message);
    }
  }
}

TEST(FileNames, SystemTextsBecomeProgramText) {
  struct Case {
    std::string in, out;
  };
  const std::string ivan1251 = Cp1251FromUtf8("Иван");
  const Case cases[] = {
      {"plain", "plain"},
      {"Иван", ivan1251},                         // UTF-8 from the system
      {ivan1251, ivan1251},                       // already windows-1251: left alone
      {"Ёж 日本", Cp1251FromUtf8("Ёж ") + "??"},  // one "?" per missing letter
      {"a\xFF"
       "b",
       "a\xFF"
       "b"},  // not UTF-8: left alone
  };
  for (const Case& c : cases) EXPECT_EQ(text::Cp1251FromSystemOrSame(c.in), c.out) << c.in;
  EXPECT_EQ(Cp1251FromUtf8("a\xFF"
                           "b\xC0\xAF"),
            "a?b??");
  EXPECT_FALSE(text::IsUtf8("\xED\xA0\x80"));  // a surrogate
  EXPECT_FALSE(text::IsUtf8("\xE0\x80\xAF"));  // an overlong form
  EXPECT_TRUE(text::IsUtf8("Загрузки 日本 \xF0\x9F\x98\x80"));
}

}  // namespace
}  // namespace dbtest
