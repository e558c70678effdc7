// The line reader's reading of the next code line, inline: the scanner's
// lexer reads every line of every parse through it, and a call per line,
// with its results through memory, costs as much as the usual line's search.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "frontend/ada_line_reader.h"
#include "platform/text_scan/line_scan.h"

namespace flawseek {

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
      delivered.command_column = static_cast<int>(comment) + 1;
      delivered.command_at_line_start = comment == 0;
    }
  }
  delivered.text = kept_line(raw, comment, blanks, has_control, in_place, buffer);
  listener_->on_line(delivered);
  return delivered.text;
}

[[gnu::always_inline]] inline std::string_view AdaLineReader::read_code_line(std::string& buffer, int& line_number,
                                                      std::size_t longest_skipped, std::string_view& last_skipped) {
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
    const text_scan::LineStart start = text_scan::line_start(text, left);
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
