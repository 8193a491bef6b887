#pragma once
// A connection, a transaction and a statement wired as the program wires its
// own, over a database of the test's own.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestDatabase.h"
#include "db/IB.h"

namespace dbtest {

struct Connection {
  TIBDatabase database{"TestDatabase"};
  TIBTransaction transaction{"TestTransaction"};
  TIBSQL sql{"TestSQL"};

  explicit Connection(const std::string& path, bool open = true);
};

// Runs `text` in a bracket of its own (prepared, executed, closed, committed).
void Exec(TIBSQL& statement, const std::string& text);
// Runs a query in a bracket of its own; every row's columns as text.
std::vector<std::vector<std::string>> Query(TIBSQL& statement, const std::string& text);

// The message of the client error `f` raises, checking its number; a failure
// when `f` raises none.
template <typename F>
std::string ClientMessageOf(F f, int expectedNumber) {
  try {
    f();
  } catch (const EIBClientError& e) {
    EXPECT_EQ(e.SQLCode(), expectedNumber) << e.what();
    return e.Message();
  }
  ADD_FAILURE() << "no client error";
  return std::string();
}

}  // namespace dbtest
