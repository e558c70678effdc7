// The null-pointer rule over the condition levels of the open if statements.
#include "bugcheck/rules/null_pointer_rule.h"

#include "bugcheck/rules/name_start.h"

namespace flawseek {

void NullPointerRule::reset() noexcept {
  for (int i = 0; i <= state_.depth; ++i) clear_level(state_.levels[static_cast<std::size_t>(i)]);
  state_.levels[0] = ConditionLevel{};
  state_.depth = 0;
  state_.tested_count = 0;
}

void NullPointerRule::clear_level(ConditionLevel& level) noexcept {
  state_.tested_count -= level.eq_names.size() + level.ne_names.size();
  level.eq_names.clear();
  level.ne_names.clear();
  level.level_state = LevelState::CONDITION;
  level.chained = false;
}

void NullPointerRule::if_opened() noexcept {
  // At the bound the top level is reused, lists and all.
  if (state_.depth < NullPointerState::max_levels) ++state_.depth;
  top().level_state = LevelState::CONDITION;
  top().chained = false;
}

void NullPointerRule::then_reached() noexcept {
  if (top().level_state != LevelState::ELSE_PART) top().level_state = LevelState::THEN_PART;
}

void NullPointerRule::elsif_reached() noexcept {
  top().level_state = LevelState::ELSE_PART;
  if (state_.depth < NullPointerState::max_levels) ++state_.depth;
  top().level_state = LevelState::CONDITION;
  top().chained = true;
}

void NullPointerRule::else_reached() noexcept { top().level_state = LevelState::ELSE_PART; }

void NullPointerRule::if_closed() noexcept {
  if (state_.depth == 0) return;
  // The elsif levels above the one the IF opened close with it.
  bool chained = top().chained;
  clear_level(top());
  while (chained && state_.depth > 1) {
    --state_.depth;
    chained = top().chained;
    clear_level(top());
  }
  --state_.depth;
}

void NullPointerRule::compared_with_null(std::string_view name, bool equal) {
  if (state_.depth < 1 || top().level_state != LevelState::CONDITION) return;
  TestedNames& names = equal ? top().eq_names : top().ne_names;
  if (names.add(name)) ++state_.tested_count;
}

void NullPointerRule::logical_operator(LogicalOperator op) noexcept {
  if (top().level_state != LevelState::CONDITION) return;
  if (op == LogicalOperator::AND_THEN) top().level_state = LevelState::AND_THEN_MET;
  if (op == LogicalOperator::OR_ELSE) top().level_state = LevelState::OR_ELSE_MET;
}

bool NullPointerRule::said_null(std::string_view used) const noexcept {
  for (int i = state_.depth; i >= 1; --i) {
    const ConditionLevel& level = state_.levels[static_cast<std::size_t>(i)];
    switch (level.level_state) {
      case LevelState::CONDITION:
        // Without a short-circuit form every relation of the condition is
        // evaluated: a dereference there meets the null case either way.
        if (level.eq_names.covers_any(used) || level.ne_names.covers_any(used)) return true;
        break;
      case LevelState::AND_THEN_MET:
      case LevelState::THEN_PART:
        if (level.eq_names.covers_any(used)) return true;
        if (level.ne_names.covers_any(used)) return false;
        break;
      case LevelState::OR_ELSE_MET:
      case LevelState::ELSE_PART:
        if (level.ne_names.covers_any(used)) return true;
        if (level.eq_names.covers_any(used)) return false;
        break;
    }
  }
  return false;
}

void NullPointerRule::judge_use(const ParserState& state, std::string_view name, CheckReporter& reporter) {
  if (said_null(name)) reporter.report_bug(BugKind::NULL_POINTER, name_start(state, name));
}

void NullPointerRule::judge_setting(const ParserState& state, std::string_view name, CheckReporter& reporter) {
  // The name gets a new value (an assignment target or an actual that may
  // be an out parameter): what the conditions said about it no longer holds.
  // Setting `P.X` still goes through `P`, so the walk follows.
  for (int i = 1; i <= state_.depth; ++i) {
    ConditionLevel& level = state_.levels[static_cast<std::size_t>(i)];
    state_.tested_count -= level.eq_names.remove_set(name) + level.ne_names.remove_set(name);
  }
  name_used(state, name, reporter);
}

}  // namespace flawseek
