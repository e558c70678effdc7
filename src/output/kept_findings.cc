// The compact store of the findings the grouped outputs show.
#include "output/kept_findings.h"


namespace flawseek {

void KeptFindings::take_findings(const FindingsList&, std::span<FindingRecord> records, std::string_view) {
  line_texts_.clear();
  for (const FindingRecord& record : records) {
    if (record.suppressed) continue;  // the grouped outputs show none
    const std::size_t kind = static_cast<std::size_t>(record.kind.index());
    const void* entry = record.file->identity();
    if (files_.empty() || entry != last_file_identity_) {
      files_.push_back(*record.file);  // held, so its identity stays its own
      last_file_identity_ = entry;
    }
    const auto file = static_cast<std::uint32_t>(files_.size() - 1);
    const bool starts_file_item = rows_[kind].empty() || kind_file_[kind] != entry;
    kind_file_[kind] = entry;

    std::uint32_t reason = TextPool::no_text;
    if (!record.reason.empty()) {
      const std::uint64_t key = (std::uint64_t{file} << 32) | static_cast<std::uint32_t>(record.line);
      const auto known = line_texts_.find(key);
      if (known != line_texts_.end() && texts_.text(known->second) == record.reason) {
        reason = known->second;
      } else {
        reason = texts_.keep(record.reason);
        line_texts_[key] = reason;
      }
    }
    std::vector<Row>& rows = rows_[kind];
    if (record.kind == BugKind::SYNTAX_ERROR && !record.detail.empty()) {
      syntax_error_details_[static_cast<std::uint32_t>(rows.size())] = texts_.keep(record.detail);
    }
    rows.push_back(Row{file, record.line, record.column, reason, starts_file_item});
    ++total_;
    if (record.kind.is_style()) ++style_total_;
  }
}

void KeptFindings::for_each(FindingKind kind, const std::function<void(const KindFinding&)>& visit) const {
  const std::vector<Row>& rows = rows_[static_cast<std::size_t>(kind.index())];
  for (std::size_t position = 0; position < rows.size(); ++position) {
    const Row& row = rows[position];
    std::string_view detail;
    if (kind == BugKind::SYNTAX_ERROR) {
      if (const auto found = syntax_error_details_.find(static_cast<std::uint32_t>(position));
          found != syntax_error_details_.end())
        detail = texts_.text(found->second);
    }
    const std::string_view reason = texts_.text(row.reason);
    visit(KindFinding{files_[row.file], row.line, row.column, reason, detail, row.starts_file_item});
  }
}

std::size_t KeptFindings::memory_bytes() const {
  std::size_t bytes = texts_.memory_bytes() + files_.capacity() * sizeof(SharedPath);
  for (const std::vector<Row>& rows : rows_) bytes += rows.capacity() * sizeof(Row);
  return bytes;
}

}  // namespace flawseek
