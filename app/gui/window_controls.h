// The job's and the search's controls in the window: menu items of the Options
// and Style menus, the "Default Rule Book" and "Ada Version" submenus, the "Look in:" and
// "Reference Path:" boxes, the status line, the Search/Stop button, the menus
// and "Save As...".
#pragma once

#include <array>
#include <functional>
#include <mutex>
#include <vector>

#include "driver/headless_job_controls.h"
#include "driver/search_controls.h"
#include "gui/gui.h"

namespace flawseek {

class Job;

// Marks and states are kept by the headless base (a mark may be set before its
// item exists); the window shows them.
class WindowJobControls final : public HeadlessJobControls {
 public:
  // The menus and the page must exist; `job` is where the items' actions go.
  WindowJobControls(gui::Gui& gui, gui::Page page, gui::Menu options, gui::Menu style);
  void set_job(Job& job) { job_ = &job; }
  // Runs after the "Reference Path:" box was shown or hidden.
  void set_unchecked_style_toggle(std::function<void()> toggle) { unchecked_style_toggle_ = std::move(toggle); }
  void set_search_root_box(gui::Control box) { search_root_box_ = box; }

  void create_option_item(Option option) override;
  void set_option_mark(Option option, bool checked) override;
  void create_style_kind_item(StyleKind kind) override;
  void set_style_kind_mark(StyleKind kind, bool checked) override;
  void enable_style_kind_item(StyleKind kind, bool enabled) override;
  void create_list_unchecked_style_item() override;
  void set_list_unchecked_style_mark(bool checked) override;
  void create_style_set_items() override;
  void set_style_set_mark(StyleSet set, bool marked) override;
  void create_ada_version_items() override;
  void set_ada_version_mark(AdaVersion version, bool marked) override;
  std::string search_root_text() const override;
  void set_search_root_text(std::string_view text) override;
  void create_reference_path_field(std::string_view text, bool visible) override;
  std::string reference_path_text() const override;
  void set_reference_path_text(std::string_view text) override;
  void show_reference_path_field(bool visible) override;

  // For tests and the window's own use: the items as made (id 0 when absent).
  gui::MenuItem option_item(Option option) const { return option_items_[static_cast<std::size_t>(option)]; }
  gui::MenuItem style_kind_item(StyleKind kind) const { return kind_items_[static_cast<std::size_t>(kind)]; }
  gui::MenuItem style_set_item(StyleSet set) const { return set_items_[static_cast<std::size_t>(set)]; }
  gui::MenuItem ada_version_item(AdaVersion version) const {
    return version_items_[static_cast<std::size_t>(version)];
  }
  gui::MenuItem list_unchecked_style_item() const { return unchecked_item_; }
  gui::Control reference_path_box() const { return reference_path_box_; }
  gui::Control search_root_box() const { return search_root_box_; }

 private:
  gui::Gui& gui_;
  gui::Page page_;
  gui::Menu options_;
  gui::Menu style_;
  Job* job_ = nullptr;
  std::function<void()> unchecked_style_toggle_;
  std::array<gui::MenuItem, option_count> option_items_{};
  std::array<gui::MenuItem, selectable_style_kind_count> kind_items_{};
  std::array<gui::MenuItem, style_set_count> set_items_{};
  std::array<gui::MenuItem, ada_version_count> version_items_{};
  gui::MenuItem unchecked_item_{};
  gui::Control search_root_box_{};
  gui::Control reference_path_box_{};
};

class WindowSearchControls final : public SearchControls {
 public:
  // `job_menus` are greyed while a search runs: the menus that change the
  // job or the findings, and the view (which is made again from the
  // findings). The rest (File's Close, Help) stays usable, and
  // "Save As..." is greyed on its own.
  WindowSearchControls(gui::Gui& gui, gui::Control button, gui::MenuItem save_as, std::vector<gui::Menu> job_menus)
      : gui_(gui), button_(button), save_as_(save_as), job_menus_(std::move(job_menus)) {}

  void show_status(std::string_view text) override { gui_.set_status_text(text); }
  void set_button_caption(std::string_view caption) override { gui_.set_control_text(button_, caption); }
  void enable_button(bool enabled) override { gui_.enable_control(button_, enabled); }
  void enable_menus(bool enabled) override {
    for (const gui::Menu menu : job_menus_) gui_.enable_menu(menu, enabled);
  }
  void enable_save_as(bool enabled) override { gui_.enable_item(save_as_, enabled); }

 private:
  gui::Gui& gui_;
  gui::Control button_;
  gui::MenuItem save_as_;
  std::vector<gui::Menu> job_menus_;
};

}  // namespace flawseek
