// A whole demo site copied table by table in the sample table list's order, in
// batches and again row by row.
// Each reference is checked by the natural data of the row it points at (names
// and numbers within their parents), computed the same way on both sides, so a
// reference rewritten through the wrong key or the wrong table shows.
#include <algorithm>
#include <map>

#include "tests/support/Contents.h"
#include "tests/transfer/CopyFixture.h"
#include "text/Cp1251.h"
#include "text/Regional.h"
#include "text/TextFile.h"
#include "transfer/Operations.h"
#include "transfer/RowBatch.h"
#include "transfer/TableList.h"

namespace copytest {
namespace {

using Rows = std::vector<Row>;

// The natural identity of a device, as an SQL expression of its key `k`.
std::string Path(int type, const std::string& k) {
  const std::string ct = "JOIN CONTROLLERS C ON C.CT_ID = ";
  const std::string sl = "JOIN SLAVES S ON S.SL_ID = ";
  switch (type) {
    case 1:
      return "(SELECT HS_NAME FROM HOSTS WHERE HS_ID = " + k + ")";
    case 2:
      return "(SELECT CT_NAME FROM CONTROLLERS WHERE CT_ID = " + k + ")";
    case 3:
      return "(SELECT C.CT_NAME || '/' || S.SL_NUM FROM SLAVES S " + ct +
             "S.SL_CT_ID WHERE S.SL_ID = " + k + ")";
    case 4:
      return "(SELECT C.CT_NAME || '/' || S.SL_NUM || '/r' || R.RD_NUM FROM READERS R " + sl +
             "R.RD_SL_ID " + ct + "S.SL_CT_ID WHERE R.RD_ID = " + k + ")";
    case 5:
      return "(SELECT C.CT_NAME || '/ci' || I.CI_NUM FROM CINPUTS I " + ct +
             "I.CI_CT_ID WHERE I.CI_ID = " + k + ")";
    case 6:
      return "(SELECT C.CT_NAME || '/pc' || P.PC_NUM FROM PCN P " + ct +
             "P.PC_CT_ID WHERE P.PC_ID = " + k + ")";
    case 7:
      return "(SELECT C.CT_NAME || '/' || S.SL_NUM || '/i' || I.IN_NUM FROM INPUTS I " + sl +
             "I.IN_SL_ID " + ct + "S.SL_CT_ID WHERE I.IN_ID = " + k + ")";
    case 8:
      return "(SELECT C.CT_NAME || '/' || S.SL_NUM || '/o' || O.OU_NUM FROM OUTPUTS O " + sl +
             "O.OU_SL_ID " + ct + "S.SL_CT_ID WHERE O.OU_ID = " + k + ")";
  }
  return k;
}

// A device key by the hardware type in `typeColumn`; other types show the key itself.
std::string PathByType(const std::string& typeColumn, const std::string& k) {
  std::string sql = "CASE " + typeColumn;
  for (int type = 1; type <= 8; ++type)
    sql += " WHEN " + std::to_string(type) + " THEN " + Path(type, k);
  return sql + " ELSE " + k + " END";
}

// Selects that must give the same rows on both sides.
std::vector<std::string> SameOnBothSides() {
  return {
      "SELECT HS_NAME, HS_ADDRESS, HS_ARCHIVE FROM HOSTS X",
      "SELECT CT_NAME, CT_ADDR, CT_ARCHIVE, " + Path(1, "X.CT_HS_ID") + " FROM CONTROLLERS X",
      "SELECT " + Path(3, "X.SL_ID") + ", SL_NAME, SL_ARCHIVE, SL_TYPE FROM SLAVES X",
      "SELECT " + Path(7, "X.IN_ID") + ", IN_NAME FROM INPUTS X",
      "SELECT " + Path(8, "X.OU_ID") + ", OU_NAME, OU_PULSE FROM OUTPUTS X",
      "SELECT " + Path(4, "X.RD_ID") + ", RD_NAME, RD_ARCHIVE, RD_MODE, " + Path(7, "X.RD_IN_1") +
          ", " + Path(7, "X.RD_IN_2") + ", " + Path(7, "X.RD_IN_3") + ", " + Path(7, "X.RD_IN_4") +
          ", " + Path(8, "X.RD_OUT_IND0") + ", " + Path(8, "X.RD_OUT_IND1") + ", " +
          Path(8, "X.RD_OUT_IND2") + ", " + Path(8, "X.RD_OUT_IND3") + ", " +
          Path(8, "X.RD_OUT_OPEN") + ", " + Path(8, "X.RD_OUT_CLOSE") + " FROM READERS X",
      "SELECT " + Path(6, "X.PC_ID") + ", PC_NAME FROM PCN X",
      "SELECT " + Path(5, "X.CI_ID") + ", CI_NAME FROM CINPUTS X",
      "SELECT CG_NAME, CG_NUM, " + Path(2, "X.CG_CT_ID") +
          " FROM CARDGROUPS X WHERE CG_CT_ID IS NOT NULL",
      "SELECT KT_NAME, KT_NUM, " + Path(2, "X.KT_CT_ID") + " FROM KRONTUR X",
      "SELECT CD_ID, CD_NAME, CD_FORMAT, " + Path(2, "X.CD_CT_ID") + " FROM CARDSDEF X",
      "SELECT DS_ID, DS_NAME, DS_FROM, DS_TO, " + Path(2, "X.DS_CT_ID") + " FROM DAYSCH X",
      "SELECT TM_ID, TM_NAME, TM_TIME, " + Path(2, "X.TM_CT_ID") + " FROM TIMERS X",
      "SELECT AR_ID, AR_AG_NUM, AR_SCH_NUM, AR_RIGHT, " + Path(4, "X.AR_RD_ID") +
          " FROM AGRIGHTS X",
      "SELECT AS_ID, AS_AG_NUM, AS_DAY, " + Path(4, "X.AS_RD_ID") + " FROM AGSCH X",
      "SELECT PD_ID, PD_NAME, PD_TYPE, PD_PARAM, " + Path(2, "X.PD_CT_ID") + ", " +
          PathByType("X.PD_TYPE", "X.PD_DEV_ID") + " FROM PRGDEF X",
      "SELECT RA_ID, RA_NAME, RA_PARAM, " + Path(1, "X.RA_HS_ID") + " FROM ROBOTS$ACTIONS X",
      "SELECT OW_ID, OW_NAME, OW_FNAME, OW_CARD, OW_DEPT, OW_BALANCE, OW_ARCHIVE FROM OWNER X",
      "SELECT M.MCR_NAME, R.MR_USER, R.MR_RIGHT FROM MAKROS_RIGHT R JOIN MACROSES M "
      "ON M.MCR_ID = R.MR_MCR_ID",
      "SELECT ED_ID, ED_COLOR, ED_SOUND, ED_ISALARM, ED_PRINT, ED_SHOW FROM EVDESC X",
      "SELECT AED_ID, AED_COLOR, AED_SHOW FROM ACR$EVDESC X",
      "SELECT AEV_ID, AEV_CODE, AEV_TEXT FROM ACR$EVENTS X WHERE AEV_DATE >= '2026-03-01'",
      "SELECT EV_ID, EV_CODE, EV_TEXT FROM STR_EVENTS WHERE EV_DATE >= '2026-03-01'",
  };
}

// Events and alarms of the chosen period that have a description, with their devices.
std::string EventDevices(const std::string& table, const std::string& prefix) {
  const std::string p = prefix;
  return "SELECT E." + p + "_ID, E." + p + "_CODE, " +
         PathByType("(SELECT MIN(ED_HARDTYPE) FROM EVDESC D WHERE D.ED_CODE = E." + p +
                        "_CODE AND (D.ED_ADDCODE = E." + p + "_ADDCODE OR D.ED_ADDCODE = E." + p +
                        "_ADDCODE - 256))",
                    "E." + p + "_DEV_ID") +
         " FROM " + table + " E WHERE E." + p + "_DATE >= '2026-03-01' AND EXISTS (SELECT 1 FROM " +
         "EVDESC D WHERE D.ED_CODE = E." + p + "_CODE AND (D.ED_ADDCODE = E." + p +
         "_ADDCODE OR D.ED_ADDCODE = E." + p + "_ADDCODE - 256))";
}

std::vector<std::string> Fields(const std::string& line, char separator) {
  std::vector<std::string> fields;
  size_t from = 0;
  for (size_t at; (at = line.find(separator, from)) != std::string::npos; from = at + 1)
    fields.push_back(line.substr(from, at - from));
  fields.push_back(line.substr(from));
  return fields;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines = Fields(text, '\n');
  for (std::string& line : lines)
    if (!line.empty() && line.back() == '\r') line.pop_back();
  if (!lines.empty() && lines.back().empty()) lines.pop_back();
  return lines;
}

class SiteTest : public CopyTest, public ::testing::WithParamInterface<Variant> {
 protected:
  void TearDown() override { RowBatch::UseSingleRowsForTests(false); }

