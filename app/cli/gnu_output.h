// Findings as GNU tools and GNAT print diagnostics, one line each, which
// editors (Vim's GNAT compiler plugin, Emacs's compilation mode) and CI
// annotators understand:
//   file:line:column: warning: <what is wrong>: <source text> [<id>]
// "error:" for syntax and internal errors, "(style)" before style findings
// as GNAT writes its style messages. Line 0 (the file as a whole) becomes 1;
// an unknown column becomes 1; tabs count to the next multiple of 8.
#pragma once

#include <array>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "finding_records.h"
#include "records_writer.h"

namespace flawseek {

class GnuLinesWriter final : public RecordsWriter {
 public:
  // `paths` must outlive the writer.
  explicit GnuLinesWriter(const PathStyle& paths);
  // Suppressed records are left out: a GNU line is a finding to act on.
  void write(std::span<const FindingRecord> records, std::ostream& out) override;

 private:
  // What every line of a kind says, looked up once.
  struct KindTexts {
    std::string_view severity;
    std::string_view sentence;  // the message when the check said nothing more
    std::string_view id;
    bool shows_source;
  };

  std::array<KindTexts, FindingKind::count> kinds_;
  DisplayColumns columns_;
  ShownPaths shown_paths_;
  std::string text_;
};

}  // namespace flawseek
