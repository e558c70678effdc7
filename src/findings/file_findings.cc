// Recording a file's findings for later, ordered application.
#include "findings/file_findings.h"

namespace flawseek {

void FileFindings::set_current_file(std::string_view name) {
  steps_.push_back(Step{StepKind::SetCurrentFile, FindingKind(BugKind::INTERNAL_ERROR),
                        Finding{std::string(name), 0, no_column, {}}});
}

void FileFindings::report_bug(BugKind kind, std::int32_t line, std::int32_t column, std::string_view reason) {
  record(kind, line, column, reason);
}

void FileFindings::report_style(StyleKind kind, std::int32_t line, std::int32_t column,
                                std::string_view reason) {
  record(kind, line, column, reason);
}

void FileFindings::note_style_command_seen() {
  steps_.push_back(Step{StepKind::StyleCommandSeen, FindingKind(BugKind::INTERNAL_ERROR),
                        Finding{{}, 0, no_column, {}}});
}

void FileFindings::note_file_without_tabs() {
  steps_.push_back(Step{StepKind::WithoutTabs, FindingKind(BugKind::INTERNAL_ERROR), Finding{{}, 0, no_column, {}}});
}

void FileFindings::describe_last_finding(std::string_view detail) {
  steps_.push_back(Step{StepKind::Detail, FindingKind(BugKind::INTERNAL_ERROR),
                        Finding{{}, 0, no_column, std::string(detail)}});
}

void FileFindings::report_suppressed_bug(BugKind kind, std::int32_t line, std::int32_t column,
                                         std::string_view reason) {
  steps_.push_back(Step{StepKind::Suppressed, kind, Finding{{}, line, column, std::string(reason)}});
}

void FileFindings::record(FindingKind kind, std::int32_t line, std::int32_t column, std::string_view reason) {
  // The file is the one the last SetCurrentFile step named: copying it into
  // every finding would cost an allocation per finding for nothing.
  steps_.push_back(Step{StepKind::Report, kind, Finding{{}, line, column, std::string(reason)}});
  collapsed_ = false;
  ++finding_count_;
}

void FileFindings::collapse_reasons() {
  if (collapsed_) return;
  for (Step& step : steps_) {
    if (step.what == StepKind::Report && !step.finding.reason.empty()) {
      collapse_blanks_in_place(step.finding.reason);
    }
  }
  collapsed_ = true;
}

void FileFindings::clear() {
  steps_.clear();
  collapsed_ = false;
  finding_count_ = 0;
}

void FileFindings::clear_keeping_room_for(std::size_t steps) {
  clear();
  if (steps_.capacity() > steps) std::vector<Step>().swap(steps_);
}

}  // namespace flawseek
