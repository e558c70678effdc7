// The main window of the framework: its creation, title, geometry, close
// request, event loop, message boxes and status line.
#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QThread>

#include <algorithm>
#include <exception>
#include <memory>
#include <mutex>

#include "gui/gui_state.h"

namespace flawseek::gui {

namespace {

constexpr int status_line_id = 50;
constexpr int tab_control_id = 51;

}  // namespace

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
    // The search's count must outlive a menu's status tips and the
    // temporary messages dialogs leave: a permanent widget is never hidden
    // or cleared by them, and it takes the whole width.
    state->status_line = new QLabel(status);
    state->status_line->setObjectName("status_text");
    state->status_line->setTextFormat(Qt::PlainText);
    status->addPermanentWidget(state->status_line, 1);
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

  state->start_termination_handler();
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
        if (state->status_line != nullptr) state->status_line->setText(to_q(shown));
      },
      QThread::currentThread() == state->bridge.thread() ? Qt::DirectConnection : Qt::QueuedConnection);
}

std::string Gui::status_text() const {
  std::string text;
  call_on_gui([&] {
    if (state_->status_line != nullptr) text = from_q(state_->status_line->text());
  });
  return text;
}

void* Gui::main_window_widget() const { return state_->window; }

}  // namespace flawseek::gui
