// The work items of one pass analysed on several threads and committed in the
// order the walk handed them on, with the walk's other events (progress,
// notes) in their places between them, so the findings, the log and the
// status line come out exactly as a serial run leaves them.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "driver/defect_scan.h"
#include "driver/source_walk.h"

namespace flawseek {

// What the committing thread does with each event, in walk order: the same
// calls a serial walk's visitor makes.
class WalkCommitter {
 public:
  virtual ~WalkCommitter() = default;
  // `item` is the work whose analysis gave `result`.
  virtual void commit_result(const WorkItem& item, ScanResult& result) = 0;
  virtual void commit_progress(Phase phase, const WalkCounts& counts) = 0;
  virtual void commit_note(std::string_view note) = 0;
};

// A walk visitor that analyses on several threads and commits on the thread
// that walks. The first scan is the walking thread's own: with the window
// full it analyses an item itself instead of sleeping until a worker is
// done, so `jobs` scans keep exactly `jobs` threads busy (one per core by
// default) and the walk and commits never queue for a core behind a worker.
// Every further scan gets a worker thread.
//
// Memory stays flat however large the tree: at most `limits.events` events
// wait between the walk and the commits, and once the results analysed but
// not yet committed hold more than `limits.held_steps` recorded steps, no
// further item is taken until commits bring them under it. The window is
// wide because one long file at its head holds back every commit: while a
// thread spends milliseconds on it, the others must find enough work behind
// it, or they sleep.
//
// Stopping: a serial run notices a stop only when the walk next reads
// `running`; whatever the walk handed on before that is shown. So the first
// event after such a reading whose turn comes with `running` false, and
// every event after it, is dropped; a thread that finds `running` false
// takes no further item, and a dropped item's analysis (if begun) is awaited
// so no worker touches a result after it is gone.
class OrderedAnalysis final : public WalkVisitor {
 public:
  struct Limits {
    std::size_t events;
    std::size_t held_steps;
  };

  OrderedAnalysis(std::span<DefectScan* const> scans, Limits limits, const std::atomic<bool>& running,
                  WalkCommitter& committer);
  // Ends the workers once each has finished the item in hand.
  ~OrderedAnalysis() override;
  OrderedAnalysis(const OrderedAnalysis&) = delete;
  OrderedAnalysis& operator=(const OrderedAnalysis&) = delete;

  void on_work(const WorkItem& item) override;
  void on_progress(Phase phase, const WalkCounts& counts) override;
  void on_note(std::string_view message) override;
  void on_running_checked() override { group_pending_ = true; }

  // After the walk: commits every event still waiting. An analysis that
  // failed outright is rethrown here, in its turn, as a serial run would
  // have thrown it.
  void finish();

 private:
  enum class EventKind : std::uint8_t { Work, Progress, Note };
  enum class State : std::uint8_t { Waiting, Taken, Done, Skipped, Dropped };

  struct Slot {
    std::uint64_t sequence = 0;  // its place in walk order
    EventKind kind = EventKind::Note;
    State state = State::Done;
    bool starts_group = false;  // the walk read `running` just before it
    // A Work event: the walk's progress right after the item is committed
    // with it, from `phase` and `counts`.
    bool progress_follows = false;
    Phase phase = Phase::Check;
    WorkItem item{WorkKind::Single, {}, {}, false, {}, {}};
    WalkCounts counts;
    std::string note;
    std::unique_ptr<ScanResult> result;  // lent from its taking to its commit
    std::size_t held_steps = 0;    // counted in held_steps_ until committed
    std::exception_ptr failure;
    std::size_t pool = 0;  // whose result it holds: it goes back there
  };

  Slot& slot(std::uint64_t sequence) { return slots_[sequence % slots_.size()]; }
  static bool finished(const Slot& slot) noexcept {
    return slot.kind != EventKind::Work || (slot.state != State::Waiting && slot.state != State::Taken);
  }
  // The next free slot, once the window has room; filled, then published.
  Slot& claim(EventKind kind);
  // Commits events in turn until at most `left` wait, analysing waiting
  // items on this thread meanwhile; waits for the oldest only when no item
  // is left to take.
  void commit_until_at_most(std::uint64_t left);
  // Takes the next waiting item and analyses it on this thread; false when
  // every item handed on is taken already.
  bool analyse_waiting_item();
  // The analysis of a taken item, outside the lock; false when a stop came
  // first and the item was left alone.
  bool analyse(Slot& item, DefectScan& scan);
  void publish();
  // Commits every event whose turn needs no wait, a run of them at a time.
  void commit_ready();
  // Under the lock: settles the turns of the events from the oldest on, up
  // to the first item not yet analysed, whose sequence is returned. Where a
  // stop drops them, `dropped_from` is the first dropped (else no_event).
  std::uint64_t settle_ready(std::uint64_t& dropped_from);
  // Commits the settled events before `ready_end`, outside the lock, then
  // retires them. An analysis that failed outright is rethrown in its turn.
  void commit_settled(std::uint64_t ready_end, std::uint64_t dropped_from);
  // Under one lock: the events before `end` leave the window, their results
  // kept for reuse and their steps no longer held.
  void retire(std::uint64_t end);
  // Sleeps until the oldest event, an item taken by a worker, is analysed.
  void wait_for_oldest();
  // Under the lock: the next waiting item this thread may take, if any,
  // with a result lent from the thread's own `pool`.
  Slot* take_next(std::size_t pool);
  // Under the lock: an analysed item's result is held until its commit.
  void hold(Slot& item);
  // Under the lock: results are lent to items being analysed or waiting for
  // their commit, and only to those, so the room each keeps (its findings'
  // texts among it) is not multiplied by the window. A few per thread are
  // kept for reuse; the rest, lent while commits waited for a long file,
  // go, freed outside the lock.
  std::unique_ptr<ScanResult> lend_result(std::size_t pool);
  void give_back_result(Slot& item);
  void end_workers() noexcept;
  void worker_main(DefectScan& scan, std::size_t pool);

  // The walking thread's own results are pool 0; worker i's are pool i.
  static constexpr std::size_t own_pool = 0;

  const std::atomic<bool>& running_;
  WalkCommitter& committer_;
  DefectScan& own_scan_;
  std::vector<Slot> slots_;
  bool group_pending_ = false;
  bool stopped_ = false;

  std::mutex mutex_;
  std::condition_variable work_ready_;  // workers wait for items
  std::condition_variable work_done_;   // the committer waits for its turn
  // Sequence numbers: the oldest event not committed, the next free slot,
  // and the next slot a worker looks at.
  std::uint64_t head_ = 0;
  std::uint64_t tail_ = 0;
  std::uint64_t take_ = 0;
  const std::size_t held_steps_limit_;
  std::size_t held_steps_ = 0;  // recorded by analysed items not yet committed
  // The one event the committer waits for (none: no_event); only the
  // worker that finishes it wakes the committer.
  static constexpr std::uint64_t no_event = ~std::uint64_t{0};
  std::uint64_t awaited_ = no_event;
  // Items handed on so far: a worker is woken once per items_per_wake.
  static constexpr std::uint64_t items_per_wake = 4;
  std::uint64_t items_handed_on_ = 0;
  bool closing_ = false;
  std::vector<std::vector<std::unique_ptr<ScanResult>>> kept_results_;  // one pool per thread
  std::vector<std::unique_ptr<ScanResult>> results_to_free_;  // the committing thread's only
  std::vector<std::thread> workers_;
};

}  // namespace flawseek
