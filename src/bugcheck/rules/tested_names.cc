// The names compared with null, kept for the access-value rules.
#include "bugcheck/rules/tested_names.h"

#include <utility>

namespace flawseek {

namespace {

// `name` is `set` or a name selected through it, in any letter case.
bool set_through(std::string_view set, std::string_view name) noexcept {
  if (name.size() < set.size()) return false;
  if (name.size() > set.size() && name[set.size()] != '.') return false;
  return same_name(set, name.substr(0, set.size()));
}

}  // namespace

bool TestedNames::add(std::string_view name) {
  if (size_ == capacity) return false;
  if (size_ == names_.size()) names_.emplace_back();
  names_[size_++].assign(name);
  return true;
}

std::size_t TestedNames::remove_set(std::string_view set) noexcept {
  std::size_t kept = 0;
  for (std::size_t i = 0; i < size_; ++i) {
    if (set_through(set, names_[i])) continue;
    if (kept != i) std::swap(names_[kept], names_[i]);
    ++kept;
  }
  const std::size_t removed = size_ - kept;
  size_ = kept;
  return removed;
}

}  // namespace flawseek
