// Applying one file's mends to its text, and the proof that they change
// nothing but what they mean to: the text is read into tokens before and
// after, and the two must be the same tokens but for the respelled words
// (the same letters in another case) and the end names written in.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "output/source_fix.h"

namespace flawseek {

// What became of one fix.
enum class FixState : std::uint8_t {
  Applied,
  // The text at its place no longer reads as the finding saw it (the file
  // changed since it was checked, or the place is not in it).
  Stale,
  // Another fix of a different result claims the same text.
  Conflict,
  // The file was left as it was (FixedSource::refusal says why).
  Refused,
};

struct FixedSource {
  std::string text;             // the mended text; empty when nothing was applied
  std::vector<FixState> states; // one per fix given, in the order given
  std::size_t applied = 0;
  // Empty, or why no fix of the file was applied although some could be.
  std::string refusal;
};

// The mends `fixes` (of one file, any order; the same fix twice counts once)
// applied to `text`. When the tokens of the result differ from the text's in
// any other way, nothing is applied and the refusal says where.
FixedSource apply_fixes(std::string_view text, std::span<const SourceFix> fixes);

}  // namespace flawseek
