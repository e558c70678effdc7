// The state behind a Gui, shared by the framework's files: the window, its
// menus, its pages and their controls, and the threads that serve them.
#pragma once

#include <QObject>
#include <QString>

#include <array>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "gui/action_handler.h"
#include "gui/gui.h"
#include "gui/main_window.h"
#include "gui/tree_state.h"

class QAction;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QMenu;
class QTabWidget;
class QVBoxLayout;
class QWidget;

namespace flawseek::gui {

// Ids from 1000 on belong to menu items.
inline constexpr int first_menu_item_id = 1000;

inline QString to_q(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }
inline std::string from_q(const QString& text) { return text.toUtf8().toStdString(); }

class ListModel;

struct ControlState {
  ControlKind kind = ControlKind::CHILD;
  int id = 0;
  QWidget* widget = nullptr;
  QLabel* label = nullptr;
  bool visible = true;
  std::unique_ptr<TreeState> tree;
  ListModel* list = nullptr;  // owned by the widget
};

struct PageState {
  std::string name;
  int style = 0;
  int value = 0;
  QWidget* widget = nullptr;
  QHBoxLayout* buttons = nullptr;
  QGridLayout* boxes = nullptr;
  QVBoxLayout* views = nullptr;
  std::array<int, control_kind_count> visible{};
  std::vector<ControlState> controls;
  int next_id = 1;
};

struct ItemState {
  QAction* action = nullptr;
  bool checked = false;
};

struct Gui::State {
  QObject bridge;  // lives on the GUI thread; target of queued calls
  MainWindow* window = nullptr;
  QTabWidget* tabs = nullptr;
  std::string title;
  std::atomic<bool> ended{false};
  Action close_handler;

  QLabel* status_line = nullptr;  // a permanent widget of the status bar
  std::mutex status_mutex;
  std::string status_wanted;
  bool status_scheduled = false;

  mutable std::mutex geometry_mutex;
  WindowGeometry geometry;
  bool minimised_or_maximised = false;

  std::vector<QMenu*> menus;
  std::vector<int> top_menus;
  std::deque<ItemState> items;  // items[id - 1000]
  std::deque<PageState> pages;

  std::unique_ptr<ActionHandler> actions;

  std::mutex close_mutex;
  std::condition_variable close_requested_signal;
  bool close_requested = false;
  bool close_quit = false;
  std::thread termination;

  // Starts the termination-handler thread, which runs the close handler when
  // the window is asked to close and then closes it.
  void start_termination_handler();
  // Ends the action-handler and termination-handler threads (once the event
  // loop is over, or when the window goes without one); calling it again does
  // nothing more.
  void stop_threads();

  // The trees by control, for the threads that feed them without a round trip.
  std::mutex trees_mutex;
  std::vector<std::pair<std::pair<int, int>, TreeState*>> trees;
  TreeState* find_tree(Control handle) {
    std::lock_guard lock(trees_mutex);
    for (auto& [key, tree] : trees)
      if (key.first == handle.page && key.second == handle.id) return tree;
    return nullptr;
  }

  ControlState& control(Control handle) {
    PageState& page = pages.at(static_cast<std::size_t>(handle.page));
    for (ControlState& control : page.controls)
      if (control.id == handle.id) return control;
    throw std::out_of_range("no such control");
  }
};

// Records a new control of the page, with the label shown beside it (if any);
// raises GuiError once the page has no ids left.
Control add_control(std::deque<PageState>& pages, Page page, ControlKind kind, QWidget* widget, QLabel* label);

}  // namespace flawseek::gui
