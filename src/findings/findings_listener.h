// Who hears of the findings a list takes as the search commits them, while
// the list keeps them too: the window's table keeps its own compact copy.
#pragma once

#include <span>

#include "findings/finding_record.h"

namespace flawseek {

class FindingsListener {
 public:
  virtual ~FindingsListener() = default;

  // The findings one applied result added, each kind's in the order found;
  // the records are valid only during the call. Called on the thread that
  // applies results (the search's).
  virtual void findings_added(std::span<const FindingRecord> records) = 0;
  // Every finding is gone: a new search starts.
  virtual void findings_cleared() = 0;
};

}  // namespace flawseek
