// The application window (Control.Start): the main window with its metrics,
// the "Display" page, the File, Options, Style and Help menus, wired to the
// job, the search run, the findings list and the output formats.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "driver/job.h"
#include "driver/search_run.h"
#include "editor_choice.h"
#include "findings/findings_list.h"
#include "findings_table_model.h"
#include "findings_tree.h"
#include "gui/gui.h"
#include "gui/metrics.h"
#include "help_window.h"
#include "platform/log.h"
#include "platform/settings_store.h"
#include "window_controls.h"

namespace flawseek {

inline constexpr std::string_view display_page_name = "Display";
inline constexpr std::string_view look_in_label = "Look in:";
// The view the findings show in, remembered under the application key.
inline constexpr std::string_view findings_view_value = "Findings View";
enum class FindingsViewChoice { Tree, Table };

class FindingsWorkbench;

class Control {
 public:
  // The QApplication must exist; call on the GUI thread.
  Control(gui::Gui& gui, Log& log);
  ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  // Builds the window in the order start-up needs (logs "Flawseek Started").
  void start();

  // The actions, also reachable from tests.
  void toggle_search();
  void save_as();
  void show_about();
  void open_finding(int item);
  // Opens a finding in the editor the settings name (on the action handler).
  void open_in_editor_of_settings(const std::optional<Finding>& finding);
  // Shows the findings in the tree or in the table, and remembers the choice.
  void choose_findings_view(FindingsViewChoice choice);

  // What tests inspect.
  gui::Gui& gui() { return gui_; }
  Job& job() { return *job_; }
  SearchRun& search() { return *search_; }
  FindingsList& findings() { return findings_; }
  WindowJobControls& job_controls() { return *job_controls_; }
  FindingsTree& tree() { return *tree_; }
  gui::Control search_button() const { return search_button_; }
  gui::Control tree_control() const { return tree_control_; }
  gui::Control table_control() const { return table_control_; }
  FindingsWorkbench& workbench() { return *workbench_; }
  gui::MenuItem tree_view_item() const { return tree_view_item_; }
  gui::MenuItem table_view_item() const { return table_view_item_; }
  gui::MenuItem save_as_item() const { return save_as_item_; }
  gui::Page display_page() const { return page_; }
  EditorChoice& editor_choice() { return *editor_choice_; }
  HelpWindow& help_window() { return *help_window_; }
  gui::MenuItem help_item() const { return help_item_; }
  // File, Options, Style and Help in the menu bar's order.
  const std::vector<gui::Menu>& menus() const { return menus_; }

  // What the Save As dialog answers: the name typed (empty when cancelled)
  // and the file type selected.
  struct SaveAnswer {
    std::string typed_name;
    std::string selected_filter;
  };
  // Stands in for the modal dialog (tests answer it); called on the thread
  // that runs save_as.
  void set_save_dialog(std::function<SaveAnswer()> dialog) { save_dialog_ = std::move(dialog); }

  // The About box's text.
  static std::string about_text();

 private:
  void close_handler();
  void show_findings_view(FindingsViewChoice choice);
  SaveAnswer ask_save_name();

  gui::Gui& gui_;
  Log& log_;
  SettingsStore store_;          // the job's (action and search threads)
  SettingsStore metrics_store_;  // the termination handler's
  SettingsStore editor_store_;   // the action handler's: the editor, the view chosen
  std::unique_ptr<gui::WindowMetrics> metrics_;
  FindingsList findings_;
  SharedFindings table_findings_;  // the table's copy, filled as the search commits
  FindingsWorkbench* workbench_ = nullptr;  // owned by the page
  bool tree_shown_ = true;                  // the list feeds the tree
  std::unique_ptr<FindingsTree> tree_;
  std::unique_ptr<WindowJobControls> job_controls_;
  std::unique_ptr<WindowSearchControls> search_controls_;
  std::unique_ptr<Job> job_;
  std::unique_ptr<SearchRun> search_;
  std::unique_ptr<EditorChoice> editor_choice_;
  std::unique_ptr<HelpWindow> help_window_;

  gui::Page page_;
  gui::Control search_button_;
  gui::Control tree_control_;
  gui::Control table_control_;
  gui::MenuItem tree_view_item_;
  gui::MenuItem table_view_item_;
  gui::MenuItem save_as_item_;
  gui::MenuItem help_item_;
  std::vector<gui::Menu> menus_;
  std::function<SaveAnswer()> save_dialog_;
};

}  // namespace flawseek
