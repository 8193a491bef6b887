// Tables the copy treats on their own: hosts without a port, owners and their
// photos, event descriptions, programs, settings, and columns on one side only.
#include "tests/transfer/CopyFixture.h"
#include "transfer/KeyMap.h"

namespace copytest {
namespace {

using Rows = std::vector<Row>;

TEST_F(CopyTest, HostsFromASourceWithoutPortGetPortOne) {
  MakeDatabases(Variant::Older, Variant::Current);
  Source(
      "INSERT INTO HOSTS (HS_ID, HS_NAME) VALUES (4, 'a');\n"
      "INSERT INTO HOSTS (HS_ID, HS_NAME) VALUES (6, 'b');");
  Copy("HOSTS", "HS_ID");
  EXPECT_EQ(DestRows("SELECT HS_NAME, HS_PORT FROM HOSTS ORDER BY HS_ID"),
            (Rows{{"a", "1"}, {"b", "1"}}));

  // A source with the port keeps its own values, an empty one included.
  MakeDatabases();
  Source(
      "INSERT INTO HOSTS (HS_ID, HS_NAME, HS_PORT) VALUES (4, 'a', 3050);\n"
      "INSERT INTO HOSTS (HS_ID, HS_NAME) VALUES (6, 'b');");
  Copy("HOSTS", "HS_ID");
  EXPECT_EQ(DestRows("SELECT HS_NAME, HS_PORT FROM HOSTS ORDER BY HS_ID"),
            (Rows{{"a", "3050"}, {"b", "<null>"}}));
}

TEST_F(CopyTest, ColumnsOnOneSideOnlyAreLeftOutAndTheDestinationsTakeTheirDefaults) {
  MakeDatabases(Variant::Older, Variant::Current);
  Source(
      "INSERT INTO HOSTS (HS_ID, HS_NAME) VALUES (1, 'h');\n"
      "INSERT INTO CONTROLLERS (CT_ID, CT_HS_ID, CT_NAME, CT_ADDR, CT_PHONE) "
      "VALUES (7, 1, 'c', 12, '555-01');");
  Copy("HOSTS", "HS_ID");
  Copy("CONTROLLERS", "CT_ID");
  EXPECT_EQ(DestRows("SELECT CT_NAME, CT_ADDR, CT_FIRMWARE FROM CONTROLLERS"),
            (Rows{{"c", "12", "unknown"}}));
  EXPECT_TRUE(LogLines().empty());
}

const char kOwners[] =
    "INSERT INTO OWNER (OW_ID, OW_NAME, OW_ARCHIVE, OW_PHOTO) VALUES (3, 'o3', 0, 'photo-3');\n"
    "INSERT INTO OWNER (OW_ID, OW_NAME, OW_ARCHIVE, OW_PHOTO) VALUES (8, 'o8', 1, 'photo-8');\n"
    "INSERT INTO OWNER (OW_ID, OW_NAME, OW_ARCHIVE) VALUES (11, 'o11', 1);\n";

TEST_F(CopyTest, OwnersKeepTheirKeysAndArchivedOwnersEndUpArchived) {
  MakeDatabases(Variant::Older, Variant::Older);
  // A destination that registers every new owner as active: only the flag update archives.
  Dest(
      "SET TERM ^ ;\nCREATE TRIGGER OWNER_BI_ACTIVE FOR OWNER ACTIVE BEFORE INSERT POSITION 5 "
      "AS BEGIN NEW.OW_ARCHIVE = 0; END^\nSET TERM ; ^");
  Source(kOwners);
  Copy("OWNER", "OW_ID");

  EXPECT_EQ(OldKeys(keymap::kOwner), (std::vector<std::string>{"3", "8", "11"}));
  EXPECT_EQ(NewKeys(keymap::kOwner), (std::vector<std::string>{"3", "8", "11"}));
  EXPECT_EQ(
      DestRows("SELECT OW_ID, OW_NAME, OW_ARCHIVE, OW_PHOTO FROM OWNER ORDER BY OW_ID"),
      (Rows{
          {"3", "o3", "0", "photo-3"}, {"8", "o8", "1", "photo-8"}, {"11", "o11", "1", "<null>"}}));
}

TEST_F(CopyTest, AnArchivedOwnerWhoseInsertFailsArchivesNobodyElse) {
  MakeDatabases(Variant::Older, Variant::Older);
  Dest("ALTER TABLE OWNER ADD CONSTRAINT CHK_OWNER CHECK (OW_NAME <> 'o8');");
  Source(kOwners);
  Copy("OWNER", "OW_ID");

  EXPECT_EQ(NewKeys(keymap::kOwner), (std::vector<std::string>{"3", "-1", "11"}));
  EXPECT_EQ(DestRows("SELECT OW_ID, OW_ARCHIVE FROM OWNER ORDER BY OW_ID"),
            (Rows{{"3", "0"}, {"11", "1"}}));
  const auto errors = ErrorLines();
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].rfind("Ошибка Добавления OWNER OW_ID =  8 :  ", 0), 0u) << errors[0];
}

