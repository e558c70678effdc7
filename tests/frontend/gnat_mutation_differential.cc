// The parser against GNAT on broken code: small files of the GNAT corpus that
// parse clean are mutated one token at a time (deleted, duplicated, swapped
// with the next, a reserved word replaced by another, a ";" or an "end"
// deleted), with a fixed seed, and each mutant is judged by both. No mutant
// GNAT accepts may be rejected, at most 0.5% of the mutants GNAT rejects may be
// accepted, and the share of mutants where our error line equals GNAT's first
// error line is printed with the confusion matrix. A second mode does the same
// at Ada 2012 (0.1% there) with Ada 2012 sources: the files of GNAT's library
// that GNAT's syntax check accepts at Ada 2012 and rejects at Ada 95. Skips
// without GNAT or corpus.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "corpus_lines.h"
#include "frontend/ada_line_reader.h"
#include "frontend/ada_parser.h"
#include "frontend/text_utilities.h"
#include "gnat_syntax_check.h"

namespace flawseek {
namespace {

// Line `number` (1-based) of `text`, to show where a verdict went wrong.
std::string line_of(const std::string& text, int number) {
  std::size_t start = 0;
  for (int n = 1; n < number && start != std::string::npos; ++n) {
    start = text.find('\n', start);
    if (start != std::string::npos) ++start;
  }
  if (start == std::string::npos) return {};
  return text.substr(start, text.find('\n', start) - start);
}

using testing_support::GnatVerdict;

constexpr std::uint64_t seed = 0x5EED2026;
constexpr std::size_t mutant_count = 2400;
constexpr std::size_t later_mutant_count = 1200;
constexpr std::size_t largest_file = 6000;  // bytes: small files keep GNAT fast

// splitmix64: the same sequence on every platform and library.
struct Random {
  std::uint64_t state;
  std::uint64_t next() {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  std::size_t below(std::size_t n) { return static_cast<std::size_t>(next() % n); }
};

// The first syntax error of a parse as a finding would place it: the parse
// abandoned (message 19), an unknown attribute (20), or an end name that
// differs from its construct's (the end-name rule's messages 6 and 9).
struct FirstError : EmptyHooks {
  static constexpr std::string_view exception_prefix = "DIFFERENTIAL.A95";
  int line = 0;
  void note(ParserState& state) {
    if (line == 0) line = state.previous_token().line;
  }
  void message(ParserState& state, ParserMessage m, std::string_view) {
    if (m == ParserMessage::SYNTAX_ERROR || m == ParserMessage::UNKNOWN_ATTRIBUTE) note(state);
  }
  void end_name(ParserState& state, EndNameKind, std::string_view expected, std::string_view found) {
    if (!expected.empty() && !found.empty() && !same_name(expected, found)) note(state);
  }
};

// Our first error line, 0 for a clean parse; -1 when the parse failed otherwise.
int our_first_error_line(AdaParser<FirstError>& parser, FirstError& hooks, const std::string& text,
                         bool* at_end_of_source = nullptr) {
  AdaLineReader reader;
  reader.set_text(text);
  hooks.line = 0;
  try {
    parser.parse(FileRole::SINGLE_FILE, StyleRules{}, true, reader, false);
  } catch (const std::exception&) {
    return hooks.line != 0 ? hooks.line : -1;
  }
  if (at_end_of_source != nullptr) *at_end_of_source = parser.lexer().end_of_source();
  return hooks.line;
}

struct Token {
  std::size_t offset;
  std::size_t length;
  bool keyword;
};

bool word_char(char c) {
  const auto u = static_cast<unsigned char>(c);
  return std::isalnum(u) || c == '_' || u >= 0x80;
}

// The tokens of a source, comments skipped; enough for mutating it.
std::vector<Token> tokens_of(const std::string& s) {
  static constexpr std::string_view pairs[] = {"=>", "..", "**", ":=", "/=", ">=", "<=", "<<", ">>", "<>"};
  std::vector<Token> tokens;
  std::size_t i = 0;
  while (i < s.size()) {
    const char c = s[i];
    if (std::isspace(static_cast<unsigned char>(c))) {
      ++i;
    } else if (c == '-' && i + 1 < s.size() && s[i + 1] == '-') {
      while (i < s.size() && s[i] != '\n') ++i;
    } else if (c == '"') {
      std::size_t j = i + 1;
      while (j < s.size() && s[j] != '\n' && !(s[j] == '"' && (j + 1 >= s.size() || s[j + 1] != '"'))) {
        j += s[j] == '"' ? 2 : 1;
      }
      tokens.push_back({i, std::min(j + 1, s.size()) - i, false});
      i = j + 1;
    } else if (c == '\'' && i + 2 < s.size() && s[i + 2] == '\'' &&
               (tokens.empty() || (!word_char(s[tokens.back().offset + tokens.back().length - 1]) &&
                                   s[tokens.back().offset + tokens.back().length - 1] != ')'))) {
      tokens.push_back({i, 3, false});
      i += 3;
    } else if (word_char(c)) {
      std::size_t j = i;
      const bool number = std::isdigit(static_cast<unsigned char>(c)) != 0;
      while (j < s.size() && (word_char(s[j]) || (number && (s[j] == '#' || (s[j] == '.' && s[j + 1] != '.') ||
                                                             ((s[j] == '+' || s[j] == '-') &&
                                                              (s[j - 1] == 'E' || s[j - 1] == 'e')))))) {
        ++j;
      }
      std::string lower = s.substr(i, j - i);
      for (char& ch : lower) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
      const bool keyword =
          std::find(ada_keyword_images.begin(), ada_keyword_images.end(), lower) != ada_keyword_images.end();
      tokens.push_back({i, j - i, keyword});
      i = j;
    } else {
      std::size_t length = 1;
      for (std::string_view p : pairs) {
        if (s.compare(i, 2, p) == 0) length = 2;
      }
      tokens.push_back({i, length, false});
      i += length;
    }
  }
  return tokens;
}

enum class Mutation { DELETE, DUPLICATE, SWAP, REPLACE_KEYWORD, DELETE_SEMICOLON, DELETE_END };
constexpr int mutation_kinds = 6;

std::string text_of(const std::string& s, const Token& t) { return s.substr(t.offset, t.length); }

// One mutant of `s`, or "" when the file offers no token for that mutation.
std::string mutate(const std::string& s, const std::vector<Token>& tokens, Mutation kind, Random& random) {
  auto pick = [&](auto accept) -> const Token* {
    std::vector<const Token*> candidates;
    for (const Token& t : tokens) {
      if (accept(t)) candidates.push_back(&t);
    }
    return candidates.empty() ? nullptr : candidates[random.below(candidates.size())];
  };
  // A deleted token leaves blanks, so every other token keeps its line and column.
  auto erase = [&](const Token& t) {
    std::string m = s;
    m.replace(t.offset, t.length, std::string(t.length, ' '));
    return m;
  };
  switch (kind) {
    case Mutation::DELETE:
      return erase(tokens[random.below(tokens.size())]);
    case Mutation::DUPLICATE: {
      const Token& t = tokens[random.below(tokens.size())];
      std::string m = s;
      m.insert(t.offset + t.length, " " + text_of(s, t));
      return m;
    }
    case Mutation::SWAP: {
      if (tokens.size() < 2) return {};
      const std::size_t k = random.below(tokens.size() - 1);
      const Token& a = tokens[k];
      const Token& b = tokens[k + 1];
      if (text_of(s, a) == text_of(s, b)) return {};
      std::string m = s.substr(0, a.offset) + text_of(s, b) + s.substr(a.offset + a.length, b.offset - a.offset - a.length) +
                      text_of(s, a) + s.substr(b.offset + b.length);
      return m;
    }
    case Mutation::REPLACE_KEYWORD: {
      const Token* t = pick([](const Token& x) { return x.keyword; });
      if (t == nullptr) return {};
      std::string word = text_of(s, *t);
      for (char& ch : word) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
      std::string_view other = ada_keyword_images[random.below(ada_keyword_count)];
      if (other == word) return {};
      std::string m = s;
      m.replace(t->offset, t->length, other);
      return m;
    }
    case Mutation::DELETE_SEMICOLON: {
      const Token* t = pick([&](const Token& x) { return x.length == 1 && s[x.offset] == ';'; });
      return t == nullptr ? std::string() : erase(*t);
    }
    case Mutation::DELETE_END: {
      const Token* t = pick([&](const Token& x) {
        return x.keyword && x.length == 3 && (s.compare(x.offset, 3, "end") == 0 || s.compare(x.offset, 3, "END") == 0);
      });
      return t == nullptr ? std::string() : erase(*t);
    }
  }
  return {};
}

struct Counts {
  int both_accept = 0, both_reject = 0, false_rejection = 0, false_acceptance = 0, same_line = 0;
};

// The small files of GNAT's library that are Ada 2012 sources: GNAT's syntax
// check accepts them at Ada 2012 and rejects them at Ada 95, once they are
// renamed so that GNAT reads them as a user's units, not its own.
std::vector<corpus::CorpusFile> ada_2012_sources() {
  std::vector<corpus::CorpusFile> files;
  const std::string library = testing_support::gnat_library_directory();
  if (library.empty()) return files;
  testing_support::ScratchDirectory scratch;
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(library)) {
    const std::string ext = entry.path().extension().string();
    if ((ext != ".ads" && ext != ".adb") || entry.file_size() > largest_file) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    files.push_back({"x-" + entry.path().filename().string(), text});
    names.push_back(files.back().name);
    scratch.write(names.back(), text);
  }
  const unsigned cores = std::max(2u, std::thread::hardware_concurrency());
  const auto at_2012 = testing_support::gnat_check(scratch.path, names, static_cast<int>(cores * 2), 40, AdaVersion::ADA_2012);
  const auto at_95 = testing_support::gnat_check(scratch.path, names, static_cast<int>(cores * 2), 40, AdaVersion::ADA_95);
  std::vector<corpus::CorpusFile> later;
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (at_2012[i].accepted && !at_95[i].accepted) later.push_back(std::move(files[i]));
  }
  return later;
}

// One mode: the files of `corpus` clean at `version`, `count` mutants, GNAT at
// that level; at most `false_accepts_per_mille` of the mutants accepted wrongly.
void compare_mutants(const std::vector<corpus::CorpusFile>& corpus, AdaVersion version, std::size_t count,
                     int false_accepts_per_mille) {
  const auto start = std::chrono::steady_clock::now();
  testing_support::ScratchDirectory scratch;
  if (!testing_support::gnat_available(scratch)) GTEST_SKIP() << "no GNAT";
  if (corpus.empty()) GTEST_SKIP() << "no GNAT corpus";

  FirstError hooks;
  AdaParser<FirstError> parser(hooks);
  parser.set_job_ada_version(version);
  struct Source {
    const corpus::CorpusFile* file;
    std::vector<Token> tokens;
  };
  std::vector<Source> sources;
  for (const corpus::CorpusFile& f : corpus) {
    if (f.text.size() > largest_file || our_first_error_line(parser, hooks, f.text) != 0) continue;
    sources.push_back({&f, tokens_of(f.text)});
    if (sources.back().tokens.size() < 4) sources.pop_back();
  }
  ASSERT_GT(sources.size(), 50u);

  Random random{seed};
  std::vector<std::string> names;
  std::vector<std::string> texts;
  std::vector<int> kinds;
  for (std::size_t attempt = 0; names.size() < count && attempt < count * 4; ++attempt) {
    const Source& source = sources[random.below(sources.size())];
    const auto kind = static_cast<Mutation>(attempt % mutation_kinds);
    std::string mutant = mutate(source.file->text, source.tokens, kind, random);
    if (mutant.empty() || mutant == source.file->text) continue;
    const std::string& name = source.file->name;
    const std::string ext = name.substr(name.rfind('.'));
    char number[16];
    std::snprintf(number, sizeof number, "%05zu", names.size());
    names.push_back("x-m" + std::string(number) + ext);
    scratch.write(names.back(), mutant);
    texts.push_back(std::move(mutant));
    kinds.push_back(static_cast<int>(kind));
  }
  ASSERT_GE(names.size(), count * 5 / 6);

  const unsigned cores = std::max(2u, std::thread::hardware_concurrency());
  const auto gnat_start = std::chrono::steady_clock::now();
  const std::vector<GnatVerdict> gnat = testing_support::gnat_check(scratch.path, names, static_cast<int>(cores * 2), 40, version);
  const double gnat_seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - gnat_start).count();
  Counts counts;
  const bool verbose = std::getenv("FLAWSEEK_DIFFERENTIAL_VERBOSE") != nullptr;
  for (std::size_t i = 0; i < names.size(); ++i) {
    bool at_end = false;
    const int ours = our_first_error_line(parser, hooks, texts[i], &at_end);
    const bool we_reject = ours != 0;
    // GNAT's syntax check takes a file that ends after its context clause
    // (its semantic check then says "compilation unit expected"): a mutant
    // that leaves no unit is no verdict of either.
    if (gnat[i].accepted && we_reject && at_end) continue;
    if (gnat[i].accepted && !we_reject) {
      ++counts.both_accept;
    } else if (!gnat[i].accepted && we_reject) {
      ++counts.both_reject;
      if (ours == gnat[i].first_error_line) {
        ++counts.same_line;
      } else if (verbose) {
        std::printf("line %s (mutation %d): ours %d, GNAT %d\n", names[i].c_str(), kinds[i], ours,
                    gnat[i].first_error_line);
      }
    } else if (we_reject) {
      ++counts.false_rejection;
      ADD_FAILURE() << names[i] << " (mutation " << kinds[i] << "): GNAT accepts, we stop at line " << ours
                    << ": " << line_of(texts[i], ours);
    } else {
      ++counts.false_acceptance;
      if (verbose) std::printf("accepted %s (mutation %d): GNAT line %d\n", names[i].c_str(), kinds[i],
                               gnat[i].first_error_line);
    }
  }
  if (verbose) {
    // Keep the mutants for a look at the cases above.
    std::string keep = scratch.path + ".kept";
    std::filesystem::rename(scratch.path, keep);
    std::printf("mutants kept in %s\n", keep.c_str());
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const double share = counts.both_reject > 0 ? 100.0 * counts.same_line / counts.both_reject : 0.0;
  std::printf("Ada %s: %zu mutants of %zu files in %.1f s (GNAT %.1f s)\n", std::string(image(version)).c_str(),
              names.size(), sources.size(), seconds, gnat_seconds);
  std::printf("                 GNAT accepts  GNAT rejects\n");
  std::printf("  we accept      %12d  %12d\n", counts.both_accept, counts.false_acceptance);
  std::printf("  we reject      %12d  %12d\n", counts.false_rejection, counts.both_reject);
  std::printf("  same first error line as GNAT: %d of %d (%.1f%%; goal 95%%)\n", counts.same_line,
              counts.both_reject, share);
  ::testing::Test::RecordProperty("same_line_percent", std::to_string(share));
  EXPECT_EQ(counts.false_rejection, 0);
  EXPECT_LE(counts.false_acceptance * 1000, static_cast<int>(names.size()) * false_accepts_per_mille)
      << counts.false_acceptance << " false acceptances";
}

TEST(GnatDifferential, MutantsOfCleanCorpusFiles) {
  compare_mutants(corpus::load_corpus(corpus::corpus_directory(FLAWSEEK_BINARY_DIR)), AdaVersion::ADA_95,
                  mutant_count, 5);
}

// The later level: Ada 2012 sources clean at Ada 2012, fewer mutants to keep
// the run short.
TEST(GnatDifferential, MutantsOfCleanAda2012Sources) {
  compare_mutants(ada_2012_sources(), AdaVersion::ADA_2012, later_mutant_count, 1);
}

}  // namespace
}  // namespace flawseek
