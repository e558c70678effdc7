// The search thread and one search: reference path, root, the two passes,
// the status texts and the controls restored afterwards.
#include "driver/search_run.h"

#include <exception>

#include "driver/job.h"
#include "driver/ordered_analysis.h"
#include "driver/search_controls.h"
#include "driver/search_texts.h"
#include "driver/source_search.h"
#include "findings/findings_list.h"
#include "platform/environment.h"
#include "platform/log.h"
#include "stylecheck/unit_survey/unit_survey.h"

namespace flawseek {

namespace {

constexpr const char* search_failure_place = "Control.Defect_Scan";
constexpr const char* start_failure_place = "Control.Start";

}  // namespace

// What the search thread does with each event of the walk, in walk order:
// a result goes to the log and the list, progress and notes to the status
// line. The serial visitor and the ordered analysis both end here.
class SearchRun::Committer final : public WalkCommitter {
 public:
  explicit Committer(SearchRun& run) : run_(run) {}

  void commit_result(const WorkItem& item, ScanResult& result) override {
    run_.apply(result, item.later_paths_bound);
  }
  void commit_progress(Phase phase, const WalkCounts& counts) override {
    run_.controls_.show_status(progress_text(phase, counts));
  }
  void commit_note(std::string_view note) override {
    run_.log_.put(note);
    run_.controls_.show_note(note);
  }

 private:
  SearchRun& run_;
};

// The serial run: each work item is analysed on the search thread as the
// walk hands it on.
class SearchRun::Visitor final : public WalkVisitor {
 public:
  Visitor(SearchRun& run, DefectScan& scan) : run_(run), scan_(scan), committer_(run) {}

  void on_work(const WorkItem& item) override {
    run_.result_.clear();
    scan_.analyse(item, run_.result_);
    committer_.commit_result(item, run_.result_);
  }
  void on_progress(Phase phase, const WalkCounts& counts) override { committer_.commit_progress(phase, counts); }
  void on_note(std::string_view message) override { committer_.commit_note(message); }

 private:
  SearchRun& run_;
  DefectScan& scan_;
  Committer committer_;
};

SearchRun::SearchRun(Job& job, FindingsList& findings, SearchControls& controls, Log& log,
                     DefectChecker& checker, UnitSurvey& survey)
    : job_(job), findings_(findings), controls_(controls), log_(log), checkers_{&checker}, surveys_{&survey} {
  thread_ = std::thread([this] { thread_main(); });
}

SearchRun::SearchRun(Job& job, FindingsList& findings, SearchControls& controls, Log& log,
                     const AnalyserFactory& make_analyser, unsigned jobs)
    : job_(job), findings_(findings), controls_(controls), log_(log) {
  if (jobs == 0) jobs = default_job_count();
  for (unsigned i = 0; i < jobs; ++i) {
    Analyser& analyser = owned_.emplace_back(make_analyser());
    checkers_.push_back(analyser.checker.get());
    surveys_.push_back(analyser.survey.get());
  }
  thread_ = std::thread([this] { thread_main(); });
}

SearchRun::~SearchRun() { shutdown_search(); }

// ---------------------------------------------------------------------------
// Actions and requests
// ---------------------------------------------------------------------------

void SearchRun::toggle_search() {
  const bool now_running = !running_.load();
  if (!now_running) {
    running_ = false;
    controls_.enable_button(false);
    return;
  }
  // The last search may still be restoring the controls; the findings must
  // not be cleared under it.
  wait_until_idle();
  running_ = true;
  controls_.set_button_caption(stop_caption);
  controls_.enable_menus(false);
  try {
    job_.save_job();
  } catch (...) {
    // The search runs on the job in memory; the failure is for the log.
    log_.put_exception(start_failure_place, std::current_exception());
  }
  findings_.clear_findings();
  start();
}

void SearchRun::stop_search() {
  if (!running_.exchange(false)) return;
  controls_.enable_button(false);
}

void SearchRun::shutdown_search() {
  running_ = false;
  quit();
}

void SearchRun::start() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return request_ == Request::None || ended_; });
  if (ended_) return;
  request_ = Request::Start;
  changed_.notify_all();
  changed_.wait(lock, [this] { return request_ == Request::None || ended_; });
}

