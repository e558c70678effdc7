// The JSON text writer.
#include "output/json_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>

namespace flawseek {

namespace {

// Bytes a JSON string cannot hold as they are.
constexpr std::array<bool, 256> escaped_bytes = [] {
  std::array<bool, 256> table{};
  for (int c = 0; c < 0x20; ++c) table[static_cast<std::size_t>(c)] = true;
  table['"'] = true;
  table['\\'] = true;
  return table;
}();

}  // namespace

void append_json_escaped(std::string_view text, std::string& out) {
  static constexpr char hex[] = "0123456789abcdef";
  std::size_t plain = 0;  // start of the run not yet copied
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (!escaped_bytes[c]) continue;
    out.append(text, plain, i - plain);
    plain = i + 1;
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        out += "\\u00";
        out += hex[c >> 4];
        out += hex[c & 0xf];
    }
  }
  out.append(text, plain, text.size() - plain);
}

void JsonText::new_line(std::size_t level) {
  out_ += '\n';
  out_.append(indent_ + 2 * level, ' ');
}

void JsonText::before_value() {
  if (after_key_) {
    after_key_ = false;
    return;
  }
  if (filled_.empty()) return;  // the document's own value
  if (filled_.back()) out_ += ',';
  filled_.back() = true;
  new_line(filled_.size());
}

void JsonText::begin_object() {
  before_value();
  out_ += '{';
  filled_.push_back(false);
}

void JsonText::close(char bracket) {
  const bool filled = filled_.back();
  filled_.pop_back();
  if (filled) new_line(filled_.size());
  out_ += bracket;
}

void JsonText::end_object() { close('}'); }

void JsonText::begin_array() {
  before_value();
  out_ += '[';
  filled_.push_back(false);
}

void JsonText::end_array() { close(']'); }

void JsonText::key(std::string_view name) {
  if (filled_.back()) out_ += ',';
  filled_.back() = true;
  new_line(filled_.size());
  // Names are the outputs' own words, which need no escaping.
  out_ += '"';
  out_ += name;
  out_ += "\": ";
  after_key_ = true;
}

void JsonText::string(std::string_view text) {
  before_value();
  out_ += '"';
  append_json_escaped(text, out_);
  out_ += '"';
}

void JsonText::number(std::int64_t value) {
  before_value();
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  out_.append(digits, end);
}

void JsonText::boolean(bool value) {
  before_value();
  out_ += value ? "true" : "false";
}

void JsonText::null() {
  before_value();
  out_ += "null";
}

}  // namespace flawseek
