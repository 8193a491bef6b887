// Clearing, the photo probe and the column update called directly, as the driver
// calls them, where a whole run would not show the detail.
#include <filesystem>
#include <thread>

#include "tests/run/RunFixture.h"
#include "tests/support/Schema.h"
#include "text/RussianTexts.h"
#include "transfer/Operations.h"
#include "transfer/TransferContext.h"

namespace runtest {
namespace {

using Lines = std::vector<std::string>;

class Operations : public RunTest {
 protected:
  Operations() : context_(dm_, window_, states_, folder_, 1) {}
  ~Operations() override { Disconnect(); }

  void Connect() {
    dm_.IBDatabase3.SetDatabaseName(src_.string());
    dm_.IBDatabase1.SetDatabaseName(dst_.string());
    dm_.IBDatabase3.SetConnected(true);
    dm_.IBDatabase1.SetConnected(true);
  }
  void Disconnect() {
    dm_.IBDatabase3.SetConnected(false);
    dm_.IBDatabase1.SetConnected(false);
  }
  void Clear(const std::string& table, const std::string& condition) {
    ClearTable(context_, dm_.IBSQL3, dm_.IBTransaction1, dm_.IBDatabase1, table, condition);
  }
  void Update(const std::string& table, const std::string& key, const std::string& column) {
    UpdPer(context_, dm_.IBSQL4, dm_.IBSQL3, dm_.IBTransaction, dm_.IBTransaction1, dm_.IBDatabase3,
           dm_.IBDatabase1, table, key, column);
  }

  TransferContext context_;
};

TEST_F(Operations, ClearTableSendsOneOrTwoLines) {
  Dest(
      "INSERT INTO ZONES (ZN_ID, ZN_NAME) VALUES (1, 'a');"
      "INSERT INTO ZONES (ZN_ID, ZN_NAME) VALUES (6, 'b');"
      "INSERT INTO ZONES (ZN_ID, ZN_NAME) VALUES (7, 'c');");
  Connect();
  Clear("ZONES", "ZN_ID > 6");
  EXPECT_EQ(dm_.IBSQL3.SQL(), (Lines{"Delete From ZONES", " WHERE ZN_ID > 6"}));
  Disconnect();
  EXPECT_EQ(DestLines("SELECT ZN_ID FROM ZONES ORDER BY ZN_ID"), (Lines{"1", "6"}));

  Connect();
  Clear("ZONES", "");
  EXPECT_EQ(dm_.IBSQL3.SQL(), Lines{"Delete From ZONES"});
  Disconnect();
  EXPECT_TRUE(DestRows("SELECT * FROM ZONES").empty());
  EXPECT_EQ(LogBytes(), "");
}

// A statement that cannot be prepared, or a log that is gone, deletes nothing
// and reaches the caller; the statement lock is free again afterwards.
TEST_F(Operations, ClearTableFailuresReachTheCaller) {
  Dest("INSERT INTO ZONES (ZN_ID, ZN_NAME) VALUES (1, 'a');");
  Connect();
  EXPECT_THROW(Clear("ZONES", "this is not sql"), EIBError);
  EXPECT_THROW(Clear("NO_SUCH_TABLE", ""), EIBError);
  EXPECT_EQ(LogBytes(), "");
  std::filesystem::remove(dir_ / "DB_dravik.log");
  EXPECT_ANY_THROW(Clear("ZONES", ""));
  // another thread can take the lock: every bracket was closed
  bool free = false;
  std::thread([&] {
    free = StatementLock()->try_lock();
    if (free) StatementLock()->unlock();
  }).join();
  EXPECT_TRUE(free);
  Disconnect();
  EXPECT_EQ(DestLines("SELECT ZN_ID FROM ZONES"), Lines{"1"});
}

TEST_F(Operations, PhotoProbeAnswersByTheTable) {
  testsupport::MakeDatabase(src_, testsupport::Variant::Older);
  Connect();
  // the destination's photo table is empty: the probe still succeeds
  EXPECT_TRUE(UstNalOwnerPhoto(dm_.IBSQL3, dm_.IBTransaction1, dm_.IBDatabase1));
  EXPECT_FALSE(UstNalOwnerPhoto(dm_.IBSQL4, dm_.IBTransaction, dm_.IBDatabase3));
  EXPECT_FALSE(dm_.IBSQL4.Open());
}

// Rows match by the unchanged key: a source row without a destination row and a
// destination row without a source row are left alone, nothing is logged.
TEST_F(Operations, UpdateMatchesRowsByTheirKey) {
  Source(
      "INSERT INTO ZONES (ZN_ID, ZN_NAME, ZN_RD_ID) VALUES (1, 'one', 11);"
      "INSERT INTO ZONES (ZN_ID, ZN_NAME, ZN_RD_ID) VALUES (2, 'two', NULL);"
      "INSERT INTO ZONES (ZN_ID, ZN_NAME, ZN_RD_ID) VALUES (3, 'three', 33);");
  Dest(
      "INSERT INTO ZONES (ZN_ID, ZN_NAME, ZN_RD_ID) VALUES (2, 'dest two', 22);"
      "INSERT INTO ZONES (ZN_ID, ZN_NAME, ZN_RD_ID) VALUES (3, 'dest three', 0);"
      "INSERT INTO ZONES (ZN_ID, ZN_NAME, ZN_RD_ID) VALUES (4, 'dest four', 44);");
  Connect();
  Update("ZONES", "ZN_ID", "ZN_RD_ID");
  Disconnect();
  EXPECT_EQ(DestLines("SELECT ZN_ID, ZN_NAME, ZN_RD_ID FROM ZONES ORDER BY ZN_ID"),
            (Lines{"2 dest two <null>", "3 dest three 33", "4 dest four 44"}));
  EXPECT_EQ(LogBytes(), "");
}

}  // namespace
}  // namespace runtest
