// Splitting a dumped document around its array, and indenting each element
// as the whole document's dump would.
#include "output/json_array_document.h"

#include <stdexcept>

namespace flawseek {

JsonArrayDocument::JsonArrayDocument(const nlohmann::ordered_json& document, std::string_view key) {
  const std::string text = document.dump(2);
  // Quotes inside JSON strings are escaped, so the member cannot be mistaken
  // for text; the array's member is the last of that name.
  const std::string member = "\"" + std::string(key) + "\": []";
  const std::size_t at = text.rfind(member);
  if (at == std::string::npos) throw std::logic_error("JsonArrayDocument: no empty array " + std::string(key));
  const std::size_t line_start = text.rfind('\n', at) + 1;  // npos + 1 is 0
  indent_.assign(text, line_start, at - line_start);
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
  const std::string dumped = element.dump(2);
  text_.assign(any_ ? ",\n" : "\n");
  any_ = true;
  std::size_t start = 0;
  for (;;) {
    text_ += indent_;
    text_ += "  ";
    const std::size_t end = dumped.find('\n', start);
    if (end == std::string::npos) {
      text_.append(dumped, start);
      break;
    }
    text_.append(dumped, start, end + 1 - start);
    start = end + 1;
  }
  out.write(text_.data(), static_cast<std::streamsize>(text_.size()));
}

void JsonArrayDocument::end(std::ostream& out) {
  begin(out);
  if (any_) out << '\n' << indent_;
  out << ']' << tail_ << '\n';
}

}  // namespace flawseek
