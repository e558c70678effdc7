// The action-handler thread: runs the controls' and menu items' actions one at a
// time, off the GUI thread.
#pragma once

#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

#include "gui/gui.h"

namespace flawseek::gui {

// Actions run here one at a time, in arrival order, so a long one (a search
// start, a report) never blocks the window.
class ActionHandler {
 public:
  explicit ActionHandler(std::function<void(const std::exception_ptr&)> on_error)
      : on_error_(std::move(on_error)), thread_([this] { run(); }) {}
  ~ActionHandler() { stop(); }

  void post(Action action);
  // An action that is given an integer, with the one it is given.
  void post(const IntegerAction& action, int argument) {
    post([action, argument] { action(argument); });
  }
  // Lets the action in progress finish, drops the rest, ends the thread.
  void stop();

 private:
  void run();

  std::function<void(const std::exception_ptr&)> on_error_;
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<Action> queue_;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace flawseek::gui
