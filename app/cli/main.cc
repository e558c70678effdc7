// flawseek: the command-line program. Parse the command line, set up the log,
// build the job, run the search, write the findings and the report, and say
// how it went in the exit status.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "baseline.h"
#include "bugcheck/bug_checker.h"
#include "command_line.h"
#include "driver/analyser.h"
#include "driver/headless_job_controls.h"
#include "driver/job.h"
#include "driver/search_run.h"
#include "driver/search_texts.h"
#include "driver/source_search.h"
#include "driver/source_walk.h"
#include "findings/findings_list.h"
#include "findings/report_writers.h"
#include "fix_sources.h"
#include "input_notes.h"
#include "job_summary.h"
#include "lsp_server.h"
#include "output/finding_statistics.h"
#include "output/findings_output.h"
#include "output/rule_catalog.h"
#include "output/findings_streams.h"
#include "output/kept_findings.h"
#include "output/streamed_findings.h"
#include "output/tree_output.h"
#include "platform/disk.h"
#include "platform/environment.h"
#include "platform/log.h"
#include "platform/memory_reuse.h"
#include "platform/settings_store.h"
#include "program_texts.h"
#include "project_file.h"
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

// The machine-readable outputs' view of the run: the directory file names
// are relative to (the project file's, so that a baseline or a code-scanning
// service sees the same names whichever way ROOT is written; else the
// root's), the job, and whether file names are shown relative (the root was
// given relative, or not at all and the current directory was searched).
flawseek::OutputSettings output_settings(const flawseek::CommandLine& command, const flawseek::Job& job,
                                         const std::optional<std::string>& project_file) {
  using namespace flawseek;
  OutputSettings settings;
  const std::string current = current_directory_text();
  settings.context = report_context_of(job, current);
  if (project_file) {
    std::string directory = absolute_path(*project_file).parent_path().lexically_normal().string();
    while (directory.size() > 1 && directory.back() == '/') directory.pop_back();
    settings.context.root_directory = directory;
  }
  const bool relative = command.job.search_root ? !std::filesystem::path(*command.job.search_root).is_absolute()
                                                : !command.use_settings;
  if (relative) settings.paths = PathStyle(std::filesystem::path(current));
  settings.include_suppressed = command.show_suppressed;
  settings.columns = command.columns;
  return settings;
}

// Whether the findings make the exit status 1: any finding, or with
// --fail-on one of the kinds it names.
bool counts_as_failure(const flawseek::CommandLine& command, const flawseek::FindingsList& findings) {
  using namespace flawseek;
  if (!command.fail_on) return findings.findings_count() > 0;
  for (int index = 0; index < FindingKind::count; ++index) {
    if ((*command.fail_on)[index] && findings.count(FindingKind::from_index(index)) > 0) return true;
  }
  return false;
}

// The format a report written to standard output (--report -) takes.
flawseek::OutputFormat standard_output_report_format(const flawseek::CommandLine& command) {
  return command.format_given ? command.format : flawseek::OutputFormat::Text;
}

// Whether the findings need not be held as a list: nothing reads them
// after the search but the outputs grouped by kind (which the compact store
// serves) and a format written as the search goes. A baseline, a fix and a
// report in a format of single findings need the list.
bool findings_kept_compactly(const flawseek::CommandLine& command) {
  using flawseek::is_grouped_by_kind;
  if (command.baseline_file || command.write_baseline_file || command.fix || command.diff) return false;
  if (!command.report_file) return true;
  return is_grouped_by_kind(*command.report_file == "-" ? standard_output_report_format(command)
                                                        : flawseek::report_format_for(*command.report_file));
}

// Whether the findings on standard output are written as the search goes: a
// format written in pieces, when the list is not held for something else.
bool findings_streamed(const flawseek::CommandLine& command) {
  using flawseek::OutputFormat;
  const bool document = command.format == OutputFormat::Json || command.format == OutputFormat::Sarif;
  const bool piecewise = document || (command.format == OutputFormat::Gnu && !command.statistics);
  const bool report_on_standard_output = command.report_file && *command.report_file == "-";
  return piecewise && !report_on_standard_output && findings_kept_compactly(command);
}

