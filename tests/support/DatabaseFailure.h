#pragma once
// What the operator is told of a failure of the database layer (header only).
#include <gtest/gtest.h>

#include <string>

#include "db/IB.h"
#include "text/Cp1251.h"

namespace testsupport {

// The message (UTF-8) of the EIBError `f` raises; a test failure when none.
template <typename F>
std::string FailureOf(F f) {
  try {
    f();
  } catch (const EIBError& e) {
    return text::Utf8FromCp1251(e.what());
  }
  ADD_FAILURE() << "no error";
  return std::string();
}

}  // namespace testsupport
