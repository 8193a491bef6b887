// The source read ahead: rows in order with their blobs, as read in line, and
// no more of them in memory than the queue's bounds allow.
#include <chrono>
#include <thread>

#include "tests/transfer/CopyFixture.h"
#include "transfer/SourceReader.h"

namespace copytest {
namespace {

constexpr int kRows = 600;

class SourceReaderTest : public CopyTest {
 protected:
  // Rows 1..kRows: a name (NULL for every 10th) and, for every 3rd row, a blob
  // of `blobBytes` bytes that says whose it is.
  void MakeSource(int blobBytes) {
    MakeDatabases();
    Source(
        "CREATE TABLE READ_ROWS (R_ID INTEGER NOT NULL PRIMARY KEY, R_NAME VARCHAR(20), "
        "R_BLOB BLOB SUB_TYPE 0);\nSET TERM ^;\nEXECUTE BLOCK AS DECLARE K INTEGER = 1; "
        "BEGIN WHILE (K <= " +
        std::to_string(kRows) +
        ") DO BEGIN INSERT INTO READ_ROWS VALUES (:K, IIF(MOD(:K, 10) = 0, NULL, 'r' || :K), "
        "IIF(MOD(:K, 3) = 0, RPAD(CAST('b' || :K || '.' AS VARCHAR(10) CHARACTER SET OCTETS), " +
        std::to_string(blobBytes) + ", '.'), NULL)); K = K + 1; END END^\nSET TERM ;^");
  }

  // Reads every row of READ_ROWS through `limits`, as "id name blob-start/length";
  // `slowly`: the writer starts late and takes its time, so the reader fills the queue.
  std::vector<std::string> ReadAll(bool ahead, SourceReader::Limits limits, bool slowly,
                                   size_t* peakRows = nullptr, size_t* peakBytes = nullptr) {
    Connect();
    TIBSQL& source = dm_.IBSQL4;
    dm_.IBTransaction.SetDefaultDatabase(&dm_.IBDatabase3);
    source.SetTransaction(&dm_.IBTransaction);
    StatementBracket bracket(source);
    source.SetSQL({"SELECT * FROM READ_ROWS ORDER BY R_ID"});
    source.Execute();
    TIBSQL row("Row");
    row.Current().CopyLayout(source.Current());

    std::vector<std::string> lines;
    SourceReader reader(source, {2}, ahead, limits);
    reader.Start();
    if (slowly) std::this_thread::sleep_for(std::chrono::milliseconds(200));
    while (TRowValues* next = reader.Next()) {
      row.Current().LoadRow(*next);
      std::string blob;
      row.Column(2).ReadBlobTo(blob);
      lines.push_back(row.Column(0).GetText() + " " + row.Column(1).GetText() + " " +
                      blob.substr(0, blob.find('.')) + "/" + std::to_string(blob.size()));
      if (slowly && lines.size() % 50 == 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    reader.Stop();
    if (peakRows) *peakRows = reader.PeakRowsForTests();
    if (peakBytes) *peakBytes = reader.PeakBytesForTests();
    return lines;
  }

  static std::vector<std::string> Expected(int blobBytes) {
    std::vector<std::string> lines;
    for (int k = 1; k <= kRows; ++k) {
      const std::string name = k % 10 == 0 ? "" : "r" + std::to_string(k);
      const std::string blob = k % 3 == 0 ? "b" + std::to_string(k) : "";
      lines.push_back(std::to_string(k) + " " + name + " " + blob + "/" +
                      std::to_string(k % 3 == 0 ? blobBytes : 0));
    }
    return lines;
  }
};

TEST_F(SourceReaderTest, RowsArriveInOrderWithTheirBlobsAheadAsInLine) {
  MakeSource(300);
  EXPECT_EQ(ReadAll(false, {}, false), Expected(300));
  EXPECT_EQ(ReadAll(true, {}, false), Expected(300));
  EXPECT_EQ(ReadAll(true, {}, true), Expected(300));
}

// Chunks of 16 rows, two of them queued: while the writer lags, no more than
// three chunks are handed over and not yet written (two queued, one being
// written), by rows and, with blobs of 20,000 bytes, by bytes.
TEST_F(SourceReaderTest, RowsInMemoryStayWithinTheBounds) {
  MakeSource(20000);
  const SourceReader::Limits limits{16, 50000, 2};
  size_t peakRows = 0, peakBytes = 0;
  EXPECT_EQ(ReadAll(true, limits, true, &peakRows, &peakBytes), Expected(20000));
  // A chunk closes at its row count or once it holds its bytes, whichever comes first.
  const size_t largestRow = 20000 + 1000;
  EXPECT_LE(peakRows, 3u * 16u);
  EXPECT_GT(peakRows, 16u) << "the queue never filled: the bound was not tried";
  EXPECT_LE(peakBytes, 3 * (50000 + largestRow));
  EXPECT_GT(peakBytes, 50000u);
}

}  // namespace
}  // namespace copytest
