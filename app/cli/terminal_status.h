// The search's status line on a terminal: progress overwrites one line of
// standard error (only when it is a terminal), and the last text is kept so
// the program can print the final result once the search is over.
#pragma once

#include <chrono>
#include <cstddef>
#include <mutex>
#include <ostream>
#include <string>
#include <string_view>

#include "driver/search_controls.h"

namespace flawseek {

class TerminalStatus final : public SearchControls {
 public:
  // `show_progress`: overwrite a progress line on `out` (a terminal), at most
  // once per `redraw_interval` (a terminal cannot keep up with a line per
  // file); `show_notes`: print the walk's notes (unreadable directories).
  TerminalStatus(std::ostream& out, bool show_progress, bool show_notes,
                 std::chrono::milliseconds redraw_interval = std::chrono::milliseconds(50));

  void show_status(std::string_view text) override;
  // A command line has no button, menus or "Save As..." item.
  void set_button_caption(std::string_view caption) override { (void)caption; }
  void enable_button(bool enabled) override { (void)enabled; }
  void enable_menus(bool enabled) override { (void)enabled; }
  void enable_save_as(bool enabled) override { (void)enabled; }
  void show_note(std::string_view note) override;

  // Blanks the progress line, so the next output starts on a clean line.
  void clear_progress();
  std::string last_status() const;

 private:
  void clear_progress_locked();

  std::ostream& out_;
  const bool show_progress_;
  const bool show_notes_;
  const std::chrono::milliseconds redraw_interval_;
  std::chrono::steady_clock::time_point last_drawn_{};
  mutable std::mutex mutex_;
  std::string last_status_;
  std::size_t shown_width_ = 0;  // characters of the progress line on screen
};

}  // namespace flawseek