// Whether the compact store is needed: some output grouped by kind is
// written once the search is over.
bool grouped_output_kept(const flawseek::CommandLine& command) {
  using flawseek::is_grouped_by_kind;
  if (!findings_kept_compactly(command)) return false;
  if (command.report_file) return true;
  const bool statistics_only = command.statistics && command.format != flawseek::OutputFormat::Json &&
                               command.format != flawseek::OutputFormat::Sarif;
  return !statistics_only && is_grouped_by_kind(command.format);
}

// Whether an output of this run shows a style finding's own words: the GNU
// lines, JSON and SARIF (a report or a baseline written so) do; the tree and
// the CSV and text reports show the kind's sentence alone.
bool style_details_shown(const flawseek::CommandLine& command) {
  using flawseek::OutputFormat;
  const auto shows = [](OutputFormat format) {
    return format == OutputFormat::Gnu || format == OutputFormat::Json || format == OutputFormat::Sarif;
  };
  // A report on standard output is written in --format, tested here too.
  if (shows(command.format)) return true;
  if (command.report_file && *command.report_file != "-" && shows(flawseek::report_format_for(*command.report_file)))
    return true;
  // A fix is read back from a finding's words.
  return command.write_baseline_file.has_value() || command.fix || command.diff;
}

// Why an output must not go to `path`, or nothing when it may: a link to a
// file (or to nothing), which would let whoever planted it choose the file
// replaced, and an Ada source, which the run reads. (A link to a device or
// pipe, and the system's own links such as /dev/stdout, are written through.)
std::optional<std::string> output_refusal(const std::filesystem::path& path) {
  struct stat link;
  if (::lstat(path.c_str(), &link) != 0) return std::nullopt;
  struct stat target;
  const bool reached = ::stat(path.c_str(), &target) == 0;
  if (S_ISLNK(link.st_mode) && (!reached || S_ISREG(target.st_mode)) && !flawseek::is_system_link(path.string())) {
    return "it is a symbolic link (name the file itself)";
  }
  if (reached && S_ISREG(target.st_mode) && flawseek::names_ada_source(path.filename().string())) {
    return "it is an Ada source, which the run reads";
  }
  return std::nullopt;
}

// Saves the findings to `path` in the format its extension names (or
// `format` when given); false, after telling the user, when it fails.
// Saves the report from a list, or (in a format grouped by kind) from the
// compact store.
template <typename Findings>
bool save_findings_report(const Findings& findings, const std::filesystem::path& path,
                          std::string_view date_and_time, const flawseek::OutputSettings& output, flawseek::Log& log,
                          std::optional<flawseek::OutputFormat> format = std::nullopt) {
  using namespace flawseek;
  const OutputFormat chosen = format ? *format : report_format_for(path.string());
  // A report folder that is not there yet is made, as CI steps expect.
  std::error_code folder_error;
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), folder_error);
  if (folder_error) {
    std::cerr << "flawseek: cannot create the folder " << path.parent_path().string() << " for " << path.string()
              << ": " << folder_error.message() << "\n";
    return false;
  }
  try {
    if constexpr (std::is_same_v<Findings, FindingsList>) {
      save_findings(chosen, findings, path, date_and_time, output);
    } else {
      save_grouped_findings(chosen, findings, path, date_and_time, output);
    }
  } catch (const ReportWriteError& error) {
    log.put_exception("Control.Save_As", error);
    std::cerr << "flawseek: " << error.what() << "\n";
    return false;
  }
  return true;
}

