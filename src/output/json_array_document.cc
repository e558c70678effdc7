// Splitting a dumped document around its array, and indenting each element
// as the whole document's dump would.
#include "output/json_array_document.h"

#include <stdexcept>

namespace flawseek {

JsonArrayDocument::JsonArrayDocument(const nlohmann::ordered_json& document, std::string_view key,
                                     Elements elements)
    : elements_(elements) {
  const std::string text = document.dump(2);
  // Quotes inside JSON strings are escaped, so the member cannot be mistaken
  // for text; the array's member is the last of that name.
  const std::string member = "\"" + std::string(key) + "\": []";
  const std::size_t at = text.rfind(member);
  if (at == std::string::npos) throw std::logic_error("JsonArrayDocument: no empty array " + std::string(key));
  const std::size_t line_start = text.rfind('\n', at) + 1;  // npos + 1 is 0
  indent_.assign(text, line_start, at - line_start);
  element_indent_ = indent_ + "  ";
  const std::size_t bracket = at + member.size() - 2;
  head_.assign(text, 0, bracket + 1);
  tail_.assign(text, bracket + 2);
}

void JsonArrayDocument::begin(std::ostream& out) {
  if (begun_) return;
  begun_ = true;
  out << head_;
}

void JsonArrayDocument::add(const nlohmann::ordered_json& element, std::ostream& out) {
  begin(out);
  // Strings hold no raw line ends, so each line of the element's own dump
  // takes the indentation of its place in the document.
  const std::string dumped = elements_ == Elements::Compact ? element.dump() : element.dump(2);
  text_ += any_ ? ",\n" : "\n";
  any_ = true;
  text_ += element_indent_;
  append_indented(dumped, element_indent_, text_);
  if (text_.size() >= block_size) flush(out);
}

void JsonArrayDocument::flush(std::ostream& out) {
  out.write(text_.data(), static_cast<std::streamsize>(text_.size()));
  text_.clear();
}

void JsonArrayDocument::append_indented(const std::string& dumped, const std::string& indent, std::string& text) {
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = dumped.find('\n', start);
    if (end == std::string::npos) {
      text.append(dumped, start);
      return;
    }
    text.append(dumped, start, end + 1 - start);
    start = end + 1;
    text += indent;
  }
}

void JsonArrayDocument::end(std::ostream& out, const nlohmann::ordered_json& after) {
  begin(out);
  flush(out);
  if (any_) out << '\n' << indent_;
  out << ']';
  std::string members;
  for (const auto& [key, value] : after.items()) {
    members += ",\n" + indent_ + nlohmann::ordered_json(key).dump() + ": ";
    append_indented(value.dump(2), indent_, members);
  }
  out << members << tail_ << '\n';
}

}  // namespace flawseek
