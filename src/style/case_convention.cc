// The case test of a spelling against a convention.
#include "style/case_convention.h"

#include <array>
#include <cstdint>

#include "platform/latin1.h"

namespace flawseek {

namespace {

// Each byte's part in the case tests, looked up once per character.
enum CharacterClass : std::uint8_t { OTHER = 0, UPPER = 1, LOWER = 2, UNDERSCORE = 3 };
constexpr int class_count = 4;

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

constexpr std::array<std::uint8_t, 256> classes = make_classes();

CharacterClass class_of(char c) { return static_cast<CharacterClass>(classes[static_cast<unsigned char>(c)]); }

bool has_class(std::string_view text, CharacterClass wanted) {
  for (char c : text) {
    if (class_of(c) == wanted) return true;
  }
  return false;
}

// The Mixed test as a table of word states: per word, the first character,
// then the letter that fixes the word's case. FAILED absorbs the rest.
enum WordState : std::uint8_t { AT_FIRST_CHARACTER, AWAITING_CASE_LETTER, CASE_IS_UPPER, CASE_IS_LOWER, FAILED };
constexpr int word_state_count = 5;

constexpr std::array<std::uint8_t, word_state_count * class_count> mixed_case_steps = {
    // OTHER, UPPER, LOWER, UNDERSCORE
    AWAITING_CASE_LETTER, AWAITING_CASE_LETTER, FAILED,        AT_FIRST_CHARACTER,  // AT_FIRST_CHARACTER
    AWAITING_CASE_LETTER, CASE_IS_UPPER,        CASE_IS_LOWER, AT_FIRST_CHARACTER,  // AWAITING_CASE_LETTER
    CASE_IS_UPPER,        CASE_IS_UPPER,        FAILED,        AT_FIRST_CHARACTER,  // CASE_IS_UPPER
    CASE_IS_LOWER,        FAILED,               CASE_IS_LOWER, AT_FIRST_CHARACTER,  // CASE_IS_LOWER
    FAILED,               FAILED,               FAILED,        FAILED,              // FAILED
};

}  // namespace

bool is_mixed_case(std::string_view text) {
  unsigned state = AT_FIRST_CHARACTER;
  for (char c : text) state = mixed_case_steps[state * class_count + class_of(c)];
  return state != FAILED;
}

bool follows_case(std::string_view text, CaseConvention convention, const AcceptedSpellings* accepted) {
  switch (convention) {
    case CaseConvention::Any:
      return true;
    case CaseConvention::Lower:
      return !has_class(text, UPPER);
    case CaseConvention::Upper:
      return !has_class(text, LOWER);
    case CaseConvention::Mixed:
      return is_mixed_case(text) || (accepted != nullptr && accepted->contains(text));
  }
  throw InvalidCaseConvention();
}

std::string_view image(CaseConvention convention) {
  switch (convention) {
    case CaseConvention::Any: return "Any";
    case CaseConvention::Lower: return "Lower";
    case CaseConvention::Upper: return "Upper";
    case CaseConvention::Mixed: return "Mixed";
  }
  return "Invalid";
}

}  // namespace flawseek
