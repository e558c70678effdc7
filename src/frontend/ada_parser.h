// The recursive-descent Ada 95 parser, one template over the hooks of the
// instance that uses it (check, preparation, unit survey). It builds no tree:
// the productions call the hooks at fixed points. One member function per
// production, its form in a one-line comment above it; a production that does
// not apply at the current token returns false without consuming anything.
#pragma once

#include <cctype>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "frontend/ada_lexer.h"
#include "frontend/ada_tokens.h"
#include "frontend/name_tables.h"
#include "frontend/parser_hooks.h"
#include "frontend/parser_message.h"
#include "frontend/statement_kind.h"
#include "frontend/text_utilities.h"
#include "style/style_rules.h"

namespace flawseek {

// Deeper nesting of expressions, statements and declarations than this ends the
// file's parse with a syntax error: far beyond any real program, and far below
// what the stack holds even with AddressSanitizer's larger frames.
inline constexpr int max_parser_nesting = 256;


template <class Hooks>
class AdaParser final : public ParserState {
 public:
  explicit AdaParser(Hooks& hooks)
      : ParserState(&AdaParser::deliver_message, &hooks), hooks_(hooks) {
    name_buffers_.resize(max_parser_nesting + 8);
    for (auto& b : name_buffers_) b.reserve(32);
    compared_names_.resize(max_parser_nesting + 8);
    designators_.resize(max_parser_nesting + 8);
    late_designator_.reserve(64);
    last_operator_symbol_.reserve(16);
    syntax_message_.reserve(64);
  }

  Hooks& hooks() noexcept { return hooks_; }

  // Parses one source file. A syntax error is reported as message 19 and ends
  // the parse normally (the previous token is the offending one); everything
  // else (a late discovery no list caught, the scanner's LineTooLong, the
  // hooks' own stop exceptions) propagates.
  void parse(FileRole role, const StyleRules& style_rules, bool gnat_extensions,
             LineSource& source, bool sql_enabled);

 private:
  using Production = bool (AdaParser::*)();

  // What a declaration turned out to be after it had begun.
  enum class Late : std::uint8_t { NONE, INSTANTIATION, TASK_BODY, SUBPROGRAM_BODY, PACKAGE_BODY };
  static constexpr std::uint8_t catch_bit(Late l) { return static_cast<std::uint8_t>(1u << static_cast<int>(l)); }
  static constexpr std::uint8_t catch_declarative_part =
      catch_bit(Late::INSTANTIATION) | catch_bit(Late::TASK_BODY) |
      catch_bit(Late::SUBPROGRAM_BODY) | catch_bit(Late::PACKAGE_BODY);
  static constexpr std::uint8_t catch_compilation_unit =
      catch_bit(Late::TASK_BODY) | catch_bit(Late::SUBPROGRAM_BODY) | catch_bit(Late::PACKAGE_BODY);
  static ParseFailureKind failure_of(Late l) {
    switch (l) {
      case Late::INSTANTIATION: return ParseFailureKind::HAS_GENERIC_INSTANTIATION;
      case Late::TASK_BODY: return ParseFailureKind::HAS_TASK_BODY;
      case Late::SUBPROGRAM_BODY: return ParseFailureKind::HAS_SUBPROGRAM_BODY;
      default: return ParseFailureKind::HAS_PACKAGE_BODY;
    }
  }
  static Late late_of(ParseFailureKind k) {
    switch (k) {
      case ParseFailureKind::HAS_GENERIC_INSTANTIATION: return Late::INSTANTIATION;
      case ParseFailureKind::HAS_TASK_BODY: return Late::TASK_BODY;
      case ParseFailureKind::HAS_SUBPROGRAM_BODY: return Late::SUBPROGRAM_BODY;
      case ParseFailureKind::HAS_PACKAGE_BODY: return Late::PACKAGE_BODY;
      default: return Late::NONE;
    }
  }

