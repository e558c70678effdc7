// The editor's documents as the language server holds them: each one's text
// and version, changed in place by the editor's edits, and the positions of
// the protocol (a line and a count of UTF-16 code units in it) turned into
// byte offsets of the text and back. The text is taken as UTF-8; a byte that
// starts no valid UTF-8 character counts as one unit, as a Latin-1 letter.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace flawseek {

struct TextPosition {
  std::int64_t line = 0;       // 0-based
  std::int64_t character = 0;  // UTF-16 code units from the line's start
};

struct TextRange {
  TextPosition start;
  TextPosition end;
};

// The byte offset of `position` in `text`. A character past the line's end
// is the line's end, a line past the text's end is the text's end, as the
// protocol asks; a position inside a character is its start.
std::size_t byte_offset_of(std::string_view text, TextPosition position);

// The UTF-16 code units of `bytes`, the start of a line up to a column.
std::int64_t utf16_length(std::string_view bytes);

// Where each line of a text starts, for the conversions of many findings
// of one text; the room is kept from text to text.
class LineStarts {
 public:
  void index(std::string_view text);
  // The line's text without its end of line ("\n" or "\r\n"); empty past
  // the last line. `line` is 0-based.
  std::string_view line_text(std::int64_t line) const;

 private:
  std::string_view text_;
  std::vector<std::size_t> starts_;
};

// One change of a didChange: the text put in place of `range`, or of the
// whole text when the change has no range.
struct TextChange {
  bool whole = true;
  TextRange range;
  std::string text;
};

// `text` with `change` made; a range whose end comes before its start
// replaces nothing but is put at its start.
std::string changed_text(std::string_view text, const TextChange& change);

struct OpenDocument {
  std::string uri;
  std::string path;
  std::int64_t version = 0;
  // Shared with the disk overlay and the checks that read it.
  std::shared_ptr<const std::string> text;
};

}  // namespace flawseek
