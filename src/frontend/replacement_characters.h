// Ada's allowed replacements of characters: "!" for "|", ":" for "#" in based
// literals and "%" for the quotation marks of a string literal. The scanner's
// tables know only the standard delimiters, so a source line is rewritten to
// them before it is scanned; the rewrite keeps every column where it was.
#pragma once

#include <string>

namespace flawseek {

// Rewrites the replacement characters of `line` to the standard ones, in
// place and length for length: "!" becomes "|", the two ":" of a based literal
// (16:FF:) become "#", and the "%" delimiters of a string literal without a
// quotation mark inside become quotation marks. A "%%" inside such a literal
// stays as it is (it stands for one "%"). String and character literals are
// left alone. Returns whether anything changed.
bool use_standard_delimiters(std::string& line) noexcept;

}  // namespace flawseek
