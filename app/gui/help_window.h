// The help window of Help > "Help": a window of its own beside the main one,
// never modal, so the window stays usable while it is open.
#pragma once

#include <QPointer>
#include <QTextBrowser>

#include "gui/gui.h"

namespace flawseek {

inline constexpr std::string_view help_item_text = "&Help";

class HelpWindow {
 public:
  explicit HelpWindow(gui::Gui& gui) : gui_(gui) {}
  // On the GUI thread, before the main window goes.
  ~HelpWindow();
  HelpWindow(const HelpWindow&) = delete;
  HelpWindow& operator=(const HelpWindow&) = delete;

  // Shows the help (made at the first call) above the main window. From any
  // thread; it only queues the showing to the GUI thread and returns.
  void show();

  // The window once shown (GUI thread), for tests.
  QTextBrowser* widget() const { return browser_; }

 private:
  gui::Gui& gui_;
  QPointer<QTextBrowser> browser_;
};

}  // namespace flawseek