// The final count under a baseline: "2 new, 5 known potential bugs found in
// search of 14 files"; the search's own text without one.
std::string with_known_findings(const std::string& final_status, const flawseek::FindingsList& shown,
                                std::optional<std::int64_t> known) {
  const std::size_t words = final_status.find(" potential bug");
  if (!known || words == std::string::npos) return final_status;
  const std::int64_t fresh = shown.findings_count();
  const std::string rest = final_status.substr(words);
  const bool plural = fresh + *known != 1;
  std::string text = std::to_string(fresh) + " new, " + std::to_string(*known) + " known potential bug";
  text += plural ? "s" : "";
  // What follows "bug" or "bugs" in the search's text.
  const std::size_t after = rest.find(' ', 1 + std::string_view(" potential").size());
  return text + (after == std::string::npos ? std::string() : rest.substr(after));
}

// A moment in UTC as SARIF writes it: "2026-12-10T20:22:48Z".
std::string utc_text(std::chrono::system_clock::time_point moment) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(moment);
  std::tm parts{};
  if (gmtime_r(&seconds, &parts) == nullptr) return {};
  char text[32];
  return std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts) == 0 ? std::string() : std::string(text);
}

int run(int argc, char** argv) {
  using namespace flawseek;
  const auto started = std::chrono::system_clock::now();

  // ---- What the user asked for -------------------------------------------
  const std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  // The project file's keys come before the arguments, so the arguments win.
  const ConfiguredCommandLine configured = parse_configured_command_line(arguments, current_directory_text());
  const CommandLineResult& parsed = configured.parsed;
  for (const std::string& warning : configured.warnings) std::cerr << "flawseek: " << warning << "\n";
  if (!parsed.ok()) {
    std::cerr << "flawseek: " << parsed.error << "\nTry 'flawseek --help' for more information.\n";
    return exit_trouble;
  }
  if (!configured.project_error.empty()) {
    std::cerr << "flawseek: " << configured.project_error << "\n";
    return exit_trouble;
  }
  const CommandLine& command = parsed.command_line;
  if (command.action == CommandAction::ShowHelp) return answer(usage_text());
  if (command.action == CommandAction::ShowVersion) return answer(version_text());
  if (command.action == CommandAction::ListRules) return answer(rule_list_text());
  if (command.action == CommandAction::ExplainRule) return answer(rule_explanation_text(*command.explained_kind));

  // ---- Outputs that would replace what they must not: refused before anything is written
  const std::pair<const char*, const std::optional<std::string>*> outputs[] = {
      {"the report", &command.report_file}, {"the baseline", &command.write_baseline_file}, {"the log", &command.log_file}};
  for (const auto& [what, file] : outputs) {
    if (!*file || **file == "-") continue;
    if (const auto refusal = output_refusal(absolute_path(**file))) {
      std::cerr << "flawseek: will not write " << what << " to " << **file << ": " << *refusal << "\n";
      return exit_trouble;
    }
  }

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
  if (command.show_job) return answer(job_summary(job) + project_file_summary(configured) + run_summary(configured));

  // ---- The search ---------------------------------------------------------
  // Signals are blocked before any other thread starts, so only the watcher
  // sees Ctrl-C.
  SignalWatch signals;
  FindingsList findings;
  // Files without a style command are listed exactly when the job says so,
  // whatever the files of this run hold.
  findings.set_list_unchecked_style_state(true, job.list_unchecked_style());
  findings.set_style_details_kept(style_details_shown(command));
  const ReportedKinds reported = reported_kinds(command);
  // Fixing must know of every syntax error, which rules its file out,
  // whether or not the user asked to see them.
  ReportedKinds analysed = reported;
  if (command.fix || command.diff) analysed.report_everywhere(BugKind::SYNTAX_ERROR);
  findings.set_reported_kinds(&analysed);
  OutputSettings output = output_settings(command, job, configured.project_file);  // its context learns at the end whether the search completed
  // Written as the search goes, a large tree's findings are never all held
  // in memory; the output is the same as written at the end.
  GnatAttributeTally gnat_attributes;
  const std::unique_ptr<RecordsWriter> streamed_writer =
      findings_streamed(command) ? make_records_writer(command.format, output) : nullptr;
  std::optional<StreamedFindings> streamed;
  if (streamed_writer) streamed.emplace(*streamed_writer, std::cout, output.include_suppressed);
  // Without the list, the outputs grouped by kind are written from a compact
  // store of what they show: memory then grows by tens of bytes a finding.
  std::optional<KeptFindings> kept;
  if (grouped_output_kept(command)) kept.emplace();
  FindingsStreams streams;
  if (kept) streams.add(&*kept);
  if (streamed) streams.add(&*streamed);
  if (findings_kept_compactly(command)) {
    streams.set_observer(
        [&gnat_attributes](std::span<const FindingRecord> records) { gnat_attributes.add_syntax_errors(records); });
    findings.set_stream(&streams);
  }

  const bool progress = !command.quiet && ::isatty(STDERR_FILENO) == 1;
  TerminalStatus status(std::cerr, progress, /*show_notes=*/!command.quiet);
  SearchRun search(job, findings, status, log, make_standard_analyser, command.jobs);
  AnchoredGlobs excluded;
  for (const std::string& glob : command.excludes) excluded.add(".", glob);
  search.set_excluded(&excluded);
  const auto stop_on_signal = signals.on_first_signal([&search] { search.stop_search(); });

  search.toggle_search();
  search.wait_until_idle();
  status.clear_progress();
  SearchOutcome outcome = search.last_outcome();
  output.context.complete = outcome == SearchOutcome::Completed;
  std::string final_status = status.last_status();
  if (outcome == SearchOutcome::RootNotFound || outcome == SearchOutcome::InvalidReferencePath) {
    // The status text is the window's; the terminal also names the root.
    std::cerr << "flawseek: " << final_status;
    if (outcome == SearchOutcome::RootNotFound) std::cerr << ": " << job.search_root();
    std::cerr << "\n";
    // The status text is the window's; a terminal user also needs to know which entry.
    if (outcome == SearchOutcome::InvalidReferencePath) {
      std::cerr << "flawseek: not a directory: " << search.invalid_reference_entry() << "\n";
    }
    return exit_trouble;
  }
  // A root that held nothing to analyse is said even with -q: a run that
  // looked at no file must not pass for a clean one. A name or pattern that
  // matched none fails like a root that names nothing.
  if (outcome == SearchOutcome::Completed) {
    if (const auto empty = empty_search(job.search_root(), search.last_counts(), current_directory_text())) {
      std::cerr << "flawseek: " << empty->message << "\n";
      if (empty->is_error) return exit_trouble;
    }
  }

  // ---- The findings, then the report --------------------------------------
  const std::string date_and_time = date_and_time_image(local_time());
  // With a baseline, what it knows is left out of every output and of the
  // exit status; the lists shown are a copy without those findings.
  const FindingsList* shown = &findings;
  std::optional<std::int64_t> known_count;  // with a baseline
  std::unordered_set<const Finding*> known;   // the findings it knows
  FindingsList new_findings;
  if (command.baseline_file) {
    std::string error;
    const std::optional<Baseline> baseline = Baseline::read(absolute_path(*command.baseline_file), error);
    if (!baseline) {
      std::cerr << "flawseek: " << error << "\n";
      return exit_trouble;
    }
    known = baseline->known_findings(ordered_findings(findings), output.context, &output.context.absent);
    output.context.known = &known;
    new_findings.set_list_unchecked_style_state(true, findings.list_unchecked_style());
    copy_findings_except(findings, known, new_findings);
    shown = &new_findings;
    known_count = static_cast<std::int64_t>(known.size());
    // Nothing known while there is something to know: most likely the
    // baseline was written with file names relative to another directory.
    if (!command.quiet && known.empty() && baseline->size() > 0 && findings.findings_count() > 0) {
      std::cerr << "flawseek: warning: the baseline " << *command.baseline_file << " knows none of the "
                << findings.findings_count() << " findings of this run; its file names may be relative to another "
                << "directory than " << output.context.root_directory << "\n";
    }
  }
  // With --fix the files are mended and checked again, until no mend is
  // left (a respelled name may draw another finding's mend) or a few rounds
  // have passed; what remains is what the last check found. With --diff
  // nothing is written: what the mends would remove is left out, as the
  // known findings of a baseline are.
  std::optional<FixOutcome> fixing;
  KindCounts fixed_counts{};
  std::unordered_set<std::string> fixed_files;
  bool fix_write_failed = false;
  FindingsList remaining_findings;
  const FixMode fix_mode = command.diff ? FixMode::Diff : FixMode::Write;
  const PathStyle fix_paths{std::filesystem::path(current_directory_text())};
  constexpr int fix_rounds = 3;
  for (int round = 0; (command.fix || command.diff) && outcome == SearchOutcome::Completed && round < fix_rounds;
       ++round) {
    fixing = fix_sources(findings, fix_mode, fix_paths, std::cout);
    for (int index = 0; index < FindingKind::count; ++index) {
      fixed_counts[static_cast<std::size_t>(index)] += fixing->fixed[static_cast<std::size_t>(index)];
    }
    fixed_files.insert(fixing->files.begin(), fixing->files.end());
    fix_write_failed = fix_write_failed || fixing->write_failed;
    if (command.diff || fixing->files.empty()) break;
    search.toggle_search();
    search.wait_until_idle();
    status.clear_progress();
    outcome = search.last_outcome();
    output.context.complete = outcome == SearchOutcome::Completed;
    final_status = status.last_status();
  }
  if (fixing) {
    std::unordered_set<const Finding*> gone = unasked_syntax_errors(findings, reported);
    // A diff's mends were never written: the findings they remove are left
    // out. After a rewrite the list is the last check's, which knows them no more.
    if (command.diff) gone.insert(fixing->fixed_findings.begin(), fixing->fixed_findings.end());
    remaining_findings.set_list_unchecked_style_state(true, findings.list_unchecked_style());
    copy_findings_except(findings, gone, remaining_findings);
    shown = &remaining_findings;
  }
  if (command.statistics) output.context.statistics = kind_counts(*shown);
  // Writing a baseline is bookkeeping: it succeeds unless something fails.
  int exit_status = !command.write_baseline_file && counts_as_failure(command, *shown) ? exit_findings
                                                                                      : exit_nothing_found;
  // A diff that would change something fails a check as a finding would.
  if (fixing && command.diff && !fixed_files.empty()) exit_status = exit_findings;
  if (fix_write_failed) exit_status = exit_trouble;
  output.context.against_baseline = command.baseline_file.has_value();
  output.context.start_time_utc = utc_text(started);
  // A file checked only in part was not analysed: whatever kinds --fail-on
  // names (even none, which picks the findings that matter, not whether
  // the analysis may be incomplete), its missing findings must not pass
  // for a clean run. The note on it came during the search.
  if (search.last_cut_short_count() > 0) exit_status = exit_findings;
  // What the documents say of the run; a failure to write them comes later
  // and cannot be in them.
  output.context.exit_code = exit_status;
  output.context.end_time_utc = utc_text(std::chrono::system_clock::now());
  const bool report_to_standard_output = command.report_file && *command.report_file == "-";
  // A SARIF log holds the known findings too, as unchanged results, for the
  // services that track results across runs; every other output the new ones.
  const auto listed_in = [&](OutputFormat format) -> const FindingsList& {
    return format == OutputFormat::Sarif && command.baseline_file ? findings : *shown;
  };
  // The grouped outputs from the compact store when there is one, else from the list.
  const auto print = [&](OutputFormat format) {
    if (kept && is_grouped_by_kind(format)) return print_grouped_findings(format, *kept, date_and_time, output, std::cout);
    return print_findings(format, listed_in(format), date_and_time, output, std::cout);
  };
  bool findings_written = true;
  if (streamed) {
    streamed->finish();
    findings_written = static_cast<bool>(std::cout.flush());
  } else if (command.statistics && command.format != OutputFormat::Json && command.format != OutputFormat::Sarif &&
             !report_to_standard_output) {
    std::cout << statistics_text(*output.context.statistics);
    findings_written = static_cast<bool>(std::cout.flush());
  } else if (!report_to_standard_output && !command.write_baseline_file && !command.diff) {
    findings_written = print(command.format);
  }
  if (command.diff && !std::cout.flush()) findings_written = false;
  if (!findings_written) {
    // A full disk or a closed pipe must not pass for a clean run.
    std::cerr << "flawseek: cannot write the findings to standard output\n";
    exit_status = exit_trouble;
  }
  if (report_to_standard_output) {
    if (!print(standard_output_report_format(command))) {
      std::cerr << "flawseek: cannot write the report to standard output\n";
      exit_status = exit_trouble;
    }
  } else if (command.report_file) {
    const bool saved = kept ? save_findings_report(*kept, absolute_path(*command.report_file), date_and_time, output, log)
                            : save_findings_report(listed_in(report_format_for(*command.report_file)),
                                                   absolute_path(*command.report_file), date_and_time, output, log);
    if (!saved) exit_status = exit_trouble;
  }
  // The new baseline holds every finding of this run, known ones included.
  if (command.write_baseline_file) {
    const std::filesystem::path path = absolute_path(*command.write_baseline_file);
    const OutputFormat format = report_format_for(path.string()) == OutputFormat::Sarif ? OutputFormat::Sarif : OutputFormat::Json;
    if (!save_findings_report(findings, path, date_and_time, output, log, format)) {
      exit_status = exit_trouble;
    } else if (!command.quiet) {
      std::cerr << "flawseek: baseline of " << findings.findings_count()
                << (findings.findings_count() == 1 ? " finding" : " findings") << " written to "
                << *command.write_baseline_file << "\n";
    }
  }

  // ---- How it went --------------------------------------------------------
  if (outcome == SearchOutcome::Failed) {
    std::cerr << "flawseek: " << final_status << "\n";
    return exit_search_failed;
  }
  if (!command.quiet && !job.option_is_set(Option::GNAT_EXTENSIONS)) {
    if (!findings_kept_compactly(command)) gnat_attributes.add_syntax_errors(findings);
    if (const std::string note = gnat_attributes.note(); !note.empty()) std::cerr << "flawseek: " << note << "\n";
  }
  if (!command.quiet && !command.write_baseline_file) std::cerr << with_known_findings(final_status, *shown, known_count) << "\n";
  if (fixing) {
    // A file left alone is said even with -q: its findings were not fixed.
    // The last round's notes stand for every round: a file left alone was
    // met again by each.
    for (const std::string& note : fixing->notes) std::cerr << "flawseek: " << note << "\n";
    if (!command.quiet) {
      std::cerr << "flawseek: " << fix_summary(fixed_counts, fixed_files.size(), kind_counts(*shown), fix_mode);
    }
  }
  if (outcome == SearchOutcome::Aborted && exit_status != exit_trouble) return SignalWatch::exit_interrupted;
  return exit_status;
}

}  // namespace

int main(int argc, char** argv) {
  flawseek::keep_freed_memory_for_reuse();
  make_standard_descriptors_valid();
  try {
    // The language server speaks its own protocol on the standard streams.
    if (argc > 1 && (std::string_view(argv[1]) == "lsp" || std::string_view(argv[1]) == "--lsp")) {
      // Editors' clients often name the transport; the standard streams are the only one.
      for (int index = 2; index < argc; ++index) {
        if (std::string_view(argv[index]) == "--stdio") continue;
        std::cerr << "flawseek: the language server takes no argument but --stdio, not '" << argv[index]
                  << "'\nTry 'flawseek --help' for more information.\n";
        return exit_trouble;
      }
      return flawseek::run_language_server_on_standard_streams();
    }
    return run(argc, argv);
  } catch (const std::exception& error) {
    // Nothing expected ends here; if something does, say what and fail.
    std::cerr << "flawseek: " << error.what() << "\n";
    return exit_search_failed;
  }
}
