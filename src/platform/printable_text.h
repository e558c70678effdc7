// Names as the line formats print them: control bytes (C0 and DEL) written
// as visible escapes (\n, \r, \t, \x1b), so that no file name can start a
// new output line, forge a finding or steer a terminal.
#pragma once

#include <string>
#include <string_view>

namespace flawseek {

constexpr bool is_control_byte(unsigned char byte) { return byte < 0x20 || byte == 0x7F; }

// `text` itself when it holds no control byte (the usual case, with no
// copy); otherwise its escaped form, made in `room`.
std::string_view printable(std::string_view text, std::string& room);

// The same as a string of its own.
std::string printable(std::string_view text);

}  // namespace flawseek
