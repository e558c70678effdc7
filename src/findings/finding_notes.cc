// The details and suppressed findings kept beside the findings lists.
#include "findings/finding_notes.h"

namespace flawseek {

void FindingNotes::set_detail(FindingKind kind, std::size_t position, std::string_view detail) {
  std::string text = collapse_blanks(detail);
  if (text.empty()) return;
  details_[{kind.index(), position}] = std::move(text);
}

std::string_view FindingNotes::detail(FindingKind kind, std::size_t position) const {
  const auto found = details_.find({kind.index(), position});
  return found == details_.end() ? std::string_view{} : std::string_view(found->second);
}

void FindingNotes::clear() {
  details_.clear();
  suppressed_.clear();
}

}  // namespace flawseek
