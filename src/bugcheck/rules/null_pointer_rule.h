// NULL_POINTER: a dereference of an access value at a place where an
// enclosing if statement, or the condition being parsed, says the value is
// null: `if P = null then X := P.all;`, the else part of `if P /= null`, or
// `P.all` after `P /= null and` in the condition itself. Each open if
// statement (and each elsif part) is a condition level that remembers the
// names its condition compared with null and which part is being parsed; a
// used name is checked against the levels from the innermost outward, and
// the first level that says anything about it decides.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "bugcheck/check_reporter.h"
#include "bugcheck/rules/tested_names.h"
#include "frontend/parser_hooks.h"

namespace flawseek {

// Where the parse stands in the if statement (or elsif part) of a level.
enum class LevelState : std::uint8_t {
  CONDITION,     // its condition, no short-circuit operator yet
  AND_THEN_MET,  // its condition, after AND THEN
  OR_ELSE_MET,   // its condition, after OR ELSE
  THEN_PART,
  ELSE_PART,     // an else part, or an elsif follows: the condition was false
};

struct ConditionLevel {
  TestedNames eq_names;  // N of `N = null` in the level's condition
  TestedNames ne_names;  // N of `N /= null`
  LevelState level_state = LevelState::CONDITION;
  // Opened by an elsif: closes together with the level below it.
  bool chained = false;
};

struct NullPointerState {
  static constexpr int max_levels = 300;
  // Level 0 is never walked; it only absorbs the hooks outside any if.
  std::array<ConditionLevel, max_levels + 1> levels{};
  int depth = 0;
  // Names held by all levels together: most uses meet none at all.
  std::size_t tested_count = 0;
};

class NullPointerRule {
 public:
  // A new file: nothing an if statement left open by an abandoned file
  // said about its names reaches into it.
  void reset() noexcept;

  void if_opened() noexcept;
  void then_reached() noexcept;
  void elsif_reached() noexcept;
  void else_reached() noexcept;
  void if_closed() noexcept;

  void compared_with_null(std::string_view name, bool equal);
  void logical_operator(LogicalOperator op) noexcept;

  // A name read (or, for name_set, given a new value or handed on as an
  // actual); the finding goes at the name's first word.
  // With no name tested against null nothing is judged: decided inline.
  void name_used(const ParserState& state, std::string_view name, CheckReporter& reporter) {
    if (state_.tested_count != 0) judge_use(state, name, reporter);
  }
  void name_set(const ParserState& state, std::string_view name, CheckReporter& reporter) {
    if (state_.tested_count != 0) judge_setting(state, name, reporter);
  }

  int depth() const noexcept { return state_.depth; }

 private:
  void judge_use(const ParserState& state, std::string_view name, CheckReporter& reporter);
  void judge_setting(const ParserState& state, std::string_view name, CheckReporter& reporter);
  ConditionLevel& top() noexcept { return state_.levels[static_cast<std::size_t>(state_.depth)]; }
  void clear_level(ConditionLevel& level) noexcept;
  // Whether the levels say `used` goes through a null value.
  bool said_null(std::string_view used) const noexcept;

  NullPointerState state_;
};

}  // namespace flawseek
