// The bug checker's comment-command parser on any text after "-->", with
// style checks on and off: it must never fail, and a mark command adds marks
// of known kinds only.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "bugcheck/command_parser.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace flawseek;
  fuzzing::FuzzInput input(data, size);
  const std::uint8_t switches = input.byte();
  static CommandParser parser;
  MarkList marks;
  const auto style = parser.parse(input.rest(), 7, 1, input.flag(switches, 0), marks);
  if (style && !input.flag(switches, 0)) std::abort();  // style commands need style checks on
  for (const SuppressionMark& mark : marks) {
    if (static_cast<int>(mark.kind) >= bug_kind_count || mark.line != 7) std::abort();
  }
  return 0;
}
