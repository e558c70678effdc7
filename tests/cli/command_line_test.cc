// Parsing the command line, and setting a job from it.
#include "command_line.h"
#include "output/rule_catalog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <vector>

#include "driver/job.h"

namespace flawseek {
namespace {

CommandLineResult parse(std::initializer_list<std::string_view> words) {
  const std::vector<std::string_view> arguments(words);
  return parse_command_line(arguments);
}

std::optional<bool> option_flag(const CommandLine& line, Option option) {
  return line.job.options[static_cast<std::size_t>(option)];
}

TEST(ParseCommandLine, NothingGivenMeansARunWithTheInitialJob) {
  const CommandLineResult result = parse({});
  ASSERT_TRUE(result.ok());
  EXPECT_EQ(result.command_line.action, CommandAction::Run);
  EXPECT_FALSE(result.command_line.job.search_root);
  EXPECT_EQ(result.command_line.format, OutputFormat::Tree);
  EXPECT_FALSE(result.command_line.use_settings);
  for (const auto& option : result.command_line.job.options) EXPECT_FALSE(option);
}

TEST(ParseCommandLine, JobFlagsAndRoot) {
  const CommandLineResult result =
      parse({"--gnat-extensions", "--preparation-phase", "src", "--skip-read-only", "--no-subfolders",
             "--relaxed-styles", "--reference-path", "/a;/b/*", "--list-unchecked-style"});
  ASSERT_TRUE(result.ok()) << result.error;
  const CommandLine& line = result.command_line;
  EXPECT_EQ(line.job.search_root, "src");
  EXPECT_EQ(option_flag(line, Option::GNAT_EXTENSIONS), true);
  EXPECT_EQ(option_flag(line, Option::PREPARATION_PHASE), true);
  EXPECT_EQ(option_flag(line, Option::SKIP_READ_ONLY_FILES), true);
  EXPECT_EQ(option_flag(line, Option::SEARCH_SUBFOLDERS), false);
  EXPECT_EQ(option_flag(line, Option::RELAXED_STYLES), true);
  EXPECT_EQ(line.job.reference_path, "/a;/b/*");
  EXPECT_TRUE(line.job.list_unchecked_style);
}

TEST(ParseCommandLine, ValuesMayBeAttachedWithEquals) {
  const CommandLineResult result =
      parse({"--format=csv", "--report=out.csv", "--log=run.log", "--style-set=tavik", "--reference-path="});
  ASSERT_TRUE(result.ok()) << result.error;
  EXPECT_EQ(result.command_line.format, OutputFormat::Csv);
  EXPECT_EQ(result.command_line.report_file, "out.csv");
  EXPECT_EQ(result.command_line.log_file, "run.log");
  EXPECT_EQ(result.command_line.job.style_set, StyleSet::TAVIK);
  EXPECT_EQ(result.command_line.job.reference_path, "");
}

TEST(ParseCommandLine, JobsIsAWholeNumberOfThreadsFromOne) {
  EXPECT_EQ(parse({}).command_line.jobs, 0u);  // one per core
  EXPECT_EQ(parse({"--jobs", "3"}).command_line.jobs, 3u);
  EXPECT_EQ(parse({"-j", "1"}).command_line.jobs, 1u);
  EXPECT_EQ(parse({"--jobs=256"}).command_line.jobs, 256u);
  EXPECT_EQ(parse({"-j2"}).command_line.jobs, 2u);  // as make takes it
  for (std::string_view bad : {"0", "257", "-1", "2x", "", " 2", "99999"}) {
    const CommandLineResult result = parse({"--jobs", bad});
    EXPECT_FALSE(result.ok()) << bad;
    EXPECT_NE(result.error.find("'--jobs'"), std::string::npos) << result.error;
  }
  EXPECT_FALSE(parse({"-jx"}).ok());
}

TEST(ParseCommandLine, StyleKindsByLiteralOrLabelInAnyCase) {
  const CommandLineResult result =
      parse({"--style", "bad_keyword,Bad Pragma", "--style=WRONG-MODE", "--style", "no goto statements"});
  ASSERT_TRUE(result.ok()) << result.error;
  EXPECT_EQ(result.command_line.job.style_kinds,
            (std::vector<StyleKind>{StyleKind::BAD_KEYWORD, StyleKind::BAD_PRAGMA, StyleKind::WRONG_MODE,
                                    StyleKind::NO_GOTO_STATEMENTS}));
  const CommandLineResult all = parse({"--style", "ALL"});
  ASSERT_TRUE(all.ok());
  EXPECT_EQ(all.command_line.job.style_kinds.size(), static_cast<std::size_t>(selectable_style_kind_count));
}

TEST(ParseCommandLine, StyleSetsByLiteralOrLabel) {
  for (auto [text, set] : {std::pair{"NONE", StyleSet::NONE}, std::pair{"user", StyleSet::USER},
                           std::pair{"User 95", StyleSet::USER_95}, std::pair{"tavik_95", StyleSet::TAVIK_95}}) {
    const CommandLineResult result = parse({"--style-set", text});
    ASSERT_TRUE(result.ok()) << text;
    EXPECT_EQ(result.command_line.job.style_set, set) << text;
  }
}

TEST(ParseCommandLine, AdaVersionsByTheirYearInEitherSpelling) {
  EXPECT_FALSE(parse({}).command_line.job.ada_version);  // the job's own stands
  for (auto [text, version] : {std::pair{"95", AdaVersion::ADA_95}, std::pair{"2005", AdaVersion::ADA_2005},
                               std::pair{"2012", AdaVersion::ADA_2012}, std::pair{"2022", AdaVersion::ADA_2022}}) {
    EXPECT_EQ(parse({"--ada-version", text}).command_line.job.ada_version, version) << text;
    const std::string attached = std::string("--ada-version=") + text;
    const CommandLineResult result = parse({attached});
    EXPECT_EQ(result.command_line.job.ada_version, version) << result.error;
    Job job;
    apply_job_flags(result.command_line.job, job);
    EXPECT_EQ(job.ada_version(), version);
  }
}

TEST(ParseCommandLine, OutputFlags) {
  const CommandLineResult result = parse({"-q", "--format", "GNU", "--settings", "--show-job"});
  ASSERT_TRUE(result.ok()) << result.error;
  EXPECT_TRUE(result.command_line.quiet);
  EXPECT_EQ(result.command_line.format, OutputFormat::Gnu);
  EXPECT_TRUE(result.command_line.use_settings);
  EXPECT_TRUE(result.command_line.show_job);
  for (auto [text, format] : {std::pair{"tree", OutputFormat::Tree}, std::pair{"text", OutputFormat::Text}}) {
    EXPECT_EQ(parse({"--format", text}).command_line.format, format);
  }
}

TEST(ParseCommandLine, HelpWinsOverVersion) {
  EXPECT_EQ(parse({"--version"}).command_line.action, CommandAction::ShowVersion);
  EXPECT_EQ(parse({"--version", "--help"}).command_line.action, CommandAction::ShowHelp);
  EXPECT_EQ(parse({"-h", "--version"}).command_line.action, CommandAction::ShowHelp);
}

TEST(ParseCommandLine, DoubleDashEndsTheOptions) {
  const CommandLineResult result = parse({"--gnat-extensions", "--", "--odd-directory"});
  ASSERT_TRUE(result.ok()) << result.error;
  EXPECT_EQ(result.command_line.job.search_root, "--odd-directory");
}

TEST(ParseCommandLine, UsageErrorsSayWhatIsWrong) {
  struct Case {
    std::initializer_list<std::string_view> words;
    std::string_view expected;
  };
  const Case cases[] = {
      {{"--frobnicate"}, "unknown option '--frobnicate'"},
      {{"-x"}, "unknown option '-x'"},
      {{"a", "b"}, "more than one ROOT given: 'a' and 'b'"},
      {{"--style"}, "option '--style' needs a value"},
      {{"--report"}, "option '--report' needs a value"},
      {{"--style", "bad_keywords"}, "unknown style kind 'bad_keywords' (see --help for the list)"},
      {{"--style", "bad_keyword,"}, "unknown style kind '' (see --help for the list)"},
      {{"--style", "NO_STYLE_CHECKS"}, "unknown style kind 'NO_STYLE_CHECKS' (see --help for the list)"},
      {{"--style-set", "BRIGHTMOOR"}, "unknown style set 'BRIGHTMOOR' (NONE, USER, USER_95, TAVIK or TAVIK_95)"},
      {{"--format", "xml"}, "unknown format 'xml' (tree, gnu, csv, text, json or sarif)"},
      {{"--ada-version", "83"}, "unknown Ada version '83' (95, 2005, 2012 or 2022)"},
      {{"--ada-version=Ada 2012"}, "unknown Ada version 'Ada 2012' (95, 2005, 2012 or 2022)"},
      {{"--ada-version="}, "unknown Ada version '' (95, 2005, 2012 or 2022)"},
      {{"--ada-version"}, "option '--ada-version' needs a value"},
      {{"--fail-on", "bug,nulpointer"}, "unknown finding kind 'nulpointer' (see --list-rules)"},
      {{"--explain", "style"}, "unknown finding kind 'style' (see --list-rules)"},
      {{"--baseline="}, "option '--baseline' needs a file name"},
      {{"--quiet=yes"}, "option '--quiet' takes no value"},
      {{"--report="}, "option '--report' needs a file name"},
      {{"--report", "out/r.html"},
       "the report 'out/r.html' has an extension that names no report format (.csv, .txt, .json or .sarif; a name "
       "without one is written as the text report)"},
      {{"--config", "p.toml", "--no-config"},
       "options '--config' and '--no-config' contradict each other: name the project file or refuse one"},
      {{"--ignore", "style,nulpointer"}, "unknown finding kind 'nulpointer' (see --list-rules)"},
      {{"--fix", "--diff"}, "options '--fix' and '--diff' contradict each other: --diff shows what --fix would write"},
      {{"--diff", "--baseline", "b.json"}, "option '--diff' does not go with a baseline"},
      {{""}, "the ROOT must not be empty"},
  };
  for (const Case& c : cases) {
    const std::vector<std::string_view> arguments(c.words);
    const CommandLineResult result = parse_command_line(arguments);
    EXPECT_FALSE(result.ok()) << c.expected;
    EXPECT_EQ(result.error, c.expected);
  }
}

TEST(FindStyleKind, NamesMatchWholeAndNoStyleChecksIsNotSelectable) {
  EXPECT_EQ(find_selectable_style_kind("character_not_portable"), StyleKind::CHARACTER_NOT_PORTABLE);
  EXPECT_EQ(find_selectable_style_kind("  Bad  Keyword "), StyleKind::BAD_KEYWORD);
  EXPECT_FALSE(find_selectable_style_kind("bad"));
  EXPECT_FALSE(find_selectable_style_kind("No Style Checks"));
  EXPECT_FALSE(find_selectable_style_kind(""));
  EXPECT_FALSE(find_style_set("USER_96"));
}

// ---- Applying the flags to a job ------------------------------------------------

Job& job_from(Job& job, std::initializer_list<std::string_view> words) {
  const CommandLineResult result = parse(words);
  EXPECT_TRUE(result.ok()) << result.error;
  apply_job_flags(result.command_line.job, job);
  return job;
}

TEST(ApplyJobFlags, BasicFlagsLeaveExtendedModeOff) {
  Job job;
  job_from(job, {"--gnat-extensions", "--no-subfolders", "--style", "no_goto_statements", "/srv/src"});
  EXPECT_EQ(job.search_root(), "/srv/src");
  EXPECT_TRUE(job.option_is_set(Option::GNAT_EXTENSIONS));
  EXPECT_FALSE(job.option_is_set(Option::SEARCH_SUBFOLDERS));
  EXPECT_TRUE(job.style_kind_enabled(StyleKind::NO_GOTO_STATEMENTS));
  EXPECT_FALSE(job.extended_style_mode());
}

TEST(ApplyJobFlags, KindsAddToTheRuleBookGivenAnywhereOnTheLine) {
  Job job;
  job_from(job, {"--style", "bad_keyword", "--style-set", "user_95"});
  EXPECT_TRUE(job.extended_style_mode());
  EXPECT_EQ(job.current_style_set(), StyleSet::USER_95);
  EXPECT_TRUE(job.style_kind_enabled(StyleKind::BAD_KEYWORD));
  EXPECT_FALSE(job.style_kind_enabled(StyleKind::BAD_PRAGMA));
}

TEST(ApplyJobFlags, RelaxedStylesCarriesTheReferencePath) {
  Job job;
  job_from(job, {"--relaxed-styles", "--reference-path", "/specs/*"});
  EXPECT_TRUE(job.option_is_set(Option::RELAXED_STYLES));
  EXPECT_EQ(job.reference_path(), "/specs/*");
  EXPECT_TRUE(job.style_selection().relaxed_styles);
  EXPECT_EQ(unused_job_flag(parse_command_line(std::vector<std::string_view>{"--relaxed-styles",
                                                                             "--reference-path", "/specs/*"})
                                .command_line.job,
                            job),
            "");
}

TEST(ApplyJobFlags, AReferencePathWithoutRelaxedStylesHasNoEffectAndIsRefused) {
  const std::vector<std::string_view> words{"--reference-path", "/specs/*"};
  const JobFlags flags = parse_command_line(words).command_line.job;
  Job job;
  apply_job_flags(flags, job);
  EXPECT_EQ(unused_job_flag(flags, job), "option '--reference-path' has no effect without '--relaxed-styles'");
  // The option may also come from the stored job.
  job.set_option(Option::RELAXED_STYLES, true);
  EXPECT_EQ(unused_job_flag(flags, job), "");
}

TEST(ApplyJobFlags, ListUncheckedStyle) {
  Job job;
  job_from(job, {"--list-unchecked-style"});
  EXPECT_TRUE(job.list_unchecked_style());
  EXPECT_TRUE(job.list_unchecked_style_available());
}

}  // namespace
}  // namespace flawseek