  // Every table of the sample list in file order, as the copying pass does
  // (extra clearings and updates aside), then the events section.
  void CopySite() {
    const auto list = testsupport::ControlDir() / "Conv.txt";
    text::TextFileReader reader(list.string());
    while (!reader.Eof()) {
      const TableListLine line = ParseTableListLine(reader.ReadLine(), TableListPass::Copying);
      if (line.comment || line.table.empty() || IsEventTable(line.table)) continue;
      try {
        if (line.table == "MACROSES")
          CopyMacros();
        else if (!line.clearOnly && !line.update)
          Copy(line.table, line.keyColumn, line.argument);
      } catch (const std::exception& e) {
        ADD_FAILURE() << line.table << ": " << e.what();
      }
    }
    for (const EventTable& events : EventSectionTables()) Copy(events.table, events.keyColumn);
  }

  void ExpectSame(const std::string& select) {
    Rows source = SourceRows(select);
    Rows dest = DestRows(select);
    std::sort(source.begin(), source.end());
    std::sort(dest.begin(), dest.end());
    EXPECT_FALSE(source.empty()) << select;
    EXPECT_EQ(dest, source) << select;
  }

  // Key to natural identity of every device of one type.
  std::map<std::string, std::string> Devices(bool dest, int type) {
    const std::string table = type == 4   ? "READERS RD_ID"
                              : type == 7 ? "INPUTS IN_ID"
                                          : "OUTPUTS OU_ID";
    const std::string key = table.substr(table.find(' ') + 1);
    const std::string select = "SELECT X." + key + ", " + Path(type, "X." + key) + " FROM " +
                               table.substr(0, table.find(' ')) + " X";
    std::map<std::string, std::string> paths;
    for (const Row& row : dest ? DestRows(select) : SourceRows(select)) paths[row[0]] = row[1];
    return paths;
  }
};

TEST_P(SiteTest, EveryReferencePointsAtTheRowItPointedAtInTheSource) {
  MakeDatabases(GetParam(), Variant::Current);
  testsupport::MakeDemoDatabase(src_, GetParam(), 3);
  window_.eventsFrom = text::EncodeDateTime({2026, 3, 1, 12, 0, 0, 0});
  const long long batchedBefore = RowBatch::RowsWrittenForTests();
  CopySite();
  EXPECT_GT(RowBatch::RowsWrittenForTests(), batchedBefore) << "no batch was written";
  EXPECT_TRUE(ErrorLines().empty()) << ErrorLines().front();

  // Natural identities are unique, or the checks below would prove nothing.
  for (int type = 3; type <= 8; ++type) {
    EXPECT_EQ(DestRows("SELECT COUNT(*) - COUNT(DISTINCT P) FROM (SELECT " + Path(type, "X.K") +
                       " AS P FROM (SELECT " +
                       std::string(type == 3   ? "SL_ID AS K FROM SLAVES"
                                   : type == 4 ? "RD_ID AS K FROM READERS"
                                   : type == 5 ? "CI_ID AS K FROM CINPUTS"
                                   : type == 6 ? "PC_ID AS K FROM PCN"
                                   : type == 7 ? "IN_ID AS K FROM INPUTS"
                                               : "OU_ID AS K FROM OUTPUTS") +
                       ") X) Y"),
              (Rows{{"0"}}))
        << type;
  }
  for (const std::string& select : SameOnBothSides()) ExpectSame(select);
  ExpectSame(EventDevices("EVENTS", "EV"));
  ExpectSame(EventDevices("ALARM", "AL"));

  // Photos in either layout arrive in the photo table.
  const std::string photos = "SELECT OW_ID, HASH(OW_PHOTO) FROM ";
  Rows sourcePhotos = SourceRows(photos + (GetParam() == Variant::Older ? "OWNER" : "OWNERPHOTOS") +
                                 " WHERE OW_PHOTO IS NOT NULL ORDER BY OW_ID");
  EXPECT_FALSE(sourcePhotos.empty());
  EXPECT_EQ(DestRows(photos + "OWNERPHOTOS WHERE OW_PHOTO IS NOT NULL ORDER BY OW_ID"),
            sourcePhotos);
  EXPECT_EQ(DestRows("SELECT COUNT(*) FROM OWNER WHERE OW_PHOTO IS NOT NULL"), (Rows{{"0"}}));

  // Columns of the older layout only are dropped; the current one's take defaults.
  if (GetParam() == Variant::Older) {
    EXPECT_EQ(DestRows("SELECT DISTINCT HS_PORT FROM HOSTS"), (Rows{{"1"}}));
    EXPECT_EQ(DestRows("SELECT DISTINCT CT_FIRMWARE FROM CONTROLLERS"), (Rows{{"unknown"}}));
  }

  // Macro lines and reader rights name the same devices as in the source.
  // Macro object types: 6 reader, 7 output, 8 input.
  std::map<int, std::map<std::string, std::string>> sourceDevices, destDevices;
  for (const auto& [macroType, hardType] : std::map<int, int>{{6, 4}, {7, 8}, {8, 7}}) {
    sourceDevices[macroType] = Devices(false, hardType);
    destDevices[macroType] = Devices(true, hardType);
  }
  auto device = [](std::map<std::string, std::string>& paths, const std::string& key) {
    auto found = paths.find(key);
    return found == paths.end() ? std::string("none") : found->second;
  };
  const std::map<std::string, int> words = {
      {"TakeInAT", 8}, {"ResetUU", 7}, {"SetAcMode", 6}, {"EnableAcWish", 6}};
  const std::string macros = "SELECT MCR_NAME, MCR_FILL FROM MACROSES ORDER BY MCR_NAME";
  const Rows sourceMacros = SourceRows(macros);
  const Rows destMacros = DestRows(macros);
  ASSERT_EQ(destMacros.size(), sourceMacros.size());
  int rewritten = 0;
  for (size_t m = 0; m < sourceMacros.size(); ++m) {
    ASSERT_EQ(destMacros[m][0], sourceMacros[m][0]);
    const auto from = Lines(sourceMacros[m][1]);
    const auto to = Lines(destMacros[m][1]);
    ASSERT_EQ(to.size(), from.size()) << destMacros[m][0];
    for (size_t i = 0; i < from.size(); ++i) {
      const auto d = Fields(to[i], ';');
      int type = d.size() >= 5 ? std::atoi(d[2].c_str()) & 0xFF : 0;
      if (type < 6 || type > 8) continue;
      std::string sourceKey;
      if (from[i].size() <= 20) {
        sourceKey = Fields(from[i], ';').at(3);
      } else {
        const auto named = Fields(from[i], ':');
        sourceKey = named.at(1);
        EXPECT_EQ(words.at(named.at(5)), type) << from[i];
      }
      const std::string sourceDevice = device(sourceDevices[type], sourceKey);
      EXPECT_EQ(device(destDevices[type], d[3]), sourceDevice) << from[i] << " -> " << to[i];
      if (sourceDevice == "none") {
        EXPECT_EQ(d[3], "-1");
      }
      ++rewritten;
    }
  }
  EXPECT_GT(rewritten, 10);

  const std::string rights =
      "SELECT ID_ID, ID_BLOB FROM INIDATA WHERE ID_SECTION = 'USERS_RD_RIGHTS' ORDER BY ID_ID";
  const Rows sourceRights = SourceRows(rights);
  const Rows destRights = DestRows(rights);
  ASSERT_EQ(destRights.size(), sourceRights.size());
  ASSERT_FALSE(destRights.empty());
  for (size_t r = 0; r < sourceRights.size(); ++r) {
    const auto from = Lines(sourceRights[r][1]);
    const auto to = Lines(destRights[r][1]);
    ASSERT_EQ(to.size(), from.size());
    for (size_t i = 0; i < from.size(); ++i) {
      const size_t a = from[i].find(']');
      const size_t b = to[i].find(']');
      EXPECT_EQ(to[i].substr(0, b), from[i].substr(0, a));
      EXPECT_EQ(device(destDevices[6], to[i].substr(b + 1)),
                device(sourceDevices[6], from[i].substr(a + 1)));
    }
  }
  EXPECT_EQ(DestRows("SELECT DISTINCT ID_SECTION FROM INIDATA WHERE ID_SECTION LIKE '%FILTER%'"),
            Rows{});

  // Rows written one by one leave the very destination the batches left.
  Disconnect();
  const std::string batched = testsupport::DatabaseContents(dst_);
  MakeDatabases(GetParam(), Variant::Current);
  testsupport::MakeDemoDatabase(src_, GetParam(), 3);
  context_.keyMap = KeyMap();
  RowBatch::UseSingleRowsForTests(true);
  CopySite();
  RowBatch::UseSingleRowsForTests(false);
  Disconnect();
  EXPECT_EQ(testsupport::DatabaseContents(dst_), batched);
}

INSTANTIATE_TEST_SUITE_P(SourceLayout, SiteTest,
                         ::testing::Values(Variant::Current, Variant::Older),
                         [](const ::testing::TestParamInfo<Variant>& info) {
                           return info.param == Variant::Current ? std::string("Current")
                                                                 : std::string("Older");
                         });

}  // namespace
}  // namespace copytest
