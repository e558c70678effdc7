// NO_DECLARATION_OVERLOADING and NO_VARIABLE_IN_SPECIFICATION: an object,
// loop parameter or type that takes a name already declared at its level or
// an enclosing one (the completion of an incomplete type or of a deferred
// constant is no second declaration), and a variable in the visible part of
// a library-level specification. Both read the declarative levels before
// the declaration is entered there.
#pragma once

#include <span>
#include <string_view>

#include "bugcheck/check_reporter.h"
#include "bugcheck/declarations/declarative_levels.h"
#include "frontend/parser_hooks.h"

namespace flawseek {

class DeclarationStyleRule {
 public:
  explicit DeclarationStyleRule(DeclarativeLevels& levels) : levels_(levels) {}

  // The identifiers of one declaration, once its category is known.
  void declaration_completed(const ParserState& state, std::span<const NameItem> names,
                             DeclarationCategory category, CheckReporter& reporter);
  void loop_parameter_declared(const ParserState& state, std::string_view name, CheckReporter& reporter);
  void type_declared(const ParserState& state, const NameItem& declared, TypeKind kind, CheckReporter& reporter);

 private:
  void report_overloading(const NameItem& declared, DeclarationGroup group, int skip_level, CheckReporter& reporter);

  DeclarativeLevels& levels_;
};

}  // namespace flawseek
