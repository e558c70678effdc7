// UNUSED_UNIT: the unit lists of a file and of a pair, and the end-of-file
// and end-of-pair comparisons.
#include "bugcheck/declarations/unit_usage_rule.h"

namespace flawseek {

void UnitUsageRule::reset_check() {
  spec_declared_names_.clear();
  spec_unused_withs_.clear();
}

void UnitUsageRule::reset_file() {
  declared_unit_count_ = 0;
  declared_units_index_.clear();
  with_units_.clear();
  candidates_.clear();
  used_.clear();
  candidate_filter_.clear();
  // A with of System is never reported.
  add_candidate("System", true);
  // The body of a pair may use what its specification's withs name.
  for (const NameItem& item : spec_unused_withs_) {
    add_candidate(item.name, false);
    const std::size_t dot = item.name.rfind('.');
    if (dot != std::string::npos) add_candidate(std::string_view(item.name).substr(dot + 1), false);
  }
}

void UnitUsageRule::add_candidate(std::string_view name, bool used) {
  candidate_filter_.add(name);
  const std::uint32_t number = candidates_.add(name);
  if (number == used_.size()) {
    used_.push_back(used);
  } else if (used) {
    used_[number] = true;
  }
}

void UnitUsageRule::unit_defined(std::string_view name, UnitKind kind, SourcePosition at, std::string_view text,
                                 bool dispatched) {
  switch (kind) {
    // Tasks run and protected objects are called through their own names:
    // their bodies are no units that a caller names.
    case UnitKind::TASK_BODY:
    case UnitKind::TASK_BODY_STUB:
    case UnitKind::PROTECTED_BODY:
    case UnitKind::PROTECTED_BODY_STUB:
      return;
    default:
      break;
  }
  std::size_t start = 0;  // of the last identifier
  for_each_dot(name, [&start](std::size_t dot) { start = dot + 1; });
  const std::string_view last = name.substr(start);
  // An operator is called by its symbol between operands, which names nothing.
  if (last.empty() || last.front() == '"') return;
  // The operations of a controlled type are called by the language itself.
  if (latin1::equal_ignoring_case(last, "Initialize") || latin1::equal_ignoring_case(last, "Finalize") ||
      latin1::equal_ignoring_case(last, "Adjust")) {
    return;
  }
  // A name already known keeps its number, smaller than the count before.
  const std::size_t known = declared_units_index_.size();
  if (declared_units_index_.add(last) < known) {
    if (dispatched) add_candidate(last, true);
    return;
  }
  if (declared_unit_count_ == declared_units_.size()) declared_units_.emplace_back();
  NameItem& item = declared_units_[declared_unit_count_++];
  item.name.assign(last);
  item.line = at.line;
  item.column = at.column;
  item.text.assign(text);
  add_candidate(last, dispatched);
}

void UnitUsageRule::with_clause_name(const ParserState& state, std::string_view name) {
  // The name's first identifier is where the clause names the unit.
  const std::size_t length = name.size();
  const TokenRecord& last = state.previous_token();
  std::int32_t column = last.column - static_cast<std::int32_t>(length) + static_cast<std::int32_t>(last.text.size());
  if (column < 1) column = last.column;
  with_units_.add_unique(NameItem{std::string(name), last.line, column, std::string(state.previous_token_line_text())});
  add_candidate(name, false);
  const std::size_t dot = name.rfind('.');
  if (dot != std::string_view::npos) add_candidate(name.substr(dot + 1), false);
}

void UnitUsageRule::mark_used(std::string_view name) {
  const std::uint32_t number = candidates_.find(name);
  if (number != FoldedNameIndex::none) used_[number] = true;
}

void UnitUsageRule::remember_used(const DottedName& dotted) {
  // The prefixes ("Ada", "Ada.Text_IO", "Ada.Text_IO.Put") and the
  // identifiers after the first ("Text_IO", "Put"), each looked up only when
  // the filter may hold it.
  const auto use = [this](std::string_view part) {
    if (candidate_filter_.may_hold(part)) mark_used(part);
  };
  const std::string_view name = dotted.text;
  std::size_t start = 0;  // of the identifier the next dot ends
  for_each_dot(dotted, [&](std::size_t dot) {
    use(name.substr(0, dot));
    if (start > 0) use(name.substr(start, dot - start));
    start = dot + 1;
  });
  use(name);
  if (start > 0) use(name.substr(start));
}

bool UnitUsageRule::is_used(std::string_view name) {
  const std::uint32_t number = candidates_.find(name);
  return number != FoldedNameIndex::none && used_[number];
}

// A with of A.B.C is used by a name starting A.B.C and, after "use A.B" or
// "use A", by one starting C or B.C: its last identifier then stands alone.
bool UnitUsageRule::is_used_with(std::string_view name) {
  if (is_used(name)) return true;
  const std::size_t dot = name.rfind('.');
  return dot != std::string_view::npos && is_used(name.substr(dot + 1));
}

void UnitUsageRule::after_specification() {
  spec_declared_names_.clear();
  for (const NameItem& item : declared_units()) spec_declared_names_.add(item.name);
  spec_unused_withs_.clear();
  for (const NameItem& item : with_units_) {
    if (!is_used_with(item.name)) spec_unused_withs_.append(item);
  }
}

// A with keeps the kind's own sentence; a local unit says what it lacks.
void UnitUsageRule::report(const NameList& units, bool local, CheckReporter& reporter) {
  static constexpr std::string_view never_called = "local unit is never called";
  for (const NameItem& item : units) {
    if (box_default_names_.contains(item.name, /*case_sensitive=*/true)) continue;
    reporter.report_described_bug(BugKind::UNUSED_UNIT, {item.line, item.column}, item.text,
                                  local ? never_called : std::string_view());
  }
}

void UnitUsageRule::after_body(CheckReporter& reporter) {
  NameList unused_local;
  NameList unused_withs;
  const auto in_specification = [this](const NameItem& item) {
    return spec_declared_names_.find(item.name) != FoldedNameIndex::none;
  };
  for (const NameItem& item : declared_units()) {
    if (!in_specification(item) && !is_used(item.name)) unused_local.append(item);
  }
  for (const NameItem& item : with_units_) {
    if (!in_specification(item) && !is_used_with(item.name) && !unused_local.contains(item)) {
      unused_withs.append(item);
    }
  }
  report(unused_local, /*local=*/true, reporter);
  report(unused_withs, /*local=*/false, reporter);
}

void UnitUsageRule::after_pair(CheckReporter& reporter) {
  NameList unused;
  for (const NameItem& item : spec_unused_withs_) {
    if (!is_used_with(item.name)) unused.append(item);
  }
  report(unused, /*local=*/false, reporter);
}

}  // namespace flawseek
