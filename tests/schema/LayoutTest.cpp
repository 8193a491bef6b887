// The transfer finds references by column position within the columns both sides
// share (for key-mapped tables other than OWNER, counted after the key). These
// tests hold the installation schema to those positions in every pairing of the
// two layouts, and check the pieces the transfer and the state functions rely on.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/support/Isql.h"
#include "tests/support/Schema.h"
#include "tests/support/TempDir.h"

namespace {

using testsupport::Variant;

// One database of each layout, made once for all tests of this file; the catalogue
// of both is read once, since every isql call costs a process start.
class Layouts : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new testsupport::TempDir("dravik-schema");
    for (Variant v : {Variant::Current, Variant::Older}) {
      testsupport::MakeDatabase(Db(v), v);
      for (const testsupport::Row& row : testsupport::QueryRows(
               Db(v),
               "SELECT TRIM(RDB$RELATION_NAME), TRIM(RDB$FIELD_NAME) FROM RDB$RELATION_FIELDS "
               "WHERE RDB$SYSTEM_FLAG = 0 ORDER BY RDB$RELATION_NAME, RDB$FIELD_POSITION")) {
        columns_[{v, row[0]}].push_back(row[1]);
      }
      for (const testsupport::Row& row : testsupport::QueryRows(
               Db(v),
               "SELECT TRIM(C.RDB$RELATION_NAME), TRIM(S.RDB$FIELD_NAME), "
               "TRIM(P.RDB$RELATION_NAME) || '.' || TRIM(PS.RDB$FIELD_NAME) "
               "FROM RDB$RELATION_CONSTRAINTS C "
               "JOIN RDB$INDEX_SEGMENTS S ON S.RDB$INDEX_NAME = C.RDB$INDEX_NAME "
               "JOIN RDB$REF_CONSTRAINTS R ON R.RDB$CONSTRAINT_NAME = C.RDB$CONSTRAINT_NAME "
               "JOIN RDB$RELATION_CONSTRAINTS P ON P.RDB$CONSTRAINT_NAME = R.RDB$CONST_NAME_UQ "
               "JOIN RDB$INDEX_SEGMENTS PS ON PS.RDB$INDEX_NAME = P.RDB$INDEX_NAME "
               "WHERE C.RDB$CONSTRAINT_TYPE = 'FOREIGN KEY'")) {
        foreign_[{v, row[0] + "." + row[1]}] = row[2];
      }
    }
  }
  static void TearDownTestSuite() {
    delete dir_;
    dir_ = nullptr;
  }
  static std::filesystem::path Db(Variant v) {
    return *dir_ / (v == Variant::Current ? "current.fdb" : "older.fdb");
  }
  static std::vector<std::string> Columns(Variant v, const std::string& table) {
    auto found = columns_.find({v, table});
    return found == columns_.end() ? std::vector<std::string>{} : found->second;
  }
  // The shared columns in source order, as the table copy builds its insert.
  static std::vector<std::string> Common(Variant source, Variant dest, const std::string& table) {
    std::vector<std::string> destColumns = Columns(dest, table), common;
    for (const std::string& name : Columns(source, table)) {
      if (std::find(destColumns.begin(), destColumns.end(), name) != destColumns.end()) {
        common.push_back(name);
      }
    }
    return common;
  }
  // "TABLE.KEY" that the foreign key on `column` of `table` points at, or "".
  static std::string ForeignTarget(Variant v, const std::string& table, const std::string& column) {
    auto found = foreign_.find({v, table + "." + column});
    return found == foreign_.end() ? "" : found->second;
  }

  using Key = std::pair<Variant, std::string>;
  static testsupport::TempDir* dir_;
  static std::map<Key, std::vector<std::string>> columns_;
  static std::map<Key, std::string> foreign_;
};

testsupport::TempDir* Layouts::dir_ = nullptr;
std::map<Layouts::Key, std::vector<std::string>> Layouts::columns_;
std::map<Layouts::Key, std::string> Layouts::foreign_;

const Variant kVariants[] = {Variant::Current, Variant::Older};

// Tables whose insert leaves out the key, so parameter n is shared column n + 1.
const std::set<std::string> kKeyMapped = {"HOSTS",    "CONTROLLERS", "PCN",    "CINPUTS",
                                          "SLAVES",   "OUTPUTS",     "INPUTS", "READERS",
                                          "MACROSES", "CARDGROUPS",  "KRONTUR"};

struct PositionalReference {
  std::string table;
  int parameter;
  std::string target;  // referenced table.key; empty for a key whose table varies
};

const PositionalReference kReferences[] = {
    {"CONTROLLERS", 0, "HOSTS.HS_ID"},
    {"CARDGROUPS", 1, "CONTROLLERS.CT_ID"},
    {"KRONTUR", 0, "CONTROLLERS.CT_ID"},
    {"PCN", 0, "CONTROLLERS.CT_ID"},
    {"CINPUTS", 0, "CONTROLLERS.CT_ID"},
    {"SLAVES", 0, "CONTROLLERS.CT_ID"},
    {"OUTPUTS", 0, "SLAVES.SL_ID"},
    {"INPUTS", 0, "SLAVES.SL_ID"},
    {"READERS", 0, "SLAVES.SL_ID"},
    {"AGRIGHTS", 2, "READERS.RD_ID"},
    {"AGSCH", 2, "READERS.RD_ID"},
    {"CARDSDEF", 1, "CONTROLLERS.CT_ID"},
    {"DAYSCH", 1, "CONTROLLERS.CT_ID"},
    {"TIMERS", 1, "CONTROLLERS.CT_ID"},
    {"MAKROS_RIGHT", 0, "MACROSES.MCR_ID"},
    {"PRGDEF", 2, "CONTROLLERS.CT_ID"},
    {"ROBOTS$ACTIONS", 1, "HOSTS.HS_ID"},
    {"PRGDEF", 5, ""},
    {"EVENTS", 4, ""},
    {"ALARM", 4, ""},
};

