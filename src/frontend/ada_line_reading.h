// The line reader's reading of the next code line, inline: the scanner's
// lexer reads every line of every parse through it, and a call per line,
// with its results through memory, costs as much as the usual line's search.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "frontend/ada_line_reader.h"
#include "frontend/byte_search.h"
#include "frontend/wide_line_search.h"

namespace flawseek {

namespace line_stops {

// The first byte at or after `from` below `limit` or equal to `a` or `b`, or
// `length`: a text too short for a block, or a machine without blocks.
inline std::size_t find_byte(const char* text, std::size_t from, std::size_t length, unsigned char limit,
                             unsigned char a, unsigned char b) noexcept {
  for (std::size_t i = from; i < length; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < limit || c == a || c == b) return i;
  }
  return length;
}

// The bytes the line scan must stop at: control characters (a line end, or
// blanked), '-' (a comment may start) and '"' (a string may start or end).
// Everything else, nearly every byte of a line, is passed over in blocks.
inline std::size_t find_line_stop(const char* text, std::size_t from, std::size_t length) noexcept {
#if defined(__SSE2__)
  using namespace byte_search;
  const auto stops = [](Block v) { return either(at_most(v, 31), either(equal(v, '-'), equal(v, '"'))); };
  const std::ptrdiff_t at = find_far(reinterpret_cast<const unsigned char*>(text), static_cast<std::ptrdiff_t>(from),
                                     static_cast<std::ptrdiff_t>(length), stops);
  if (at >= 0) return static_cast<std::size_t>(at);
#endif
  return find_byte(text, from, length, 32, '-', '"');
}

// Where the spaces that begin a line end, when one block tells (npos when
// not: the rest of the source is short, or the block holds spaces only).
inline std::size_t indentation_end(const char* text, std::size_t length) noexcept {
#if defined(__SSE2__)
  using namespace byte_search;
  if (length >= 16) {
    if (const unsigned others = bits(equal(load(reinterpret_cast<const unsigned char*>(text)), ' ')) ^ 0xFFFFu;
        others != 0)
      return static_cast<std::size_t>(std::countr_zero(others));
  }
#else
  (void)text, (void)length;
#endif
  return std::string_view::npos;
}

// Inside a comment only the line end matters: LF or CR.
inline std::size_t find_line_end(const char* text, std::size_t from, std::size_t length) noexcept {
#if defined(__SSE2__)
  using namespace byte_search;
  const auto stops = [](Block v) { return either(equal(v, '\n'), equal(v, '\r')); };
  const std::ptrdiff_t at = find_far(reinterpret_cast<const unsigned char*>(text), static_cast<std::ptrdiff_t>(from),
                                     static_cast<std::ptrdiff_t>(length), stops);
  if (at >= 0) return static_cast<std::size_t>(at);
#endif
  return find_byte(text, from, length, 0, '\n', '\r');
}

// How the line at `text` starts (`left` bytes of source from it on), told
// by 16-byte blocks.
inline LineStart line_start(const char* text, std::size_t left) noexcept {
  const std::size_t first = indentation_end(text, left);
  if (first == std::string_view::npos) return {find_line_stop(text, 0, left), 0, false};
  // Leading spaces hold no stop: the scan begins after them.
  if (first < left - 1 && text[first] == '-' && text[first + 1] == '-')
    return {find_line_end(text, first + 2, left), static_cast<std::uint32_t>(first), true};
  return {find_line_stop(text, first, left), static_cast<std::uint32_t>(first), false};
}

}  // namespace line_stops

