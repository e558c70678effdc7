// The window framework on Qt Widgets: the main window, menus, pages, controls,
// the batched tree view, and the action- and termination-handler threads.
#include "gui/gui.h"

#include <QAbstractTableModel>
#include <QAction>
#include <QApplication>
#include <QBrush>
#include <QCheckBox>
#include <QColor>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QThread>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace flawseek::gui {

namespace {

constexpr int first_menu_item_id = 1000;
constexpr int status_line_id = 50;
constexpr int tab_control_id = 51;

QString to_q(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }
std::string from_q(const QString& text) { return text.toUtf8().toStdString(); }

// The main window: a close request goes to the termination handler instead of
// closing, and every move or resize is recorded for the metrics.
class MainWindow final : public QMainWindow {
 public:
  std::function<void()> on_close_request;
  std::function<void()> on_geometry_change;
  bool may_close = false;

 protected:
  void closeEvent(QCloseEvent* event) override {
    if (may_close) {
      event->accept();
      return;
    }
    event->ignore();
    if (on_close_request) on_close_request();
  }
  void moveEvent(QMoveEvent* event) override {
    QMainWindow::moveEvent(event);
    if (on_geometry_change) on_geometry_change();
  }
  void resizeEvent(QResizeEvent* event) override {
    QMainWindow::resizeEvent(event);
    if (on_geometry_change) on_geometry_change();
  }
  void changeEvent(QEvent* event) override {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && on_geometry_change) on_geometry_change();
  }
};

// Actions run here one at a time, in arrival order, so a long one (a search
// start, a report) never blocks the window.
class ActionHandler {
 public:
  explicit ActionHandler(std::function<void(const std::exception_ptr&)> on_error)
      : on_error_(std::move(on_error)), thread_([this] { run(); }) {}
  ~ActionHandler() { stop(); }

  void post(Action action) {
    {
      std::lock_guard lock(mutex_);
      if (stopping_) return;
      queue_.push_back(std::move(action));
    }
    ready_.notify_one();
  }
  // Lets the action in progress finish, drops the rest, ends the thread.
  void stop() {
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
      queue_.clear();
    }
    ready_.notify_one();
    if (thread_.joinable()) thread_.join();
  }

 private:
  void run() {
    for (;;) {
      Action action;
      {
        std::unique_lock lock(mutex_);
        ready_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
        if (stopping_) return;
        action = std::move(queue_.front());
        queue_.pop_front();
      }
      try {
        action();
      } catch (...) {
        on_error_(std::current_exception());
      }
    }
  }

  std::function<void(const std::exception_ptr&)> on_error_;
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<Action> queue_;
  bool stopping_ = false;
  std::thread thread_;
};

// One change of a tree, in the order it was asked for.
struct TreeOp {
  enum class What : std::uint8_t { Insert, SetText, Clear } what;
  TreeNode item = root_item;    // Clear: the first handle of the new generation
  TreeNode parent = root_item;
  int index = 0;
  std::string text;
};

struct TreeState {
  QTreeWidget* widget = nullptr;
  IntegerAction double_click;

  // The tree as the callers see it, kept at once (any thread).
  struct Node {
    TreeNode parent = root_item;
    std::string text;
    std::vector<TreeNode> children;
  };
  mutable std::mutex mutex;
  TreeNode base = 1;  // handle of nodes[0]
  std::vector<Node> nodes;
  std::vector<TreeNode> top;
  std::vector<TreeOp> pending;
  bool flush_scheduled = false;

  // The tree as the widget shows it (GUI thread only).
  std::deque<TreeOp> backlog;
  TreeNode shown_base = 1;
  std::vector<QTreeWidgetItem*> shown;

  Node* node(TreeNode item) {
    if (item < base || item - base >= nodes.size()) return nullptr;
    return &nodes[item - base];
  }
};

// A list view's items: it keeps only their number and asks its callbacks for
// texts and colours as it paints (GUI thread only).
class ListModel final : public QAbstractTableModel {
 public:
  ListModel(std::vector<ListColumn> columns, CellText text, ItemColouring colours)
      : columns_(std::move(columns)), text_(std::move(text)), colours_(std::move(colours)) {}

  int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : count_; }
  int columnCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid() || index.row() >= count_) return {};
    // A callback that fails paints an empty cell: a message box from inside
    // a paint would only ask to paint again.
    try {
      if (role == Qt::DisplayRole) {
        if (!text_) return {};
        return to_q(text_(index.row(), index.column() + 1));
      }
      if ((role == Qt::ForegroundRole || role == Qt::BackgroundRole) && colours_) {
        const ItemColours colours = colours_(index.row());
        const int rgb = role == Qt::ForegroundRole ? colours.text : colours.background;
        if (rgb != no_colour) return QBrush(QColor::fromRgb(static_cast<QRgb>(rgb) | 0xFF000000u));
      }
    } catch (...) {
    }
    return {};
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= static_cast<int>(columns_.size()))
      return {};
    return to_q(columns_[static_cast<std::size_t>(section)].title);
  }

  void set_count(int count) {
    beginResetModel();
    count_ = std::max(0, count);
    endResetModel();
  }
  int count() const { return count_; }
  void refresh() {
    if (count_ > 0) Q_EMIT dataChanged(index(0, 0), index(count_ - 1, columnCount({}) - 1));
  }

 private:
  std::vector<ListColumn> columns_;
  CellText text_;
  ItemColouring colours_;
  int count_ = 0;
};

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

}  // namespace

