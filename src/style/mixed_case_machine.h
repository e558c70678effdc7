// The letter classes of the case tests, and the Mixed test as a machine over
// a name's characters. In a header so the identifier step, which tests every
// name the parser reads, runs the machine inline rather than through two calls.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/latin1.h"

namespace flawseek {

namespace case_classes {

// Each byte's part in the case tests, looked up once per character.
enum CharacterClass : std::uint8_t { OTHER = 0, UPPER = 1, LOWER = 2, UNDERSCORE = 3 };

constexpr std::array<std::uint8_t, 256> make_classes() {
  std::array<std::uint8_t, 256> classes{};
  for (int code = 0; code < 256; ++code) {
    const auto c = static_cast<unsigned char>(code);
    if (c == '_') classes[code] = UNDERSCORE;
    else if (latin1::is_upper(c)) classes[code] = UPPER;
    else if (latin1::is_lower(c)) classes[code] = LOWER;
  }
  return classes;
}

inline constexpr std::array<std::uint8_t, 256> classes = make_classes();

inline CharacterClass class_of(char c) { return static_cast<CharacterClass>(classes[static_cast<unsigned char>(c)]); }

// The Mixed test read as a machine over the characters: each word (split
// at underscores) must start with a character that is not a lower-case
// letter, and the first letter after that fixes the case of the word's
// later letters.
enum MixedCaseState : std::uint8_t {
  WORD_START,    // before a word's first character
  FIRST_READ,    // after it, no later letter yet
  LATER_UPPER,   // the word's later letters are upper case
  LATER_LOWER,   // ... lower case
  FAILED,        // a word broke the rule; nothing mends it
};
inline constexpr int mixed_case_state_count = 5;

constexpr MixedCaseState mixed_case_step(MixedCaseState state, CharacterClass kind) {
  if (state == FAILED) return FAILED;
  if (kind == UNDERSCORE) return WORD_START;
  switch (state) {
    case WORD_START:
      return kind == LOWER ? FAILED : FIRST_READ;
    case FIRST_READ:
      return kind == UPPER ? LATER_UPPER : kind == LOWER ? LATER_LOWER : FIRST_READ;
    case LATER_UPPER:
      return kind == LOWER ? FAILED : LATER_UPPER;
    case LATER_LOWER:
      return kind == UPPER ? FAILED : LATER_LOWER;
    case FAILED:
      break;
  }
  return FAILED;
}

// The machine as rows of pointers, one row a state: a step is one load from
// the row the last step pointed to, with no index to work out. With
// `tells_high_bytes`, every state has a second row, reached once a byte above
// 127 is read: the same run then also answers whether the text is plain ASCII.
template <bool tells_high_bytes>
struct MixedCaseMachineOf {
  struct Row {
    std::array<const Row*, 256> next;
  };
  static constexpr int row_count = tells_high_bytes ? 2 * mixed_case_state_count : mixed_case_state_count;
  std::array<Row, row_count> rows;

  constexpr MixedCaseMachineOf() : rows{} {
    for (int row = 0; row < row_count; ++row) {
      const auto state = static_cast<MixedCaseState>(row % mixed_case_state_count);
      const bool high_read = row >= mixed_case_state_count;
      for (int code = 0; code < 256; ++code) {
        const int next = mixed_case_step(state, static_cast<CharacterClass>(classes[code])) +
                         (tells_high_bytes && (high_read || code > 127) ? mixed_case_state_count : 0);
        rows[static_cast<std::size_t>(row)].next[static_cast<std::size_t>(code)] = &rows[static_cast<std::size_t>(next)];
      }
    }
  }
  MixedCaseMachineOf(const MixedCaseMachineOf&) = delete;
  MixedCaseMachineOf& operator=(const MixedCaseMachineOf&) = delete;

  // The row the machine ends in after `text`, from WORD_START.
  [[gnu::always_inline]] const Row* run(std::string_view text) const {
    // One step a character, and no test until the end: a failed name stays
    // failed, and most names pass.
    const auto* at = reinterpret_cast<const unsigned char*>(text.data());
    std::size_t left = text.size();
    const Row* row = &rows[WORD_START];
    for (; left >= 4; left -= 4, at += 4) {
      row = row->next[at[0]];
      row = row->next[at[1]];
      row = row->next[at[2]];
      row = row->next[at[3]];
    }
    switch (left) {
      case 3: row = row->next[*at++]; [[fallthrough]];
      case 2: row = row->next[*at++]; [[fallthrough]];
      case 1: row = row->next[*at]; break;
      default: break;
    }
    return row;
  }
  // Whether the run ended passing with no byte above 127 read: those rows
  // lie side by side, so one unsigned comparison answers.
  bool passed_plain(const Row* row) const noexcept {
    static_assert(FIRST_READ + 1 == LATER_UPPER && LATER_UPPER + 1 == LATER_LOWER);
    return static_cast<std::size_t>(row - &rows[FIRST_READ]) <= LATER_LOWER - FIRST_READ;
  }
  bool failed(const Row* row) const noexcept {
    return row == &rows[FAILED] || (tells_high_bytes && row == &rows[FAILED + mixed_case_state_count]);
  }
  bool high_byte_read(const Row* row) const noexcept {
    return tells_high_bytes && row >= &rows[mixed_case_state_count];
  }
};

using MixedCaseMachine = MixedCaseMachineOf<false>;
inline constexpr MixedCaseMachine mixed_case_machine{};
// For the identifier step, which also tests every name for bytes above 127.
inline constexpr MixedCaseMachineOf<true> mixed_case_ascii_machine{};

}  // namespace case_classes

// Whether `text` passes the Mixed test (without the accepted spellings).
[[gnu::always_inline]] inline bool mixed_case_holds(std::string_view text) {
  using namespace case_classes;
  return !mixed_case_machine.failed(mixed_case_machine.run(text));
}

}  // namespace flawseek
