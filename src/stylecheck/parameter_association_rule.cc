// Checking that one actual parameter list keeps to one association form.
#include "stylecheck/parameter_association_rule.h"

namespace flawseek {

void ParameterAssociationRule::on_association(ParserState& state, bool named) {
  if (open_lists_.empty()) return;
  OpenList& list = open_lists_.back();
  if (list.kind != ListKind::ACTUAL_PARAMETERS && list.kind != ListKind::GENERIC_ACTUALS) return;
  const Form form = named ? Form::NAMED : Form::POSITIONAL;
  if (list.first_form == Form::UNDECIDED) {
    list.first_form = form;
  } else if (form != list.first_form && state.style_rules().parameter_association_on) {
    state.report(ParserMessage::MIXED_ASSOCIATIONS);
  }
}

}  // namespace flawseek
