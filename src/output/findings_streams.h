// Several takers of the findings a list hands on, in the order added (each
// may reorder the records it is given, so the ones that only read come
// first), and one observer that sees them all before.
#pragma once

#include <functional>
#include <span>
#include <vector>

#include "findings/findings_stream.h"

namespace flawseek {

class FindingsStreams final : public FindingsStream {
 public:
  void add(FindingsStream* stream) { streams_.push_back(stream); }
  void set_observer(std::function<void(std::span<const FindingRecord>)> observer) { observer_ = std::move(observer); }

  void take_findings(const FindingsList& list, std::span<FindingRecord> records,
                     std::string_view later_paths_bound) override {
    if (observer_) observer_(records);
    for (FindingsStream* stream : streams_) stream->take_findings(list, records, later_paths_bound);
  }

 private:
  std::vector<FindingsStream*> streams_;
  std::function<void(std::span<const FindingRecord>)> observer_;
};

}  // namespace flawseek
