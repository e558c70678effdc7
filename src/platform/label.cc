// Display forms of enumeration literals and numbers.
#include "platform/label.h"

#include <charconv>

#include "platform/latin1.h"

namespace flawseek {

std::string label(std::string_view image) {
  std::string result;
  result.reserve(image.size());
  bool at_word_start = true;  // at the start of the text or after a kept blank
  for (char raw : image) {
    unsigned char c = static_cast<unsigned char>(raw == '_' ? ' ' : raw);
    if (c == ' ') {
      if (result.empty() || result.back() == ' ') continue;
      result.push_back(' ');
      at_word_start = true;
      continue;
    }
    if (latin1::is_letter(c)) {
      result.push_back(static_cast<char>(at_word_start ? latin1::to_upper(c) : latin1::to_lower(c)));
      at_word_start = false;
    } else {
      result.push_back(static_cast<char>(c));
    }
  }
  return result;
}

std::string number_image(std::int64_t value) {
  std::string image;
  append_number_image(image, value);
  return image;
}

void append_number_image(std::string& text, std::int64_t value) {
  char image[24];
  image[0] = ' ';
  char* const digits = value < 0 ? image : image + 1;
  const std::to_chars_result written = std::to_chars(digits, image + sizeof image, value);
  text.append(image, written.ptr);
}

std::string label(std::int64_t value) { return label(number_image(value)); }

}  // namespace flawseek