  // Which late discoveries the innermost enclosing list takes over directly.
  // A discovery it takes is signalled by `pending_` and ordinary returns (bodies
  // in declarative parts are common); any other unwinds as a ParseFailure to the
  // next list that catches it, as the discovery rules ask.
  //
  // The catcher, the nesting depth and the name buffers are set and given back
  // by plain code on the way out of a production, not by guard objects: a
  // syntax error unwinds through dozens of productions, and each frame with a
  // destructor to run costs the unwinder a landing pad and a resume. An
  // exception leaves them as they stood where it was thrown; the lists that
  // catch late discoveries set them back (NestingState), and parse() starts
  // from nothing.
  std::uint8_t replace_catcher(std::uint8_t mask) noexcept {
    const std::uint8_t saved = catcher_;
    catcher_ = mask;
    return saved;
  }
  void enter_level() {
    if (++depth_ > max_parser_nesting) nesting_too_deep();
  }
  void leave_level() noexcept { --depth_; }
  struct NestingState {
    int depth;
    std::size_t buffer_level;
    std::uint8_t catcher;
  };
  NestingState nesting_state() const noexcept { return {depth_, buffer_level_, catcher_}; }
  void restore(const NestingState& state) noexcept {
    depth_ = state.depth;
    buffer_level_ = state.buffer_level;
    catcher_ = state.catcher;
  }
  // The text of a name as its parts are taken ("A (I).B" reads "A.B"). Most
  // names are words side by side on one line (Ada.Text_IO.Put_Line): the
  // text is then a view of that line and nothing is copied. A part apart from
  // the others (behind blanks, a comment or a line end, or after a
  // parenthesis) or a literal copies the text into the buffer, and keep()
  // does before the name's tokens are left behind where its line lies in a
  // line buffer: such a view is intact only while its line is the one of the
  // current or the previous token.
  class NameText {
   public:
    explicit NameText(std::string& buffer) noexcept : buffer_(buffer) {}
    operator std::string_view() const noexcept { return text_; }
    // The first part: a word that lies in line `line` (0: copy it).
    void start(std::string_view word, int line) {
      line_ = line;
      text_ = word;
      if (line == 0) copy();
    }
    // A part after a dot: a word that lies in line `line` (0: copy it).
    void add(std::string_view part, int line) {
      const char* const end = text_.data() + text_.size();
      if (line_ != 0 && line == line_ && part.data() == end + 1 && *end == '.') {
        text_ = std::string_view(text_.data(), text_.size() + 1 + part.size());
        return;
      }
      line_ = 0;
      copy();
      buffer_.push_back('.');
      buffer_.append(part);
      text_ = buffer_;
    }
    // No part follows side by side any more: a view stays only where the
    // source holds its line for the whole parse.
    void keep(const AdaLexer& lexer) {
      if (line_ == 0) return;
      line_ = 0;
      if (lexer.lies_in_line_buffer(text_)) copy();
    }
    // The text in the buffer.
    void copy() {
      if (text_.data() == buffer_.data()) return;
      buffer_.assign(text_);
      text_ = buffer_;
    }

   private:
    std::string& buffer_;
    std::string_view text_;
    int line_ = 0;  // the line the view lies in while parts may follow in it
  };
  // A reused text buffer per nesting level, so nested names cost no
  // allocation; given back before the production that took it returns.
  NameText take_name_buffer() { return NameText(next_name_buffer()); }
  void give_back_name_buffer() noexcept { --buffer_level_; }
  // Starts or continues a name with the word just taken, as a view of its
  // line where the line source lets views stay (see AdaLexer::lines_hold_tokens).
  void start_name(NameText& text) {
    text.start(lexer_.previous_text_in_line(), name_views_ ? lexer_.previous_line_number() : 0);
  }
  void add_name_part(NameText& text) {
    text.add(lexer_.previous_text_in_line(), name_views_ ? lexer_.previous_line_number() : 0);
  }
  std::string& next_name_buffer() {
    if (buffer_level_ + 1 >= name_buffers_.size()) nesting_too_deep();
    return name_buffers_[++buffer_level_];
  }

