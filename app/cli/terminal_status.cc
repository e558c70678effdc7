// Progress on one overwritten terminal line; notes on lines of their own.
#include "terminal_status.h"

namespace flawseek {

TerminalStatus::TerminalStatus(std::ostream& out, bool show_progress, bool show_notes,
                               std::chrono::milliseconds redraw_interval)
    : out_(out), show_progress_(show_progress), show_notes_(show_notes), redraw_interval_(redraw_interval) {}

void TerminalStatus::show_status(std::string_view text) {
  std::lock_guard lock(mutex_);
  last_status_.assign(text);
  if (!show_progress_) return;
  const auto now = std::chrono::steady_clock::now();
  if (shown_width_ > 0 && now - last_drawn_ < redraw_interval_) return;
  last_drawn_ = now;
  out_ << '\r' << text;
  // Blanks over what a longer earlier text left behind.
  if (shown_width_ > text.size()) out_ << std::string(shown_width_ - text.size(), ' ') << '\r' << text;
  out_.flush();
  shown_width_ = text.size();
}

void TerminalStatus::show_note(std::string_view note) {
  std::lock_guard lock(mutex_);
  if (!show_notes_) return;
  clear_progress_locked();
  out_ << "flawseek: " << note << '\n';
  out_.flush();
}

void TerminalStatus::clear_progress() {
  std::lock_guard lock(mutex_);
  clear_progress_locked();
}

void TerminalStatus::clear_progress_locked() {
  if (shown_width_ == 0) return;
  out_ << '\r' << std::string(shown_width_, ' ') << '\r';
  out_.flush();
  shown_width_ = 0;
}

std::string TerminalStatus::last_status() const {
  std::lock_guard lock(mutex_);
  return last_status_;
}

}  // namespace flawseek
