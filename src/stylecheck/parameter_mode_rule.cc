// Checking parameter modes against the mode rules of their context.
#include "stylecheck/parameter_mode_rule.h"

namespace flawseek {

void ParameterModeRule::on_parameter_mode(ParserState& state, ModeContext context, ParameterMode mode) {
  const StyleRules& rules = state.style_rules();
  int entry = 0;
  ModeRule rule = ModeRule::NoRule;
  switch (context) {
    case ModeContext::OPERATOR_FUNCTION:
      if (!rules.operator_modes_checked) return;
      [[fallthrough]];
    case ModeContext::FUNCTION:
      entry = 0;
      rule = rules.mode_rules.function_parameters;
      break;
    case ModeContext::PROCEDURE:
    case ModeContext::ENTRY:
      entry = 1;
      rule = rules.mode_rules.procedure_and_entry_parameters;
      break;
    case ModeContext::GENERIC_FORMAL_OBJECT:
      entry = 2;
      rule = rules.mode_rules.generic_formal_objects;
      break;
    case ModeContext::ACCESS_TO_SUBPROGRAM:
      return;
  }
  if (rule == ModeRule::Consistent) {
    Consistency& decided = consistency_[static_cast<std::size_t>(entry)];
    if (decided == Consistency::UNDECIDED) {
      // Only a lone "in" or a missing mode shows the writer's habit.
      if (mode == ParameterMode::IN) decided = Consistency::EXPLICIT;
      if (mode == ParameterMode::NONE) decided = Consistency::IMPLICIT;
      return;
    }
    rule = decided == Consistency::EXPLICIT ? ModeRule::InAlways : ModeRule::InNeverAlone;
  }
  const bool wrong = (rule == ModeRule::InAlways && mode == ParameterMode::NONE) ||
                     (rule == ModeRule::InNeverAlone && mode == ParameterMode::IN);
  if (wrong) state.report(ParserMessage::PARAMETER_MODE);
}

}  // namespace flawseek
