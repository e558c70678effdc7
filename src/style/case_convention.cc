// The case test of a spelling against a convention.
#include "style/case_convention.h"

#include "platform/latin1.h"

namespace flawseek {

namespace {

bool has_upper(std::string_view text) {
  for (char c : text) {
    if (latin1::is_upper(static_cast<unsigned char>(c))) return true;
  }
  return false;
}

bool has_lower(std::string_view text) {
  for (char c : text) {
    if (latin1::is_lower(static_cast<unsigned char>(c))) return true;
  }
  return false;
}

}  // namespace

bool is_mixed_case(std::string_view text) {
  // Per word: the first character, then the letter that fixes the word's case.
  enum class WordState : std::uint8_t { AtFirstCharacter, AwaitingCaseLetter, CaseIsUpper, CaseIsLower };
  WordState state = WordState::AtFirstCharacter;
  for (char raw : text) {
    const unsigned char c = static_cast<unsigned char>(raw);
    if (c == '_') {
      state = WordState::AtFirstCharacter;
      continue;
    }
    switch (state) {
      case WordState::AtFirstCharacter:
        if (latin1::is_lower(c)) return false;
        state = WordState::AwaitingCaseLetter;
        break;
      case WordState::AwaitingCaseLetter:
        if (latin1::is_upper(c)) state = WordState::CaseIsUpper;
        else if (latin1::is_lower(c)) state = WordState::CaseIsLower;
        break;
      case WordState::CaseIsUpper:
        if (latin1::is_lower(c)) return false;
        break;
      case WordState::CaseIsLower:
        if (latin1::is_upper(c)) return false;
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
      return !has_upper(text);
    case CaseConvention::Upper:
      return !has_lower(text);
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
