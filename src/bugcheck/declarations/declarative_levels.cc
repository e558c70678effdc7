// The declarative levels: opening, closing, entering and using declarations.
#include "bugcheck/declarations/declarative_levels.h"

namespace flawseek {

void DeclarativeLevels::reset() {
  for (DeclarativeLevel& level : levels_) {
    for (NameList& list : level.pending) list.clear();
    for (NameList& list : level.all_names) list.clear();
    for (FoldedNameSet& index : level.all_names_index) index.clear();
    level.not_recorded = false;
    level.entries.clear();
    level.entry_state = EntryCallState::OUTSIDE;
  }
  declared_.clear();
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

void DeclarativeLevels::forget(const NameList& names) {
  for (const NameItem& item : names) {
    fold_name(item.name, folded_);
    auto found = declared_.find(folded_);
    if (found != declared_.end() && --found->second <= 0) declared_.erase(found);
  }
}

void DeclarativeLevels::close() {
  DeclarativeLevel& level = current_level();
  for (NameList& list : level.pending) list.clear();
  for (NameList& list : level.all_names) {
    forget(list);
    list.clear();
  }
  for (FoldedNameSet& index : level.all_names_index) {
    if (!index.empty()) index.clear();
  }
  level.entries.clear();
  level.entry_state = EntryCallState::OUTSIDE;
  if (current_ > 0) --current_;
}

void DeclarativeLevels::enter(DeclarationGroup group, const NameItem& item, bool pending) {
  DeclarativeLevel& level = current_level();
  if (level.not_recorded) return;
  const auto g = static_cast<std::size_t>(group);
  level.all_names[g].append(item);
  if (pending) level.pending[g].append(item);
  fold_name(item.name, folded_);
  ++declared_[folded_];
  level.all_names_index[g].insert(folded_);
}

bool DeclarativeLevels::holds(int level, DeclarationGroup group, std::string_view name) {
  const FoldedNameSet& index = levels_[static_cast<std::size_t>(level)].all_names_index[static_cast<std::size_t>(group)];
  if (index.empty()) return false;
  fold_name(name, folded_);
  return index.find(std::string_view(folded_)) != index.end();
}

bool DeclarativeLevels::maybe_declared(std::string_view name) {
  if (declared_.empty()) return false;
  fold_name(name, folded_);
  return declared_.find(folded_) != declared_.end();
}

void DeclarativeLevels::use(DeclarationGroup group, std::string_view name) {
  const auto g = static_cast<std::size_t>(group);
  fold_name(name, folded_);
  const std::string_view folded = folded_;
  for (int level = current_; level >= 0; --level) {
    DeclarativeLevel& here = levels_[static_cast<std::size_t>(level)];
    if (here.all_names_index[g].find(folded) == here.all_names_index[g].end()) continue;
    NameList& pending = here.pending[g];
    for (auto it = pending.begin(); it != pending.end();) {
      if (latin1::equal_ignoring_case(it->name, name)) {
        pending.remove(it++);
      } else {
        ++it;
      }
    }
    return;
  }
}

}  // namespace flawseek
