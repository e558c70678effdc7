// flawseek-gui: the desktop window. Start-up runs on the main thread, which then
// runs the event loop (Qt's GUI thread must be the main one).
//
//   flawseek-gui                      the window
//   flawseek-gui --screenshot FILE    search the stored root, save a picture of
//                                     the window as FILE (PNG), close
#include <QApplication>
#include <QMainWindow>
#include <QPixmap>
#include <QTextBrowser>
#include <QTreeView>

#include <chrono>
#include <iostream>
#include <string>
#include <thread>

#include "control.h"
#include "findings_workbench.h"
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

}  // namespace

int main(int argc, char** argv) {
  flawseek::keep_freed_memory_for_reuse();
  QApplication application(argc, argv);
  QApplication::setApplicationName("Flawseek");
  QApplication::setDesktopFileName("flawseek");
  std::string screenshot;
  const QStringList arguments = QApplication::arguments();
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    if (arguments[i] == "--screenshot" && i + 1 < arguments.size()) {
      screenshot = arguments[++i].toStdString();
    } else {
      std::cerr << "Usage: flawseek-gui [--screenshot FILE]\n";
      return 2;
    }
  }
  try {
    flawseek::set_idle_priority();
    // The log listens to this store until the process ends, so it lives as long.
    static flawseek::SettingsStore log_store(flawseek::settings_files_from_environment(), false);
    flawseek::Log& log = flawseek::process_log();
    log.initialize(log_store);
    flawseek::gui::Gui gui;
    flawseek::Control control(gui, log);
    control.start();
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
