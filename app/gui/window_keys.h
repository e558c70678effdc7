// The window's keyboard: Enter in "Look in:" and F5 search, Esc stops a
// search, and Tab goes from "Look in:" to "Search" to the findings.
#pragma once

namespace flawseek {

class Control;

// What Enter in "Look in:", F5 and --search do: press "Search" when it is
// there to press, that is when no search runs or winds down (then nothing).
// On the action-handler thread, as the button's own action.
void search_unless_running(Control& control);

// Installs the keys and the Tab order, and puts the focus in "Look in:".
void install_window_keys(Control& control);

}  // namespace flawseek
