// Checking parameter modes against the mode rules of their context.
#include "stylecheck/parameter_mode_rule.h"

#include <array>
#include <string_view>

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
  const ModeRule stated = rule;
  if (rule == ModeRule::Consistent) {
    const auto at = static_cast<std::size_t>(entry);
    Consistency& decided = consistency_[at];
    if (decided == Consistency::UNDECIDED) {
      // Only a lone "in" or a missing mode shows the writer's habit.
      if (mode == ParameterMode::IN) decided = Consistency::EXPLICIT;
      if (mode == ParameterMode::NONE) decided = Consistency::IMPLICIT;
      decided_line_[at] = state.previous_token_line();
      decided_role_[at] = state.file_role();
      return;
    }
    rule = decided == Consistency::EXPLICIT ? ModeRule::InAlways : ModeRule::InNeverAlone;
  }
  const bool wrong = (rule == ModeRule::InAlways && mode == ParameterMode::NONE) ||
                     (rule == ModeRule::InNeverAlone && mode == ParameterMode::IN);
  if (!wrong) return;
  complained_entry_ = entry;
  complained_rule_ = stated == ModeRule::Consistent ? stated : rule;
  complained_role_ = state.file_role();
  state.report(ParserMessage::PARAMETER_MODE);
}

void ParameterModeRule::describe_complaint(std::string& out) const {
  static constexpr std::array<std::string_view, 3> contexts = {"function parameter", "procedure or entry parameter",
                                                               "generic formal object"};
  const auto at = static_cast<std::size_t>(complained_entry_);
  const bool explicit_in = consistency_[at] == Consistency::EXPLICIT;
  switch (complained_rule_) {
    case ModeRule::InAlways:
      out += "the mode of a ";
      out += contexts[at];
      out += " must be written: `in` is required";
      return;
    case ModeRule::InNeverAlone:
      out += "`in` must not be written alone for a ";
      out += contexts[at];
      out += ": leave the mode out";
      return;
    case ModeRule::Consistent:
      out += explicit_in ? "mode left out, but the first " : "`in` written, but the first ";
      out += contexts[at];
      out += " of this file";
      if (decided_role_[at] == FileRole::PAIR_SPECIFICATION && complained_role_ == FileRole::PAIR_BODY) {
        out += "'s specification";
      }
      out += " (line ";
      out += std::to_string(decided_line_[at]);
      out += explicit_in ? ") writes `in`" : ") leaves the mode out";
      return;
    case ModeRule::NoRule:
      return;
  }
}

}  // namespace flawseek