  static void deliver_message(void* hooks, ParserState& state, ParserMessage m, std::string_view text) {
    static_cast<Hooks*>(hooks)->message(state, m, text);
  }

  // ---- Token operations ---------------------------------------------------
  void advance() { lexer_.advance(); }
  bool is_keyword(AdaKeyword k) const noexcept { return lexer_.is_keyword(k); }
  bool is_symbol(AdaSymbol s) const noexcept { return lexer_.is_symbol(s); }
  bool is_identifier() const noexcept { return lexer_.is_identifier(); }
  // A word is tried at many places where another stands: the test is
  // inline. Taking it is kept out of line where the hooks look at it, so a
  // try that fails pays for no call.
  bool accept_keyword(AdaKeyword k) {
    if (!lexer_.is_keyword(k)) return false;
    if constexpr (hooks_watch_keywords) {
      take_keyword(k);
    } else {
      advance();
    }
    return true;
  }
  bool accept_symbol(AdaSymbol s);
  bool accept_identifier() {
    if (!lexer_.is_identifier()) return false;
    if constexpr (hooks_watch_identifiers) {
      take_identifier();
    } else {
      advance();
    }
    return true;
  }
  // The hooks hide EmptyHooks' operation for accepted words.
  static constexpr bool hooks_watch_keywords =
      !std::is_same_v<decltype(&Hooks::keyword_accepted), decltype(&EmptyHooks::keyword_accepted)>;
  static constexpr bool hooks_watch_identifiers =
      !std::is_same_v<decltype(&Hooks::identifier_accepted), decltype(&EmptyHooks::identifier_accepted)>;
  [[gnu::noinline]] void take_keyword(AdaKeyword k);
  [[gnu::noinline]] void take_identifier();
  // The token is there nearly always: the test is inline, the error out of line.
  void require_keyword(AdaKeyword k) {
    if (!accept_keyword(k)) missing_keyword(k);
  }
  void require_symbol(AdaSymbol s) {
    if (!accept_symbol(s)) missing_symbol(s);
  }
  void require_identifier() {
    if (!accept_identifier()) missing_identifier();
  }
  [[noreturn, gnu::noinline]] void missing_keyword(AdaKeyword k);
  [[noreturn, gnu::noinline]] void missing_symbol(AdaSymbol s);
  [[noreturn, gnu::noinline]] void missing_identifier();
  bool accept_character_literal();
  bool accept_string_literal();
  bool accept_number();
  // Advance, so the offending token becomes the previous one, then fail with
  // "<expected> expected" or, for an empty text, "Syntax error".
  [[noreturn]] void syntax_error(std::string_view expected);
  // A token that closes what was written before it is missing: the error
  // stands right after the last token consumed, where it must be typed, and
  // the message is "<expected> expected".
  [[noreturn]] void missing_token_error(std::string_view expected);
  // The token consumed last is the offending one: "Syntax error" there.
  [[noreturn]] void syntax_error_at_previous();
  // A required token is missing at the end of a line: the token found instead
  // stands on a later line (or the source ended), so the gap after the last
  // token consumed is where it belongs. On the same line the token found is
  // the offending word.
  bool missing_before_line_end() const noexcept {
    return lexer_.end_of_source() || lexer_.line() > lexer_.previous_line_number();
  }
  [[noreturn]] void nesting_too_deep();
  void report_message(ParserMessage m, std::string_view text = {}) { report(m, text); }
  // A late discovery: taken over by the enclosing list or unwound to it.
  bool discover(Late late);
  // The current identifier or number is followed on its line by "=>".
  bool named_association_follows() const noexcept;
  // The current identifier is followed on its line by ":" (not ":=") or ",".
  bool identifier_list_follows() const noexcept;
  void name_completed(std::string_view name, NameContext context);

