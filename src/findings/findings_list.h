// The findings of one search: one list per kind (11 bug kinds, 20 style kinds),
// the counts, the current file, and the findings tree kept in step with them.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "findings/file_findings.h"
#include "findings/finding.h"
#include "findings/finding_notes.h"
#include "findings/finding_record.h"
#include "findings/finding_sink.h"
#include "findings/findings_listener.h"
#include "findings/findings_stream.h"
#include "findings/findings_view.h"
#include "findings/reported_kinds.h"

namespace flawseek {

inline constexpr std::string_view unknown_file_text = "Unknown file";
inline constexpr std::string_view style_violations_text = "Style Violations";

class FindingsList final : public FindingSink {
 public:
  // A deque keeps every finding at its address while later ones are appended,
  // so tree items may point at them.
  using Findings = std::deque<Finding>;

  FindingsList();

  // The tree the findings are shown in; null (the default) shows them nowhere.
  // The view must outlive this list or be detached with set_view(nullptr).
  void set_view(FindingsView* view);
  // Shows every finding held in the view anew, as if each had been reported
  // into it: a tree made after the search is the tree the search would have
  // made. Only between searches.
  void show_in_view();

  // With a stream, each applied result's findings are handed on to it and
  // then forgotten: the list keeps only the counts, the current file and the
  // "List Unchecked Style" state, so memory stays flat however many findings
  // a search makes. Such a list shows no tree. Null (the default) keeps
  // every finding. The stream must outlive this list or be detached.
  void set_stream(FindingsStream* stream) { stream_ = stream; }

  // Hears of every applied result's findings, which the list keeps as well,
  // and of clear_findings. Null (the default) tells nobody. The listener
  // must outlive this list or be detached.
  void set_listener(FindingsListener* listener) { listener_ = listener; }

  // The kinds reported, everywhere and by path; findings of the others are
  // dropped as they come, suppressed ones too. Null (the default) reports
  // every kind. The object must outlive this list or be detached.
  void set_reported_kinds(const ReportedKinds* kinds);

  // Empties every list, the tree and the counts; the current file becomes
  // "Unknown file". The unchecked-style setting is kept.
  void clear_findings();

  void set_current_file(std::string_view name) override;
  // The current file was read and holds no tab (see SharedPath); heard only
  // before its first finding.
  void note_current_file_without_tabs();
  void report_bug(BugKind kind, std::int32_t line, std::int32_t column, std::string_view reason) override;
  // A NO_STYLE_CHECKS finding is dropped unless unchecked files are listed.
  void report_style(StyleKind kind, std::int32_t line, std::int32_t column, std::string_view reason) override;
  void note_style_command_seen() override;
  // Kept in notes(), for the machine-readable outputs; a syntax error's
  // also on its position row in the tree.
  void describe_last_finding(std::string_view detail) override;
  // Whether a style finding's detail is kept (the default). Only the
  // machine-readable outputs show one, so a list that feeds none of them
  // drops them, and a search into it does not build them.
  void set_style_details_kept(bool kept) { style_details_kept_ = kept; }
  bool style_details_kept() const { return style_details_kept_; }
  void report_suppressed_bug(BugKind kind, std::int32_t line, std::int32_t column, std::string_view reason) override;
  const FindingNotes& notes() const { return notes_; }

  // Replays a file's recorded findings, with the same effect as if they had
  // been reported here one by one (then hands them to the stream, if there
  // is one). Results must be applied in walk order.
  void apply(const FileFindings& recorded);
  // The same, taking the recorded reasons as they stand, collapsed already.
  // A stream hears `later_paths_bound`: no later result names a file whose
  // path sorts before it (empty: no bound). With a stream (and no tree) the
  // findings are handed on without being kept.
  void apply_taking(const FileFindings& recorded, std::string_view later_paths_bound = {});

  // Every finding the lists hold, kind by kind in list order, with its
  // detail; then, with `include_suppressed`, the findings marks absorbed.
  void collect_records(std::vector<FindingRecord>& records, bool include_suppressed) const;
  // Each list's length, for collect_records_since.
  using ListLengths = std::array<std::size_t, FindingKind::count>;
  ListLengths list_lengths() const;
  // The findings added to the lists after they had `lengths`, kind by kind.
  void collect_records_since(const ListLengths& lengths, std::vector<FindingRecord>& records) const;

  // All findings since clear_findings, bug findings and style violations.
  std::int64_t findings_count() const { return previous_files_count_ + current_file_count_; }
  std::int64_t style_count() const { return style_count_; }
  std::int64_t count(FindingKind kind) const { return kind_counts_[kind.index()]; }
  const Findings& findings(FindingKind kind) const { return lists_[kind.index()]; }
  // Where the kind's file items start in its list: at its first finding
  // after each set_current_file (positions in findings(kind), rising).
  const std::vector<std::uint32_t>& file_item_starts(FindingKind kind) const { return file_runs_[kind.index()]; }
  const std::string& current_file() const { return current_file_.str(); }

