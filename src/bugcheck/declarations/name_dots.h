// The dots of a dotted name ("Ada.Text_IO.Put"), found up to 64 characters
// at a time. The declaration rules split nearly every name a file uses at its
// dots; names are short, and a library search per identifier cost more in
// the call than in the search.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/text_scan/byte_places.h"

namespace flawseek {

// A name with the dots of its first 64 characters found: the rules that
// split one used name at its dots share one search.
struct DottedName {
  explicit DottedName(std::string_view name) noexcept
      : text(name), head_dots(text_scan::byte_places(name.data(), name.size() < 64 ? name.size() : 64, '.')) {}

  // Known to hold no dot: most used names are one identifier, and the
  // rules take them without a walk over the dots. A name longer than 64
  // characters is never known so.
  bool one_identifier() const noexcept { return head_dots == 0 && text.size() <= 64; }

  std::string_view text;
  std::uint64_t head_dots;  // one bit a dot
};

// Calls `visit` with the place of each dot of `name`, in order.
template <class Visit>
void for_each_dot(const DottedName& name, Visit&& visit) {
  for (std::uint64_t dots = name.head_dots; dots != 0; dots &= dots - 1) {
    visit(static_cast<std::size_t>(std::countr_zero(dots)));
  }
  const char* const text = name.text.data();
  const std::size_t size = name.text.size();
  for (std::size_t base = 64; base < size; base += 64) {
    const std::size_t count = size - base < 64 ? size - base : 64;
    for (std::uint64_t dots = text_scan::byte_places(text + base, count, '.'); dots != 0; dots &= dots - 1) {
      visit(base + static_cast<std::size_t>(std::countr_zero(dots)));
    }
  }
}

template <class Visit>
void for_each_dot(std::string_view name, Visit&& visit) {
  for_each_dot(DottedName(name), visit);
}

}  // namespace flawseek
