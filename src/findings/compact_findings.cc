// The compact store of a search's findings.
#include "findings/compact_findings.h"


namespace flawseek {

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
    if (reason == no_text) reason = texts_.keep(record.reason);
    rows_.push_back({file, record.line, record.column, reason, texts_.keep(record.detail),
                     static_cast<std::uint8_t>(record.kind.index())});
  }
}

void CompactFindings::clear() {
  rows_.clear();
  files_.clear();
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
  return rows_.capacity() * sizeof(Row) + texts_.memory_bytes() + files_.capacity() * sizeof(SharedPath);
}

}  // namespace flawseek
