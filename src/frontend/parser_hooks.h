// The points at which the Ada parser calls the analyses: the parser's state as
// the hooks see it (ParserState, not a template), the vocabulary of the hook
// calls, and EmptyHooks, whose every operation does nothing. An instance's hooks
// type derives from EmptyHooks and hides the operations it needs; the parser
// calls them statically, so an unused point costs nothing.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "frontend/ada_lexer.h"
#include "frontend/ada_version.h"
#include "frontend/language_features.h"
#include "frontend/parser_message.h"
#include "frontend/statement_kind.h"
#include "style/style_rules.h"

namespace flawseek {

// ---------------------------------------------------------------------------
// The file a parse reads
// ---------------------------------------------------------------------------

// A file's place in its check: the values are the parse's "unit part" and
// fixed, since the per-unit collections are emptied unless it is 0.
enum class FileRole : std::uint8_t { PAIR_BODY = 0, PAIR_SPECIFICATION = 1, SINGLE_FILE = 2 };

// ---------------------------------------------------------------------------
// Failures of a parse
// ---------------------------------------------------------------------------

enum class ParseFailureKind : std::uint8_t {
  SYNTAX_ERROR,
  NOT_PARSED,
  END_EXPECTED,
  HAS_GENERIC_INSTANTIATION,
  HAS_TASK_BODY,
  HAS_SUBPROGRAM_BODY,
  HAS_PACKAGE_BODY,
};

// A failure that leaves the parse entry: what() is its qualified name under
// the instance's prefix ("DEFECT_SCAN.NQS.A95.AP.NOT_PARSED").
class ParseFailure : public std::runtime_error {
 public:
  ParseFailure(std::string_view prefix, ParseFailureKind kind)
      : std::runtime_error(qualified_name(prefix, kind)), kind_(kind) {}
  ParseFailureKind kind() const noexcept { return kind_; }

  static std::string qualified_name(std::string_view prefix, ParseFailureKind kind) {
    static constexpr std::string_view names[] = {
        ".AP.SYNTAX_ERROR",     ".AP.NOT_PARSED",       ".AP.END_EXPECTED",
        ".HAS_GENERIC_INSTANTIATION", ".HAS_TASK_BODY", ".HAS_SUBPROGRAM_BODY",
        ".HAS_PACKAGE_BODY"};
    std::string name(prefix);
    name += names[static_cast<int>(kind)];
    return name;
  }

