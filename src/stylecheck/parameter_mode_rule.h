// How parameter modes are written.
//
// Detects a parameter specification or generic formal object whose mode
// words break the rule of its context (WRONG_MODE, message 22, at the subtype
// mark after the mode): "in" required, "in" never written alone, or written
// the way the context's first parameter in the file wrote it (an explicit
// "in" or no mode). Function parameters, procedure and entry parameters and
// generic formal objects each have their rule and their own consistency state;
// operator functions are exempt unless the rules check them. The states
// belong to the unit, so a body continues its specification's.
#pragma once

#include <array>
#include <cstdint>

#include <string>

#include "frontend/parser_hooks.h"

namespace flawseek {

class ParameterModeRule {
 public:
  void empty_unit_collections() noexcept { consistency_.fill(Consistency::UNDECIDED); }
  void on_parameter_mode(ParserState& state, ModeContext context, ParameterMode mode);
  // The rule the parameter being reported breaks, appended to `out`; under
  // the consistency rule, with the line of the parameter that set the habit.
  // Asked only while the complaint is reported.
  void describe_complaint(std::string& out) const;

 private:
  enum class Consistency : std::uint8_t { UNDECIDED, EXPLICIT, IMPLICIT };
  // Function parameters, procedure and entry parameters, generic formal objects.
  std::array<Consistency, 3> consistency_{};
  // Where each habit was set: the line, and whether in the specification
  // of the pair while its body is checked.
  std::array<int, 3> decided_line_{};
  std::array<FileRole, 3> decided_role_{};
  // The complaint being reported: its context's entry and the rule it breaks.
  int complained_entry_ = 0;
  ModeRule complained_rule_ = ModeRule::NoRule;
  FileRole complained_role_ = FileRole::SINGLE_FILE;
};

}  // namespace flawseek
