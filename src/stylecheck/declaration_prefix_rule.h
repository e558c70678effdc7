// Naming prefixes of declared names and subtype marks, the class-wide naming
// of access types, and the upper case of the predefined type names.
//
// Detects a constant, loop parameter, exception or type whose name lacks the
// prefix its kind of declaration asks for (BAD_PREFIX, message 4; a type is
// judged once its definition shows its kind, at its name), a simple subtype
// mark that carries none of the type prefixes (4), an access-to-object type
// whose "_class" name and class-wide designated subtype disagree
// (BAD_ACCESS_TYPE, 5), and a predefined type name used as a subtype mark or
// a name a blank upper-case slot governs, not written in upper case
// (NOT_UPPERCASE, 18). The partial view of a private type is not judged: its
// full declaration says what kind of type it is.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "frontend/parser_hooks.h"

namespace flawseek {

// One of Standard's type names (Integer, String, Long_Float, ...) in any
// letter case: a subtype mark the upper-case rule wants as INTEGER.
bool is_predefined_type_name(std::string_view name);

class DeclarationPrefixRule {
 public:
  DeclarationPrefixRule() { names_.reserve(8); }

  void parse_started() noexcept {
    name_count_ = 0;
    name_base_ = 0;
    enclosing_bases_.clear();
    class_wide_ = false;
    private_view_ = false;
    type_name_next_ = false;
  }
  // Only TYPE and PRIVATE: the check hooks' keyword list names them.
  static constexpr AdaKeywords keywords_acted_on{AdaKeyword::KEYWORD_TYPE, AdaKeyword::KEYWORD_PRIVATE};
  void on_keyword(AdaKeyword keyword) noexcept {
    if (keyword == AdaKeyword::KEYWORD_TYPE) {
      class_wide_ = false;
      private_view_ = false;
      type_name_next_ = true;
    } else if (keyword == AdaKeyword::KEYWORD_PRIVATE) {
      private_view_ = true;
    }
  }
  void on_attribute(ParserState& state, std::string_view lower_case_designator) noexcept {
    if (lower_case_designator == "class" && state.style_rules().prefix_rules_on) class_wide_ = true;
  }
  // Whether the next identifier is a type's name, which on_identifier wants.
  bool type_name_next() const noexcept { return type_name_next_; }
  // Keeps the line of a type's name: its definition may outlast the lines a
  // finding's text is taken from.
  void on_identifier(ParserState& state) {
    if (!type_name_next_) return;
    type_name_next_ = false;
    type_line_text_.assign(state.previous_token_line_text());
  }
  // Of identifier lists only a constant's and an exception's are judged, and
  // both are object or exception declarations: the others pass uncollected.
  void on_identifier_declared(ParserState& state, std::string_view name, IdentifierList list) {
    if (list == IdentifierList::OBJECT_OR_EXCEPTION) collect_declared(state, name);
  }
  // Only a constant's or an exception's names are judged: the others, and
  // most declarations, which collected none, end inline.
  void on_declaration_completed(ParserState& state, DeclarationCategory category) {
    const std::size_t count = name_count_;
    name_count_ = name_base_;
    if (count == name_base_ ||
        (category != DeclarationCategory::CONSTANT && category != DeclarationCategory::EXCEPTION)) {
      return;
    }
    judge_collected(state, count, category);
  }
  // A declare expression in an object's initial value (Ada 2022) declares
  // inside that declaration: a scope collects on top of the names collected
  // around it and leaves them as it found them.
  void on_scope_opened() {
    enclosing_bases_.push_back(name_base_);
    name_base_ = name_count_;
  }
  void on_scope_closed() noexcept {
    name_count_ = name_base_;
    if (enclosing_bases_.empty()) return;
    name_base_ = enclosing_bases_.back();
    enclosing_bases_.pop_back();
  }
  void on_name_declared(ParserState& state, std::string_view name, DeclarationCategory category);
  void on_type_declared(ParserState& state, std::string_view name, int line, int column, TypeKind kind);
  // Under settings that pass every subtype mark the step ends inline, once
  // that is worked out for them.
  void on_subtype_mark(ParserState& state, std::string_view name) {
    if (quiet_version_ != state.style_version()) judge_subtype_mark(state, name);
  }

  // What the complaint this rule is reporting wants, appended to `out`:
  // for PREFIX_MISSING the prefix `name` lacks ("constant `Maximum` needs
  // the prefix C_"), for ACCESS_TYPE_CLASS the access type name expected.
  // Asked only while the complaint is reported.
  void describe_complaint(const StyleRules& rules, ParserMessage message, std::string_view name,
                          std::string& out) const;

 private:
  struct DeclaredName {
    std::string name;
    std::string line_text;
    int line = 0;
    int column = 0;
  };

  // What the settings of the current style version say about subtype marks:
  // worked out once for them, not at every mark.
  void learn_mark_rules(const ParserState& state) noexcept;

  void collect_declared(ParserState& state, std::string_view name);
  void judge_collected(ParserState& state, std::size_t count, DeclarationCategory category);
  void judge_subtype_mark(ParserState& state, std::string_view name);

  // The names of the identifier list being declared; the slots are reused.
  std::vector<DeclaredName> names_;
  std::size_t name_count_ = 0;
  // Where the current scope's names begin, and the enclosing scopes' starts.
  std::size_t name_base_ = 0;
  std::vector<std::size_t> enclosing_bases_;
  bool class_wide_ = false;    // the designated subtype of this type is class-wide
  int judged_slot_ = 0;        // the prefix slot of the name judged last; -1 for a subtype mark
  bool private_view_ = false;  // this type declaration is a private type's partial view
  bool type_name_next_ = false;
  std::string type_line_text_;
  // The style version whose settings pass every subtype mark (0: none yet).
  std::uint32_t quiet_version_ = 0;
  // The style version the mark rules below were learnt from (0: none yet).
  std::uint32_t marks_version_ = 0;
  // The first characters of the type prefixes a mark is tried against before
  // the first blank slot (a mark carrying one passes); whether a blank slot
  // ends the search, and whether it asks for upper case.
  std::array<bool, 256> mark_prefix_{};
  bool mark_blank_reached_ = false;
  bool mark_blank_upper_case_ = false;
};

}  // namespace flawseek
