// File-name and word helpers.
#include "frontend/text_utilities.h"

#include "platform/latin1.h"
#include "platform/text_scan/case_folding.h"

namespace flawseek {

std::string_view directory(std::string_view path) {
  std::size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? std::string_view{} : path.substr(0, slash);
}

std::string_view extension(std::string_view path) {
  std::size_t dot = path.rfind('.');
  if (dot == std::string_view::npos) return {};
  std::size_t slash = path.rfind('/');
  if (slash != std::string_view::npos && slash > dot) return {};
  return path.substr(dot + 1);
}

std::string_view base_name(std::string_view path) {
  std::size_t slash = path.rfind('/');
  std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  std::size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? name : name.substr(0, dot);
}

bool has_no_upper_case(std::string_view text) {
  for (char c : text)
    if (latin1::is_upper(static_cast<unsigned char>(c))) return false;
  return true;
}

bool has_no_lower_case(std::string_view text) {
  for (char c : text)
    if (latin1::is_lower(static_cast<unsigned char>(c))) return false;
  return true;
}

std::string words(std::string_view text) {
  std::string result;
  bool word_start = true;
  for (char raw : text) {
    unsigned char c = static_cast<unsigned char>(raw == '_' ? ' ' : raw);
    if (c == ' ') {
      word_start = true;
      continue;
    }
    if (word_start && !result.empty()) result.push_back(' ');
    result.push_back(static_cast<char>(word_start ? latin1::to_upper(c) : latin1::to_lower(c)));
    word_start = false;
  }
  return result;
}

bool same_name(std::string_view a, std::string_view b) noexcept { return text_scan::same_ignoring_case(a, b); }

bool starts_with_word(std::string_view text, std::string_view word) noexcept {
  if (text.size() < word.size() || !same_name(text.substr(0, word.size()), word)) return false;
  if (text.size() == word.size()) return true;
  const unsigned char next = static_cast<unsigned char>(text[word.size()]);
  return !(latin1::is_letter(next) || latin1::is_digit(next) || next == '_');
}

std::string_view trim_blanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

}  // namespace flawseek
