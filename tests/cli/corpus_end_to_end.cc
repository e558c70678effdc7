// flawseek over the whole GNAT library corpus (Ada that GNAT accepts): a real
// tree must draw no internal error, and no syntax error but those the corpus's
// later-language constructs and GNAT's newer attributes explain. Skips
// without GNAT.
#include <gtest/gtest.h>

#include <filesystem>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "parallel_traces.h"
#include "program_runner.h"
#include "unaccepted_constructs.h"

namespace flawseek {
namespace {

using testing::ProgramResult;
using testing::run_program;

struct GnuFinding {
  std::string file;
  int line = 0;
  int column = 0;
  std::string kind;
};

// "file:line:column: Kind: reason" or "file:line: Kind: reason".
bool parse_gnu_line(const std::string& text, GnuFinding& finding) {
  std::size_t first = text.find(':');
  if (first == std::string::npos) return false;
  std::size_t second = text.find(':', first + 1);
  if (second == std::string::npos) return false;
  finding.file = text.substr(0, first);
  finding.line = std::atoi(text.c_str() + first + 1);
  std::size_t kind_start = second + 1;
  std::size_t third = text.find(':', second + 1);
  if (third != std::string::npos && std::isdigit(static_cast<unsigned char>(text[second + 1]))) {
    finding.column = std::atoi(text.c_str() + second + 1);
    kind_start = third + 1;
  }
  std::size_t kind_end = text.find(':', kind_start);
  if (kind_end == std::string::npos) return false;
  finding.kind = text.substr(kind_start + 1, kind_end - kind_start - 1);
  return true;
}

const std::vector<std::string>& lines_of(std::map<std::string, std::vector<std::string>>& cache,
                                         const std::string& file) {
  auto found = cache.find(file);
  if (found != cache.end()) return found->second;
  return cache.emplace(file, testing::read_lines(file)).first->second;
}

// The word or delimiter that starts at `column` of `line`.
std::string token_at(const std::string& line, int column) {
  if (column < 1 || static_cast<std::size_t>(column) > line.size()) return {};
  std::size_t start = static_cast<std::size_t>(column) - 1;
  std::size_t end = start;
  while (end < line.size() && (std::isalnum(static_cast<unsigned char>(line[end])) || line[end] == '_')) ++end;
  if (end > start) return line.substr(start, end - start);
  std::string two = line.substr(start, 2);
  if (two == "=>" || two == "<>") return two;
  return line.substr(start, 1);
}

TEST(CorpusEndToEnd, TheWholeTreeDrawsOnlyExplainedSyntaxErrorsAndNoInternalError) {
  const std::filesystem::path corpus = FLAWSEEK_GNAT_CORPUS;
  if (!std::filesystem::exists(corpus / ".complete")) GTEST_SKIP() << "no GNAT corpus in " << corpus;

  const ProgramResult run = run_program({"-q", "--gnat-extensions", "--format", "gnu", corpus.string()}, corpus);
  ASSERT_TRUE(run.status == 0 || run.status == 1) << run.status << "\n" << run.err;
  EXPECT_EQ(run.err, "");

  std::map<std::string, std::vector<std::string>> sources;
  std::istringstream output(run.out);
  int unexplained = 0;
  int explained = 0;
  std::string examples;
  for (std::string text; std::getline(output, text);) {
    GnuFinding finding;
    ASSERT_TRUE(parse_gnu_line(text, finding)) << text;
    if (finding.kind == "Internal Error") {
      ADD_FAILURE() << text;
      continue;
    }
    if (finding.kind != "Syntax Error") continue;
    const std::vector<std::string>& lines = lines_of(sources, finding.file);
    const std::size_t index = static_cast<std::size_t>(finding.line);
    const std::string line = index >= 1 && index <= lines.size() ? lines[index - 1] : std::string();
    const std::string before = index >= 2 && index <= lines.size() + 1 ? lines[index - 2] : std::string();
    if (corpus::is_unknown_attribute_at(line, finding.column) ||
        corpus::excusing_construct(line, before, token_at(line, finding.column)) != nullptr) {
      ++explained;
      continue;
    }
    if (++unexplained <= 20) examples += text + "\n";
  }
  EXPECT_EQ(unexplained, 0) << "the first of them:\n" << examples;
  std::printf("%d syntax errors explained by later-language constructs or newer attributes\n", explained);
}

// The whole library, with every check and the preparation pass, serially and
// on four threads.
TEST(ParallelGnatCorpus, TheLibrarySourcesGiveTheSameTracesOnFourThreads) {
  const std::filesystem::path corpus = FLAWSEEK_GNAT_CORPUS;
  if (!std::filesystem::exists(corpus / ".complete")) GTEST_SKIP() << "no GNAT corpus in " << corpus;
  testing::ScratchDirectory scratch;
  testing::expect_same_traces(scratch.path(),
                     {"--format", "gnu", "--gnat-extensions", "--preparation-phase", "--style", "all",
                      corpus.string()},
                     "report.csv");
  testing::expect_same_traces(scratch.path(), {"--format", "tree", corpus.string()}, "report.txt");
}


// --fix over the whole library under a rule book it does not follow: no
// fixable finding is left, a second --fix changes nothing, every file
// differs from the original in letter case only (the library writes every
// end name, so none is added) and GNAT still reads every file. GNAT's part
// is skipped without GNAT.
TEST(FixGnatCorpus, TheLibraryMendedUnderTavikKeepsItsTokensAndGnatReadsIt) {
  namespace fs = std::filesystem;
  const fs::path corpus = FLAWSEEK_GNAT_CORPUS;
  if (!fs::exists(corpus / ".complete")) GTEST_SKIP() << "no GNAT corpus in " << corpus;
  testing::ScratchDirectory scratch;
  const fs::path tree = scratch.path() / "library";
  fs::create_directories(tree);
  std::vector<fs::path> sources;
  for (const auto& entry : fs::directory_iterator(corpus)) {
    if (!entry.is_regular_file() || entry.path().filename().string().starts_with(".")) continue;
    fs::copy_file(entry.path(), tree / entry.path().filename());
    sources.push_back(entry.path());
  }
  const std::vector<std::string> rules = {"--style-set", "TAVIK", "--gnat-extensions", "--ada-version", "2022",
                                          "--format", "json"};
  std::vector<std::string> fix = rules;
  fix.insert(fix.begin(), "--fix");
  fix.push_back(".");
  const ProgramResult fixed = run_program(fix, tree);
  ASSERT_TRUE(fixed.status == 0 || fixed.status == 1) << fixed.err;
  EXPECT_EQ(fixed.err.find("not fixed"), std::string::npos) << fixed.err;
  const std::size_t summary = fixed.err.find("flawseek: fixed ");
  ASSERT_NE(summary, std::string::npos) << fixed.err;
  EXPECT_GT(std::atoi(fixed.err.c_str() + summary + 16), 20000) << fixed.err;
  const auto document = nlohmann::json::parse(fixed.out);
  for (const auto& finding : document["findings"]) EXPECT_FALSE(finding.contains("fix")) << finding.dump();

  const ProgramResult again = run_program(fix, tree);
  EXPECT_NE(again.err.find("flawseek: fixed 0 findings in 0 files;"), std::string::npos) << again.err;

  const auto folded = [](std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
  };
  for (const fs::path& source : sources) {
    EXPECT_EQ(folded(testing::read_file(source)), folded(testing::read_file(tree / source.filename())))
        << source.filename();
  }

  // GNAT reads a run-time unit's name only in its own library; under an x-
  // name it reads the file as a user's.
  const fs::path witness = scratch.path() / "witness";
  fs::create_directories(witness);
  for (const fs::path& source : sources) fs::copy_file(tree / source.filename(), witness / ("x-" + source.filename().string()));
  if (std::system("gcc -c -gnats -x ada /dev/null >/dev/null 2>&1; command -v gnatls >/dev/null") != 0) {
    GTEST_SKIP() << "no GNAT";
  }
  const std::string command = "cd '" + witness.string() +
                              "' && ls | xargs -P2 -I{} sh -c 'gcc -c -gnats -gnat2022 -gnatX {} >/dev/null 2>&1 || "
                              "echo {}' > ../rejected.txt";
  ASSERT_EQ(std::system(command.c_str()), 0);
  EXPECT_EQ(testing::read_file(scratch.path() / "rejected.txt"), "");
}

}  // namespace
}  // namespace flawseek