void SearchRun::quit() {
  {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return request_ == Request::None || ended_; });
    if (!ended_) {
      request_ = Request::Quit;
      changed_.notify_all();
    }
  }
  if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
}

void SearchRun::wait_until_idle() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return (request_ == Request::None && !busy_) || ended_; });
}

SearchOutcome SearchRun::last_outcome() const {
  std::lock_guard lock(mutex_);
  return outcome_;
}

WalkCounts SearchRun::last_counts() const {
  std::lock_guard lock(mutex_);
  return counts_;
}

std::int64_t SearchRun::last_cut_short_count() const {
  std::lock_guard lock(mutex_);
  return cut_short_;
}

std::string SearchRun::last_reference_path() const {
  std::lock_guard lock(mutex_);
  return last_reference_path_;
}

void SearchRun::thread_main() {
  for (;;) {
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [this] { return request_ != Request::None; });
      const Request taken = request_;
      request_ = Request::None;
      if (taken == Request::Quit) {
        ended_ = true;
        changed_.notify_all();
        return;
      }
      busy_ = true;
      changed_.notify_all();  // releases the caller of start
    }
    perform_search();
    {
      std::lock_guard lock(mutex_);
      busy_ = false;
    }
    changed_.notify_all();
  }
}

// ---------------------------------------------------------------------------
// One search
// ---------------------------------------------------------------------------

void SearchRun::perform_search() {
  SearchOutcome outcome = SearchOutcome::Failed;
  try {
    bool ok = true;
    if (job_.option_is_set(Option::RELAXED_STYLES)) {
      // Paths name case-sensitive directories here, so only the very same
      // text may skip the check.
      const std::string text = job_.reference_path();
      if (text != last_reference_path()) ok = validate_reference_path(text);
    } else {
      {
        std::lock_guard lock(mutex_);
        last_reference_path_.clear();
      }
      set_reference_directories({});
    }

    if (ok) {
      controls_.show_status(SearchTexts::searching);
      if (!run_search(job_.search_root())) {
        controls_.show_status(SearchTexts::root_not_found);
        outcome = SearchOutcome::RootNotFound;
      } else if (running_.load()) {
        controls_.show_status(result_text(findings_.findings_count(), last_counts(), unreadable_));
        outcome = SearchOutcome::Completed;
      } else {
        controls_.show_status(SearchTexts::aborted);
        outcome = SearchOutcome::Aborted;
      }
    } else {
      controls_.show_status(SearchTexts::invalid_reference_path);
      outcome = SearchOutcome::InvalidReferencePath;
    }
  } catch (...) {
    // The thread lives on: the next search starts afresh.
    const std::exception_ptr error = std::current_exception();
    log_.put_exception(search_failure_place, error);
    try {
      controls_.show_status(exception_record(search_failure_place, error));
    } catch (...) {
    }
  }
  {
    std::lock_guard lock(mutex_);
    outcome_ = outcome;
  }
  restore_controls();
}

void SearchRun::restore_controls() {
  try {
    running_ = false;
    controls_.set_button_caption(search_caption);
    controls_.enable_button(true);
    controls_.enable_menus(true);
    // The search may have made the "List Unchecked Style" item available.
    job_.enter_extended_style_mode();
  } catch (...) {
    log_.put_exception(search_failure_place, std::current_exception());
  }
  try {
    if (findings_.findings_count() > 0) controls_.enable_save_as(true);
  } catch (...) {
    log_.put_exception(search_failure_place, std::current_exception());
  }
}

std::string SearchRun::invalid_reference_entry() const {
  std::lock_guard lock(mutex_);
  return invalid_reference_entry_;
}

bool SearchRun::validate_reference_path(std::string_view text) {
  const ReferencePathCheck check = flawseek::validate_reference_path(text, current_directory_text());
  {
    std::lock_guard lock(mutex_);
    invalid_reference_entry_ = check.valid ? std::string() : check.bad_entry;
  }
  if (!check.valid) {
    controls_.show_status(SearchTexts::invalid_reference_path);
    return false;
  }
  // The survey needs to know which entries include the directories below them.
  set_reference_directories(check.entries);
  std::lock_guard lock(mutex_);
  last_reference_path_.assign(text);
  return true;
}

