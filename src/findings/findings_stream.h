// Where a findings list hands on each applied result's findings, for a
// program that writes findings out as the search goes instead of keeping
// every one of a large tree until it ends.
#pragma once

#include <string_view>

namespace flawseek {

class FindingsList;

class FindingsStream {
 public:
  virtual ~FindingsStream() = default;

  // The findings (and their notes) `list` holds: those of the result just
  // applied. The list forgets them when this returns; its counts stay.
  virtual void take_findings(const FindingsList& list) = 0;
  // No finding of a file whose path sorts before `bound` (byte order) will
  // come any more.
  virtual void settle_paths_before(std::string_view bound) = 0;
};

}  // namespace flawseek
