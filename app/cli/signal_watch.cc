// The watching thread: waits for SIGINT/SIGTERM in slices so it can end.
#include "signal_watch.h"

#include <pthread.h>
#include <signal.h>
#include <time.h>
#include <unistd.h>

#include <cstdlib>

namespace flawseek {

namespace {

sigset_t watched_signals() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  return set;
}

}  // namespace

SignalWatch::SignalWatch() {
  const sigset_t set = watched_signals();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
  thread_ = std::thread([this] { watch(); });
}

SignalWatch::~SignalWatch() {
  ending_ = true;
  if (thread_.joinable()) thread_.join();
}

void SignalWatch::set_on_first_signal(std::function<void()> action) {
  std::lock_guard lock(mutex_);
  on_first_signal_ = std::move(action);
}

void SignalWatch::watch() {
  const sigset_t set = watched_signals();
  // A tenth of a second between looks at ending_.
  const timespec slice{0, 100'000'000};
  while (!ending_.load()) {
    if (sigtimedwait(&set, nullptr, &slice) < 0) continue;  // timeout or EINTR
    if (++signals_ > 1) {
      static constexpr char message[] = "\nflawseek: interrupted\n";
      (void)::write(STDERR_FILENO, message, sizeof message - 1);
      std::_Exit(exit_interrupted);
    }
    std::function<void()> action;
    {
      std::lock_guard lock(mutex_);
      action = on_first_signal_;
    }
    if (action) action();
  }
}

}  // namespace flawseek