TEST_F(CopyTest, PhotosOfAnOlderSourceMoveIntoThePhotoTable) {
  MakeDatabases(Variant::Older, Variant::Current);
  Source(kOwners);
  Copy("OWNER", "OW_ID");
  Copy("OWNERPHOTOS", "OW_ID");
  EXPECT_EQ(
      DestRows("SELECT O.OW_ID, O.OW_PHOTO, P.OW_PHOTO FROM OWNER O "
               "JOIN OWNERPHOTOS P ON P.OW_ID = O.OW_ID ORDER BY O.OW_ID"),
      (Rows{{"3", "<null>", "photo-3"}, {"8", "<null>", "photo-8"}, {"11", "<null>", "<null>"}}));
  EXPECT_TRUE(LogLines().empty());
}

TEST_F(CopyTest, PhotosTravelBetweenPhotoTables) {
  MakeDatabases();
  Source(std::string(kOwners) +
         "UPDATE OWNER SET OW_PHOTO = NULL;\n"
         "UPDATE OWNERPHOTOS SET OW_PHOTO = 'new-' || OW_ID WHERE OW_ID <> 11;");
  Copy("OWNER", "OW_ID");
  Copy("OWNERPHOTOS", "OW_ID");
  EXPECT_EQ(DestRows("SELECT O.OW_ID, O.OW_PHOTO, P.OW_PHOTO FROM OWNER O "
                     "JOIN OWNERPHOTOS P ON P.OW_ID = O.OW_ID ORDER BY O.OW_ID"),
            (Rows{{"3", "<null>", "new-3"}, {"8", "<null>", "new-8"}, {"11", "<null>", "<null>"}}));
}

TEST_F(CopyTest, APhotoThatCannotBeCopiedFailsItsRowAndKeepsTheDestinationPhoto) {
  MakeDatabases();
  // A destination photo column too short for the source's photo of owner 3.
  Dest(
      "ALTER TABLE OWNERPHOTOS DROP OW_PHOTO;\nALTER TABLE OWNERPHOTOS ADD OW_PHOTO VARCHAR(100);");
  Source(
      std::string(kOwners) +
      "UPDATE OWNERPHOTOS SET OW_PHOTO = 'new-8' WHERE OW_ID = 8;\n"
      "UPDATE OWNERPHOTOS SET OW_PHOTO = CAST(LPAD('', 8000, 'x') AS BLOB) WHERE OW_ID = 3;\n"
      "UPDATE OWNERPHOTOS SET OW_PHOTO = OW_PHOTO || OW_PHOTO || OW_PHOTO || OW_PHOTO || OW_PHOTO "
      "WHERE OW_ID = 3;");
  Copy("OWNER", "OW_ID");
  Disconnect();
  Dest("UPDATE OWNERPHOTOS SET OW_PHOTO = 'kept-' || OW_ID;");
  Copy("OWNERPHOTOS", "OW_ID");
  EXPECT_EQ(DestRows("SELECT OW_ID, OW_PHOTO FROM OWNERPHOTOS ORDER BY OW_ID"),
            (Rows{{"3", "kept-3"}, {"8", "new-8"}, {"11", "<null>"}}));
  EXPECT_EQ(ErrorLines(),
            (std::vector<std::string>{
                "Ошибка Добавления OWNERPHOTOS OW_ID =  3 :  Invalid data conversion"}));
}

