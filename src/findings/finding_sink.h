// Where the analysis of a file sends its findings: straight into the shared
// findings list, or into a per-file recorder that is applied to the list later.
#pragma once

#include <cstdint>
#include <string_view>

#include "findings/finding.h"

namespace flawseek {

class FindingSink {
 public:
  virtual ~FindingSink() = default;

  // Names the file that the following findings belong to.
  virtual void set_current_file(std::string_view name) = 0;
  virtual void report_bug(BugKind kind, std::int32_t line, std::int32_t column, std::string_view reason) = 0;
  virtual void report_style(StyleKind kind, std::int32_t line, std::int32_t column, std::string_view reason) = 0;
  // A checked file held a style command; this can make unchecked files listed.
  virtual void note_style_command_seen() = 0;
};

}  // namespace flawseek