namespace flawseek {
namespace {

TEST(KindNames, IdsLiteralsLabelsAndMarksNameTheSameKind) {
  // --style takes a style kind's id beside its old spellings.
  EXPECT_EQ(find_selectable_style_kind("style/bad-keyword"), StyleKind::BAD_KEYWORD);
  EXPECT_EQ(find_selectable_style_kind("STYLE/Wrong-Mode"), StyleKind::WRONG_MODE);
  EXPECT_EQ(find_selectable_style_kind("style/no-style-checks"), std::nullopt);
  for (const char* name : {"null-pointer", "NULL_POINTER", "Null Pointer", "np", "-->NP:"}) {
    EXPECT_EQ(find_kind_by_any_name(name), FindingKind(BugKind::NULL_POINTER)) << name;
  }
  for (const char* name : {"style/bad-keyword", "bad-keyword", "BAD_KEYWORD", "Bad Keyword"}) {
    EXPECT_EQ(find_kind_by_any_name(name), FindingKind(StyleKind::BAD_KEYWORD)) << name;
  }
  EXPECT_EQ(find_kind_by_any_name("style"), std::nullopt);
  EXPECT_EQ(find_kind_by_any_name("STYLE"), std::nullopt);  // a command word, but no mark
}

// --select: the last list wins; --ignore: every list counts.
TEST(ParseCommandLine, SelectReplacesAndIgnoreAccumulates) {
  const CommandLineResult result =
      parse({"--select", "bug", "--ignore", "NP", "--select", "unused-unit,Null Pointer,-->CNR:", "--ignore", "style"});
  ASSERT_TRUE(result.ok()) << result.error;
  const auto& select = *result.command_line.select;
  EXPECT_EQ(std::count(select.begin(), select.end(), true), 3);
  EXPECT_TRUE(select[FindingKind(BugKind::CODE_NOT_REACHABLE).index()]);
  const auto& ignore = result.command_line.ignore;
  EXPECT_TRUE(ignore[FindingKind(BugKind::NULL_POINTER).index()]);
  EXPECT_TRUE(ignore[FindingKind(StyleKind::BAD_KEYWORD).index()]);
  EXPECT_FALSE(ignore[FindingKind(BugKind::UNUSED_UNIT).index()]);
  EXPECT_FALSE(parse({}).command_line.select);
}

TEST(KindNames, FailOnListsTakeFamiliesIdsAllAndNone) {
  std::array<bool, FindingKind::count> kinds{};
  ASSERT_EQ(parse_kind_list("bug", kinds), "");
  EXPECT_TRUE(kinds[FindingKind(BugKind::SYNTAX_ERROR).index()]);
  EXPECT_FALSE(kinds[FindingKind(StyleKind::BAD_KEYWORD).index()]);
  ASSERT_EQ(parse_kind_list("style/bad-keyword, unused_unit", kinds), "");
  EXPECT_EQ(std::count(kinds.begin(), kinds.end(), true), 2);
  ASSERT_EQ(parse_kind_list("none", kinds), "");
  EXPECT_EQ(std::count(kinds.begin(), kinds.end(), true), 0);
  ASSERT_EQ(parse_kind_list("all", kinds), "");
  EXPECT_EQ(std::count(kinds.begin(), kinds.end(), true), FindingKind::count);
}

}  // namespace
}  // namespace flawseek