  // ---- Combinators ----------------------------------------------------------
  // A production that does not apply returns false having consumed nothing, so
  // "not parsed" is a plain result and the combinators are one-liners. They
  // are inlined, so a production named in them is called directly.
  [[gnu::always_inline]] bool optional(Production p) { return (this->*p)(); }
  [[gnu::always_inline]] void ignore(Production p) { (void)(this->*p)(); }
  [[gnu::always_inline]] void require(Production p) {
    if (!(this->*p)()) syntax_error({});
  }
  [[gnu::always_inline]] void zero_or_more(Production p) {
    while ((this->*p)()) {
    }
  }
  [[gnu::always_inline]] void require_one_or_more(Production p) {
    require(p);
    zero_or_more(p);
  }
  // False means that no alternative applies: the caller's own "not parsed".
  template <class... P>
  [[gnu::always_inline]] bool try_one_of(P... p) {
    return ((this->*p)() || ...);
  }
  template <class... P>
  [[gnu::always_inline]] void require_one_of(P... p) {
    if (!try_one_of(p...)) syntax_error({});
  }

  // ---- Compilation units ------------------------------------------------------
  bool compilation_unit();
  bool context_clause_item();
  bool with_clause();
  bool use_clause();
  bool library_item();
  bool library_declaration();
  bool library_declaration_or_body();
  bool subunit();
  bool proper_body();
  void continue_late_discovery();
  void pragmas();

  // ---- Declarations ---------------------------------------------------------
  bool basic_declarative_item();
  bool basic_declaration();
  void declarative_part();
  bool basic_identifier_declaration();
  void defining_unit_name(std::string& text);
  // Inline: short, and where subtype marks and unit names begin.
  [[gnu::always_inline]] inline void dotted_name(NameText& text);
  void dotted_name_continuation(NameText& text);

  // ---- Types ------------------------------------------------------------------
  bool type_declaration();
  TypeKind type_definition();
  bool enumeration_type_definition();
  bool integer_type_definition();
  bool real_type_definition();
  bool floating_point_constraint();
  bool fixed_point_constraint();
  bool array_type_definition();
  bool record_type_definition();
  bool record_definition();
  void component_list();
  bool component_declaration();
  void component_definition();
  bool variant_part();
  bool variant();
  bool access_type_definition(TypeKind& kind);
  bool derived_type_definition();
  bool discriminant_part();
  bool discriminant_specification();
  bool access_definition();
  bool subtype_declaration();
  bool subtype_indication();
  bool subtype_mark();
  bool constraint();
  // Tried after every association: the usual "no" is inline.
  [[gnu::always_inline]] inline bool range_constraint();
  bool range_constraint_at_keyword(bool box_allowed);
  bool index_or_discriminant_constraint();
  bool discrete_range();
  bool range_bound();
  bool upper_bound();
  // A discrete range where "range <>" is allowed: an array's index.
  bool index_subtype_definition();
  // After IN of a membership test: a range or a subtype mark, no constraint.
  bool membership_choice();
  bool fixed_point_definition();
  bool choice();

  // ---- Subprograms --------------------------------------------------------
  bool subprogram_specification(std::string& designator, bool& is_function);
  bool subprogram_declaration();
  bool subprogram_declaration_rest(std::string& designator, bool is_function);
  bool subprogram_declaration_or_renaming();
  bool subprogram_body_or_declaration();
  bool subprogram_body_or_declaration_rest(std::string& designator, bool is_function);
  bool subprogram_body();
  void subprogram_body_implementation(std::string_view designator);
  bool formal_part(ModeContext context);
  // With `identifier_taken` the first parameter's identifier is the previous
  // token, consumed but not yet announced to the hooks.
  void formal_part_after_paren(ModeContext context, bool identifier_taken = false);
  bool parameter_specification(ModeContext context, bool identifier_taken = false);
  void parameter_and_result_profile(bool is_function, ModeContext context);
  void renamed_operator_check(bool operator_designator, std::string_view designator);

  // ---- Packages -------------------------------------------------------------
  bool package_declaration_or_renaming();
  bool package_declaration_or_renaming_or_body();
  void package_declaration_rest();
  bool basic_package_declaration();
  void package_specification(std::string_view name);
  bool package_body();
  void package_body_rest();