struct Gui::State {
  QObject bridge;  // lives on the GUI thread; target of queued calls
  MainWindow* window = nullptr;
  QTabWidget* tabs = nullptr;
  std::string title;
  std::atomic<bool> ended{false};
  Action close_handler;

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

  // Ends the action-handler and termination-handler threads (once the event
  // loop is over, or when the window goes without one); calling it again does
  // nothing more.
  void stop_threads() {
    ended = true;
    actions->stop();
    {
      std::lock_guard lock(close_mutex);
      close_quit = true;
    }
    close_requested_signal.notify_all();
    if (termination.joinable()) termination.join();
  }

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

std::string_view type_name(ControlKind kind) {
  static constexpr std::array<std::string_view, control_kind_count> names = {
      "Gui.Child",           "Gui.Button",      "Gui.Check_Box",       "Gui.Edit_Box",
      "Gui.Plain_Edit_Box",  "Gui.Checked_Edit_Box", "Gui.Combo_Box", "Gui.Plain_Combo_Box",
      "Gui.Checked_Combo_Box", "Gui.List_View", "Gui.Tree_View",       "Gui.Rich_Edit",
      "Gui.Track_Bar",       "Gui.Progress_Bar"};
  return names[static_cast<std::size_t>(kind)];
}

Gui::Gui() : state_(std::make_unique<State>()) {
  State* state = state_.get();
  state->actions = std::make_unique<ActionHandler>([this](const std::exception_ptr& error) {
    // An action that fails says so in a message box; the handler lives on.
    try {
      std::rethrow_exception(error);
    } catch (const std::exception& e) {
      show_message(e.what(), MessageKind::Error);
    } catch (...) {
      show_message("Unknown Exception", MessageKind::Error);
    }
  });
}

Gui::~Gui() {
  state_->stop_threads();
  delete state_->window;
}

bool Gui::call_on_gui(const std::function<void()>& work) const {
  State* state = state_.get();
  if (QThread::currentThread() == state->bridge.thread()) {
    work();
    return true;
  }
  if (state->ended) return false;
  struct Call {
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    bool abandoned = false;
    std::exception_ptr error;
  };
  auto call = std::make_shared<Call>();
  const std::function<void()>* job = &work;
  QMetaObject::invokeMethod(
      &state->bridge,
      [call, job] {
        std::unique_lock lock(call->mutex);
        if (call->abandoned) return;
        try {
          (*job)();
        } catch (...) {
          call->error = std::current_exception();
        }
        call->done = true;
        call->finished.notify_all();
      },
      Qt::QueuedConnection);
  std::unique_lock lock(call->mutex);
  while (!call->done) {
    // The loop may end while we wait (the window closed): then give up.
    if (call->finished.wait_for(lock, std::chrono::milliseconds(50)) == std::cv_status::timeout && state->ended) {
      call->abandoned = true;
      return false;
    }
  }
  if (call->error) std::rethrow_exception(call->error);
  return true;
}

// ---- Main window -------------------------------------------------------------

void Gui::create_main_window(std::string_view title, std::string_view icon_name, WindowGeometry geometry,
                             bool top_most, Action close_handler) {
  State* state = state_.get();
  bool twice = false;
  call_on_gui([&] {
    if (state->window != nullptr) {
      twice = true;
      return;
    }
    auto* window = new MainWindow;
    state->window = window;
    state->title.assign(title);
    state->close_handler = std::move(close_handler);
    window->setWindowTitle(to_q(title));
    if (!icon_name.empty()) window->setWindowIcon(QIcon::fromTheme(to_q(icon_name)));
    if (top_most) window->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    auto* status = new QStatusBar(window);
    status->setObjectName(QString("status_line_%1").arg(status_line_id));
    status->setSizeGripEnabled(true);
    window->setStatusBar(status);
    state->tabs = new QTabWidget(window);
    state->tabs->setObjectName(QString("tab_control_%1").arg(tab_control_id));
    window->setCentralWidget(state->tabs);
    window->menuBar();  // the (empty) menu bar exists from the start

    const int width = geometry.width > 0 ? geometry.width : 500;
    const int height = geometry.height > 0 ? geometry.height : 300;
    window->resize(width, height);
    if (geometry.x != use_default && geometry.y != use_default) window->move(geometry.x, geometry.y);

    window->on_geometry_change = [state] {
      MainWindow* w = state->window;
      const bool special = (w->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)) != 0;
      std::lock_guard lock(state->geometry_mutex);
      state->minimised_or_maximised = special;
      if (!special) {
        const QRect frame = w->frameGeometry();
        state->geometry = WindowGeometry{frame.x(), frame.y(), frame.width(), frame.height()};
      }
    };
    window->on_close_request = [state] {
      {
        std::lock_guard lock(state->close_mutex);
        if (state->close_requested) return;  // already closing
        state->close_requested = true;
      }
      state->close_requested_signal.notify_all();
    };
    window->show();
    // The platform's frame is known only now: the stored size is the outer one.
    const QRect frame = window->frameGeometry();
    const int extra_width = frame.width() - window->width();
    const int extra_height = frame.height() - window->height();
    if (extra_width > 0 || extra_height > 0)
      window->resize(std::max(1, width - extra_width), std::max(1, height - extra_height));
    window->on_geometry_change();
  });
  if (twice) throw SequenceError();

