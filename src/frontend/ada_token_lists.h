// The keyword and symbol lists that configure the scanners, built from the Ada
// token tables, and factories for the two scanner configurations of the system:
// the Ada source scanner of the parser instances and the comment-command scanner.
#pragma once

#include <string>
#include <string_view>

#include "frontend/ada_version.h"
#include "frontend/text_parser.h"

namespace flawseek {

// "$end$if$then$...$separate$": the reserved words of `version` in AdaKeyword
// order, so a keyword's list position is its AdaKeyword value (set_keywords
// upper-cases it).
const std::string& ada_keyword_list(AdaVersion version = AdaVersion::ADA_2022);
// "$;$.$,$:=$...$>>$": the delimiters of `version` in AdaSymbol order.
const std::string& ada_symbol_list(AdaVersion version = AdaVersion::ADA_2022);

// The symbol list of the comment commands: "," is symbol 0 and ":" symbol 1.
inline constexpr std::string_view command_symbol_list = "$,$:$";
inline constexpr int command_symbol_comma = 0;
inline constexpr int command_symbol_colon = 1;

// Longest line of the Ada source scanners and of the comment-command scanners.
inline constexpr int ada_max_line_length = 400;
inline constexpr int command_max_line_length = 255;

// "$word$word$...$" from a list of words, in order; "" for no words.
std::string make_keyword_list(const std::string_view* words, std::size_t count);

// The scanner of a parser instance: lines of up to 400 characters, Ada numbers,
// Latin-1 letters, the Ada keyword list, the delimiters of every level (Ada
// 95's), lines from `reader`.
TextParser make_ada_scanner(LineSource* reader);

// The scanner of a comment-command parser: lines of up to 255 characters, Ada
// numbers, 7-bit letters, the caller's keyword list ("$CNR$ENR$...$") and the
// given symbol list. It scans one text given with set_text and needs no line
// source: the end of that text is the end of the source. Throws
// IncorrectKeywordList / IncorrectSymbolList for a malformed list.
TextParser make_command_scanner(std::string_view keyword_list,
                                std::string_view symbol_list = command_symbol_list);

}  // namespace flawseek
