// Prefix tests of declared names and subtype marks; access type class names.
#include "stylecheck/declaration_prefix_rule.h"

#include <array>
#include <utility>

#include "frontend/text_utilities.h"
#include "platform/text_scan/ascii_words.h"
#include "stylecheck/identifier_rule.h"
#include "stylecheck/word_report.h"

namespace flawseek {

namespace {

// Slot positions (0-based) by kind of declaration.
constexpr int constant_slot = 0;
constexpr int loop_parameter_slot = 1;
constexpr int exception_slot = 2;
constexpr int access_to_object_slot = 3;
constexpr int access_to_subprogram_slot = 4;
constexpr int task_type_slot = 5;
constexpr int protected_type_slot = 6;
constexpr int other_type_slot = 7;
// The type slots a subtype mark may carry, in the order they are tried.
constexpr std::array<int, 5> subtype_mark_slots = {other_type_slot, access_to_object_slot,
                                                   access_to_subprogram_slot, task_type_slot,
                                                   protected_type_slot};

// Whether `name` is `known` (upper-case ASCII letters and underscores, 5 to
// 14 of them, as many as `name` has) in any letter case.
bool spells_upper_case_name(std::string_view known, std::string_view name) {
  return text_scan::spells_in_any_case(known, name.data());
}

// The one predefined type name (BOOLEAN, CHARACTER, DURATION, FLOAT,
// INTEGER, LONG_FLOAT, LONG_INTEGER, NATURAL, POSITIVE, SHORT_INTEGER,
// STRING, WIDE_CHARACTER, WIDE_STRING) that has the length and first letter
// of `name`, or an empty view: most marks are told apart without a search.
std::string_view predefined_candidate(std::string_view name) {
  const char first = static_cast<char>(name[0] & ~0x20);
  switch (name.size()) {
    case 5: return first == 'F' ? "FLOAT" : "";
    case 6: return first == 'S' ? "STRING" : "";
    case 7: return first == 'B' ? "BOOLEAN" : first == 'I' ? "INTEGER" : first == 'N' ? "NATURAL" : "";
    case 8: return first == 'D' ? "DURATION" : first == 'P' ? "POSITIVE" : "";
    case 9: return first == 'C' ? "CHARACTER" : "";
    case 10: return first == 'L' ? "LONG_FLOAT" : "";
    case 11: return first == 'W' ? "WIDE_STRING" : "";
    case 12: return first == 'L' ? "LONG_INTEGER" : "";
    case 13: return first == 'S' ? "SHORT_INTEGER" : "";
    case 14: return first == 'W' ? "WIDE_CHARACTER" : "";
    default: return "";
  }
}


bool carries_prefix(std::string_view name, char prefix) {
  return name.size() >= 3 && name[0] == prefix && name[1] == '_';
}

// The same for any of the prefixes marked in `prefixes`, indexed by byte.
bool carries_any_prefix(std::string_view name, const std::array<bool, 256>& prefixes) {
  return name.size() >= 3 && name[1] == '_' && prefixes[static_cast<unsigned char>(name[0])];
}

bool all_upper(std::string_view name) { return has_no_lower_case(name); }

bool is_simple(std::string_view name) { return name.find('.') == std::string_view::npos; }

// The class-wide naming rules' own forms that stand in for a prefix.
bool accepted_type_form(const StyleRules& rules, std::string_view name, int slot) {
  if (!rules.prefix_rules_on || name.size() < 4) return false;
  if (slot == access_to_object_slot) return name.starts_with("T_") && name.ends_with("_PTR");
  if (slot == other_type_slot) return name.starts_with("SP_");
  return false;
}

// The judgement of one declared name; the report stands at the name.
void judge_declared(ParserState& state, std::string_view name, int slot, int line, int column,
                    std::string_view line_text) {
  const StyleRules& rules = state.style_rules();
  const PrefixRule& rule = rules.prefix_slots[static_cast<std::size_t>(slot)];
  if (rule.prefix == ' ') {
    if (rule.upper_case_required && !all_upper(name)) {
      state.report_at(ParserMessage::NOT_UPPER_CASE, line, column, line_text);
    }
    return;
  }
  if (carries_prefix(name, rule.prefix) || accepted_type_form(rules, name, slot)) return;
  state.report_at(ParserMessage::PREFIX_MISSING, line, column, line_text);
}

}  // namespace

bool is_predefined_type_name(std::string_view name) {
  if (name.empty()) return false;
  const std::string_view known = predefined_candidate(name);
  return !known.empty() && spells_upper_case_name(known, name);
}

void DeclarationPrefixRule::collect_declared(ParserState& state, std::string_view name) {
  if (name_count_ == names_.size()) names_.emplace_back();
  DeclaredName& slot = names_[name_count_++];
  slot.name.assign(name);
  slot.line_text.assign(state.previous_token_line_text());
  slot.line = state.previous_token_line();
  slot.column = state.previous_token_column();
}

void DeclarationPrefixRule::judge_collected(ParserState& state, std::size_t count, DeclarationCategory category) {
  const int slot = category == DeclarationCategory::CONSTANT ? constant_slot : exception_slot;
  judged_slot_ = slot;
  for (std::size_t i = name_base_; i < count; ++i) {
    judge_declared(state, names_[i].name, slot, names_[i].line, names_[i].column, names_[i].line_text);
  }
}

void DeclarationPrefixRule::on_name_declared(ParserState& state, std::string_view name,
                                             DeclarationCategory category) {
  if (category != DeclarationCategory::LOOP_PARAMETER) return;
  judged_slot_ = loop_parameter_slot;
  judge_declared(state, name, loop_parameter_slot, state.previous_token_line(), state.previous_token_column(), {});
}

void DeclarationPrefixRule::on_type_declared(ParserState& state, std::string_view name, int line, int column,
                                             TypeKind kind) {
  int slot = other_type_slot;
  switch (kind) {
    case TypeKind::INCOMPLETE:
      return;
    case TypeKind::ACCESS_TO_OBJECT:
      slot = access_to_object_slot;
      break;
    case TypeKind::ACCESS_TO_SUBPROGRAM:
      slot = access_to_subprogram_slot;
      break;
    case TypeKind::TASK:
      slot = task_type_slot;
      break;
    case TypeKind::PROTECTED:
      slot = protected_type_slot;
      break;
    case TypeKind::OTHER:
      if (private_view_) return;
      break;
  }
  judged_slot_ = slot;
  judge_declared(state, name, slot, line, column, type_line_text_);
  if (kind == TypeKind::ACCESS_TO_OBJECT && state.style_rules().prefix_rules_on &&
      has_class_suffix(state.style_rules(), name) != class_wide_) {
    state.report_at(ParserMessage::ACCESS_TYPE_CLASS, line, column, type_line_text_);
  }
}

void DeclarationPrefixRule::learn_mark_rules(const ParserState& state) noexcept {
  const StyleRules& rules = state.style_rules();
  marks_version_ = state.style_version();
  mark_prefix_.fill(false);
  mark_blank_reached_ = false;
  mark_blank_upper_case_ = false;
  for (int slot : subtype_mark_slots) {
    const PrefixRule& rule = rules.prefix_slots[static_cast<std::size_t>(slot)];
    if (rule.prefix == ' ') {
      mark_blank_reached_ = true;
      mark_blank_upper_case_ = rule.upper_case_required;
      return;
    }
    mark_prefix_[static_cast<unsigned char>(rule.prefix)] = true;
  }
}

// Only simple marks are judged. A dotted one is never a predefined name nor
// passes for carrying a prefix, so it is looked for dots only when it would
// be reported: most marks are let go before. The type slots are tried in
// order until the first blank one, which says what is left to ask.
void DeclarationPrefixRule::judge_subtype_mark(ParserState& state, std::string_view name) {
  const StyleRules& rules = state.style_rules();
  // Without upper-case names, a first slot that asks nothing passes every mark.
  const PrefixRule& first = rules.prefix_slots[static_cast<std::size_t>(subtype_mark_slots[0])];
  if (!rules.upper_case_names_on && first.prefix == ' ' && !first.upper_case_required) {
    quiet_version_ = state.style_version();
    return;
  }
  // The predefined names are Standard's own spelling, never prefixed.
  if (is_predefined_type_name(name)) {
    if (rules.upper_case_names_on && !all_upper(name)) report_at_word(state, ParserMessage::NOT_UPPER_CASE);
    return;
  }
  if (marks_version_ != state.style_version()) learn_mark_rules(state);
  if (carries_any_prefix(name, mark_prefix_)) return;
  if (mark_blank_reached_) {
    if (mark_blank_upper_case_ && !all_upper(name) && is_simple(name)) report_at_word(state, ParserMessage::NOT_UPPER_CASE);
    return;
  }
  if (rules.prefix_rules_on && name.size() >= 4 && name.starts_with("SP_")) return;
  judged_slot_ = -1;
  if (is_simple(name)) report_at_word(state, ParserMessage::PREFIX_MISSING);
}

void DeclarationPrefixRule::describe_complaint(const StyleRules& rules, ParserMessage message, std::string_view name,
                                               std::string& out) const {
  static constexpr std::array<std::string_view, 8> slot_words = {
      "constant", "loop parameter", "exception", "access-to-object type", "access-to-subprogram type",
      "task type", "protected type", "type"};
  const auto quoted = [&](std::string_view text) {
    out += '`';
    out += text;
    out += '`';
  };
  const auto prefix = [&](int slot) {
    out += rules.prefix_slots[static_cast<std::size_t>(slot)].prefix;
    out += '_';
  };
  if (message == ParserMessage::ACCESS_TYPE_CLASS) {
    out += "access type ";
    quoted(name);
    if (class_wide_) {
      // The "_class" form is read only on a name with the access-to-object
      // prefix, so a name without it needs both.
      out += " designates a class-wide type: its name must be `";
      if (!carries_prefix(name, rules.prefix_slots[access_to_object_slot].prefix)) prefix(access_to_object_slot);
      out += name;
      out += class_suffix;
      out += '`';
    } else {
      out += " designates a specific type: its name must be ";
      quoted(name.ends_with(class_suffix) ? name.substr(0, name.size() - class_suffix.size()) : name);
    }
    return;
  }
  if (judged_slot_ >= 0) {
    out += slot_words[static_cast<std::size_t>(judged_slot_)];
    out += ' ';
    quoted(name);
    out += " needs the prefix ";
    prefix(judged_slot_);
    return;
  }
  out += "subtype mark ";
  quoted(name);
  out += " needs the prefix of its type:";
  // The slots tried before the first blank one, each prefix once (two
  // kinds of type may share one).
  std::array<bool, 256> named{};
  const char* separator = " ";
  for (int slot : subtype_mark_slots) {
    const char letter = rules.prefix_slots[static_cast<std::size_t>(slot)].prefix;
    if (letter == ' ') break;
    if (std::exchange(named[static_cast<unsigned char>(letter)], true)) continue;
    out += separator;
    prefix(slot);
    separator = ", ";
  }
}

}  // namespace flawseek
