// Reading an Ada source whole and delivering it line by line to a scanner.
#include "frontend/ada_line_reader.h"

#include <cstddef>
#include <string_view>

#include "frontend/ada_line_reading.h"
#include "platform/disk.h"

namespace flawseek {

bool AdaLineReader::open(const std::string& path, std::string& error) {
  set_text_view({});
  storage_.clear();
  if (int failure = disk().read_file(path, storage_); failure != 0) {
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
  const std::string_view text = read_line_view(line, line_number);
  if (text.data() != line.data()) line.assign(text);
}

std::string_view AdaLineReader::read_line_view(std::string& buffer, int& line_number) {
  std::string_view last_skipped;
  return read_code_line_view(buffer, line_number, 0, last_skipped);
}

std::string_view AdaLineReader::read_indented_line_view(std::string& buffer, int& line_number, int& indentation) {
  const std::string_view line = read_line_view(buffer, line_number);
  indentation = indentation_;
  return line;
}

// The rest of a code line whose first stop is no LF: a CR, a control
// character, a '-' or a '"'. Strings are followed so that "--" inside one
// starts no comment. Kept apart: most lines stop first at their LF.
AdaLineReader::LineShape AdaLineReader::line_shape(const char* text, std::size_t end, std::size_t left) noexcept {
  using text_scan::find_line_end;
  using text_scan::find_line_stop;
  LineShape shape;
  bool in_string = false;
  for (; end < left; end = find_line_stop(text, end + 1, left)) {
    const unsigned char c = static_cast<unsigned char>(text[end]);
    if (c == '\n' || c == '\r') break;
    if (c < 32) {
      shape.has_control = true;
    } else if (c == '-') {
      if (!in_string && end + 1 < left && text[end + 1] == '-') {
        shape.comment = end;
        end = find_line_end(text, end + 2, left);
        break;
      }
    } else if (in_string) {  // '"'
      in_string = false;
    } else if (end == 0 || text[end - 1] != '\'') {
      // '"' is the character literal of a quotation mark, not a string.
      in_string = true;
    }
  }
  shape.end = end;
  return shape;
}

std::string_view AdaLineReader::read_code_line_view(std::string& buffer, int& line_number,
                                                    std::size_t longest_skipped, std::string_view& last_skipped) {
  return read_code_line(buffer, line_number, longest_skipped, last_skipped);
}

}  // namespace flawseek
