// The table list and generator list line grammars, and the tables a script
// statement names as written.
#include <gtest/gtest.h>

#include "transfer/ScriptReader.h"
#include "transfer/TableList.h"

namespace {

struct LineCase {
  const char* line;
  TableListPass pass;
  bool comment;
  const char* table;
  const char* keyColumn;
  const char* argument;
  bool hash, percent, at, amp;
};

constexpr auto C = TableListPass::Clearing;
constexpr auto P = TableListPass::Copying;

const LineCase kLines[] = {
    // plain entries and comments
    {"HOSTS=HS_ID", C, false, "HOSTS", "HS_ID", "", false, false, false, false},
    {"*HOSTS=HS_ID", P, true, "", "", "", false, false, false, false},
    {" \t*HOSTS=HS_ID", C, true, "", "", "", false, false, false, false},
    {"HOSTS=HS_ID *", C, false, "HOSTS", "HS_ID *", "", false, false, false, false},
    {"", C, false, "", "", "", false, false, false, false},
    {"   ", P, false, "", "   ", "", false, false, false, false},
    // leading and trailing blanks stay in the names
    {"  READERS=RD_ID ", C, false, "  READERS", "RD_ID ", "", false, false, false, false},
    // no "=": the table is empty, the whole name part is the key column
    {"HOSTS", C, false, "", "HOSTS", "", false, false, false, false},
    {"HOSTS#", P, false, "", "HOSTS", "", true, false, false, false},
    // only the first "=" splits
    {"A=B=C", C, false, "A", "B=C", "", false, false, false, false},
    // each marker on its own
    {"HOSTS=HS_ID#", P, false, "HOSTS", "HS_ID", "", true, false, false, false},
    {"HOSTS=HS_ID%", P, false, "HOSTS", "HS_ID", "", false, true, false, false},
    {"READERS=RD_ID@RD_NUM > 2", C, false, "READERS", "RD_ID", "RD_NUM > 2", false, false, true,
     false},
    {"READERS=RD_ID@RD_NUM > 2", P, false, "READERS", "RD_ID", "RD_NUM > 2", false, false, true,
     false},
    // "&": the column is the copying pass's argument only
    {"OWNER=OW_ID&OW_PHOTO", C, false, "OWNER", "OW_ID", "", false, false, false, true},
    {"OWNER=OW_ID&OW_PHOTO", P, false, "OWNER", "OW_ID", "OW_PHOTO", false, false, false, true},
    // "@" wins over "&" for the argument and the cut; everything after the first "@" is kept
    {"T=K&F@A=1 & B=2", P, false, "T", "K&F", "A=1 & B=2", false, false, true, true},
    {"T=K@X@Y", C, false, "T", "K", "X@Y", false, false, true, false},
    // the fixed order "#", "%", "@", "&" decides the cut, not the leftmost marker
    {"T=K@C1#", P, false, "T", "K@C1", "C1#", true, false, true, false},
    {"T=K&F%", P, false, "T", "K&F", "F%", false, true, false, true},
    {"T=K%@C", C, false, "T", "K", "C", false, true, true, false},
    {"T=K@C%", C, false, "T", "K@C", "C%", false, true, true, false},
    // markers before "=" cut the "=" away
    {"T#=K", C, false, "", "T", "", true, false, false, false},
    // Cyrillic bytes pass unchanged
    {"\xD2\xC0\xC1=\xCA@\xC0 = 1", P, false, "\xD2\xC0\xC1", "\xCA", "\xC0 = 1", false, false, true,
     false},
};

TEST(TableListLine, ParsesEveryShape) {
  for (const LineCase& c : kLines) {
    SCOPED_TRACE(std::string("line \"") + c.line + "\" pass " +
                 (c.pass == C ? "clearing" : "copying"));
    TableListLine line = ParseTableListLine(c.line, c.pass);
    EXPECT_EQ(line.comment, c.comment);
    if (c.comment) continue;
    EXPECT_EQ(line.table, c.table);
    EXPECT_EQ(line.keyColumn, c.keyColumn);
    EXPECT_EQ(line.argument, c.argument);
    EXPECT_EQ(line.extraClearing, c.hash);
    EXPECT_EQ(line.clearOnly, c.percent);
    EXPECT_EQ(line.condition, c.at);
    EXPECT_EQ(line.update, c.amp);
  }
}

TEST(TableListLine, SpecialTablesCompareExactly) {
  for (const char* name :
       {"EVENTS", "ACR$EVENTS", "ALARM", "ACR$ALARMS", "STR_EVENTS", "STR_ALARMS"}) {
    EXPECT_TRUE(IsEventTable(name)) << name;
    EXPECT_FALSE(IsDescriptionTable(name)) << name;
  }
  for (const char* name : {"EVDESC", "ACR$EVDESC"}) {
    EXPECT_TRUE(IsDescriptionTable(name)) << name;
    EXPECT_FALSE(IsEventTable(name)) << name;
  }
  for (const char* name : {"events", " EVENTS", "EVENTS ", "ALARMS", "EVDESC ", "evdesc", ""}) {
    EXPECT_FALSE(IsEventTable(name)) << name;
    EXPECT_FALSE(IsDescriptionTable(name)) << name;
  }
}

struct GeneratorCase {
  const char* line;
  bool comment;
  const char* generator;
  const char* table;
  const char* column;
};

const GeneratorCase kGenerators[] = {
    {"GEN_OWNER=OWNER/OW_ID", false, "GEN_OWNER", "OWNER", "OW_ID"},
    {"*GEN_OWNER=OWNER/OW_ID", true, "", "", ""},
    {"  \t*GEN_OWNER=OWNER/OW_ID", true, "", "", ""},
    // only the first "/" separates; only the first "=" before it
    {"G=T/C/X", false, "G", "T", "C/X"},
    {"G=T=U/C", false, "G", "T=U", "C"},
    {"G=T/C=D", false, "G", "T", "C=D"},
    // nothing is trimmed
    {" G = T / C ", false, " G ", " T ", " C "},
    // a blank line and a line without "/" leave the column empty
    {"", false, "", "", ""},
    {"G=T", false, "G", "T", ""},
    // without "=" everything before "/" is the table
    {"T/C", false, "", "T", "C"},
    {"/C", false, "", "", "C"},
};

TEST(GeneratorLine, ParsesEveryShape) {
  for (const GeneratorCase& c : kGenerators) {
    SCOPED_TRACE(std::string("line \"") + c.line + "\"");
    GeneratorEntry entry = ParseGeneratorLine(c.line);
    EXPECT_EQ(entry.comment, c.comment);
    if (c.comment) continue;
    EXPECT_EQ(entry.generator, c.generator);
    EXPECT_EQ(entry.table, c.table);
    EXPECT_EQ(entry.column, c.column);
  }
}

// The check says beside a table's differences that the second script writes it.
TEST(ScriptStatement, NamesTheTablesItWrites) {
  const std::vector<std::pair<std::vector<std::string>, std::vector<std::string>>> cases = {
      {{"INSERT INTO ZONES (ZN_ID, ZN_NAME, ZN_RD_ID)",
        "SELECT RD_ID, RD_NAME, RD_ID FROM READERS"},
       {"ZONES"}},
      {{"update owner set OW_DEPT = 'x'", "where OW_ID in (select OW_ID from OWNERPHOTOS)"},
       {"OWNER"}},
      {{"UPDATE OR INSERT INTO \"STATE_VALUES\" (SV_TABLE) VALUES ('A') MATCHING (SV_TABLE)"},
       {"STATE_VALUES"}},
      {{"delete from EVENTS where EV_ID < 0;", "MERGE INTO ALARM A USING EVENTS E ON 1 = 0"},
       {"EVENTS", "ALARM"}},
      {{"ALTER TRIGGER EVENTS_AI_LASTPASS ACTIVE", "SELECT * FROM INSERTS"}, {}},
  };
  for (const auto& [statement, tables] : cases) {
    SCOPED_TRACE(statement.front());
    EXPECT_EQ(TablesWrittenBy(statement), tables);
  }
}

}  // namespace
