// Why a file of the GNAT corpus may draw a syntax error after all. GNAT
// compiles units of its own hierarchies (Ada, System, Interfaces, GNAT) with
// the later language's features even under -gnat95, so the corpus holds some
// Ada 2005/2012 syntax and attributes that are neither Ada 95's nor in the
// table of implementation-defined ones. Each entry is recognised by the line on
// which the parse stopped (or the line before it) and the word found there.
// Shared by the parser's oracle test and the whole-tree run of the program.
#pragma once

#include <cctype>
#include <string>
#include <string_view>

#include "frontend/name_tables.h"

namespace flawseek::corpus {

struct UnacceptedConstruct {
  const char* construct;
  const char* reason;
  bool (*matches)(std::string_view line, std::string_view token);
};

inline bool line_contains(std::string_view line, std::string_view part) {
  return line.find(part) != std::string_view::npos;
}

inline constexpr UnacceptedConstruct unaccepted_constructs[] = {
    {"private with clause", "Ada 2005",
     [](std::string_view line, std::string_view) { return line.substr(0, 12) == "private with"; }},
    {"null exclusion outside access parameters and discriminants", "Ada 2005",
     [](std::string_view line, std::string_view) { return line_contains(line, "not null"); }},
    {"aspect specification (package P with Aspect is)", "Ada 2012",
     [](std::string_view line, std::string_view token) {
       return line_contains(line, " with ") &&
              (token == "with" || token == "=>" || line_contains(line, "_Mode"));
     }},
    {"conditional or quantified expression ((if C then A else B), (for all X of C => P))", "Ada 2012",
     [](std::string_view line, std::string_view token) {
       return (token == "if" && line_contains(line, "(if ")) || (token == "for" && line_contains(line, "(for "));
     }},
    {"attribute of an operator function's result (\"=\"'Result)", "Ada 2012",
     [](std::string_view line, std::string_view) { return line_contains(line, "\"'Result"); }},
    {"box for some actuals of a formal package (P (X, <>))", "Ada 2005",
     [](std::string_view line, std::string_view token) { return token == "<>" || line_contains(line, ", <>"); }},
};

// The construct that excuses a syntax error at `token` on `line` (`before` is
// the line above it), or nullptr when nothing does.
inline const UnacceptedConstruct* excusing_construct(std::string_view line, std::string_view before,
                                                     std::string_view token) {
  for (const UnacceptedConstruct& entry : unaccepted_constructs) {
    if (entry.matches(line, token) || entry.matches(before, token)) return &entry;
  }
  return nullptr;
}

// An attribute designator outside both attribute tables (GNAT's newer ones,
// such as 'Small_Numerator): the designed answer is a syntax-error finding at
// the word, and the parse goes on. `column` (1-based) is where the word starts.
inline bool is_unknown_attribute_at(std::string_view line, int column) {
  if (column < 2 || static_cast<std::size_t>(column) > line.size()) return false;
  if (line[static_cast<std::size_t>(column) - 2] != '\'') return false;
  std::size_t start = static_cast<std::size_t>(column) - 1;
  std::size_t end = start;
  while (end < line.size() && (std::isalnum(static_cast<unsigned char>(line[end])) || line[end] == '_')) ++end;
  if (end == start) return false;
  return attribute_designator(NameTable::ExtendedAttributes, line.substr(start, end - start)).empty();
}

}  // namespace flawseek::corpus
