// flawseek: the command-line program. Parse the command line, answer --help
// and --version, set the job (from the stored settings when asked, then from
// the flags) and run it.
#include <iostream>
#include <memory>
#include <string_view>
#include <vector>

#include "command_line.h"
#include "driver/headless_job_controls.h"
#include "driver/job.h"
#include "job_summary.h"
#include "platform/settings_store.h"
#include "program_texts.h"

namespace {

constexpr int exit_usage_error = 2;
// Until the search is part of this program, a run that was asked to analyse
// says so instead of pretending it found nothing.
constexpr int exit_not_analysed = 3;

}  // namespace

int main(int argc, char** argv) {
  using namespace flawseek;

  const std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  const CommandLineResult parsed = parse_command_line(arguments);
  if (!parsed.ok()) {
    std::cerr << "flawseek: " << parsed.error << "\nTry 'flawseek --help' for more information.\n";
    return exit_usage_error;
  }
  const CommandLine& command = parsed.command_line;
  if (command.action == CommandAction::ShowHelp) {
    std::cout << usage_text();
    return 0;
  }
  if (command.action == CommandAction::ShowVersion) {
    std::cout << version_text();
    return 0;
  }

  // The job for this run: the stored one when asked (never saved back), then the flags.
  HeadlessJobControls controls;
  std::unique_ptr<SettingsStore> store;
  if (command.use_settings) {
    store = std::make_unique<SettingsStore>();
    store->initialize(Company::Brightmoor, "Flawseek");
  }
  Job job(controls, store.get(), JobPersistence::ReadOnly);
  if (store) job.load_job();
  apply_job_flags(command.job, job);

  if (command.show_job) {
    std::cout << job_summary(job);
    return 0;
  }

  std::cout << job_summary(job);
  std::cerr << "flawseek: source analysis is not part of this build yet; the job above is what it will run\n";
  return exit_not_analysed;
}
