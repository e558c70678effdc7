// RECURSIVE_ENTRY_CALL: the entries of each level and the calls in task bodies.
#include "bugcheck/declarations/entry_call_rule.h"

#include "bugcheck/rules/name_start.h"

namespace flawseek {

void EntryCallRule::unit_declared(std::string_view name, bool is_task) {
  unit_name_.assign(name);
  unit_is_task_ = is_task;
}

void EntryCallRule::entry_declared(std::string_view name) {
  if (!unit_is_task_) return;
  EntryItem item;
  item.name.assign(name);
  item.parts = {unit_name_, std::string(name)};
  levels_.current_level().entries.append(std::move(item));
}

void EntryCallRule::statements_begun() noexcept {
  DeclarativeLevel& level = levels_.current_level();
  if (level.entry_state == EntryCallState::DECLARATIONS) level.entry_state = EntryCallState::STATEMENTS;
}

void EntryCallRule::split(std::string_view name, EntryItem& item) {
  std::size_t count = 0;
  for_each_segment(name, [&](std::string_view segment) {
    if (count == item.parts.size()) item.parts.emplace_back();
    item.parts[count++].assign(segment);
  });
  item.parts.resize(count);
  item.name.assign(item.parts.back());
}

void EntryCallRule::procedure_call(const ParserState& state, std::string_view called_name, CheckReporter& reporter) {
  DeclarativeLevel& level = levels_.current_level();
  if (level.entry_state != EntryCallState::STATEMENTS || level.entries.is_empty() || called_name.empty()) return;
  split(called_name, call_);
  if (level.entries.contains(call_)) reporter.report_bug(BugKind::RECURSIVE_ENTRY_CALL, name_start(state, called_name));
}

}  // namespace flawseek
