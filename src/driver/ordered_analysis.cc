// The worker threads of a pass, the window of events between the walk and
// the commits, and the order in which results are committed.
#include "driver/ordered_analysis.h"

#include <stdexcept>

namespace flawseek {

namespace {

// A result lent for one of the largest files gives its room back.
constexpr std::size_t steps_kept_per_result = 1024;

}  // namespace

OrderedAnalysis::OrderedAnalysis(std::span<DefectScan* const> scans, Limits limits,
                                 const std::atomic<bool>& running, WalkCommitter& committer)
    : running_(running),
      committer_(committer),
      own_scan_(scans.empty() ? throw std::invalid_argument("OrderedAnalysis needs at least one scan") : *scans.front()),
      slots_(limits.events < 2 ? 2 : limits.events),
      held_steps_limit_(limits.held_steps),
      results_kept_(2 * scans.size() + 2) {
  workers_.reserve(scans.size() - 1);
  try {
    for (DefectScan* scan : scans.subspan(1)) workers_.emplace_back([this, scan] { worker_main(*scan); });
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
    if (!analyse_waiting_item()) (void)commit_oldest(true);
  }
}

bool OrderedAnalysis::analyse_waiting_item() {
  Slot* item = nullptr;
  {
    std::lock_guard lock(mutex_);
    item = take_next();
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
  {
    std::lock_guard lock(mutex_);
    // A worker is woken for a few items at once, never for an event that
    // is no item: where files are quick to analyse (most specifications in
    // the preparation pass), a wake per item cost more than the item. Items
    // short of a batch wait at most until the window fills, when this
    // thread takes them itself, or until the walk ends.
    if (slot(tail_).kind == EventKind::Work) wake = ++items_handed_on_ % items_per_wake == 0;
    ++tail_;
  }
  if (wake) work_ready_.notify_one();
  commit_ready();
}

void OrderedAnalysis::on_work(const WorkItem& item) {
  Slot& next = claim(EventKind::Work);
  next.item.kind = item.kind;
  next.item.file = item.file;
  next.item.body = item.body;
  next.item.is_adq = item.is_adq;
  next.item.later_paths_bound = item.later_paths_bound;
  next.failure = nullptr;
  publish();
}

void OrderedAnalysis::on_progress(Phase phase, const WalkCounts& counts) {
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

bool OrderedAnalysis::commit_oldest(bool wait) {
  Slot& oldest = slot(head_);
  std::unique_lock lock(mutex_);
  // A stop seen where the walk read `running` drops this event and all
  // after it, as the serial walk would never have handed them on.
  if (!stopped_ && oldest.starts_group && !running_.load()) stopped_ = true;
  if (oldest.kind == EventKind::Work) {
    if (stopped_ && oldest.state == State::Waiting) oldest.state = State::Dropped;
    if (!finished(oldest)) {
      if (!wait) return false;
      awaited_ = head_;
      work_done_.wait(lock, [&] { return finished(oldest); });
      awaited_ = no_event;
    }
    // A worker that found `running` false left its item: the stop came
    // before this item's turn.
    if (oldest.state == State::Skipped) stopped_ = true;
  }
  const bool dropped = stopped_;
  lock.unlock();

  if (!dropped) {
    switch (oldest.kind) {
      case EventKind::Work:
        if (oldest.failure) {
          std::exception_ptr failure = oldest.failure;
          oldest.failure = nullptr;
          std::lock_guard advance(mutex_);
          ++head_;
          std::rethrow_exception(failure);
        }
        committer_.commit_result(oldest.item, *oldest.result);
        break;
      case EventKind::Progress:
        committer_.commit_progress(oldest.phase, oldest.counts);
        break;
      case EventKind::Note:
        committer_.commit_note(oldest.note);
        break;
    }
  }
  // Its room, the findings' texts among it, may serve the next file.
  if (oldest.result != nullptr) {
    oldest.result->findings.clear_keeping_room_for(steps_kept_per_result);
    oldest.result->log_records.clear();
  }
  bool wake_workers = false;
  std::unique_ptr<ScanResult> spare;  // freed outside the lock
  {
    std::lock_guard advance(mutex_);
    ++head_;
    spare = take_back_result(oldest);
    if (oldest.held_steps > 0) {
      // Workers held back by the limit may take items again.
      wake_workers = held_steps_ > held_steps_limit_ && held_steps_ - oldest.held_steps <= held_steps_limit_;
      held_steps_ -= oldest.held_steps;
      oldest.held_steps = 0;
    }
  }
  if (wake_workers) work_ready_.notify_all();
  return true;
}

// ---------------------------------------------------------------------------
// The workers' side
// ---------------------------------------------------------------------------

OrderedAnalysis::Slot* OrderedAnalysis::take_next() {
  if (take_ < head_) take_ = head_;
  for (; take_ < tail_; ++take_) {
    Slot& candidate = slot(take_);
    if (candidate.kind != EventKind::Work || candidate.state != State::Waiting) continue;
    // Over the limit no item is taken. That never stalls the commits:
    // items are taken in walk order, so every held result lies behind the
    // oldest event, which is taken already and will be committed.
    if (held_steps_ > held_steps_limit_) return nullptr;
    ++take_;
    candidate.result = lend_result();
    return &candidate;
  }
  return nullptr;
}

void OrderedAnalysis::hold(Slot& item) {
  item.held_steps = item.result->findings.steps().size();
  held_steps_ += item.held_steps;
}

std::unique_ptr<ScanResult> OrderedAnalysis::lend_result() {
  if (free_results_.empty()) return std::make_unique<ScanResult>();
  std::unique_ptr<ScanResult> result = std::move(free_results_.back());
  free_results_.pop_back();
  return result;
}

std::unique_ptr<ScanResult> OrderedAnalysis::take_back_result(Slot& item) {
  if (item.result == nullptr || free_results_.size() >= results_kept_) return std::move(item.result);
  free_results_.push_back(std::move(item.result));
  return nullptr;
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

void OrderedAnalysis::worker_main(DefectScan& scan) {
  std::unique_lock lock(mutex_);
  for (;;) {
    if (closing_) return;
    Slot* item = take_next();
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
