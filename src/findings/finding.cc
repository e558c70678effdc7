// Kind labels and the blank collapsing of reason texts.
#include "findings/finding.h"

#include <array>
#include <cstring>
#include <ostream>

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
  std::size_t start = 0;
  while (start < size && is_blank(text[start])) ++start;
  // A reason is mostly a source line: after its indentation, words parted by
  // single spaces. That stretch is found by one scan and moved up in one
  // piece; only what follows it is collapsed character by character.
  std::size_t read = start;
  while (read < size) {
    if (!is_blank(text[read])) {
      ++read;
    } else if (text[read] == ' ' && read + 1 < size && !is_blank(text[read + 1])) {
      read += 2;
    } else {
      break;
    }
  }
  std::size_t kept = read - start;
  if (start > 0 && kept > 0) std::memmove(text, text + start, kept);
  while (read < size && is_blank(text[read])) ++read;
  // Each word left follows a run of blanks that became one: the text only
  // shrinks, so writing never overtakes reading.
  while (read < size) {
    text[kept++] = ' ';
    while (read < size && !is_blank(text[read])) text[kept++] = text[read++];
    while (read < size && is_blank(text[read])) ++read;
  }
  reason.resize(kept);
}

std::string collapse_blanks(std::string_view reason) {
  std::string result(reason);
  collapse_blanks_in_place(result);
  return result;
}

std::ostream& operator<<(std::ostream& out, const SharedPath& path) { return out << path.str(); }

}  // namespace flawseek
