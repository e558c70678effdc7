// How the check pass's rules file a finding at a source position: the
// finding carries the text of its line from the line ring, and goes through
// the report gateway (marks, finding limit).
#pragma once

#include <cstdint>

#include "findings/bug_kind.h"
#include "bugcheck/line_ring.h"
#include "bugcheck/report_gateway.h"
#include "frontend/parser_hooks.h"
#include "style/style_kind.h"

namespace flawseek {

struct SourcePosition {
  std::int32_t line = 0;
  std::int32_t column = 1;
};

inline SourcePosition current_token_position(const ParserState& state) noexcept {
  return {state.token_line(), state.token_column()};
}
inline SourcePosition previous_token_position(const ParserState& state) noexcept {
  return {state.previous_token_line(), state.previous_token_column()};
}

class CheckReporter {
 public:
  CheckReporter(ReportGateway& gateway, const LineRing& ring) : gateway_(gateway), ring_(ring) {}

  void report_bug(BugKind kind, SourcePosition at) {
    gateway_.report_bug(kind, at.line, at.column, ring_.text(at.line));
  }
  // With the check's own words for the finding (a syntax error's complaint).
  void report_described_bug(BugKind kind, SourcePosition at, std::string_view detail) {
    gateway_.report_bug(kind, at.line, at.column, ring_.text(at.line), detail);
  }
  void report_style(StyleKind kind, SourcePosition at) {
    gateway_.report_style(kind, at.line, at.column, ring_.text(at.line));
  }
  // With the text of the line given: an item reported from a list, or a word
  // judged long after its line was read, carries the text its line had (the
  // line may have left the ring since).
  void report_bug(BugKind kind, SourcePosition at, std::string_view line_text) {
    gateway_.report_bug(kind, at.line, at.column, line_text);
  }
  // Both: the line's text given and the check's own words (none when empty).
  void report_described_bug(BugKind kind, SourcePosition at, std::string_view line_text, std::string_view detail) {
    gateway_.report_bug(kind, at.line, at.column, line_text, detail);
  }
  void report_style(StyleKind kind, SourcePosition at, std::string_view line_text) {
    gateway_.report_style(kind, at.line, at.column, line_text);
  }
  // With the words that say what the rule wants (none when empty).
  void report_described_style(StyleKind kind, SourcePosition at, std::string_view line_text, std::string_view detail) {
    gateway_.report_style(kind, at.line, at.column, line_text, detail);
  }
  // Whether a style finding's words are wanted at all: when not, they need
  // not be built.
  bool style_details_wanted() const noexcept { return gateway_.style_details(); }
  // The text of a line still in the ring (empty once it has left).
  std::string_view line_text(std::int32_t line) const noexcept { return ring_.text(line); }
  // At the parser's current token (not yet consumed).
  void report_bug_here(const ParserState& state, BugKind kind) {
    report_bug(kind, current_token_position(state));
  }

 private:
  ReportGateway& gateway_;
  const LineRing& ring_;
};

}  // namespace flawseek
