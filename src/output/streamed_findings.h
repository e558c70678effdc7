// Findings written out while the search goes on, in the very order of the
// whole-run output (file by the byte order of its path, then line and column,
// ties in the order found), so that a large tree's findings are never all
// held at once: a file's findings wait only until the walk can no longer
// name a file whose path sorts before it, and most files wait not at all.
#pragma once

#include <functional>
#include <map>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "findings/finding.h"
#include "findings/findings_stream.h"
#include "output/finding_records.h"
#include "output/records_writer.h"

namespace flawseek {

class StreamedFindings final : public FindingsStream {
 public:
  // `writer` and `out` must outlive this. With `include_suppressed` the
  // findings marks absorbed are written too, in their places.
  StreamedFindings(RecordsWriter& writer, std::ostream& out, bool include_suppressed);

  // Called with every result's findings before they are written or kept;
  // what the program wants to know of all findings besides writing them.
  void set_observer(std::function<void(std::span<const FindingRecord>)> observer) { observer_ = std::move(observer); }

  void take_findings(const FindingsList& list, std::span<FindingRecord> records,
                     std::string_view later_paths_bound) override;
  // Writes what still waits, then the format's end. Once, after the search.
  void finish();

 private:
  struct Kept {
    FindingKind kind;
    Finding finding;
    std::string detail;
    bool suppressed;
  };
  struct Waiting {
    std::vector<Kept> kept;
    bool in_order = true;  // false once a later result added to it
  };
  using WaitingFiles = std::map<std::string, Waiting, std::less<>>;

  // Writes the waiting files from the first up to (not including) `until`.
  void write_waiting(WaitingFiles::iterator until);
  void keep(std::span<const FindingRecord> run);

  RecordsWriter& writer_;
  std::ostream& out_;
  bool include_suppressed_;
  std::function<void(std::span<const FindingRecord>)> observer_;
  WaitingFiles waiting_;
  std::vector<FindingRecord> records_;  // reused for each waiting file written
  std::vector<FindingRecord> ordered_;  // reused for each result taken
};

}  // namespace flawseek
