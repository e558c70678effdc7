// Escaping control bytes for the line formats.
#include "platform/printable_text.h"

#include <algorithm>

namespace flawseek {

std::string_view printable(std::string_view text, std::string& room) {
  if (std::none_of(text.begin(), text.end(), [](char c) { return is_control_byte(static_cast<unsigned char>(c)); })) {
    return text;
  }
  static constexpr char hex[] = "0123456789abcdef";
  room.clear();
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (!is_control_byte(byte)) {
      room.push_back(c);
    } else if (c == '\n') {
      room += "\\n";
    } else if (c == '\r') {
      room += "\\r";
    } else if (c == '\t') {
      room += "\\t";
    } else {
      room += "\\x";
      room.push_back(hex[byte >> 4]);
      room.push_back(hex[byte & 0xF]);
    }
  }
  return room;
}

std::string printable(std::string_view text) {
  std::string room;
  return std::string(printable(text, room));
}

}  // namespace flawseek
