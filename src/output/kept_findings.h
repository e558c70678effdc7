// What the outputs grouped by kind (the tree, the CSV and plain-text
// reports) need of a run's findings, kept small as the search hands them on:
// per kind, each finding's file, line, column and a reference to its source
// text, which findings of one line share; the syntax errors' words. About 40
// bytes a finding besides the texts, where a findings list holds several
// hundred with the tree it builds.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "findings/findings_stream.h"
#include "findings/text_pool.h"
#include "output/findings_by_kind.h"

namespace flawseek {

class KeptFindings final : public FindingsStream, public FindingsByKind {
 public:
  void take_findings(const FindingsList& list, std::span<FindingRecord> records,
                     std::string_view later_paths_bound) override;

  std::int64_t count(FindingKind kind) const override {
    return static_cast<std::int64_t>(rows_[static_cast<std::size_t>(kind.index())].size());
  }
  std::int64_t findings_count() const override { return total_; }
  std::int64_t style_count() const override { return style_total_; }
  void for_each(FindingKind kind, const std::function<void(const KindFinding&)>& visit) const override;

  // Bytes held, for the benchmarks.
  std::size_t memory_bytes() const;

 private:
  struct Row {
    std::uint32_t file;
    std::int32_t line;
    std::int32_t column;
    std::uint32_t reason;  // in texts_, or TextPool::no_text
    bool starts_file_item;
  };

  std::array<std::vector<Row>, FindingKind::count> rows_;
  // A syntax error's words, by its row.
  std::unordered_map<std::uint32_t, std::uint32_t> syntax_error_details_;
  std::vector<SharedPath> files_;
  const void* last_file_identity_ = nullptr;
  // Per kind, the file entry of its last finding: a new one starts a file item.
  std::array<const void*, FindingKind::count> kind_file_{};
  TextPool texts_;
  // This result's source lines by file and line, so findings of one line share one.
  std::unordered_map<std::uint64_t, std::uint32_t> line_texts_;
  std::int64_t total_ = 0;
  std::int64_t style_total_ = 0;
};

}  // namespace flawseek