TEST_F(CopyTest, OwnersReachADestinationWhoseOwnerTableHasNoPhotoColumn) {
  MakeDatabases(Variant::Older, Variant::Current);
  Dest("ALTER TABLE OWNER DROP OW_PHOTO;");
  Source(kOwners);
  Copy("OWNER", "OW_ID");
  EXPECT_EQ(DestRows("SELECT OW_ID, OW_NAME FROM OWNER ORDER BY OW_ID"),
            (Rows{{"3", "o3"}, {"8", "o8"}, {"11", "o11"}}));
  EXPECT_TRUE(LogLines().empty());
}

TEST_F(CopyTest, EventDescriptionsUpdateTheOperatorsColumnsInPlace) {
  MakeDatabases();
  Source(
      "UPDATE EVDESC SET ED_COLOR = 255, ED_SOUND = 'bell.wav', ED_ISALARM = 1, ED_PRINT = 1, "
      "ED_SHOW = 0, ED_NAME = 'renamed' WHERE ED_ID = 4;\n"
      "UPDATE ACR$EVDESC SET AED_COLOR = 7, AED_SHOW = 0, AED_NAME = 'renamed' WHERE AED_ID = 2;");
  Copy("EVDESC", "ED_ID");
  Copy("ACR$EVDESC", "AED_ID");
  // Only the five operator columns travel; the shipped texts stay the destination's.
  EXPECT_EQ(DestRows("SELECT ED_COLOR, ED_SOUND, ED_ISALARM, ED_PRINT, ED_SHOW, ED_NAME "
                     "FROM EVDESC WHERE ED_ID = 4"),
            (Rows{{"255", "bell.wav", "1", "1", "0", "Связь с сервером установлена"}}));
  EXPECT_EQ(DestRows("SELECT AED_COLOR, AED_SHOW, AED_NAME FROM ACR$EVDESC WHERE AED_ID = 2"),
            (Rows{{"7", "0", "Выход из программы"}}));
  EXPECT_TRUE(LogLines().empty());
}

TEST_F(CopyTest, EventDescriptionsWithTooFewCommonColumnsAreLeftAlone) {
  MakeDatabases();
  Dest("ALTER TABLE EVDESC DROP ED_SHOW;");
  Source(
      "UPDATE EVDESC SET ED_COLOR = 255 WHERE ED_ID = 4;\n"
      "INSERT INTO HOSTS (HS_ID, HS_NAME) VALUES (1, 'h');");
  // The error ends the table's copy and reaches the driver, which goes on.
  EXPECT_THROW(Copy("EVDESC", "ED_ID"), std::out_of_range);
  Copy("HOSTS", "HS_ID");
  EXPECT_EQ(DestRows("SELECT ED_COLOR FROM EVDESC WHERE ED_ID = 4"), (Rows{{"0"}}));
  EXPECT_EQ(DestRows("SELECT HS_NAME FROM HOSTS"), (Rows{{"h"}}));
  EXPECT_TRUE(LogLines().empty());
}

const char kProgramDevices[] = R"(
INSERT INTO HOSTS (HS_ID, HS_NAME) VALUES (1, 'h');
INSERT INTO CONTROLLERS (CT_ID, CT_HS_ID, CT_NAME) VALUES (3, 1, 'c3');
INSERT INTO CONTROLLERS (CT_ID, CT_HS_ID, CT_NAME) VALUES (4, 1, 'c4');
INSERT INTO SLAVES (SL_ID, SL_CT_ID, SL_NAME) VALUES (20, 3, 's20');
INSERT INTO INPUTS (IN_ID, IN_SL_ID, IN_NAME) VALUES (30, 20, 'i30');
INSERT INTO OUTPUTS (OU_ID, OU_SL_ID, OU_NAME) VALUES (41, 20, 'o41');
INSERT INTO READERS (RD_ID, RD_SL_ID, RD_NAME) VALUES (51, 20, 'r51');
INSERT INTO PCN (PC_ID, PC_CT_ID, PC_NAME) VALUES (60, 3, 'p60');
INSERT INTO CINPUTS (CI_ID, CI_CT_ID, CI_NAME) VALUES (70, 4, 'ci70');
INSERT INTO PRGDEF (PD_ID, PD_NUM, PD_CT_ID, PD_TYPE, PD_NAME, PD_DEV_ID) VALUES (1, 1, 3, 4, 'pr1', 51);
INSERT INTO PRGDEF (PD_ID, PD_NUM, PD_CT_ID, PD_TYPE, PD_NAME, PD_DEV_ID) VALUES (2, 2, 4, 5, 'pr2', 70);
INSERT INTO PRGDEF (PD_ID, PD_NUM, PD_CT_ID, PD_TYPE, PD_NAME, PD_DEV_ID) VALUES (3, 3, 3, 6, 'pr3', 60);
INSERT INTO PRGDEF (PD_ID, PD_NUM, PD_CT_ID, PD_TYPE, PD_NAME, PD_DEV_ID) VALUES (4, 4, 4, 7, 'pr4', 30);
INSERT INTO PRGDEF (PD_ID, PD_NUM, PD_CT_ID, PD_TYPE, PD_NAME, PD_DEV_ID) VALUES (5, 5, 3, 8, 'pr5', 41);
INSERT INTO PRGDEF (PD_ID, PD_NUM, PD_CT_ID, PD_TYPE, PD_NAME, PD_DEV_ID) VALUES (6, 6, 3, 3, 'pr6', 999);
INSERT INTO PRGDEF (PD_ID, PD_NUM, PD_CT_ID, PD_TYPE, PD_NAME, PD_DEV_ID) VALUES (7, 7, 4, 4, 'pr7', NULL);
)";

