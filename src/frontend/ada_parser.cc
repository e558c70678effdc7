// Helpers of the Ada parser that need no instance.
#include "frontend/ada_parser.h"

#include "platform/latin1.h"

namespace flawseek {

bool same_name(std::string_view a, std::string_view b) noexcept { return latin1::equal_ignoring_case(a, b); }

bool starts_with_word(std::string_view text, std::string_view word) noexcept {
  if (text.size() < word.size() || !same_name(text.substr(0, word.size()), word)) return false;
  if (text.size() == word.size()) return true;
  const unsigned char next = static_cast<unsigned char>(text[word.size()]);
  return !(latin1::is_letter(next) || latin1::is_digit(next) || next == '_');
}

}  // namespace flawseek
