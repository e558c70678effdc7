// Numbers for names, letter case ignored (Latin-1), in order of first sight
// until cleared, so a rule can keep what it knows of each name in a vector.
//
// The declaration rules look up nearly every name a file uses. One flat table
// with the folded texts end to end in one string replaces a node per name:
// adding a name allocates nothing once the table has grown, a look-up folds
// and hashes the name as it reads it (no folded copy is built), and clearing
// for the next file touches nothing but two counters. Names are folded,
// hashed and compared eight characters at a time.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text_scan/case_folding.h"
#include "platform/text_scan/word_reads.h"

namespace flawseek {

// Each byte's lower-case form, looked up once per character.
inline constexpr const std::array<unsigned char, 256>& name_folds = text_scan::lower_case_bytes;

class FoldedNameIndex {
 public:
  static constexpr std::uint32_t none = std::numeric_limits<std::uint32_t>::max();

  // The number of `name` in any letter case, or `none`.
  std::uint32_t find(std::string_view name) const noexcept {
    if (count_ == 0) return none;
    const Key key = key_of(name);
    for (std::size_t at = key.hash & mask(); live(slots_[at]); at = (at + 1) & mask()) {
      if (matches(slots_[at], key, name)) return slots_[at].number;
    }
    return none;
  }

  // The number of `name` in any letter case; a new name takes the next one.
  std::uint32_t add(std::string_view name) {
    if ((count_ + 1) * 2 > slots_.size()) grow();
    const Key key = key_of(name);
    std::size_t at = key.hash & mask();
    for (; live(slots_[at]); at = (at + 1) & mask()) {
      if (matches(slots_[at], key, name)) return slots_[at].number;
    }
    Slot& slot = slots_[at];
    slot.generation = generation_;
    slot.hash = key.hash;
    slot.head = key.head;
    slot.number = static_cast<std::uint32_t>(count_++);
    slot.offset = folded_.size();
    slot.length = name.size();
    folded_.append(name);
    text_scan::lower_case_in_place(folded_.data() + slot.offset, name.size());
    return slot.number;
  }

  // Forgets every name; numbers start again at 0. A table grown large by
  // one file is given back, so later files do not carry its size around.
  void clear() noexcept {
    count_ = 0;
    folded_.clear();
    if (slots_.size() > kept_slots) {
      std::vector<Slot>().swap(slots_);
    } else if (++generation_ == 0) {
      // After four thousand million clears an old generation would come back.
      for (Slot& slot : slots_) slot.generation = 0;
      generation_ = 1;
    }
  }

  std::size_t size() const noexcept { return count_; }
  bool empty() const noexcept { return count_ == 0; }

 private:
  // A slot is in use when its generation is the index's: clearing just
  // moves the index to the next generation.
  struct Slot {
    std::uint32_t generation = 0;
    std::uint32_t hash = 0;
    std::uint64_t head = 0;  // the first eight characters folded, as Key::head
    std::uint32_t number = 0;
    std::size_t offset = 0;  // of the folded text in folded_
    std::size_t length = 0;
  };

  static constexpr std::size_t first_slots = 64;
  static constexpr std::size_t kept_slots = 4096;

  // The `count` (1 to 8) characters at `at` folded, as one word.
  static std::uint64_t folded_chunk(const char* at, std::size_t count) noexcept {
    return text_scan::lower_case_word(text_scan::load_partial_word(at, count));
  }
  static std::size_t chunk_size(std::size_t at, std::size_t size) noexcept { return std::min<std::size_t>(8, size - at); }

  // A name's hash and its first chunk folded: a slot keeps both, so most
  // comparisons of a name with a slot's end there, and a name of up to eight
  // characters is folded only once for the hash and the comparison.
  struct Key {
    std::uint32_t hash;
    std::uint64_t head;
  };

  // A multiply and mix per folded chunk, the length as the seed; the bits
  // are then spread so that the low ones, which choose the slot, depend on
  // every character.
  static Key key_of(std::string_view name) noexcept {
    std::uint64_t hash = name.size() * 0x9E3779B97F4A7C15u;
    std::uint64_t head = 0;
    if (!name.empty()) {
      head = folded_chunk(name.data(), chunk_size(0, name.size()));
      hash = (hash ^ head) * 0xFF51AFD7ED558CCDu;
    }
    for (std::size_t at = 8; at < name.size(); at += 8) {
      hash = (hash ^ folded_chunk(name.data() + at, chunk_size(at, name.size()))) * 0xFF51AFD7ED558CCDu;
    }
    hash ^= hash >> 33;
    hash *= 0xC4CEB9FE1A85EC53u;
    return {static_cast<std::uint32_t>(hash ^ (hash >> 29)), head};
  }

  std::size_t mask() const noexcept { return slots_.size() - 1; }
  bool live(const Slot& slot) const noexcept { return slot.generation == generation_; }

  bool matches(const Slot& slot, const Key& key, std::string_view name) const noexcept {
    if (slot.hash != key.hash || slot.length != name.size() || slot.head != key.head) return false;
    const char* folded = folded_.data() + slot.offset;
    for (std::size_t at = 8; at < name.size(); at += 8) {
      const std::size_t count = chunk_size(at, name.size());
      if (text_scan::load_partial_word(folded + at, count) != folded_chunk(name.data() + at, count)) return false;
    }
    return true;
  }

  // Twice the slots (the first time, first_slots), every name moved to its
  // place in the larger table.
  void grow() {
    std::vector<Slot> old(slots_.empty() ? first_slots : slots_.size() * 2);
    old.swap(slots_);
    const std::uint32_t old_generation = generation_;
    generation_ = 1;
    for (const Slot& slot : old) {
      if (slot.generation != old_generation) continue;
      std::size_t at = slot.hash & mask();
      while (live(slots_[at])) at = (at + 1) & mask();
      slots_[at] = slot;
      slots_[at].generation = generation_;
    }
  }

  std::vector<Slot> slots_;  // a power of two in number, at most half in use
  std::string folded_;       // the folded names, end to end
  std::uint32_t generation_ = 1;
  std::size_t count_ = 0;
};

}  // namespace flawseek
