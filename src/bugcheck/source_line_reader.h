// The line source of the bug checker's parser instances. It delivers the
// source's lines through AdaLineReader (comments cut, control characters
// blanked, empty lines skipped but counted) and adds what the bug checker
// needs around it: "-->" commands, the file and line style records, the ring
// of the last ten lines, and the line-length checks.
//
// Lines are physical lines. A line over 400 characters ends the file's check
// when style checks are on (after a LINE_TOO_LONG finding at column 400);
// with them off it reaches the scanner whole, which rejects it unless its
// comment brings it within the limit. It is never cut into pieces that would
// count as further lines: the tail of a long comment would then be parsed as
// code, and every later line number would be off by one.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "bugcheck/command_parser.h"
#include "bugcheck/line_ring.h"
#include "bugcheck/report_gateway.h"
#include "frontend/ada_line_reader.h"
#include "frontend/parser_hooks.h"
#include "style/style_rules.h"

namespace flawseek {

class SourceLineReader final : private LineReaderListener {
 public:
  // Longest line the analysis reads; a longer one is too long to analyse.
  static constexpr std::int32_t analysable_line_limit = 400;
  // How much of a too-long line its finding quotes.
  static constexpr std::size_t quoted_long_line_length = 410;

  explicit SourceLineReader(ReportGateway& gateway);
  SourceLineReader(const SourceLineReader&) = delete;
  SourceLineReader& operator=(const SourceLineReader&) = delete;

  LineSource& line_source() noexcept { return reader_; }

  // Reads `text` (not copied; it must outlive the reading) from its start;
  // the line count becomes 0 and no line of an earlier source is remembered.
  void restart(std::string_view text) noexcept {
    reader_.set_text_view(text);
    source_ = text;
    ring_.clear();
  }
  std::int32_t line_number() const noexcept { return reader_.line_number(); }

  // The parser whose style settings the reader sets; null for none.
  void set_style_target(ParserState* parser) noexcept {
    style_target_ = parser;
    target_stale_ = true;
  }

  void set_style_checks(bool on) noexcept { style_checks_on_ = on; }
  bool style_checks() const noexcept { return style_checks_on_; }

  // Both style records become `rules`; no style command seen yet.
  void reset_style(const StyleRules& rules) noexcept {
    file_style_ = rules;
    line_style_ = rules;
    style_command_seen_ = false;
    target_stale_ = true;
  }
  bool style_command_seen() const noexcept { return style_command_seen_; }

  const LineRing& ring() const noexcept { return ring_; }

 private:
  void on_long_line(std::string_view raw, int line_number) override;
  void on_line(const DeliveredLine& line) override;
  // Kept apart: few lines carry a command or find the parser's settings out
  // of date.
  [[gnu::noinline]] void on_line_with_news(const DeliveredLine& line);
  // The length test, then the ring.
  void judge_line(const DeliveredLine& line) {
    if (style_checks_on_ && static_cast<std::int64_t>(line.text.size()) > file_style_.max_line_length) {
      // A tail call, so a line of usual length needs no registers saved.
      report_long_line(line.text, line.number, line.empty_trailing_comment);
      return;
    }
    remember_line(line.text, line.number);
  }
  // Kept apart: few lines carry a command.
  [[gnu::noinline]] void read_command(std::string_view text, int line_number, int column, bool at_line_start);
  // Kept apart so that every line's delivery stays short; it remembers the
  // line too.
  [[gnu::noinline]] void report_long_line(std::string_view line, int line_number, bool empty_trailing_comment);
  // Into the ring: as a view when the line lies in the text being read, or
  // is the reader's run of blanks for a comment-only line, which lasts as
  // long as the program and reads the same as a copy would.
  void remember_line(std::string_view line, int line_number) {
    const auto at = reinterpret_cast<std::uintptr_t>(line.data());
    const auto start = reinterpret_cast<std::uintptr_t>(source_.data());
    const bool in_source = at >= start && at - start + line.size() <= source_.size();
    ring_.store(line_number, line, in_source || AdaLineReader::is_comment_only(line));
  }

  AdaLineReader reader_;
  ReportGateway& gateway_;
  std::string detail_room_;  // a long line's finding's words
  CommandParser commands_;
  LineRing ring_;
  // The text being read: a line delivered from within it stays there, and
  // the ring need not copy it.
  std::string_view source_;
  StyleRules file_style_ = default_style_rules;
  StyleRules line_style_ = default_style_rules;
  ParserState* style_target_ = nullptr;
  // The target's settings may differ from the line record: set by what
  // changes either or names a new target, cleared when a line start hands
  // the record over (or finds no target). Most files hold no style command,
  // and their lines copy nothing.
  bool target_stale_ = true;
  bool style_checks_on_ = false;
  bool style_command_seen_ = false;
};

}  // namespace flawseek
