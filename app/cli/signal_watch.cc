// The watching thread: waits on a signalfd for SIGINT, SIGTERM and SIGHUP,
// and on a pipe that tells it to end.
#include "signal_watch.h"

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cstdlib>

namespace flawseek {

namespace {

sigset_t watched_signals() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  // A closed terminal or a logged-out session ends the run the same way,
  // so that what was found is still written whole.
  sigaddset(&set, SIGHUP);
  return set;
}

}  // namespace

SignalWatch::SignalWatch() {
  const sigset_t set = watched_signals();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
  signal_fd_ = ::signalfd(-1, &set, SFD_CLOEXEC);
  if (::pipe2(wake_pipe_, O_CLOEXEC) != 0) wake_pipe_[0] = wake_pipe_[1] = -1;
  // Without either descriptor the signals stay blocked and are simply not
  // acted on: the program still runs to its end.
  if (signal_fd_ >= 0 && wake_pipe_[0] >= 0) thread_ = std::thread([this] { watch(); });
}

SignalWatch::~SignalWatch() {
  if (thread_.joinable()) {
    const char end = 'x';
    (void)::write(wake_pipe_[1], &end, 1);
    thread_.join();
  }
  for (int fd : {signal_fd_, wake_pipe_[0], wake_pipe_[1]}) {
    if (fd >= 0) ::close(fd);
  }
}

SignalWatch::Registration SignalWatch::on_first_signal(std::function<void()> action) {
  set_action(std::move(action));
  return Registration(*this);
}

void SignalWatch::set_action(std::function<void()> action) {
  std::lock_guard lock(mutex_);
  on_first_signal_ = std::move(action);
}

void SignalWatch::watch() {
  for (;;) {
    pollfd watched[2] = {{signal_fd_, POLLIN, 0}, {wake_pipe_[0], POLLIN, 0}};
    if (::poll(watched, 2, -1) < 0) continue;  // EINTR
    if (watched[1].revents != 0) return;
    if (watched[0].revents == 0) continue;
    signalfd_siginfo info;
    if (::read(signal_fd_, &info, sizeof info) != static_cast<ssize_t>(sizeof info)) continue;
    if (++signals_ > 1) {
      static constexpr char message[] = "\nflawseek: interrupted\n";
      (void)::write(STDERR_FILENO, message, sizeof message - 1);
      std::_Exit(exit_interrupted);
    }
    // The action runs under the lock, so a registration cannot end while
    // its action is still running.
    std::lock_guard lock(mutex_);
    if (on_first_signal_) on_first_signal_();
  }
}

}  // namespace flawseek