 private:
  ParseFailureKind kind_;
};

// A construct found to be other than it began as (a generic instantiation,
// a body where a declaration was parsed): thrown to the nearest level of the
// parse that can take it up. A syntax error is no such failure, so on its
// way out it passes those levels without being caught and thrown again.
class LateDiscovery final : public ParseFailure {
 public:
  using ParseFailure::ParseFailure;
};

// ---------------------------------------------------------------------------
// What a hook call is about
// ---------------------------------------------------------------------------

// Where a completed name stood.
enum class NameContext : std::uint8_t {
  EXPRESSION,           // a primary of an expression (also a call's name)
  SUBTYPE_MARK,         // subtype indications, qualified expressions, allocators
  RANGE,                // a discrete range or membership test
  GENERIC_ASSOCIATION,  // an actual of a generic instantiation
  PRAGMA_ARGUMENT,
  RENAMED,              // the renamed entity of a renaming declaration
  REPRESENTED,          // the entity of a representation clause
  CALLED,               // the called name of a procedure or entry call statement
  ASSIGNED,             // the target of an assignment
  OTHER,                // exit, goto, abort, requeue, use, with and exception names
};

// The operators whose application the rules notice.
enum class OperatorKind : std::uint8_t {
  EQUAL, NOT_EQUAL, LESS, LESS_EQUAL, GREATER, GREATER_EQUAL, IN, NOT_IN,
  PLUS, MINUS, CONCATENATE, MULTIPLY, DIVIDE, MOD, REM, POWER, RANGE,
};

enum class LogicalOperator : std::uint8_t { AND_THEN, OR_ELSE, AND, OR, XOR };

// The parenthesised lists whose elements the rules count.
enum class ListKind : std::uint8_t {
  ACTUAL_PARAMETERS,  // calls, indexed components and slices (they look alike)
  AGGREGATE,
  INDEX_OR_DISCRIMINANT_CONSTRAINT,
  DISCRIMINANT_PART,
  FORMAL_PART,
  PRAGMA_ARGUMENTS,
  ENUMERATION_TYPE,
  SUBUNIT_NAME,
  GENERIC_ACTUALS,
};

// Why a region of tokens is tracked (a condition, or a statement).
enum class TrackedKind : std::uint8_t { CONDITION, ASSIGNMENT_OR_CALL, RETURN };

// Declared identifiers by category.
enum class DeclarationCategory : std::uint8_t {
  VARIABLE, CONSTANT, NUMBER, OBJECT_RENAMING, EXCEPTION, EXCEPTION_RENAMING,
  TYPE, SUBTYPE, SUBPROGRAM, PACKAGE, TASK, PROTECTED, ENTRY, LOOP_PARAMETER,
  COMPONENT, DISCRIMINANT, PARAMETER, GENERIC_FORMAL_OBJECT, GENERIC_FORMAL_TYPE,
  GENERIC_FORMAL_SUBPROGRAM, GENERIC_FORMAL_PACKAGE, ENUMERATION_LITERAL,
};

// The identifier list an identifier is declared in. Only an object or
// exception declaration learns its category at its end; the others name it
// before their first identifier, so a rule that judges none of them can let
// their identifiers pass uncollected.
enum class IdentifierList : std::uint8_t {
  OBJECT_OR_EXCEPTION, COMPONENT, DISCRIMINANT, PARAMETER, GENERIC_FORMAL_OBJECT,
};

// The kind of a type definition, known once the definition is parsed.
enum class TypeKind : std::uint8_t {
  INCOMPLETE, ACCESS_TO_OBJECT, ACCESS_TO_SUBPROGRAM, TASK, PROTECTED, OTHER,
};

// Program units a defining unit name can name.
enum class UnitKind : std::uint8_t {
  SUBPROGRAM_DECLARATION, SUBPROGRAM_RENAMING, SUBPROGRAM_BODY, SUBPROGRAM_BODY_STUB,
  SUBPROGRAM_INSTANTIATION, PACKAGE_DECLARATION, PACKAGE_RENAMING, PACKAGE_BODY,
  PACKAGE_BODY_STUB, PACKAGE_INSTANTIATION, GENERIC_SUBPROGRAM, GENERIC_PACKAGE,
  TASK_BODY, TASK_BODY_STUB, PROTECTED_BODY, PROTECTED_BODY_STUB,
};

// What stands at the library level of a compilation unit.
enum class LibraryUnitKind : std::uint8_t {
  SUBPROGRAM_DECLARATION, SUBPROGRAM_BODY, PACKAGE_DECLARATION, PACKAGE_BODY,
  PACKAGE_RENAMING, GENERIC_DECLARATION, GENERIC_INSTANTIATION, SUBUNIT,
};

// Regions with their own declarations.
enum class ScopeKind : std::uint8_t {
  SUBPROGRAM_BODY, PACKAGE_BODY, TASK_BODY, PROTECTED_BODY, ENTRY_BODY, BLOCK, FOR_LOOP,
};

// Constructs whose END may repeat their name: named statements (a loop or a
// block, whose name is their statement identifier) and program units.
enum class EndNameKind : std::uint8_t {
  LOOP, BLOCK, SUBPROGRAM_BODY, PACKAGE_SPECIFICATION, PACKAGE_BODY, TASK, TASK_BODY, PROTECTED,
  PROTECTED_BODY, ENTRY_BODY, ACCEPT,
};
constexpr bool is_statement(EndNameKind kind) { return kind == EndNameKind::LOOP || kind == EndNameKind::BLOCK; }

// Where a parameter mode was written.
enum class ModeContext : std::uint8_t {
  FUNCTION, OPERATOR_FUNCTION, PROCEDURE, ENTRY, GENERIC_FORMAL_OBJECT, ACCESS_TO_SUBPROGRAM,
};
enum class ParameterMode : std::uint8_t { NONE, IN, IN_OUT, OUT, ACCESS };

// ---------------------------------------------------------------------------
// The parser's state as hooks see it
// ---------------------------------------------------------------------------

class ParserState {
 public:
  using MessageSink = void (*)(void* context, ParserState& state, ParserMessage message,
                               std::string_view text);

  ParserState(MessageSink sink, void* sink_context) : sink_(sink), sink_context_(sink_context) {}
  ParserState(const ParserState&) = delete;
  ParserState& operator=(const ParserState&) = delete;

  // The current token (not yet consumed) and the one consumed last.
  const AdaLexer& lexer() const noexcept { return lexer_; }
  TokenKind token_kind() const noexcept { return lexer_.kind(); }
  std::string_view token_text() const noexcept { return lexer_.text(); }
  int token_line() const noexcept { return lexer_.line(); }
  int token_column() const noexcept { return lexer_.column(); }
  const TokenRecord& previous_token() const noexcept { return lexer_.previous_token(); }
  // The same token's text and place without copying the text out of its
  // line, which previous_token does: the view is valid throughout the hook
  // call it is read in.
  std::string_view previous_token_text() const noexcept { return lexer_.previous_text(); }
  int previous_token_line() const noexcept { return lexer_.previous_line_number(); }
  int previous_token_column() const noexcept { return lexer_.previous_column(); }
  std::string_view previous_token_line_text() const noexcept {
    return lexer_.previous_token_line_text();
  }

