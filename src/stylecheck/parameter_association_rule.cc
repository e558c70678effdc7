// Checking that one actual parameter list keeps to one association form.
#include "stylecheck/parameter_association_rule.h"

namespace flawseek {

namespace {

std::size_t first_non_blank(std::string_view line) noexcept {
  std::size_t at = 0;
  while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
  return at;
}

}  // namespace

void ParameterAssociationRule::note_next_start(const ParserState& state) noexcept {
  OpenList& list = open_lists_.back();
  const std::string_view line = state.lexer().current_line();
  const std::string_view rest = state.lexer().rest_of_line();
  const std::size_t blanks = first_non_blank(rest);
  // What follows the "," on its line, a view into that line; nothing when
  // the next association begins on a later line.
  if (blanks < rest.size()) {
    list.start_line = state.token_line();
    list.start_column = static_cast<int>(rest.data() + blanks - line.data()) + 1;
  } else {
    list.start_line = 0;
  }
}

void ParameterAssociationRule::on_association(ParserState& state, bool named) {
  if (open_lists_.empty()) return;
  OpenList& list = open_lists_.back();
  if (!judges(list.kind)) return;
  const Form form = named ? Form::NAMED : Form::POSITIONAL;
  if (list.first_form == Form::UNDECIDED) {
    list.first_form = form;
  } else if (form != list.first_form && state.style_rules().parameter_association_on) {
    if (list.start_line != 0) {
      state.report_at(ParserMessage::MIXED_ASSOCIATIONS, list.start_line, list.start_column);
    } else {
      // Begun on a later line than its ",": on the line of the token read
      // last (the "=>" or the end of the actual), at its first word.
      const std::string_view line = state.previous_token_line_text();
      const std::size_t first = first_non_blank(line);
      const int column = first < line.size() ? static_cast<int>(first) + 1 : state.previous_token_column();
      state.report_at(ParserMessage::MIXED_ASSOCIATIONS, state.previous_token_line(), column);
    }
  }
}

}  // namespace flawseek
