#pragma once
// A source and a destination database made from schema/, seeded through isql,
// and the run's shared context, for table copies and macro transfers called
// directly as the driver calls them.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "db/IB.h"
#include "state/DynamicStates.h"
#include "tests/support/FakeWindow.h"
#include "tests/support/Isql.h"
#include "tests/support/Schema.h"
#include "tests/support/TempDir.h"
#include "transfer/TransferContext.h"

namespace copytest {

using testsupport::Row;
using testsupport::Variant;

class CopyTest : public ::testing::Test {
 protected:
  CopyTest();
  ~CopyTest() override;

  // Fresh empty databases of the given layouts (copies of templates made once).
  void MakeDatabases(Variant source = Variant::Current, Variant dest = Variant::Current);
  // isql scripts (UTF-8 texts); the connections are closed first.
  void Source(const std::string& sql);
  void Dest(const std::string& sql);

  // Attaches both sides when needed and probes them for the photo table, as the driver does.
  void Connect();
  void Disconnect();
  void Copy(const std::string& table, const std::string& key, const std::string& condition = "");
  void CopyMacros();

  // Destination and source rows through isql, after the connections are closed.
  std::vector<Row> DestRows(const std::string& select);
  std::vector<Row> SourceRows(const std::string& select);

  // The run log's lines as UTF-8.
  std::vector<std::string> LogLines() const;
  // The lines that start an error report (an engine message may add lines of its own).
  std::vector<std::string> ErrorLines() const;
  std::vector<std::string> OldKeys(int pair) { return context_.keyMap.Pair(pair).OldKeys(); }
  std::vector<std::string> NewKeys(int pair) { return context_.keyMap.Pair(pair).NewKeys(); }

  testsupport::TempDir dir_{"dravik-copy"};
  std::filesystem::path src_, dst_;
  TDM1 dm_;
  FakeWindow window_;
  DynamicStates states_;
  TransferContext context_;

 private:
  bool connected_ = false;
};

}  // namespace copytest
