#include "tests/run/RunFixture.h"

#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

#include "tests/support/Schema.h"
#include "text/Cp1251.h"
#include "text/Regional.h"
#include "text/RussianTexts.h"
#include "text/TextFile.h"
#include "transfer/RunLog.h"

namespace runtest {
namespace {

// Creating a database takes seconds, copying a file does not.
const std::filesystem::path& Template() {
  static testsupport::TempDir folder("dravik-run-template");
  static const std::filesystem::path made = [] {
    const auto path = folder / "current.fdb";
    testsupport::MakeDatabase(path);
    return path;
  }();
  return made;
}

const char* const kSnapshotTables[] = {
    "HOSTS",    "CONTROLLERS", "SLAVES",      "READERS", "ZONES",      "OWNER",
    "MACROSES", "EVDESC",      "ACR$EVDESC",  "EVENTS",  "ALARM",      "ACR$EVENTS",
    "KRONTUR",  "CARDGROUPS",  "STATE_CALLS", "INIDATA", "OWNERPHOTOS"};

// The length of the Russian timestamp at the start of `line` ("06.12.2026" with
// " 17:33:49" unless it is midnight), or 0 when the line does not start with one.
size_t StampLength(const std::string& line) {
  auto fits = [&](size_t at, const char* shape) {
    for (size_t i = 0; shape[i] != '\0'; ++i) {
      if (at + i >= line.size()) return false;
      const char c = line[at + i];
      if (shape[i] == '9' ? (c < '0' || c > '9') : c != shape[i]) return false;
    }
    return true;
  };
  if (!fits(0, "99.99.9999")) return 0;
  return fits(10, " 99:99:99") ? 19 : 10;
}

}  // namespace

void Add(std::vector<std::string>& lines, const std::vector<std::string>& more) {
  lines.insert(lines.end(), more.begin(), more.end());
}

RunTest::RunTest(const std::string& programSubfolder)
    : programDir_(dir_.path() / programSubfolder),
      states_(dm_, [this] { return window_.locationFlag; }),
      run_(dm_, states_, window_) {
  text::Regional().shortDateFormat = "dd.MM.yyyy";
  text::Regional().longTimeFormat = "HH:mm:ss";
  folder_ = (programDir_ / "").string();
  std::filesystem::create_directories(programDir_ / "SQL");
  RunLog(folder_).Create();
  TableList({"* nothing"});
  Generators({"* nothing"});
  FirstScript({});
  SecondScript({});
  src_ = programDir_ / "source.fdb";
  dst_ = programDir_ / "dest.fdb";
  FreshDatabases();
  window_.source = src_.string();
  window_.dest = dst_.string();
  run_.SetScriptPause([this](std::chrono::milliseconds ms) { pauses_.push_back(ms); });
}

void RunTest::WriteControl(const std::string& name, const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines) bytes += text::Cp1251FromUtf8(line) + "\r\n";
  WriteControlBytes(name, bytes);
}

void RunTest::WriteControlBytes(const std::string& name, const std::string& bytes) {
  std::ofstream out(programDir_ / name, std::ios::binary | std::ios::trunc);
  out << bytes;
}

long long RunTest::Generator(const std::string& name) {
  return DestInt("SELECT GEN_ID(" + name + ", 0) FROM RDB$DATABASE");
}

std::string RunTest::Snapshot(const std::filesystem::path& db) {
  // One isql call for all tables: a comparison of everything costs one process.
  std::string script;
  for (const char* table : kSnapshotTables)
    script += std::string("SELECT * FROM ") + table + " ORDER BY 1;\n";
  return testsupport::RunIsql(db, script);
}

namespace {
std::vector<std::string> Joined(const std::vector<Row>& rows) {
  std::vector<std::string> lines;
  for (const Row& row : rows) {
    std::string line;
    for (const std::string& value : row) line += (line.empty() ? "" : " ") + value;
    lines.push_back(line);
  }
  return lines;
}
}  // namespace

std::vector<std::string> RunTest::DestLines(const std::string& select) {
  return Joined(DestRows(select));
}

std::vector<std::string> RunTest::SourceLines(const std::string& select) {
  return Joined(SourceRows(select));
}

void RunTest::ResetLog() {
  RunLog(folder_).Create();
}

