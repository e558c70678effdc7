// flawseek-gui: the desktop window. Start-up runs on the main thread, which then
// runs the event loop (Qt's GUI thread must be the main one).
//
//   flawseek-gui [DIR]                the window, DIR in "Look in:"
//   flawseek-gui --search [DIR]       the same, searching at once
//   flawseek-gui --screenshot FILE    search, save a picture of the window as
//                                     FILE (PNG), close
//   flawseek-gui --help | --version
#include <QApplication>
#include <QMainWindow>
#include <QPixmap>
#include <QTextBrowser>
#include <QTreeView>

#include <chrono>
#include <iostream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "control.h"
#include "findings_workbench.h"
#include "gui_arguments.h"
#include "platform/environment.h"
#include "platform/log.h"
#include "platform/memory_reuse.h"
#include "platform/settings_store.h"

namespace {

// Selects a finding of the table (the first null-pointer one, else the
// first) and waits until the detail pane shows its source lines.
void select_in_table(flawseek::Control& control) {
  using namespace std::chrono_literals;
  flawseek::gui::Gui& gui = control.gui();
  flawseek::FindingsWorkbench& bench = control.workbench();
  const auto expected = static_cast<std::size_t>(control.findings().findings_count());
  for (std::size_t shown = 0; shown != expected; std::this_thread::sleep_for(20ms)) {
    gui.call_on_gui([&] { shown = bench.model().total_count(); });
  }
  gui.call_on_gui([&] {
    flawseek::FindingsTableModel& model = bench.model();
    int chosen = 0;
    for (int row = 0; row < model.rowCount(); ++row) {
      if (model.data(model.index(row, flawseek::FindingsTableModel::KindColumn), Qt::DisplayRole) == "Null Pointer") {
        chosen = row;
        break;
      }
    }
    bench.table().setFocus();
    bench.table().setCurrentIndex(model.index(chosen, 0));
  });
  for (int tries = 0; tries < 100; ++tries) {
    bool previewed = false;
    gui.call_on_gui([&] { previewed = bench.detail().toPlainText().contains(" > "); });
    if (previewed) break;
    std::this_thread::sleep_for(20ms);
  }
}

// Presses "Search" as a user would, waits until the view shows everything,
// opens the first findings (or selects one in the table) and saves the
// window's picture.
void take_screenshot(flawseek::Control& control, const std::string& file) {
  using namespace std::chrono_literals;
  flawseek::gui::Gui& gui = control.gui();
  control.gui().call_on_gui([&] { control.toggle_search(); });
  std::this_thread::sleep_for(100ms);
  control.search().wait_until_idle();
  while (gui.tree_pending(control.tree_control()) != 0) std::this_thread::sleep_for(20ms);
  if (gui.control_visible(control.table_control())) select_in_table(control);
  std::this_thread::sleep_for(200ms);
  gui.call_on_gui([&] {
    // Each kind opened down to its first finding's source row.
    auto* view = static_cast<QTreeView*>(gui.widget(control.tree_control()));
    const QAbstractItemModel* model = view->model();
    for (int i = 0; i < model->rowCount(); ++i) {
      for (QModelIndex item = model->index(i, 0); item.isValid(); item = model->index(0, 0, item)) view->expand(item);
    }
    auto* window = static_cast<QMainWindow*>(gui.main_window_widget());
    if (!window->grab().save(QString::fromStdString(file), "PNG")) std::cerr << "flawseek-gui: cannot write " << file << "\n";
  });
  gui.close();
}

// The answer of --help and --version: a write that fails must not pass for success.
int answer(const std::string& text) {
  std::cout << text << std::flush;
  if (std::cout) return 0;
  std::cerr << "flawseek-gui: cannot write to standard output\n";
  return 1;
}

// What a command line says without the window: the usage, the version, or
// why it cannot be followed. Nothing for a line the window then follows.
std::optional<int> answer_without_window(const flawseek::GuiArguments& arguments) {
  using Action = flawseek::GuiArguments::Action;
  if (arguments.action == Action::Help) return answer(flawseek::gui_usage_text());
  if (arguments.action == Action::Version) return answer(flawseek::gui_version_text());
  if (arguments.action != Action::Fail) return std::nullopt;
  std::cerr << "flawseek-gui: " << arguments.message << "\n";
  if (arguments.with_usage) std::cerr << "\n" << flawseek::gui_usage_text();
  return flawseek::gui_usage_status;
}

}  // namespace

int main(int argc, char** argv) {
  // --help, --version and a line that cannot be followed are answered before
  // Qt starts, so they need no display. A line with Qt's own options
  // (-platform offscreen) is judged once QApplication has taken them out.
  const std::string current_directory = flawseek::current_directory_text();
  const flawseek::GuiArguments early =
      flawseek::parse_gui_arguments(std::vector<std::string>(argv + 1, argv + argc), current_directory);
  if (!early.qt_option) {
    if (const std::optional<int> status = answer_without_window(early)) return *status;
  }
  flawseek::keep_freed_memory_for_reuse();
  QApplication application(argc, argv);
  QApplication::setApplicationName("Flawseek");
  QApplication::setDesktopFileName("flawseek");
  std::vector<std::string> remaining;
  const QStringList arguments = QApplication::arguments();
  for (qsizetype i = 1; i < arguments.size(); ++i) remaining.push_back(arguments[i].toStdString());
  const flawseek::GuiArguments parsed = flawseek::parse_gui_arguments(remaining, current_directory);
  if (const std::optional<int> status = answer_without_window(parsed)) return *status;
  const std::string& screenshot = parsed.screenshot;
  try {
    flawseek::set_idle_priority();
    // The log listens to this store until the process ends, so it lives as long.
    static flawseek::SettingsStore log_store(flawseek::settings_files_from_environment(), false);
    flawseek::Log& log = flawseek::process_log();
    log.initialize(log_store);
    flawseek::gui::Gui gui;
    flawseek::Control control(gui, log);
    control.start();
    flawseek::apply_gui_arguments(control, parsed);
    std::thread photographer;
    if (!screenshot.empty()) photographer = std::thread([&] { take_screenshot(control, screenshot); });
    const int status = gui.run();
    if (photographer.joinable()) photographer.join();
    return status;
  } catch (const std::exception& error) {
    std::cerr << "flawseek-gui: " << error.what() << "\n";
    return 1;
  }
}
