// A set of the literals of a small enumeration, one bit each, usable in
// constant expressions: the kinds a rule acts on, the rule books that switch
// a check on, the parser messages that become a finding.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>

namespace flawseek {

template <class Enum, int Size>
class EnumSet {
 public:
  constexpr EnumSet() = default;
  constexpr EnumSet(std::initializer_list<Enum> members) {
    for (Enum member : members) insert(member);
  }

  constexpr void insert(Enum member) { words_[word(member)] |= bit(member); }
  constexpr bool contains(Enum member) const { return (words_[word(member)] & bit(member)) != 0; }
  constexpr bool empty() const {
    for (std::uint64_t w : words_) {
      if (w != 0) return false;
    }
    return true;
  }
  constexpr int size() const {
    int count = 0;
    for (int position = 0; position < Size; ++position) count += contains(static_cast<Enum>(position)) ? 1 : 0;
    return count;
  }

  friend constexpr EnumSet operator|(EnumSet a, const EnumSet& b) {
    for (std::size_t i = 0; i < a.words_.size(); ++i) a.words_[i] |= b.words_[i];
    return a;
  }
  friend constexpr EnumSet operator&(EnumSet a, const EnumSet& b) {
    for (std::size_t i = 0; i < a.words_.size(); ++i) a.words_[i] &= b.words_[i];
    return a;
  }
  friend constexpr bool operator==(const EnumSet&, const EnumSet&) = default;

 private:
  static constexpr std::size_t word(Enum member) { return static_cast<std::size_t>(member) / 64; }
  static constexpr std::uint64_t bit(Enum member) { return std::uint64_t{1} << (static_cast<std::size_t>(member) % 64); }

  std::array<std::uint64_t, (Size + 63) / 64> words_{};
};

}  // namespace flawseek