void RunTest::SeedSite() {
  Source(
      "INSERT INTO HOSTS (HS_ID, HS_NAME) VALUES (1, 'h1');"
      "INSERT INTO HOSTS (HS_ID, HS_NAME) VALUES (2, 'h2');"
      "INSERT INTO CONTROLLERS (CT_ID, CT_HS_ID, CT_NAME) VALUES (1, 1, 'c1');"
      "INSERT INTO CONTROLLERS (CT_ID, CT_HS_ID, CT_NAME) VALUES (2, 2, 'c2');"
      "INSERT INTO READERS (RD_ID, RD_NUM, RD_NAME) VALUES (1, 1, 'r1');"
      "INSERT INTO READERS (RD_ID, RD_NUM, RD_NAME) VALUES (2, 3, 'r3');"
      "INSERT INTO READERS (RD_ID, RD_NUM, RD_NAME) VALUES (3, 5, 'r5');"
      "INSERT INTO ZONES (ZN_ID, ZN_NAME, ZN_RD_ID) VALUES (1, 'source zone', 1);"
      "INSERT INTO CARDGROUPS (CG_ID, CG_NAME) VALUES (1, 'source group');"
      "INSERT INTO OWNER (OW_ID, OW_NAME) VALUES (1, 'o1');"
      "INSERT INTO OWNER (OW_ID, OW_NAME) VALUES (2, 'o2');"
      "INSERT INTO OWNER (OW_ID, OW_NAME) VALUES (7, 'o7');"
      "UPDATE OWNER SET OW_REGDATE = '2020-01-02';"
      "INSERT INTO EVENTS (EV_ID, EV_DATE, EV_CODE, EV_ADDCODE) VALUES (1, '2024-05-06', 1, 0);");
  Dest(
      "SET GENERATOR GEN_HOSTS TO 500; SET GENERATOR GEN_CONTROLLERS TO 500;"
      "SET GENERATOR GEN_READERS TO 500; SET GENERATOR GEN_KRONTUR TO 50;"
      "INSERT INTO HOSTS (HS_ID, HS_NAME) VALUES (10, 'dest host');"
      "INSERT INTO CONTROLLERS (CT_ID, CT_HS_ID, CT_NAME) VALUES (10, 10, 'dest c');"
      "INSERT INTO READERS (RD_ID, RD_NUM, RD_NAME) VALUES (10, 1, 'keep me');"
      "INSERT INTO READERS (RD_ID, RD_NUM, RD_NAME) VALUES (11, 4, 'drop me');"
      "INSERT INTO ZONES (ZN_ID, ZN_NAME, ZN_RD_ID) VALUES (10, 'dest zone', 10);"
      "INSERT INTO CARDGROUPS (CG_ID, CG_NAME) VALUES (10, 'dest group');"
      "INSERT INTO EVENTS (EV_ID, EV_DATE, EV_CODE, EV_ADDCODE) VALUES (100, '2024-01-01', 1, 0);");
}

void RunTest::FreshDatabases() {
  const auto replace = std::filesystem::copy_options::overwrite_existing;
  std::filesystem::copy_file(Template(), src_, replace);
  std::filesystem::copy_file(Template(), dst_, replace);
}

void RunTest::Run() {
  Run(text::CountLines(folder_ + "Conv.txt"));
}

void RunTest::Run(int tableListLines) {
  run_.MoveBitBtnClick(folder_, tableListLines);
}

std::string RunTest::LogBytes() const {
  std::ifstream in(programDir_ / "DB_dravik.log", std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> RunTest::LogLines() const {
  const std::string bytes = LogBytes();
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) {
      ADD_FAILURE() << "the run log ends without CR LF";
      lines.push_back(bytes.substr(start));
      break;
    }
    lines.push_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

void RunTest::ExpectLog(const std::vector<std::string>& expected) const {
  const std::vector<std::string> actual = LogLines();
  std::ostringstream whole;
  for (const std::string& line : actual) whole << text::Utf8FromCp1251(line) << "|\n";
  SCOPED_TRACE("run log:\n" + whole.str());
  ASSERT_EQ(actual.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    const std::string& want = expected[i];
    if (want.rfind(kStamp, 0) == 0) {
      const size_t stamp = StampLength(actual[i]);
      ASSERT_GT(stamp, 0u) << "line " << i;
      EXPECT_EQ(actual[i].substr(stamp), want.substr(kStamp.size())) << "line " << i;
    } else {
      EXPECT_EQ(actual[i], want) << "line " << i;
    }
  }
}

std::vector<std::string> RunTest::Block(const std::vector<std::string>& statement, bool success) {
  std::vector<std::string> lines{ru::LogStatementStart(), ""};
  for (const std::string& line : statement) lines.push_back(text::Cp1251FromUtf8(line));
  if (success) Add(lines, {"", ru::LogStatementSuccess()});
  Add(lines, {"", ru::LogStatementEnd()});
  return lines;
}

std::vector<std::string> RunTest::LogAround(const std::vector<std::string>& firstBlocks,
                                            const std::vector<std::string>& afterPasses) {
  std::vector<std::string> log = firstBlocks;
  Add(log, {"", kStamp + ru::LogClearingPass(), "", kStamp + ru::LogCopyPass()});
  Add(log, afterPasses);
  return log;
}

void RunTest::InterruptWhen(std::function<bool(const FakeWindow&)> when) {
  window_.onPump = [when = std::move(when)](FakeWindow& w, int) {
    if (!w.interrupted && when(w)) w.interrupted = true;
  };
}

std::vector<std::string> RunTest::SecondBlock(const std::vector<std::string>& statement) {
  return Block(statement, !statement.empty());
}

bool RunTest::Connected() const {
  return dm_.IBDatabase3.Connected() || dm_.IBDatabase1.Connected() || dm_.IBDatabase2.Connected();
}

}  // namespace runtest
