// The window's keys, each running on the action-handler thread like the
// button or menu item it stands for.
#include "window_keys.h"

#include "control.h"

namespace flawseek {

void search_unless_running(Control& control) {
  // A stopped search still winding down has a greyed "Search" button: a key
  // must not start the next one under it either.
  gui::Gui& gui = control.gui();
  if (control.search().running() || !gui.control_enabled(control.search_button())) return;
  control.toggle_search();
}

void install_window_keys(Control& control) {
  gui::Gui& gui = control.gui();
  const gui::Control look_in = control.job_controls().search_root_box();
  gui.set_return_action(look_in, [&control] { search_unless_running(control); });
  gui.add_shortcut("F5", [&control] { search_unless_running(control); });
  gui.add_shortcut("Esc", [&control] { control.search().stop_search(); });
  gui.set_tab_order({look_in, control.search_button(), control.tree_control(), control.table_control()});
  gui.set_focus(look_in);
}

}  // namespace flawseek
