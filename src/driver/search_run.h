// The search run: a long-lived search thread that performs one search per
// Start request (reference path, root, preparation and check passes, status
// texts), and the Search/Stop action and shutdown that drive it.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "driver/analyser.h"
#include "driver/defect_scan.h"
#include "platform/path_glob.h"
#include "driver/source_walk.h"

namespace flawseek {

class FindingsList;
class Job;
class Log;
class SearchControls;
class UnitSurvey;

// How the last search ended.
enum class SearchOutcome : std::uint8_t {
  None,                  // no search has run yet
  Completed,             // the result text was shown
  Aborted,               // "Search aborted by user"
  RootNotFound,          // "File or Root Directory not found"
  InvalidReferencePath,  // "Invalid directory found in reference path"
  Failed,                // an unexpected error ended the search; it was logged
};

class SearchRun {
 public:
  // Everything handed in must outlive the run. The checker and survey are the
  // search thread's own; only that thread uses them, one file at a time (the
  // serial run). The caller keeps the findings list's "List Unchecked Style"
  // state in step with the job.
  SearchRun(Job& job, FindingsList& findings, SearchControls& controls, Log& log, DefectChecker& checker,
            UnitSurvey& survey);
  // Analyses on `jobs` threads (0: default_job_count()), each with an
  // analyser of its own made by `make_analyser`; 1 is the serial run on the
  // search thread. Results are committed in walk order, so every job count
  // shows the same findings, log and status texts.
  SearchRun(Job& job, FindingsList& findings, SearchControls& controls, Log& log, const AnalyserFactory& make_analyser,
            unsigned jobs);
  // Stops a running search and ends the thread (shutdown_search).
  ~SearchRun();
  SearchRun(const SearchRun&) = delete;
  SearchRun& operator=(const SearchRun&) = delete;

  // The action of the Search/Stop button. Search: "Stop" caption, menus
  // greyed, the job saved, the findings cleared, then a Start request (this
  // returns as soon as the thread takes it). Stop: the button is disabled and
  // the search winds down at its next file or directory.
  void toggle_search();
  // Stop only: nothing happens when no search is running.
  void stop_search();
  // At program end: stops any search and ends the thread.
  void shutdown_search();

  // Sources the walks leave out (the command line's --exclude); null, the
  // default, leaves out none. Set before a search; must outlive it.
  void set_excluded(const AnchoredGlobs* excluded) { excluded_ = excluded; }

  // The two requests of the search thread. A caller waits until the thread
  // takes its request (a running search finishes first). After quit, start
  // does nothing.
  void start();
  void quit();

  // True from Search until the search has finished or Stop was pressed.
  bool running() const { return running_.load(); }
  // Blocks until no search is in progress and no request is waiting.
  void wait_until_idle();

  SearchOutcome last_outcome() const;
  // The counts of the last check pass.
  WalkCounts last_counts() const;
  // How many files of the last search were checked only up to a line too
  // long to analyse (each was said in a note as it came).
  std::int64_t last_cut_short_count() const;
  // The number of analysing threads (1: the serial run).
  unsigned jobs() const { return static_cast<unsigned>(checkers_.size()); }

  // Validates `text` against the file system; when valid, its directories go
  // to the unit survey and it becomes the last reference path.
  bool validate_reference_path(std::string_view text);
  std::string last_reference_path() const;
  // The entry that failed the last validation, as written; empty after a
  // validation that passed.
  std::string invalid_reference_entry() const;

  // One search over `root` on the calling thread (the search thread calls it;
  // tests may too). False when the root names nothing to search.
  bool run_search(std::string_view root);

 private:
  enum class Request : std::uint8_t { None, Start, Quit };
  class Visitor;
  class Committer;

  void thread_main();
  // One walk of the tree, analysed serially or on the worker threads.
  WalkCounts run_pass(const SearchRoot& root, Phase phase, const WalkOptions& options,
                      std::vector<DefectScan>& scans);
  // Every checker gets what all of them prepared.
  void share_preparation();
  void set_reference_directories(const std::vector<std::string>& directories);
  void perform_search();
  // `later_paths_bound`: see WorkItem (empty for the results of no item).
  void apply(ScanResult& result, std::string_view later_paths_bound = {});
  void restore_controls();

  Job& job_;
  const AnchoredGlobs* excluded_ = nullptr;
  FindingsList& findings_;
  SearchControls& controls_;
  Log& log_;
  // The analysers: the first serves the serial run; owned_ holds those the
  // run made itself.
  std::vector<Analyser> owned_;
  std::vector<DefectChecker*> checkers_;
  std::vector<UnitSurvey*> surveys_;

  std::atomic<bool> running_{false};

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  Request request_ = Request::None;
  bool busy_ = false;
  bool ended_ = false;
  SearchOutcome outcome_ = SearchOutcome::None;
  WalkCounts counts_;
  // Files and directories of this search that could not be read (search
  // thread only): findings, but counted apart from the potential bugs.
  std::int64_t unreadable_ = 0;
  std::int64_t cut_short_ = 0;  // guarded by mutex_
  std::string last_reference_path_;
  std::string invalid_reference_entry_;

  ScanResult result_;  // reused for every work item
  std::thread thread_;
};

}  // namespace flawseek
