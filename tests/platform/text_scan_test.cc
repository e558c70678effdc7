// Tests of the text scans: the face (the block versions where built) and the
// byte loops give the answer of a plain byte-by-byte reading, for texts of
// every length and mix of bytes, searched from every start, and read no byte
// past the text's end (each text lies at the very end of its own allocation,
// so a sanitized build catches an over-read).
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <random>
#include <string>

#include "platform/latin1.h"
#include "platform/text_scan/ascii_words.h"
#include "platform/text_scan/byte_places.h"
#include "platform/text_scan/case_folding.h"
#include "platform/text_scan/line_scan.h"
#include "platform/text_scan/reason_blanks.h"
#include "platform/text_scan/word_runs.h"

namespace flawseek {
namespace {

using namespace text_scan;

// `text` copied to the very end of an allocation of its own size.
struct Placed {
  explicit Placed(const std::string& text) : bytes(std::make_unique<char[]>(text.size() + 1)) {
    data = bytes.get() + 1;
    text.copy(data, text.size());
  }
  const unsigned char* u() const { return reinterpret_cast<const unsigned char*>(data); }
  std::unique_ptr<char[]> bytes;
  char* data;
};

// Texts of `length` bytes from `fill`, with a byte of `stops` at one place in
// `density` (none at 0), so that searches run both short and far.
std::string text_of(std::mt19937& random, std::size_t length, const std::string& fill, const std::string& stops,
                    unsigned density) {
  std::string text(length, ' ');
  for (char& c : text)
    c = density != 0 && random() % density == 0 ? stops[random() % stops.size()] : fill[random() % fill.size()];
  return text;
}

constexpr bool is_letter(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
constexpr bool is_digit(unsigned char c) { return c >= '0' && c <= '9'; }
constexpr bool is_reason_blank_byte(unsigned char c) {
  return c == ' ' || (c < ' ' && c != '\t') || c == 0x7F || (c >= 0x80 && c <= 0x9F);
}

using Scan = std::size_t (*)(const char*, std::size_t, std::size_t);
struct Search {
  const char* name;
  bool (*stops)(unsigned char);
  std::string fill, stop_bytes;
  Scan scalar, face;
};

const Search searches[] = {
    {"skip_blanks", [](unsigned char c) { return c > ' '; }, " \t\x01\x1f", "a-\x80\xff",
     [](const char* t, std::size_t f, std::size_t n) { return scalar::skip_blanks(reinterpret_cast<const unsigned char*>(t), f, n); },
     [](const char* t, std::size_t f, std::size_t n) { return skip_blanks(reinterpret_cast<const unsigned char*>(t), f, n); }},
    {"ascii_word_end", [](unsigned char c) { return !(is_letter(c) || is_digit(c) || c == '_'); }, "azAZ09_m", "@[`{/:\x80 -",
     [](const char* t, std::size_t f, std::size_t n) { return scalar::ascii_word_end(reinterpret_cast<const unsigned char*>(t), f, n); },
     [](const char* t, std::size_t f, std::size_t n) { return ascii_word_end(reinterpret_cast<const unsigned char*>(t), f, n); }},
    {"decimal_run_end", [](unsigned char c) { return !(is_digit(c) || c == '_'); }, "0189_", "aA/:#.\xb0",
     [](const char* t, std::size_t f, std::size_t n) { return scalar::digit_run_end(reinterpret_cast<const unsigned char*>(t), f, n, false); },
     [](const char* t, std::size_t f, std::size_t n) { return digit_run_end(reinterpret_cast<const unsigned char*>(t), f, n, false); }},
    {"extended_run_end", [](unsigned char c) { return !(is_digit(c) || ((c | 0x20) >= 'a' && (c | 0x20) <= 'f') || c == '_'); }, "09afAF_", "gG@`/#\xc1",
     [](const char* t, std::size_t f, std::size_t n) { return scalar::digit_run_end(reinterpret_cast<const unsigned char*>(t), f, n, true); },
     [](const char* t, std::size_t f, std::size_t n) { return digit_run_end(reinterpret_cast<const unsigned char*>(t), f, n, true); }},
    {"find_line_stop", [](unsigned char c) { return c < 32 || c == '-' || c == '"'; }, "a ;'\x7f\xff", "-\"\n\r\t\x01",
     scalar::find_line_stop, find_line_stop},
    {"find_line_end", [](unsigned char c) { return c == '\n' || c == '\r'; }, "a -\"\t\x0b", "\n\r", scalar::find_line_end,
     find_line_end},
    {"reason_blanks_end",
     [](unsigned char c) { return !is_reason_blank_byte(c); },
     " \x01\x1f\x7f\x80\x9f", "a\t\xa0~", scalar::reason_blanks_end, reason_blanks_end},
};

TEST(TextScan, EverySearchFindsTheFirstStopByteByByteFromEveryStart) {
  std::mt19937 random(20261210);
  const unsigned densities[] = {2, 9, 40, 0};
  for (const Search& search : searches) {
    const auto check = [&search](const std::string& text) {
      const Placed placed(text);
      std::size_t want = text.size();
      for (std::size_t from = text.size() + 1; from-- > 0;) {
        if (from < text.size() && search.stops(static_cast<unsigned char>(text[from]))) want = from;
        ASSERT_EQ(search.scalar(placed.data, from, text.size()), want) << search.name << " scalar from " << from << " in " << text;
        ASSERT_EQ(search.face(placed.data, from, text.size()), want) << search.name << " from " << from << " in " << text;
      }
    };
    // One stop at every place of every length, across the blocks' edges,
    // then texts of many stops and none.
    for (std::size_t length = 0; length <= 70; ++length) {
      for (std::size_t stop = 0; stop <= length; ++stop) {
        std::string text(length, search.fill[0]);
        if (stop < length) text[stop] = search.stop_bytes[0];
        ASSERT_NO_FATAL_FAILURE(check(text));
      }
    }
    for (int round = 0; round < 440; ++round)
      ASSERT_NO_FATAL_FAILURE(check(text_of(random, round % 110, search.fill, search.stop_bytes, densities[round / 110])));
  }
}

// A reason's words parted by single spaces: where such a stretch ends, and
// whether a range is one.
TEST(TextScan, SingleSpacedStretchesAreJudgedAsByteByByte) {
  std::mt19937 random(7);
  const auto blank = [](const std::string& t, std::size_t i) { return is_reason_blank_byte(static_cast<unsigned char>(t[i])); };
  for (int round = 0; round < 600; ++round) {
    const std::size_t length = round % 60;
    const std::string text = text_of(random, length, "ab  ", "\x01\x85\t\x7f", round < 300 ? 5 : 0);
    const Placed placed(text);
    for (std::size_t from = 0; from <= length; ++from) {
      std::size_t end = from;
      while (end < length && !(blank(text, end) && !(text[end] == ' ' && end + 1 < length && !blank(text, end + 1)))) ++end;
      ASSERT_EQ(scalar::single_spaced_end(placed.data, from, length), end) << from << " in " << text;
      ASSERT_EQ(single_spaced_end(placed.data, from, length), end) << from << " in " << text;
      for (std::size_t to = from; to <= length; ++to) {
        bool plain = true;
        for (std::size_t i = from; i < to; ++i)
          if (blank(text, i) && (text[i] != ' ' || (i + 1 < to && text[i + 1] == ' '))) plain = false;
        ASSERT_EQ(scalar::is_single_spaced(placed.data, from, to), plain) << from << ".." << to << " in " << text;
        ASSERT_EQ(is_single_spaced(placed.data, from, to), plain) << from << ".." << to << " in " << text;
      }
    }
  }
}

TEST(TextScan, TheBytePlacesOfUpTo64CharactersAreOneBitEach) {
  std::mt19937 random(64);
  for (const char byte : {'.', '\0'}) {
    for (int round = 0; round < 650; ++round) {
      const std::size_t size = round % 65;
      const Placed placed(text_of(random, size, "ab_", std::string(1, byte), 1 + round / 65));
      std::uint64_t want = 0;
      for (std::size_t i = 0; i < size; ++i) want |= std::uint64_t{placed.data[i] == byte} << i;
      ASSERT_EQ(scalar::byte_places(placed.data, size, byte), want) << size;
      ASSERT_EQ(byte_places(placed.data, size, byte), want) << size;
    }
  }
}

// How a line starts, read byte by byte: the spaces that begin it as far as
// `window` bytes show them (0 when the source is shorter than the window or
// the window holds spaces only), a "--" after them, and the first stop: for
// a comment-only line its end, else a control character, '-' or '"'.
LineStart expected_start(const std::string& text, std::size_t window) {
  std::size_t first = 0;
  while (first < text.size() && first < window && text[first] == ' ') ++first;
  LineStart start;
  if (text.size() < window || first == window) {
    first = 0;
  } else {
    start.indentation = static_cast<std::uint32_t>(first);
    start.comment_only = first + 1 < text.size() && text[first] == '-' && text[first + 1] == '-';
  }
  std::size_t end = start.comment_only ? first + 2 : first;
  while (end < text.size() && !(start.comment_only ? is_line_end(text[end]) : is_line_stop(text[end]))) ++end;
  start.end = end;
  return start;
}

TEST(TextScan, EveryVersionOfTheLineStartAgreesWithAByteByByteReading) {
  std::mt19937 random(20261210);
  // Spaces weigh most, so that indentation runs across the first blocks.
  const std::string bytes = "      aaaa--\"\n\r\t";
  const auto check = [](const char* version, const std::string& text, const LineStart& got, std::size_t window) {
    const LineStart want = expected_start(text, window);
    ASSERT_EQ(got.comment_only, want.comment_only) << version << ": " << text;
    ASSERT_EQ(got.indentation, want.indentation) << version << ": " << text;
    ASSERT_EQ(got.end, want.end) << version << ": " << text;
  };
  for (int round = 0; round < 20000; ++round) {
    const std::size_t length = 1 + random() % 110;
    const std::size_t indentation = random() % 40;
    std::string text(length, 'a');
    for (std::size_t i = 0; i < length; ++i) text[i] = i < indentation ? ' ' : bytes[random() % bytes.size()];
    if (random() % 2 == 0 && indentation + 1 < length) text[indentation] = text[indentation + 1] = '-';
    const Placed placed(text);
    check("scalar", text, scalar::line_start(placed.data, length), 16);
#if defined(FLAWSEEK_TEXT_SCAN_AVX2)
    const bool wide = avx2::usable && length >= 32;
    if (wide) check("avx2", text, avx2::line_start(placed.data, length), 32);
#else
    const bool wide = false;
#endif
    check("face", text, line_start(placed.data, length), wide ? 32 : 16);
  }
}

// Random Latin-1 texts whose bytes are mostly ASCII letters, as names are.
std::string name_of(std::mt19937& random, std::size_t size) {
  const std::string bytes = "aAzZ_09@[`{\x80\xc0\xde\xdf\xe9\xff\x7f";
  std::string text(size, ' ');
  for (char& c : text) c = bytes[random() % bytes.size()];
  return text;
}

TEST(TextScan, WordTestsOfShortTextsAgreeWithAByteByByteReading) {
  std::mt19937 random(5);
  for (int round = 0; round < 4000; ++round) {
    const std::size_t size = round % 20;
    const std::string text = name_of(random, size);
    const Placed placed(text);
    const std::string_view view(placed.data, size);
    bool ascii = true, capital = false, lower = false;
    for (char c : text) {
      const auto b = static_cast<unsigned char>(c);
      ascii = ascii && b < 0x80;
      capital = capital || (b >= 'A' && b <= 'Z');
      lower = lower || (b >= 'a' && b <= 'z');
    }
    ASSERT_EQ(is_plain_ascii(view), ascii) << text;
    const auto scan = [&](bool found) {
      return size > 16 || !ascii ? ShortScan::UNDECIDED : found ? ShortScan::FOUND : ShortScan::NONE;
    };
    ASSERT_EQ(find_ascii_within(view, 'A', 'Z'), scan(capital)) << text;
    ASSERT_EQ(find_ascii_within(view, 'a', 'z'), scan(lower)) << text;
    std::string letters = text;
    for (char& c : letters) c = static_cast<char>(random() % 2 ? 'a' + random() % 26 : 'A' + random() % 26);
    const Placed placed_letters(letters);
    const auto has = [&](char first, char last) {
      for (char c : letters) if (c >= first && c <= last) return true;
      return false;
    };
    const auto letter_scan = [&](bool found) { return size > 16 ? ShortScan::UNDECIDED : found ? ShortScan::FOUND : ShortScan::NONE; };
    ASSERT_EQ(find_letter_case({placed_letters.data, size}, true), letter_scan(has('A', 'Z'))) << letters;
    ASSERT_EQ(find_letter_case({placed_letters.data, size}, false), letter_scan(has('a', 'z'))) << letters;
    if (size >= 1 && size <= 8) {
      std::uint64_t word = 0;
      for (std::size_t i = 0; i < size; ++i) word |= std::uint64_t{static_cast<unsigned char>(text[i])} << 8 * i;
      ASSERT_EQ(load_partial_word(placed.data, size), word) << text;
    }
    const std::string block = (text + name_of(random, 16)).substr(0, 16);
    const Placed placed_block(block);
    int n = 0;
    while (n < 16 && (is_letter(block[n]) || is_digit(block[n]) || block[n] == '_')) ++n;
    ASSERT_EQ(scalar::ascii_word_length_16(placed_block.u()), n) << block;
    ASSERT_EQ(ascii_word_length_16(placed_block.u()), n) << block;
  }
}

// Every byte at every place of a name compared in any case: only the letter
// itself in either case, or the very underscore, matches.
TEST(TextScan, LettersInAnyCaseMatchOnlyTheirOwnTwoForms) {
  const auto same = [](char known, unsigned char byte) {
    return byte == static_cast<unsigned char>(known) || (is_letter(known) && (byte | 0x20) == (known | 0x20));
  };
  for (const std::string known : {"TRUE", "FLOAT", "LONG_FLOAT", "WIDE_CHARACTER", "ABCDEFGHIJKLMNO_"}) {
    std::string lower = known;
    for (char& c : lower) c = static_cast<char>(latin1::to_lower(static_cast<unsigned char>(c)));
    for (std::size_t at = 0; at < known.size(); ++at) {
      for (int byte = 0; byte < 256; ++byte) {
        std::string text = lower;
        text[at] = static_cast<char>(byte);
        const Placed placed(text);
        ASSERT_EQ(spells_in_any_case(known, placed.data), same(known[at], static_cast<unsigned char>(byte)))
            << known << " with byte " << byte << " at " << at;
        if (known == "TRUE") {
          ASSERT_EQ(four_letters_any_case(placed.data, "true"), same(known[at], static_cast<unsigned char>(byte)));
        }
      }
    }
  }
}

TEST(TextScan, Latin1CaseFoldingAWordAtATimeIsTheTableByteByByte) {
  std::mt19937 random(1);
  for (int round = 0; round < 3000; ++round) {
    const std::size_t size = round % 40;
    const std::string text = name_of(random, size);
    std::string folded = text, flipped = text;
    for (std::size_t i = 0; i < size; ++i) {
      const auto c = static_cast<unsigned char>(text[i]);
      folded[i] = static_cast<char>(latin1::to_lower(c));
      if (random() % 2) flipped[i] = static_cast<char>(latin1::to_upper(c));
    }
    // Guard bytes either side of the text must stay as they are.
    std::string in_place = "#" + text + "#";
    lower_case_in_place(in_place.data() + 1, size);
    ASSERT_EQ(in_place, "#" + folded + "#") << text;
    ASSERT_TRUE(same_ignoring_case(text, flipped)) << text << " / " << flipped;
    if (size > 0) {
      std::string other = flipped;
      const std::size_t at = random() % size;
      other[at] = latin1::to_lower(static_cast<unsigned char>(other[at])) == 'q' ? '0' : 'q';
      ASSERT_FALSE(same_ignoring_case(text, other)) << text << " / " << other;
      ASSERT_FALSE(same_ignoring_case(text, text.substr(1)));
    }
  }
}

}  // namespace
}  // namespace flawseek
