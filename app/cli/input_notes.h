// What a run tells the user about its input beyond the findings: a root that
// held no Ada source, and syntax errors that only GNAT's attributes caused.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "driver/source_walk.h"

namespace flawseek {

class FindingsList;

// A root that held no Ada source: an error (the run exits 2) when the root
// named files by a name or pattern, as linters do for a pattern matching
// nothing; a warning when it named a folder, which may rightly be empty.
struct EmptySearch {
  bool is_error = false;
  std::string message;  // without the "flawseek: " that opens every line
};

// Nothing when the check pass processed or skipped any Ada source, or the
// root resolves to nothing (that has its own message).
std::optional<EmptySearch> empty_search(std::string_view root, const WalkCounts& counts,
                                        std::string_view current_directory);

// The attribute that only GNAT defines ("Img" of "X'Img") that `text` names
// first; empty when it names none.
std::string_view gnat_attribute_named(std::string_view text);

// The note for SYNTAX_ERROR findings whose text names a GNAT attribute, when
// GNAT's extensions were off; empty when there is none.
std::string gnat_attribute_note(const FindingsList& findings);

}  // namespace flawseek
