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

// The bits a word's later characters set when they hold letters of both cases.
constexpr unsigned both_cases = (1u << UPPER) | (1u << LOWER);

CharacterClass class_of(char c) { return static_cast<CharacterClass>(classes[static_cast<unsigned char>(c)]); }

bool has_class(std::string_view text, CharacterClass wanted) {
  for (char c : text) {
    if (class_of(c) == wanted) return true;
  }
  return false;
}

}  // namespace

bool is_mixed_case(std::string_view text) {
  // Word by word: the first character must not be a lower-case letter, and
  // the letters after it must not be of both cases (the first of them fixes
  // the word's case). The classes of a word's later characters are gathered
  // without a branch each and judged once, at the word's end: most words
  // pass, so a test per character would only slow them down.
  const char* const characters = text.data();
  const std::size_t size = text.size();
  std::size_t at = 0;
  while (at < size) {
    const CharacterClass first = class_of(characters[at++]);
    if (first == UNDERSCORE) continue;
    if (first == LOWER) return false;
    unsigned later = 0;
    for (; at < size; ++at) {
      const CharacterClass kind = class_of(characters[at]);
      if (kind == UNDERSCORE) break;
      later |= 1u << kind;
    }
    if ((later & both_cases) == both_cases) return false;
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
      return is_mixed_case(text) || (accepted != nullptr && !accepted->empty() && accepted->contains(text));
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
