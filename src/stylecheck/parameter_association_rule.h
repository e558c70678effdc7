// Mixed association forms within one actual parameter list.
//
// Detects, in the actual parameters of a call and the actuals of a generic
// instantiation, an association written in the other form (named or
// positional) than the list's first one (INCONSISTENT_PARAMETER_ASSOCIATION,
// message 14, once per such association). Aggregates, constraints and pragma
// arguments are other lists: their associations do not count. Lists nest
// (an actual may be a call), so each open list keeps its own first form.
#pragma once

#include <cstdint>
#include <vector>

#include "frontend/parser_hooks.h"

namespace flawseek {

class ParameterAssociationRule {
 public:
  ParameterAssociationRule() { open_lists_.reserve(16); }

  void parse_started() noexcept { open_lists_.clear(); }
  void on_list_opened(ListKind kind) { open_lists_.push_back({kind, Form::UNDECIDED}); }
  void on_list_closed() noexcept {
    if (!open_lists_.empty()) open_lists_.pop_back();
  }
  void on_association(ParserState& state, bool named);

 private:
  enum class Form : std::uint8_t { UNDECIDED, NAMED, POSITIONAL };
  struct OpenList {
    ListKind kind;
    Form first_form;
  };
  std::vector<OpenList> open_lists_;
};

}  // namespace flawseek
