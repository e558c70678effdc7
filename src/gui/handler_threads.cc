// The framework's threads: the action handler, the termination handler that runs
// the close sequence, and calls handed to the GUI thread.
#include <QApplication>
#include <QThread>

#include <chrono>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>

#include "gui/gui_state.h"

namespace flawseek::gui {

void ActionHandler::post(Action action) {
  {
    std::lock_guard lock(mutex_);
    if (stopping_) return;
    queue_.push_back(std::move(action));
  }
  ready_.notify_one();
}

void ActionHandler::stop() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    queue_.clear();
  }
  ready_.notify_one();
  if (thread_.joinable()) thread_.join();
}

void ActionHandler::run() {
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

void Gui::post_action(Action action) {
  if (action) state_->actions->post(std::move(action));
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

void Gui::State::start_termination_handler() {
  // The close sequence: the handler runs here, off the GUI thread, so it may
  // wait for a search to wind down while the window keeps painting.
  termination = std::thread([this] {
    {
      std::unique_lock lock(close_mutex);
      close_requested_signal.wait(lock, [this] { return close_requested || close_quit; });
      if (close_quit) return;
    }
    try {
      if (close_handler) close_handler();
    } catch (...) {
      // The window closes whatever the handler met.
    }
    QMetaObject::invokeMethod(
        &bridge,
        [this] {
          window->may_close = true;
          window->close();
          QApplication::quit();
        },
        Qt::QueuedConnection);
  });
}

void Gui::State::stop_threads() {
  ended = true;
  actions->stop();
  {
    std::lock_guard lock(close_mutex);
    close_quit = true;
  }
  close_requested_signal.notify_all();
  if (termination.joinable()) termination.join();
}

}  // namespace flawseek::gui