void SearchRun::set_reference_directories(const std::vector<std::string>& directories) {
  for (UnitSurvey* survey : surveys_) survey->set_reference_directories(directories);
}

bool SearchRun::run_search(std::string_view root) {
  const std::optional<SearchRoot> resolved = resolve_search_root(root, current_directory_text());
  if (!resolved) return false;

  {
    std::lock_guard lock(mutex_);
    counts_ = WalkCounts{};
    cut_short_ = 0;
  }
  unreadable_ = 0;
  controls_.enable_save_as(false);

  ScanSettings settings = ScanSettings::from_job(job_);
  settings.keep_log_records = log_.is_enabled();
  for (UnitSurvey* survey : surveys_) survey->set_ada_version(settings.ada_version);
  settings.style_details = findings_.style_details_kept();
  std::vector<DefectScan> scans;
  scans.reserve(checkers_.size());
  for (std::size_t i = 0; i < checkers_.size(); ++i) scans.emplace_back(*checkers_[i], *surveys_[i], settings);
  // A search never stops at a number of findings. Every checker starts; the
  // search is logged as started once.
  for (std::size_t i = 0; i < scans.size(); ++i) {
    result_.clear();
    scans[i].start(0, result_);
    if (i == 0) apply(result_);
  }

  WalkOptions options;
  options.search_subfolders = job_.option_is_set(Option::SEARCH_SUBFOLDERS);
  options.skip_read_only_files = job_.option_is_set(Option::SKIP_READ_ONLY_FILES);
  options.excluded = excluded_ != nullptr && !excluded_->empty() ? excluded_ : nullptr;
  if (job_.option_is_set(Option::PREPARATION_PHASE)) {
    (void)run_pass(*resolved, Phase::Preparation, options, scans);
    share_preparation();
  }
  const WalkCounts counts = run_pass(*resolved, Phase::Check, options, scans);
  {
    std::lock_guard lock(mutex_);
    counts_ = counts;
  }

  for (DefectScan& scan : scans) {
    result_.clear();
    scan.finish(result_);
    apply(result_);
  }
  return true;
}

WalkCounts SearchRun::run_pass(const SearchRoot& root, Phase phase, const WalkOptions& options,
                               std::vector<DefectScan>& scans) {
  if (scans.size() == 1) {
    Visitor visitor(*this, scans.front());
    return walk_sources(root, phase, options, running_, visitor);
  }
  std::vector<DefectScan*> workers;
  for (DefectScan& scan : scans) workers.push_back(&scan);
  // Enough events (items, each with the progress shown after it) that while
  // one thread spends milliseconds on a long file the others still find
  // work; few enough, with a cap on the findings waiting for their turn,
  // that memory stays flat and a core is left to the window's own thread,
  // which must keep answering while a large findings tree fills. A wider
  // window buys little speed and costs the window that core (the figures
  // are in bench/README.md).
  constexpr std::size_t events_per_worker = 128;
  constexpr std::size_t held_steps = std::size_t{1} << 16;
  Committer committer(*this);
  OrderedAnalysis analysis(workers, {events_per_worker * workers.size(), held_steps}, running_, committer);
  const WalkCounts counts = walk_sources(root, phase, options, running_, analysis);
  analysis.finish();
  return counts;
}

void SearchRun::share_preparation() {
  if (checkers_.size() < 2) return;
  PreparationResult all;
  for (DefectChecker* checker : checkers_) {
    for (std::string& name : checker->preparation_result().box_default_names) {
      all.box_default_names.push_back(std::move(name));
    }
  }
  for (DefectChecker* checker : checkers_) checker->add_preparation_result(all);
}

void SearchRun::apply(ScanResult& result, std::string_view later_paths_bound) {
  unreadable_ += result.unreadable;
  for (const std::string& record : result.log_records) log_.put(record);
  // In walk order like the walk's own notes, so any job count says the same.
  for (const CutShortFile& cut : result.cut_short) {
    const std::string note = cut_short_note(cut.file, cut.line, cut.unchecked_body);
    log_.put(note);
    controls_.show_note(note);
  }
  if (!result.cut_short.empty()) {
    std::lock_guard lock(mutex_);
    cut_short_ += static_cast<std::int64_t>(result.cut_short.size());
  }
  findings_.apply_taking(result.findings, later_paths_bound);
}

}  // namespace flawseek
