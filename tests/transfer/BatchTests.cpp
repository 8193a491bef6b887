// Rows sent in batches leave what rows sent one by one leave: the same rows, the
// same log lines in the same order, and a key map whose failed rows alone map to
// -1. Each case copies once in batches and once row by row, on fresh databases.
#include <map>
#include <set>

#include "tests/transfer/CopyFixture.h"
#include "text/TextFile.h"
#include "transfer/KeyMap.h"
#include "transfer/RowBatch.h"

namespace copytest {
namespace {

using Rows = std::vector<Row>;

// What one copy left behind.
struct Outcome {
  std::vector<std::string> log, errors, oldKeys, newKeys;
  Rows rows;                  // by `compared`, which leaves out keys the destination gave
  Rows keysAndNames;          // destination key and name of every row
  long long batchedRows = 0;  // rows that travelled in batches
};

struct ReplayCase {
  const char* table;
  const char* key;
  const char* name;    // a text column that a check of the destination refuses as 'bad'
  int pair;            // 0: not key-mapped
  const char* values;  // the source row for K, its name in N
  const char* compared;
};

void PrintTo(const ReplayCase& c, std::ostream* out) {
  *out << c.table;
}

// 96 rows; rows 1, 40 and 64 fail: the first row of the first batch, one amid
// a batch and the last of one, whatever the batch size that divides 64.
const std::set<int> kFailing = {1, 40, 64};
constexpr int kRows = 96;

const ReplayCase kCases[] = {
    // Keys from the destination's generator.
    {"HOSTS", "HS_ID", "HS_NAME", keymap::kHosts, "(HS_ID, HS_NAME) VALUES (:K * 10, :N)",
     "SELECT HS_NAME, HS_ARCHIVE FROM HOSTS ORDER BY HS_NAME"},
    // Keys kept; every third owner archived, its flag set by its own key.
    {"OWNER", "OW_ID", "OW_NAME", keymap::kOwner,
     "(OW_ID, OW_NAME, OW_ARCHIVE) VALUES (:K, :N, IIF(MOD(:K, 3) = 0, 1, 0))",
     "SELECT OW_ID, OW_NAME, OW_ARCHIVE FROM OWNER ORDER BY OW_ID"},
    {"CARDSDEF", "CD_ID", "CD_NAME", 0, "(CD_ID, CD_NAME) VALUES (:K, :N)",
     "SELECT CD_ID, CD_NAME, CD_CT_ID FROM CARDSDEF ORDER BY CD_ID"},
};

std::string FailingList(const std::set<int>& failing) {
  std::string list;
  for (int row : failing) list += (list.empty() ? "" : ", ") + std::to_string(row);
  return list;
}

class BatchReplayTest : public CopyTest, public ::testing::WithParamInterface<ReplayCase> {
 protected:
  void TearDown() override { RowBatch::UseSingleRowsForTests(false); }

  // `withoutLog`: the run log is gone, so the first failed row's line cannot be written.
  Outcome CopyOnce(bool batched, const std::set<int>& failing = kFailing, bool withoutLog = false) {
    const ReplayCase& c = GetParam();
    MakeDatabases();
    context_.keyMap = KeyMap();
    context_.log.Create();
    Dest(std::string("ALTER TABLE ") + c.table + " ADD CONSTRAINT CHK_BATCH CHECK (" + c.name +
         " <> 'bad');");
    Source(
        "SET TERM ^;\nEXECUTE BLOCK AS DECLARE K INTEGER = 1; DECLARE N VARCHAR(20); BEGIN "
        "WHILE (K <= " +
        std::to_string(kRows) + ") DO BEGIN N = IIF(K IN (" + FailingList(failing) +
        "), 'bad', 'n' || K); " + "INSERT INTO " + c.table + " " + c.values +
        "; K = K + 1; END END^\nSET TERM ;^");
    RowBatch::UseSingleRowsForTests(!batched);
    const long long before = RowBatch::RowsWrittenForTests();
    if (withoutLog) {
      std::filesystem::remove(context_.log.Path());
      EXPECT_THROW(Copy(c.table, c.key), text::EInOutError);
      context_.log.Create();
    } else {
      Copy(c.table, c.key);
    }
    Outcome outcome;
    outcome.batchedRows = RowBatch::RowsWrittenForTests() - before;
    outcome.log = LogLines();
    outcome.errors = ErrorLines();
    if (c.pair != 0) {
      outcome.oldKeys = OldKeys(c.pair);
      outcome.newKeys = NewKeys(c.pair);
    }
    outcome.rows = DestRows(c.compared);
    outcome.keysAndNames =
        DestRows(std::string("SELECT ") + c.key + ", " + c.name + " FROM " + c.table);
    return outcome;
  }

