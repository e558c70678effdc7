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

TEST_F(CorpusScan, EveryFileGivesWellFormedTokensInOrder) {
  EXPECT_GE(files_->size(), 500u);
  corpus::MemoryLineReader reader;
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
                             line.compare(s.token_column() - 1, text.size(), text) == 0;
        bool well_formed = !text.empty();
        switch (s.token_kind()) {
          case TokenKind::Keyword: well_formed &= upper(text) == upper(ada_keyword_images[s.keyword()]); break;
          case TokenKind::Symbol: well_formed &= text == ada_symbol_images[s.symbol()]; break;
          case TokenKind::Number: well_formed &= text[0] >= '0' && text[0] <= '9'; break;
          case TokenKind::Identifier: well_formed &= latin1::is_letter(static_cast<unsigned char>(text[0])); break;
          case TokenKind::Text: well_formed = false; break;
        }
        if (!in_order || !on_line || !well_formed) {
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
