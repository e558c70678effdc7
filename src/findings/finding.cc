// Kind labels and the blank collapsing of reason texts.
#include "findings/finding.h"

#include <array>
#include <bit>
#include <ostream>

#include "frontend/byte_search.h"
#include "platform/label.h"

namespace flawseek {

namespace {

std::array<std::string, FindingKind::count> make_kind_labels() {
  std::array<std::string, FindingKind::count> labels;
  for (int i = 0; i < bug_kind_count; ++i) labels[i] = flawseek::label(image(static_cast<BugKind>(i)));
  for (int i = 0; i < style_kind_count; ++i)
    labels[bug_kind_count + i] = flawseek::label(image(static_cast<StyleKind>(i)));
  return labels;
}

}  // namespace

const std::string& FindingKind::label() const {
  static const std::array<std::string, count> labels = make_kind_labels();
  return labels[index_];
}

namespace {

// A tab is kept as designed; every other control character is a blank.
constexpr bool counts_as_blank(unsigned char code) {
  return code == ' ' || (code < ' ' && code != '\t') || code == 0x7F || (code >= 0x80 && code <= 0x9F);
}

constexpr std::array<bool, 256> make_blank_table() {
  std::array<bool, 256> table{};
  for (int code = 0; code < 256; ++code) table[code] = counts_as_blank(static_cast<unsigned char>(code));
  return table;
}

constexpr std::array<bool, 256> blank_table = make_blank_table();

bool is_blank(char c) { return blank_table[static_cast<unsigned char>(c)]; }

#if defined(__SSE2__)
// 0xFF in each byte of `v` that is a blank, as blank_table has it.
byte_search::Block blanks_of(byte_search::Block v) noexcept {
  using namespace byte_search;
  const Block control = _mm_andnot_si128(equal(v, '\t'), at_most(v, 0x1F));
  return either(either(equal(v, ' '), control), either(equal(v, 0x7F), within(v, 0x80, 0x1F)));
}
#endif

// The first place from `read` on where the text stops being words parted by
// single spaces: a blank that is no space, or a space at the end or before
// another blank. Everything before it stays as it is.
std::size_t plain_stretch_end(const char* text, std::size_t read, std::size_t size) {
#if defined(__SSE2__)
  if (size >= 17) {
    // Sixteen places a round, each judged with the byte after it; the last
    // round is moved back to end at the last byte but one, its places
    // before `read` left out, so no byte past the text is read.
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    const std::size_t last_base = size - 17;
    while (read + 1 < size) {
      using namespace byte_search;
      const std::size_t base = read < last_base ? read : last_base;
      const Block here = load(bytes + base);
      const unsigned blanks = bits(blanks_of(here));
      const unsigned spaces = bits(equal(here, ' '));
      // The byte after each place: the next place's, and for the last the
      // byte after the block, which the text holds.
      const unsigned blanks_after = (blanks >> 1) | (static_cast<unsigned>(blank_table[bytes[base + 16]]) << 15);
      const unsigned stops = (blanks & (~spaces | blanks_after)) >> (read - base);
      if (stops != 0) return read + static_cast<std::size_t>(std::countr_zero(stops));
      read = base + 16;
    }
    // The last byte: a blank there ends the stretch.
    if (read < size && !is_blank(text[read])) return size;
    return read;
  }
#endif
  while (read < size) {
    if (!is_blank(text[read])) {
      ++read;
    } else if (text[read] == ' ' && read + 1 < size && !is_blank(text[read + 1])) {
      read += 2;
    } else {
      break;
    }
  }
  return read;
}

// The first byte from `read` on that is no blank, or `size`.
std::size_t blanks_end(const char* text, std::size_t read, std::size_t size) {
#if defined(__SSE2__)
  // Indentation mostly ends within sixteen bytes.
  while (read + 16 <= size) {
    using namespace byte_search;
    const unsigned others = ~bits(blanks_of(load(reinterpret_cast<const unsigned char*>(text) + read))) & 0xFFFFu;
    if (others != 0) return read + static_cast<std::size_t>(std::countr_zero(others));
    read += 16;
  }
#endif
  while (read < size && is_blank(text[read])) ++read;
  return read;
}

#if defined(__SSE2__)
// 0xFF in each byte of `v` that is a blank but no space.
byte_search::Block blanks_but_spaces_of(byte_search::Block v) noexcept {
  using namespace byte_search;
  // DEL and the C1 controls lie together, 0x7F to 0x9F.
  return either(_mm_andnot_si128(equal(v, '\t'), at_most(v, 0x1F)), within(v, 0x7F, 0x20));
}

// True when the sixteen bytes at `at` hold no blank but single spaces, the
// bytes before bit `first` of the block not counted.
bool plain_block(const unsigned char* at, unsigned first) noexcept {
  using namespace byte_search;
  const Block here = load(at);
  const unsigned spaces = bits(equal(here, ' '));
  const unsigned stops = bits(blanks_but_spaces_of(here)) | (spaces & (spaces >> 1));
  return (stops >> first) == 0;
}

// True when [from, to) holds no blank but single spaces, `to` at least
// sixteen: then collapsing leaves it as it is. Blocks overlap by one byte,
// so each pair of neighbours lies within one block, and the last ends at
// `to`; no byte outside the range is read but the ones before `from` a
// short range's block masks off.
bool plain_between(const char* text, std::size_t from, std::size_t to) noexcept {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  if (to - from <= 16) return plain_block(bytes + to - 16, static_cast<unsigned>(from - (to - 16)));
  for (std::size_t base = from; base + 16 < to; base += 15) {
    if (!plain_block(bytes + base, 0)) return false;
  }
  return plain_block(bytes + to - 16, 0);
}
#endif

}  // namespace

void collapse_blanks_into(std::string_view reason, std::string& out) {
  out.clear();
  append_collapsed_blanks(reason, out);
}

void append_collapsed_blanks(std::string_view reason, std::string& out) {
  const char* const text = reason.data();
  const std::size_t size = reason.size();
#if defined(__SSE2__)
  // Most reasons are a source line with single blanks after an indentation
  // of less than sixteen: one test of the whole, and one copy.
  if (size >= 16) {
    using namespace byte_search;
    const unsigned words = ~bits(blanks_of(load(reinterpret_cast<const unsigned char*>(text)))) & 0xFFFFu;
    if (words != 0) {
      const auto start = static_cast<std::size_t>(std::countr_zero(words));
      std::size_t end = size;
      while (is_blank(text[end - 1])) --end;
      if (end >= 16 && plain_between(text, start, end)) {
        out.append(text + start, end - start);
        return;
      }
    }
  }
#endif
  std::size_t read = blanks_end(text, 0, size);
  // A reason is mostly a source line: after its indentation, words parted by
  // single spaces. Such a stretch is found sixteen characters at a time and
  // copied in one piece; each run of blanks after it becomes one blank, or
  // none at the end.
  while (read < size) {
    const std::size_t end = plain_stretch_end(text, read, size);
    out.append(text + read, end - read);
    read = blanks_end(text, end, size);
    if (read < size) out.push_back(' ');
  }
}

std::string collapse_blanks(std::string_view reason) {
  std::string result;
  collapse_blanks_into(reason, result);
  return result;
}

std::ostream& operator<<(std::ostream& out, const SharedPath& path) { return out << path.str(); }

}  // namespace flawseek
