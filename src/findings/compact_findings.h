// Every finding of a search kept small: kind, file, line, column and two
// references into shared text, about 40 bytes a finding besides its words.
// A file's path is held once; findings on one line share that line's source
// text (a line that breaks several rules is common when a code base meets a
// new coding standard), and a finding whose check said nothing more keeps no
// message of its own: the kind's sentence stands for it.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "findings/finding.h"
#include "findings/finding_record.h"
#include "findings/text_pool.h"

namespace flawseek {

class CompactFindings {
 public:
  // Appends the records (suppressed ones are left out: nobody acts on them).
  void add(std::span<const FindingRecord> records);
  void clear();

  std::size_t size() const { return rows_.size(); }
  bool empty() const { return rows_.empty(); }

  FindingKind kind(std::size_t row) const { return FindingKind::from_index(rows_[row].kind); }
  const SharedPath& file(std::size_t row) const { return files_[rows_[row].file]; }
  // The index of the row's file: rows of one file share it, in first-seen order.
  std::uint32_t file_index(std::size_t row) const { return rows_[row].file; }
  std::size_t file_count() const { return files_.size(); }
  std::int32_t line(std::size_t row) const { return rows_[row].line; }
  std::int32_t column(std::size_t row) const { return rows_[row].column; }
  // The finding's source text (its reason), and the check's own words (empty
  // when it said nothing more).
  std::string_view reason(std::size_t row) const { return text(rows_[row].reason); }
  std::string_view detail(std::size_t row) const { return text(rows_[row].detail); }

  // The row as the outputs see a finding; valid while the row is kept.
  FindingRecord record(std::size_t row) const;
  Finding finding(std::size_t row) const;

  // Bytes held, for the benchmarks.
  std::size_t memory_bytes() const;

 private:
  static constexpr std::uint32_t no_text = TextPool::no_text;
  struct Row {
    std::uint32_t file;
    std::int32_t line;
    std::int32_t column;
    std::uint32_t reason;  // in texts_, or no_text
    std::uint32_t detail;  // the same
    std::uint8_t kind;
  };

  std::string_view text(std::uint32_t number) const { return texts_.text(number); }

  std::vector<Row> rows_;
  std::vector<SharedPath> files_;
  TextPool texts_;
};

}  // namespace flawseek
