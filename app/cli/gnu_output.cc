// Writing GNU diagnostic lines.
#include "gnu_output.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <limits>

#include "findings/finding_id.h"
#include "rule_catalog.h"

namespace flawseek {

namespace {

// Copies `text` to `at`, returning the end of the copy.
char* put(char* at, std::string_view text) noexcept {
  std::memcpy(at, text.data(), text.size());
  return at + text.size();
}

// The decimal digits of a number of at most `number_room` characters.
constexpr std::size_t number_room = std::numeric_limits<std::int32_t>::digits10 + 2;
char* put_number(char* at, std::int32_t number) noexcept { return std::to_chars(at, at + number_room, number).ptr; }

}  // namespace

GnuLinesWriter::GnuLinesWriter(const PathStyle& paths) : shown_paths_(paths) {
  for (int index = 0; index < FindingKind::count; ++index) {
    const FindingKind kind = FindingKind::from_index(index);
    std::string_view severity = "(style) ";
    if (!kind.is_style()) severity = severity_name(kind) == "error" ? "error: " : "warning: ";
    // A finding with a reason and no detail of its own, to ask what a kind shows.
    const Finding probe{{}, 1, 1, "reason"};
    const FindingRecord sample = FindingRecord::of(kind, probe, {}, false);
    kinds_[index] = {severity, finding_message(sample), finding_id(kind), !finding_source_text(sample).empty()};
  }
}

void GnuLinesWriter::write(std::span<const FindingRecord> records, std::ostream& out) {
  // Lines are built in place in a block that keeps its size from call to
  // call, and handed to the stream a block at a time: one insertion per
  // line, or one append per piece, cost more than the text itself.
  constexpr std::size_t block_size = 1 << 16;
  std::size_t used = 0;
  for (const FindingRecord& record : records) {
    if (record.suppressed) continue;
    const SharedPath& file = *record.file;
    std::int32_t column = 1;
    if (record.column != no_column) {
      // A file the analysis found without tabs shows every column as it is;
      // any other is read again for the tabs before the column.
      column = file.known_without_tabs() ? record.column : columns_.display_column(file, record.line, record.column);
    }
    const std::string& path = shown_paths_.shown(file);
    const KindTexts& kind = kinds_[record.kind.index()];
    const std::string_view severity = kind.severity;
    const std::string_view message = record.detail.empty() ? kind.sentence : record.detail;
    const std::string_view source = kind.shows_source ? record.reason : std::string_view();
    const std::string_view id = kind.id;
    const std::size_t longest =
        path.size() + 2 * number_room + severity.size() + message.size() + source.size() + id.size() + 16;
    if (text_.size() < used + longest) text_.resize(std::max(used + longest, block_size + 4096));

    char* at = text_.data() + used;
    at = put(at, path);
    *at++ = ':';
    at = put_number(at, record.line < 1 ? 1 : record.line);
    *at++ = ':';
    at = put_number(at, column < 1 ? 1 : column);
    at = put(at, ": ");
    at = put(at, severity);
    at = put(at, message);
    if (!source.empty()) {
      at = put(at, ": ");
      at = put(at, source);
    }
    at = put(at, " [");
    at = put(at, id);
    at = put(at, "]\n");
    used = static_cast<std::size_t>(at - text_.data());
    if (used >= block_size) {
      out.write(text_.data(), static_cast<std::streamsize>(used));
      used = 0;
    }
  }
  out.write(text_.data(), static_cast<std::streamsize>(used));
}

}  // namespace flawseek
