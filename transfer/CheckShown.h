#pragma once
// A compared value and a difference's key as both front ends show them on one
// line; each front end words the kinds. Texts are windows-1251.
#include <cstddef>
#include <string>

#include "transfer/RunCheck.h"

struct ShownValue {
  enum class Kind { Unknown, Null, Bytes, Number, Text };
  Kind kind = Kind::Unknown;
  std::string text;  // Number: as read; Text: without CR, LF shown as \n, cut to the limit
  bool cut = false;  // Text: it was longer than the limit
  size_t bytes = 0;  // Bytes: the value's length
};

// Control characters other than line breaks and tabs make a value bytes, not text.
ShownValue ShowValue(const check::Value& value, size_t maxCharacters);

// The source row's key, then "-> " and the destination's where the run gave it another.
std::string DifferenceKey(const CheckDifference& difference);
