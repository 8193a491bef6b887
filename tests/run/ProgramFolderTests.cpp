// The program folder of a portable folder and of an installed program: the
// user's own folder is made from the samples once and then left to the user.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "app/ProgramFolder.h"
#include "tests/support/TempDir.h"

namespace {

namespace fs = std::filesystem;

void Write(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// An installed layout: the executables' folder without control files, the
// samples beside it, and a user's folder not made yet.
class ProgramFolderTest : public ::testing::Test {
 protected:
  ProgramFolderTest() {
    fs::create_directories(dir_ / "usr/bin");
    Write(dir_ / "usr/share/samples/Conv.txt", "HOSTS=HS_ID\r\n");
    Write(dir_ / "usr/share/samples/GENERATOR.txt", "GEN_HOSTS=HOSTS/HS_ID\r\n");
    Write(dir_ / "usr/share/samples/SQL/_Upd.sql", "first;\r\n");
    Write(dir_ / "usr/share/samples/SQL/Upd.sql", "second;\r\n");
  }

  ProgramFolderChoice Choose() const { return ChooseProgramFolder(bin_, samples_, user_); }

  testsupport::TempDir dir_{"dravik-folder"};
  std::string bin_ = dir_.File("usr/bin") + "/";
  std::string samples_ = dir_.File("usr/share/samples") + "/";
  std::string user_ = dir_.File("home/.local/share/db-dravik") + "/";
};

TEST_F(ProgramFolderTest, PortableFolderIsItsOwnProgramFolder) {
  Write(dir_ / "usr/bin/conv.TXT", "OWNER=OW_ID\r\n");
  const ProgramFolderChoice choice = Choose();
  EXPECT_EQ(choice.folder, bin_);
  EXPECT_TRUE(choice.problem.empty());
  EXPECT_FALSE(fs::exists(dir_ / "home"));
}

TEST_F(ProgramFolderTest, WithoutSamplesTheExecutableFolderStays) {
  fs::remove_all(dir_ / "usr/share/samples");
  EXPECT_EQ(Choose().folder, bin_);
  EXPECT_FALSE(fs::exists(dir_ / "home"));
}

TEST_F(ProgramFolderTest, InstalledProgramMakesTheUsersFolderOnceAndLeavesItToTheUser) {
  ProgramFolderChoice choice = Choose();
  ASSERT_EQ(choice.folder, user_);
  EXPECT_TRUE(choice.problem.empty()) << choice.problem;
  for (const char* name : {"Conv.txt", "GENERATOR.txt", "SQL/_Upd.sql", "SQL/Upd.sql"})
    EXPECT_EQ(Read(user_ + name), Read(samples_ + name)) << name;
  EXPECT_EQ(testsupport::FileNames(user_),
            (std::set<std::string>{"Conv.txt", "GENERATOR.txt", "SQL"}));
  EXPECT_EQ(testsupport::FileNames(user_ + "SQL"), (std::set<std::string>{"_Upd.sql", "Upd.sql"}));

  // The user edits the table list and removes the generator list; an upgrade
  // brings new samples. Neither the edit nor the removal is undone.
  Write(user_ + "Conv.txt", "OWNER=OW_ID\r\n");
  fs::remove(user_ + "GENERATOR.txt");
  Write(samples_ + "Conv.txt", "HOSTS=HS_ID\r\nCONTROLLERS=CT_ID\r\n");
  choice = Choose();
  EXPECT_EQ(choice.folder, user_);
  EXPECT_EQ(Read(user_ + "Conv.txt"), "OWNER=OW_ID\r\n");
  EXPECT_FALSE(fs::exists(user_ + "GENERATOR.txt"));
}

TEST_F(ProgramFolderTest, FolderWithoutTableListGetsOnlyTheFilesItLacks) {
  // The user's own second script, under names in another letter case.
  Write(user_ + "sql/upd.SQL", "mine;\r\n");
  EXPECT_EQ(Choose().folder, user_);
  EXPECT_EQ(Read(user_ + "sql/upd.SQL"), "mine;\r\n");
  EXPECT_EQ(testsupport::FileNames(user_ + "sql"), (std::set<std::string>{"_Upd.sql", "upd.SQL"}));
  EXPECT_EQ(Read(user_ + "Conv.txt"), Read(samples_ + "Conv.txt"));
}

TEST_F(ProgramFolderTest, FolderThatCannotBeMadeIsReportedAndStillChosen) {
  // A file where the user's data folder should be.
  Write(dir_ / "home/.local/share", "not a folder");
  const ProgramFolderChoice choice = Choose();
  EXPECT_EQ(choice.folder, user_);
  EXPECT_FALSE(choice.problem.empty());
}

TEST(UserProgramFolderTest, FollowsTheUsersDataFolder) {
  EXPECT_EQ(UserProgramFolder("/home/ivan", nullptr), "/home/ivan/.local/share/db-dravik/");
  EXPECT_EQ(UserProgramFolder("/home/ivan/", ""), "/home/ivan/.local/share/db-dravik/");
  EXPECT_EQ(UserProgramFolder("/home/ivan", "/data/ivan/"), "/data/ivan/db-dravik/");
  // A relative XDG_DATA_HOME is to be ignored.
  EXPECT_EQ(UserProgramFolder("/home/ivan", "data"), "/home/ivan/.local/share/db-dravik/");
}

}  // namespace
