// One finding as the outputs see it: its kind, the finding itself, the
// check's own words for it (when there are any) and whether a suppression
// mark absorbed it. A record points at findings kept elsewhere.
#pragma once

#include <string_view>

#include "findings/finding.h"

namespace flawseek {

struct FindingRecord {
  FindingKind kind;
  const Finding* finding;
  std::string_view detail;  // empty when the check said nothing more
  bool suppressed = false;  // absorbed by a suppression mark
};

}  // namespace flawseek
