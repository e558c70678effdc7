// The bug checker's line source: commands, style records, line ring and
// line-length checks around AdaLineReader.
#include "bugcheck/source_line_reader.h"

#include <algorithm>
#include <cstdint>

#include "bugcheck/rules/style_message_detail.h"

#include "bugcheck/stop_request.h"

namespace flawseek {

SourceLineReader::SourceLineReader(ReportGateway& gateway) : reader_(this), gateway_(gateway) {}

void SourceLineReader::on_long_line(std::string_view raw, int line_number) {
  if (!style_checks_on_) return;
  // The limit said is the reader's own when the style allows longer lines.
  const int limit = std::min(file_style_.max_line_length, analysable_line_limit);
  gateway_.report_uncounted_style(
      StyleKind::LINE_TOO_LONG, line_number, analysable_line_limit, raw.substr(0, quoted_long_line_length),
      gateway_.style_details() ? line_length_detail(raw.size(), limit, detail_room_) : std::string_view{});
  throw StopRequest(StopRequest::Cause::LineTooLong);
}

// Most lines carry no command and find the parser's settings current: they
// meet the length test and go into the ring, with no call that is not a
// tail call, so no register is saved for them.
void SourceLineReader::on_line(const DeliveredLine& line) {
  if (line.has_command || target_stale_) {
    on_line_with_news(line);
    return;
  }
  judge_line(line);
}

void SourceLineReader::on_line_with_news(const DeliveredLine& line) {
  // A style command after code changed the parser's settings only for the
  // rest of its own line; every line starts again from the line record.
  // Without a target there is nothing to bring up to date: a new target
  // marks itself stale.
  if (target_stale_) {
    if (style_target_ != nullptr) style_target_->set_style_rules(line_style_);
    target_stale_ = false;
  }
  // Before the length test: a command may change the length allowed on its
  // own line.
  if (line.has_command) read_command(line.command, line.number, line.command_column, line.command_at_line_start);
  judge_line(line);
}

void SourceLineReader::read_command(std::string_view text, int line_number, int column, bool at_line_start) {
  target_stale_ = true;
  if (const auto rules = commands_.parse(text, line_number, column, style_checks_on_, gateway_.marks())) {
    file_style_ = *rules;
    if (style_target_ != nullptr) style_target_->set_style_rules(file_style_);
    style_command_seen_ = true;
  }
  // A command alone at the start of its line sets the selection for every
  // following line.
  if (at_line_start) line_style_ = file_style_;
}

void SourceLineReader::report_long_line(std::string_view line, int line_number, bool empty_trailing_comment) {
  if (!file_style_.comment_lines_exempt || !empty_trailing_comment) {
    const std::string_view detail = gateway_.style_details()
                                        ? line_length_detail(line.size(), file_style_.max_line_length, detail_room_)
                                        : std::string_view{};
    gateway_.report_uncounted_style(StyleKind::LINE_TOO_LONG, line_number, file_style_.max_line_length, line,
                                    detail);
  }
  // Last: the finding quotes the line itself, not the ring.
  remember_line(line, line_number);
}

}  // namespace flawseek
