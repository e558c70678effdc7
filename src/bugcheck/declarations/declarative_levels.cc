// The declarative levels: opening, closing, entering and using declarations.
#include "bugcheck/declarations/declarative_levels.h"

#include <bit>

namespace flawseek {

void DeclarativeLevels::reset() {
  // The levels above the deepest one opened are still as the last reset left them.
  for (int depth = 0; depth <= deepest_; ++depth) {
    DeclarativeLevel& level = levels_[static_cast<std::size_t>(depth)];
    for (PendingNames& list : level.pending) list.clear();
    for (auto& list : level.entered) list.clear();
    level.not_recorded = false;
    level.entries.clear();
    level.entry_state = EntryCallState::OUTSIDE;
  }
  declared_.clear();
  levels_of_.clear();
  entered_filter_.clear();
  current_ = 0;
  deepest_ = 0;
}

void DeclarativeLevels::drop_open_levels() {
  while (current_ > 0) close();
  levels_[0].entry_state = EntryCallState::OUTSIDE;
}

void DeclarativeLevels::open() {
  if (current_ < max_declarative_level) ++current_;
  if (current_ > deepest_) deepest_ = current_;
  DeclarativeLevel& level = current_level();
  level.not_recorded = false;
  level.entry_state = EntryCallState::OUTSIDE;
}

void DeclarativeLevels::forget(int level, std::size_t group, const std::vector<std::uint32_t>& numbers) {
  for (const std::uint32_t number : numbers) levels_of_[number][group] &= ~(std::uint32_t{1} << level);
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
  if (item.name.empty()) {
    // No use names it: it stays pending under a number no name has.
    if (pending) level.pending[g].append(item, FoldedNameIndex::none);
    return;
  }
  entered_filter_.add(item.name);
  const std::uint32_t number = declared_.add(item.name);
  if (pending) level.pending[g].append(item, number);
  if (number == levels_of_.size()) levels_of_.push_back(LevelMasks{});
  level.entered[g].push_back(number);
  levels_of_[number][g] |= std::uint32_t{1} << current_;
}

std::uint32_t DeclarativeLevels::levels_holding(DeclarationGroup group, std::string_view name) const noexcept {
  const std::uint32_t number = declared_.find(name);
  return number == FoldedNameIndex::none ? 0 : levels_of_[number][static_cast<std::size_t>(group)];
}


void DeclarativeLevels::use_entered(unsigned groups, std::string_view name) {
  const std::uint32_t number = declared_.find(name);
  if (number == FoldedNameIndex::none) return;
  // The levels at and below the current one; the innermost that declares
  // the name in a group is the one the use refers to.
  const std::uint32_t visible = current_ >= 31 ? ~std::uint32_t{0} : (std::uint32_t{2} << current_) - 1;
  const LevelMasks masks = levels_of_[number];
  for (std::size_t g = 0; g < masks.size(); ++g) {
    if ((groups & (1u << g)) == 0) continue;
    const std::uint32_t levels = masks[g] & visible;
    if (levels == 0) continue;
    levels_[static_cast<std::size_t>(31 - std::countl_zero(levels))].pending[g].remove_numbered(number);
  }
}

void DeclarativeLevels::use(DeclarationGroup group, std::string_view name) {
  use(1u << static_cast<unsigned>(group), name);
}

}  // namespace flawseek
