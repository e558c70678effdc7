// Texts kept for as long as a store of findings lives, each named by a
// number: they lie in blocks that never move, so a store of hundreds of
// thousands of findings needs no allocation per text and never copies its
// texts to grow.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace flawseek {

class TextPool {
 public:
  static constexpr std::uint32_t no_text = 0xFFFFFFFF;

  // The number of a copy of `text`; no_text for an empty one.
  std::uint32_t keep(std::string_view text);
  std::string_view text(std::uint32_t number) const {
    return number == no_text ? std::string_view{} : texts_[number];
  }
  void clear();
  std::size_t memory_bytes() const;

 private:
  std::deque<std::string> blocks_;
  std::vector<std::string_view> texts_;
};

}  // namespace flawseek
