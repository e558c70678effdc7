// The last ten source lines as delivered to the parser (comments cut), kept so
// a finding can carry the text of its line. Slot = line number modulo 10, so a
// line more than nine lines back has been overwritten by a newer one.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

namespace flawseek {

class LineRing {
 public:
  static constexpr int slot_count = 10;

  // Every line of every file is stored. A line that lies in the source
  // itself (`lasting`: it stays where it is until the ring is cleared) is
  // kept as a view, which is most lines; any other is copied into a buffer
  // that already has room. A slot grows only for a line longer than any it
  // held before.
  void store(std::int32_t line, std::string_view text, bool lasting) {
    Slot& s = slots_[slot(line)];
    if (lasting) {
      s.view = text;
      return;
    }
    copy(s, text);
  }
  std::string_view text(std::int32_t line) const noexcept { return slots_[slot(line)].view; }
  // Before the source a view may lie in goes away.
  void clear() noexcept {
    for (auto& s : slots_) s.view = {};
  }

 private:
  struct Slot {
    std::string_view view;  // the line: in the source, or in `text`
    std::unique_ptr<char[]> text;
    std::size_t capacity = 0;
  };

  // Line numbers are counted from 1: the remainder of a positive number is
  // a multiply and a shift; only a number below 0 takes the longer way.
  static std::size_t slot(std::int32_t line) noexcept {
    if (line >= 0) return static_cast<std::uint32_t>(line) % slot_count;
    const std::int32_t r = line % slot_count;
    return static_cast<std::size_t>(r < 0 ? r + slot_count : r);
  }
  // Out of line, so a store that keeps a view saves no registers for it.
  [[gnu::noinline]] static void copy(Slot& s, std::string_view text) {
    if (text.size() > s.capacity) grow(s, text.size());
    if (!text.empty()) std::memcpy(s.text.get(), text.data(), text.size());
    s.view = {s.text.get(), text.size()};
  }
  // Room for `size` characters, and some more so a run of slightly longer
  // lines does not grow the slot each time.
  [[gnu::noinline]] static void grow(Slot& s, std::size_t size) {
    const std::size_t capacity = size < 128 ? 128 : size + size / 2;
    s.text = std::make_unique_for_overwrite<char[]>(capacity);
    s.capacity = capacity;
  }

  std::array<Slot, slot_count> slots_;
};

}  // namespace flawseek
