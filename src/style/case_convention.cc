// The case test of a spelling against a convention.
#include "style/case_convention.h"

#include "style/letter_case_scan.h"

namespace flawseek {

namespace letter_case_scan {

bool has_class_by_table(std::string_view text, case_classes::CharacterClass wanted) noexcept {
  for (char c : text) {
    if (case_classes::class_of(c) == wanted) return true;
  }
  return false;
}

}  // namespace letter_case_scan

namespace {

using namespace case_classes;

}  // namespace

bool is_mixed_case(std::string_view text) { return mixed_case_holds(text); }

bool follows_case(std::string_view text, CaseConvention convention, const AcceptedSpellings* accepted) {
  switch (convention) {
    case CaseConvention::Any:
      return true;
    case CaseConvention::Lower:
      return !has_letter_of_class(text, UPPER);
    case CaseConvention::Upper:
      return !has_letter_of_class(text, LOWER);
    case CaseConvention::Mixed:
      return follows_mixed_case(text, accepted);
  }
  throw InvalidCaseConvention();
}

bool breaks_case(std::string_view text, CaseConvention convention, const AcceptedSpellings* accepted) {
  // Mixed first: it is the identifier case wherever names are judged.
  if (convention == CaseConvention::Mixed) return !follows_mixed_case(text, accepted);
  return !follows_case(text, convention, accepted);
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
