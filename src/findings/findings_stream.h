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
  // applied. The list forgets them when this returns; its counts stay. No
  // later result names a file whose path sorts before `later_paths_bound`
  // (byte order); empty, that is not known.
  virtual void take_findings(const FindingsList& list, std::string_view later_paths_bound) = 0;
};

}  // namespace flawseek