  // ---- Tasks and protected units ------------------------------------------
  bool task_declaration();
  bool task_body();
  void task_body_rest();
  bool protected_declaration();
  void protected_definition(std::string_view name);
  bool protected_operation_declaration();
  bool protected_element_declaration();
  bool protected_body();
  void protected_body_rest();
  bool protected_operation_item();
  bool entry_declaration();
  bool entry_body();
  bool entry_index_specification();
  bool entry_family_or_formal_part(ModeContext context);

  // ---- Generics -------------------------------------------------------------
  bool generic_declaration();
  bool generic_parameter_declaration();
  bool formal_type_definition();
  bool formal_subprogram_declaration();
  bool formal_package_declaration();
  void generic_instantiation();
  bool generic_actual_part();

  // ---- Representation clauses and pragmas --------------------------------------
  bool representation_clause();
  bool pragma_statement();
  bool pragma();

  // ---- Statements -----------------------------------------------------------
  void sequence_of_statements();
  void optional_sequence_of_statements();
  bool statement();
  bool statement_or_final_label();
  bool simple_statement();
  bool compound_statement();
  bool assignment_or_procedure_call_statement();
  bool code_statement();
  bool abort_statement();
  bool delay_statement();
  bool exit_statement();
  bool goto_statement();
  bool null_statement();
  bool raise_statement();
  bool requeue_statement();
  bool return_statement();
  bool if_statement();
  bool case_statement();
  bool case_statement_alternative();
  bool loop_statement();
  bool block_statement();
  bool handled_statements();
  bool exception_handler();
  bool exception_choice();
  void exception_choice_after_identifier();
  bool accept_statement();
  bool select_statement();
  bool select_alternative();
  [[noreturn]] void missing_accept_alternative();
  void condition();
  void statement_end_name(EndNameKind kind, const std::string& label);
  void unit_end_name(EndNameKind kind, std::string_view expected);

  // ---- Expressions ----------------------------------------------------------
  // The levels between an expression and its primaries are inline: most
  // expressions are one primary, which would otherwise pass through a call
  // per level.
  bool expression();
  [[gnu::always_inline]] inline bool relation();
  bool simple_expression();
  // Its body, inline where nearly every expression passes: the left side of
  // a relation.
  [[gnu::always_inline]] inline bool simple_expression_body();
  [[gnu::always_inline]] inline bool term();
  [[gnu::always_inline]] inline bool factor();
  bool primary();
  bool aggregate();
  bool null_record();
  bool allocator();
  // With `paren_consumed` the caller has already taken the "(" to decide
  // what the parenthesis holds.
  void association_list(ListKind kind, NameContext names, bool paren_consumed = false);
  // With `named_required` a named association came before in the list, and a
  // positional one is a syntax error.
  bool association(ListKind kind, NameContext names, bool first, bool actuals, bool named_required);
  bool reserved_word_argument(bool named);
  // An expression may begin after its first token was taken without nesting
  // deeper than the parser allows at that token.
  bool primary_may_be_taken() const noexcept {
    return depth_ < max_parser_nesting && buffer_level_ + 1 < name_buffers_.size();
  }

  // ---- Expressions of the later levels ------------------------------------
  // At IF, CASE or FOR opening a parenthesis or an argument list: the whole
  // conditional or quantified expression, which fills the parenthesis alone.
  // An iterated component association may stand there too in an aggregate.
  bool later_parenthesised_expression(ListKind kind);
  void if_expression();
  void case_expression();
  // Returns whether the FOR began a quantified expression (or else an
  // iterated component association).
  bool for_expression(ListKind kind);
  void declare_expression();
  // RAISE name [WITH string expression], in a statement or an expression.
  void raised_exception();
  // Tried after every other primary: a raise expression, a bracket
  // aggregate or the target name.
  bool later_primary();
  void bracket_aggregate();
  void aggregate_choice_named();
  void iterator_filter();

  // ---- Names ----------------------------------------------------------------
  bool name(NameContext context);
  // Most names end at once (a lone identifier): settled inline.
  [[gnu::always_inline]] inline void name_continuation(NameText& text);
  void name_continuation_parts(NameText& text);
  bool attribute_designator();

