// Interim: the survey's own test of whether an identifier draws BAD_IDENTIFIER
// (message 1), until the check pass's identifier rule can be shared with it.
#pragma once

#include <string_view>

#include "style/case_convention.h"
#include "style/style_rules.h"

namespace flawseek {

// Under the survey's rules (the base rules with the Mixed identifier case; no
// prefix slot is set): an "X_" name passes, any other name is tested against
// the identifier case.
inline bool survey_identifier_decision(std::string_view name, const StyleRules& rules) {
  if (name.size() >= 2 && name[1] == '_' && name[0] == 'X') return false;
  return !follows_case(name, rules.identifier_case);
}

}  // namespace flawseek