TEST_F(Layouts, ReferencesSitAtTheirParameterInEveryPairingOfLayouts) {
  for (Variant source : kVariants) {
    for (Variant dest : kVariants) {
      for (const PositionalReference& ref : kReferences) {
        SCOPED_TRACE(ref.table + " parameter " + std::to_string(ref.parameter) +
                     (source == Variant::Current ? " current" : " older") + " -> " +
                     (dest == Variant::Current ? "current" : "older"));
        std::vector<std::string> common = Common(source, dest, ref.table);
        const std::size_t position = ref.parameter + (kKeyMapped.count(ref.table) ? 1 : 0);
        ASSERT_LT(position, common.size());
        const std::string& column = common[position];
        if (!ref.target.empty()) {
          EXPECT_EQ(ForeignTarget(dest, ref.table, column), ref.target) << "column " << column;
        } else if (ref.table == "PRGDEF") {
          EXPECT_EQ(column, "PD_DEV_ID");
        } else {
          EXPECT_EQ(column, ref.table == "EVENTS" ? "EV_DEV_ID" : "AL_DEV_ID");
        }
      }
    }
  }
}

TEST_F(Layouts, KeyIsTheFirstColumnOfEveryKeyMappedTable) {
  const std::map<std::string, std::string> keys = {
      {"HOSTS", "HS_ID"},       {"CONTROLLERS", "CT_ID"}, {"PCN", "PC_ID"},
      {"CINPUTS", "CI_ID"},     {"SLAVES", "SL_ID"},      {"OUTPUTS", "OU_ID"},
      {"INPUTS", "IN_ID"},      {"READERS", "RD_ID"},     {"MACROSES", "MCR_ID"},
      {"OWNER", "OW_ID"},       {"CARDGROUPS", "CG_ID"},  {"KRONTUR", "KT_ID"},
      {"OWNERPHOTOS", "OW_ID"}, {"EVDESC", "ED_ID"},      {"ACR$EVDESC", "AED_ID"}};
  for (Variant v : kVariants) {
    for (const auto& [table, key] : keys) {
      if (table == "OWNERPHOTOS" && v == Variant::Older) continue;
      EXPECT_EQ(Columns(v, table).at(0), key) << table;
    }
  }
}

TEST_F(Layouts, NamedReaderReferencesPointAtInputsAndOutputs) {
  for (Variant v : kVariants) {
    for (int i = 1; i <= 4; ++i) {
      EXPECT_EQ(ForeignTarget(v, "READERS", "RD_IN_" + std::to_string(i)), "INPUTS.IN_ID");
    }
    for (const char* column : {"RD_OUT_IND0", "RD_OUT_IND1", "RD_OUT_IND2", "RD_OUT_IND3",
                               "RD_OUT_OPEN", "RD_OUT_CLOSE"}) {
      EXPECT_EQ(ForeignTarget(v, "READERS", column), "OUTPUTS.OU_ID") << column;
    }
  }
}

TEST_F(Layouts, DescriptionsShipWithTheColumnsTheUpdateAndTheEventJoinUse) {
  for (Variant source : kVariants) {
    for (Variant dest : kVariants) {
      EXPECT_GE(Common(source, dest, "EVDESC").size(), 20u);
      EXPECT_GE(Common(source, dest, "ACR$EVDESC").size(), 11u);
    }
  }
  for (Variant v : kVariants) {
    std::vector<std::string> evdesc = Columns(v, "EVDESC");
    for (const char* column : {"ED_CODE", "ED_ADDCODE", "ED_HARDTYPE"}) {
      EXPECT_NE(std::find(evdesc.begin(), evdesc.end(), column), evdesc.end()) << column;
    }
    // The copy only updates descriptions, so an empty installation must have them.
    EXPECT_GT(testsupport::QueryInt(Db(v), "SELECT COUNT(*) FROM EVDESC"), 0);
    EXPECT_GT(testsupport::QueryInt(Db(v), "SELECT COUNT(*) FROM ACR$EVDESC"), 0);
  }
}

TEST_F(Layouts, VariantsDifferOnlyWhereTheTransferExpectsIt) {
  auto has = [](Variant v, const std::string& table, const std::string& column) {
    std::vector<std::string> columns = Columns(v, table);
    return std::find(columns.begin(), columns.end(), column) != columns.end();
  };
  EXPECT_TRUE(has(Variant::Current, "HOSTS", "HS_PORT"));
  EXPECT_FALSE(has(Variant::Older, "HOSTS", "HS_PORT"));
  EXPECT_TRUE(has(Variant::Current, "CONTROLLERS", "CT_FIRMWARE"));
  EXPECT_FALSE(has(Variant::Older, "CONTROLLERS", "CT_FIRMWARE"));
  EXPECT_TRUE(has(Variant::Older, "CONTROLLERS", "CT_PHONE"));
  EXPECT_FALSE(has(Variant::Current, "CONTROLLERS", "CT_PHONE"));
  EXPECT_EQ(Columns(Variant::Current, "OWNERPHOTOS"),
            (std::vector<std::string>{"OW_ID", "OW_PHOTO"}));
  EXPECT_TRUE(Columns(Variant::Older, "OWNERPHOTOS").empty());
  for (Variant v : kVariants) {
    for (const char* column : {"OW_ID", "OW_ARCHIVE", "OW_PHOTO", "OW_REGDATE"}) {
      EXPECT_TRUE(has(v, "OWNER", column)) << column;
    }
  }
}

}  // namespace
