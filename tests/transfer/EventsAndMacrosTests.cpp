// Events and alarms from a chosen date, with their device keys rewritten by the
// description's hardware type; macros with their command lines rewritten.
#include <map>

#include "tests/transfer/CopyFixture.h"
#include "text/Regional.h"
#include "transfer/KeyMap.h"
#include "transfer/KeyedInsert.h"

namespace copytest {
namespace {

using Rows = std::vector<Row>;
using Keys = std::vector<std::string>;

// Devices whose source keys differ from the keys they get in the destination.
const char kDevices[] = R"(
INSERT INTO HOSTS (HS_ID, HS_NAME) VALUES (9, 'h9');
INSERT INTO CONTROLLERS (CT_ID, CT_HS_ID, CT_NAME) VALUES (4, 9, 'c4');
INSERT INTO SLAVES (SL_ID, SL_CT_ID, SL_NAME) VALUES (20, 4, 's20');
INSERT INTO INPUTS (IN_ID, IN_SL_ID, IN_NAME) VALUES (30, 20, 'i30');
INSERT INTO INPUTS (IN_ID, IN_SL_ID, IN_NAME) VALUES (31, 20, 'i31');
INSERT INTO OUTPUTS (OU_ID, OU_SL_ID, OU_NAME) VALUES (40, 20, 'o40');
INSERT INTO OUTPUTS (OU_ID, OU_SL_ID, OU_NAME) VALUES (41, 20, 'o41');
INSERT INTO READERS (RD_ID, RD_SL_ID, RD_NAME) VALUES (15, 20, 'r15');
INSERT INTO READERS (RD_ID, RD_SL_ID, RD_NAME) VALUES (16, 20, 'r16');
)";

class EventsAndMacrosTest : public CopyTest {
 protected:
  void SetUp() override {
    MakeDatabases();
    Dest("SET GENERATOR GEN_READERS TO 300; SET GENERATOR GEN_INPUTS TO 100;");
  }
  void CopyDevices() {
    Copy("HOSTS", "HS_ID");
    Copy("CONTROLLERS", "CT_ID");
    Copy("SLAVES", "SL_ID");
    Copy("INPUTS", "IN_ID");
    Copy("OUTPUTS", "OU_ID");
    Copy("READERS", "RD_ID");
  }
};

std::string Event(int id, const char* date, int code, int addCode, const char* device) {
  return "INSERT INTO EVENTS (EV_ID, EV_DATE, EV_CODE, EV_ADDCODE, EV_DEV_ID, EV_TEXT) VALUES (" +
         std::to_string(id) + ", '" + date + "', " + std::to_string(code) + ", " +
         std::to_string(addCode) + ", " + device + ", 'e" + std::to_string(id) + "');\n";
}

TEST_F(EventsAndMacrosTest, EventDevicesFollowTheHardwareTypeOfTheirDescription) {
  Source(std::string(kDevices) + Event(1, "1900-01-01 10:00", 10, 0, "9") +
         Event(2, "2020-01-01", 20, 0, "4") + Event(3, "2020-01-01", 30, 0, "20") +
         Event(4, "2020-01-01", 40, 0, "16") + Event(5, "2020-01-01", 40, 257, "15") +
         Event(6, "2020-01-01", 70, 0, "31") + Event(7, "2020-01-01", 80, 0, "40") +
         Event(8, "2020-01-01", 1, 0, "777") + Event(9, "2020-01-01", 99, 0, "9") +
         Event(10, "2020-01-01", 40, 0, "NULL"));
  CopyDevices();
  window_.eventsFrom = 0;  // an empty date box: every event
  Copy("EVENTS", "EV_ID");

  EXPECT_EQ(window_.tableBar.max, 10);
  // Event 9 has no description and is not copied; keys are kept.
  EXPECT_EQ(DestRows("SELECT E.EV_ID, COALESCE(H.HS_NAME, C.CT_NAME, S.SL_NAME, R.RD_NAME, "
                     "I.IN_NAME, O.OU_NAME, E.EV_DEV_ID) FROM EVENTS E "
                     "LEFT JOIN HOSTS H ON E.EV_CODE = 10 AND H.HS_ID = E.EV_DEV_ID "
                     "LEFT JOIN CONTROLLERS C ON E.EV_CODE = 20 AND C.CT_ID = E.EV_DEV_ID "
                     "LEFT JOIN SLAVES S ON E.EV_CODE = 30 AND S.SL_ID = E.EV_DEV_ID "
                     "LEFT JOIN READERS R ON E.EV_CODE = 40 AND R.RD_ID = E.EV_DEV_ID "
                     "LEFT JOIN INPUTS I ON E.EV_CODE = 70 AND I.IN_ID = E.EV_DEV_ID "
                     "LEFT JOIN OUTPUTS O ON E.EV_CODE = 80 AND O.OU_ID = E.EV_DEV_ID "
                     "ORDER BY E.EV_ID"),
            (Rows{{"1", "h9"},
                  {"2", "c4"},
                  {"3", "s20"},
                  {"4", "r16"},
                  {"5", "r15"},
                  {"6", "i31"},
                  {"7", "o40"},
                  {"8", "777"},
                  {"10", "<null>"}}));
  EXPECT_TRUE(LogLines().empty());
}

TEST_F(EventsAndMacrosTest, EventsFromTheChosenDayOnlyAndKeysAlreadyThereFail) {
  Source(Event(1, "2020-05-31 23:59", 1, 0, "1") + Event(2, "2020-06-01 08:00", 1, 0, "1") +
         Event(3, "2020-06-02", 1, 0, "1") + Event(4, "2021-01-01", 1, 0, "1") +
         "INSERT INTO ALARM (AL_ID, AL_DATE, AL_CODE, AL_ADDCODE) VALUES (1, '2020-05-01', 1, 0);\n"
         "INSERT INTO ALARM (AL_ID, AL_DATE, AL_CODE, AL_ADDCODE) VALUES (2, '2020-07-01', 1, 0);\n"
         "INSERT INTO STR_EVENTS (EV_ID, EV_DATE, EV_CODE) VALUES (1, '2020-06-01', 5);\n"
         "INSERT INTO STR_EVENTS (EV_ID, EV_DATE, EV_CODE) VALUES (2, '2019-06-01', 5);\n");
  Dest(Event(3, "2000-01-01", 1, 0, "1"));
  // The chosen day counts from its midnight, whatever time the box carries.
  window_.eventsFrom = text::EncodeDateTime({2020, 6, 1, 15, 30, 0, 0});
  Copy("EVENTS", "EV_ID");
  EXPECT_EQ(window_.tableBar.max, 3);
  Copy("ALARM", "AL_ID");
  Copy("STR_EVENTS", "EV_ID");

  EXPECT_EQ(DestRows("SELECT EV_ID, EV_TEXT FROM EVENTS ORDER BY EV_ID"),
            (Rows{{"2", "e2"}, {"3", "e3"}, {"4", "e4"}}));
  EXPECT_EQ(DestRows("SELECT AL_ID FROM ALARM"), (Rows{{"2"}}));
  EXPECT_EQ(DestRows("SELECT EV_ID FROM STR_EVENTS"), (Rows{{"1"}}));
  const auto errors = ErrorLines();
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].rfind("Ошибка Добавления EVENTS EV_ID =  3 :  violation of PRIMARY or "
                            "UNIQUE KEY constraint",
                            0),
            0u)
      << errors[0];
}

