// Recording a file's findings for later, ordered application.
#include "findings/file_findings.h"

namespace flawseek {

namespace {

// A reason's room kept for the next file: most source lines fit, a long
// line's copy is given back.
constexpr std::size_t reason_room_kept = 256;

}  // namespace

FileFindings::Step& FileFindings::next_step(StepKind what, FindingKind kind, std::int32_t line,
                                            std::int32_t column, std::string_view reason) {
  if (used_ == steps_.size()) steps_.push_back(Step{what, kind, Finding{{}, 0, no_column, {}}});
  Step& step = steps_[used_++];
  step.what = what;
  step.kind = kind;
  step.finding.line = line;
  step.finding.column = column;
  if (step.finding.reason.capacity() > reason_room_kept && reason.size() <= reason_room_kept)
    std::string().swap(step.finding.reason);
  collapse_blanks_into(reason, step.finding.reason);
  // A step used before may still name a file.
  if (!step.finding.file.empty()) step.finding.file = SharedPath();
  return step;
}

void FileFindings::set_current_file(std::string_view name) {
  next_step(StepKind::SetCurrentFile, BugKind::INTERNAL_ERROR, 0, no_column, {}).finding.file = SharedPath(name);
}

void FileFindings::report_bug(BugKind kind, std::int32_t line, std::int32_t column, std::string_view reason) {
  record(kind, line, column, reason);
}

void FileFindings::report_style(StyleKind kind, std::int32_t line, std::int32_t column,
                                std::string_view reason) {
  record(kind, line, column, reason);
}

void FileFindings::note_style_command_seen() {
  next_step(StepKind::StyleCommandSeen, BugKind::INTERNAL_ERROR, 0, no_column, {});
}

void FileFindings::note_file_without_tabs() {
  next_step(StepKind::WithoutTabs, BugKind::INTERNAL_ERROR, 0, no_column, {});
}

void FileFindings::describe_last_finding(std::string_view detail) {
  next_step(StepKind::Detail, BugKind::INTERNAL_ERROR, 0, no_column, detail);
}

void FileFindings::report_suppressed_bug(BugKind kind, std::int32_t line, std::int32_t column,
                                         std::string_view reason) {
  next_step(StepKind::Suppressed, kind, line, column, reason);
}

void FileFindings::record(FindingKind kind, std::int32_t line, std::int32_t column, std::string_view reason) {
  // The file is the one the last SetCurrentFile step named: copying it into
  // every finding would cost an allocation per finding for nothing.
  next_step(StepKind::Report, kind, line, column, reason);
  ++finding_count_;
}

void FileFindings::clear() {
  used_ = 0;
  finding_count_ = 0;
}

void FileFindings::clear_keeping_room_for(std::size_t steps) {
  clear();
  if (steps_.capacity() > steps) std::vector<Step>().swap(steps_);
}

}  // namespace flawseek
