// Reading a finding's mend back from the words its check gave it.
#include "output/source_fix.h"

#include "findings/rule_descriptor.h"
#include "frontend/text_utilities.h"

namespace flawseek {

namespace {

constexpr std::string_view must_be = "` must be `";
constexpr std::string_view end_followed_by = "end must be followed by `";

// "... `X` must be `Y`...": X and Y, when the words read so and Y is X
// respelled (the same letters, another case).
std::optional<SourceFix> respelling(const FindingRecord& record) {
  const std::string_view detail = record.detail;
  const std::size_t middle = detail.find(must_be);
  if (middle == std::string_view::npos) return std::nullopt;
  const std::size_t word_start = detail.rfind('`', middle == 0 ? 0 : middle - 1);
  if (word_start == std::string_view::npos || word_start >= middle) return std::nullopt;
  const std::size_t spelled_start = middle + must_be.size();
  const std::size_t spelled_end = detail.find('`', spelled_start);
  if (spelled_end == std::string_view::npos) return std::nullopt;
  const std::string_view word = detail.substr(word_start + 1, middle - word_start - 1);
  const std::string_view spelled = detail.substr(spelled_start, spelled_end - spelled_start);
  if (word.empty() || word == spelled || word.size() != spelled.size() || !same_name(word, spelled)) {
    return std::nullopt;
  }
  return SourceFix{record.line, record.column, std::string(word), std::string(spelled)};
}

// "end must be followed by `Name`": the name goes before the word the
// finding stands at (the semicolon after END or END LOOP).
std::optional<SourceFix> end_name_insertion(const FindingRecord& record) {
  const std::string_view detail = record.detail;
  if (!detail.starts_with(end_followed_by) || !detail.ends_with('`')) return std::nullopt;
  const std::string_view name =
      detail.substr(end_followed_by.size(), detail.size() - end_followed_by.size() - 1);
  if (name.empty() || name.find('`') != std::string_view::npos) return std::nullopt;
  std::string replacement = " ";
  replacement += name;
  return SourceFix{record.line, record.column, std::string(), std::move(replacement)};
}

}  // namespace

bool fixable_kind(FindingKind kind) { return rule_descriptor(kind).fixable; }

std::optional<SourceFix> source_fix(const FindingRecord& record) {
  if (record.suppressed || !fixable_kind(record.kind)) return std::nullopt;
  if (record.line < 1 || record.column < 1 || record.column == no_column) return std::nullopt;
  if (record.kind == FindingKind(StyleKind::IDENTIFIER_MISSING)) return end_name_insertion(record);
  return respelling(record);
}

std::string fix_description(const SourceFix& fix) {
  if (fix.replaced.empty()) return "insert `" + fix.replacement + "`";
  return "respell `" + fix.replaced + "` as `" + fix.replacement + "`";
}

}  // namespace flawseek
