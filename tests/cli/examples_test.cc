// The bundled examples/ tree stays valid Ada 95: GNAT's syntax check accepts
// every file. Skipped where GNAT is not installed.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

bool gnat_available() { return std::system("command -v gnatmake >/dev/null 2>&1") == 0; }

TEST(Examples, EveryFileIsAda95ByGnatsSyntaxCheck) {
  if (!gnat_available()) GTEST_SKIP() << "GNAT is not installed";
  const std::filesystem::path examples = FLAWSEEK_EXAMPLES_DIR;
  std::vector<std::filesystem::path> sources;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(examples)) {
    const std::string extension = entry.path().extension().string();
    if (extension == ".ads" || extension == ".adb") sources.push_back(entry.path());
  }
  ASSERT_GE(sources.size(), 5u) << "the examples tree lost its files";
  const std::filesystem::path scratch = std::filesystem::temp_directory_path();
  for (const auto& source : sources) {
    const std::string command = "cd '" + scratch.string() + "' && gcc -c -gnats -gnat95 '" + source.string() +
                                "' >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << source;
  }
}

}  // namespace
