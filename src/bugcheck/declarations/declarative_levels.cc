// The declarative levels: opening, closing, entering and using declarations.
#include "bugcheck/declarations/declarative_levels.h"

#include <bit>

namespace flawseek {

void DeclarativeLevels::reset() {
  for (DeclarativeLevel& level : levels_) {
    for (PendingNames& list : level.pending) list.clear();
    for (FoldedNames& list : level.entered) list.clear();
    level.not_recorded = false;
    level.entries.clear();
    level.entry_state = EntryCallState::OUTSIDE;
  }
  // Clearing a hash table clears every bucket: one large file's table would
  // make every later file pay for its size.
  if (declared_.bucket_count() > small_index_buckets) {
    DeclaredNames().swap(declared_);
  } else {
    declared_.clear();
  }
  entered_filter_.fill(0);
  current_ = 0;
}

void DeclarativeLevels::drop_open_levels() {
  while (current_ > 0) close();
  levels_[0].entry_state = EntryCallState::OUTSIDE;
}

void DeclarativeLevels::open() {
  if (current_ < max_declarative_level) ++current_;
  DeclarativeLevel& level = current_level();
  level.not_recorded = false;
  level.entry_state = EntryCallState::OUTSIDE;
}

void DeclarativeLevels::forget(int level, std::size_t group, const FoldedNames& names) {
  names.for_each([&](std::string_view folded) {
    auto found = declared_.find(folded);
    if (found == declared_.end()) return;
    found->second[group] &= ~(std::uint32_t{1} << level);
    const LevelMasks& masks = found->second;
    if ((masks[0] | masks[1] | masks[2]) == 0) declared_.erase(found);
  });
}

void DeclarativeLevels::close() {
  DeclarativeLevel& level = current_level();
  for (PendingNames& list : level.pending) list.clear();
  for (std::size_t g = 0; g < level.entered.size(); ++g) {
    forget(current_, g, level.entered[g]);
    level.entered[g].clear();
  }
  level.entries.clear();
  level.entry_state = EntryCallState::OUTSIDE;
  if (current_ > 0) --current_;
}

void DeclarativeLevels::enter(DeclarationGroup group, const NameItem& item, bool pending) {
  DeclarativeLevel& level = current_level();
  if (level.not_recorded) return;
  const auto g = static_cast<std::size_t>(group);
  if (pending) level.pending[g].append(item);
  if (item.name.empty()) return;
  const std::size_t key = filter_key(item.name);
  entered_filter_[key / 64] |= std::uint64_t{1} << (key % 64);
  fold_name(item.name, folded_);
  level.entered[g].add(folded_);
  auto found = declared_.find(std::string_view(folded_));
  if (found == declared_.end()) found = declared_.emplace(folded_, LevelMasks{}).first;
  found->second[g] |= std::uint32_t{1} << current_;
}

bool DeclarativeLevels::holds(int level, DeclarationGroup group, std::string_view name) {
  if (declared_.empty()) return false;
  fold_name(name, folded_);
  const auto found = declared_.find(std::string_view(folded_));
  return found != declared_.end() &&
         (found->second[static_cast<std::size_t>(group)] & (std::uint32_t{1} << level)) != 0;
}

void DeclarativeLevels::remove_pending(int level, std::size_t group, std::string_view name) {
  levels_[static_cast<std::size_t>(level)].pending[group].remove_named(name);
}

void DeclarativeLevels::use(unsigned groups, std::string_view name) {
  if (declared_.empty() || name.empty()) return;
  const std::size_t key = filter_key(name);
  if ((entered_filter_[key / 64] & (std::uint64_t{1} << (key % 64))) == 0) return;
  fold_name(name, folded_);
  const auto found = declared_.find(std::string_view(folded_));
  if (found == declared_.end()) return;
  // The levels at and below the current one; the innermost that declares
  // the name in a group is the one the use refers to.
  const std::uint32_t visible = current_ >= 31 ? ~std::uint32_t{0} : (std::uint32_t{2} << current_) - 1;
  const LevelMasks masks = found->second;
  for (std::size_t g = 0; g < masks.size(); ++g) {
    if ((groups & (1u << g)) == 0) continue;
    const std::uint32_t levels = masks[g] & visible;
    if (levels == 0) continue;
    remove_pending(31 - std::countl_zero(levels), g, name);
  }
}

void DeclarativeLevels::use(DeclarationGroup group, std::string_view name) {
  use(1u << static_cast<unsigned>(group), name);
}

}  // namespace flawseek