  // The close sequence: the handler runs here, off the GUI thread, so it may
  // wait for a search to wind down while the window keeps painting.
  state->termination = std::thread([this, state] {
    {
      std::unique_lock lock(state->close_mutex);
      state->close_requested_signal.wait(lock, [state] { return state->close_requested || state->close_quit; });
      if (state->close_quit) return;
    }
    try {
      if (state->close_handler) state->close_handler();
    } catch (...) {
      // The window closes whatever the handler met.
    }
    QMetaObject::invokeMethod(
        &state->bridge,
        [state] {
          state->window->may_close = true;
          state->window->close();
          QApplication::quit();
        },
        Qt::QueuedConnection);
  });
}

bool Gui::has_main_window() const {
  bool exists = false;
  call_on_gui([&] { exists = state_->window != nullptr; });
  return exists;
}

std::string Gui::title() const { return state_->title; }

WindowGeometry Gui::recorded_geometry() const {
  std::lock_guard lock(state_->geometry_mutex);
  return state_->geometry;
}

bool Gui::minimised_or_maximised() const {
  std::lock_guard lock(state_->geometry_mutex);
  return state_->minimised_or_maximised;
}

void Gui::close() {
  State* state = state_.get();
  if (state->ended) return;
  QMetaObject::invokeMethod(
      &state->bridge, [state] { if (state->window != nullptr) state->window->close(); }, Qt::QueuedConnection);
}

int Gui::run() {
  const int status = state_->window == nullptr ? 0 : QApplication::exec();
  state_->stop_threads();
  return status;
}

void Gui::show_message(std::string_view text, MessageKind kind) {
  State* state = state_.get();
  call_on_gui([&] {
    if (state->window == nullptr) return;
    QMessageBox box(kind == MessageKind::Error     ? QMessageBox::Critical
                    : kind == MessageKind::Warning ? QMessageBox::Warning
                                                   : QMessageBox::Information,
                    to_q(state->title), to_q(text), QMessageBox::Ok, state->window);
    box.exec();
  });
}

void Gui::set_status_text(std::string_view text) {
  State* state = state_.get();
  if (state->ended) return;
  // The search reports progress per file: only the latest text matters, so
  // one queued update at a time shows it (a flood of updates would keep the
  // event loop from answering).
  bool schedule = false;
  {
    std::lock_guard lock(state->status_mutex);
    state->status_wanted.assign(text);
    schedule = !state->status_scheduled;
    state->status_scheduled = true;
  }
  if (!schedule) return;
  QMetaObject::invokeMethod(
      &state->bridge,
      [state] {
        std::string shown;
        {
          std::lock_guard lock(state->status_mutex);
          shown = state->status_wanted;
          state->status_scheduled = false;
        }
        if (state->window != nullptr) state->window->statusBar()->showMessage(to_q(shown));
      },
      QThread::currentThread() == state->bridge.thread() ? Qt::DirectConnection : Qt::QueuedConnection);
}

std::string Gui::status_text() const {
  std::string text;
  call_on_gui([&] {
    if (state_->window != nullptr) text = from_q(state_->window->statusBar()->currentMessage());
  });
  return text;
}

// ---- Menus ---------------------------------------------------------------------

Menu Gui::create_menu(std::string_view title) {
  Menu menu;
  call_on_gui([&] {
    if (state_->window == nullptr) return;
    QMenu* created = state_->window->menuBar()->addMenu(to_q(title));
    menu.index = static_cast<int>(state_->menus.size());
    state_->menus.push_back(created);
    state_->top_menus.push_back(menu.index);
  });
  return menu;
}

Menu Gui::create_submenu(Menu parent, std::string_view title) {
  Menu menu;
  call_on_gui([&] {
    if (parent.index < 0) return;
    QMenu* created = state_->menus.at(static_cast<std::size_t>(parent.index))->addMenu(to_q(title));
    menu.index = static_cast<int>(state_->menus.size());
    state_->menus.push_back(created);
  });
  return menu;
}

