// The status-line texts of a search: progress, result, and the fixed messages;
// and the note on a file whose check was cut short.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "driver/source_walk.h"

namespace flawseek {

struct SearchTexts {
  static constexpr std::string_view searching = "Searching...";
  static constexpr std::string_view preparing = "Preparation...";
  static constexpr std::string_view root_not_found = "File or Root Directory not found";
  static constexpr std::string_view invalid_reference_path = "Invalid directory found in reference path";
  static constexpr std::string_view aborted = "Search aborted by user";
};

// "" for 1, "s" otherwise.
std::string_view plural(std::int64_t count);

// " ( 2 Read-Only files skipped )", or nothing when none was skipped.
std::string skipped_text(std::int64_t read_only_skipped);

// "Searching... 12 files processed." (or "Preparation..." in that pass),
// followed by the skipped text.
std::string progress_text(Phase phase, const WalkCounts& counts);

// " 3 potential bugs found in search of 120 files ( 2 Read-Only files skipped )",
// with ", 1 path could not be read" after it when some could not: those
// are findings too, but no potential bugs, and are counted apart.
std::string result_text(std::int64_t findings_count, const WalkCounts& counts, std::int64_t unreadable = 0);

// "FILE:LINE: line longer than 400 characters; the rest of the file was not
// checked", and ", nor was its body BODY" when a pair's body went with it.
std::string cut_short_note(std::string_view file, std::int32_t line, std::string_view unchecked_body);

}  // namespace flawseek
