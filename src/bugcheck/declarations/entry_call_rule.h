// RECURSIVE_ENTRY_CALL: an entry call standing directly in the statements
// of a task body (outside every nested block, loop or body) to an entry of a
// task declared in that body's own declarative part. Entries of protected
// objects are not recorded: a task calling a protected entry waits on the
// protected object, never on itself.
#pragma once

#include <string>
#include <string_view>

#include "bugcheck/check_reporter.h"
#include "bugcheck/declarations/declarative_levels.h"
#include "frontend/parser_hooks.h"

namespace flawseek {

class EntryCallRule {
 public:
  explicit EntryCallRule(DeclarativeLevels& levels) : levels_(levels) {}

  void reset_check() noexcept { unit_name_.clear(); unit_is_task_ = false; }

  // The task or protected unit whose entries follow.
  void unit_declared(std::string_view name, bool is_task);
  void entry_declared(std::string_view name);

  // Around a task body's scope, which is already open when the body begins
  // and still open when it ends.
  void task_body_begun() noexcept { levels_.current_level().entry_state = EntryCallState::DECLARATIONS; }
  void statements_begun() noexcept;
  void task_body_ended() noexcept { levels_.current_level().entry_state = EntryCallState::OUTSIDE; }

  void procedure_call(const ParserState& state, std::string_view called_name, CheckReporter& reporter);

 private:
  static void split(std::string_view name, EntryItem& item);

  DeclarativeLevels& levels_;
  std::string unit_name_;
  bool unit_is_task_ = false;
  EntryItem call_;  // reused between calls
};

}  // namespace flawseek
