// The last ten source lines as delivered to the parser (comments cut), kept so
// a finding can carry the text of its line. Slot = line number modulo 10, so a
// line more than nine lines back has been overwritten by a newer one.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace flawseek {

class LineRing {
 public:
  static constexpr int slot_count = 10;

  // The slots keep their capacity, so storing a line rarely allocates.
  void store(std::int32_t line, std::string_view text) { slots_[slot(line)].assign(text); }
  std::string_view text(std::int32_t line) const noexcept { return slots_[slot(line)]; }
  void clear() noexcept {
    for (auto& s : slots_) s.clear();
  }

 private:
  static std::size_t slot(std::int32_t line) noexcept {
    const std::int32_t r = line % slot_count;
    return static_cast<std::size_t>(r < 0 ? r + slot_count : r);
  }

  std::array<std::string, slot_count> slots_;
};

}  // namespace flawseek
