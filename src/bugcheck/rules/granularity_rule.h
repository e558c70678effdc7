// WRONG_GRANULARITY: the attribute 'Size handed on bare where a count of
// storage units is plausibly meant ('Size counts bits). The rule, element by
// element of the outermost actual parameter list, generic actual list or
// aggregate (lists nested in it count as part of its elements):
// - the element holds a 'Size with no operator applied in it (`A'Size`,
//   `Integer (A'Size)`; not `A'Size / 8`, `A'Size = 32`), outside the
//   arguments of another attribute (`Integer'Image (A'Size)`);
// - and either another element of the same list takes an 'Address
//   (`Move (A'Address, B'Address, A'Size)`), or the element is named by a
//   formal or component whose name says storage units (a word BYTE(S),
//   OCTET(S), LENGTH, LEN, COUNT or STORAGE: `Length => A'Size`);
// - never when that name says bits (a word starting with BIT).
// Index and discriminant constraints and pragma arguments are not counted,
// and a type declaration or a comparison has no 'Address or formal beside
// its 'Size (`mod 2 ** (T'Size)`, `T'Size = Ident (T'Size)`): none of them
// is reported. An element is reported once, at the word Size of its first
// 'Size.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "bugcheck/check_reporter.h"
#include "frontend/parser_hooks.h"

namespace flawseek {

// What the name of an element's formal or component says about its unit.
enum class NamedUnit : std::uint8_t { UNKNOWN, STORAGE_UNITS, BITS };

// A bare 'Size of an element, judged when its list closes.
struct BareSize {
  SourcePosition at;
  bool named_storage_units = false;
};

struct GranularityState {
  static constexpr int pending_capacity = 8;

  // Open lists the rule counts; 1 is the outermost.
  int list_nesting = 0;
  // Open lists of every kind, and their number inside the outermost counted
  // list: associations are read only there.
  int open_lists = 0;
  int outermost_open_lists = 0;
  // The element of the outermost list being read.
  bool size_in_element = false;
  bool operator_in_element = false;
  SourcePosition size_at;
  NamedUnit element_unit = NamedUnit::UNKNOWN;
  // The outermost list so far.
  bool address_seen = false;
  std::array<BareSize, pending_capacity> pending{};
  int pending_count = 0;
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
  void list_element_ended(ListKind kind) noexcept;
  void list_closed(ListKind kind, CheckReporter& reporter);
  // A named association's formal or component, just before the "=>" read last.
  void association(const ParserState& state, bool named) noexcept;
  void attribute_accepted(const ParserState& state, std::string_view designator) noexcept;
  void operator_applied() noexcept { state_.operator_in_element = true; }

  const GranularityState& state() const noexcept { return state_; }

 private:
  void element_ended() noexcept;
  void report_pending(CheckReporter& reporter);

  GranularityState state_;
};

}  // namespace flawseek
