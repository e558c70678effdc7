// The identifier step: character, package-prefix, upper-case and case tests.
#include "stylecheck/identifier_rule.h"

#include <array>

#include "frontend/text_utilities.h"
#include "platform/text_scan/ascii_words.h"
#include "style/case_convention.h"
#include "style/mixed_case_machine.h"
#include "stylecheck/word_report.h"

namespace flawseek {

namespace {

// The order in which a name's first character is matched against the slots
// (0-based: slots 8, 2, 6, 7, 3, 1, 5); the access-to-object slot (4) comes
// last because of its "_class" form.
constexpr std::array<int, 7> slot_order = {7, 1, 5, 6, 2, 0, 4};
constexpr int access_to_object_slot = 3;

bool all_upper(std::string_view name) { return has_no_lower_case(name); }

bool has_prefix_form(std::string_view name) { return name.size() >= 2 && name[1] == '_'; }

// TRUE or FALSE in any letter case; the length rules out nearly every name
// before a letter is compared.
bool is_boolean_literal(std::string_view name) {
  const std::size_t size = name.size();
  if (size != 4 && size != 5) return false;
  if (size == 4) return text_scan::four_letters_any_case(name.data(), "true");
  return text_scan::four_letters_any_case(name.data(), "fals") && (name[4] | 0x20) == 'e';
}

// The slot whose character decides `name`, or -1.
int deciding_slot(const StyleRules& rules, std::string_view name) {
  for (int slot : slot_order) {
    if (rules.prefix_slots[slot].prefix == name[0]) return slot;
  }
  if (rules.prefix_slots[access_to_object_slot].prefix == name[0]) return access_to_object_slot;
  return -1;
}

// NOT_UPPER_CASE or IDENTIFIER_SPELLING when `text` fails the test it is due.
bool fails_case(const StyleRules& rules, std::string_view text, bool upper_case_required,
                const AcceptedSpellings* accepted, ParserMessage& complaint) {
  if (upper_case_required) {
    complaint = ParserMessage::NOT_UPPER_CASE;
    return !all_upper(text);
  }
  complaint = ParserMessage::IDENTIFIER_SPELLING;
  return breaks_case(text, rules.identifier_case, accepted);
}

}  // namespace

bool has_class_suffix(const StyleRules& rules, std::string_view name) noexcept {
  return rules.prefix_rules_on && has_prefix_form(name) &&
         deciding_slot(rules, name) == access_to_object_slot && name.size() >= 7 &&
         name.ends_with(class_suffix);
}

bool name_spelling_complaint(const StyleRules& rules, std::string_view name,
                             const AcceptedSpellings* accepted, ParserMessage& complaint) {
  const bool prefix_form = has_prefix_form(name);
  // The common case of a run without case rules: nothing to test.
  if (!prefix_form && !rules.upper_case_names_on && rules.identifier_case == CaseConvention::Any) return false;
  if (prefix_form) {
    if (name[0] == 'X') return false;
    const int slot = deciding_slot(rules, name);
    if (slot >= 0) {
      std::string_view tested = name;
      if (slot == access_to_object_slot && has_class_suffix(rules, name)) {
        tested.remove_suffix(class_suffix.size());
      }
      return fails_case(rules, tested, rules.prefix_slots[slot].upper_case_required, accepted, complaint);
    }
  } else if (rules.upper_case_names_on && is_boolean_literal(name)) {
    return fails_case(rules, name, true, accepted, complaint);
  }
  return fails_case(rules, name, false, accepted, complaint);
}

void check_name_spelling(ParserState& state, std::string_view name, const AcceptedSpellings* accepted) {
  ParserMessage complaint{};
  if (name_spelling_complaint(state.style_rules(), name, accepted, complaint)) report_at_word(state, complaint);
}

// The usual name under the Mixed rule: no pragma's name, no package prefix
// or package name waiting, no naming prefix to look up, no Boolean literal.
// It is tested here rather than through the general test, and one run of the
// machine answers the character test as well; a name that passes both
// leaves at once, the others take the out-of-line way.
[[gnu::always_inline]] inline void IdentifierRule::judge_usual_mixed_name(ParserState& state, std::string_view name) {
  using case_classes::mixed_case_ascii_machine;
  const auto* const end = mixed_case_ascii_machine.run(name);
  if (mixed_case_ascii_machine.passed_plain(end)) return;
  report_usual_mixed_name(state, name, mixed_case_ascii_machine.high_byte_read(end), mixed_case_ascii_machine.failed(end));
}

void IdentifierRule::report_usual_mixed_name(ParserState& state, std::string_view name, bool high_byte, bool failed) {
  if (high_byte && state.style_rules().portable_characters_on) report_characters_not_portable(state);
  if (failed && !accepts(accepted_, name)) report_at_word(state, ParserMessage::IDENTIFIER_SPELLING);
}

// The usual name under the Mixed rule meets nothing else here, and makes
// no call unless it fails: the step saves no registers for it. Settings that
// were quiet when last asked about need not be asked again for a Mixed rule,
// which is never quiet.
// Whether the name just read is the usual one under the Mixed rule (not
// followed by a dot, no naming prefix, no Boolean literal to upper-case),
// judged here if it is.
[[gnu::always_inline]] inline bool IdentifierRule::judged_as_usual_mixed_name(ParserState& state,
                                                                              const StyleRules& rules) {
  if (rules.identifier_case != CaseConvention::Mixed || state.lexer().is_symbol(AdaSymbol::DOT)) return false;
  const std::string_view name = state.previous_token_text();
  if (has_prefix_form(name) || (rules.upper_case_names_on && is_boolean_literal(name))) return false;
  judge_usual_mixed_name(state, name);
  return true;
}

void IdentifierRule::judge_identifier(ParserState& state) {
  if (nothing_waits() && !state.in_sql() && judged_as_usual_mixed_name(state, state.style_rules())) return;
  judge_other_identifier(state);
}

void IdentifierRule::judge_other_identifier(ParserState& state) {
  // Quiet settings stop most names inline; replaced, they are asked about
  // again here, once.
  if (quiet_) {
    if (judged_version_ != state.style_version()) judge_settings(state);
    if (quiet_ && nothing_waits()) return;
  }
  if (waiting_.package_name == Pending::NAME || waiting_.package_name == Pending::AFTER_IS) judge_pending(state);
  // The words of an embedded SQL statement are no Ada names.
  if (state.in_sql()) return;
  const StyleRules& rules = state.style_rules();
  if (!waiting_.pragma_name && waiting_.package_name != Pending::PACKAGE_KEYWORD &&
      judged_as_usual_mixed_name(state, rules)) {
    return;
  }
  if (rules.portable_characters_on && !text_scan::is_plain_ascii(state.previous_token_text())) report_characters_not_portable(state);
  // A pragma's name follows the pragma case alone.
  if (waiting_.pragma_name) {
    waiting_.pragma_name = false;
    return;
  }
  const bool prefix = state.lexer().is_symbol(AdaSymbol::DOT);
  if (prefix && judged_as_package_prefix(state, state.previous_token_text())) return;
  if (waiting_.package_name == Pending::PACKAGE_KEYWORD && !prefix) {
    hold_package_name(state);
    return;
  }
  const std::string_view name = state.previous_token_text();
  const bool prefix_form = has_prefix_form(name);
  // A package prefix the list left unjudged, under the Mixed rule.
  if (!prefix_form && rules.identifier_case == CaseConvention::Mixed &&
      !(rules.upper_case_names_on && is_boolean_literal(name))) {
    if (!follows_mixed_case(name, accepted_)) report_at_word(state, ParserMessage::IDENTIFIER_SPELLING);
    return;
  }
  if (rules.identifier_case == CaseConvention::Any && !rules.upper_case_names_on && !prefix_form) return;
  check_name_spelling(state, name, accepted_);
}

void IdentifierRule::judge_settings(const ParserState& state) noexcept {
  quiet_ = !identifier_rules_may_complain(state.style_rules());
  judged_version_ = state.style_version();
}

void IdentifierRule::report_characters_not_portable(ParserState& state) {
  // Once per name, however many of its letters are above code 127: the
  // finding is about the name, and a second one would repeat the line.
  report_at_word(state, ParserMessage::CHARACTER_NOT_PORTABLE);
}

void IdentifierRule::hold_package_name(ParserState& state) {
  waiting_.package_name = Pending::NAME;
  pending_name_.assign(state.previous_token_text());
  pending_text_.assign(state.previous_token_line_text());
  pending_line_ = state.previous_token_line();
  pending_column_ = state.previous_token_column();
}

bool IdentifierRule::judged_as_package_prefix(ParserState& state, std::string_view name) {
  const StyleRules& rules = state.style_rules();
  if (!rules.package_name_on) return false;
  bool differs = false;
  for (const std::string& known : package_names_) {
    if (known == name) return true;
    if (!differs && same_name(known, name)) {
      differs = true;
      package_spelling_ = known;
    }
  }
  if (differs) {
    state.report(ParserMessage::PACKAGE_NAME_SPELLING);
    return true;
  }
  // In a file checked alone the unknown prefixes are the other units' names,
  // which the file cannot see: the rules may leave them unjudged.
  return state.file_role() == FileRole::SINGLE_FILE && rules.instance_names_exempt;
}

void IdentifierRule::follow_package_name(ParserState& state, AdaKeyword keyword) {
  switch (waiting_.package_name) {
    case Pending::NONE:
      break;
    case Pending::PACKAGE_KEYWORD:
      // PACKAGE BODY: a body's name is judged as any other.
      waiting_.package_name = Pending::NONE;
      break;
    case Pending::NAME:
      if (keyword == AdaKeyword::KEYWORD_RENAMES) {
        waiting_.package_name = Pending::NONE;
      } else if (keyword == AdaKeyword::KEYWORD_IS) {
        waiting_.package_name = Pending::AFTER_IS;
      } else {
        judge_pending(state);
      }
      break;
    case Pending::AFTER_IS:
      if (keyword == AdaKeyword::KEYWORD_NEW) {
        waiting_.package_name = Pending::NONE;
      } else {
        judge_pending(state);
      }
      break;
  }
  if (keyword == AdaKeyword::KEYWORD_PACKAGE && state.style_rules().instance_names_exempt) {
    waiting_.package_name = Pending::PACKAGE_KEYWORD;
  }
}

void IdentifierRule::judge_pending(ParserState& state) {
  waiting_.package_name = Pending::NONE;
  ParserMessage complaint{};
  if (name_spelling_complaint(state.style_rules(), pending_name_, accepted_, complaint)) {
    state.report_at(complaint, pending_line_, pending_column_, pending_text_);
  }
}

void IdentifierRule::on_with_clause_name(std::string_view name) {
  if (name.find('.') == std::string_view::npos) add_package_name(name);
}

void IdentifierRule::on_unit_defined(std::string_view name, UnitKind kind) {
  if ((kind == UnitKind::PACKAGE_RENAMING || kind == UnitKind::PACKAGE_INSTANTIATION) &&
      name.find('.') == std::string_view::npos) {
    add_package_name(name);
  }
}

void IdentifierRule::add_package_name(std::string_view name) {
  for (const std::string& known : package_names_) {
    if (known == name) return;
  }
  package_names_.emplace_back(name);
}

}  // namespace flawseek