class ProgramTest : public CopyTest {
 protected:
  void CopyAll() {
    for (const char* line :
         {"HOSTS=HS_ID", "CONTROLLERS=CT_ID", "SLAVES=SL_ID", "INPUTS=IN_ID", "OUTPUTS=OU_ID",
          "READERS=RD_ID", "PCN=PC_ID", "CINPUTS=CI_ID", "PRGDEF=PD_ID"}) {
      const std::string entry(line);
      const size_t eq = entry.find('=');
      Copy(entry.substr(0, eq), entry.substr(eq + 1));
    }
  }
};

TEST_F(ProgramTest, ProgramDevicesFollowTheTableTheirTypeNames) {
  MakeDatabases();
  Source(kProgramDevices);
  CopyAll();
  EXPECT_EQ(
      DestRows("SELECT P.PD_ID, C.CT_NAME, P.PD_TYPE, COALESCE(R.RD_NAME, CI.CI_NAME, PC.PC_NAME, "
               "I.IN_NAME, O.OU_NAME, P.PD_DEV_ID) FROM PRGDEF P "
               "JOIN CONTROLLERS C ON C.CT_ID = P.PD_CT_ID "
               "LEFT JOIN READERS R ON P.PD_TYPE = 4 AND R.RD_ID = P.PD_DEV_ID "
               "LEFT JOIN CINPUTS CI ON P.PD_TYPE = 5 AND CI.CI_ID = P.PD_DEV_ID "
               "LEFT JOIN PCN PC ON P.PD_TYPE = 6 AND PC.PC_ID = P.PD_DEV_ID "
               "LEFT JOIN INPUTS I ON P.PD_TYPE = 7 AND I.IN_ID = P.PD_DEV_ID "
               "LEFT JOIN OUTPUTS O ON P.PD_TYPE = 8 AND O.OU_ID = P.PD_DEV_ID ORDER BY P.PD_ID"),
      (Rows{{"1", "c3", "4", "r51"},
            {"2", "c4", "5", "ci70"},
            {"3", "c3", "6", "p60"},
            {"4", "c4", "7", "i30"},
            {"5", "c3", "8", "o41"},
            {"6", "c3", "3", "999"},
            {"7", "c4", "4", "<null>"}}));
  EXPECT_TRUE(LogLines().empty());
}

TEST_F(ProgramTest, ProgramsOfASourceWithoutTypeFailRowByRow) {
  MakeDatabases();
  Source(std::string(kProgramDevices) + "COMMIT;\nALTER TABLE PRGDEF DROP PD_TYPE;");
  CopyAll();
  std::vector<std::string> expected;
  for (int key = 1; key <= 7; ++key)
    expected.push_back("Ошибка Добавления PRGDEF PD_ID =  " + std::to_string(key) +
                       " :  Field \"PD_TYPE\" not found");
  EXPECT_EQ(LogLines(), expected);
  EXPECT_EQ(DestRows("SELECT COUNT(*) FROM PRGDEF"), (Rows{{"0"}}));
}