MenuItem Gui::add_item(Menu menu, std::string_view text, IntegerAction action, int argument) {
  MenuItem item;
  State* state = state_.get();
  call_on_gui([&] {
    if (menu.index < 0) return;
    QAction* created = state->menus.at(static_cast<std::size_t>(menu.index))->addAction(to_q(text));
    item.id = first_menu_item_id + static_cast<int>(state->items.size());
    state->items.push_back(ItemState{created, false});
    const std::size_t slot = state->items.size() - 1;
    QObject::connect(created, &QAction::triggered, created, [state, slot, action, argument] {
      // Marks are the owner's business: a checkable item must not flip by itself.
      ItemState& it = state->items[slot];
      if (it.action->isCheckable()) it.action->setChecked(it.checked);
      if (action) state->actions->post([action, argument] { action(argument); });
    });
  });
  return item;
}

void Gui::add_separator(Menu menu) {
  call_on_gui([&] {
    if (menu.index >= 0) state_->menus.at(static_cast<std::size_t>(menu.index))->addSeparator();
  });
}

void Gui::enable_item(MenuItem item, bool enabled) {
  call_on_gui([&] {
    const std::size_t slot = static_cast<std::size_t>(item.id - first_menu_item_id);
    if (slot < state_->items.size()) state_->items[slot].action->setEnabled(enabled);
  });
}

void Gui::check_item(MenuItem item, bool checked) {
  call_on_gui([&] {
    const std::size_t slot = static_cast<std::size_t>(item.id - first_menu_item_id);
    if (slot >= state_->items.size()) return;
    ItemState& it = state_->items[slot];
    it.checked = checked;
    it.action->setCheckable(true);
    it.action->setChecked(checked);
  });
}

bool Gui::item_checked(MenuItem item) const {
  bool checked = false;
  call_on_gui([&] {
    const std::size_t slot = static_cast<std::size_t>(item.id - first_menu_item_id);
    if (slot < state_->items.size()) checked = state_->items[slot].checked;
  });
  return checked;
}

bool Gui::item_enabled(MenuItem item) const {
  bool enabled = false;
  call_on_gui([&] {
    const std::size_t slot = static_cast<std::size_t>(item.id - first_menu_item_id);
    if (slot < state_->items.size()) enabled = state_->items[slot].action->isEnabled();
  });
  return enabled;
}

void Gui::trigger_item(MenuItem item) {
  call_on_gui([&] {
    const std::size_t slot = static_cast<std::size_t>(item.id - first_menu_item_id);
    if (slot >= state_->items.size()) return;
    QAction* action = state_->items[slot].action;
    if (action->isEnabled()) action->trigger();
  });
}

void Gui::enable_menus(bool enabled) {
  call_on_gui([&] {
    for (int index : state_->top_menus) state_->menus[static_cast<std::size_t>(index)]->menuAction()->setEnabled(enabled);
  });
}

// ---- Pages and controls --------------------------------------------------------------

Page Gui::create_page(std::string_view name, int style, int value) {
  Page page;
  call_on_gui([&] {
    if (state_->tabs == nullptr) return;
    PageState& created = state_->pages.emplace_back();
    created.name.assign(name);
    created.style = style;
    created.value = value;
    // A fixed arrangement: buttons in a row, labelled boxes below, then the
    // views taking the rest; Qt recomputes it on every resize.
    created.widget = new QWidget;
    auto* column = new QVBoxLayout(created.widget);
    created.buttons = new QHBoxLayout;
    created.boxes = new QGridLayout;
    created.boxes->setColumnStretch(1, 1);
    created.views = new QVBoxLayout;
    column->addLayout(created.buttons);
    column->addLayout(created.boxes);
    column->addLayout(created.views, 1);
    created.buttons->addStretch(1);
    state_->tabs->addTab(created.widget, to_q(name));
    page.index = static_cast<int>(state_->pages.size()) - 1;
  });
  return page;
}

namespace {

Control add_control(std::deque<PageState>& pages, Page page, ControlKind kind, QWidget* widget, QLabel* label) {
  PageState& state = pages.at(static_cast<std::size_t>(page.index));
  // Ids from 1000 on belong to menu items.
  if (state.next_id >= first_menu_item_id) throw GuiError("Gui: too many controls on page " + state.name);
  ControlState& control = state.controls.emplace_back();
  control.kind = kind;
  control.id = state.next_id++;
  control.widget = widget;
  control.label = label;
  ++state.visible[static_cast<std::size_t>(kind)];
  return Control{page.index, control.id};
}

}  // namespace

Control Gui::add_button(Page page, std::string_view text, Action action, int width) {
  Control control;
  State* state = state_.get();
  call_on_gui([&] {
    PageState& p = state->pages.at(static_cast<std::size_t>(page.index));
    auto* button = new QPushButton(to_q(text));
    button->setMinimumWidth(width);
    p.buttons->insertWidget(p.buttons->count() - 1, button);
    control = add_control(state->pages, page, ControlKind::BUTTON, button, nullptr);
    if (action)
      QObject::connect(button, &QPushButton::clicked, button, [state, action] { state->actions->post(action); });
  });
  return control;
}

