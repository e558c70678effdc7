// Whether a text holds an upper- or a lower-case letter: the Lower and Upper
// case tests. The word steps run them on every reserved word, attribute and
// pragma name, nearly all short and plain ASCII, so they are inline and read
// a word at a time; a longer text, or one with a byte above 127, is read
// character by character through the Latin-1 classes.
#pragma once

#include <string_view>

#include "platform/text_scan/ascii_words.h"
#include "style/mixed_case_machine.h"

namespace flawseek {

namespace letter_case_scan {

// The slow way, for Latin-1 or long text.
bool has_class_by_table(std::string_view text, case_classes::CharacterClass wanted) noexcept;

}  // namespace letter_case_scan

// What a reading of a text for letters of one class found: none, one at
// least, or nothing certain: a byte above 127, which only the Latin-1
// classes can judge, or a text longer than the reading takes.
using LetterScan = text_scan::ShortScan;

// The letters of class `wanted` (UPPER or LOWER) in plain ASCII text of up
// to sixteen characters, read as two covering readings.
inline LetterScan scan_ascii_letters(std::string_view text, case_classes::CharacterClass wanted) noexcept {
  return wanted == case_classes::UPPER ? text_scan::find_ascii_within(text, 'A', 'Z')
                                       : text_scan::find_ascii_within(text, 'a', 'z');
}

// The same reading for a reserved word, which is ASCII letters alone (the
// scanner matches it against the word list in either case). A word of more
// than sixteen characters is UNDECIDED; a text that is not a reserved word
// gets a wrong answer.
inline LetterScan scan_reserved_word(std::string_view word, case_classes::CharacterClass wanted) noexcept {
  return text_scan::find_letter_case(word, wanted == case_classes::UPPER);
}

// Whether `text` holds a letter of class `wanted` (UPPER or LOWER).
inline bool has_letter_of_class(std::string_view text, case_classes::CharacterClass wanted) noexcept {
  const LetterScan scan = scan_ascii_letters(text, wanted);
  if (scan == LetterScan::UNDECIDED) return letter_case_scan::has_class_by_table(text, wanted);
  return scan == LetterScan::FOUND;
}

}  // namespace flawseek