const char kMacros[] =
    "INSERT INTO MACROSES (MCR_ID, MCR_NAME, MCR_FILL) VALUES (7, 'open', "
    "'24;0;6;15;0;1;' || ASCII_CHAR(13) || ASCII_CHAR(10) || '5:30:3:xx:y:TakeInAT:' || "
    "ASCII_CHAR(10) || '22;0;7;41;0;1;');\n"
    "INSERT INTO MACROSES (MCR_ID, MCR_NAME, MCR_FILL) VALUES (3, 'odd', "
    "'24;0;6;;0;' || ASCII_CHAR(13) || ASCII_CHAR(10) || '24;0;8;99;0;1;' || ASCII_CHAR(13) || "
    "ASCII_CHAR(10));\n"
    "INSERT INTO MACROSES (MCR_ID, MCR_NAME, MCR_FILL) VALUES (12, 'bad', 'x');\n"
    "INSERT INTO MACROSES (MCR_ID, MCR_NAME, MCR_FILL) VALUES (20, 'last', '24;0;6;16;0;1;');\n"
    "INSERT INTO MAKROS_RIGHT (MR_MCR_ID, MR_USER, MR_RIGHT) VALUES (20, 'ivan', 1);\n"
    "INSERT INTO MAKROS_RIGHT (MR_MCR_ID, MR_USER, MR_RIGHT) VALUES (7, 'ivan', 1);\n";