Control Gui::add_edit_box(Page page, std::string_view label, std::string_view text, Action action) {
  Control control;
  State* state = state_.get();
  call_on_gui([&] {
    PageState& p = state->pages.at(static_cast<std::size_t>(page.index));
    auto* caption = new QLabel(to_q(label));
    auto* box = new QLineEdit(to_q(text));
    caption->setBuddy(box);
    const int row = p.boxes->rowCount();
    p.boxes->addWidget(caption, row, 0);
    p.boxes->addWidget(box, row, 1);
    control = add_control(state->pages, page, ControlKind::EDIT_BOX, box, caption);
    if (action)
      QObject::connect(box, &QLineEdit::editingFinished, box, [state, action] { state->actions->post(action); });
  });
  return control;
}

Control Gui::add_check_box(Page page, std::string_view text, IntegerAction action, int argument) {
  Control control;
  State* state = state_.get();
  call_on_gui([&] {
    PageState& p = state->pages.at(static_cast<std::size_t>(page.index));
    auto* box = new QCheckBox(to_q(text));
    p.buttons->insertWidget(p.buttons->count() - 1, box);
    control = add_control(state->pages, page, ControlKind::CHECK_BOX, box, nullptr);
    if (action)
      QObject::connect(box, &QCheckBox::clicked, box,
                       [state, action, argument] { state->actions->post([action, argument] { action(argument); }); });
  });
  return control;
}

Control Gui::add_progress_bar(Page page, int maximum) {
  Control control;
  call_on_gui([&] {
    PageState& p = state_->pages.at(static_cast<std::size_t>(page.index));
    auto* bar = new QProgressBar;
    bar->setRange(0, maximum);
    p.views->addWidget(bar);
    control = add_control(state_->pages, page, ControlKind::PROGRESS_BAR, bar, nullptr);
  });
  return control;
}

Control Gui::add_tree_view(Page page, IntegerAction double_click) {
  Control control;
  State* state = state_.get();
  call_on_gui([&] {
    PageState& p = state->pages.at(static_cast<std::size_t>(page.index));
    auto* view = new QTreeWidget;
    view->setHeaderHidden(true);
    view->setColumnCount(1);
    view->setUniformRowHeights(true);  // keeps long trees cheap to lay out
    view->header()->setStretchLastSection(true);
    p.views->addWidget(view, 1);
    control = add_control(state->pages, page, ControlKind::TREE_VIEW, view, nullptr);
    ControlState& created = state->control(control);
    created.tree = std::make_unique<TreeState>();
    created.tree->widget = view;
    created.tree->double_click = std::move(double_click);
    TreeState* tree = created.tree.get();
    {
      std::lock_guard lock(state->trees_mutex);
      state->trees.push_back({{control.page, control.id}, tree});
    }
    QObject::connect(view, &QTreeWidget::itemDoubleClicked, view, [state, tree](QTreeWidgetItem* item, int) {
      if (item == nullptr || !tree->double_click) return;
      const int handle = item->data(0, Qt::UserRole).toInt();
      IntegerAction action = tree->double_click;
      state->actions->post([action, handle] { action(handle); });
    });
  });
  return control;
}

Control Gui::add_combo_box(Page page, std::string_view label, const std::vector<std::string>& items,
                           std::string_view text, IntegerAction action, int argument, bool editable) {
  Control control;
  State* state = state_.get();
  call_on_gui([&] {
    PageState& p = state->pages.at(static_cast<std::size_t>(page.index));
    auto* caption = new QLabel(to_q(label));
    auto* box = new QComboBox;
    box->setEditable(editable);
    // The program owns the items: Return does not add the typed text.
    box->setInsertPolicy(QComboBox::NoInsert);
    for (const std::string& item : items) box->addItem(to_q(item));
    const int found = box->findText(to_q(text));
    box->setCurrentIndex(found);
    if (editable) box->setEditText(to_q(text));
    caption->setBuddy(box);
    const int row = p.boxes->rowCount();
    p.boxes->addWidget(caption, row, 0);
    p.boxes->addWidget(box, row, 1);
    control = add_control(state->pages, page, editable ? ControlKind::COMBO_BOX : ControlKind::PLAIN_COMBO_BOX,
                          box, caption);
    if (!action) return;
    // A pick by the user (not the program's own selection), and an edit once
    // it is finished (Return, or the focus leaving): the two notifications a
    // combo box acts on. Qt reports the end of one edit more than once (Return
    // and the focus leaving afterwards), so an edit acts only when it left a
    // text other than the one the last action saw.
    auto acted_on = std::make_shared<QString>(box->currentText());
    const auto post = [state, action, argument] { state->actions->post([action, argument] { action(argument); }); };
    QObject::connect(box, &QComboBox::activated, box, [box, acted_on, post] {
      *acted_on = box->currentText();
      post();
    });
    if (editable)
      QObject::connect(box->lineEdit(), &QLineEdit::editingFinished, box, [box, acted_on, post] {
        if (box->currentText() == *acted_on) return;
        *acted_on = box->currentText();
        post();
      });
  });
  return control;
}

