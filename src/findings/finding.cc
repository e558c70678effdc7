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

void collapse_blanks_in_place(std::string& reason) {
  std::size_t kept = 0;
  bool pending_blank = false;
  for (const char c : reason) {
    const unsigned char code = static_cast<unsigned char>(c);
    // A tab is kept as designed; every other control character is a blank.
    if (code == ' ' || (code < ' ' && code != '\t') || code == 0x7F || (code >= 0x80 && code <= 0x9F)) {
      pending_blank = kept > 0;
      continue;
    }
    // Never ahead of the reading position: the text shrinks or stays.
    if (pending_blank) reason[kept++] = ' ';
    pending_blank = false;
    reason[kept++] = c;
  }
  reason.resize(kept);
}

std::string collapse_blanks(std::string_view reason) {
  std::string result(reason);
  collapse_blanks_in_place(result);
  return result;
}

}  // namespace flawseek
