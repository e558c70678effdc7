// The tree format: a findings tree kept in memory and printed as indented
// text, as the command line shows it (and as tests see the window's tree).
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "findings/findings_view.h"
#include "output/findings_by_kind.h"

namespace flawseek {

class TextTreeView final : public FindingsView {
 public:
  TextTreeView();

  TreeItem insert_item(TreeItem parent, std::string_view text, const Finding* finding,
                       TreePlacement placement) override;
  void set_item_text(TreeItem item, std::string_view text) override;
  void delete_all_items() override;

  // Prints every item on its own line, indented by `indent` blanks per level
  // below the top, children after their parent in tree order.
  void render(std::ostream& out, int indent = 2) const;

  // Inspection, mostly for tests and the editor hand-off: the items under
  // parent (no_tree_item for the top level) in display order.
  const std::vector<TreeItem>& children(TreeItem parent) const;
  const std::string& text(TreeItem item) const;
  const Finding* finding(TreeItem item) const;
  std::size_t item_count() const { return nodes_.size() - 1; }

 private:
  struct Node {
    std::string text;
    const Finding* finding = nullptr;
    std::vector<TreeItem> children;
  };

  std::vector<Node> nodes_;  // nodes_[0] is the invisible root
};

// The tree a findings list builds in its view, printed as render() prints
// it, straight from the findings: the command line keeps no tree of items.
void write_findings_tree(const FindingsByKind& findings, std::ostream& out);

}  // namespace flawseek
