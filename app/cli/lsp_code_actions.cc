// Quick fixes and the fix-all, as edits of the document.
#include "lsp_code_actions.h"

#include <algorithm>
#include <optional>
#include <tuple>
#include <vector>

#include "lsp_json.h"
#include "output/fixed_source.h"
#include "platform/utf8_text.h"

namespace flawseek {

namespace {

using Json = nlohmann::json;

bool same_position(const TextPosition& a, const TextPosition& b) { return a.line == b.line && a.character == b.character; }

}  // namespace

Json code_actions_for(const std::string& uri, std::string_view text, std::span<const DocumentFinding> findings,
                      const Json& context) {
  const Json* diagnostics = member(context, "diagnostics");
  const Json* only = member(context, "only");
  const auto wanted = [only](std::string_view kind) {
    if (only == nullptr || !only->is_array()) return true;
    return std::any_of(only->begin(), only->end(), [kind](const Json& entry) {
      if (!entry.is_string()) return false;
      const std::string& given = entry.get_ref<const std::string&>();
      return kind == given || (kind.starts_with(given) && kind.size() > given.size() && kind[given.size()] == '.');
    });
  };
  Json actions = Json::array();
  LineStarts lines;
  lines.index(text);
  const auto edit_of = [&lines](const SourceFix& fix) -> std::optional<Json> {
    const std::optional<TextRange> range = fix_range(fix, lines);
    if (!range) return std::nullopt;
    return Json{{"range", range_json(*range)}, {"newText", utf8_text(fix.replacement)}};
  };

  if (wanted("quickfix") && diagnostics != nullptr && diagnostics->is_array()) {
    for (const Json& diagnostic : *diagnostics) {
      const std::string* source = string_member(diagnostic, "source");
      const std::string* code = string_member(diagnostic, "code");
      const std::optional<TextRange> range = range_of(member(diagnostic, "range"));
      if (source == nullptr || *source != "flawseek" || code == nullptr || !range) continue;
      // The editor may have moved the end, not the start and the rule.
      const auto finding = std::find_if(findings.begin(), findings.end(), [&](const DocumentFinding& one) {
        return one.fix && one.code == *code && same_position(one.range.start, range->start);
      });
      if (finding == findings.end()) continue;
      const std::optional<Json> edit = edit_of(*finding->fix);
      if (!edit) continue;
      actions.push_back({{"title", "Fix: " + utf8_text(fix_description(*finding->fix))},
                         {"kind", "quickfix"},
                         {"diagnostics", Json::array({diagnostic})},
                         {"edit", {{"changes", {{uri, Json::array({*edit})}}}}},
                         {"isPreferred", true}});
    }
  }

  if (wanted("source.fixAll")) {
    std::vector<SourceFix> fixes;
    for (const DocumentFinding& finding : findings) {
      if (finding.fix) fixes.push_back(*finding.fix);
    }
    const auto order = [](const SourceFix& a, const SourceFix& b) {
      return std::tie(a.line, a.column, a.replaced, a.replacement) < std::tie(b.line, b.column, b.replaced, b.replacement);
    };
    std::sort(fixes.begin(), fixes.end(), order);
    fixes.erase(std::unique(fixes.begin(), fixes.end()), fixes.end());
    // The whole set is applied to the text first: only a set that leaves
    // every other token as it was is offered.
    const FixedSource fixed = apply_fixes(text, fixes);
    Json edits = Json::array();
    if (fixed.refusal.empty()) {
      for (std::size_t index = 0; index < fixes.size(); ++index) {
        if (fixed.states[index] != FixState::Applied) continue;
        if (std::optional<Json> edit = edit_of(fixes[index])) edits.push_back(std::move(*edit));
      }
    }
    if (!edits.empty()) {
      actions.push_back({{"title", "Fix all flawseek findings in this file"},
                         {"kind", "source.fixAll"},
                         {"edit", {{"changes", {{uri, std::move(edits)}}}}}});
    }
  }
  return actions;
}


}  // namespace flawseek
