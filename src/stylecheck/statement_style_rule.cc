// Goto statements, package use clauses and task bodies without a handler.
#include "stylecheck/statement_style_rule.h"

namespace flawseek {

void StatementStyleRule::on_goto(ParserState& state) {
  if (state.style_rules().no_goto_on) state.report(ParserMessage::GOTO_STATEMENT);
}

void StatementStyleRule::on_use_clause(ParserState& state, bool use_type) {
  if (!use_type && state.style_rules().no_use_clause_on) state.report(ParserMessage::USE_CLAUSE);
}

void StatementStyleRule::on_task_body_ended(ParserState& state, bool has_others_handler) {
  // A task that dies of an unhandled exception does so silently.
  if (!has_others_handler && state.style_rules().task_exceptions_on) {
    state.report(ParserMessage::TASK_WITHOUT_HANDLER);
  }
}

}  // namespace flawseek
