// The worker threads of a pass, the window of events between the walk and
// the commits, and the order in which results are committed.
#include "driver/ordered_analysis.h"

#include <stdexcept>
#include <utility>

namespace flawseek {

namespace {

// A result lent for one of the largest files gives its room back.
constexpr std::size_t steps_kept_per_result = 1024;
// The results kept for each thread's next items. A thread's results come
// back to it: reused by the thread that filled them before, their rooms are
// warm in its cache and were taken from its own part of the allocator.
// Enough that a thread finding many items while the committer analyses a
// long one seldom needs a new result.
constexpr std::size_t results_kept_per_thread = 16;

}  // namespace

OrderedAnalysis::OrderedAnalysis(std::span<DefectScan* const> scans, Limits limits,
                                 const std::atomic<bool>& running, WalkCommitter& committer)
    : running_(running),
      committer_(committer),
      own_scan_(scans.empty() ? throw std::invalid_argument("OrderedAnalysis needs at least one scan") : *scans.front()),
      slots_(limits.events < 2 ? 2 : limits.events),
      held_steps_limit_(limits.held_steps),
      kept_results_(scans.size()) {
  // Room enough that pushing a result never allocates under the lock.
  results_to_free_.reserve(slots_.size());
  workers_.reserve(scans.size() - 1);
  try {
    for (std::size_t i = 1; i < scans.size(); ++i) {
      DefectScan* scan = scans[i];
      workers_.emplace_back([this, scan, i] { worker_main(*scan, i); });
    }
  } catch (...) {
    // A thread the system would not start: the ones started must end.
    end_workers();
    throw;
  }
}

OrderedAnalysis::~OrderedAnalysis() { end_workers(); }

void OrderedAnalysis::end_workers() noexcept {
  {
    std::lock_guard lock(mutex_);
    closing_ = true;
  }
  work_ready_.notify_all();
  for (std::thread& worker : workers_) {
    if (worker.joinable()) worker.join();
  }
  workers_.clear();
}

// ---------------------------------------------------------------------------
// The walk's side
// ---------------------------------------------------------------------------

OrderedAnalysis::Slot& OrderedAnalysis::claim(EventKind kind) {
  if (tail_ - head_ == slots_.size()) commit_until_at_most(slots_.size() - 1);
  Slot& next = slot(tail_);
  next.sequence = tail_;
  next.kind = kind;
  next.state = kind == EventKind::Work ? State::Waiting : State::Done;
  next.starts_group = group_pending_;
  group_pending_ = false;
  return next;
}

void OrderedAnalysis::commit_until_at_most(std::uint64_t left) {
  // Sleeping until a worker is done would cost a wake per item, and with a
  // worker on every core each wake would take a core from one of them: this
  // thread analyses a waiting item instead, and waits only when none is left.
  for (;;) {
    commit_ready();
    if (tail_ - head_ <= left) return;
    if (!analyse_waiting_item()) wait_for_oldest();
  }
}

bool OrderedAnalysis::analyse_waiting_item() {
  Slot* item = nullptr;
  {
    std::lock_guard lock(mutex_);
    item = take_next(own_pool);
    if (item == nullptr) return false;
    item->state = State::Taken;
  }
  const bool went_on = analyse(*item, own_scan_);
  std::lock_guard lock(mutex_);
  item->state = went_on ? State::Done : State::Skipped;
  hold(*item);
  return true;
}

void OrderedAnalysis::publish() {
  bool wake = false;
  std::uint64_t ready_end = 0;
  std::uint64_t dropped_from = no_event;
  {
    std::lock_guard lock(mutex_);
    // A worker is woken for a few items at once, never for an event that
    // is no item: where files are quick to analyse (most specifications in
    // the preparation pass), a wake per item cost more than the item. Items
    // short of a batch wait at most until the window fills, when this
    // thread takes them itself, or until the walk ends.
    if (slot(tail_).kind == EventKind::Work) wake = ++items_handed_on_ % items_per_wake == 0;
    ++tail_;
    ready_end = settle_ready(dropped_from);
  }
  if (wake) work_ready_.notify_one();
  if (ready_end != head_) commit_settled(ready_end, dropped_from);
}

void OrderedAnalysis::on_work(const WorkItem& item) {
  Slot& next = claim(EventKind::Work);
  next.item.kind = item.kind;
  next.item.file = item.file;
  next.item.body = item.body;
  next.item.is_adq = item.is_adq;
  next.item.later_paths_bound = item.later_paths_bound;
  next.item.reason = item.reason;
  next.failure = nullptr;
  next.progress_follows = false;
  publish();
}

void OrderedAnalysis::on_progress(Phase phase, const WalkCounts& counts) {
  // The progress the walk tells right after an item, as it does after each,
  // rides with that item, which is still waiting: the window holds items,
  // not twice as many events, and it is published without a lock of its
  // own. Only this thread commits, so the item cannot have gone meanwhile.
  if (tail_ != head_ && !group_pending_) {
    Slot& last = slot(tail_ - 1);
    if (last.kind == EventKind::Work && !last.progress_follows) {
      last.progress_follows = true;
      last.phase = phase;
      last.counts = counts;
      return;
    }
  }
  Slot& next = claim(EventKind::Progress);
  next.phase = phase;
  next.counts = counts;
  publish();
}

void OrderedAnalysis::on_note(std::string_view message) {
  Slot& next = claim(EventKind::Note);
  next.note.assign(message);
  publish();
}

void OrderedAnalysis::finish() {
  // The last items handed on may be short of a batch: every worker may help.
  work_ready_.notify_all();
  commit_until_at_most(0);
}

void OrderedAnalysis::commit_ready() {
  for (;;) {
    std::uint64_t ready_end = 0;
    std::uint64_t dropped_from = no_event;
    {
      std::lock_guard lock(mutex_);
      ready_end = settle_ready(dropped_from);
    }
    if (ready_end == head_) return;
    commit_settled(ready_end, dropped_from);
  }
}

std::uint64_t OrderedAnalysis::settle_ready(std::uint64_t& dropped_from) {
  dropped_from = no_event;
  std::uint64_t sequence = head_;
  for (; sequence != tail_; ++sequence) {
    Slot& event = slot(sequence);
    // A stop seen where the walk read `running` drops this event and all
    // after it, as the serial walk would never have handed them on.
    if (!stopped_ && event.starts_group && !running_.load()) stopped_ = true;
    if (event.kind == EventKind::Work) {
      if (stopped_ && event.state == State::Waiting) event.state = State::Dropped;
      if (!finished(event)) break;
      // A worker that found `running` false left its item: the stop came
      // before this item's turn.
      if (event.state == State::Skipped) stopped_ = true;
    }
    if (stopped_ && dropped_from == no_event) dropped_from = sequence;
  }
  return sequence;
}

void OrderedAnalysis::commit_settled(std::uint64_t ready_end, std::uint64_t dropped_from) {
  for (std::uint64_t sequence = head_; sequence != ready_end; ++sequence) {
    Slot& event = slot(sequence);
    // A stop may come while the events before this one are committed (from
    // the controls they call): its turn is now, so `running` is read again.
    if (sequence < dropped_from && !stopped_ && event.starts_group && !running_.load()) {
      stopped_ = true;
      dropped_from = sequence;
    }
    if (sequence < dropped_from) {
      switch (event.kind) {
        case EventKind::Work:
          if (event.failure) {
            const std::exception_ptr failure = std::exchange(event.failure, nullptr);
            retire(sequence + 1);
            std::rethrow_exception(failure);
          }
          committer_.commit_result(event.item, *event.result);
          if (event.progress_follows) committer_.commit_progress(event.phase, event.counts);
          break;
        case EventKind::Progress:
          committer_.commit_progress(event.phase, event.counts);
          break;
        case EventKind::Note:
          committer_.commit_note(event.note);
          break;
      }
    }
    // Its room, the findings' texts among it, may serve the next file.
    if (event.result != nullptr) {
      event.result->findings.clear_keeping_room_for(steps_kept_per_result);
      event.result->log_records.clear();
    }
  }
  retire(ready_end);
}

void OrderedAnalysis::retire(std::uint64_t end) {
  bool wake_workers = false;
  {
    std::lock_guard lock(mutex_);
    const bool held_back = held_steps_ > held_steps_limit_;
    for (; head_ != end; ++head_) {
      Slot& event = slot(head_);
      if (event.result != nullptr) give_back_result(event);
      held_steps_ -= event.held_steps;
      event.held_steps = 0;
    }
    // Workers held back by the limit may take items again.
    wake_workers = held_back && held_steps_ <= held_steps_limit_;
  }
  results_to_free_.clear();
  if (wake_workers) work_ready_.notify_all();
}

void OrderedAnalysis::wait_for_oldest() {
  std::unique_lock lock(mutex_);
  Slot& oldest = slot(head_);
  if (finished(oldest)) return;
  awaited_ = head_;
  work_done_.wait(lock, [&] { return finished(oldest); });
  awaited_ = no_event;
}

// ---------------------------------------------------------------------------
// The workers' side
// ---------------------------------------------------------------------------

OrderedAnalysis::Slot* OrderedAnalysis::take_next(std::size_t pool) {
  if (take_ < head_) take_ = head_;
  for (; take_ < tail_; ++take_) {
    Slot& candidate = slot(take_);
    if (candidate.kind != EventKind::Work || candidate.state != State::Waiting) continue;
    // Over the limit no item is taken. That never stalls the commits:
    // items are taken in walk order, so every held result lies behind the
    // oldest event, which is taken already and will be committed.
    if (held_steps_ > held_steps_limit_) return nullptr;
    ++take_;
    candidate.result = lend_result(pool);
    candidate.pool = pool;
    return &candidate;
  }
  return nullptr;
}

void OrderedAnalysis::hold(Slot& item) {
  item.held_steps = item.result->findings.steps().size();
  held_steps_ += item.held_steps;
}

std::unique_ptr<ScanResult> OrderedAnalysis::lend_result(std::size_t pool) {
  std::vector<std::unique_ptr<ScanResult>>& kept = kept_results_[pool];
  if (kept.empty()) return std::make_unique<ScanResult>();
  std::unique_ptr<ScanResult> result = std::move(kept.back());
  kept.pop_back();
  return result;
}

void OrderedAnalysis::give_back_result(Slot& item) {
  std::vector<std::unique_ptr<ScanResult>>& kept = kept_results_[item.pool];
  if (kept.size() < results_kept_per_thread) {
    kept.push_back(std::move(item.result));
  } else {
    results_to_free_.push_back(std::move(item.result));
  }
}

bool OrderedAnalysis::analyse(Slot& item, DefectScan& scan) {
  // Once stopped, no thread starts another file.
  if (!running_.load()) return false;
  try {
    item.result->clear();
    scan.analyse(item.item, *item.result);
  } catch (...) {
    // The per-file driver catches what a file may throw; anything else
    // is the search's failure, thrown again in this item's turn.
    item.failure = std::current_exception();
  }
  return true;
}

void OrderedAnalysis::worker_main(DefectScan& scan, std::size_t pool) {
  std::unique_lock lock(mutex_);
  for (;;) {
    if (closing_) return;
    Slot* item = take_next(pool);
    if (item == nullptr) {
      work_ready_.wait(lock);
      continue;
    }
    item->state = State::Taken;
    lock.unlock();
    const bool went_on = analyse(*item, scan);
    lock.lock();
    item->state = went_on ? State::Done : State::Skipped;
    hold(*item);
    if (item->sequence == awaited_) work_done_.notify_one();
  }
}

}  // namespace flawseek
