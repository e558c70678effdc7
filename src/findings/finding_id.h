// The stable id of every finding kind, the one name the machine-readable
// outputs, baselines and the command line share: the kind's literal in lower
// case with hyphens ("null-pointer"), style kinds under "style/"
// ("style/bad-keyword"). Ids never change once published; labels may.
#pragma once

#include <optional>
#include <string_view>

#include "findings/finding.h"

namespace flawseek {

std::string_view finding_id(FindingKind kind);

// The kind of an id as finding_id writes it, in any letter case; "_" may
// stand for "-". Nothing for an unknown id.
std::optional<FindingKind> find_finding_id(std::string_view id);

// "bug" or "style": the two families of findings.
inline constexpr std::string_view bug_family = "bug";
inline constexpr std::string_view style_family = "style";
constexpr std::string_view family_name(FindingKind kind) { return kind.is_style() ? style_family : bug_family; }

}  // namespace flawseek