  // Every row up to `rows` has its entries; a failed row maps to -1, every
  // other one to the destination row that holds its own name.
  static void ExpectEachRowMapsToItself(const Outcome& outcome, int rows,
                                        const std::set<int>& failing) {
    ASSERT_EQ(outcome.newKeys.size(), static_cast<size_t>(rows));
    std::map<std::string, std::string> nameByKey;
    for (const Row& row : outcome.keysAndNames) nameByKey[row[0]] = row[1];
    for (int row = 1; row <= rows; ++row) {
      const std::string& newKey = outcome.newKeys[static_cast<size_t>(row - 1)];
      if (failing.count(row)) {
        EXPECT_EQ(newKey, "-1") << row;
      } else {
        EXPECT_EQ(nameByKey[newKey], "n" + std::to_string(row)) << row << " -> " << newKey;
      }
    }
  }
};

TEST_P(BatchReplayTest, FailedRowsLogAndMapAsOneByOne) {
  const ReplayCase& c = GetParam();
  const Outcome single = CopyOnce(false);
  const Outcome batched = CopyOnce(true);
  EXPECT_EQ(single.batchedRows, 0);
  EXPECT_GT(batched.batchedRows, 0) << "no batch was written";

  ASSERT_EQ(batched.errors.size(), kFailing.size());
  size_t line = 0;
  for (int row : kFailing) {
    const std::string oldKey = std::to_string(c.table == std::string("HOSTS") ? row * 10 : row);
    const std::string prefix =
        std::string("Ошибка Добавления ") + c.table + " " + c.key + " =  " + oldKey + " :  ";
    EXPECT_EQ(batched.errors[line].rfind(prefix, 0), 0u) << batched.errors[line];
    EXPECT_NE(batched.errors[line++].find("CHK_BATCH"), std::string::npos);
  }
  EXPECT_EQ(batched.log, single.log);
  EXPECT_EQ(batched.rows, single.rows);
  EXPECT_EQ(batched.rows.size(), static_cast<size_t>(kRows) - kFailing.size());
  if (c.pair == 0) return;

  EXPECT_EQ(batched.oldKeys, single.oldKeys);
  ExpectEachRowMapsToItself(batched, kRows, kFailing);
}

// Row 40, amid a batch, fails and its line cannot be logged: the table ends
// there, as it does row by row. The rows before it are written and mapped, it
// maps to -1, and no row after it is written or mapped.
TEST_P(BatchReplayTest, ALogLineThatCannotBeWrittenEndsTheTableAsOneByOne) {
  const ReplayCase& c = GetParam();
  const std::set<int> failing = {40, 64};
  const Outcome single = CopyOnce(false, failing, true);
  const Outcome batched = CopyOnce(true, failing, true);
  EXPECT_GT(batched.batchedRows, 0) << "no batch was written";
  EXPECT_EQ(batched.rows.size(), 39u);
  EXPECT_EQ(batched.rows, single.rows);
  EXPECT_EQ(batched.oldKeys, single.oldKeys);
  if (c.pair != 0) ExpectEachRowMapsToItself(batched, 40, failing);
}

INSTANTIATE_TEST_SUITE_P(Tables, BatchReplayTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<ReplayCase>& info) {
                           return std::string(info.param.table);
                         });

// Texts near the most a batch's message holds: a batch takes two such rows. A
// text longer than the destination's column fails its row alone, and so does a
// row refused by a check, as they do one by one.
TEST_F(CopyTest, LongTextsTravelInSmallBatchesAndFailAsOneByOne) {
  std::string rows;
  const int lengths[] = {30000, 29999, 10, 30001, 5, 30000, 7, 30000, 0, 12};
  for (int i = 0; i < 10; ++i) {
    rows += "INSERT INTO WIDE (W_ID, W_TEXT, W_NOTE) VALUES (" + std::to_string(i + 1) + ", '" +
            std::string(static_cast<size_t>(lengths[i]), static_cast<char>('a' + i)) + "', '" +
            (i == 6 ? "bad" : "ok") + "');\n";
  }
  std::vector<std::string> errors[2], log[2];
  Rows contents[2];
  // Hashed: a text this long does not fit isql's UTF-8 connection.
  const std::string wide =
      "SELECT W_ID, CHAR_LENGTH(W_TEXT), HASH(W_TEXT), W_NOTE FROM WIDE ORDER BY W_ID";
  long long batchedRows[2] = {};
  for (int batched = 0; batched < 2; ++batched) {
    MakeDatabases();
    context_.log.Create();
    // In the databases' own character set, in which a literal may be this long.
    Disconnect();
    testsupport::RunIsql(src_,
                         "CREATE TABLE WIDE (W_ID INTEGER NOT NULL PRIMARY KEY, "
                         "W_TEXT VARCHAR(32000), W_NOTE VARCHAR(20));\n" +
                             rows,
                         "WIN1251");
    Dest(
        "CREATE TABLE WIDE (W_ID INTEGER NOT NULL PRIMARY KEY, W_TEXT VARCHAR(30000), "
        "W_NOTE VARCHAR(20) CHECK (W_NOTE <> 'bad'));");
    RowBatch::UseSingleRowsForTests(batched == 0);
    const long long before = RowBatch::RowsWrittenForTests();
    Copy("WIDE", "W_ID");
    RowBatch::UseSingleRowsForTests(false);
    batchedRows[batched] = RowBatch::RowsWrittenForTests() - before;
    errors[batched] = ErrorLines();
    log[batched] = LogLines();
    contents[batched] = DestRows(wide);
  }
  EXPECT_GT(batchedRows[1], 0);
  ASSERT_EQ(errors[1].size(), 2u);
  EXPECT_EQ(errors[1][0].rfind("Ошибка Добавления WIDE W_ID =  4 :  ", 0), 0u) << errors[1][0];
  EXPECT_EQ(errors[1][1].rfind("Ошибка Добавления WIDE W_ID =  7 :  ", 0), 0u) << errors[1][1];
  EXPECT_EQ(log[1], log[0]);
  EXPECT_EQ(contents[1], contents[0]);
  Rows written = SourceRows(wide + "");
  written.erase(written.begin() + 6);  // W_ID 7, refused by the check
  written.erase(written.begin() + 3);  // W_ID 4, too long for the destination
  EXPECT_EQ(contents[1], written);
}

}  // namespace
}  // namespace copytest
