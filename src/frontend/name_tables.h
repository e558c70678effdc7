// The name tables of the parser instances: attribute designators (standard and
// extended), the words of embedded SQL, the Boolean literals and the predefined
// types of package Standard. Lookups ignore letter case and allocate nothing.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "frontend/ada_version.h"

namespace flawseek {

class TextParser;

// Each table has a fixed identity, so a lookup names its table cheaply.
enum class NameTable : std::uint8_t {
  StandardAttributes,  // the 87 language-defined attribute names GNAT takes in Ada 95 mode
  ExtendedAttributes,  // those followed by the 84 GNAT takes at every level (171)
  SqlStart,            // "exec"
  SqlClauseWords,      // "exec", "group", "having", "set", "order", "union", "update", "where"
  SqlInsert,           // "insert"
  SqlInto,             // "into"
  SqlFrom,             // "from"
  BooleanLiterals,     // "FALSE", "TRUE"
  PredefinedTypes,     // "BOOLEAN", "CHARACTER", ... "WIDE_STRING" (13)
};

inline constexpr int name_table_count = 9;
static_assert(static_cast<int>(NameTable::PredefinedTypes) + 1 == name_table_count);

// The entries of a table in their listed order and stored case (attribute and
// SQL words in lower case, Standard names in upper case).
std::span<const std::string_view> name_table_entries(NameTable table) noexcept;

// The 0-based position of `text` in the table, ignoring letter case; -1 if absent.
int find_word(NameTable table, std::string_view text) noexcept;

// `text` equals an entry of the table, ignoring letter case.
inline bool is_word(NameTable table, std::string_view text) noexcept {
  return find_word(table, text) >= 0;
}

// The current token of `scanner` is an Identifier or a Number whose text is an
// entry of the table (the test of Accept_Word).
bool is_word(NameTable table, const TextParser& scanner) noexcept;

// The attribute table of a parse: extended when the parse's extended-attributes
// flag is set.
constexpr NameTable attribute_table(bool extended) noexcept {
  return extended ? NameTable::ExtendedAttributes : NameTable::StandardAttributes;
}

// The lower-case designator handed to the attribute hooks: the table's entry
// for `text` ("size" for "SIZE"), or for the reserved words that designate
// attributes (ACCESS, DELTA, DIGITS, MOD, RANGE) their lower-case image. Empty when
// `text` designates no attribute of the table. The later levels' attributes
// ('Old, 'Result, 'Reduce, ...) are designators from their level on. The view
// is static storage.
std::string_view attribute_designator(NameTable table, std::string_view text,
                                      AdaVersion version = AdaVersion::ADA_95) noexcept;

}  // namespace flawseek
