// Kind labels and the blank collapsing of reason texts.
#include "findings/finding.h"

#include <array>

#include "platform/label.h"

namespace flawseek {

namespace {

std::array<std::string, FindingKind::count> make_kind_labels() {
  std::array<std::string, FindingKind::count> labels;
  for (int i = 0; i < bug_kind_count; ++i) labels[i] = flawseek::label(image(static_cast<BugKind>(i)));
  for (int i = 0; i < style_kind_count; ++i)
    labels[bug_kind_count + i] = flawseek::label(image(static_cast<StyleKind>(i)));
  return labels;
}

}  // namespace

const std::string& FindingKind::label() const {
  static const std::array<std::string, count> labels = make_kind_labels();
  return labels[index_];
}

namespace {

// A tab is kept as designed; every other control character is a blank.
constexpr bool counts_as_blank(unsigned char code) {
  return code == ' ' || (code < ' ' && code != '\t') || code == 0x7F || (code >= 0x80 && code <= 0x9F);
}

constexpr std::array<bool, 256> make_blank_table() {
  std::array<bool, 256> table{};
  for (int code = 0; code < 256; ++code) table[code] = counts_as_blank(static_cast<unsigned char>(code));
  return table;
}

constexpr std::array<bool, 256> blank_table = make_blank_table();

bool is_blank(char c) { return blank_table[static_cast<unsigned char>(c)]; }

}  // namespace

void collapse_blanks_in_place(std::string& reason) {
  char* const text = reason.data();
  const std::size_t size = reason.size();
  std::size_t read = 0;
  while (read < size && is_blank(text[read])) ++read;
  std::size_t kept = 0;
  // Every finding collapses its reason once: the loop copies only after the
  // first blank that goes, and skips each kept word in one pass.
  while (read < size) {
    if (kept > 0) text[kept++] = ' ';
    if (kept == read) {
      while (read < size && !is_blank(text[read])) ++read;
      kept = read;
    } else {
      // Never ahead of the reading position: the text shrinks or stays.
      while (read < size && !is_blank(text[read])) text[kept++] = text[read++];
    }
    while (read < size && is_blank(text[read])) ++read;
  }
  reason.resize(kept);
}

std::string collapse_blanks(std::string_view reason) {
  std::string result(reason);
  collapse_blanks_in_place(result);
  return result;
}

}  // namespace flawseek
