// The compact store of a search's findings.
#include "findings/compact_findings.h"

#include <algorithm>
#include <limits>

namespace flawseek {

std::uint32_t CompactFindings::keep_text(std::string_view text) {
  if (text.empty()) return no_text;
  // A text too long to say its size in 32 bits is cut there: no finding's is.
  const auto size = static_cast<std::uint32_t>(std::min<std::size_t>(text.size(), std::numeric_limits<std::uint32_t>::max() - 1));
  spans_.push_back({texts_.size(), size});
  texts_.append(text.substr(0, size));
  return static_cast<std::uint32_t>(spans_.size() - 1);
}

void CompactFindings::add(std::span<const FindingRecord> records) {
  for (const FindingRecord& record : records) {
    if (record.suppressed) continue;
    // Records come a file at a time: a path is compared with the last one kept.
    if (files_.empty() || !(files_.back() == *record.file)) files_.push_back(*record.file);
    const auto file = static_cast<std::uint32_t>(files_.size() - 1);
    std::uint32_t reason = no_text;
    // Another finding of the line already keeps its text; mostly the last
    // row, else one of the few before it (the kinds come one after another).
    for (std::size_t back = rows_.size(), seen = 0; back > 0 && seen < 8; --back, ++seen) {
      const Row& earlier = rows_[back - 1];
      if (earlier.file != file) break;
      if (earlier.line == record.line && text(earlier.reason) == record.reason) {
        reason = earlier.reason;
        break;
      }
    }
    if (reason == no_text) reason = keep_text(record.reason);
    rows_.push_back({file, record.line, record.column, reason, keep_text(record.detail),
                     static_cast<std::uint8_t>(record.kind.index())});
  }
}

void CompactFindings::clear() {
  rows_.clear();
  files_.clear();
  spans_.clear();
  texts_.clear();
}

FindingRecord CompactFindings::record(std::size_t row) const {
  const Row& r = rows_[row];
  return FindingRecord{FindingKind::from_index(r.kind), &files_[r.file], r.line, r.column, text(r.reason), text(r.detail)};
}

Finding CompactFindings::finding(std::size_t row) const {
  const Row& r = rows_[row];
  return Finding{files_[r.file], r.line, r.column, std::string(text(r.reason))};
}

std::size_t CompactFindings::memory_bytes() const {
  return rows_.capacity() * sizeof(Row) + spans_.capacity() * sizeof(Span) + texts_.capacity() +
         files_.capacity() * sizeof(SharedPath);
}

}  // namespace flawseek
