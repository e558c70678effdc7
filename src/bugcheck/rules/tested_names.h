// TestedNames: the names a condition or statement compared with null, and
// the covering test that tells whether a used name goes through one of them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "frontend/text_utilities.h"

namespace flawseek {

// `tested` covers `used` when `used` selects a component of, or dereferences,
// the access value `tested`: "P" covers "P.all" and "P.Next.Item", not "P"
// nor "Pa.X". The texts are compared as the parser delivers them.
inline bool covers(std::string_view tested, std::string_view used) noexcept {
  return used.size() > tested.size() && used[tested.size()] == '.' && used.substr(0, tested.size()) == tested;
}

// A list that keeps its strings between uses, so a warm list never allocates.
class TestedNames {
 public:
  // Far more than any real condition compares; a generated monster
  // condition must not make every later name walk a huge list.
  static constexpr std::size_t capacity = 100;

  bool empty() const noexcept { return size_ == 0; }
  std::size_t size() const noexcept { return size_; }
  std::string_view operator[](std::size_t i) const noexcept { return names_[i]; }
  void clear() noexcept { size_ = 0; }

  // False when the list is full (the name is then not kept).
  bool add(std::string_view name);

  bool covers_any(std::string_view used) const noexcept {
    for (std::size_t i = 0; i < size_; ++i) {
      if (covers(names_[i], used)) return true;
    }
    return false;
  }

  // The list holds `name` itself, in any letter case.
  bool holds(std::string_view name) const noexcept {
    for (std::size_t i = 0; i < size_; ++i) {
      if (same_name(names_[i], name)) return true;
    }
    return false;
  }

  // `set` gets a new value: forget it and every name selected through it
  // (after `R := Make;` a test of `R.Next` no longer holds). Returns how many
  // names were dropped.
  std::size_t remove_set(std::string_view set) noexcept;

 private:
  std::vector<std::string> names_;
  std::size_t size_ = 0;
};

}  // namespace flawseek
