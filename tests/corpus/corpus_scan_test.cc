// The scanner over real code: every file of the GNAT corpus (Ada 95 that GNAT
// accepts) scans to its end with only well-formed tokens, in source order.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "corpus_lines.h"
#include "frontend/ada_token_lists.h"
#include "frontend/ada_tokens.h"
#include "platform/latin1.h"

namespace flawseek {
namespace {

class CorpusScan : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    files_ = new std::vector<corpus::CorpusFile>(
        corpus::load_corpus(corpus::corpus_directory(FLAWSEEK_BINARY_DIR)));
  }
  static void TearDownTestSuite() {
    delete files_;
    files_ = nullptr;
  }
  void SetUp() override {
    if (files_->empty()) GTEST_SKIP() << "no GNAT corpus (GNAT absent or corpus not built)";
  }
  static std::vector<corpus::CorpusFile>* files_;
};
std::vector<corpus::CorpusFile>* CorpusScan::files_ = nullptr;

std::string upper(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = static_cast<char>(latin1::to_upper(static_cast<unsigned char>(c)));
  return result;
}

// An independent lexer written from Ada's lexical rules, for valid Ada only:
// the token that starts at `at` (0-based) of `line`, as kind and length.
struct ReferenceToken {
  char kind;  // 'w' word (identifier or reserved word), 'n' number, 's' delimiter
  std::size_t length;
};

ReferenceToken reference_token(std::string_view line, std::size_t at) {
  auto letter = [](char c) { return latin1::is_letter(static_cast<unsigned char>(c)); };
  auto digit = [](char c) { return c >= '0' && c <= '9'; };
  auto extended = [&](char c) { return digit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); };
  const std::size_t n = line.size();
  std::size_t i = at;
  auto run = [&](auto accept) {
    while (i < n && (accept(line[i]) || line[i] == '_')) ++i;
  };
  if (letter(line[at])) {
    run([&](char c) { return letter(c) || digit(c); });
    return {'w', i - at};
  }
  if (digit(line[at])) {
    run(digit);
    if (i < n && line[i] == '#') {
      ++i;
      run(extended);
      if (i + 1 < n && line[i] == '.' && extended(line[i + 1])) {
        ++i;
        run(extended);
      }
      if (i < n && line[i] == '#') ++i;
    } else if (i + 1 < n && line[i] == '.' && digit(line[i + 1])) {
      ++i;
      run(digit);
    }
    if (i < n && (line[i] == 'E' || line[i] == 'e')) {
      std::size_t j = i + 1;
      if (j < n && (line[j] == '+' || line[j] == '-')) ++j;
      if (j < n && digit(line[j])) {
        i = j;
        run(digit);
      }
    }
    return {'n', i - at};
  }
  static constexpr std::string_view compound[] = {"=>", "..", "**", ":=", "/=", ">=", "<=", "<<", ">>", "<>"};
  for (std::string_view d : compound)
    if (line.substr(at, 2) == d) return {'s', 2};
  return {'s', 1};
}

char kind_letter(TokenKind kind) {
  switch (kind) {
    case TokenKind::Identifier:
    case TokenKind::Keyword: return 'w';
    case TokenKind::Number: return 'n';
    case TokenKind::Symbol: return 's';
    case TokenKind::Text: break;
  }
  return 't';
}

TEST_F(CorpusScan, EveryFileGivesWellFormedTokensInOrder) {
  EXPECT_GE(files_->size(), 500u);
  AdaLineReader reader;
  TextParser scanner = make_ada_scanner(&reader);
  std::string line;
  std::map<TokenKind, long> kinds;
  for (const auto& file : *files_) {
    int last_line = 0;
    int last_end = 0;
    bool ok = true;
    try {
      corpus::scan_file(scanner, reader, line, file.text, [&](const TextParser& s) {
        if (!ok) return;
        const std::string_view text = s.token_text();
        ++kinds[s.token_kind()];
        // Tokens come from the line being scanned, after the previous token.
        const bool in_order = s.token_line() > last_line ||
                              (s.token_line() == last_line && s.token_column() >= last_end);
        const bool on_line = s.token_line() == s.line_number() &&
                             s.line().compare(s.token_column() - 1, text.size(), text) == 0;
        bool well_formed = !text.empty();
        switch (s.token_kind()) {
          case TokenKind::Keyword: well_formed &= upper(text) == upper(ada_keyword_images[s.keyword()]); break;
          case TokenKind::Symbol: well_formed &= text == ada_symbol_images[s.symbol()]; break;
          case TokenKind::Number: well_formed &= text[0] >= '0' && text[0] <= '9'; break;
          case TokenKind::Identifier: well_formed &= latin1::is_letter(static_cast<unsigned char>(text[0])); break;
          case TokenKind::Text: well_formed = false; break;
        }
        // The token is the one Ada's own rules find at that column.
        const ReferenceToken expected = reference_token(s.line(), s.token_column() - 1);
        const bool as_ada = expected.kind == kind_letter(s.token_kind()) && expected.length == text.size();
        if (!in_order || !on_line || !well_formed || !as_ada) {
          ADD_FAILURE() << file.name << ":" << s.token_line() << ":" << s.token_column() << ": token \""
                        << text << "\" kind " << static_cast<int>(s.token_kind());
          ok = false;
        }
        last_line = s.token_line();
        last_end = s.token_column() + static_cast<int>(text.size());
      });
    } catch (const TextParserError& e) {
      ADD_FAILURE() << file.name << ": " << e.what() << " at line " << scanner.line_number();
    }
  }
  EXPECT_GT(kinds[TokenKind::Keyword], 20000);
  EXPECT_GT(kinds[TokenKind::Identifier], kinds[TokenKind::Keyword]);
  EXPECT_GT(kinds[TokenKind::Number], 1000);
}

}  // namespace
}  // namespace flawseek
