// WRONG_GRANULARITY: the attribute 'Size handed on bare in a parameter list,
// an aggregate or an index list (`Move (A'Address, B'Address, A'Size)`),
// where a count of storage units is likely meant: 'Size counts bits. A list
// in which any operator was applied (`A'Size / 8`, `X'Size = 32`) is taken
// to have converted the value; nested lists count as part of the outermost.
#pragma once

#include <string_view>

#include "bugcheck/check_reporter.h"
#include "frontend/parser_hooks.h"

namespace flawseek {

struct GranularityState {
  // Open lists the rule counts; 1 is the outermost.
  int list_nesting = 0;
  bool size_seen = false;
  bool size_used_in_arithmetic = false;
  // The next list opened is the argument list of an attribute.
  bool attribute_arguments_follow = false;
  // The nesting of the attribute argument list the parse is inside; 0 when
  // none. 'Size there is an attribute's argument, such as the bit count
  // `Integer'Image (T'Size)` prints, and is not handed on to a callee.
  int attribute_list = 0;
};

class GranularityRule {
 public:
  void reset() noexcept { state_ = {}; }

  void list_opened(ListKind kind) noexcept;
  void list_element_ended(const ParserState& state, ListKind kind, CheckReporter& reporter);
  void list_closed(const ParserState& state, ListKind kind, CheckReporter& reporter);
  void attribute_accepted(const ParserState& state, std::string_view designator) noexcept;
  void operator_applied() noexcept { state_.size_used_in_arithmetic = true; }

  const GranularityState& state() const noexcept { return state_; }

 private:
  void end_of_element(const ParserState& state, CheckReporter& reporter);
  void report_bare_size(const ParserState& state, CheckReporter& reporter);

  GranularityState state_;
};

}  // namespace flawseek
