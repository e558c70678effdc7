// The real-code corpus held in memory and a token loop that feeds a file through
// the source-line reader and steps over string and character literals as the
// parser's lexical layer does. Shared by the corpus tests and the scanning
// benchmark.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "frontend/ada_line_reader.h"
#include "frontend/ada_tokens.h"
#include "frontend/text_parser.h"

namespace flawseek::corpus {

struct CorpusFile {
  std::string name;
  std::string text;
};

// The corpus directory: $FLAWSEEK_GNAT_CORPUS when set, else the build tree's.
inline std::string corpus_directory(const std::string& binary_dir) {
  if (const char* dir = std::getenv("FLAWSEEK_GNAT_CORPUS"); dir && *dir) return dir;
  return binary_dir + "/gnat-corpus";
}

// Every file of a complete corpus; empty when the corpus is absent or unfinished.
inline std::vector<CorpusFile> load_corpus(const std::string& directory) {
  std::vector<CorpusFile> files;
  namespace fs = std::filesystem;
  std::error_code error;
  if (!fs::exists(fs::path(directory) / ".complete", error)) return files;
  std::ifstream list(fs::path(directory) / "files.txt");
  std::string name;
  while (std::getline(list, name)) {
    if (name.empty()) continue;
    std::ifstream in(fs::path(directory) / name, std::ios::binary);
    if (!in) continue;
    std::ostringstream text;
    text << in.rdbuf();
    files.push_back({name, text.str()});
  }
  return files;
}

// Scans one file to its end, calling on_token(scanner) for every token the
// parser would see; a string or character literal is reported as its opening
// symbol and then stepped over by restarting after it. The reader hands most
// lines out in place, so the line scanned is scanner.line(), not `line` (the
// buffer it fills only for lines it copies). Throws what the scanner throws.
template <typename OnToken>
void scan_file(TextParser& scanner, AdaLineReader& reader, std::string& line,
               std::string_view text, OnToken on_token) {
  reader.set_text_view(text);
  scanner.set_reader(&reader);
  line.clear();
  scanner.set_text(&line, 1);
  constexpr int quote = static_cast<int>(AdaSymbol::QUOTE);
  constexpr int apostrophe = static_cast<int>(AdaSymbol::APOSTROPHE);
  constexpr int right_paren = static_cast<int>(AdaSymbol::RIGHT_PAREN);
  constexpr int keyword_all = static_cast<int>(AdaKeyword::KEYWORD_ALL);
  // After a name an apostrophe is an attribute tick, never a literal.
  bool after_name = false;
  while (scanner.next_token()) {
    on_token(scanner);
    const int symbol = scanner.symbol_or_none();
    const std::size_t column = static_cast<std::size_t>(scanner.token_column());
    const std::string_view current = scanner.line();
    if (symbol == quote) {
      std::size_t at = column;  // 0-based index just after the opening quote
      for (;;) {
        const std::size_t close = current.find('"', at);
        if (close == std::string_view::npos) break;
        if (close + 1 < current.size() && current[close + 1] == '"') {
          at = close + 2;
          continue;
        }
        scanner.rescan(current, static_cast<int>(close) + 2);
        break;
      }
      after_name = false;
      continue;
    }
    if (symbol == apostrophe && !after_name && column + 1 < current.size() && current[column + 1] == '\'') {
      scanner.rescan(current, static_cast<int>(column) + 3);
      after_name = false;
      continue;
    }
    after_name = scanner.token_kind() == TokenKind::Identifier || symbol == right_paren ||
                 scanner.keyword_or_none() == keyword_all;
  }
}

}  // namespace flawseek::corpus
