#include "transfer/TableCommit.h"

#include <exception>

#include "text/RussianTexts.h"
#include "transfer/TransferContext.h"

void CommitTableWork(TransferContext& context, StatementBracket& bracket, const std::string& table,
                     int rowsLost, const std::function<void()>& lost) {
  std::string error;
  try {
    bracket.Commit();
    return;
  } catch (const std::exception& e) {
    error = e.what();
  }
  if (lost) lost();
  context.log.AppendTableFailure(table, rowsLost, ru::LogCommitError() + table + " :  " + error);
}
