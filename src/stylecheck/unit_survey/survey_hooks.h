// The hooks of the unit survey's parser instance: in the surveyed file they
// collect the irregular identifiers, the with list and the unit kind; in a
// withed specification they accept the irregular names it declares, and stop
// the parse once the specification shows that it follows the standard.
#pragma once

#include <algorithm>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "frontend/parser_hooks.h"
#include "stylecheck/identifier_rule.h"

namespace flawseek {

// Ends the parse of a withed specification that carries its own style
// command: such a specification declares nothing the survey could accept.
class TavikUnitStop : public std::runtime_error {
 public:
  TavikUnitStop() : std::runtime_error("TAVIK_UNIT.STOP") {}
};

enum class SurveyMode : std::uint8_t {
  SURVEYED_FILE,         // the file (or its own specification): collect
  WITHED_SPECIFICATION,  // a unit the file withs: accept what it declares
};

// What the parses of one survey collect.
struct SurveyCollection {
  std::vector<std::string> irregular_names;  // fail Mixed, in order, each once
  std::vector<std::string> accepted;         // irregular names a withed spec declares
  std::vector<std::string> with_list;        // withed unit names, each once
  bool is_specification = false;             // the last library unit is a declaration
  bool is_subprogram_body = false;           // the last library unit is a subprogram body
  bool style_command = false;                // "STYLE: TAVIK" or "TAVIK_95" seen

  void clear() {
    irregular_names.clear();
    accepted.clear();
    with_list.clear();
    is_specification = false;
    is_subprogram_body = false;
    style_command = false;
  }
};

struct SurveyHooks : EmptyHooks {
  static constexpr std::string_view exception_prefix = "TAVIK_UNIT.A95";

  explicit SurveyHooks(SurveyCollection& collection) : collection_(collection) {}

  void set_mode(SurveyMode mode) noexcept { mode_ = mode; }
  SurveyMode mode() const noexcept { return mode_; }

  void parse_started(ParserState&) { command_line_ = 0; }

  // The survey's reader met "STYLE: TAVIK" or "STYLE: TAVIK_95" on `line`.
  // The parser looks one token ahead, so the reader meets a command before
  // the hooks have seen the last token ahead of it: what counts is the line.
  void style_command_read(int line) {
    if (mode_ == SurveyMode::WITHED_SPECIFICATION) {
      if (command_line_ == 0) command_line_ = line;
      return;
    }
    // Only the identifiers after the command are held to the standard.
    collection_.style_command = true;
    collection_.irregular_names.clear();
    command_line_ = line;
  }

  // The check pass's spelling test decides, under the survey's rules (the
  // base rules with the Mixed identifier case, so no package-name or prefix
  // rule takes part); message 1 is what the survey collects.
  void identifier_accepted(ParserState& state) {
    if (mode_ == SurveyMode::SURVEYED_FILE) check_name_spelling(state, state.previous_token().text, nullptr);
  }
  void message(ParserState& state, ParserMessage message, std::string_view /*text*/) {
    if (message != ParserMessage::IDENTIFIER_SPELLING || mode_ != SurveyMode::SURVEYED_FILE) return;
    if (state.item_line() <= command_line_) return;
    add_once(collection_.irregular_names, state.previous_token().text);
  }

  void with_clause_name(ParserState&, std::string_view name) {
    if (mode_ == SurveyMode::SURVEYED_FILE) add_once(collection_.with_list, name);
  }
  void library_unit(ParserState&, LibraryUnitKind kind) {
    if (mode_ != SurveyMode::SURVEYED_FILE) return;
    collection_.is_subprogram_body = kind == LibraryUnitKind::SUBPROGRAM_BODY;
    collection_.is_specification = kind != LibraryUnitKind::SUBPROGRAM_BODY &&
                                   kind != LibraryUnitKind::PACKAGE_BODY && kind != LibraryUnitKind::SUBUNIT;
  }

  // Every declaration point: the declared name may be one the file misspells.
  // (The token consumed last stands on the declaration's line or after it.)
  void identifier_declared(ParserState& state, std::string_view name, IdentifierList) {
    declared(name, state.previous_token().line);
  }
  void name_declared(ParserState& state, std::string_view name, DeclarationCategory) {
    declared(name, state.previous_token().line);
  }
  void type_declared(ParserState&, std::string_view name, int line, int, TypeKind) { declared(name, line); }
  void entry_declared(ParserState& state, std::string_view name) { declared(name, state.previous_token().line); }
  void unit_defined(ParserState& state, std::string_view name, UnitKind) {
    // A child unit declares the last part of its name.
    const std::size_t dot = name.rfind('.');
    declared(dot == std::string_view::npos ? name : name.substr(dot + 1), state.previous_token().line);
  }

 private:
  static void add_once(std::vector<std::string>& list, std::string_view name) {
    if (std::find(list.begin(), list.end(), name) == list.end()) list.emplace_back(name);
  }

  void declared(std::string_view name, int line) {
    if (mode_ != SurveyMode::WITHED_SPECIFICATION) return;
    if (command_line_ != 0 && line > command_line_) throw TavikUnitStop();
    std::vector<std::string>& irregular = collection_.irregular_names;
    const auto place = std::find(irregular.begin(), irregular.end(), name);
    if (place == irregular.end()) return;
    // An irregular name fails Mixed by construction; it moves to the accepted.
    if (std::find(collection_.accepted.begin(), collection_.accepted.end(), name) == collection_.accepted.end()) {
      collection_.accepted.emplace_back(name);
    }
    irregular.erase(place);
  }

  SurveyCollection& collection_;
  SurveyMode mode_ = SurveyMode::SURVEYED_FILE;
  // The line of the parse's (first, in a withed specification) style
  // command; 0 before one is met.
  int command_line_ = 0;
};

}  // namespace flawseek
