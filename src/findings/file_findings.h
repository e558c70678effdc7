// The findings of one file (or specification-and-body pair) collected apart
// from the shared findings list, so that files can be analysed on several
// threads and their results applied to the list in walk order.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "findings/finding.h"
#include "findings/finding_sink.h"

namespace flawseek {

class FileFindings final : public FindingSink {
 public:
  enum class StepKind : std::uint8_t {
    SetCurrentFile,       // finding.file names the file; the rest is unused
    Report,               // a finding of `kind`
    StyleCommandSeen,     // nothing else is used
    Detail,               // finding.reason is the detail of the finding recorded before
    Suppressed,           // a bug finding a mark absorbed, of `kind`
    WithoutTabs,          // the file named last holds no tab; nothing else is used
  };

  // One call made on this recorder, in order. A Report or Suppressed step
  // belongs to the file the last SetCurrentFile step named (before the first,
  // to whatever file the list has current when applied). Reasons and details
  // are kept passed through collapse_blanks, as the list stores them, so
  // the analysing thread does that work, not the one applying the results;
  // they lie one after another in the recorder's text (see reason), so a
  // finding costs no allocation of its own.
  struct Step {
    StepKind what = StepKind::Report;
    FindingKind kind = BugKind::INTERNAL_ERROR;
    std::int32_t line = 0;
    std::int32_t column = no_column;
    std::size_t reason_start = 0;
    std::size_t reason_size = 0;
    SharedPath file;  // a SetCurrentFile step's file; empty for the others
  };

  // The recorder starts with no current file: findings before the first
  // set_current_file go to whatever file the list has current when applied.
  void set_current_file(std::string_view name) override;
  void report_bug(BugKind kind, std::int32_t line, std::int32_t column, std::string_view reason) override;
  // Every style finding is kept, NO_STYLE_CHECKS included: whether it is listed
  // depends on the list's setting at the moment it is applied.
  void report_style(StyleKind kind, std::int32_t line, std::int32_t column, std::string_view reason) override;
  void note_style_command_seen() override;
  void describe_last_finding(std::string_view detail) override;
  void describe_last_finding_plainly(std::string_view detail) override;
  void report_suppressed_bug(BugKind kind, std::int32_t line, std::int32_t column, std::string_view reason) override;
  // The file named last was read and holds no tab: an output need not read
  // it again to learn the columns an editor shows.
  void note_file_without_tabs();

  std::span<const Step> steps() const { return {steps_.data(), used_}; }
  // A step's reason or detail, valid until the recorder is cleared.
  std::string_view reason(const Step& step) const {
    return std::string_view(texts_.data() + step.reason_start, step.reason_size);
  }
  // Number of recorded findings (not counting the other steps).
  std::size_t finding_count() const { return finding_count_; }
  void clear();
  // clear, and the room taken back when it holds room for more than `steps`
  // steps (or their texts): a recorder reused for many files keeps the room
  // of the largest it met, which one file with thousands of findings makes
  // large.
  void clear_keeping_room_for(std::size_t steps);

 private:
  void record(FindingKind kind, std::int32_t line, std::int32_t column, std::string_view reason);
  Step& next_step(StepKind what, FindingKind kind, std::int32_t line, std::int32_t column, std::string_view reason);

  std::vector<Step> steps_;  // the first used_ are this file's; the rest keep their room
  std::string texts_;        // the steps' reasons, one after another
  // The last reason given, in room that only grows (a string's assign cost
  // more than the copy), and where its collapsed text lies in texts_.
  std::unique_ptr<char[]> last_given_;
  std::size_t last_given_room_ = 0;
  std::size_t last_given_size_ = 0;
  std::size_t last_reason_start_ = 0;
  std::size_t last_reason_size_ = 0;
  std::size_t used_ = 0;
  std::size_t finding_count_ = 0;
};

}  // namespace flawseek
