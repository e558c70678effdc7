// Kind labels and the blank collapsing of reason texts.
#include "findings/finding.h"

#include <array>
#include <ostream>

#include "platform/label.h"
#include "platform/text_scan/ascii_words.h"
#include "platform/text_scan/reason_blanks.h"
#include "platform/utf8_text.h"

namespace flawseek {

namespace {

std::array<std::string, FindingKind::count> make_kind_labels() {
  std::array<std::string, FindingKind::count> labels;
  for (int i = 0; i < bug_kind_count; ++i) labels[i] = flawseek::label(image(static_cast<BugKind>(i)));
  for (int i = 0; i < style_kind_count; ++i)
    labels[bug_kind_count + i] = flawseek::label(image(static_cast<StyleKind>(i)));
  return labels;
}

// A line written in UTF-8 carries the bytes 0x80 to 0x9F inside its
// characters, where they are no C1 controls: only the ASCII blanks and
// controls count, and the rare such line takes this byte loop.
void append_collapsed_utf8_blanks(std::string_view reason, std::string& out) {
  const auto blank = [](char c) {
    const auto code = static_cast<unsigned char>(c);
    return code == ' ' || (code < ' ' && code != '\t') || code == 0x7F;
  };
  bool pending_blank = false;
  bool written = false;
  for (const char c : reason) {
    if (blank(c)) {
      pending_blank = written;
      continue;
    }
    if (pending_blank) out.push_back(' ');
    pending_blank = false;
    out.push_back(c);
    written = true;
  }
}

}  // namespace

const std::string& FindingKind::label() const {
  static const std::array<std::string, count> labels = make_kind_labels();
  return labels[index_];
}

void collapse_blanks_into(std::string_view reason, std::string& out) {
  out.clear();
  append_collapsed_blanks(reason, out);
}

void append_collapsed_blanks(std::string_view reason, std::string& out) {
  using namespace text_scan;
  if (!is_plain_ascii(reason) && is_utf8(reason)) {
    append_collapsed_utf8_blanks(reason, out);
    return;
  }
  const char* const text = reason.data();
  const std::size_t size = reason.size();
  std::size_t read = reason_blanks_end(text, 0, size);
  // Most reasons are a source line with single blanks after an indentation
  // of less than sixteen: one test of the whole, and one copy.
  if (size >= 16 && read < 16) {
    std::size_t end = size;
    while (is_reason_blank(text[end - 1])) --end;
    if (end >= 16 && is_single_spaced(text, read, end)) {
      out.append(text + read, end - read);
      return;
    }
  }
  // Otherwise, after its indentation, words parted by single spaces: each
  // such stretch is found sixteen characters at a time and copied in one
  // piece; each run of blanks after it becomes one blank, or none at the end.
  while (read < size) {
    const std::size_t end = single_spaced_end(text, read, size);
    out.append(text + read, end - read);
    read = reason_blanks_end(text, end, size);
    if (read < size) out.push_back(' ');
  }
}

std::string collapse_blanks(std::string_view reason) {
  std::string result;
  collapse_blanks_into(reason, result);
  return result;
}

std::ostream& operator<<(std::ostream& out, const SharedPath& path) { return out << path.str(); }

}  // namespace flawseek
