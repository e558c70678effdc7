// Mixed association forms within one actual parameter list.
//
// Detects, in the actual parameters of a call and the actuals of a generic
// instantiation, an association written in the other form (named or
// positional) than the list's first one (INCONSISTENT_PARAMETER_ASSOCIATION,
// message 14, once per such association). Aggregates, constraints and pragma
// arguments are other lists: their associations do not count. Lists nest
// (an actual may be a call), so each open list keeps its own first form.
// The finding stands at the association's first token (the formal of a
// named one), which the list notes where the association begins: after "("
// or ",", where the parser is when the list opens or an element ends.
#pragma once

#include <cstdint>
#include <vector>

#include "frontend/parser_hooks.h"

namespace flawseek {

class ParameterAssociationRule {
 public:
  ParameterAssociationRule() { open_lists_.reserve(16); }

  void parse_started() noexcept { open_lists_.clear(); }
  void on_list_opened(const ParserState& state, ListKind kind) {
    open_lists_.push_back({kind, Form::UNDECIDED, state.token_line(), state.token_column()});
  }
  // The current token is the "," after the element.
  void on_list_element_ended(const ParserState& state, ListKind kind) noexcept {
    if (!open_lists_.empty() && open_lists_.back().kind == kind && judges(kind)) note_next_start(state);
  }
  void on_list_closed() noexcept {
    if (!open_lists_.empty()) open_lists_.pop_back();
  }
  void on_association(ParserState& state, bool named);

 private:
  enum class Form : std::uint8_t { UNDECIDED, NAMED, POSITIONAL };
  struct OpenList {
    ListKind kind;
    Form first_form;
    // Where the association being read begins; line 0 when it begins on a
    // line after its ",".
    int start_line;
    int start_column;
  };
  static bool judges(ListKind kind) noexcept {
    return kind == ListKind::ACTUAL_PARAMETERS || kind == ListKind::GENERIC_ACTUALS;
  }
  void note_next_start(const ParserState& state) noexcept;

  std::vector<OpenList> open_lists_;
};

}  // namespace flawseek
