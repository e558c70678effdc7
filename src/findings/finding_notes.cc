// The details and suppressed findings kept beside the findings lists.
#include "findings/finding_notes.h"

#include <algorithm>

namespace flawseek {

namespace {

constexpr std::size_t detail_block_size = 64 * 1024;

}  // namespace

std::string_view FindingNotes::keep_text(std::string_view text) {
  if (block_used_ + text.size() > block_size_) {
    block_size_ = std::max(detail_block_size, text.size());
    text_blocks_.push_back(std::make_unique_for_overwrite<char[]>(block_size_));
    block_used_ = 0;
  }
  char* const kept = text_blocks_.back().get() + block_used_;
  std::copy(text.begin(), text.end(), kept);
  block_used_ += text.size();
  return {kept, text.size()};
}

void FindingNotes::set_detail(FindingKind kind, std::size_t position, std::string_view detail) {
  collapsed_.clear();
  append_collapsed_blanks(detail, collapsed_);
  set_collapsed_detail(kind, position, collapsed_);
}

void FindingNotes::set_collapsed_detail(FindingKind kind, std::size_t position, std::string_view detail) {
  if (detail.empty()) return;
  const Detail kept{position, keep_text(detail)};
  std::vector<Detail>& details = details_[kind.index()];
  if (details.empty() || details.back().position < position) {
    details.push_back(kept);
    return;
  }
  const auto at = std::lower_bound(details.begin(), details.end(), position,
                                   [](const Detail& held, std::size_t wanted) { return held.position < wanted; });
  if (at != details.end() && at->position == position) {
    *at = kept;
  } else {
    details.insert(at, kept);
  }
}

std::string_view FindingNotes::detail(FindingKind kind, std::size_t position) const {
  const std::vector<Detail>& details = details_[kind.index()];
  const auto at = std::lower_bound(details.begin(), details.end(), position,
                                   [](const Detail& held, std::size_t wanted) { return held.position < wanted; });
  return at != details.end() && at->position == position ? at->text : std::string_view{};
}

void FindingNotes::clear() {
  for (std::vector<Detail>& details : details_) details.clear();
  // One block is kept for the next texts.
  if (text_blocks_.size() > 1) text_blocks_.erase(text_blocks_.begin(), text_blocks_.end() - 1);
  block_used_ = 0;
  suppressed_.clear();
}

}  // namespace flawseek
