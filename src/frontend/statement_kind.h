// The kinds of statement the parser announces through its statement hook. The
// numbers are fixed (the reachability rule knows them); 17 is never announced.
#pragma once

#include <cstdint>

namespace flawseek {

enum class StatementKind : std::uint8_t {
  ABORT = 0,
  ACCEPT = 1,
  ASSIGNMENT = 2,
  BLOCK = 3,
  CASE = 4,
  EXIT_WHEN = 5,
  DELAY = 6,
  ENTRY_CALL_ALTERNATIVE = 7,
  EXIT = 8,  // without WHEN: always leaves the loop
  FOR_LOOP = 9,
  GOTO = 10,
  IF = 11,
  LABEL = 12,
  LOOP = 13,
  NULL_STATEMENT = 14,
  PROCEDURE_CALL = 15,
  RAISE = 16,
  RETURN = 18,
  SELECT = 19,
  WHILE_LOOP = 20,
};

constexpr int number(StatementKind k) { return static_cast<int>(k); }

}  // namespace flawseek
