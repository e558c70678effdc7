// Escaping control bytes, and converting Latin-1 names, for the line formats.
#include "platform/printable_text.h"

#include <algorithm>

#include "platform/utf8_text.h"

namespace flawseek {

std::string_view printable(std::string_view text, std::string& room) {
  if (std::none_of(text.begin(), text.end(), [](char c) { return is_control_byte(static_cast<unsigned char>(c)); })) {
    return utf8_text(text, room);
  }
  static constexpr char hex[] = "0123456789abcdef";
  std::string escaped;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (!is_control_byte(byte)) {
      escaped.push_back(c);
    } else if (c == '\n') {
      escaped += "\\n";
    } else if (c == '\r') {
      escaped += "\\r";
    } else if (c == '\t') {
      escaped += "\\t";
    } else {
      escaped += "\\x";
      escaped.push_back(hex[byte >> 4]);
      escaped.push_back(hex[byte & 0xF]);
    }
  }
  // Escapes are ASCII: what may still need converting is the name's own bytes.
  room = utf8_text(escaped);
  return room;
}

std::string printable(std::string_view text) {
  std::string room;
  return std::string(printable(text, room));
}

}  // namespace flawseek
