// A hooks type that records every hook call of the Ada parser as a line of
// text, and a helper that parses a source held in memory with it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "frontend/ada_line_reader.h"
#include "frontend/ada_parser.h"

namespace flawseek::testing_support {

struct RecordingHooks : EmptyHooks {
  static constexpr std::string_view exception_prefix = "TEST.A95";

  std::vector<std::string> log;
  std::vector<int> messages;
  FileRole role_seen = FileRole::SINGLE_FILE;

  void add(std::string line) { log.push_back(std::move(line)); }
  static std::string s(std::string_view v) { return std::string(v); }

  void parse_started(ParserState& state) { role_seen = state.file_role(); }
  void identifier_accepted(ParserState& state) { add("identifier " + state.previous_token().text); }
  void keyword_accepted(ParserState&, AdaKeyword k) { add("keyword " + s(keyword_image(k))); }
  void attribute_accepted(ParserState&, std::string_view a) { add("attribute " + s(a)); }
  void pragma_name_accepted(ParserState& state) { add("pragma " + state.previous_token().text); }
  void message(ParserState& state, ParserMessage m, std::string_view text) {
    messages.push_back(number(m));
    add("message " + std::to_string(number(m)) + " " + s(text) + " @" +
        std::to_string(state.previous_token().line) + ":" + std::to_string(state.previous_token().column));
  }
  void statement_kind(ParserState&, StatementKind k, int line, int column) {
    add("statement " + std::to_string(number(k)) + " @" + std::to_string(line) + ":" + std::to_string(column));
  }
  template <class Parse>
  void sequence_of_statements(ParserState&, Parse&& parse) {
    add("sequence begin");
    parse();
    add("sequence end");
  }
  void procedure_call(ParserState&, std::string_view n) { add("call " + s(n)); }
  void goto_statement(ParserState& state) { add("goto before " + s(state.token_text())); }
  void exception_handler(ParserState&, bool others) { add(others ? "handler others" : "handler"); }
  void task_body_ended(ParserState&, bool others) { add(others ? "task end with others" : "task end"); }
  void if_opened(ParserState&) { add("if opened"); }
  void then_reached(ParserState&) { add("then"); }
  void elsif_reached(ParserState&) { add("elsif"); }
  void else_reached(ParserState&) { add("else"); }
  void if_closed(ParserState&) { add("if closed"); }
  void tracked_start(ParserState&, TrackedKind k) { add("tracked start " + std::to_string(static_cast<int>(k))); }
  void tracked_end(ParserState&) { add("tracked end"); }
  void logical_operator(ParserState&, LogicalOperator op) {
    static const char* names[] = {"and then", "or else", "and", "or", "xor"};
    add(std::string("logical ") + names[static_cast<int>(op)]);
  }
  void operator_applied(ParserState&, OperatorKind op) { add("operator " + std::to_string(static_cast<int>(op))); }
  void compared_with_null(ParserState&, std::string_view n, bool equal) {
    add((equal ? "null = " : "null /= ") + s(n));
  }
  void name_used(ParserState&, std::string_view n, NameContext c) {
    add("used " + s(n) + " " + std::to_string(static_cast<int>(c)));
  }
  void name_set(ParserState&, std::string_view n, NameContext c) {
    add("set " + s(n) + " " + std::to_string(static_cast<int>(c)));
  }
  void subtype_mark(ParserState&, std::string_view n) { add("subtype mark " + s(n)); }
  void association(ParserState&, bool named, bool first) {
    add(std::string("association ") + (named ? "named" : "positional") + (first ? " first" : ""));
  }
  void list_opened(ParserState&, ListKind k) { add("list ( " + std::to_string(static_cast<int>(k))); }
  void list_element_ended(ParserState&, ListKind k) { add("list , " + std::to_string(static_cast<int>(k))); }
  void list_closed(ParserState&, ListKind k) { add("list ) " + std::to_string(static_cast<int>(k))); }
  void exception_raised(ParserState&, std::string_view n) { add("raise " + s(n)); }
  void sql_host_variable_read(ParserState&, std::string_view n) { add("host read " + s(n)); }
  void with_clause_name(ParserState&, std::string_view n) { add("with " + s(n)); }
  void use_clause(ParserState&, bool use_type) { add(use_type ? "use type" : "use"); }
  void library_unit(ParserState&, LibraryUnitKind k) { add("library unit " + std::to_string(static_cast<int>(k))); }
  void unit_defined(ParserState&, std::string_view n, UnitKind k) {
    add("unit " + s(n) + " " + std::to_string(static_cast<int>(k)));
  }
  void identifier_declared(ParserState&, std::string_view n, IdentifierList l) {
    add("declares " + s(n));
    add("declares " + s(n) + " in list " + std::to_string(static_cast<int>(l)));
  }
  void declaration_completed(ParserState&, DeclarationCategory c) {
    add("declaration " + std::to_string(static_cast<int>(c)));
  }
  void name_declared(ParserState&, std::string_view n, DeclarationCategory c) {
    add("declared " + s(n) + " " + std::to_string(static_cast<int>(c)));
  }
  void type_declared(ParserState&, std::string_view n, int line, int column, TypeKind k) {
    add("type " + s(n) + " @" + std::to_string(line) + ":" + std::to_string(column) + " kind " +
        std::to_string(static_cast<int>(k)));
  }
  void entry_declared(ParserState&, std::string_view n) { add("entry " + s(n)); }
  void subprogram_specification(ParserState&, std::string_view n, bool function) {
    add((function ? "function " : "procedure ") + s(n));
  }
  void box_default_subprogram(ParserState&, std::string_view n) { add("box default " + s(n)); }
  void parameter_mode(ParserState&, ModeContext c, ParameterMode m) {
    add("mode " + std::to_string(static_cast<int>(c)) + " " + std::to_string(static_cast<int>(m)));
  }
  void end_name(ParserState&, EndNameKind k, std::string_view expected, std::string_view found) {
    add("end name " + std::to_string(static_cast<int>(k)) + " " + s(expected) + " [" + s(found) + "]");
  }
  template <class Parse>
  void scope(ParserState&, ScopeKind k, std::string_view n, Parse&& parse) {
    add("scope open " + std::to_string(static_cast<int>(k)) + " " + s(n));
    parse();
    add("scope close " + std::to_string(static_cast<int>(k)) + " " + s(n));
  }
  void body_statements_begun(ParserState&, ScopeKind k) { add("begin " + std::to_string(static_cast<int>(k))); }
};

struct Options {
  FileRole role = FileRole::SINGLE_FILE;
  bool gnat_extensions = true;
  bool sql = false;
  // The parser's own tests are about Ada 95 unless they say otherwise.
  AdaVersion ada_version = AdaVersion::ADA_95;
};

// The result of one parse: the hook log, the messages, the syntax message and
// the position of the offending token.
struct Outcome {
  std::vector<std::string> log;
  std::vector<int> messages;
  std::string syntax_message;
  int line = 0;
  int column = 0;

  bool has(std::string_view entry) const {
    for (const auto& l : log) {
      if (l == entry) return true;
    }
    return false;
  }
  int count(std::string_view entry) const {
    int n = 0;
    for (const auto& l : log) n += l == entry ? 1 : 0;
    return n;
  }
  // Index of the first entry equal to `entry` at or after `from`, -1 if none.
  int index_of(std::string_view entry, int from = 0) const {
    for (int i = from; i < static_cast<int>(log.size()); ++i) {
      if (log[static_cast<std::size_t>(i)] == entry) return i;
    }
    return -1;
  }
};

inline Outcome parse_source(std::string_view source, Options options = {}) {
  RecordingHooks hooks;
  AdaParser<RecordingHooks> parser(hooks);
  AdaLineReader reader;
  reader.set_text(source);
  parser.set_job_ada_version(options.ada_version);
  parser.parse(options.role, StyleRules{}, options.gnat_extensions, reader, options.sql);
  Outcome outcome;
  outcome.log = hooks.log;
  outcome.messages = hooks.messages;
  outcome.syntax_message = parser.syntax_message();
  outcome.line = parser.previous_token().line;
  outcome.column = parser.previous_token().column;
  return outcome;
}

}  // namespace flawseek::testing_support
