// What a run tells the user about its input beyond the findings: a root that
// held no Ada source, and syntax errors that only GNAT's attributes caused.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "driver/source_walk.h"

#include "findings/finding_record.h"

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

// The SYNTAX_ERROR findings whose text names a GNAT attribute, for the note
// shown when GNAT's extensions were off.
class GnatAttributeTally {
 public:
  void add(std::string_view syntax_error_text);
  void add_syntax_errors(const FindingsList& findings);
  // The same for findings handed on as records (suppressed ones left out).
  void add_syntax_errors(std::span<const FindingRecord> records);
  // Empty when no syntax error named one.
  std::string note() const;

 private:
  std::int64_t count_ = 0;
  std::vector<std::string> named_;
  std::vector<int> entries_;
};

}  // namespace flawseek