TEST_F(CopyTest, SettingsSkipFiltersAndRewriteReaderRights) {
  MakeDatabases();
  Source(R"(
INSERT INTO HOSTS (HS_ID, HS_NAME) VALUES (1, 'h');
INSERT INTO CONTROLLERS (CT_ID, CT_HS_ID, CT_NAME) VALUES (1, 1, 'c');
INSERT INTO SLAVES (SL_ID, SL_CT_ID, SL_NAME) VALUES (1, 1, 's');
INSERT INTO READERS (RD_ID, RD_SL_ID, RD_NAME) VALUES (12, 1, 'r12');
INSERT INTO READERS (RD_ID, RD_SL_ID, RD_NAME) VALUES (15, 1, 'r15');
INSERT INTO INIDATA (ID_ID, ID_SECTION, ID_NAME, ID_BLOB) VALUES (1, 'USERS_RD_RIGHTS', 'ivan', 'a]15' || ASCII_CHAR(13) || ASCII_CHAR(10) || 'b]12');
INSERT INTO INIDATA (ID_ID, ID_SECTION, ID_NAME, ID_BLOB) VALUES (2, 'USER_FILTERS', 'ivan', 'x');
INSERT INTO INIDATA (ID_ID, ID_SECTION, ID_NAME, ID_BLOB) VALUES (3, 'USER_CAN_FILTER', 'ivan', 'x');
INSERT INTO INIDATA (ID_ID, ID_SECTION, ID_NAME, ID_BLOB) VALUES (4, 'CTRL_FILTERS', 'ivan', 'x');
INSERT INTO INIDATA (ID_ID, ID_SECTION, ID_NAME, ID_BLOB) VALUES (5, 'MAIN', 'colour', '12');
INSERT INTO INIDATA (ID_ID, ID_SECTION, ID_NAME, ID_BLOB) VALUES (6, 'USERS_RD_RIGHTS', 'petr', 'a]');
)");
  Dest("SET GENERATOR GEN_READERS TO 100;");
  Copy("HOSTS", "HS_ID");
  Copy("CONTROLLERS", "CT_ID");
  Copy("SLAVES", "SL_ID");
  Copy("READERS", "RD_ID");
  Copy("INIDATA", "ID_ID");
  EXPECT_EQ(DestRows("SELECT ID_ID, ID_SECTION, ID_BLOB FROM INIDATA ORDER BY ID_ID"),
            (Rows{{"1", "USERS_RD_RIGHTS", "a]102\r\nb]101\r\n"}, {"5", "MAIN", "12"}}));
  EXPECT_EQ(LogLines(),
            (std::vector<std::string>{
                "Ошибка Добавления INIDATA ID_ID =  6 :  '' is not a valid integer value"}));
}

// The operator answers inside a pump, which comes at most every few
// milliseconds: the table stops before the row after the one the bar had
// counted, and every row counted is written and mapped, batched or not.
TEST_F(CopyTest, AnInterruptStopsTheTableAtTheRowTheBarHadCounted) {
  constexpr int kHosts = 20000;
  for (int answerAtPump : {1, 3}) {
    SCOPED_TRACE(answerAtPump);
    MakeDatabases();
    Source("SET TERM ^;\nEXECUTE BLOCK AS DECLARE K INTEGER = 1; BEGIN WHILE (K <= " +
           std::to_string(kHosts) +
           ") DO BEGIN INSERT INTO HOSTS (HS_ID, HS_NAME) VALUES (:K, 'h'); K = K + 1; END "
           "END^\nSET TERM ;^");
    Connect();
    const int before = window_.pumps;
    const size_t mappedBefore = NewKeys(keymap::kHosts).size();
    int counted = 0;
    window_.interrupted = false;
    window_.onPump = [&](FakeWindow& window, int pump) {
      if (pump - before != answerAtPump) return;
      window.interrupted = true;
      counted = window.tableBar.position;
    };
    Copy("HOSTS", "HS_ID");
    ASSERT_GT(counted, 0) << "the table ended before the answer";
    EXPECT_LT(counted, kHosts);
    EXPECT_EQ(window_.tableBar.position, counted);
    EXPECT_EQ(DestRows("SELECT COUNT(*) FROM HOSTS"), (Rows{{std::to_string(counted)}}));
    EXPECT_EQ(NewKeys(keymap::kHosts).size() - mappedBefore, static_cast<size_t>(counted));
  }
}

}  // namespace
}  // namespace copytest