void Gui::combo_add_item(Control combo, std::string_view text) {
  call_on_gui([&] {
    if (auto* box = qobject_cast<QComboBox*>(state_->control(combo).widget)) {
      const QSignalBlocker quiet(box);
      const QString shown = box->currentText();
      box->addItem(to_q(text));
      // The first item of an empty editable box must not replace its text.
      if (box->isEditable()) box->setEditText(shown);
    }
  });
}

Control Gui::add_list_view(Page page, const std::vector<ListColumn>& columns, CellText text,
                           IntegerAction double_click, ColumnClick column_click, ItemColouring colours) {
  Control control;
  State* state = state_.get();
  call_on_gui([&] {
    PageState& p = state->pages.at(static_cast<std::size_t>(page.index));
    auto* view = new QTreeView;
    auto* model = new ListModel(columns, std::move(text), std::move(colours));
    model->setParent(view);
    view->setModel(model);
    // A list, not a tree: no branch marks, one row per item, whole rows chosen.
    view->setRootIsDecorated(false);
    view->setItemsExpandable(false);
    view->setUniformRowHeights(true);
    view->setAllColumnsShowFocus(true);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->header()->setStretchLastSection(false);
    view->header()->setSectionsClickable(true);
    for (std::size_t i = 0; i < columns.size(); ++i)
      if (columns[i].width > 0) view->setColumnWidth(static_cast<int>(i), columns[i].width);
    p.views->addWidget(view, 1);
    control = add_control(state->pages, page, ControlKind::LIST_VIEW, view, nullptr);
    state->control(control).list = model;
    if (double_click)
      QObject::connect(view, &QTreeView::doubleClicked, view, [state, double_click](const QModelIndex& index) {
        if (!index.isValid()) return;
        const int item = index.row();
        state->actions->post([double_click, item] { double_click(item); });
      });
    if (column_click)
      QObject::connect(view->header(), &QHeaderView::sectionClicked, view, [this, column_click](int section) {
        // The handler runs inside the event loop: what it throws is shown,
        // never let through Qt.
        try {
          column_click(section + 1);
        } catch (const std::exception& e) {
          show_message(e.what(), MessageKind::Error);
        } catch (...) {
          show_message("Unknown Exception", MessageKind::Error);
        }
      });
  });
  return control;
}

void Gui::list_set_item_count(Control list, int count) {
  call_on_gui([&] {
    if (ListModel* model = state_->control(list).list) model->set_count(count);
  });
}

int Gui::list_item_count(Control list) const {
  int count = 0;
  call_on_gui([&] {
    if (ListModel* model = state_->control(list).list) count = model->count();
  });
  return count;
}

void Gui::list_refresh(Control list) {
  call_on_gui([&] {
    if (ListModel* model = state_->control(list).list) model->refresh();
  });
}

Control Gui::add_rich_edit(Page page, std::string_view text, Action action) {
  Control control;
  State* state = state_.get();
  call_on_gui([&] {
    PageState& p = state->pages.at(static_cast<std::size_t>(page.index));
    auto* edit = new QTextEdit;
    edit->setAcceptRichText(false);
    edit->setPlainText(to_q(text));
    p.views->addWidget(edit, 1);
    control = add_control(state->pages, page, ControlKind::RICH_EDIT, edit, nullptr);
    if (action)
      QObject::connect(edit, &QTextEdit::textChanged, edit, [state, action] { state->actions->post(action); });
  });
  return control;
}

Control Gui::add_track_bar(Page page, int minimum, int maximum, IntegerAction action, int argument) {
  Control control;
  State* state = state_.get();
  call_on_gui([&] {
    PageState& p = state->pages.at(static_cast<std::size_t>(page.index));
    auto* slider = new QSlider(Qt::Horizontal);
    slider->setRange(std::min(minimum, maximum), std::max(minimum, maximum));
    slider->setTickPosition(QSlider::TicksBelow);
    p.views->addWidget(slider);
    control = add_control(state->pages, page, ControlKind::TRACK_BAR, slider, nullptr);
    if (action)
      QObject::connect(slider, &QSlider::valueChanged, slider, [state, action, argument](int) {
        state->actions->post([action, argument] { action(argument); });
      });
  });
  return control;
}

void Gui::enable_control(Control control, bool enabled) {
  call_on_gui([&] { state_->control(control).widget->setEnabled(enabled); });
}

