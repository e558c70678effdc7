// Small text helpers on file names and words, shared by the search, the
// per-file driver and the style rules. Paths use "/" as the separator.
#pragma once

#include <string>
#include <string_view>

namespace flawseek {

// The file name without its directory and without its extension:
// "/src/pkg_.ada" gives "pkg_".
std::string_view base_name(std::string_view path);
// The text after the last '.'; empty when there is none or a '/' follows it.
std::string_view extension(std::string_view path);
// The text before the last '/'; empty when there is none.
std::string_view directory(std::string_view path);
// No character is a (Latin-1) upper-case / lower-case letter.
bool has_no_upper_case(std::string_view text);
bool has_no_lower_case(std::string_view text);
// '_' becomes a blank, runs of blanks collapse, leading and trailing blanks go,
// each word is capitalised: "WITH_CLAUSE" gives "With Clause".
std::string words(std::string_view text);

// The text without its leading and trailing blanks.
std::string_view trim_blanks(std::string_view text);

// Case-blind equality of two Ada names (Latin-1).
bool same_name(std::string_view a, std::string_view b) noexcept;
// The text starts with the reserved word `word` (lower case), not followed by an
// identifier character: "record;" starts with "record", "records" does not.
bool starts_with_word(std::string_view text, std::string_view word) noexcept;

}  // namespace flawseek
