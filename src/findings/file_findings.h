// The findings of one file (or specification-and-body pair) collected apart
// from the shared findings list, so that files can be analysed on several
// threads and their results applied to the list in walk order.
#pragma once

#include <cstdint>
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

  // One call made on this recorder, in order. A Report or Suppressed step's
  // finding leaves its file empty: it belongs to the file the last
  // SetCurrentFile step named (before the first, to whatever file the list
  // has current when applied); applying may fill it in. Reasons and details
  // are kept passed through collapse_blanks, as the list stores them, so
  // the analysing thread does that work, not the one applying the results.
  struct Step {
    StepKind what;
    FindingKind kind;
    Finding finding;
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
  void report_suppressed_bug(BugKind kind, std::int32_t line, std::int32_t column, std::string_view reason) override;
  // The file named last was read and holds no tab: an output need not read
  // it again to learn the columns an editor shows.
  void note_file_without_tabs();

  std::span<const Step> steps() const { return {steps_.data(), used_}; }
  // For a list that takes the texts over, or fills in the files
  // (FindingsList::apply_taking).
  std::span<Step> taken_steps() { return {steps_.data(), used_}; }
  // Number of recorded findings (not counting the other steps).
  std::size_t finding_count() const { return finding_count_; }
  void clear();
  // clear, and the room taken back when it holds room for more than `steps`
  // steps: a recorder reused for many files keeps the room of the largest
  // it met, which one file with thousands of findings makes large.
  void clear_keeping_room_for(std::size_t steps);

 private:
  void record(FindingKind kind, std::int32_t line, std::int32_t column, std::string_view reason);
  // The next step, one a cleared recorder used before when there is one:
  // its reason keeps its room, so a recorder reused for many files records
  // most reasons without allocating.
  Step& next_step(StepKind what, FindingKind kind, std::int32_t line, std::int32_t column, std::string_view reason);

  std::vector<Step> steps_;  // the first used_ are this file's
  std::size_t used_ = 0;
  std::size_t finding_count_ = 0;
};

}  // namespace flawseek
