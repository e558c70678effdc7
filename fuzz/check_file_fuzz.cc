// A whole check as the command line runs it, with the job's switches taken
// from the input: style set, style kinds, GNAT extensions, ".adq" naming, a
// single file or a specification-and-body pair, the preparation pass and
// relaxed styles (with the real unit survey and a reference path); then
// every output format and both reports.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "baseline.h"
#include "bugcheck/bug_checker.h"
#include "driver/analyser.h"
#include "driver/defect_scan.h"
#include "driver/job.h"
#include "findings/findings_list.h"
#include "fuzz_input.h"
#include "output/findings_output.h"
#include "output/tree_output.h"
#include "scratch_root.h"
#include "stylecheck/unit_survey/unit_survey.h"

namespace {

using namespace flawseek;

const std::filesystem::path& scratch() {
  static const std::filesystem::path dir = [] {
    auto path = fuzzing::scratch_root() / ("flawseek-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(path);
    return path;
  }();
  return dir;
}

std::string write_source(const std::string& name, std::string_view text) {
  const std::string path = (scratch() / name).string();
  std::ofstream(path, std::ios::binary | std::ios::trunc).write(text.data(), static_cast<std::streamsize>(text.size()));
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzing::FuzzInput input(data, size);
  const std::uint8_t switches = input.byte();
  const std::uint8_t style_set = input.byte();
  const std::uint8_t kinds_low = input.byte();
  const std::uint8_t kinds_high = input.byte();
  const std::uint8_t kinds_top = input.byte();

  Job job;
  job.set_style_set(static_cast<StyleSet>(style_set % style_set_count));
  const std::uint32_t kinds = kinds_low | (kinds_high << 8) | (kinds_top << 16);
  for (int kind = 0; kind < selectable_style_kind_count; ++kind) {
    job.set_style_kind(static_cast<StyleKind>(kind), (kinds >> kind) & 1);
  }
  job.set_option(Option::GNAT_EXTENSIONS, input.flag(switches, 0));
  job.set_option(Option::RELAXED_STYLES, input.flag(switches, 1));
  const bool is_adq = input.flag(switches, 2);
  const bool prepare = input.flag(switches, 3);
  const bool pair = input.has_second_text();

  const std::string specification =
      write_source(is_adq ? "unit_.adq" : "unit.ads", input.first_text());
  const std::string body = pair ? write_source(is_adq ? "unit.adq" : "unit.adb", input.second_text()) : std::string();

  BugChecker checker;
  // With relaxed styles the real survey looks for the declaring
  // specifications, with the scratch directory as the reference path.
  EmptyUnitSurvey no_survey;
  static Analyser standard = make_standard_analyser();
  UnitSurvey& survey = job.option_is_set(Option::RELAXED_STYLES) ? *standard.survey : no_survey;
  if (job.option_is_set(Option::RELAXED_STYLES)) survey.set_reference_directories({scratch().string()});
  DefectScan scan(checker, survey, ScanSettings::from_job(job));
  ScanResult result;
  FindingsList findings;
  TextTreeView tree;
  findings.set_view(&tree);
  findings.set_list_unchecked_style_state(true, input.flag(switches, 4));

  scan.start(static_cast<std::int32_t>(switches >> 5), result);
  if (prepare) scan.prepare(specification, is_adq, result);
  if (pair) {
    scan.check_pair(specification, body, is_adq, result);
  } else {
    scan.check_single(specification, is_adq, result);
  }
  scan.finish(result);
  findings.apply(result.findings);

  std::ostringstream out;
  OutputSettings settings;
  settings.context.job = &job;
  settings.context.root_directory = scratch().string();
  settings.include_suppressed = input.flag(switches, 4);
  for (OutputFormat format : {OutputFormat::Tree, OutputFormat::Gnu, OutputFormat::Csv, OutputFormat::Text,
                              OutputFormat::Sarif}) {
    write_findings(format, findings, "01/01/26 00:00:00", settings, out);
  }
  // The tree printed from the findings is the tree the view was given.
  std::ostringstream printed;
  std::ostringstream rendered;
  write_findings_tree(ListedFindings(findings), printed);
  tree.render(rendered);
  if (printed.str() != rendered.str()) std::abort();
  // Whatever the sources hold, the JSON output is valid and reads back as a
  // baseline that knows every finding.
  std::ostringstream json;
  write_findings(OutputFormat::Json, findings, "01/01/26 00:00:00", settings, json);
  std::string error;
  const std::optional<Baseline> baseline = Baseline::parse(json.str(), error);
  if (!baseline) std::abort();
  const auto records = ordered_findings(findings);
  if (baseline->known_findings(records, settings.context).size() != records.size()) std::abort();
  save_findings(OutputFormat::Csv, findings, scratch() / "report.csv", "01/01/26 00:00:00", settings);
  save_findings(OutputFormat::Text, findings, scratch() / "report.txt", "01/01/26 00:00:00", settings);
  return 0;
}
