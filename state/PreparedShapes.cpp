#include "state/PreparedShapes.h"

PreparedShapes::PreparedShapes(TIBSQL& statement, std::vector<std::vector<std::string>> texts)
    : first_(statement), texts_(std::move(texts)) {
  for (size_t shape = 1; shape < texts_.size(); ++shape) {
    auto other = std::make_unique<TIBSQL>(statement.Name() + "_" + std::to_string(shape));
    other->SetDatabase(statement.Database());
    // Bound to the transaction, the statement's cursor closes with its commit
    // and it runs in the transaction each renewal starts.
    other->SetTransaction(statement.Transaction());
    other->SetParamCheck(true);
    others_.push_back(std::move(other));
  }
}

PreparedShapes::~PreparedShapes() = default;

TIBSQL& PreparedShapes::StatementOf(size_t shape) {
  return shape == 0 ? first_ : *others_.at(shape - 1);
}

TIBSQL& PreparedShapes::Ready(size_t shape) {
  // The previous statement is closed before the next one runs, as one
  // statement object reused record after record would be.
  for (size_t other = 0; other < texts_.size(); ++other) StatementOf(other).Close();
  TIBSQL& statement = StatementOf(shape);
  const std::vector<std::string>& text = texts_.at(shape);
  if (statement.SQL() != text) statement.SetSQL(text);
  if (!statement.Prepared()) statement.Prepare();
  return statement;
}
