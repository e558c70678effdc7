// Exclude globs: segments, "*" and "?" within one, "**" for any number of
// whole segments, and globs anchored at a directory of their own.
#include "platform/path_glob.h"

#include <gtest/gtest.h>

namespace flawseek {
namespace {

TEST(PathGlob, StarsStayInASegmentAndDoubleStarsSpanThem) {
  struct Case {
    const char* glob;
    const char* path;
    bool matches;
  };
  const Case cases[] = {
      {"generated/**", "generated/a.ads", true},
      {"generated/**", "generated/deep/er/a.ads", true},
      {"generated/**", "src/generated/a.ads", false},
      {"**/*_svd-*.ads", "drivers/stm32_svd-gpio.ads", true},
      {"**/*_svd-*.ads", "stm32_svd-gpio.ads", true},  // ** may stand for no folder
      {"**/*_svd-*.ads", "drivers/stm32_svd-gpio.adb", false},
      {"src/*.adb", "src/a.adb", true},
      {"src/*.adb", "src/sub/a.adb", false},  // * never crosses a "/"
      {"src/**/tests/*.adb", "src/tests/t.adb", true},
      {"src/**/tests/*.adb", "src/a/b/tests/t.adb", true},
      {"src/**/tests/*.adb", "src/a/b/test/t.adb", false},
      {"?.ads", "a.ads", true},
      {"?.ads", "ab.ads", false},
      {"a*b*c*d", "axxbyyczzd", true},
      {"a*b*c*d", "axxbyyczz", false},
      {"SRC/*.adb", "src/a.adb", false},  // letter case counts, as in Linux names
      {"src//a.adb", "src/a.adb", true},
      {"**", "anything/at/all.ada", true},
  };
  for (const Case& c : cases) EXPECT_EQ(path_glob_matches(c.glob, c.path), c.matches) << c.glob << " ~ " << c.path;
}

TEST(PathGlob, AnAnchoredGlobSeesOnlyThePathsBelowItsDirectory) {
  const AnchoredGlob tests("/work/project", "tests/**");
  EXPECT_TRUE(tests.matches("/work/project/tests/unit/a.adb"));
  EXPECT_TRUE(tests.matches("/work/project/./tests/../tests/a.adb"));
  EXPECT_FALSE(tests.matches("/work/project-old/tests/a.adb"));
  EXPECT_FALSE(tests.matches("/work/tests/a.adb"));
  // An absolute glob (a project file's, made absolute) ignores the base.
  const AnchoredGlob absolute("/elsewhere", "/work/project/gen/*.ads");
  EXPECT_TRUE(absolute.matches("/work/project/gen/a.ads"));
  EXPECT_FALSE(absolute.matches("/work/project/gen/sub/a.ads"));
}

}  // namespace
}  // namespace flawseek
