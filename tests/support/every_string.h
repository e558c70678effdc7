// Exhaustive inputs for tests: every text of up to a given length over a small
// alphabet, for rules whose fast path must agree with a plain reading of them.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace flawseek::testing {

// Calls visit(text) for every text of 0 to max_length characters of
// `alphabet`, shortest first. Stops at the first fatal failure, so a broken
// rule reports one text, not thousands.
template <typename Visit>
void for_each_string(std::string_view alphabet, int max_length, Visit visit) {
  const int base = static_cast<int>(alphabet.size());
  std::string text;
  for (int length = 0; length <= max_length; ++length) {
    int combinations = 1;
    for (int i = 0; i < length; ++i) combinations *= base;
    for (int code = 0; code < combinations; ++code) {
      text.clear();
      for (int i = 0, rest = code; i < length; ++i, rest /= base) text += alphabet[static_cast<std::size_t>(rest % base)];
      visit(static_cast<const std::string&>(text));
      if (::testing::Test::HasFatalFailure()) return;
    }
  }
}

}  // namespace flawseek::testing
