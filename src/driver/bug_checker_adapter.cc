// Forwarding to the bug checker; its stop request becomes a value here.
#include "driver/bug_checker_adapter.h"

namespace flawseek {

BugCheckerAdapter::BugCheckerAdapter() : checker_(unclaimed_) {}

void BugCheckerAdapter::close_source() noexcept {
  try {
    checker_.close_source();
  } catch (...) {
    // Dropping a text held in memory; nothing is left to release.
  }
}

CheckOutcome BugCheckerAdapter::run_preparation(bool is_adq) {
  try {
    checker_.run_preparation(is_adq);
  } catch (const StopRequest&) {
    return CheckOutcome::Stopped;
  }
  return CheckOutcome::Completed;
}

CheckOutcome BugCheckerAdapter::run_check(const ParseMode& mode, bool& style_command_seen) {
  try {
    style_command_seen = checker_.run_check(mode);
  } catch (const StopRequest&) {
    return CheckOutcome::Stopped;
  }
  return CheckOutcome::Completed;
}

CheckOutcome BugCheckerAdapter::after_pair() {
  try {
    checker_.after_pair();
  } catch (const StopRequest&) {
    return CheckOutcome::Stopped;
  }
  return CheckOutcome::Completed;
}

}  // namespace flawseek
