// The standard analyser and the default number of analysing threads.
#include "driver/analyser.h"

#include <sched.h>

#include <thread>

#include "bugcheck/bug_checker.h"
#include "stylecheck/unit_survey/tavik_unit.h"

namespace flawseek {

Analyser make_standard_analyser() { return Analyser{std::make_unique<BugChecker>(), std::make_unique<TavikUnit>()}; }

unsigned default_job_count() {
  // A process confined to some cores (taskset, a container) should not start
  // more threads than it may run at once.
  cpu_set_t allowed;
  if (::sched_getaffinity(0, sizeof allowed, &allowed) == 0) {
    const int count = CPU_COUNT(&allowed);
    if (count > 0) return static_cast<unsigned>(count);
  }
  const unsigned cores = std::thread::hardware_concurrency();
  return cores > 0 ? cores : 1;
}

}  // namespace flawseek
