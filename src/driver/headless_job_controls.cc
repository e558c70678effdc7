// Window-less job controls: state only.
#include "driver/headless_job_controls.h"

namespace flawseek {

namespace {
constexpr std::size_t at(Option option) { return static_cast<std::size_t>(option); }
// NO_STYLE_CHECKS has no item; it maps past the end and is ignored.
constexpr std::size_t at(StyleKind kind) { return static_cast<std::size_t>(kind); }
}  // namespace

void HeadlessJobControls::create_option_item(Option option) { options_[at(option)].exists = true; }
bool HeadlessJobControls::option_mark(Option option) const { return options_[at(option)].checked; }
void HeadlessJobControls::set_option_mark(Option option, bool checked) { options_[at(option)].checked = checked; }
bool HeadlessJobControls::has_option_item(Option option) const { return options_[at(option)].exists; }

void HeadlessJobControls::create_style_kind_item(StyleKind kind) {
  if (at(kind) < kinds_.size()) kinds_[at(kind)].exists = true;
}
bool HeadlessJobControls::style_kind_mark(StyleKind kind) const {
  return at(kind) < kinds_.size() && kinds_[at(kind)].checked;
}
void HeadlessJobControls::set_style_kind_mark(StyleKind kind, bool checked) {
  if (at(kind) < kinds_.size()) kinds_[at(kind)].checked = checked;
}
void HeadlessJobControls::enable_style_kind_item(StyleKind kind, bool enabled) {
  if (at(kind) < kinds_.size()) kinds_[at(kind)].enabled = enabled;
}
bool HeadlessJobControls::has_style_kind_item(StyleKind kind) const {
  return at(kind) < kinds_.size() && kinds_[at(kind)].exists;
}
bool HeadlessJobControls::style_kind_item_enabled(StyleKind kind) const {
  return at(kind) < kinds_.size() && kinds_[at(kind)].enabled;
}

void HeadlessJobControls::create_list_unchecked_style_item() { list_unchecked_style_item_ = true; }
bool HeadlessJobControls::list_unchecked_style_mark() const { return list_unchecked_style_mark_; }
void HeadlessJobControls::set_list_unchecked_style_mark(bool checked) { list_unchecked_style_mark_ = checked; }

void HeadlessJobControls::create_style_set_items() { style_set_items_ = true; }
void HeadlessJobControls::set_style_set_mark(StyleSet set, bool marked) {
  set_marks_[static_cast<std::size_t>(set)] = marked;
}
bool HeadlessJobControls::style_set_marked(StyleSet set) const {
  return set_marks_[static_cast<std::size_t>(set)];
}

void HeadlessJobControls::create_ada_version_items() { ada_version_items_ = true; }
void HeadlessJobControls::set_ada_version_mark(AdaVersion version, bool marked) {
  ada_version_marks_[static_cast<std::size_t>(version)] = marked;
}
bool HeadlessJobControls::ada_version_marked(AdaVersion version) const {
  return ada_version_marks_[static_cast<std::size_t>(version)];
}

std::string HeadlessJobControls::search_root_text() const { return search_root_; }
void HeadlessJobControls::set_search_root_text(std::string_view text) { search_root_ = text; }

void HeadlessJobControls::create_reference_path_field(std::string_view text, bool visible) {
  reference_path_field_ = true;
  reference_path_ = text;
  reference_path_visible_ = visible;
}
std::string HeadlessJobControls::reference_path_text() const { return reference_path_; }
void HeadlessJobControls::set_reference_path_text(std::string_view text) { reference_path_ = text; }
void HeadlessJobControls::show_reference_path_field(bool visible) { reference_path_visible_ = visible; }

}  // namespace flawseek
