// The granularity rule over the elements of the outermost open list.
#include "bugcheck/rules/granularity_rule.h"

#include "bugcheck/rules/name_start.h"
#include "frontend/text_utilities.h"

namespace flawseek {

namespace {

// The lists through which a value is handed on to a formal or a component.
// A constraint's discriminants and indices are bit counts as often as not,
// and the other lists hand nothing on.
bool hands_on(ListKind kind) noexcept {
  switch (kind) {
    case ListKind::ACTUAL_PARAMETERS:
    case ListKind::AGGREGATE:
    case ListKind::GENERIC_ACTUALS:
      return true;
    case ListKind::INDEX_OR_DISCRIMINANT_CONSTRAINT:
    case ListKind::PRAGMA_ARGUMENTS:
    case ListKind::DISCRIMINANT_PART:
    case ListKind::FORMAL_PART:
    case ListKind::ENUMERATION_TYPE:
    case ListKind::SUBUNIT_NAME:
      return false;
  }
  return false;
}

// The unit a formal's or component's name says, from the words between its
// underscores.
NamedUnit unit_named_by(std::string_view name) noexcept {
  static constexpr std::string_view storage_words[] = {"BYTE",  "BYTES", "OCTET", "OCTETS",
                                                        "LENGTH", "LEN", "COUNT", "STORAGE"};
  NamedUnit unit = NamedUnit::UNKNOWN;
  while (!name.empty()) {
    const std::size_t end = name.find('_');
    const std::string_view word = name.substr(0, end);
    if (word.size() >= 3 && same_name(word.substr(0, 3), "BIT")) return NamedUnit::BITS;
    for (std::string_view storage : storage_words) {
      if (same_name(word, storage)) unit = NamedUnit::STORAGE_UNITS;
    }
    if (end == std::string_view::npos) break;
    name.remove_prefix(end + 1);
  }
  return unit;
}

}  // namespace

void GranularityRule::list_opened(ListKind kind) noexcept {
  ++state_.open_lists;
  const bool attribute_arguments = state_.attribute_arguments_follow;
  state_.attribute_arguments_follow = false;
  if (!hands_on(kind)) return;
  if (state_.list_nesting == 0) {
    state_.address_seen = false;
    state_.pending_count = 0;
    state_.outermost_open_lists = state_.open_lists;
    element_ended();
  }
  ++state_.list_nesting;
  if (attribute_arguments && state_.attribute_list == 0) state_.attribute_list = state_.list_nesting;
}

void GranularityRule::element_ended() noexcept {
  GranularityState& s = state_;
  if (s.size_in_element && !s.operator_in_element && s.element_unit != NamedUnit::BITS &&
      s.pending_count < GranularityState::pending_capacity) {
    s.pending[static_cast<std::size_t>(s.pending_count++)] = {s.size_at, s.element_unit == NamedUnit::STORAGE_UNITS};
  }
  s.size_in_element = false;
  s.operator_in_element = false;
  s.element_unit = NamedUnit::UNKNOWN;
}

void GranularityRule::list_element_ended(ListKind kind) noexcept {
  if (hands_on(kind) && state_.list_nesting == 1) element_ended();
}

void GranularityRule::list_closed(ListKind kind, CheckReporter& reporter) {
  if (state_.open_lists > 0) --state_.open_lists;
  if (!hands_on(kind) || state_.list_nesting == 0) return;
  if (state_.attribute_list == state_.list_nesting) state_.attribute_list = 0;
  // Adjust the nesting first: the report may end the file.
  const bool outermost = state_.list_nesting == 1;
  --state_.list_nesting;
  if (!outermost) return;
  element_ended();
  report_pending(reporter);
}

void GranularityRule::report_pending(CheckReporter& reporter) {
  const int count = state_.pending_count;
  state_.pending_count = 0;
  for (int i = 0; i < count; ++i) {
    const BareSize bare = state_.pending[static_cast<std::size_t>(i)];
    if (!state_.address_seen && !bare.named_storage_units) continue;
    reporter.report_bug(BugKind::WRONG_GRANULARITY, bare.at);
  }
}

void GranularityRule::association(const ParserState& state, bool named) noexcept {
  if (!named || state_.list_nesting == 0 || state_.open_lists != state_.outermost_open_lists) return;
  state_.element_unit = unit_named_by(word_before_previous_token(state));
}

void GranularityRule::attribute_accepted(const ParserState& state, std::string_view designator) noexcept {
  if (state_.list_nesting > 0 && state_.attribute_list == 0) {
    if (designator == "size" && !state_.size_in_element) {
      state_.size_in_element = true;
      state_.size_at = previous_token_position(state);
    } else if (designator == "address") {
      state_.address_seen = true;
    }
  }
  // An attribute whose arguments follow: Image, Max, Val and the like.
  state_.attribute_arguments_follow = state.lexer().is_symbol(AdaSymbol::LEFT_PAREN);
}

}  // namespace flawseek
