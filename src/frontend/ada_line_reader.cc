// Reading an Ada source whole and delivering it line by line to a scanner.
#include "frontend/ada_line_reader.h"

#include <cstring>

#include "platform/file_io.h"

namespace flawseek {

bool AdaLineReader::open(const std::string& path, std::string& error) {
  set_text_view({});
  storage_.clear();
  if (int failure = read_whole_file(path, storage_); failure != 0) {
    error = path + ": " + file_error_text(failure);
    return false;
  }
  set_text_view(storage_);
  return true;
}

void AdaLineReader::set_text(std::string_view text) {
  storage_.assign(text);
  set_text_view(storage_);
}

void AdaLineReader::set_text_view(std::string_view text) noexcept {
  // A UTF-8 byte order mark is no part of the Ada text (GNAT skips it too).
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  source_ = text;
  position_ = 0;
  line_number_ = 0;
}

void AdaLineReader::read_line(std::string& line, int& line_number) {
  for (;;) {
    if (position_ >= source_.size()) {
      line.clear();
      line_number = line_number_;
      return;
    }
    // A line ends at LF, CR LF or a lone CR, as GNAT reads sources. Both
    // searches are memchr, which runs far ahead of a byte loop.
    const char* const start = source_.data() + position_;
    const std::size_t left = source_.size() - position_;
    const void* lf = std::memchr(start, '\n', left);
    std::size_t end = lf != nullptr ? static_cast<std::size_t>(static_cast<const char*>(lf) - start) : left;
    std::size_t next = end < left ? end + 1 : end;
    if (const void* cr = std::memchr(start, '\r', end)) {
      const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(cr) - start);
      next = at + 1 == end && end < left ? end + 1 : at + 1;  // CR LF, or a lone CR
      end = at;
    }
    std::string_view raw = source_.substr(position_, end);
    position_ += next;
    ++line_number_;
    if (raw.size() > long_line_limit && listener_ != nullptr) listener_->on_long_line(raw, line_number_);
    // Trailing blanks and control characters never count: a line of nothing
    // else is skipped, though its number is used up.
    std::size_t length = raw.size();
    while (length > 0 && static_cast<unsigned char>(raw[length - 1]) <= 32) --length;
    if (length == 0) continue;
    line.assign(raw.data(), length);
    line_number = line_number_;
    cut_comment(line, line_number_);
    return;
  }
}

namespace {

// The bytes cut_comment must stop at: control characters (blanked), '-' (a
// comment may start) and '"' (a string may start or end). Everything else,
// nearly every byte of a line, is passed over by one table look-up.
struct CommentStops {
  bool stop[256] = {};
  constexpr CommentStops() {
    for (int c = 0; c < 32; ++c) stop[c] = true;
    stop[static_cast<unsigned char>('-')] = true;
    stop[static_cast<unsigned char>('"')] = true;
  }
};
constexpr CommentStops comment_stops;

}  // namespace

void AdaLineReader::cut_comment(std::string& line, int line_number) {
  if (listener_ != nullptr) listener_->on_line_start(line_number);
  bool in_string = false;
  bool empty_trailing_comment = false;
  const std::size_t length = line.size();
  char* const text = line.data();
  for (std::size_t i = 0; i < length; ++i) {
    while (i < length && !comment_stops.stop[static_cast<unsigned char>(text[i])]) ++i;
    if (i == length) break;
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 32) {
      text[i] = ' ';
      continue;
    }
    if (!in_string && c == '-' && i + 1 < length && text[i + 1] == '-') {
      if (i + 2 == length) {
        empty_trailing_comment = true;
      } else if (text[i + 2] == '>' && listener_ != nullptr) {
        listener_->on_comment_command(std::string_view(line).substr(i + 3), line_number, i == 0);
      }
      // The first '-' turns into a blank so a comment-only line still
      // delivers one character: an empty line would mean the end of the source.
      line[i] = ' ';
      line.resize(i + 1);
      break;
    }
    if (c == '"') {
      // '"' is the character literal of a quotation mark, not a string.
      if (in_string) {
        in_string = false;
      } else if (i == 0 || text[i - 1] != '\'') {
        in_string = true;
      }
    }
  }
  if (listener_ != nullptr) listener_->on_line_delivered(line, line_number, empty_trailing_comment);
}

}  // namespace flawseek
