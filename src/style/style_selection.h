// What the job supplies to the style side for one run: the selected rule
// kinds, the chosen rule book and whether extended style mode is on. A plain
// value, so the style library does not depend on the job.
#pragma once

#include <array>

#include "style/style_kind.h"

namespace flawseek {

struct StyleSelection {
  // One flag per selectable kind, CHARACTER_NOT_PORTABLE .. WRONG_MODE.
  std::array<bool, selectable_style_kind_count> selected{};
  StyleSet style_set = StyleSet::USER;
  bool extended_style_mode = false;
  // Not part of the rules: it makes the driver survey the declaring units.
  bool relaxed_styles = false;

  // NO_STYLE_CHECKS has no switch and always reads as unselected.
  constexpr bool is_selected(StyleKind kind) const {
    const auto position = static_cast<std::size_t>(kind);
    return position < selected.size() && selected[position];
  }
  constexpr void select(StyleKind kind, bool on = true) {
    const auto position = static_cast<std::size_t>(kind);
    if (position < selected.size()) selected[position] = on;
  }
};

}  // namespace flawseek