void Gui::show_control(Control control, bool visible) {
  call_on_gui([&] {
    ControlState& c = state_->control(control);
    if (c.visible == visible) return;
    c.visible = visible;
    PageState& page = state_->pages.at(static_cast<std::size_t>(control.page));
    page.visible[static_cast<std::size_t>(c.kind)] += visible ? 1 : -1;
    c.widget->setVisible(visible);
    if (c.label != nullptr) c.label->setVisible(visible);
    page.widget->layout()->activate();
  });
}

bool Gui::control_visible(Control control) const {
  bool visible = false;
  call_on_gui([&] { visible = state_->control(control).visible; });
  return visible;
}

bool Gui::control_enabled(Control control) const {
  bool enabled = false;
  call_on_gui([&] { enabled = state_->control(control).widget->isEnabled(); });
  return enabled;
}

std::string Gui::control_text(Control control) const {
  std::string text;
  call_on_gui([&] {
    QWidget* widget = state_->control(control).widget;
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) text = from_q(edit->text());
    else if (auto* button = qobject_cast<QAbstractButton*>(widget)) text = from_q(button->text());
    else if (auto* combo = qobject_cast<QComboBox*>(widget)) text = from_q(combo->currentText());
    else if (auto* rich = qobject_cast<QTextEdit*>(widget)) text = from_q(rich->toPlainText());
  });
  return text;
}

void Gui::set_control_text(Control control, std::string_view text) {
  call_on_gui([&] {
    QWidget* widget = state_->control(control).widget;
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) edit->setText(to_q(text));
    else if (auto* button = qobject_cast<QAbstractButton*>(widget)) button->setText(to_q(text));
    else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
      // An editable box shows any text; a plain one can only select an item.
      if (combo->isEditable()) combo->setEditText(to_q(text));
      else combo->setCurrentIndex(combo->findText(to_q(text)));
    } else if (auto* rich = qobject_cast<QTextEdit*>(widget)) {
      // The program's own change is no user edit: no action.
      const QSignalBlocker quiet(rich);
      rich->setPlainText(to_q(text));
    }
  });
}

void Gui::set_progress(Control control, int value) {
  call_on_gui([&] {
    if (auto* bar = qobject_cast<QProgressBar*>(state_->control(control).widget)) bar->setValue(value);
  });
}

int Gui::control_value(Control control) const {
  int value = 0;
  call_on_gui([&] {
    QWidget* widget = state_->control(control).widget;
    if (auto* slider = qobject_cast<QSlider*>(widget)) value = slider->value();
    else if (auto* bar = qobject_cast<QProgressBar*>(widget)) value = bar->value();
    else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
      value = combo->currentIndex();
      // Edited into a text no item has, the box has no selection.
      if (value >= 0 && combo->isEditable() && combo->itemText(value) != combo->currentText()) value = -1;
    }
  });
  return value;
}

void Gui::set_control_value(Control control, int value) {
  call_on_gui([&] {
    QWidget* widget = state_->control(control).widget;
    const QSignalBlocker quiet(widget);
    if (auto* slider = qobject_cast<QSlider*>(widget)) slider->setValue(value);
    else if (auto* bar = qobject_cast<QProgressBar*>(widget)) bar->setValue(value);
    else if (auto* combo = qobject_cast<QComboBox*>(widget))
      combo->setCurrentIndex(value >= 0 && value < combo->count() ? value : -1);
  });
}

ControlKind Gui::control_kind(Control control) const {
  ControlKind kind = ControlKind::CHILD;
  call_on_gui([&] { kind = state_->control(control).kind; });
  return kind;
}

int Gui::visible_count(Page page, ControlKind kind) const {
  int count = 0;
  call_on_gui([&] { count = state_->pages.at(static_cast<std::size_t>(page.index)).visible[static_cast<std::size_t>(kind)]; });
  return count;
}

void* Gui::widget(Control control) const {
  void* result = nullptr;
  call_on_gui([&] { result = state_->control(control).widget; });
  return result;
}

int Gui::column_width(Control control, int column) const {
  int width = 0;
  call_on_gui([&] {
    auto* view = qobject_cast<QTreeView*>(state_->control(control).widget);
    if (view != nullptr && view->model() != nullptr && column >= 1 && column <= view->model()->columnCount())
      width = view->columnWidth(column - 1);
  });
  return width;
}

void Gui::set_column_width(Control control, int column, int width) {
  call_on_gui([&] {
    auto* view = qobject_cast<QTreeView*>(state_->control(control).widget);
    if (view != nullptr && view->model() != nullptr && column >= 1 && column <= view->model()->columnCount() &&
        width > 0)
      view->setColumnWidth(column - 1, width);
  });
}

void* Gui::main_window_widget() const { return state_->window; }

// ---- Tree view -----------------------------------------------------------------

