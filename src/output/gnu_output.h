// Findings as GNU tools and GNAT print diagnostics, one line each, which
// editors (Vim's GNAT compiler plugin, Emacs's compilation mode) and CI
// annotators understand:
//   file:line:column: warning: <what is wrong>: <source text> [<id>]
// "error:" for syntax and internal errors, "(style)" before style findings
// as GNAT writes its style messages. Line 0 (the file as a whole) becomes 1;
// an unknown column becomes 1; tabs count to the next multiple of 8 unless
// the columns are counted otherwise (ColumnCount).
#pragma once

#include <array>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "output/finding_records.h"
#include "output/records_writer.h"

namespace flawseek {

class GnuLinesWriter final : public RecordsWriter {
 public:
  // `paths` must outlive the writer.
  explicit GnuLinesWriter(const PathStyle& paths, ColumnCount columns = ColumnCount::Screen);
  // Suppressed records are left out: a GNU line is a finding to act on.
  void write(std::span<const FindingRecord> records, std::ostream& out) override;
  // Hands on the lines still held back for a full block.
  void end(std::ostream& out) override;

 private:
  // The texts every line of a kind has, joined as they are written, so a
  // line is put together from few pieces. Each lies in `texts_` followed by
  // room enough to be copied in whole blocks (see put_padded).
  struct KindTexts {
    std::string_view lead;           // ": " and the severity
    std::string_view lead_sentence;  // the same and the message when the check said nothing more
    std::string_view tail;           // " [", the id, "]\n"
    bool shows_source;
  };

  std::string_view keep_padded(std::string_view text);

  std::array<KindTexts, FindingKind::count> kinds_;
  std::string texts_;  // the kinds' texts, each padded
  DisplayColumns columns_;
  ColumnCount column_count_;
  ShownPaths shown_paths_;
  // The shown path of the last file written, padded, and that file's path
  // object: a run of one file's findings shares one.
  const SharedPath* path_file_ = nullptr;
  std::string path_;
  std::size_t path_size_ = 0;
  std::string text_;
  // The message and source text of a finding that needed converting to UTF-8.
  std::string detail_room_;
  std::string source_room_;
  // The lines built but not yet handed to the stream, at the start of `text_`.
  std::size_t unsent_ = 0;
  static constexpr std::size_t block_size = 1 << 16;
};

}  // namespace flawseek
