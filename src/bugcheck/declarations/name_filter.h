// A filter over a set of names, letter case ignored: one bit per key made
// of a name's length and its first and last letters. A name whose bit is
// clear is in no set the filter was told of, so the rules pass over most
// names without folding or hashing them; a set bit only means "look it up".
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "bugcheck/declarations/folded_name_index.h"

namespace flawseek {

class NameFilter {
 public:
  void add(std::string_view name) noexcept {
    const std::size_t key = key_of(name);
    bits_[key / 64] |= std::uint64_t{1} << (key % 64);
  }
  bool may_hold(std::string_view name) const noexcept {
    const std::size_t key = key_of(name);
    return (bits_[key / 64] & (std::uint64_t{1} << (key % 64))) != 0;
  }
  void clear() noexcept { bits_.fill(0); }

 private:
  static std::size_t key_of(std::string_view name) noexcept {
    if (name.empty()) return 0;
    const std::size_t first = name_folds[static_cast<unsigned char>(name.front())];
    const std::size_t last = name_folds[static_cast<unsigned char>(name.back())];
    return (name.size() * 7919u + first * 131u + last) & 1023u;
  }

  std::array<std::uint64_t, 16> bits_{};
};

}  // namespace flawseek
