// The letter-case conventions of the style rules, and the test of a spelling
// against one. Called for every keyword, identifier, attribute and pragma name
// of a style-checked parse, so it allocates nothing.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string_view>

#include "style/accepted_spellings.h"
#include "style/mixed_case_machine.h"

namespace flawseek {

// Stored as one byte inside StyleRules; Any switches the case rule off.
enum class CaseConvention : std::uint8_t {
  Any = 0,    // every spelling passes
  Lower = 1,  // no upper-case letter
  Upper = 2,  // no lower-case letter
  Mixed = 3,  // each underscore-separated word capitalised, rest of word one case
};

inline constexpr int case_convention_count = 4;
static_assert(static_cast<int>(CaseConvention::Mixed) + 1 == case_convention_count);

// A convention byte outside 0..3 can only come from a programming error (the
// built-in rule values hold none); it is reported, never guessed at.
class InvalidCaseConvention : public std::runtime_error {
 public:
  InvalidCaseConvention() : std::runtime_error("Style_Rules.Invalid_Case_Convention") {}
};

// The Mixed test alone: every word (split at underscores) starts with a
// character that is not a lower-case letter; the first letter after a word's
// first character fixes the case of the word's later letters. Latin-1 letter
// classes; digits and other non-letters are skipped.
bool is_mixed_case(std::string_view text);

// Whether text follows the convention. A text that fails Mixed still passes
// when it stands, spelled exactly so, among the accepted spellings (taken from
// the specifications that declare it); the exemption applies to Mixed only.
// Throws InvalidCaseConvention for a byte outside 0..3.
bool follows_case(std::string_view text, CaseConvention convention,
                  const AcceptedSpellings* accepted = nullptr);

// The Mixed convention with its accepted spellings. Inline: the identifier
// step tests every name it reads against it.
inline bool follows_mixed_case(std::string_view text, const AcceptedSpellings* accepted) {
  return mixed_case_holds(text) || accepts(accepted, text);
}

// The opposite answer, for callers that report a spelling breaking the
// convention: they hand the answer on as it is, and need no code after the
// call.
bool breaks_case(std::string_view text, CaseConvention convention,
                 const AcceptedSpellings* accepted = nullptr);

// "Any", "Lower", "Upper", "Mixed"; "Invalid" for a byte outside 0..3 (so a
// diagnostic message can name the bad value without throwing again).
std::string_view image(CaseConvention convention);

}  // namespace flawseek
