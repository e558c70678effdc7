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
  if (counts.files_processed > 0 || counts.read_only_skipped > 0 || counts.excluded > 0) return std::nullopt;
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

void GnatAttributeTally::add(std::string_view syntax_error_text) {
  const std::string_view word = gnat_attribute_named(syntax_error_text);
  if (word.empty()) return;
  ++count_;
  // Each attribute once, as first spelt, told apart by its table entry.
  const int entry = find_word(NameTable::ExtendedAttributes, word);
  if (std::find(entries_.begin(), entries_.end(), entry) != entries_.end()) return;
  entries_.push_back(entry);
  named_.emplace_back(word);
}

void GnatAttributeTally::add_syntax_errors(const FindingsList& findings) {
  std::vector<FindingRecord> records;
  findings.collect_records(records, /*include_suppressed=*/false);
  add_syntax_errors(records);
}

void GnatAttributeTally::add_syntax_errors(std::span<const FindingRecord> records) {
  for (const FindingRecord& record : records) {
    if (record.kind == BugKind::SYNTAX_ERROR && !record.suppressed) add(record.reason);
  }
}

std::string GnatAttributeTally::note() const {
  if (count_ == 0) return {};
  constexpr std::size_t shown = 4;
  std::string list;
  for (std::size_t at = 0; at < named_.size() && at < shown; ++at) list += (at == 0 ? "'" : ", '") + named_[at];
  if (named_.size() > shown) list += ", ...";
  const bool one = count_ == 1;
  return "note: " + std::to_string(count_) +
         (one ? " syntax error names an attribute" : " syntax errors name attributes") + " that only GNAT defines (" +
         list + "); --gnat-extensions accepts " + (one ? "it" : "them");
}

}  // namespace flawseek
