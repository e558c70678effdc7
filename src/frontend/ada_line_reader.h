// A line source for the Ada scanners: it reads a source file whole into memory
// and delivers its lines one by one as the scanner's reader contract asks:
// physical line numbers, empty lines skipped, control characters as blanks,
// comments cut off and "-->" comment commands handed to a listener first.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "frontend/text_parser.h"

namespace flawseek {

// A non-empty line as the reader hands it to the scanner, with what its
// comment told on the way.
struct DeliveredLine {
  std::string_view text;  // comment cut off, control characters blanked
  // The text after "-->" when the comment is a comment command.
  std::string_view command;
  int number = 0;
  // The column of the command's "-->".
  int command_column = 0;
  bool has_command = false;
  // The command's comment begins in column 1, with nothing at all before it.
  bool command_at_line_start = false;
  // The line's only comment is a bare "--" at its very end.
  bool empty_trailing_comment = false;
};

// What the owner of a reader may want to know while lines go by. Every
// operation is called at most once per line, never per token.
class LineReaderListener {
 public:
  virtual ~LineReaderListener() = default;
  // A physical line longer than the scanner accepts (`raw` is the line without
  // its line end). The listener may throw to end the analysis; if it returns,
  // the line is delivered whole and the scanner rejects it.
  virtual void on_long_line(std::string_view raw, int line_number) { (void)raw, (void)line_number; }
  // Every non-empty line as it is delivered, its comment command with it:
  // one call per line, since most lines carry nothing else to tell. A
  // listener that also judges the line itself reads the command first, as
  // it may change what holds for its own line.
  virtual void on_line(const DeliveredLine& line) { (void)line; }
};

class AdaLineReader final : public LineSource {
 public:
  // Longest physical line handed on without calling on_long_line.
  static constexpr std::size_t long_line_limit = 400;

  AdaLineReader() = default;
  explicit AdaLineReader(LineReaderListener* listener) : listener_(listener) {}

  // Reads the file whole. On failure returns false with a readable reason in
  // `error` and leaves the reader with an empty source.
  bool open(const std::string& path, std::string& error);
  // Uses `text` as the source (copied).
  void set_text(std::string_view text);
  // Uses `text` as the source without copying; it must outlive the reading.
  void set_text_view(std::string_view text) noexcept;

  void read_line(std::string& line, int& line_number) override;
  // Most lines are handed out in place: a line without comment or control
  // character as a view into the source (a blank or line end follows it
  // there), a comment-only line as a run of blanks. The rest are copied into
  // `buffer`.
  std::string_view read_line_view(std::string& buffer, int& line_number) override;
  std::string_view read_indented_line_view(std::string& buffer, int& line_number, int& indentation) override;
  // The same, but a comment-only line up to `longest_skipped` characters long
  // (see is_comment_only) is read past as an empty one is, its listener
  // calls made; `last_skipped` becomes the last line read past, if any.
  std::string_view read_code_line_view(std::string& buffer, int& line_number, std::size_t longest_skipped,
                                       std::string_view& last_skipped);
  // The same, inline (see ada_line_reading.h), for the lexer, which reads
  // every line of every parse.
  std::string_view read_code_line(std::string& buffer, int& line_number, std::size_t longest_skipped,
                                  std::string_view& last_skipped);

  // True for a line handed out for a comment-only line: nothing but blanks,
  // which a scanner would only step over.
  static bool is_comment_only(std::string_view line) noexcept { return line.data() == blank_run_.data(); }

  // How many spaces begin the line handed out last, where the search for its
  // end saw them (0 where it did not): no token starts before them.
  int indentation() const noexcept { return indentation_; }

  // Number of the physical line read last (0 before the first).
  int line_number() const noexcept { return line_number_; }
  bool at_end() const noexcept { return position_ >= source_.size(); }

 private:
  // Where a line ends, where its comment begins (its first '-', npos for
  // none) and whether it holds control characters to blank.
  struct LineShape {
    std::size_t end = 0;
    std::size_t comment = std::string_view::npos;
    bool has_control = false;
  };
  // The shape of the line at `text` whose first stop (see the reader's
  // search) is at `end` and is no LF.
  [[gnu::noinline]] static LineShape line_shape(const char* text, std::size_t end, std::size_t left) noexcept;
  // The line handed on for `raw` (trailing blanks already trimmed; a blank or
  // line end follows it in the source when `in_place`): its comment (from
  // index `comment`, npos for none) cut off and control characters blanked,
  // copied into `buffer` only when it cannot be handed out in place. The
  // first `blanks` bytes are known to be blanks.
  static std::string_view kept_line(std::string_view raw, std::size_t comment, std::size_t blanks, bool has_control,
                                    bool in_place, std::string& buffer);
  // The same, telling the listener on the way.
  std::string_view deliver(std::string_view raw, std::size_t comment, std::size_t blanks, bool has_control,
                           bool in_place, std::string& buffer, int line_number);

  // Blanks to hand out for comment-only lines, which read as blanks up to
  // where their comment began; one more stands after the longest.
  static constexpr std::size_t blank_run_length = 512;
  static constexpr std::array<char, blank_run_length + 1> blank_run_ = [] {
    std::array<char, blank_run_length + 1> blanks{};
    blanks.fill(' ');
    return blanks;
  }();

  LineReaderListener* listener_ = nullptr;
  std::string storage_;
  std::string_view source_;
  std::size_t position_ = 0;
  int line_number_ = 0;
  int indentation_ = 0;
};

}  // namespace flawseek
