// The rule texts as the command line shows them (--list-rules, --explain),
// and the names a user may give a kind by; the facts themselves are the
// kinds' descriptor rows (findings/rule_descriptor.h).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "findings/finding.h"
#include "findings/rule_descriptor.h"

namespace flawseek {

// The comment that suppresses one finding of the kind on its line ("-->NP:"),
// or nothing when no mark suppresses the kind.
std::optional<std::string> suppression_mark_text(FindingKind kind);

// How a user silences the kind: the mark, or what there is instead.
std::string suppression_advice(FindingKind kind);

// A kind named by its id, its literal or its label ("null-pointer",
// "NULL_POINTER", "Null Pointer", "style/bad-keyword", "bad_keyword").
std::optional<FindingKind> find_kind_by_any_name(std::string_view text);

// The answer of --list-rules: one line per kind (id, label, family, style
// sets, suppression mark), aligned.
std::string rule_list_text();

// The answer of --explain for one kind.
std::string rule_explanation_text(FindingKind kind);

}  // namespace flawseek