  // ---- Embedded SQL -------------------------------------------------------------
  // Tried before nearly every declaration: the usual "no" is inline.
  [[gnu::always_inline]] inline bool exec_sql_statement();
  [[gnu::noinline]] bool exec_sql_statement_after_identifier();

  // ---- Constructs of the later language levels --------------------------------
  bool at_later_reserved_word() const noexcept;
  [[noreturn]] void later_reserved_word_error();
  void language_pragma();
  bool null_exclusion();
  void access_definition_rest();
  bool object_subtype_definition();
  bool aspect_specification();
  void aspects_after_with();
  bool overriding_indicator();
  bool overriding_declaration();
  bool overriding_body();
  bool interface_type_definition();
  void progenitors();
  void unit_progenitors();
  bool null_procedure_or_expression_function(std::string_view designator, bool is_function);
  void extended_return_rest();
  // A PRIVATE taken in a context clause turned out to begin a private library unit.
  bool private_library_item_ = false;

  enum class Lone : std::uint8_t { NONE, NAME, NULL_LITERAL };
  // The shape of the name completed last, as the few rules on its form need it.
  struct NameShape {
    bool attribute = false;        // an attribute stands in it (T'Size, X'Address)
    bool range_attribute = false;  // it ends with 'Range [(N)]: it denotes a range
  };

  Hooks& hooks_;
  std::uint8_t catcher_ = 0;
  Late pending_ = Late::NONE;
  int depth_ = 0;
  std::vector<std::string> name_buffers_;
  std::size_t buffer_level_ = 0;
  std::vector<std::string> compared_names_;
  std::vector<std::string> designators_;
  std::string late_designator_;
  bool late_designator_is_function_ = false;
  std::string last_operator_symbol_;
  std::string label_;
  // The last simple expression was a lone name / the literal NULL.
  Lone lone_ = Lone::NONE;
  std::string_view last_name_;
  bool pending_not_in_ = false;
  NameShape name_shape_;
  // The name about to be parsed is the renamed object of a renaming.
  bool renamed_object_name_ = false;
  // The statement about to be parsed follows another of its sequence, so a
  // label may end the sequence there (Ada 2012).
  bool final_label_allowed_ = false;
  // The association parsed last was a range (a slice or subtype indication).
  bool association_was_range_ = false;
  // The association parsed last was a named one.
  bool association_was_named_ = false;
  // The parenthesis about to be parsed holds the arguments of an attribute.
  bool attribute_arguments_ = false;
  // The range constraint about to be parsed may be "range <>" (an index
  // subtype definition of an unconstrained array).
  bool box_range_allowed_ = false;
  // The kind of the select alternative parsed last.
  enum class Alternative : std::uint8_t { ACCEPT, DELAY, TERMINATE, ENTRY_CALL };
  Alternative select_alternative_ = Alternative::ACCEPT;
  // The first token of the expression about to be parsed was already consumed
  // (to see whether RECORD or "=>" followed it): the primary takes it as read.
  enum class Taken : std::uint8_t { NONE, NULL_LITERAL, IDENTIFIER, NUMBER };
  Taken taken_primary_ = Taken::NONE;
  // The handled sequence parsed last had a handler for others.
  bool others_handler_ = false;
  // The statement about to be parsed is the entry call of a select alternative.
  bool entry_call_alternative_ = false;
  // The subprogram specification being parsed is that of a generic unit.
  bool generic_unit_ = false;
  // The actuals of a formal package are read: "<>" may stand for any of them.
  bool formal_package_actuals_ = false;
  NameContext expression_names_ = NameContext::EXPRESSION;
  // Names may be views of their lines (see NameText).
  bool name_views_ = false;
};

}  // namespace flawseek

#include "frontend/ada_parser_core.inc"
#include "frontend/ada_parser_declarations.inc"
#include "frontend/ada_parser_statements.inc"
#include "frontend/ada_parser_expressions.inc"
#include "frontend/ada_parser_later_levels.inc"
