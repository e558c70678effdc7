// The unit survey: the steps of one survey, the survey of the withed units,
// and the parses of its own parser instance.
#include "stylecheck/unit_survey/tavik_unit.h"

#include "frontend/ada_parser.h"
#include "stylecheck/unit_survey/specification_search.h"
#include "stylecheck/unit_survey/survey_hooks.h"
#include "stylecheck/unit_survey/survey_line_reader.h"

namespace flawseek {

namespace {

// The base rules with the identifier case forced to Mixed: the only rule the
// survey's parses consult.
constexpr StyleRules survey_style_rules = [] {
  StyleRules rules = default_style_rules;
  rules.identifier_case = CaseConvention::Mixed;
  return rules;
}();

}  // namespace

class TavikUnit::Impl {
 public:
  // Parses `file` in `mode`; a file that cannot be read is passed over.
  void parse(const std::string& file, SurveyMode mode) {
    std::string error;
    if (!reader.open(file, error)) return;
    hooks.set_mode(mode);
    try {
      parser.parse(FileRole::SINGLE_FILE, survey_style_rules, /*gnat_extensions=*/false, reader.line_source(),
                   TavikUnit::is_adq(file));
    } catch (const TavikUnitStop&) {
      // A specification that follows the standard contributes nothing more.
    } catch (const ParseFailure&) {
      // A parse the grammar gives up on ends here; what it collected stays.
    } catch (const TextParserError&) {
      // So does one that meets a line too long to scan.
    }
    reader.close();
  }

  // For each withed unit's specification: accept the irregular names it
  // declares (runs only while irregular names are left).
  void survey_withed_units(const std::string& own_directory, const std::vector<std::string>* entries) {
    for (const std::string& unit : collection.with_list) {
      if (collection.irregular_names.empty()) return;
      const std::string specification = search.find(unit, own_directory, entries);
      if (!specification.empty()) parse(specification, SurveyMode::WITHED_SPECIFICATION);
    }
  }

  SurveyCollection collection;
  SurveyHooks hooks{collection};
  SurveyLineReader reader{hooks};
  AdaParser<SurveyHooks> parser{hooks};
  SpecificationSearch search;
};

TavikUnit::TavikUnit() : impl_(std::make_unique<Impl>()) {}
TavikUnit::~TavikUnit() = default;

void TavikUnit::set_reference_directories(const std::vector<std::string>& directories) {
  impl_->search.set_reference_entries(directories);
}

void TavikUnit::set_ada_version(AdaVersion version) { impl_->parser.set_job_ada_version(version); }

bool TavikUnit::is_specification() const { return impl_->collection.is_specification; }
bool TavikUnit::is_subprogram_body() const { return impl_->collection.is_subprogram_body; }

bool TavikUnit::is_adq(std::string_view file_name) {
  const std::size_t slash = file_name.rfind('/');
  const std::size_t dot = file_name.rfind('.');
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return false;
  return file_name.substr(dot + 1) == "adq";
}

void TavikUnit::analyse(const std::string& file, std::string_view path_text) {
  Impl& d = *impl_;
  SurveyCollection& collection = d.collection;
  log_records_.clear();
  specification_list_.clear();
  implementation_list_.clear();
  collection.clear();

  // The unit's base name and directory, and its specification: in the
  // file's directory, then along the reference directories (or path_text).
  const std::size_t slash = file.rfind('/');
  const std::string directory = slash == std::string::npos ? std::string(".") : slash == 0 ? "/" : file.substr(0, slash);
  std::string base = slash == std::string::npos ? file : file.substr(slash + 1);
  if (const std::size_t dot = base.rfind('.'); dot != std::string::npos) base.resize(dot);
  std::vector<std::string> path_entries;
  const std::vector<std::string>* entries = nullptr;
  if (d.search.reference_entries().empty()) {
    path_entries = split_directory_list(path_text);
    entries = &path_entries;
  }
  specification_file_ = d.search.find(base, directory, entries);
  if (specification_file_ == file) specification_file_.clear();  // a specification is not its own

  log_records_.push_back("Tavik_Unit.Analyse (" + file + ", " + std::string(path_text) + ")");

  d.parse(file, SurveyMode::SURVEYED_FILE);
  // A file that does not follow the standard gains nothing from relaxing it.
  if (!collection.style_command) return;
  collection.accepted.clear();

  if (needs_no_specification()) {
    d.survey_withed_units(directory, entries);
    specification_list_ = collection.accepted;
    // The file is its own unit: when it is checked as the body of a pair,
    // its spellings are the ones it needs.
    implementation_list_ = collection.accepted;
    return;
  }
  if (specification_file_.empty()) return;

  // The specification's irregular names first, with the withs of both files.
  std::vector<std::string> own_irregular_names = std::move(collection.irregular_names);
  collection.irregular_names.clear();
  const bool is_specification = collection.is_specification;
  const bool is_subprogram_body = collection.is_subprogram_body;
  d.parse(specification_file_, SurveyMode::SURVEYED_FILE);
  collection.is_specification = is_specification;
  collection.is_subprogram_body = is_subprogram_body;
  d.survey_withed_units(directory, entries);
  specification_list_ = collection.accepted;

  // Then the body's, adding to what the specification accepted.
  collection.irregular_names = std::move(own_irregular_names);
  d.survey_withed_units(directory, entries);
  implementation_list_ = collection.accepted;
}

}  // namespace flawseek
