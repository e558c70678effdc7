// Menu items and boxes of the job, kept in step with the headless state.
#include "window_controls.h"

#include "driver/job.h"
#include "findings/rule_descriptor.h"
#include "platform/label.h"

namespace flawseek {

namespace {
constexpr std::size_t at(Option option) { return static_cast<std::size_t>(option); }
constexpr std::size_t at(StyleKind kind) { return static_cast<std::size_t>(kind); }
constexpr std::size_t at(StyleSet set) { return static_cast<std::size_t>(set); }
constexpr std::size_t at(AdaVersion version) { return static_cast<std::size_t>(version); }
bool exists(gui::MenuItem item) { return item.id != 0; }
}  // namespace

WindowJobControls::WindowJobControls(gui::Gui& gui, gui::Page page, gui::Menu options, gui::Menu style)
    : gui_(gui), page_(page), options_(options), style_(style) {}

void WindowJobControls::create_option_item(Option option) {
  HeadlessJobControls::create_option_item(option);
  if (exists(option_items_[at(option)])) return;
  option_items_[at(option)] = gui_.add_item(
      options_, label(image(option)),
      [this](int number) {
        if (job_ != nullptr) job_->toggle_option(static_cast<Option>(number));
      },
      static_cast<int>(option));
  gui_.check_item(option_items_[at(option)], option_mark(option));
}

void WindowJobControls::set_option_mark(Option option, bool checked) {
  HeadlessJobControls::set_option_mark(option, checked);
  if (exists(option_items_[at(option)])) gui_.check_item(option_items_[at(option)], checked);
}

void WindowJobControls::create_style_kind_item(StyleKind kind) {
  HeadlessJobControls::create_style_kind_item(kind);
  if (at(kind) >= kind_items_.size() || exists(kind_items_[at(kind)])) return;
  kind_items_[at(kind)] = gui_.add_item(
      style_, rule_descriptor(kind).label(),
      [this](int number) {
        if (job_ != nullptr) job_->toggle_style_kind(static_cast<StyleKind>(number));
      },
      static_cast<int>(kind));
  gui_.check_item(kind_items_[at(kind)], style_kind_mark(kind));
  gui_.enable_item(kind_items_[at(kind)], style_kind_item_enabled(kind));
}

void WindowJobControls::set_style_kind_mark(StyleKind kind, bool checked) {
  HeadlessJobControls::set_style_kind_mark(kind, checked);
  if (at(kind) < kind_items_.size() && exists(kind_items_[at(kind)])) gui_.check_item(kind_items_[at(kind)], checked);
}

void WindowJobControls::enable_style_kind_item(StyleKind kind, bool enabled) {
  HeadlessJobControls::enable_style_kind_item(kind, enabled);
  if (at(kind) < kind_items_.size() && exists(kind_items_[at(kind)])) gui_.enable_item(kind_items_[at(kind)], enabled);
}

void WindowJobControls::create_list_unchecked_style_item() {
  HeadlessJobControls::create_list_unchecked_style_item();
  if (exists(unchecked_item_)) return;
  unchecked_item_ = gui_.add_item(
      options_, "List Unchecked Style",
      [this](int) {
        if (unchecked_style_toggle_) unchecked_style_toggle_();
      },
      0);
  gui_.check_item(unchecked_item_, list_unchecked_style_mark());
}

void WindowJobControls::set_list_unchecked_style_mark(bool checked) {
  HeadlessJobControls::set_list_unchecked_style_mark(checked);
  if (exists(unchecked_item_)) gui_.check_item(unchecked_item_, checked);
}

void WindowJobControls::create_style_set_items() {
  HeadlessJobControls::create_style_set_items();
  if (exists(set_items_[0])) return;
  const gui::Menu book = gui_.create_submenu(style_, "Default Rule Book");
  for (int number = 0; number < style_set_count; ++number) {
    const auto set = static_cast<StyleSet>(number);
    set_items_[at(set)] = gui_.add_item(
        book, label(image(set)),
        [this](int chosen) {
          if (job_ != nullptr) job_->select_style_set(static_cast<StyleSet>(chosen));
        },
        number);
    gui_.check_item(set_items_[at(set)], style_set_marked(set));
  }
}

void WindowJobControls::set_style_set_mark(StyleSet set, bool marked) {
  HeadlessJobControls::set_style_set_mark(set, marked);
  if (exists(set_items_[at(set)])) gui_.check_item(set_items_[at(set)], marked);
}

// Radio items like the rule book's: the job moves the mark, and a choice is
// saved on the action thread like any toggle.
void WindowJobControls::create_ada_version_items() {
  HeadlessJobControls::create_ada_version_items();
  if (exists(version_items_[0])) return;
  const gui::Menu levels = gui_.create_submenu(options_, "Ada Version");
  for (int number = 0; number < ada_version_count; ++number) {
    const auto version = static_cast<AdaVersion>(number);
    version_items_[at(version)] = gui_.add_item(
        levels, ada_version_name(version),
        [this](int chosen) {
          if (job_ != nullptr) job_->select_ada_version(static_cast<AdaVersion>(chosen));
        },
        number);
    gui_.check_item(version_items_[at(version)], ada_version_marked(version));
  }
}

void WindowJobControls::set_ada_version_mark(AdaVersion version, bool marked) {
  HeadlessJobControls::set_ada_version_mark(version, marked);
  if (exists(version_items_[at(version)])) gui_.check_item(version_items_[at(version)], marked);
}

// The boxes hold what the user typed: the texts are read from the window.
std::string WindowJobControls::search_root_text() const {
  return search_root_box_.id != 0 ? gui_.control_text(search_root_box_) : HeadlessJobControls::search_root_text();
}

void WindowJobControls::set_search_root_text(std::string_view text) {
  HeadlessJobControls::set_search_root_text(text);
  if (search_root_box_.id != 0) gui_.set_control_text(search_root_box_, text);
}

void WindowJobControls::create_reference_path_field(std::string_view text, bool visible) {
  HeadlessJobControls::create_reference_path_field(text, visible);
  if (reference_path_box_.id != 0) return;
  reference_path_box_ = gui_.add_edit_box(page_, "Reference Path:", text);
  gui_.show_control(reference_path_box_, visible);
}

std::string WindowJobControls::reference_path_text() const {
  return reference_path_box_.id != 0 ? gui_.control_text(reference_path_box_)
                                     : HeadlessJobControls::reference_path_text();
}

void WindowJobControls::set_reference_path_text(std::string_view text) {
  HeadlessJobControls::set_reference_path_text(text);
  if (reference_path_box_.id != 0) gui_.set_control_text(reference_path_box_, text);
}

void WindowJobControls::show_reference_path_field(bool visible) {
  HeadlessJobControls::show_reference_path_field(visible);
  if (reference_path_box_.id != 0) gui_.show_control(reference_path_box_, visible);
}

}  // namespace flawseek
