// The catalog of finding kinds: for every kind its id, the short sentence the
// machine-readable outputs print for a finding ("what is wrong"), what the
// rule detects and why that matters, a minimal Ada example that triggers it,
// how to suppress it, and which style sets enable it. --list-rules,
// --explain and the SARIF rule descriptions all read this one table.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "findings/finding.h"

namespace flawseek {

struct RuleEntry {
  std::string_view sentence;     // what is wrong, as a finding's message ("access value is null here")
  std::string_view detects;      // what the rule detects: one paragraph
  std::string_view matters;      // why it matters: one paragraph
  // A minimal Ada 95 example that triggers it (lines end in '\n'); an
  // example of several files opens each with a comment naming it
  // ("--  quiet.ads").
  std::string_view example;
  std::string_view enabled_by;   // which style sets (or what else) switch the check on
};

const RuleEntry& rule_entry(FindingKind kind);

// "error" (SYNTAX_ERROR, INTERNAL_ERROR), "warning" (the other bug kinds) or
// "note" (style kinds): the words of SARIF's levels and the JSON output.
std::string_view severity_name(FindingKind kind);

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
