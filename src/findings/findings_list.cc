// The findings lists, their counts and the tree that shows them.
#include "findings/findings_list.h"

#include <algorithm>
#include <utility>

#include "platform/label.h"
#include "platform/printable_text.h"
#include "platform/utf8_text.h"

namespace flawseek {

std::string counted_text(std::string_view text, std::int64_t count) {
  std::string result(text);
  result += " (";
  result += std::to_string(count);
  result += ')';
  return result;
}

std::string position_text(std::int32_t line, std::int32_t column) {
  if (column == no_column) return "At line" + number_image(line);
  return "Line" + number_image(line) + " at position" + number_image(column);
}

namespace {

// A syntax error's position row says what the parser expected, after the place.
std::string syntax_error_row_text(const Finding& finding, std::string_view detail) {
  std::string room;
  return position_text(finding.line, finding.column) + ": " + std::string(utf8_text(detail, room));
}


}  // namespace

FindingsList::FindingsList() : current_file_(unknown_file_text) { reported_here_.fill(true); }

void FindingsList::set_view(FindingsView* view) { view_ = view; }

void FindingsList::forget_file_runs() {
  for (std::vector<std::uint32_t>& runs : file_runs_) runs.clear();
  kind_file_epoch_.fill(0);
}

void FindingsList::show_in_view() {
  if (view_ == nullptr) return;
  view_->delete_all_items();
  kind_items_.fill(KindState{});
  style_violations_item_ = no_tree_item;
  last_position_item_ = no_tree_item;
  file_items_shown_ = false;
  if (style_count_ > 0) style_violations_item_ = insert(no_tree_item, style_violations_text, nullptr, TreePlacement::Sorted);
  for (int index = 0; index < FindingKind::count; ++index) {
    const Findings& list = lists_[static_cast<std::size_t>(index)];
    if (list.empty()) continue;
    const FindingKind kind = FindingKind::from_index(index);
    KindState& items = kind_items_[static_cast<std::size_t>(index)];
    items.kind_item = insert(kind.is_style() ? style_violations_item_ : no_tree_item, kind.label(), nullptr,
                             TreePlacement::Sorted);
    const std::vector<std::uint32_t>& runs = file_runs_[static_cast<std::size_t>(index)];
    const std::span<const FindingNotes::Detail> details = notes_.details(kind);
    std::size_t next_run = 0;
    std::size_t next_detail = 0;
    for (std::size_t position = 0; position < list.size(); ++position) {
      const Finding& finding = list[position];
      std::string_view detail;
      while (next_detail < details.size() && details[next_detail].position < position) ++next_detail;
      if (next_detail < details.size() && details[next_detail].position == position) detail = details[next_detail].text;
      if (next_run < runs.size() && runs[next_run] == position) {
        items.current_file_item = insert(items.kind_item, printable(finding.file.str()), &finding, TreePlacement::Last);
        ++next_run;
      }
      if (kind.is_style() && finding.line == 0) continue;
      const std::string row = kind == BugKind::SYNTAX_ERROR && !detail.empty() ? syntax_error_row_text(finding, detail)
                                                                              : position_text(finding.line, finding.column);
      insert_position_rows(items.current_file_item, finding, row);
    }
    set_text(items.kind_item, counted_text(kind.label(), kind_counts_[static_cast<std::size_t>(index)]));
    // A later finding of the file being read goes on under its item.
    if (kind_file_epoch_[static_cast<std::size_t>(index)] == file_epoch_) {
      file_items_shown_ = true;
    } else {
      items.current_file_item = no_tree_item;
    }
  }
  if (style_violations_item_ != no_tree_item) {
    set_text(style_violations_item_, counted_text(style_violations_text, style_count_));
  }
}

void FindingsList::clear_findings() {
  if (view_ != nullptr) view_->delete_all_items();
  if (listener_ != nullptr) listener_->findings_cleared();
  for (Findings& list : lists_) list.clear();
  forget_file_runs();
  held_count_ = 0;
  notes_.clear();
  last_reported_kind_ = -1;
  kind_counts_.fill(0);
  kind_items_.fill(KindState{});
  file_items_shown_ = false;
  current_file_ = SharedPath(unknown_file_text);
  current_file_count_ = 0;
  previous_files_count_ = 0;
  style_count_ = 0;
  style_violations_item_ = no_tree_item;
}

void FindingsList::set_current_file(std::string_view name) {
  // One text per file, shared by all its findings.
  enter_file(SharedPath(name));
}

void FindingsList::set_reported_kinds(const ReportedKinds* kinds) {
  reported_kinds_ = kinds != nullptr && kinds->narrows() ? kinds : nullptr;
  if (reported_kinds_ == nullptr) {
    reported_here_.fill(true);
  } else {
    reported_here_ = reported_kinds_->for_file(current_file_.str());
  }
}

void FindingsList::enter_file(SharedPath file) {
  // A result's steps may enter the file it is about more than once.
  const bool same_file = reported_kinds_ != nullptr && file.str() == current_file_.str();
  current_file_ = std::move(file);
  if (reported_kinds_ != nullptr && !same_file) reported_here_ = reported_kinds_->for_file(current_file_.str());
  previous_files_count_ += current_file_count_;
  current_file_count_ = 0;
  ++file_epoch_;
  // Without a tree no file item was ever made: a run of many files spares
  // the walk over every kind.
  if (file_items_shown_) {
    for (KindState& state : kind_items_) state.current_file_item = no_tree_item;
    file_items_shown_ = false;
  }
}

void FindingsList::note_current_file_without_tabs() {
  // Only before the file's first finding, which would keep the path as it was.
  if (current_file_count_ == 0 && !current_file_.known_without_tabs()) {
    current_file_ = SharedPath::without_tabs(current_file_.str());
  }
}

void FindingsList::report_bug(BugKind kind, std::int32_t line, std::int32_t column, std::string_view reason) {
  if (dropped(kind)) {
    last_reported_kind_ = -1;
    return;
  }
  add_finding(kind, line, column, collapse_blanks(reason), no_tree_item, TreePlacement::Sorted, true);
}

void FindingsList::report_style(StyleKind kind, std::int32_t line, std::int32_t column,
                                std::string_view reason) {
  if (dropped(kind)) {
    last_reported_kind_ = -1;
    return;
  }
  add_style_finding(kind, line, column, collapse_blanks(reason));
}

void FindingsList::add_style_finding(StyleKind kind, std::int32_t line, std::int32_t column, std::string reason) {
  if (style_count_ == 0 && view_ != nullptr && style_violations_item_ == no_tree_item)
    style_violations_item_ = insert(no_tree_item, style_violations_text, nullptr, TreePlacement::Sorted);
  // A style violation without a line stands for the whole file: its file item
  // is all there is to show.
  add_finding(kind, line, column, std::move(reason), style_violations_item_, TreePlacement::Sorted, line != 0);
  if (view_ != nullptr) set_text(style_violations_item_, counted_text(style_violations_text, style_count_));
}

void FindingsList::add_finding(FindingKind kind, std::int32_t line, std::int32_t column, std::string reason,
                               TreeItem kind_parent, TreePlacement kind_placement, bool show_position) {
  Findings& list = lists_[kind.index()];
  KindState& items = kind_items_[kind.index()];
  if (list.empty() && view_ != nullptr) items.kind_item = insert(kind_parent, kind.label(), nullptr, kind_placement);
  list.push_back(Finding{current_file_, line, column, std::move(reason)});
  ++held_count_;
  if (kind_file_epoch_[kind.index()] != file_epoch_) {
    kind_file_epoch_[kind.index()] = file_epoch_;
    file_runs_[kind.index()].push_back(static_cast<std::uint32_t>(list.size() - 1));
  }
  last_reported_kind_ = kind.index();
  const Finding& finding = list.back();

  if (items.current_file_item == no_tree_item && view_ != nullptr) {
    items.current_file_item = insert(items.kind_item, printable(current_file_.str()), &finding, TreePlacement::Last);
    file_items_shown_ = true;
  }
  last_position_item_ = no_tree_item;
  if (show_position && view_ != nullptr) {
    last_position_item_ = insert_position_rows(items.current_file_item, finding, position_text(line, column));
  }

  const std::int64_t count = count_finding(kind);
  // The count's text is built only for a tree that shows it.
  if (view_ != nullptr) set_text(items.kind_item, counted_text(kind.label(), count));
}

std::int64_t FindingsList::count_finding(FindingKind kind) {
  ++current_file_count_;
  if (kind.is_style()) ++style_count_;
  return ++kind_counts_[kind.index()];
}

void FindingsList::describe_last_finding(std::string_view detail) { describe_last_finding(detail, false); }

void FindingsList::describe_last_finding(std::string_view detail, bool collapsed) {
  if (last_reported_kind_ < 0) return;
  const FindingKind kind = FindingKind::from_index(last_reported_kind_);
  if (kind.is_style() && !style_details_kept_) return;
  const std::size_t position = lists_[kind.index()].size() - 1;
  if (collapsed) {
    notes_.set_collapsed_detail(kind, position, detail);
  } else {
    notes_.set_detail(kind, position, detail);
  }
  // What the parser expected is the whole point of a syntax error: the tree
  // shows it on the position row, after the place.
  if (kind == BugKind::SYNTAX_ERROR && last_position_item_ != no_tree_item && !detail.empty()) {
    set_text(last_position_item_, syntax_error_row_text(lists_[kind.index()].back(), detail));
  }
}

void FindingsList::report_suppressed_bug(BugKind kind, std::int32_t line, std::int32_t column,
                                         std::string_view reason) {
  if (dropped(kind)) return;
  notes_.add_suppressed(kind, Finding{current_file_, line, column, collapse_blanks(reason)});
}

TreeItem FindingsList::insert_position_rows(TreeItem file_item, const Finding& finding, std::string_view row) {
  const TreeItem position_item = insert(file_item, row, &finding, TreePlacement::Last);
  // The source line is Latin-1; the tree's texts are UTF-8.
  std::string room;
  if (!finding.reason.empty()) insert(position_item, utf8_text(finding.reason, room), nullptr, TreePlacement::Last);
  return position_item;
}

TreeItem FindingsList::insert(TreeItem parent, std::string_view text, const Finding* finding,
                              TreePlacement placement) {
  return view_ == nullptr ? no_tree_item : view_->insert_item(parent, text, finding, placement);
}

void FindingsList::set_text(TreeItem item, std::string_view text) {
  if (view_ != nullptr && item != no_tree_item) view_->set_item_text(item, text);
}

void FindingsList::collect_records(std::vector<FindingRecord>& records, bool include_suppressed) const {
  std::size_t held = include_suppressed ? notes_.suppressed().size() : 0;
  for (const Findings& list : lists_) held += list.size();
  records.reserve(records.size() + held);
  for (int index = 0; index < FindingKind::count; ++index) {
    const FindingKind kind = FindingKind::from_index(index);
    // Details in step with the findings they belong to, not looked up one by one.
    const std::span<const FindingNotes::Detail> details = notes_.details(kind);
    std::size_t position = 0;
    std::size_t next_detail = 0;
    for (const Finding& finding : lists_[index]) {
      std::string_view detail;
      if (next_detail < details.size() && details[next_detail].position == position) detail = details[next_detail++].text;
      records.push_back(FindingRecord::of(kind, finding, detail, false));
      ++position;
    }
  }
  if (include_suppressed) {
    for (const SuppressedFinding& suppressed : notes_.suppressed())
      records.push_back(FindingRecord::of(suppressed.kind, suppressed.finding, {}, true));
  }
}

void FindingsList::hand_on_to_stream(std::string_view later_paths_bound) {
  stream_records_.clear();
  collect_records(stream_records_, true);
  stream_->take_findings(*this, stream_records_, later_paths_bound);
  stream_records_.clear();
  for (Findings& list : lists_) list.clear();
  forget_file_runs();
  held_count_ = 0;
  notes_.clear();
  // Details count positions from the start of each list, which starts again.
  last_reported_kind_ = -1;
}

FindingsList::ListLengths FindingsList::list_lengths() const {
  ListLengths lengths{};
  for (std::size_t index = 0; index < lengths.size(); ++index) lengths[index] = lists_[index].size();
  return lengths;
}

void FindingsList::collect_records_since(const ListLengths& lengths, std::vector<FindingRecord>& records) const {
  for (int index = 0; index < FindingKind::count; ++index) {
    const FindingKind kind = FindingKind::from_index(index);
    const Findings& list = lists_[static_cast<std::size_t>(index)];
    const std::span<const FindingNotes::Detail> details = notes_.details(kind);
    auto detail = std::lower_bound(details.begin(), details.end(), lengths[static_cast<std::size_t>(index)],
                                   [](const FindingNotes::Detail& d, std::size_t at) { return d.position < at; });
    for (std::size_t position = lengths[static_cast<std::size_t>(index)]; position < list.size(); ++position) {
      std::string_view text;
      if (detail != details.end() && detail->position == position) text = (detail++)->text;
      records.push_back(FindingRecord::of(kind, list[position], text, false));
    }
  }
}

void FindingsList::tell_listener(const ListLengths& before) {
  listener_records_.clear();
  collect_records_since(before, listener_records_);
  if (!listener_records_.empty()) listener_->findings_added(listener_records_);
}

void FindingsList::apply(const FileFindings& recorded) {
  const ListLengths before = listener_ != nullptr ? list_lengths() : ListLengths{};
  for (const FileFindings::Step& step : recorded.steps()) {
    switch (step.what) {
      case FileFindings::StepKind::SetCurrentFile:
        set_current_file(step.file);
        break;
      case FileFindings::StepKind::StyleCommandSeen:
        note_style_command_seen();
        break;
      case FileFindings::StepKind::WithoutTabs:
        note_current_file_without_tabs();
        break;
      case FileFindings::StepKind::Detail:
        describe_last_finding(recorded.reason(step), true);  // the recorder collapsed it
        break;
      case FileFindings::StepKind::Suppressed:
        report_suppressed_bug(step.kind.bug_kind(), step.line, step.column, recorded.reason(step));
        break;
      case FileFindings::StepKind::Report:
        if (step.kind.is_style())
          report_style(step.kind.style_kind(), step.line, step.column, recorded.reason(step));
        else
          report_bug(step.kind.bug_kind(), step.line, step.column, recorded.reason(step));
        break;
    }
  }
  if (listener_ != nullptr) tell_listener(before);
  if (stream_ != nullptr) hand_on_to_stream({});
}

void FindingsList::apply_taking(const FileFindings& recorded, std::string_view later_paths_bound) {
  // With a stream and no tree the findings go on from where they lie in the
  // recorder: no list holds them, not even for a moment.
  const bool in_place = stream_ != nullptr && view_ == nullptr;
  const ListLengths before = listener_ != nullptr && !in_place ? list_lengths() : ListLengths{};
  if (in_place) {
    // Whatever was reported to the lists directly goes first, as it came first.
    if (held_count_ != 0 || !notes_.suppressed().empty()) hand_on_to_stream({});
    stream_records_.clear();
  }
  // In place, the records' file: the list's current file as it was when
  // each was recorded. It changes as the steps enter files, so each one is
  // kept until the stream has taken the records.
  const SharedPath* file = nullptr;
  const auto keep_current_file = [&] {
    if (in_place) file = &stream_files_.emplace_back(current_file_);
  };
  keep_current_file();
  const auto stream_record = [&](const FileFindings::Step& step, bool suppressed) {
    return FindingRecord{step.kind, file, step.line, step.column, recorded.reason(step), {}, suppressed};
  };
  // In place, the record a Detail step describes: the last finding kept, as
  // describe_last_finding has it.
  constexpr std::size_t no_record = ~std::size_t{0};
  std::size_t described = no_record;
  for (const FileFindings::Step& step : recorded.steps()) {
    switch (step.what) {
      case FileFindings::StepKind::SetCurrentFile:
        enter_file(step.file);
        keep_current_file();
        break;
      case FileFindings::StepKind::StyleCommandSeen:
        note_style_command_seen();
        break;
      case FileFindings::StepKind::WithoutTabs:
        // Mostly the recorder said so in the file's path already.
        if (!current_file_.known_without_tabs()) {
          note_current_file_without_tabs();
          keep_current_file();
        }
        break;
      case FileFindings::StepKind::Report:
        if (dropped(step.kind)) {
          last_reported_kind_ = -1;
          described = no_record;
        } else if (in_place) {
          described = stream_records_.size();
          stream_records_.push_back(stream_record(step, false));
          (void)count_finding(step.kind);
        } else if (step.kind.is_style()) {
          // The recorder collapsed the reason already.
          add_style_finding(step.kind.style_kind(), step.line, step.column, std::string(recorded.reason(step)));
        } else {
          add_finding(step.kind, step.line, step.column, std::string(recorded.reason(step)), no_tree_item,
                      TreePlacement::Sorted, true);
        }
        break;
      case FileFindings::StepKind::Detail:
        if (!in_place) {
          describe_last_finding(recorded.reason(step), true);  // the recorder collapsed it
        } else if (described != no_record && (style_details_kept_ || !stream_records_[described].kind.is_style())) {
          stream_records_[described].detail = recorded.reason(step);
        }
        break;
      case FileFindings::StepKind::Suppressed:
        if (in_place) {
          if (!dropped(step.kind)) stream_records_.push_back(stream_record(step, true));
        } else {
          report_suppressed_bug(step.kind.bug_kind(), step.line, step.column, recorded.reason(step));
        }
        break;
    }
  }
  if (listener_ != nullptr && !in_place) tell_listener(before);
  if (in_place) {
    stream_->take_findings(*this, stream_records_, later_paths_bound);
    stream_records_.clear();
    stream_files_.clear();
    last_reported_kind_ = -1;
  } else if (stream_ != nullptr) {
    hand_on_to_stream(later_paths_bound);
  }
}

void FindingsList::install_list_unchecked_style(std::optional<std::int32_t> stored_value) {
  if (!stored_value) return;
  unchecked_style_available_ = true;
  list_unchecked_style_ = *stored_value != 0;
}

void FindingsList::set_list_unchecked_style_state(bool available, bool on) {
  unchecked_style_available_ = available;
  list_unchecked_style_ = on;
}

void FindingsList::note_style_command_seen() {
  if (unchecked_style_available_) return;
  unchecked_style_available_ = true;
  list_unchecked_style_ = true;
  if (unchecked_style_listener_) unchecked_style_listener_(true);
}

void FindingsList::toggle_list_unchecked_style() {
  list_unchecked_style_ = !list_unchecked_style_;
  unchecked_style_available_ = true;
  if (unchecked_style_listener_) unchecked_style_listener_(list_unchecked_style_);
}

void FindingsList::set_unchecked_style_listener(std::function<void(bool)> listener) {
  unchecked_style_listener_ = std::move(listener);
}

}  // namespace flawseek
