// Recording a file's findings for later, ordered application.
#include "findings/file_findings.h"

namespace flawseek {

void FileFindings::set_current_file(std::string_view name) {
  current_file_.assign(name);
  steps_.push_back(Step{StepKind::SetCurrentFile, FindingKind(BugKind::INTERNAL_ERROR),
                        Finding{current_file_, 0, no_column, {}}});
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

void FileFindings::describe_last_finding(std::string_view detail) {
  steps_.push_back(Step{StepKind::Detail, FindingKind(BugKind::INTERNAL_ERROR),
                        Finding{{}, 0, no_column, std::string(detail)}});
}

void FileFindings::report_suppressed_bug(BugKind kind, std::int32_t line, std::int32_t column,
                                         std::string_view reason) {
  steps_.push_back(Step{StepKind::Suppressed, kind, Finding{current_file_, line, column, std::string(reason)}});
}

void FileFindings::record(FindingKind kind, std::int32_t line, std::int32_t column, std::string_view reason) {
  steps_.push_back(Step{StepKind::Report, kind, Finding{current_file_, line, column, std::string(reason)}});
  ++finding_count_;
}

void FileFindings::clear() {
  steps_.clear();
  current_file_.clear();
  finding_count_ = 0;
}

}  // namespace flawseek
