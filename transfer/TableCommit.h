#pragma once
// The commit that ends a table's work in the destination. The statement bracket
// discards a failed commit; here a failure is reported, for the table's work is
// lost with it.
#include <functional>
#include <string>

#include "db/IB.h"

struct TransferContext;

// Closes `bracket` with its commit. When the commit fails, the work is rolled
// back, `lost` runs, and the failure is logged as the table's error, with
// `rowsLost` rows of `table` counted as failed. A log that cannot be written raises.
void CommitTableWork(TransferContext& context, StatementBracket& bracket, const std::string& table,
                     int rowsLost, const std::function<void()>& lost = nullptr);

// Runs `work`, then `commit` however the work ends: a failure of the work is
// raised again once its rows are committed.
template <class Work, class Commit>
void CommitAfter(Work&& work, Commit&& commit) {
  try {
    work();
  } catch (...) {
    commit();
    throw;
  }
  commit();
}
