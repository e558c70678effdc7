// Ctrl-C, SIGTERM and SIGHUP for the command line: the first one asks the search to
// stop (as "Stop" does), a second one ends the program at once. The signals
// are read from a signalfd by a watching thread, so no work ever runs in a
// signal handler.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

namespace flawseek {

class SignalWatch {
 public:
  // Exit status after a second signal (128 + SIGINT, as shells report it).
  static constexpr int exit_interrupted = 130;

  // Blocks SIGINT, SIGTERM and SIGHUP in the calling thread, so every thread started
  // after this inherits the block and only the watcher receives them.
  SignalWatch();
  ~SignalWatch();
  SignalWatch(const SignalWatch&) = delete;
  SignalWatch& operator=(const SignalWatch&) = delete;

  // While the returned registration lives, `action` is called (on the
  // watching thread) at the first signal. Keep it no longer than what the
  // action touches.
  class Registration {
   public:
    explicit Registration(SignalWatch& watch) : watch_(watch) {}
    ~Registration() { watch_.set_action({}); }
    Registration(const Registration&) = delete;
    Registration& operator=(const Registration&) = delete;

   private:
    SignalWatch& watch_;
  };
  [[nodiscard]] Registration on_first_signal(std::function<void()> action);
  bool interrupted() const { return signals_.load() > 0; }

 private:
  void watch();
  void set_action(std::function<void()> action);

  std::mutex mutex_;
  std::function<void()> on_first_signal_;
  std::atomic<int> signals_{0};
  int signal_fd_ = -1;
  int wake_pipe_[2] = {-1, -1};  // written once to end the watcher
  std::thread thread_;
};

}  // namespace flawseek
