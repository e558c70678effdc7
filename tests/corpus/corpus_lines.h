// The real-code corpus held in memory, a line source that serves its lines the
// way the source-line reader does (control characters blanked, comments cut,
// empty lines skipped but counted), and a token loop that steps over string and
// character literals as the parser's lexical layer does. Shared by the corpus
// tests and the scanning benchmark.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

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

// Serves the lines of a text held in memory, as the source-line reader would
// deliver them: trailing blanks and control characters stripped, lines left
// empty skipped (their numbers still count), control characters blanked, a
// comment cut at its first '-' (which becomes a blank), then the empty line.
class MemoryLineReader : public LineSource {
 public:
  void reset(std::string_view text) {
    text_ = text;
    at_ = 0;
    line_number_ = 0;
  }

  void read_line(std::string& line, int& line_number) override {
    for (;;) {
      if (at_ >= text_.size()) {
        line.clear();
        return;
      }
      std::size_t end = text_.find('\n', at_);
      if (end == std::string_view::npos) end = text_.size();
      std::string_view raw = text_.substr(at_, end - at_);
      at_ = end + 1;
      ++line_number_;
      while (!raw.empty() && static_cast<unsigned char>(raw.back()) <= 32) raw.remove_suffix(1);
      if (raw.empty()) continue;
      line.assign(raw);
      cut_comment(line);
      line_number = line_number_;
      return;
    }
  }

 private:
  static void cut_comment(std::string& line) {
    bool in_string = false;
    const std::size_t n = line.size();
    for (std::size_t i = 0; i < n; ++i) {
      char& c = line[i];
      if (static_cast<unsigned char>(c) < 32) {
        c = ' ';
      } else if (!in_string && i + 1 < n && c == '-' && line[i + 1] == '-') {
        c = ' ';
        line.resize(i + 1);
        return;
      } else if (c == '"') {
        if (in_string) {
          in_string = false;
        } else if (i == 0 || line[i - 1] != '\'') {
          in_string = true;
        }
      }
    }
  }

  std::string_view text_;
  std::size_t at_ = 0;
  int line_number_ = 0;
};

// Scans one file to its end, calling on_token(scanner) for every token the
// parser would see; a string or character literal is reported as its opening
// symbol and then stepped over by restarting after it. Throws what the scanner
// throws.
template <typename OnToken>
void scan_file(TextParser& scanner, MemoryLineReader& reader, std::string& line,
               std::string_view text, OnToken on_token) {
  reader.reset(text);
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
    if (symbol == quote) {
      std::size_t at = column;  // 0-based index just after the opening quote
      for (;;) {
        const std::size_t close = line.find('"', at);
        if (close == std::string::npos) break;
        if (close + 1 < line.size() && line[close + 1] == '"') {
          at = close + 2;
          continue;
        }
        scanner.set_text(&line, static_cast<int>(close) + 2);
        break;
      }
      after_name = false;
      continue;
    }
    if (symbol == apostrophe && !after_name && column + 1 < line.size() && line[column + 1] == '\'') {
      scanner.set_text(&line, static_cast<int>(column) + 3);
      after_name = false;
      continue;
    }
    after_name = scanner.token_kind() == TokenKind::Identifier || symbol == right_paren ||
                 scanner.keyword_or_none() == keyword_all;
  }
}

}  // namespace flawseek::corpus
