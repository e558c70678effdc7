// The parser against real code: every file of the GNAT corpus (GNAT's own
// library sources that GNAT accepts as Ada 95) must parse without a syntax
// error, except where the error stands at one of the few constructs listed
// below, each with the reason it is not accepted.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "frontend/ada_line_reader.h"
#include "corpus_lines.h"
#include "frontend/ada_parser.h"
#include "unaccepted_constructs.h"

namespace flawseek {
namespace {

struct Recorder : EmptyHooks {
  static constexpr std::string_view exception_prefix = "ORACLE.A95";
  bool syntax_error = false;
  void message(ParserState&, ParserMessage m, std::string_view) {
    if (m == ParserMessage::SYNTAX_ERROR) syntax_error = true;
  }
};

std::string line_of(const std::string& path, int number) {
  std::ifstream in(path, std::ios::binary);
  std::string line;
  for (int i = 1; i <= number && std::getline(in, line); ++i) {
  }
  return line;
}

TEST(GnatCorpusOracle, EveryFileParsesExceptListedConstructs) {
  const std::string corpus = corpus::corpus_directory(FLAWSEEK_BINARY_DIR);
  std::ifstream complete(corpus + "/.complete");
  std::ifstream list(corpus + "/files.txt");
  if (!complete || !list) GTEST_SKIP() << "no GNAT corpus in " << corpus;

  Recorder hooks;
  AdaParser<Recorder> parser(hooks);
  AdaLineReader reader;
  using corpus::unaccepted_constructs;
  std::vector<int> excused(std::size(unaccepted_constructs), 0);
  int files = 0;
  std::string name;
  while (std::getline(list, name)) {
    if (name.empty()) continue;
    const std::string path = corpus + "/" + name;
    std::string error;
    ASSERT_TRUE(reader.open(path, error)) << error;
    hooks.syntax_error = false;
    try {
      parser.parse(FileRole::SINGLE_FILE, StyleRules{}, true, reader, false);
    } catch (const std::exception& failure) {
      ADD_FAILURE() << path << ": " << failure.what();
      continue;
    }
    ++files;
    if (!hooks.syntax_error) continue;
    const TokenRecord& at = parser.previous_token();
    // The construct may begin on the line before the offending token.
    const std::string line = line_of(path, at.line);
    const std::string before = at.line > 1 ? line_of(path, at.line - 1) : std::string();
    const corpus::UnacceptedConstruct* excuse = corpus::excusing_construct(line, before, at.text);
    if (excuse != nullptr) ++excused[static_cast<std::size_t>(excuse - unaccepted_constructs)];
    EXPECT_TRUE(excuse != nullptr) << path << ":" << at.line << ":" << at.column << ": " << parser.syntax_message()
                        << " at \"" << at.text << "\"\n  " << line;
  }
  EXPECT_GT(files, 0);
  std::ostringstream summary;
  summary << files << " files parsed";
  for (std::size_t i = 0; i < std::size(unaccepted_constructs); ++i) {
    if (excused[i] > 0) summary << "; " << excused[i] << " stopped at " << unaccepted_constructs[i].construct;
  }
  RecordProperty("summary", summary.str());
  std::printf("%s\n", summary.str().c_str());
}

}  // namespace
}  // namespace flawseek
