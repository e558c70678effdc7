// Telling UTF-8 from Latin-1, and converting the latter.
#include "platform/utf8_text.h"

#include "platform/text_scan/ascii_words.h"

namespace flawseek {

namespace {

// The length of the UTF-8 sequence at `at`, or 0 when it is not one.
std::size_t utf8_sequence_length(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  std::size_t length = 0;
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) length = 2;
  else if (lead >= 0xE0 && lead <= 0xEF) length = 3;
  else if (lead >= 0xF0 && lead <= 0xF4) length = 4;
  else return 0;
  if (at + length > text.size()) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return 0;
  }
  // Overlong forms and surrogates are not UTF-8 either.
  if (lead == 0xE0 && byte(at + 1) < 0xA0) return 0;
  if (lead == 0xED && byte(at + 1) >= 0xA0) return 0;
  if (lead == 0xF0 && byte(at + 1) < 0x90) return 0;
  if (lead == 0xF4 && byte(at + 1) >= 0x90) return 0;
  return length;
}

}  // namespace

bool is_utf8(std::string_view text) {
  if (text_scan::is_plain_ascii(text)) return true;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = utf8_sequence_length(text, at);
    if (length == 0) return false;
    at += length;
  }
  return true;
}

std::string_view utf8_text(std::string_view text, std::string& room) {
  if (is_utf8(text)) return text;
  room.clear();
  room.reserve(text.size() + text.size() / 4);
  for (const char c : text) {
    const auto code = static_cast<unsigned char>(c);
    if (code < 0x80) {
      room.push_back(c);
    } else {
      room.push_back(static_cast<char>(0xC0 | (code >> 6)));
      room.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
  }
  return room;
}

std::string utf8_text(std::string_view text) {
  std::string room;
  const std::string_view result = utf8_text(text, room);
  // The view is of `room` only when it converted; then the room is the result.
  if (result.data() == room.data()) return room;
  return std::string(result);
}

}  // namespace flawseek