// Only what the scanner needs is handed on: up to the comment's first '-',
// which turns into a blank so a comment-only line still delivers one
// character: an empty line would mean the end of the source.
inline std::string_view AdaLineReader::kept_line(std::string_view raw, std::size_t comment, std::size_t blanks,
                                                 bool has_control, bool in_place, std::string& buffer) {
  if (comment == std::string_view::npos) {
    if (in_place && !has_control) return raw;
  } else if (comment < blank_run_length) {
    // Nothing but blanks and control characters before the comment.
    std::size_t k = blanks < comment ? blanks : comment;
    while (k < comment && static_cast<unsigned char>(raw[k]) <= 32) ++k;
    if (k == comment) return std::string_view(blank_run_.data(), comment + 1);
  }
  const std::size_t kept = comment == std::string_view::npos ? raw.size() : comment + 1;
  // Cleared and appended rather than assigned: the buffer already has room
  // and never overlaps the source, and an append does not ask.
  buffer.clear();
  buffer.append(raw.data(), kept);
  if (kept < raw.size()) buffer.back() = ' ';
  if (has_control) {
    for (char& c : buffer)
      if (static_cast<unsigned char>(c) < 32) c = ' ';
  }
  return buffer;
}

// Inline in read_code_line, its only caller: once per line.
[[gnu::always_inline]] inline std::string_view AdaLineReader::deliver(std::string_view raw, std::size_t comment,
                                                                      std::size_t blanks, bool has_control,
                                                                      bool in_place, std::string& buffer,
                                                                      int line_number) {
  if (listener_ == nullptr) return kept_line(raw, comment, blanks, has_control, in_place, buffer);
  DeliveredLine delivered;
  delivered.number = line_number;
  if (comment != std::string_view::npos) {
    if (comment + 2 == raw.size()) {
      delivered.empty_trailing_comment = true;
    } else if (raw[comment + 2] == '>') {
      delivered.command = raw.substr(comment + 3);
      delivered.has_command = true;
      delivered.command_at_line_start = comment == 0;
    }
  }
  delivered.text = kept_line(raw, comment, blanks, has_control, in_place, buffer);
  listener_->on_line(delivered);
  return delivered.text;
}

[[gnu::always_inline]] inline std::string_view AdaLineReader::read_code_line(std::string& buffer, int& line_number,
                                                      std::size_t longest_skipped, std::string_view& last_skipped) {
  using namespace line_stops;
  for (;;) {
    if (position_ >= source_.size()) {
      buffer.clear();
      line_number = line_number_;
      indentation_ = 0;
      return buffer;
    }
    // One pass finds the line end (LF, CR LF or a lone CR, as GNAT reads
    // sources), the comment start and whether control characters need
    // blanking, so each byte is looked at once.
    const char* const text = source_.data() + position_;
    const std::size_t left = source_.size() - position_;
    // An empty line, common between declarations, uses up its number and
    // nothing more.
    if (text[0] == '\n') {
      ++position_;
      ++line_number_;
      continue;
    }
    // A comment-only line, as common as code in commented sources, is known
    // by the "--" after its indentation: only its end is searched for.
    const LineStart start =
        wide_line_search::usable && left >= 32 ? wide_line_search::line_start(text, left) : line_start(text, left);
    // Spaces in the source are spaces in the line handed out, copied or not.
    indentation_ = static_cast<int>(start.indentation);
    LineShape shape;
    shape.end = start.end;
    if (start.comment_only) {
      shape.comment = start.indentation;
    } else if (start.end < left && text[start.end] != '\n') {
      shape = line_shape(text, start.end, left);
    }
    const std::size_t end = shape.end;
    std::size_t next = end;
    if (end < left) next = end + 1 + (text[end] == '\r' && end + 1 < left && text[end + 1] == '\n');
    const std::string_view raw(text, end);
    position_ += next;
    ++line_number_;
    if (raw.size() > long_line_limit && listener_ != nullptr) listener_->on_long_line(raw, line_number_);
    // Trailing blanks and control characters never count: a line of nothing
    // else is skipped, though its number is used up.
    std::size_t length = raw.size();
    while (length > 0 && static_cast<unsigned char>(raw[length - 1]) <= 32) --length;
    if (length == 0) continue;
    line_number = line_number_;
    // In place the line needs a blank after it in the source: a trimmed
    // blank or the line end; the source's last line may have neither.
    const std::string_view line = deliver(raw.substr(0, length), shape.comment, start.indentation,
                                          shape.has_control, length < end || end < left, buffer, line_number_);
    if (line.size() > longest_skipped || !is_comment_only(line)) return line;
    last_skipped = line;
  }
}

}  // namespace flawseek
