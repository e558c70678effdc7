// The parser instance's lexical layer over the table-driven scanner.
#include "frontend/ada_lexer.h"

#include <functional>

#include "frontend/ada_line_reader.h"
#include "frontend/ada_token_lists.h"
#include "frontend/replacement_characters.h"

namespace flawseek {

AdaLexer::AdaLexer() : scanner_(make_ada_scanner(this)) {
  line_->reserve(512);
  previous_line_->reserve(512);
  original_line_.reserve(512);
  previous_.text.reserve(128);
  string_literal_.reserve(128);
}

void AdaLexer::set_source(LineSource* source) noexcept {
  source_ = source;
  line_reader_ = dynamic_cast<AdaLineReader*>(source);
}

// True when the previous token's text lies in `line`.
bool AdaLexer::previous_text_lies_in(const std::string& line) const noexcept {
  const std::less<const char*> before;
  const char* const text = previous_view_.data();
  return text != nullptr && !before(text, line.data()) &&
         !before(line.data() + line.size(), text + previous_view_.size());
}

void AdaLexer::read_line(std::string& /*line*/, int& line_number) {
  // `line` is *line_, the scanner's buffer. The line it holds becomes the
  // previous line where it lies, so findings at the last token of a line can
  // still quote it after the scanner moved on, and the next line is read
  // into the other buffer, which the scanner then reads: nothing is copied
  // or swapped. The previous token's text stays valid when it lies in the
  // line kept; anywhere else it would be overwritten, so it is copied first.
  if (previous_in_line_ && (line_rewritten_ || !previous_text_lies_in(*line_))) settle_previous_text();
  // A rewritten line is kept as written.
  if (line_rewritten_) line_->assign(original_line_);
  std::swap(line_, previous_line_);
  scanner_.replace_line(line_);
  line_rewritten_ = false;
  if (source_ == nullptr) {
    line_->clear();
    line_number = reader_line_number_;
    return;
  }
  if (line_reader_ != nullptr) {
    line_reader_->read_line(*line_, line_number);
  } else {
    source_->read_line(*line_, line_number);
  }
  reader_line_number_ = line_number;
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
    if (after >= line_->size() || (*line_)[after] != ':') return;
  }
  // The previous token keeps its text as written.
  if (previous_in_line_) settle_previous_text();
  original_line_.assign(*line_);
  if (!use_standard_delimiters(*line_)) return;
  line_rewritten_ = true;
  restart_at(column());
}

void AdaLexer::start() {
  line_->clear();
  previous_line_->clear();
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
  scanner_.set_text(line_, column);
  end_of_source_ = false;
  next();
}

std::string_view AdaLexer::rest_of_line() const noexcept {
  std::size_t pos = static_cast<std::size_t>(column() - 1) + text().size();
  if (line() != reader_line_number_ || pos >= line_->size()) return {};
  while (pos < line_->size() && (*line_)[pos] == ' ') ++pos;
  return std::string_view(*line_).substr(pos);
}

bool AdaLexer::is_character_literal() const noexcept {
  if (!is_symbol(AdaSymbol::APOSTROPHE) || line() != reader_line_number_) return false;
  const std::size_t t = static_cast<std::size_t>(column() - 1);  // 0-based
  return t + 2 < line_->size() && (*line_)[t] == '\'' && (*line_)[t + 2] == '\'';
}

void AdaLexer::accept_character_literal() {
  const int t = column();
  remember_previous(std::string_view(*line_).substr(static_cast<std::size_t>(t - 1), 3), line(), t);
  restart_at(t + 3);
}

bool AdaLexer::is_string_literal() {
  if (!is_symbol(AdaSymbol::QUOTE) || line() != reader_line_number_) return false;
  const std::size_t t = static_cast<std::size_t>(column() - 1);
  if (t >= line_->size() || (*line_)[t] != '"') return false;
  string_literal_.clear();
  std::size_t start = t + 1;
  for (;;) {
    const std::size_t p = line_->find('"', start);
    if (p == std::string::npos) return false;
    string_literal_.append(*line_, start, p - start);
    if (p + 1 < line_->size() && (*line_)[p + 1] == '"') {
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
  remember_previous(std::string_view(*line_).substr(static_cast<std::size_t>(t - 1),
                                                   static_cast<std::size_t>(literal_end_column_ - t + 1)),
                    line(), t);
  restart_at(literal_end_column_ + 1);
}

std::string_view AdaLexer::previous_token_line_text() const noexcept {
  // At the end of the source the line buffer is empty: the previous token's
  // line is then the one kept as the previous line.
  if (previous_.line != reader_line_number_ || line_->empty()) return *previous_line_;
  return line_rewritten_ ? original_line_ : *line_;
}

}  // namespace flawseek
