// The hooks of the preparation-pass parser instance, which runs over the
// specifications of the tree before any file is checked. The parse reads its
// lines through the bug checker's reader (so commands are read as in the
// check), and its complaints are not findings: only the check reports.
#pragma once

#include <string_view>

#include "frontend/parser_hooks.h"

namespace flawseek {

struct PrepareHooks : EmptyHooks {
  static constexpr std::string_view exception_prefix = "DEFECT_SCAN.NQS.A95_PREPARE";
};

}  // namespace flawseek
