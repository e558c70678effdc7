// Names as the line formats print them: control bytes (C0 and DEL) written
// as visible escapes (\n, \r, \t, \x1b), so that no file name can start a
// new output line, forge a finding or steer a terminal; and valid UTF-8, a
// name that is not being read as Latin-1 (the bytes of one that is stay).
#pragma once

#include <string>
#include <string_view>

namespace flawseek {

constexpr bool is_control_byte(unsigned char byte) { return byte < 0x20 || byte == 0x7F; }

// `text` itself when it holds no control byte and is UTF-8 (the usual case,
// with no copy); otherwise its printable form, made in `room`.
std::string_view printable(std::string_view text, std::string& room);

// The same as a string of its own.
std::string printable(std::string_view text);

}  // namespace flawseek
