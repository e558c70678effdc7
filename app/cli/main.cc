// flawseek: the command-line program. Parse the command line, set up the log,
// build the job, run the search, write the findings and the report, and say
// how it went in the exit status.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string_view>
#include <vector>

#include "command_line.h"
#include "driver/analyser.h"
#include "driver/headless_job_controls.h"
#include "driver/job.h"
#include "driver/search_run.h"
#include "driver/search_texts.h"
#include "findings/findings_list.h"
#include "findings/report_writers.h"
#include "findings/text_tree_view.h"
#include "findings_output.h"
#include "job_summary.h"
#include "platform/environment.h"
#include "platform/log.h"
#include "platform/settings_store.h"
#include "program_texts.h"
#include "signal_watch.h"
#include "terminal_status.h"

namespace {

constexpr int exit_nothing_found = 0;
constexpr int exit_findings = 1;
// A usage error, a root or reference path that names nothing, a report that
// cannot be written.
constexpr int exit_trouble = 2;
// The search itself failed; the log (--log) holds the error.
constexpr int exit_search_failed = 3;

// Descriptors 0 to 2 closed by whoever started the program would be handed
// out by the next open (the log, a report), and findings meant for standard
// output would land in that file. Each closed one is taken by /dev/null,
// opened for reading only, so that writes to a closed standard output still
// fail as they must.
void make_standard_descriptors_valid() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    const int taken = ::open("/dev/null", O_RDONLY | O_NOCTTY);
    if (taken >= 0 && taken != fd) {
      ::dup2(taken, fd);
      ::close(taken);
    }
  }
}

// The answer of --help, --version and --show-job: a write that fails (a full
// disk, a closed output) must not pass for success.
int answer(std::string_view text) {
  std::cout << text << std::flush;
  if (std::cout) return exit_nothing_found;
  std::cerr << "flawseek: cannot write to standard output\n";
  return exit_trouble;
}

// Paths on the command line name places relative to the current directory.
std::filesystem::path absolute_path(const std::string& path) {
  std::error_code error;
  std::filesystem::path absolute = std::filesystem::absolute(path, error);
  return error ? std::filesystem::path(path) : absolute;
}

int run(int argc, char** argv) {
  using namespace flawseek;

  // ---- What the user asked for -------------------------------------------
  const std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  const CommandLineResult parsed = parse_command_line(arguments);
  if (!parsed.ok()) {
    std::cerr << "flawseek: " << parsed.error << "\nTry 'flawseek --help' for more information.\n";
    return exit_trouble;
  }
  const CommandLine& command = parsed.command_line;
  if (command.action == CommandAction::ShowHelp) return answer(usage_text());
  if (command.action == CommandAction::ShowVersion) return answer(version_text());

  // ---- The log: a file that cannot be created warns once and is left out --
  Log& log = process_log();
  if (command.log_file) {
    log.open(absolute_path(*command.log_file), /*limit=*/0);
    log.put("Flawseek Started");
  }

  // ---- The job: the stored one when asked (never saved back), then the flags
  HeadlessJobControls controls;
  std::unique_ptr<SettingsStore> store;
  if (command.use_settings) {
    store = std::make_unique<SettingsStore>();
    store->initialize(Company::Brightmoor, "Flawseek");
    // The command line only reads the stored job: nothing in the store is
    // written, created or moved, not even a corrupt file.
    store->set_read_only(true);
  }
  Job job(controls, store.get(), JobPersistence::ReadOnly);
  if (store) job.load_job();
  apply_job_flags(command.job, job);
  if (const std::string error = unused_job_flag(command.job, job); !error.empty()) {
    std::cerr << "flawseek: " << error << "\nTry 'flawseek --help' for more information.\n";
    return exit_trouble;
  }
  if (command.show_job) return answer(job_summary(job));

  // ---- The search ---------------------------------------------------------
  // Signals are blocked before any other thread starts, so only the watcher
  // sees Ctrl-C.
  SignalWatch signals;
  FindingsList findings;
  TextTreeView tree;
  if (command.format == OutputFormat::Tree) findings.set_view(&tree);
  // Files without a style command are listed exactly when the job says so,
  // whatever the files of this run hold.
  findings.set_list_unchecked_style_state(true, job.list_unchecked_style());

  const bool progress = !command.quiet && ::isatty(STDERR_FILENO) == 1;
  TerminalStatus status(std::cerr, progress, /*show_notes=*/!command.quiet);
  SearchRun search(job, findings, status, log, make_standard_analyser, command.jobs);
  const auto stop_on_signal = signals.on_first_signal([&search] { search.stop_search(); });

  search.toggle_search();
  search.wait_until_idle();
  status.clear_progress();
  const SearchOutcome outcome = search.last_outcome();
  const std::string final_status = status.last_status();
  if (outcome == SearchOutcome::RootNotFound || outcome == SearchOutcome::InvalidReferencePath) {
    std::cerr << "flawseek: " << final_status << "\n";
    // The status text is the window's; a terminal user also needs to know which entry.
    if (outcome == SearchOutcome::InvalidReferencePath) {
      std::cerr << "flawseek: not a directory: " << search.invalid_reference_entry() << "\n";
    }
    return exit_trouble;
  }

  // ---- The findings, then the report --------------------------------------
  const std::string date_and_time = date_and_time_image(local_time());
  int exit_status = findings.findings_count() > 0 ? exit_findings : exit_nothing_found;
  if (!print_findings(command.format, findings, tree, date_and_time, std::cout)) {
    // A full disk or a closed pipe must not pass for a clean run.
    std::cerr << "flawseek: cannot write the findings to standard output\n";
    exit_status = exit_trouble;
  }
  if (command.report_file) {
    try {
      save_report(findings, absolute_path(*command.report_file), date_and_time);
    } catch (const ReportWriteError& error) {
      log.put_exception("Control.Save_As", error);
      std::cerr << "flawseek: " << error.what() << "\n";
      exit_status = exit_trouble;
    }
  }

  // ---- How it went --------------------------------------------------------
  if (outcome == SearchOutcome::Failed) {
    std::cerr << "flawseek: " << final_status << "\n";
    return exit_search_failed;
  }
  if (!command.quiet) std::cerr << final_status << "\n";
  if (outcome == SearchOutcome::Aborted && exit_status != exit_trouble) return SignalWatch::exit_interrupted;
  return exit_status;
}

}  // namespace

int main(int argc, char** argv) {
  make_standard_descriptors_valid();
  try {
    return run(argc, argv);
  } catch (const std::exception& error) {
    // Nothing expected ends here; if something does, say what and fail.
    std::cerr << "flawseek: " << error.what() << "\n";
    return exit_search_failed;
  }
}
