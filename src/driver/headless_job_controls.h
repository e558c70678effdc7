// Controls without a window: they keep the marks, enabled states and texts a
// window would show, so a job behaves the same with no screen at all (the
// command line, tests). The control operations stay virtual, so a test fake
// can observe them.
#pragma once

#include <array>
#include <string>

#include "driver/job_controls.h"

namespace flawseek {

class HeadlessJobControls : public JobControls {
 public:
  void create_option_item(Option option) override;
  bool option_mark(Option option) const override;
  void set_option_mark(Option option, bool checked) override;

  void create_style_kind_item(StyleKind kind) override;
  bool style_kind_mark(StyleKind kind) const override;
  void set_style_kind_mark(StyleKind kind, bool checked) override;
  void enable_style_kind_item(StyleKind kind, bool enabled) override;

  void create_list_unchecked_style_item() override;
  bool list_unchecked_style_mark() const override;
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

  // What a window would show, for tests and for printing a job.
  bool has_option_item(Option option) const;
  bool has_style_kind_item(StyleKind kind) const;
  bool style_kind_item_enabled(StyleKind kind) const;
  bool has_list_unchecked_style_item() const { return list_unchecked_style_item_; }
  bool has_style_set_items() const { return style_set_items_; }
  bool style_set_marked(StyleSet set) const;
  bool has_ada_version_items() const { return ada_version_items_; }
  bool ada_version_marked(AdaVersion version) const;
  bool has_reference_path_field() const { return reference_path_field_; }
  bool reference_path_visible() const { return reference_path_visible_; }

 private:
  struct CheckItem {
    bool exists = false;
    bool checked = false;
    bool enabled = true;
  };
  std::array<CheckItem, option_count> options_{};
  std::array<CheckItem, selectable_style_kind_count> kinds_{};
  std::array<bool, style_set_count> set_marks_{};
  bool list_unchecked_style_item_ = false;
  bool list_unchecked_style_mark_ = false;
  bool style_set_items_ = false;
  std::array<bool, ada_version_count> ada_version_marks_{};
  bool ada_version_items_ = false;
  std::string search_root_;
  std::string reference_path_;
  bool reference_path_field_ = false;
  bool reference_path_visible_ = false;
};

}  // namespace flawseek