  // The arguments of the running parse.
  FileRole file_role() const noexcept { return file_role_; }
  const StyleRules& style_rules() const noexcept { return style_rules_; }
  // The style settings in force from now on (the line reader replaces them
  // between lines when a style command says so).
  void set_style_rules(const StyleRules& rules) noexcept {
    style_rules_ = rules;
    ++style_version_;
  }
  // Moves whenever the settings are replaced, at every parse start too, and
  // is never 0 during a parse: a hook that works something out from them
  // once, rather than at every token, does it again when this moves.
  std::uint32_t style_version() const noexcept { return style_version_; }
  // The language level of the file as parsed so far: the job's level, until
  // a configuration pragma of the file's own (pragma Ada_95;) changes it.
  AdaVersion ada_version() const noexcept { return lexer_.version(); }
  // Whether the file's level has a construct of a later language level.
  bool allows(LanguageFeature feature) const noexcept { return has_feature(lexer_.version(), feature); }
  // The level each later parse starts at (the job's).
  void set_job_ada_version(AdaVersion version) noexcept { job_ada_version_ = version; }
  AdaVersion job_ada_version() const noexcept { return job_ada_version_; }
  // GNAT's language extensions: the extended attribute table is in force.
  bool gnat_extensions() const noexcept { return gnat_extensions_; }
  bool sql_enabled() const noexcept { return sql_enabled_; }
  // True while an embedded SQL statement is parsed: its words are no Ada words.
  bool in_sql() const noexcept { return in_sql_; }

  // The number of the most recent message of this parse (no_parser_message
  // before the first) and the text of the last syntax error.
  int last_message() const noexcept { return last_message_; }
  const std::string& syntax_message() const noexcept { return syntax_message_; }

  // Reports a message through the instance's message hook; style hooks use
  // it for the complaints they decide on.
  void report(ParserMessage message, std::string_view text = {}) {
    last_message_ = number(message);
    sink_(sink_context_, *this, message, text);
  }
  // Reports a message about a word read earlier (a declared name judged once
  // its declaration is known): the message is placed at that word; a style
  // message's text may carry the word's line, which may have scrolled away.
  void report_at(ParserMessage message, int line, int column, std::string_view text = {}) {
    item_line_ = line;
    item_column_ = column;
    report(message, text);
    item_line_ = 0;
  }
  // The word a message is about: the one report_at names, else the token
  // consumed last.
  int item_line() const noexcept { return item_line_ != 0 ? item_line_ : lexer_.previous_line_number(); }
  int item_column() const noexcept {
    return item_line_ != 0 ? item_column_ : lexer_.previous_column();
  }

 protected:
  AdaLexer lexer_;
  FileRole file_role_ = FileRole::SINGLE_FILE;
  StyleRules style_rules_{};
  AdaVersion job_ada_version_ = default_ada_version;
  bool gnat_extensions_ = false;
  bool sql_enabled_ = false;
  bool in_sql_ = false;
  int last_message_ = no_parser_message;
  std::string syntax_message_;

 private:
  MessageSink sink_;
  void* sink_context_;
  int item_line_ = 0;
  int item_column_ = 0;
  std::uint32_t style_version_ = 0;
};

// ---------------------------------------------------------------------------
// The hook points
// ---------------------------------------------------------------------------

// Unless a parameter says otherwise, the token a hook is about is the previous
// token of `state` (consumed last) and the current token is the one after it.
// Names are texts the parser builds: identifiers (or operator symbols and
// character literals) joined by "."; parenthesised parts and attributes are not
// part of the text.
struct EmptyHooks {
  // The prefix of the instance's failure names.
  static constexpr std::string_view exception_prefix = "FLAWSEEK.A95";

  // Every parse begins here, after the arguments are stored.
  void parse_started(ParserState&) {}
  // Called at the start of a parse whose unit part is not 0: the per-unit
  // collections (such as the unit-name list) are emptied here, so the second
  // file of a specification and body pair keeps those of the first.
  void empty_unit_collections(ParserState&) {}

  // Tokens. Every accepted identifier, reserved word, attribute designator
  // (its text in lower case) and pragma name.
  void identifier_accepted(ParserState&) {}
  void keyword_accepted(ParserState&, AdaKeyword) {}
  void attribute_accepted(ParserState&, std::string_view /*lower_case_designator*/) {}
  void pragma_name_accepted(ParserState&) {}

