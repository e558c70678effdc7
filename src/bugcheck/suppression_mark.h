// Suppression marks: a "-->CNR: reason" command marks one finding of its kind
// on its own line. The marks of the file or pair being checked share one list
// and are told apart by line only.
#pragma once

#include <cstdint>
#include <string_view>

#include "findings/bug_kind.h"
#include "platform/ordered_list.h"

namespace flawseek {

struct SuppressionMark {
  BugKind kind;
  std::int32_t line;
  // Where its "-->" stands, for a mark found superfluous; never compared.
  std::int32_t column = 1;
};

struct SameMark {
  bool operator()(const SuppressionMark& a, const SuppressionMark& b) const noexcept {
    return a.kind == b.kind && a.line == b.line;
  }
};

struct MarkListNames {
  static constexpr std::string_view name = "DEFECT_SCAN.NQS.MARK_LIST";
};

using MarkList = OrderedList<SuppressionMark, SameMark, MarkListNames>;

}  // namespace flawseek
