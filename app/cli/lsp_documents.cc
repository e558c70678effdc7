// Positions of the protocol and edits of a document's text.
#include "lsp_documents.h"

#include <algorithm>
#include <cstring>

namespace flawseek {

namespace {

// The bytes of the character at `at` and its UTF-16 code units.
std::size_t character_at(std::string_view text, std::size_t at, int& units) {
  const auto lead = static_cast<unsigned char>(text[at]);
  units = 1;
  std::size_t size = 1;
  if (lead >= 0xF0 && lead <= 0xF4) {
    size = 4;
    units = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    size = 3;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    size = 2;
  } else {
    return 1;
  }
  if (at + size > text.size()) {
    units = 1;
    return 1;
  }
  for (std::size_t next = 1; next < size; ++next) {
    if ((static_cast<unsigned char>(text[at + next]) & 0xC0) != 0x80) {
      units = 1;
      return 1;
    }
  }
  return size;
}

std::string_view without_line_end(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

}  // namespace

std::size_t byte_offset_of(std::string_view text, TextPosition position) {
  std::size_t start = 0;
  for (std::int64_t line = 0; line < position.line; ++line) {
    const void* end = std::memchr(text.data() + start, '\n', text.size() - start);
    if (end == nullptr) return text.size();
    start = static_cast<std::size_t>(static_cast<const char*>(end) - text.data()) + 1;
  }
  const std::size_t newline = text.find('\n', start);
  const std::string_view line =
      without_line_end(text.substr(start, newline == std::string_view::npos ? std::string_view::npos : newline - start));
  std::size_t at = 0;
  std::int64_t counted = 0;
  while (at < line.size() && counted < position.character) {
    int units = 1;
    const std::size_t size = character_at(line, at, units);
    if (counted + units > position.character) break;
    counted += units;
    at += size;
  }
  return start + at;
}

std::int64_t utf16_length(std::string_view bytes) {
  std::int64_t units = 0;
  for (std::size_t at = 0; at < bytes.size();) {
    // ASCII, most of any source, a byte at a time without the decoding.
    if (static_cast<unsigned char>(bytes[at]) < 0x80) {
      ++units;
      ++at;
      continue;
    }
    int these = 1;
    at += character_at(bytes, at, these);
    units += these;
  }
  return units;
}

void LineStarts::index(std::string_view text) {
  text_ = text;
  starts_.clear();
  starts_.push_back(0);
  for (std::size_t at = 0;;) {
    const void* end = std::memchr(text.data() + at, '\n', text.size() - at);
    if (end == nullptr) break;
    at = static_cast<std::size_t>(static_cast<const char*>(end) - text.data()) + 1;
    starts_.push_back(at);
  }
}

std::string_view LineStarts::line_text(std::int64_t line) const {
  if (line < 0 || static_cast<std::size_t>(line) >= starts_.size()) return {};
  const std::size_t start = starts_[static_cast<std::size_t>(line)];
  const std::size_t next = static_cast<std::size_t>(line) + 1;
  const std::size_t end = next < starts_.size() ? starts_[next] - 1 : text_.size();
  return without_line_end(text_.substr(start, end - start));
}

std::string changed_text(std::string_view text, const TextChange& change) {
  if (change.whole) return change.text;
  const std::size_t start = byte_offset_of(text, change.range.start);
  const std::size_t end = std::max(start, byte_offset_of(text, change.range.end));
  std::string changed;
  changed.reserve(text.size() - (end - start) + change.text.size());
  changed.append(text.substr(0, start));
  changed.append(change.text);
  changed.append(text.substr(end));
  return changed;
}

}  // namespace flawseek
