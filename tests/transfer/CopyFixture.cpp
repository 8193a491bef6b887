#include "tests/transfer/CopyFixture.h"

#include <fstream>
#include <map>
#include <sstream>

#include "text/Cp1251.h"
#include "transfer/Operations.h"

namespace copytest {

namespace {

// Creating a database takes seconds, copying a file does not: one template per layout.
const std::filesystem::path& Template(Variant variant) {
  static testsupport::TempDir folder("dravik-copy-templates");
  static std::map<Variant, std::filesystem::path> made;
  auto found = made.find(variant);
  if (found != made.end()) return found->second;
  const auto path = folder / (variant == Variant::Current ? "current.fdb" : "older.fdb");
  testsupport::MakeDatabase(path, variant);
  return made.emplace(variant, path).first->second;
}

}  // namespace

CopyTest::CopyTest()
    : states_(dm_, [] { return false; }), context_(dm_, window_, states_, dir_.File("") + "", 1) {
  context_.log.Create();
}

CopyTest::~CopyTest() {
  Disconnect();
}

void CopyTest::MakeDatabases(Variant source, Variant dest) {
  Disconnect();
  src_ = dir_ / "source.fdb";
  dst_ = dir_ / "dest.fdb";
  std::filesystem::copy_file(Template(source), src_,
                             std::filesystem::copy_options::overwrite_existing);
  std::filesystem::copy_file(Template(dest), dst_,
                             std::filesystem::copy_options::overwrite_existing);
}

void CopyTest::Source(const std::string& sql) {
  Disconnect();
  testsupport::RunIsql(src_, sql);
}

void CopyTest::Dest(const std::string& sql) {
  Disconnect();
  testsupport::RunIsql(dst_, sql);
}

void CopyTest::Connect() {
  if (connected_) return;
  dm_.IBDatabase3.SetDatabaseName(src_.string());
  dm_.IBDatabase1.SetDatabaseName(dst_.string());
  dm_.IBDatabase3.Open();
  dm_.IBDatabase1.Open();
  connected_ = true;
  context_.destHasOwnerPhotos = UstNalOwnerPhoto(dm_.IBSQL3, dm_.IBTransaction1, dm_.IBDatabase1);
  context_.sourceHasOwnerPhotos = UstNalOwnerPhoto(dm_.IBSQL4, dm_.IBTransaction, dm_.IBDatabase3);
}

void CopyTest::Disconnect() {
  if (!connected_) return;
  dm_.IBDatabase3.Close();
  dm_.IBDatabase1.Close();
  connected_ = false;
}

void CopyTest::Copy(const std::string& table, const std::string& key,
                    const std::string& condition) {
  Connect();
  Perepis(context_, dm_.IBSQL4, dm_.IBSQL3, dm_.IBTransaction, dm_.IBTransaction1, dm_.IBDatabase3,
          dm_.IBDatabase1, table, key, condition);
}

void CopyTest::CopyMacros() {
  Connect();
  PerepisMacros(context_, dm_.IBSQL4, dm_.IBSQL3, dm_.IBTransaction, dm_.IBTransaction1,
                dm_.IBDatabase3, dm_.IBDatabase1);
}

std::vector<Row> CopyTest::DestRows(const std::string& select) {
  Disconnect();
  return testsupport::QueryRows(dst_, select);
}

std::vector<Row> CopyTest::SourceRows(const std::string& select) {
  Disconnect();
  return testsupport::QueryRows(src_, select);
}

std::vector<std::string> CopyTest::LogLines() const {
  std::ifstream in(context_.log.Path(), std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  const std::string text = text::Utf8FromCp1251(content.str());
  std::vector<std::string> lines;
  size_t from = 0;
  for (size_t at; (at = text.find("\r\n", from)) != std::string::npos; from = at + 2)
    lines.push_back(text.substr(from, at - from));
  if (from < text.size()) lines.push_back(text.substr(from) + "<no line end>");
  return lines;
}

std::vector<std::string> CopyTest::ErrorLines() const {
  std::vector<std::string> errors;
  for (const std::string& line : LogLines())
    if (line.rfind("Ошибка", 0) == 0) errors.push_back(line);
  return errors;
}

}  // namespace copytest