  // Every message: parser messages and those the style hooks report.
  void message(ParserState&, ParserMessage, std::string_view /*text*/) {}

  // Statements.
  void statement_kind(ParserState&, StatementKind, int /*line*/, int /*column*/) {}
  template <class Parse>
  void sequence_of_statements(ParserState&, Parse&& parse) { parse(); }
  void procedure_call(ParserState&, std::string_view /*called_name*/) {}
  void goto_statement(ParserState&) {}  // the current token follows "goto"
  void exception_handler(ParserState&, bool /*others*/) {}
  void task_body_ended(ParserState&, bool /*has_others_handler*/) {}

  // If statements and if expressions, and tracked regions.
  void if_opened(ParserState&) {}
  void then_reached(ParserState&) {}
  void elsif_reached(ParserState&) {}
  void else_reached(ParserState&) {}
  void if_closed(ParserState&) {}
  void tracked_start(ParserState&, TrackedKind) {}
  void tracked_end(ParserState&) {}

  // Expressions.
  void logical_operator(ParserState&, LogicalOperator) {}
  void operator_applied(ParserState&, OperatorKind) {}
  void compared_with_null(ParserState&, std::string_view /*name*/, bool /*equal*/) {}
  void name_used(ParserState&, std::string_view /*name*/, NameContext) {}
  // A name standing as a value (not a subtype mark, range or renamed entity)
  // and followed by ":=", "," or ")": an assignment target or an actual.
  void name_set(ParserState&, std::string_view /*name*/, NameContext) {}
  void subtype_mark(ParserState&, std::string_view /*name*/) {}
  // NOT NULL of a subtype or access definition was read (Ada 2005).
  void null_exclusion_read(ParserState&) {}
  void association(ParserState&, bool /*named*/, bool /*first_of_list*/) {}
  void list_opened(ParserState&, ListKind) {}
  void list_element_ended(ParserState&, ListKind) {}
  void list_closed(ParserState&, ListKind) {}

  // Raises and embedded SQL.
  void exception_raised(ParserState&, std::string_view /*name*/) {}
  void sql_host_variable_read(ParserState&, std::string_view /*name*/) {}

  // Units and declarations.
  void with_clause_name(ParserState&, std::string_view /*name*/) {}
  void use_clause(ParserState&, bool /*use_type*/) {}  // the current token follows USE [TYPE]
  void library_unit(ParserState&, LibraryUnitKind) {}
  void unit_defined(ParserState&, std::string_view /*name*/, UnitKind) {}
  // Each identifier of an identifier list as it is read, then the category of
  // the whole declaration once it is known (at its ";").
  void identifier_declared(ParserState&, std::string_view /*name*/, IdentifierList) {}
  void declaration_completed(ParserState&, DeclarationCategory) {}
  // A declaration that declares exactly one name.
  void name_declared(ParserState&, std::string_view /*name*/, DeclarationCategory) {}
  // TYPE of a type declaration (not of a generic formal type or a use type
  // clause): its definition follows, then type_declared.
  void type_declaration_begun(ParserState&) {}
  // A full type declaration, once the kind of its definition is known; the
  // name's own position is given, the type definition lies between.
  void type_declared(ParserState&, std::string_view /*name*/, int /*line*/, int /*column*/, TypeKind) {}
  void entry_declared(ParserState&, std::string_view /*name*/) {}
  // The mark of each aspect of a declaration (Ada 2012: with Unreferenced),
  // read before the declaration is completed.
  void aspect_mark(ParserState&, std::string_view /*mark*/) {}
  // The designator after a mark's apostrophe (Pre'Class).
  void aspect_class_accepted(ParserState&) {}
  // PRIVATE of a package specification was accepted.
  void private_part_begun(ParserState&) {}
  void subprogram_specification(ParserState&, std::string_view /*designator*/, bool /*function*/) {}
  // A subprogram specification followed by "is <>".
  void box_default_subprogram(ParserState&, std::string_view /*designator*/) {}
  void parameter_mode(ParserState&, ModeContext, ParameterMode) {}
  // At END of a construct that may repeat its name: `expected` is its name
  // (empty for a loop or block without a statement identifier), `found` the
  // name written after END (then the previous token is its last word), empty
  // when none is written (then the current token is what follows END).
  void end_name(ParserState&, EndNameKind, std::string_view /*expected*/, std::string_view /*found*/) {}

  // Scopes: the hook opens the scope, runs `parse`, and closes it.
  template <class Parse>
  void scope(ParserState&, ScopeKind, std::string_view /*name*/, Parse&& parse) { parse(); }
  void body_statements_begun(ParserState&, ScopeKind) {}
};

}  // namespace flawseek
