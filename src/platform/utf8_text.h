// Text made valid UTF-8 on its way out: sources are Latin-1, terminals,
// pipes and documents expect UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace flawseek {

bool is_utf8(std::string_view text);

// `text` itself when it is valid UTF-8 already (plain ASCII is found so a
// word at a time, with no copy); otherwise each byte read as Latin-1 and
// written in UTF-8 into `room`, which the result then views.
std::string_view utf8_text(std::string_view text, std::string& room);

// The same as a string of its own.
std::string utf8_text(std::string_view text);

}  // namespace flawseek
