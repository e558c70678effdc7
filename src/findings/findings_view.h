// What the findings list needs from a tree display: the window's tree control
// implements it, and so does the text tree of the command line.
#pragma once

#include <cstdint>
#include <string_view>

#include "findings/finding.h"

namespace flawseek {

// Handle of a tree item; no_tree_item stands for "the top level" as a parent.
using TreeItem = std::uint32_t;
inline constexpr TreeItem no_tree_item = 0;

enum class TreePlacement : std::uint8_t {
  Sorted,  // among its siblings by their texts at the moment of insertion
  Last,    // after all its siblings
};

class FindingsView {
 public:
  virtual ~FindingsView() = default;

  // Inserts an item with the given text under parent (or at the top level) and
  // returns its handle, never no_tree_item. The finding, when not null, is the
  // one the item stands for (for the editor hand-off); it stays valid until
  // delete_all_items.
  virtual TreeItem insert_item(TreeItem parent, std::string_view text, const Finding* finding,
                               TreePlacement placement) = 0;
  virtual void set_item_text(TreeItem item, std::string_view text) = 0;
  virtual void delete_all_items() = 0;
};

// The order of sorted insertion: letters compared without regard to case, then
// byte order, so every view sorts the same way.
bool tree_text_less(std::string_view left, std::string_view right);

}  // namespace flawseek
