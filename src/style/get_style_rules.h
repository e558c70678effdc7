// From the user's selection and rule book to the rules every file of a run is
// checked with.
#pragma once

#include "style/style_rules.h"
#include "style/style_selection.h"

namespace flawseek {

// The run's rules: the Default value with the six basic switches; outside
// extended mode that is all. In extended mode the rule book decides: NONE gives
// the Default value, TAVIK/TAVIK_95 their template whole, USER/USER_95 the
// user's selection of the TAVIK/TAVIK_95 template.
StyleRules get_style_rules(const StyleSelection& selection);

// Copies into building those parts of the template whose kinds are selected.
// Parts of unselected kinds, operator_modes_checked and instance_names_exempt
// are left as they are.
StyleRules apply_user_selection(StyleRules building, const StyleRules& from_template,
                                const StyleSelection& selection);

}  // namespace flawseek
