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
// the row the last step pointed to, with no index to work out.
struct MixedCaseMachine {
  struct Row {
    std::array<const Row*, 256> next;
  };
  std::array<Row, mixed_case_state_count> rows;

  constexpr MixedCaseMachine() : rows{} {
    for (int state = 0; state < mixed_case_state_count; ++state) {
      for (int code = 0; code < 256; ++code) {
        const auto next = mixed_case_step(static_cast<MixedCaseState>(state), static_cast<CharacterClass>(classes[code]));
        rows[static_cast<std::size_t>(state)].next[static_cast<std::size_t>(code)] = &rows[next];
      }
    }
  }
  MixedCaseMachine(const MixedCaseMachine&) = delete;
  MixedCaseMachine& operator=(const MixedCaseMachine&) = delete;
};

inline constexpr MixedCaseMachine mixed_case_machine{};

}  // namespace case_classes

// Whether `text` passes the Mixed test (without the accepted spellings).
[[gnu::always_inline]] inline bool mixed_case_holds(std::string_view text) {
  using namespace case_classes;
  // One step a character, and no test until the end: a failed name stays
  // failed, and most names pass.
  const auto* at = reinterpret_cast<const unsigned char*>(text.data());
  std::size_t left = text.size();
  const MixedCaseMachine::Row* row = &mixed_case_machine.rows[WORD_START];
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
  return row != &mixed_case_machine.rows[FAILED];
}

}  // namespace flawseek
