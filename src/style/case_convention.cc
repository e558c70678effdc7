// The case test of a spelling against a convention.
#include "style/case_convention.h"

#include <array>
#include <cstdint>

#include "platform/latin1.h"

namespace flawseek {

namespace {

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

constexpr std::array<std::uint8_t, 256> classes = make_classes();

CharacterClass class_of(char c) { return static_cast<CharacterClass>(classes[static_cast<unsigned char>(c)]); }

bool has_class(std::string_view text, CharacterClass wanted) {
  for (char c : text) {
    if (class_of(c) == wanted) return true;
  }
  return false;
}

}  // namespace

bool is_mixed_case(std::string_view text) {
  // Per word: the first character, then the letter that fixes the word's case.
  // Branches, not a table of states: a table makes every character wait for
  // the load of the state the one before chose.
  enum class WordState : std::uint8_t { AtFirstCharacter, AwaitingCaseLetter, CaseIsUpper, CaseIsLower };
  WordState state = WordState::AtFirstCharacter;
  for (char c : text) {
    const CharacterClass kind = class_of(c);
    if (kind == UNDERSCORE) {
      state = WordState::AtFirstCharacter;
      continue;
    }
    switch (state) {
      case WordState::AtFirstCharacter:
        if (kind == LOWER) return false;
        state = WordState::AwaitingCaseLetter;
        break;
      case WordState::AwaitingCaseLetter:
        if (kind == UPPER) state = WordState::CaseIsUpper;
        else if (kind == LOWER) state = WordState::CaseIsLower;
        break;
      case WordState::CaseIsUpper:
        if (kind == LOWER) return false;
        break;
      case WordState::CaseIsLower:
        if (kind == UPPER) return false;
        break;
    }
  }
  return true;
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