namespace {

// Applies queued changes for a slice of time, then yields to the event loop and
// comes back for the rest.
void flush_tree(TreeState* tree) {
  {
    std::lock_guard lock(tree->mutex);
    tree->flush_scheduled = false;
    for (TreeOp& op : tree->pending) tree->backlog.push_back(std::move(op));
    tree->pending.clear();
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(30);
  QTreeWidget* view = tree->widget;
  view->setUpdatesEnabled(false);
  int done = 0;
  while (!tree->backlog.empty()) {
    TreeOp& op = tree->backlog.front();
    switch (op.what) {
      case TreeOp::What::Clear:
        view->clear();
        tree->shown.clear();
        tree->shown_base = op.item;
        break;
      case TreeOp::What::Insert: {
        auto* item = new QTreeWidgetItem(QStringList{to_q(op.text)});
        item->setData(0, Qt::UserRole, static_cast<int>(op.item));
        QTreeWidgetItem* parent = nullptr;
        if (op.parent != root_item && op.parent >= tree->shown_base &&
            op.parent - tree->shown_base < tree->shown.size())
          parent = tree->shown[op.parent - tree->shown_base];
        if (parent != nullptr) parent->insertChild(op.index, item);
        else view->insertTopLevelItem(op.index, item);
        tree->shown.push_back(item);
        break;
      }
      case TreeOp::What::SetText:
        if (op.item >= tree->shown_base && op.item - tree->shown_base < tree->shown.size())
          tree->shown[op.item - tree->shown_base]->setText(0, to_q(op.text));
        break;
    }
    tree->backlog.pop_front();
    if ((++done & 255) == 0 && std::chrono::steady_clock::now() > deadline) break;
  }
  view->setUpdatesEnabled(true);
  if (!tree->backlog.empty()) QTimer::singleShot(0, view, [tree] { flush_tree(tree); });
}

}  // namespace

static void queue_tree_op(QObject* bridge, TreeState* tree, TreeOp op) {
  bool schedule = false;
  {
    // Called with tree->mutex held by the caller.
    tree->pending.push_back(std::move(op));
    if (!tree->flush_scheduled) {
      tree->flush_scheduled = true;
      schedule = true;
    }
  }
  if (schedule) {
    // A short wait gathers the changes of many findings into one slice.
    QMetaObject::invokeMethod(
        bridge, [tree] { QTimer::singleShot(20, tree->widget, [tree] { flush_tree(tree); }); },
        Qt::QueuedConnection);
  }
}

TreeNode Gui::tree_insert(Control tree_control, TreeNode parent, std::string_view text, bool sorted, TextLess less) {
  TreeState* tree = state_->find_tree(tree_control);
  if (tree == nullptr) return root_item;
  std::lock_guard lock(tree->mutex);
  std::vector<TreeNode>* siblings = &tree->top;
  if (parent != root_item) {
    TreeState::Node* node = tree->node(parent);
    if (node == nullptr) return root_item;
    siblings = &node->children;
  }
  std::size_t index = siblings->size();
  if (sorted && less != nullptr) {
    index = 0;
    while (index < siblings->size() && !less(text, tree->node((*siblings)[index])->text)) ++index;
  }
  const TreeNode handle = tree->base + static_cast<TreeNode>(tree->nodes.size());
  siblings->insert(siblings->begin() + static_cast<std::ptrdiff_t>(index), handle);
  tree->nodes.push_back(TreeState::Node{parent, std::string(text), {}});
  queue_tree_op(&state_->bridge, tree, TreeOp{TreeOp::What::Insert, handle, parent, static_cast<int>(index), std::string(text)});
  return handle;
}

void Gui::tree_set_text(Control tree_control, TreeNode item, std::string_view text) {
  if (item == root_item) throw TreeItemIsRoot();
  TreeState* tree = state_->find_tree(tree_control);
  if (tree == nullptr) return;
  std::lock_guard lock(tree->mutex);
  TreeState::Node* node = tree->node(item);
  if (node == nullptr) return;
  node->text.assign(text);
  queue_tree_op(&state_->bridge, tree, TreeOp{TreeOp::What::SetText, item, root_item, 0, std::string(text)});
}

void Gui::tree_delete_all(Control tree_control) {
  TreeState* tree = state_->find_tree(tree_control);
  if (tree == nullptr) return;
  std::lock_guard lock(tree->mutex);
  tree->base += static_cast<TreeNode>(tree->nodes.size());
  tree->nodes.clear();
  tree->top.clear();
  queue_tree_op(&state_->bridge, tree, TreeOp{TreeOp::What::Clear, tree->base, root_item, 0, {}});
}

std::size_t Gui::tree_item_count(Control tree_control) const {
  std::size_t count = 0;
  call_on_gui([&] {
    if (TreeState* tree = state_->control(tree_control).tree.get()) count = tree->shown.size();
  });
  return count;
}

std::size_t Gui::tree_pending(Control tree_control) const {
  std::size_t count = 0;
  call_on_gui([&] {
    if (TreeState* tree = state_->control(tree_control).tree.get()) {
      std::lock_guard lock(tree->mutex);
      count = tree->pending.size() + tree->backlog.size();
    }
  });
  return count;
}

}  // namespace flawseek::gui
