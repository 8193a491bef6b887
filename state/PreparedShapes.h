#pragma once
// The state statements of one pass over a table, one per statement shape (the
// first states, then the states past them), each prepared once and executed
// for every record with the key and the values as parameters.
#include <memory>
#include <string>
#include <vector>

#include "db/IB.h"

class PreparedShapes {
 public:
  // The first shape runs on `statement`; each further shape on a statement of
  // its own on the same connection and transaction, so that no shape is
  // prepared again when the record's next shape runs.
  PreparedShapes(TIBSQL& statement, std::vector<std::vector<std::string>> texts);
  ~PreparedShapes();
  PreparedShapes(const PreparedShapes&) = delete;
  PreparedShapes& operator=(const PreparedShapes&) = delete;

  size_t Count() const { return texts_.size(); }

  // The shape's statement, prepared, with no cursor of the pass left open.
  // A prepare that fails throws, and the next call tries it again, as a
  // statement built for each record would.
  TIBSQL& Ready(size_t shape);

 private:
  TIBSQL& StatementOf(size_t shape);

  TIBSQL& first_;
  std::vector<std::unique_ptr<TIBSQL>> others_;
  std::vector<std::vector<std::string>> texts_;
};
