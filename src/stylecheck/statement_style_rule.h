// Statements and clauses the coding standard forbids or requires.
//
// Detects a goto statement (NO_GOTO_STATEMENTS, message 12, at the label
// after GOTO), a use clause for packages (NO_PACKAGE_USE_CLAUSE, 21; a
// "use type" clause passes) and a task body whose handled statements have no
// handler for others (HANDLE_TASK_EXCEPTIONS, 17, after the body's END name),
// each when the file's style rules switch it on.
#pragma once

#include "frontend/parser_hooks.h"

namespace flawseek {

class StatementStyleRule {
 public:
  void on_goto(ParserState& state);
  void on_use_clause(ParserState& state, bool use_type);
  void on_task_body_ended(ParserState& state, bool has_others_handler);
};

}  // namespace flawseek
