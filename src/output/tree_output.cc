// The in-memory findings tree and its indented text form.
#include "output/tree_output.h"

#include <algorithm>
#include <string>

#include "findings/findings_list.h"
#include "platform/printable_text.h"
#include "platform/utf8_text.h"

namespace flawseek {

TextTreeView::TextTreeView() { nodes_.emplace_back(); }

TreeItem TextTreeView::insert_item(TreeItem parent, std::string_view text, const Finding* finding,
                                   TreePlacement placement) {
  if (parent >= nodes_.size()) parent = no_tree_item;  // an unknown parent means the top level
  TreeItem item = static_cast<TreeItem>(nodes_.size());
  nodes_.push_back(Node{std::string(text), finding, {}});
  std::vector<TreeItem>& siblings = nodes_[parent].children;
  auto position = siblings.end();
  if (placement == TreePlacement::Sorted) {
    // Equal texts keep their arrival order: the new item goes after them.
    position = std::upper_bound(siblings.begin(), siblings.end(), text, [this](std::string_view t, TreeItem sibling) {
      return tree_text_less(t, nodes_[sibling].text);
    });
  }
  siblings.insert(position, item);
  return item;
}

void TextTreeView::set_item_text(TreeItem item, std::string_view text) {
  if (item != no_tree_item && item < nodes_.size()) nodes_[item].text.assign(text);
}

void TextTreeView::delete_all_items() {
  nodes_.clear();
  nodes_.emplace_back();
}

const std::vector<TreeItem>& TextTreeView::children(TreeItem parent) const {
  return nodes_[parent < nodes_.size() ? parent : no_tree_item].children;
}

const std::string& TextTreeView::text(TreeItem item) const { return nodes_[item < nodes_.size() ? item : 0].text; }

const Finding* TextTreeView::finding(TreeItem item) const {
  return item < nodes_.size() ? nodes_[item].finding : nullptr;
}

void TextTreeView::render(std::ostream& out, int indent) const {
  // An explicit stack: the tree is shallow, but nothing here should depend on that.
  struct Pending {
    TreeItem item;
    int depth;
  };
  std::vector<Pending> stack;
  const auto& top = nodes_[0].children;
  for (auto it = top.rbegin(); it != top.rend(); ++it) stack.push_back({*it, 0});
  while (!stack.empty()) {
    Pending p = stack.back();
    stack.pop_back();
    out << std::string(static_cast<std::size_t>(p.depth * indent), ' ') << nodes_[p.item].text << '\n';
    const auto& kids = nodes_[p.item].children;
    for (auto it = kids.rbegin(); it != kids.rend(); ++it) stack.push_back({*it, p.depth + 1});
  }
}

namespace {

void put_line(std::ostream& out, int depth, std::string_view text) {
  for (int i = 0; i < depth; ++i) out << "  ";
  out << text << '\n';
}

// A kind's item and everything below it, the kind's item at `depth`.
void write_kind(const FindingsByKind& findings, FindingKind kind, int depth, std::ostream& out) {
  put_line(out, depth, counted_text(kind.label(), findings.count(kind)));
  std::string room;
  findings.for_each(kind, [&](const KindFinding& finding) {
    if (finding.starts_file_item) put_line(out, depth + 1, printable(finding.file.str()));
    // A style finding without a line stands for the whole file.
    if (kind.is_style() && finding.line == 0) return;
    std::string position = position_text(finding.line, finding.column);
    if (kind == BugKind::SYNTAX_ERROR && !finding.detail.empty()) {
      position += ": ";
      position += utf8_text(finding.detail, room);
    }
    put_line(out, depth + 2, position);
    if (!finding.reason.empty()) put_line(out, depth + 3, utf8_text(finding.reason, room));
  });
}

}  // namespace

void write_findings_tree(const FindingsByKind& findings, std::ostream& out) {
  // The top level and the style kinds below "Style Violations" in the order
  // the view's sorted insertion gives them: by label, as no label begins
  // another one.
  std::vector<FindingKind> top;
  std::vector<FindingKind> style;
  for (int index = 0; index < FindingKind::count; ++index) {
    const FindingKind kind = FindingKind::from_index(index);
    if (findings.count(kind) == 0) continue;
    (kind.is_style() ? style : top).push_back(kind);
  }
  const auto by_label = [](FindingKind a, FindingKind b) { return tree_text_less(a.label(), b.label()); };
  std::sort(style.begin(), style.end(), by_label);
  // "Style Violations" takes its place among the bug kinds' labels.
  const bool has_style = !style.empty();
  std::sort(top.begin(), top.end(), by_label);
  bool style_written = !has_style;
  const auto write_style = [&] {
    put_line(out, 0, counted_text(style_violations_text, findings.style_count()));
    for (const FindingKind kind : style) write_kind(findings, kind, 1, out);
    style_written = true;
  };
  for (const FindingKind kind : top) {
    if (!style_written && tree_text_less(style_violations_text, kind.label())) write_style();
    write_kind(findings, kind, 0, out);
  }
  if (!style_written) write_style();
}

}  // namespace flawseek
