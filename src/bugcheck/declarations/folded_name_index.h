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
#include <cstring>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "platform/latin1.h"

namespace flawseek {

// Each byte's lower-case form, looked up once per character.
inline constexpr std::array<unsigned char, 256> name_folds = [] {
  std::array<unsigned char, 256> folds{};
  for (int code = 0; code < 256; ++code) folds[code] = latin1::to_lower(static_cast<unsigned char>(code));
  return folds;
}();

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
    fold_in_place(folded_.data() + slot.offset, name.size());
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

  static unsigned char fold(char c) noexcept { return name_folds[static_cast<unsigned char>(c)]; }

  static constexpr std::uint64_t byte_ones = 0x0101010101010101u;
  static constexpr std::uint64_t byte_tops = byte_ones * 0x80;

  // The `count` (1 to 8) characters at `at` as one little-endian word, zero
  // bytes above them. Overlapping loads: nothing after them is read.
  static std::uint64_t load_chunk(const char* at, std::size_t count) noexcept {
    if (count == 8) return load<std::uint64_t>(at);
    if (count >= 4) return load<std::uint32_t>(at) | std::uint64_t{load<std::uint32_t>(at + count - 4)} << (8 * (count - 4));
    const auto byte = [at](std::size_t i) { return std::uint64_t{static_cast<unsigned char>(at[i])} << (8 * i); };
    return byte(0) | byte(count / 2) | byte(count - 1);
  }
  template <class Word>
  static Word load(const char* at) noexcept {
    Word word;
    std::memcpy(&word, at, sizeof word);
    return word;
  }

  // A chunk's characters folded. Plain ASCII needs only its capitals given
  // bit 5 (the sums stay within their bytes below 0x80); a chunk with a
  // byte above goes through the table.
  static std::uint64_t fold_chunk(std::uint64_t chunk) noexcept {
    if ((chunk & byte_tops) != 0) return fold_bytes(chunk);
    const std::uint64_t capitals = (chunk + byte_ones * (0x80 - 'A')) & ~(chunk + byte_ones * (0x80 - 'Z' - 1)) & byte_tops;
    return chunk | capitals >> 2;
  }
  static std::uint64_t fold_bytes(std::uint64_t chunk) noexcept {
    std::uint64_t folded = 0;
    for (int shift = 0; shift < 64; shift += 8) folded |= std::uint64_t{fold(static_cast<char>(chunk >> shift))} << shift;
    return folded;
  }
  static std::size_t chunk_size(std::size_t at, std::size_t size) noexcept { return std::min<std::size_t>(8, size - at); }

  template <class Word>
  static void fold_word_at(char* at) noexcept {
    const Word folded = static_cast<Word>(fold_chunk(load<Word>(at)));
    std::memcpy(at, &folded, sizeof folded);
  }
  // The `size` characters at `text` folded where they stand, a word at a
  // time. Folding a folded character changes nothing, so the last word may
  // overlap the one before it and nothing outside the name is touched.
  static void fold_in_place(char* text, std::size_t size) noexcept {
    if (size >= 8) {
      for (std::size_t at = 0; at + 8 < size; at += 8) fold_word_at<std::uint64_t>(text + at);
      fold_word_at<std::uint64_t>(text + size - 8);
    } else if (size >= 4) {
      fold_word_at<std::uint32_t>(text);
      fold_word_at<std::uint32_t>(text + size - 4);
    } else {
      for (std::size_t i = 0; i < size; ++i) text[i] = static_cast<char>(fold(text[i]));
    }
  }

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
      head = fold_chunk(load_chunk(name.data(), chunk_size(0, name.size())));
      hash = (hash ^ head) * 0xFF51AFD7ED558CCDu;
    }
    for (std::size_t at = 8; at < name.size(); at += 8) {
      hash = (hash ^ fold_chunk(load_chunk(name.data() + at, chunk_size(at, name.size())))) * 0xFF51AFD7ED558CCDu;
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
      if (load_chunk(folded + at, count) != fold_chunk(load_chunk(name.data() + at, count))) return false;
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
