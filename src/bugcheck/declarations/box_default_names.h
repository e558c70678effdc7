// What the preparation pass collects for the check pass: the names of the
// box-default generic formal subprograms ("with procedure Visit is <>;") of
// every specification of the tree, each once, compared exactly.
#pragma once

#include <string_view>

#include "platform/text_list.h"

namespace flawseek {

inline void add_box_default_name(TextList& names, std::string_view designator) {
  if (!names.contains(designator, /*case_sensitive=*/true)) names.append(designator);
}

// Whether `source` may declare a box default at all: the box "<>" is one
// lexical element, never split and with no replacement spelling, so a text
// without it declares none.
inline bool may_hold_box_default(std::string_view source) noexcept {
  return source.find("<>") != std::string_view::npos;
}

}  // namespace flawseek
