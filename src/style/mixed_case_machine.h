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

// The table row of a state: the state's first entry.
constexpr std::uint16_t mixed_case_row(MixedCaseState state) { return static_cast<std::uint16_t>(state * 256); }

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

// The next row for each state's row and character.
inline constexpr std::array<std::uint16_t, mixed_case_state_count * 256> mixed_case_steps = [] {
  std::array<std::uint16_t, mixed_case_state_count * 256> steps{};
  for (int state = 0; state < mixed_case_state_count; ++state) {
    for (int code = 0; code < 256; ++code) {
      const auto next = mixed_case_step(static_cast<MixedCaseState>(state), static_cast<CharacterClass>(classes[code]));
      steps[static_cast<std::size_t>(state * 256 + code)] = mixed_case_row(next);
    }
  }
  return steps;
}();

}  // namespace case_classes

// Whether `text` passes the Mixed test (without the accepted spellings).
[[gnu::always_inline]] inline bool mixed_case_holds(std::string_view text) {
  using namespace case_classes;
  // One table step a character, and no test until the end: a failed name
  // stays failed, and most names pass.
  const auto* at = reinterpret_cast<const unsigned char*>(text.data());
  const auto* const end = at + text.size();
  std::size_t row = mixed_case_row(WORD_START);
  for (; end - at >= 4; at += 4) {
    row = mixed_case_steps[row + at[0]];
    row = mixed_case_steps[row + at[1]];
    row = mixed_case_steps[row + at[2]];
    row = mixed_case_steps[row + at[3]];
  }
  switch (end - at) {
    case 3: row = mixed_case_steps[row + *at++]; [[fallthrough]];
    case 2: row = mixed_case_steps[row + *at++]; [[fallthrough]];
    case 1: row = mixed_case_steps[row + *at]; break;
    default: break;
  }
  return row != mixed_case_row(FAILED);
}

}  // namespace flawseek
