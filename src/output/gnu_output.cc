// Writing GNU diagnostic lines.
#include "output/gnu_output.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <limits>

#include "findings/finding_id.h"
#include "output/rule_catalog.h"
#include "platform/utf8_text.h"

namespace flawseek {

namespace {

// Copies `text` to `at`, returning the end of the copy.
char* put(char* at, std::string_view text) noexcept {
  std::memcpy(at, text.data(), text.size());
  return at + text.size();
}

// Room after a padded text, and after the end of a line being built: a
// padded copy reads and writes whole blocks of this size.
constexpr std::size_t block = 16;

// Copies a text followed by at least `block` readable bytes in whole blocks,
// which the compiler turns into a few moves where a call to memcpy for a
// short text costs more than the copy; up to `block` - 1 bytes after the
// copy are overwritten.
char* put_padded(char* at, std::string_view text) noexcept {
  for (std::size_t done = 0; done < text.size(); done += block) std::memcpy(at + done, text.data() + done, block);
  return at + text.size();
}

// The decimal digits of a number of at most `number_room` characters. Lines
// and columns mostly have up to four digits, taken two at a time.
constexpr std::size_t number_room = std::numeric_limits<std::int32_t>::digits10 + 2;
constexpr char digit_pairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";
[[gnu::always_inline]] inline char* put_number(char* at, std::int32_t number) noexcept {
  if (number < 0 || number >= 10000) return std::to_chars(at, at + number_room, number).ptr;
  const auto value = static_cast<unsigned>(number);
  if (value < 10) {
    *at = static_cast<char>('0' + value);
    return at + 1;
  }
  if (value < 100) {
    std::memcpy(at, digit_pairs + 2 * value, 2);
    return at + 2;
  }
  const unsigned high = value / 100;
  const unsigned low = value % 100;
  if (high < 10) {
    *at = static_cast<char>('0' + high);
    std::memcpy(at + 1, digit_pairs + 2 * low, 2);
    return at + 3;
  }
  std::memcpy(at, digit_pairs + 2 * high, 2);
  std::memcpy(at + 2, digit_pairs + 2 * low, 2);
  return at + 4;
}

}  // namespace

GnuLinesWriter::GnuLinesWriter(const PathStyle& paths, ColumnCount columns)
    : column_count_(columns), shown_paths_(paths) {
  // The texts are gathered first and viewed after, as texts_ moves while it grows.
  struct Offsets {
    std::size_t lead, lead_size, sentence_size, tail, tail_size;
    bool shows_source;
  };
  std::array<Offsets, FindingKind::count> offsets{};
  for (int index = 0; index < FindingKind::count; ++index) {
    const FindingKind kind = FindingKind::from_index(index);
    std::string_view severity = "(style) ";
    if (!kind.is_style()) severity = severity_name(kind) == "error" ? "error: " : "warning: ";
    // A finding with a reason and no detail of its own, to ask what a kind shows.
    const Finding probe{{}, 1, 1, "reason"};
    const FindingRecord sample = FindingRecord::of(kind, probe, {}, false);
    Offsets& kind_offsets = offsets[index];
    kind_offsets.lead = texts_.size();
    texts_ += ": ";
    texts_ += severity;
    kind_offsets.lead_size = texts_.size() - kind_offsets.lead;
    texts_ += finding_message(sample);
    kind_offsets.sentence_size = texts_.size() - kind_offsets.lead;
    texts_.append(block, '\0');
    kind_offsets.tail = texts_.size();
    texts_ += " [";
    texts_ += finding_id(kind);
    texts_ += "]\n";
    kind_offsets.tail_size = texts_.size() - kind_offsets.tail;
    texts_.append(block, '\0');
    kind_offsets.shows_source = !finding_source_text(sample).empty();
  }
  const std::string_view all(texts_);
  for (int index = 0; index < FindingKind::count; ++index) {
    const Offsets& kind_offsets = offsets[index];
    kinds_[index] = {all.substr(kind_offsets.lead, kind_offsets.lead_size),
                     all.substr(kind_offsets.lead, kind_offsets.sentence_size),
                     all.substr(kind_offsets.tail, kind_offsets.tail_size), kind_offsets.shows_source};
  }
}

void GnuLinesWriter::write(std::span<const FindingRecord> records, std::ostream& out) {
  // Lines are built in place in a block that keeps its size and its unsent
  // lines from call to call, and handed to the stream a full block at a
  // time: one insertion per line, one append per piece, or one short write
  // per file's result cost more than the text itself.
  std::size_t used = unsent_;
  // Path objects may be gone after the call, and another take the address.
  path_file_ = nullptr;
  bool without_tabs = false;
  for (const FindingRecord& record : records) {
    if (record.suppressed) continue;
    const SharedPath& file = *record.file;
    if (record.file != path_file_) {
      // The path as shown, and its ':', once per run of one file's findings.
      path_file_ = record.file;
      const std::string& shown = shown_paths_.shown(file);
      path_.assign(shown);
      path_ += ':';
      path_size_ = path_.size();
      path_.append(block, '\0');
      without_tabs = file.known_without_tabs();
    }
    std::int32_t column = 1;
    if (record.column != no_column) {
      // A file the analysis found without tabs shows every column as it is;
      // any other is read again for the tabs before the column.
      switch (column_count_) {
        case ColumnCount::Screen:
          column = without_tabs ? record.column : columns_.display_column(file, record.line, record.column);
          break;
        case ColumnCount::Characters:
          column = columns_.character_column(file, record.line, record.column);
          break;
        case ColumnCount::Bytes:
          column = record.column;
          break;
      }
    }
    const std::string_view path(path_.data(), path_size_);
    const KindTexts& kind = kinds_[record.kind.index()];
    // Sources are Latin-1; the lines are UTF-8, as every terminal and tool expects.
    const std::string_view source = kind.shows_source ? utf8_text(record.reason, source_room_) : std::string_view();
    const std::string_view detail = utf8_text(record.detail, detail_room_);
    const std::size_t longest = path.size() + 2 * number_room + kind.lead_sentence.size() + detail.size() +
                                source.size() + kind.tail.size() + 16 + block;
    if (text_.size() < used + longest) text_.resize(std::max(used + longest, block_size + 4096));

    char* at = text_.data() + used;
    at = put_padded(at, path);
    at = put_number(at, record.line < 1 ? 1 : record.line);
    *at++ = ':';
    at = put_number(at, column < 1 ? 1 : column);
    if (detail.empty()) {
      at = put_padded(at, kind.lead_sentence);
    } else {
      at = put_padded(at, kind.lead);
      at = put(at, detail);
    }
    if (!source.empty()) {
      at[0] = ':';
      at[1] = ' ';
      at = put(at + 2, source);
    }
    at = put_padded(at, kind.tail);
    used = static_cast<std::size_t>(at - text_.data());
    if (used >= block_size) {
      out.write(text_.data(), static_cast<std::streamsize>(used));
      used = 0;
    }
  }
  unsent_ = used;
}

void GnuLinesWriter::end(std::ostream& out) {
  out.write(text_.data(), static_cast<std::streamsize>(unsent_));
  unsent_ = 0;
}

}  // namespace flawseek
