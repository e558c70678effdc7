// One finding as the outputs see it: its kind, its place, its reason, the
// check's own words for it (when there are any) and whether a suppression
// mark absorbed it. A record points at texts kept elsewhere: a list's
// findings, or a file's recorded findings while they are handed on.
#pragma once

#include <cstdint>
#include <string_view>

#include "findings/finding.h"

namespace flawseek {

struct FindingRecord {
  FindingKind kind;
  const SharedPath* file;   // never null
  std::int32_t line;        // as in Finding
  std::int32_t column;      // as in Finding
  std::string_view reason;  // collapsed already; may be empty
  std::string_view detail;  // empty when the check said nothing more
  bool suppressed = false;  // absorbed by a suppression mark
  // The list's finding the record shows, when it shows one a list holds:
  // for a caller that must find that finding again.
  const Finding* listed = nullptr;

  static FindingRecord of(FindingKind kind, const Finding& finding, std::string_view detail, bool suppressed) {
    return {kind, &finding.file, finding.line, finding.column, finding.reason, detail, suppressed, &finding};
  }
};

}  // namespace flawseek
