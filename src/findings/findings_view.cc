// The sibling order shared by every findings tree display.
#include "findings/findings_view.h"

#include <algorithm>

namespace flawseek {

bool tree_text_less(std::string_view left, std::string_view right) {
  auto fold = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 32) : c; };
  std::size_t n = std::min(left.size(), right.size());
  for (std::size_t i = 0; i < n; ++i) {
    unsigned char a = fold(static_cast<unsigned char>(left[i]));
    unsigned char b = fold(static_cast<unsigned char>(right[i]));
    if (a != b) return a < b;
  }
  if (left.size() != right.size()) return left.size() < right.size();
  return left < right;
}

}  // namespace flawseek
