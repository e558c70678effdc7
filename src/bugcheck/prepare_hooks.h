// The hooks of the preparation-pass parser instance, which runs over the
// specifications of the tree before any file is checked. The parse reads its
// lines through the bug checker's reader (so commands are read as in the
// check), and its complaints are not findings: only the check reports.
#pragma once

#include <string_view>

#include "bugcheck/declarations/box_default_names.h"
#include "frontend/parser_hooks.h"
#include "platform/text_list.h"

namespace flawseek {

struct PrepareHooks : EmptyHooks {
  static constexpr std::string_view exception_prefix = "DEFECT_SCAN.NQS.A95_PREPARE";

  explicit PrepareHooks(TextList& box_default_names) : box_default_names_(box_default_names) {}

  void box_default_subprogram(ParserState&, std::string_view designator) { add_box_default_name(box_default_names_, designator); }

 private:
  TextList& box_default_names_;
};

}  // namespace flawseek
