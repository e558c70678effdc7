// The controls a job is shown in: check items of the Options and Style menus,
// radio items of the "Default Rule Book" and "Ada Version" submenus, the
// "Look in:" field and the optional "Reference Path:" field. The window implements this; the command
// line uses the headless implementation; tests fake it.
#pragma once

#include <string>
#include <string_view>

#include "driver/option.h"
#include "frontend/ada_version.h"
#include "style/style_kind.h"

namespace flawseek {

// Called on the thread that owns the controls, except the two text reads,
// which the search makes once when it starts.
class JobControls {
 public:
  virtual ~JobControls() = default;

  // Check items. The job creates each item once (options and kinds 0..6 while
  // loading, RELAXED_STYLES and kinds 7..18 when extended style mode begins)
  // and sets every mark itself: a toggle reads the mark and flips it, so the
  // window must not flip marks on its own. A mark may be set before its item
  // is created (the job keeps marks and values in step from the start); the
  // item then shows the last mark set.
  virtual void create_option_item(Option option) = 0;
  virtual bool option_mark(Option option) const = 0;
  virtual void set_option_mark(Option option, bool checked) = 0;

  virtual void create_style_kind_item(StyleKind kind) = 0;
  virtual bool style_kind_mark(StyleKind kind) const = 0;
  virtual void set_style_kind_mark(StyleKind kind, bool checked) = 0;
  // A greyed item shows its mark but cannot be toggled.
  virtual void enable_style_kind_item(StyleKind kind, bool enabled) = 0;

  // The "List Unchecked Style" item of the Options menu, created once it is available.
  virtual void create_list_unchecked_style_item() = 0;
  virtual bool list_unchecked_style_mark() const = 0;
  virtual void set_list_unchecked_style_mark(bool checked) = 0;

  // The "Default Rule Book" submenu: one radio item per style set, made at once.
  virtual void create_style_set_items() = 0;
  virtual void set_style_set_mark(StyleSet set, bool marked) = 0;

  // The "Ada Version" submenu of the Options menu: one radio item per
  // language level, made at once while loading.
  virtual void create_ada_version_items() = 0;
  virtual void set_ada_version_mark(AdaVersion version, bool marked) = 0;

  // The "Look in:" field always exists.
  virtual std::string search_root_text() const = 0;
  virtual void set_search_root_text(std::string_view text) = 0;

  // The "Reference Path:" field exists only from extended style mode on;
  // showing or hiding it (with its label) lays the page out again.
  virtual void create_reference_path_field(std::string_view text, bool visible) = 0;
  virtual std::string reference_path_text() const = 0;
  virtual void set_reference_path_text(std::string_view text) = 0;
  virtual void show_reference_path_field(bool visible) = 0;
};

}  // namespace flawseek
