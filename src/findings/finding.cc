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

std::string collapse_blanks(std::string_view reason) {
  std::string result;
  result.reserve(reason.size());
  bool pending_blank = false;
  for (char c : reason) {
    const unsigned char code = static_cast<unsigned char>(c);
    // A tab is kept as designed; every other control character is a blank.
    if (code == ' ' || (code < ' ' && code != '\t') || code == 0x7F || (code >= 0x80 && code <= 0x9F)) {
      pending_blank = !result.empty();
      continue;
    }
    if (pending_blank) result.push_back(' ');
    pending_blank = false;
    result.push_back(c);
  }
  return result;
}

}  // namespace flawseek
