// The notes about a run's input: empty searches and GNAT attributes.
#include "input_notes.h"

#include <algorithm>
#include <vector>

#include "driver/source_search.h"
#include "findings/findings_list.h"
#include "frontend/name_tables.h"

namespace flawseek {

namespace {

constexpr std::string_view ada_source_hint = " (Ada sources end in .ads, .adb, .ada or .adq)";

bool is_letter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool is_word_character(char c) { return is_letter(c) || (c >= '0' && c <= '9') || c == '_'; }

bool is_gnat_attribute(std::string_view word) {
  return is_word(NameTable::ExtendedAttributes, word) && !is_word(NameTable::StandardAttributes, word);
}

}  // namespace

std::optional<EmptySearch> empty_search(std::string_view root, const WalkCounts& counts,
                                        std::string_view current_directory) {
  if (counts.files_processed > 0 || counts.read_only_skipped > 0) return std::nullopt;
  const std::optional<SearchRoot> resolved = resolve_search_root(root, current_directory);
  if (!resolved) return std::nullopt;
  const std::string shown = "'" + std::string(root) + "'";
  // A folder resolves to the pattern of every name.
  if (resolved->pattern == "*.*") {
    return EmptySearch{false, "warning: no Ada source found in " + shown + std::string(ada_source_hint)};
  }
  return EmptySearch{true, "no Ada source matches " + shown + std::string(ada_source_hint)};
}

std::string_view gnat_attribute_named(std::string_view text) {
  for (std::size_t tick = text.find('\''); tick != std::string_view::npos; tick = text.find('\'', tick + 1)) {
    std::size_t end = tick + 1;
    if (end >= text.size() || !is_letter(text[end])) continue;
    while (end < text.size() && is_word_character(text[end])) ++end;
    // 'a' is a character literal, not an attribute.
    if (end < text.size() && text[end] == '\'') continue;
    const std::string_view word = text.substr(tick + 1, end - tick - 1);
    if (is_gnat_attribute(word)) return word;
  }
  return {};
}

std::string gnat_attribute_note(const FindingsList& findings) {
  std::int64_t count = 0;
  // Each attribute once, as first spelt, told apart by its table entry.
  std::vector<std::string> named;
  std::vector<int> entries;
  for (const Finding& finding : findings.findings(FindingKind(BugKind::SYNTAX_ERROR))) {
    const std::string_view word = gnat_attribute_named(finding.reason);
    if (word.empty()) continue;
    ++count;
    const int entry = find_word(NameTable::ExtendedAttributes, word);
    if (std::find(entries.begin(), entries.end(), entry) != entries.end()) continue;
    entries.push_back(entry);
    named.emplace_back(word);
  }
  if (count == 0) return {};
  constexpr std::size_t shown = 4;
  std::string list;
  for (std::size_t at = 0; at < named.size() && at < shown; ++at) list += (at == 0 ? "'" : ", '") + named[at];
  if (named.size() > shown) list += ", ...";
  const bool one = count == 1;
  return "note: " + std::to_string(count) +
         (one ? " syntax error names an attribute" : " syntax errors name attributes") + " that only GNAT defines (" +
         list + "); --gnat-extensions accepts " + (one ? "it" : "them");
}

}  // namespace flawseek
