// Where a findings list hands on each applied result's findings, for a
// program that writes findings out as the search goes instead of keeping
// every one of a large tree until it ends.
#pragma once

#include <span>
#include <string_view>

#include "findings/finding_record.h"

namespace flawseek {

class FindingsList;

class FindingsStream {
 public:
  virtual ~FindingsStream() = default;

  // The findings of the result just applied to `list` (whose counts already
  // include them), the suppressed ones among them, each kind's findings
  // (and the suppressed ones) in the order found. They are valid only during
  // the call, and the stream may reorder them where they lie. No later
  // result names a file whose path sorts before `later_paths_bound` (byte
  // order); empty, that is not known.
  virtual void take_findings(const FindingsList& list, std::span<FindingRecord> records,
                             std::string_view later_paths_bound) = 0;
};

}  // namespace flawseek
