// A machine-readable output written as the findings come: the records in
// output order, in any number of runs, then the end. The whole-run output
// hands every record over at once; a streamed run hands over each file's
// findings as soon as their place in the order is certain.
#pragma once

#include <ostream>
#include <span>

#include "output/finding_records.h"

namespace flawseek {

class RecordsWriter {
 public:
  virtual ~RecordsWriter() = default;
  // The next records, continuing the output order of earlier calls.
  virtual void write(std::span<const FindingRecord> records, std::ostream& out) = 0;
  // Once, after the last records (with none, the output of no finding).
  virtual void end(std::ostream& out) { (void)out; }
};

}  // namespace flawseek
