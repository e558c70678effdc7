// The blocks of kept texts.
#include "findings/text_pool.h"

#include <algorithm>

namespace flawseek {

namespace {
// A longer text gets a block of its own.
constexpr std::size_t block_size = 1 << 20;
}  // namespace

std::uint32_t TextPool::keep(std::string_view text) {
  if (text.empty()) return no_text;
  if (blocks_.empty() || blocks_.back().capacity() - blocks_.back().size() < text.size()) {
    blocks_.emplace_back().reserve(std::max(block_size, text.size()));
  }
  std::string& block = blocks_.back();
  const std::size_t at = block.size();
  block.append(text);  // within the room reserved: the block never moves
  texts_.emplace_back(block.data() + at, text.size());
  return static_cast<std::uint32_t>(texts_.size() - 1);
}

void TextPool::clear() {
  blocks_.clear();
  texts_.clear();
}

std::size_t TextPool::memory_bytes() const {
  std::size_t bytes = texts_.capacity() * sizeof(std::string_view);
  for (const std::string& block : blocks_) bytes += block.capacity();
  return bytes;
}

}  // namespace flawseek
