// The command line of flawseek-gui: what it asks for (a root, a search at
// once, a picture of the window, the usage or the version), its texts, and
// what it does to the window once that is built.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace flawseek {

class Control;

// The exit status of a command line the program cannot follow.
inline constexpr int gui_usage_status = 2;

struct GuiArguments {
  enum class Action { Run, Help, Version, Fail };
  Action action = Action::Run;
  // The "Look in:" root of this start, absolute (taken from the current
  // directory when given relative, so the saved root means the same place
  // wherever the window is started next).
  std::optional<std::string> root;
  bool search = false;
  std::string screenshot;  // empty: none
  // Fail: what is wrong, and whether the usage goes with it (a wrong
  // argument; a root that does not exist needs none).
  std::string message;
  bool with_usage = false;
  // Fail on an option of Qt's own (-platform, -style): QApplication takes
  // it out of the line, after which the line is parsed again.
  bool qt_option = false;
};

// `arguments` without the program's name. --help and --version answer
// whatever follows them; the root must name something "Look in:" can search.
GuiArguments parse_gui_arguments(const std::vector<std::string>& arguments, std::string_view current_directory);

std::string gui_usage_text();
// "flawseek-gui 0.1.0" and the copyright, as the command line's --version.
std::string gui_version_text();

// Applies the root and the search to a started window. The root takes the
// place of the stored one in "Look in:" and, like a root the user typed
// there, is saved with the job when a search starts (a user expects
// `flawseek-gui DIR` to be remembered); a start that never searches leaves
// the stored root as it was. --search then searches as the "Search" button.
void apply_gui_arguments(Control& control, const GuiArguments& arguments);

}  // namespace flawseek
