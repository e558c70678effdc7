// Parsing flawseek-gui's command line, its usage and version texts, and the
// start-up steps they ask of the window.
#include "gui_arguments.h"

#include <filesystem>

#include "control.h"
#include "driver/source_search.h"
#include "platform/environment.h"
#include "window_keys.h"

namespace flawseek {

namespace {

std::string in_quotes(std::string_view text) {
  std::string quoted(1, '\'');
  quoted.append(text);
  quoted += '\'';
  return quoted;
}

GuiArguments failure(std::string message, bool with_usage, bool qt_option = false) {
  GuiArguments failed;
  failed.action = GuiArguments::Action::Fail;
  failed.message = std::move(message);
  failed.with_usage = with_usage;
  failed.qt_option = qt_option;
  return failed;
}

// The options QApplication takes for itself (its documented ones and X11's),
// written with one dash or two, a value after a blank or a '='.
bool is_qt_option(std::string_view argument) {
  static constexpr std::string_view names[] = {
      "platform", "platformpluginpath", "platformtheme", "plugin", "qmljsdebugger", "qwindowgeometry",
      "qwindowicon", "qwindowtitle", "reverse", "session", "style", "stylesheet", "widgetcount",
      "display", "geometry", "title", "name", "visual", "ncols", "cmap", "nograb", "dograb", "sync"};
  argument.remove_prefix(argument.starts_with("--") ? 2 : 1);
  argument = argument.substr(0, argument.find('='));
  for (std::string_view name : names)
    if (argument == name) return true;
  return false;
}

// The root as an absolute text: "src/*.adb" from /home/u becomes
// /home/u/src/*.adb; a final separator is dropped ("examples/").
std::string absolute_root(std::string_view text, std::string_view current_directory) {
  std::filesystem::path path(text);
  if (path.is_relative()) path = std::filesystem::path(current_directory) / path;
  std::string absolute = path.lexically_normal().string();
  while (absolute.size() > 1 && absolute.back() == '/') absolute.pop_back();
  return absolute;
}

}  // namespace

GuiArguments parse_gui_arguments(const std::vector<std::string>& arguments, std::string_view current_directory) {
  GuiArguments parsed;
  bool options_ended = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (!options_ended && argument == "--") {
      options_ended = true;
    } else if (!options_ended && (argument == "--help" || argument == "--version")) {
      GuiArguments answer;
      answer.action = argument == "--help" ? GuiArguments::Action::Help : GuiArguments::Action::Version;
      return answer;
    } else if (!options_ended && argument == "--search") {
      parsed.search = true;
    } else if (!options_ended && argument == "--screenshot") {
      if (i + 1 == arguments.size() || arguments[i + 1].empty()) return failure("--screenshot needs a FILE", true);
      parsed.screenshot = arguments[++i];
    } else if (!options_ended && argument.size() > 1 && argument.front() == '-') {
      return failure("unknown option " + in_quotes(argument), true, is_qt_option(argument));
    } else if (parsed.root) {
      return failure("one DIR only: " + in_quotes(*parsed.root) + " and " + in_quotes(argument), true);
    } else {
      parsed.root = argument;
    }
  }
  if (parsed.root) {
    // What "Look in:" could not search is said now, not after the window opens.
    if (!resolve_search_root(*parsed.root, current_directory))
      return failure(in_quotes(*parsed.root) + " does not exist: no directory to search", false);
    parsed.root = absolute_root(*parsed.root, current_directory);
  }
  return parsed;
}

std::string gui_usage_text() {
  return "Usage: flawseek-gui [OPTIONS] [DIR]\n"
         "\n"
         "The Flawseek window: static analysis of Ada source code. DIR is the\n"
         "\"Look in:\" root of this start (a directory, or a directory and a file\n"
         "pattern such as src/*.adb); it is saved with the job when a search\n"
         "starts, as a root typed in the window is. Without DIR the stored root\n"
         "is shown.\n"
         "\n"
         "  --search            search at once\n"
         "  --screenshot FILE   search, save a picture of the window as FILE (PNG)\n"
         "                      and close\n"
         "  --help              show this text and stop\n"
         "  --version           show the version and stop\n"
         "\n"
         "Qt's own options (such as -platform offscreen) are taken too.\n"
         "Keys: Enter in \"Look in:\" or F5 searches, Esc stops a search, Ctrl+S\n"
         "saves the findings, Ctrl+Q closes the window, F1 shows the help.\n";
}

std::string gui_version_text() {
  return "flawseek-gui " + std::string(product_version()) + "\n" + std::string(legal_copyright()) + "\n";
}

void apply_gui_arguments(Control& control, const GuiArguments& arguments) {
  if (arguments.root) control.job().set_search_root(*arguments.root);
  // A picture's start searches by itself.
  if (arguments.search && arguments.screenshot.empty())
    control.gui().post_action([&control] { search_unless_running(control); });
}

}  // namespace flawseek
