// The parser instance's lexical layer over the table-driven scanner.
#include "frontend/ada_lexer.h"

#include <functional>

#include "frontend/ada_line_reader.h"
#include "frontend/ada_line_reading.h"
#include "frontend/ada_token_lists.h"
#include "frontend/replacement_characters.h"

namespace flawseek {

AdaLexer::AdaLexer() : scanner_(make_ada_scanner(this)) {
  // The scanner starts with every level's words; the lexer with Ada 95's
  // words and delimiters, the level version_ names.
  scanner_.set_keywords(standard_keyword_options, ada_keyword_list(version_));
  line_->reserve(512);
  previous_line_->reserve(512);
  original_line_.reserve(512);
  previous_.text.reserve(128);
  string_literal_.reserve(128);
}

void AdaLexer::set_version(AdaVersion version) {
  // The tables are built anew only where the level changes them: most runs
  // read every file at one level, and most levels share their delimiters.
  if (version == version_) return;
  if (delimiter_count(version) != delimiter_count(version_)) scanner_.set_symbols(ada_symbol_list(version));
  if (reserved_word_count(version) != reserved_word_count(version_)) {
    scanner_.set_keywords(standard_keyword_options, ada_keyword_list(version));
  }
  version_ = version;
}

void AdaLexer::set_source(LineSource* source) noexcept {
  source_ = source;
  line_reader_ = dynamic_cast<AdaLineReader*>(source);
}

// True when the previous token's text lies in `line`.
bool AdaLexer::previous_text_lies_in(std::string_view line) const noexcept {
  const std::less<const char*> before;
  const char* const text = previous_view_.data();
  return text != nullptr && !before(text, line.data()) &&
         !before(line.data() + line.size(), text + previous_view_.size());
}

void AdaLexer::read_line(std::string& line, int& line_number) {
  line.assign(read_line_view(line, line_number));
}

std::string_view AdaLexer::read_line_view(std::string& buffer, int& line_number) {
  int indentation = 0;
  return read_indented_line_view(buffer, line_number, indentation);
}

std::string_view AdaLexer::read_indented_line_view(std::string& /*buffer*/, int& line_number, int& indentation) {
  // The scanner's buffer goes unused: the line being scanned becomes the
  // previous line where it lies, so findings at the last token of a line can
  // still quote it after the scanner moved on, and the next line is read
  // into the buffer the previous line leaves, if the source copies it at
  // all. The previous token's text stays valid unless it lies in that
  // buffer, or in a rewritten line, about to be restored as written: only
  // then is it copied.
  if (previous_in_line_ && (line_rewritten_ || previous_text_lies_in(*previous_line_))) settle_previous_text();
  if (line_rewritten_) restore_rewritten_line();
  previous_line_text_ = line_text_;
  std::swap(line_, previous_line_);
  if (source_ == nullptr) {
    line_->clear();
    line_text_ = *line_;
    line_number = reader_line_number_;
    indentation = 0;
    return line_text_;
  }
  if (line_reader_ != nullptr) {
    // A comment-only line reads as blanks that the scanner would only step
    // over; the reader reads past it, as one more line gone by, unless it is
    // too long for the scanner, which must then reject it. It never lands in
    // a line buffer, so the previous line's buffer stays as it is.
    line_text_ = line_reader_->read_code_line(*line_, line_number, static_cast<std::size_t>(scanner_.max_line_length()),
                                              previous_line_text_);
    indentation = line_reader_->indentation();
  } else {
    line_text_ = source_->read_indented_line_view(*line_, line_number, indentation);
  }
  reader_line_number_ = line_number;
  return line_text_;
}

// A rewritten line is kept as written.
void AdaLexer::restore_rewritten_line() {
  line_->assign(original_line_);
  line_text_ = *line_;
  line_rewritten_ = false;
}

void AdaLexer::rewrite_replacement_characters() {
  // A replacement character shows as a Text token ("!", "%abc%") or as a
  // number followed by ":" (16:FF:). Only then is the line rewritten to the
  // standard delimiters and rescanned from this token, so ordinary lines cost
  // nothing; findings still quote the line as written.
  const TokenKind kind = scanner_.token_kind();
  if (line_rewritten_ || line() != reader_line_number_) return;
  if (kind == TokenKind::Number) {
    const std::size_t after = static_cast<std::size_t>(column() - 1) + text().size();
    if (after >= line_text_.size() || line_text_[after] != ':') return;
  }
  rewrite_line();
}

// Kept apart, so that the tests above, which settle nearly every token
// they see, save no registers for it.
void AdaLexer::rewrite_line() {
  // The previous token keeps its text as written.
  if (previous_in_line_) settle_previous_text();
  // The line may lie in the source: it is rewritten in a buffer of its own.
  original_line_.assign(line_text_);
  line_->assign(original_line_);
  if (!use_standard_delimiters(*line_)) return;
  line_rewritten_ = true;
  line_text_ = *line_;
  restart_at(column());
}

void AdaLexer::start() {
  line_->clear();
  previous_line_->clear();
  line_text_ = *line_;
  previous_line_text_ = *previous_line_;
  line_rewritten_ = false;
  reader_line_number_ = 0;
  previous_.text.clear();
  previous_in_line_ = false;
  previous_.line = 0;
  previous_.column = 1;
  string_literal_.clear();
  end_of_source_ = false;
  scanner_.set_text(line_, 1);
  next();
}

void AdaLexer::restart_at(int column) {
  scanner_.rescan(line_text_, column);
  end_of_source_ = false;
  next();
}

std::string_view AdaLexer::rest_of_line() const noexcept {
  std::size_t pos = static_cast<std::size_t>(column() - 1) + text().size();
  if (line() != reader_line_number_ || pos >= line_text_.size()) return {};
  while (pos < line_text_.size() && line_text_[pos] == ' ') ++pos;
  return line_text_.substr(pos);
}

bool AdaLexer::is_character_literal() const noexcept {
  if (!is_symbol(AdaSymbol::APOSTROPHE) || line() != reader_line_number_) return false;
  const std::size_t t = static_cast<std::size_t>(column() - 1);  // 0-based
  return t + 2 < line_text_.size() && line_text_[t] == '\'' && line_text_[t + 2] == '\'';
}

void AdaLexer::accept_character_literal() {
  const int t = column();
  remember_previous(line_text_.substr(static_cast<std::size_t>(t - 1), 3), line(), t);
  restart_at(t + 3);
}

bool AdaLexer::is_string_literal() {
  if (!is_symbol(AdaSymbol::QUOTE) || line() != reader_line_number_) return false;
  const std::size_t t = static_cast<std::size_t>(column() - 1);
  if (t >= line_text_.size() || line_text_[t] != '"') return false;
  string_literal_.clear();
  std::size_t start = t + 1;
  for (;;) {
    const std::size_t p = line_text_.find('"', start);
    if (p == std::string_view::npos) return false;
    string_literal_.append(line_text_.substr(start, p - start));
    if (p + 1 < line_text_.size() && line_text_[p + 1] == '"') {
      string_literal_.push_back('"');
      start = p + 2;
      continue;
    }
    literal_end_column_ = static_cast<int>(p) + 1;
    return true;
  }
}

void AdaLexer::accept_string_literal() {
  const int t = column();
  remember_previous(line_text_.substr(static_cast<std::size_t>(t - 1),
                                     static_cast<std::size_t>(literal_end_column_ - t + 1)),
                    line(), t);
  restart_at(literal_end_column_ + 1);
}

}  // namespace flawseek