  // ---- The "List Unchecked Style" setting -----------------------------------
  // The window owns the menu item and the settings store owns the value; this
  // list only keeps the state and says when it changed.

  // At window set-up: the stored value, if the store holds one, makes the
  // item available and sets the setting (non-zero means on).
  void install_list_unchecked_style(std::optional<std::int32_t> stored_value);
  // Takes over the state kept elsewhere (the job keeps it with the settings
  // store): call before a search so both agree. No listener call.
  void set_list_unchecked_style_state(bool available, bool on);
  // The user toggled the item: the setting flips and the item is available.
  void toggle_list_unchecked_style();
  bool list_unchecked_style() const { return list_unchecked_style_; }
  bool list_unchecked_style_available() const { return unchecked_style_available_; }
  // Called with the new value whenever note_style_command_seen or a toggle
  // changed the setting: the caller stores it and shows the item checked or
  // not (the job's own note_style_command_seen does both). It may be called
  // from the search thread, or while per-file results are applied.
  void set_unchecked_style_listener(std::function<void(bool)> listener);

 private:
  // `collapsed`: the detail passed through collapse_blanks already (a recorder's).
  void describe_last_finding(std::string_view detail, bool collapsed);
  struct KindState {
    TreeItem kind_item = no_tree_item;
    TreeItem current_file_item = no_tree_item;
  };

  // Steps shared by both kinds of report; `parent` is where a new kind item goes.
  // `reason` is collapsed already.
  void add_finding(FindingKind kind, std::int32_t line, std::int32_t column, std::string reason,
                   TreeItem kind_parent, TreePlacement kind_placement, bool show_position);
  void add_style_finding(StyleKind kind, std::int32_t line, std::int32_t column, std::string reason);
  // A finding kept or handed on: the counts go up. Its kind's count after it.
  std::int64_t count_finding(FindingKind kind);
  TreeItem insert(TreeItem parent, std::string_view text, const Finding* finding, TreePlacement placement);
  void set_text(TreeItem item, std::string_view text);
  // A finding's position row (its text `row`) under its file item, with the
  // source row below it when the finding has a source text.
  TreeItem insert_position_rows(TreeItem file_item, const Finding& finding, std::string_view row);
  // The stream takes what the lists hold, which they then forget.
  void hand_on_to_stream(std::string_view later_paths_bound);
  void enter_file(SharedPath file);
  // Whether a finding of `kind` is dropped here: NO_STYLE_CHECKS unless
  // unchecked files are listed, and the kinds the current file does not report.
  bool dropped(FindingKind kind) const noexcept {
    return !reported_here_[static_cast<std::size_t>(kind.index())] ||
           (kind.is_style() && kind.style_kind() == StyleKind::NO_STYLE_CHECKS && !list_unchecked_style_);
  }

  std::array<Findings, FindingKind::count> lists_;
  // Where in each list a new file item starts: at a kind's first finding
  // after each set_current_file. Kept with or without a view, so that
  // show_in_view can make the same items.
  std::uint64_t file_epoch_ = 1;  // one more at each file entered
  std::array<std::uint64_t, FindingKind::count> kind_file_epoch_{};
  std::array<std::vector<std::uint32_t>, FindingKind::count> file_runs_;
  void forget_file_runs();
  std::size_t held_count_ = 0;  // findings the lists hold, of every kind
  FindingNotes notes_;
  int last_reported_kind_ = -1;  // the kind index of the finding stored last; -1 after a dropped one
  std::array<std::int64_t, FindingKind::count> kind_counts_{};
  std::array<KindState, FindingKind::count> kind_items_{};
  bool file_items_shown_ = false;  // some kind has a current file item
  TreeItem last_position_item_ = no_tree_item;  // the position row of the finding stored last
  SharedPath current_file_;
  std::int64_t current_file_count_ = 0;
  std::int64_t previous_files_count_ = 0;
  std::int64_t style_count_ = 0;
  TreeItem style_violations_item_ = no_tree_item;
  FindingsView* view_ = nullptr;
  FindingsStream* stream_ = nullptr;
  FindingsListener* listener_ = nullptr;
  std::vector<FindingRecord> listener_records_;  // reused for each result told
  void tell_listener(const ListLengths& before);
  std::vector<FindingRecord> stream_records_;  // reused for each result handed on
  std::deque<SharedPath> stream_files_;         // their files; a deque, as records point into it

  const ReportedKinds* reported_kinds_ = nullptr;
  ReportedKinds::Mask reported_here_;  // the current file's kinds
  bool list_unchecked_style_ = false;
  bool style_details_kept_ = true;
  bool unchecked_style_available_ = false;
  std::function<void(bool)> unchecked_style_listener_;
};

// The text of a position item: "Line 12 at position 5", or "At line 40" when
// the column is not known.
std::string position_text(std::int32_t line, std::int32_t column);

// The text of a kind's item, and of "Style Violations": the text and the
// count without its leading blank, "Null Pointer (3)".
std::string counted_text(std::string_view text, std::int64_t count);

}  // namespace flawseek
