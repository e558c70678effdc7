// What a search shows while it runs: the status line, the Search/Stop button,
// the top-level menus and the "Save As..." item. The window implements it,
// the command line prints it, tests record it. Calls come from the search
// thread (and from the thread that starts or stops a search).
#pragma once

#include <string_view>

namespace flawseek {

inline constexpr std::string_view search_caption = "Search";
inline constexpr std::string_view stop_caption = "Stop";

class SearchControls {
 public:
  virtual ~SearchControls() = default;

  virtual void show_status(std::string_view text) = 0;
  virtual void set_button_caption(std::string_view caption) = 0;
  virtual void enable_button(bool enabled) = 0;
  // All top-level menus at once: greyed while a search runs.
  virtual void enable_menus(bool enabled) = 0;
  virtual void enable_save_as(bool enabled) = 0;
  // Something the search passed over that the user may want to know about
  // (an unreadable directory, the rest of a file after a line too long to
  // analyse); the window shows nothing, the command line prints it.
  virtual void show_note(std::string_view note) { (void)note; }
};

}  // namespace flawseek
