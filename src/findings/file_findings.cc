// Recording a file's findings for later, ordered application.
#include "findings/file_findings.h"

#include <algorithm>
#include <cstring>

namespace flawseek {

namespace {

// Room for a step's text kept for the next file: most source lines fit.
constexpr std::size_t text_room_per_step = 128;

}  // namespace

FileFindings::Step& FileFindings::next_step(StepKind what, FindingKind kind, std::int32_t line,
                                            std::int32_t column, std::string_view reason) {
  if (used_ == steps_.size()) steps_.emplace_back();
  Step& step = steps_[used_++];
  // A step used before may still name a file.
  if (step.what == StepKind::SetCurrentFile) step.file = SharedPath();
  step.what = what;
  step.kind = kind;
  step.line = line;
  step.column = column;
  // A detail is a finding's own and never shared: it leaves the reason the
  // next finding may share alone, or every described finding of a line
  // would copy its line again.
  if (what == StepKind::Detail) {
    step.reason_start = texts_.size();
    // A plain detail comes with no reason and is written by the caller.
    if (!reason.empty()) append_collapsed_blanks(reason, texts_);
    step.reason_size = texts_.size() - step.reason_start;
    return step;
  }
  // Findings of one line mostly quote it each: such a reason is the one
  // before it again, and shares its text.
  if (reason.empty() || reason != std::string_view(last_given_.get(), last_given_size_)) {
    if (reason.size() > last_given_room_) {
      last_given_room_ = std::max(reason.size(), 2 * last_given_room_);
      last_given_ = std::make_unique_for_overwrite<char[]>(last_given_room_);
    }
    if (!reason.empty()) std::memcpy(last_given_.get(), reason.data(), reason.size());
    last_given_size_ = reason.size();
    last_reason_start_ = texts_.size();
    append_collapsed_blanks(reason, texts_);
    last_reason_size_ = texts_.size() - last_reason_start_;
  }
  step.reason_start = last_reason_start_;
  step.reason_size = last_reason_size_;
  return step;
}

void FileFindings::set_current_file(std::string_view name) {
  next_step(StepKind::SetCurrentFile, BugKind::INTERNAL_ERROR, 0, no_column, {}).file = SharedPath(name);
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
  // Said right after the file is named, it is said in the path the step
  // holds alone: the list takes that path as it is, where it would make a
  // path text of its own for each file. The step is kept for a list that
  // makes its own path of the name.
  if (used_ > 0 && steps_[used_ - 1].what == StepKind::SetCurrentFile) {
    (void)steps_[used_ - 1].file.note_without_tabs_if_sole();
  }
  next_step(StepKind::WithoutTabs, BugKind::INTERNAL_ERROR, 0, no_column, {});
}

void FileFindings::describe_last_finding(std::string_view detail) {
  next_step(StepKind::Detail, BugKind::INTERNAL_ERROR, 0, no_column, detail);
}

void FileFindings::describe_last_finding_plainly(std::string_view detail) {
  Step& step = next_step(StepKind::Detail, BugKind::INTERNAL_ERROR, 0, no_column, {});
  step.reason_start = texts_.size();
  texts_ += detail;
  step.reason_size = detail.size();
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
  texts_.clear();
  last_given_size_ = 0;
}

void FileFindings::clear_keeping_room_for(std::size_t steps) {
  clear();
  if (steps_.capacity() > steps) std::vector<Step>().swap(steps_);
  if (texts_.capacity() > steps * text_room_per_step) std::string().swap(texts_);
}

}  // namespace flawseek