class MacroTest : public EventsAndMacrosTest, public ::testing::WithParamInterface<bool> {
 protected:
  void SetUp() override {
    KeyedInsert::UseMaxReadBackForTests(GetParam());
    EventsAndMacrosTest::SetUp();
  }
  void TearDown() override { KeyedInsert::UseMaxReadBackForTests(false); }
};

TEST_P(MacroTest, MacroLinesFollowTheDevicesAndAFailedMacroMapsToMinusOne) {
  Source(std::string(kDevices) + kMacros);
  Dest(
      "INSERT INTO MACROSES (MCR_ID, MCR_NAME) VALUES (1, 'old');\n"
      "SET GENERATOR GEN_MACROSES TO 50;\n"
      "ALTER TABLE MACROSES ADD CONSTRAINT CHK_MACRO CHECK (MCR_NAME <> 'bad');");
  CopyDevices();
  CopyMacros();
  Copy("MAKROS_RIGHT", "MR_MCR_ID");

  // Macros come in the source's order; the one that fails takes no other's key.
  const Keys oldKeys = OldKeys(keymap::kMacroses);
  ASSERT_EQ(oldKeys.size(), 4u);
  const Keys newKeys = NewKeys(keymap::kMacroses);
  ASSERT_EQ(newKeys.size(), 4u);
  std::map<std::string, std::string> mapped;
  for (size_t i = 0; i < 4; ++i) mapped[oldKeys[i]] = newKeys[i];
  EXPECT_EQ(mapped["12"], "-1");
  EXPECT_EQ(
      DestRows("SELECT MCR_ID, MCR_NAME, MCR_FILL FROM MACROSES ORDER BY MCR_NAME"),
      (Rows{{mapped["20"], "last", "24;0;6;302;0;1;\r\n"},
            {mapped["3"], "odd", "24;0;6;;0;\r\n24;0;8;-1;0;1;\r\n"},
            {mapped["7"], "open", "24;0;6;301;0;1;\r\n24;0;8;101;0;1;0;\r\n22;0;7;2;0;1;\r\n"}}));
  EXPECT_EQ(DestRows("SELECT M.MCR_NAME FROM MAKROS_RIGHT R JOIN MACROSES M "
                     "ON M.MCR_ID = R.MR_MCR_ID ORDER BY M.MCR_NAME"),
            (Rows{{"last"}, {"open"}}));
  const auto errors = ErrorLines();
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].rfind("Ошибка добавления макросов в приемник:  Operation violates CHECK", 0),
            0u)
      << errors[0];
}

TEST_P(MacroTest, ASourceWithoutMacrosEmptiesTheDestinationsMacros) {
  Dest("INSERT INTO MACROSES (MCR_ID, MCR_NAME) VALUES (1, 'old');");
  CopyMacros();
  EXPECT_TRUE(OldKeys(keymap::kMacroses).empty());
  EXPECT_TRUE(NewKeys(keymap::kMacroses).empty());
  EXPECT_EQ(DestRows("SELECT COUNT(*) FROM MACROSES"), (Rows{{"0"}}));
}

INSTANTIATE_TEST_SUITE_P(NewKeySource, MacroTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? std::string("MaxReadBack")
                                             : std::string("Returning");
                         });

}  // namespace
}  // namespace copytest
