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

}  // namespace flawseek
