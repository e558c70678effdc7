// One analysing thread's own tools: a bug checker and a unit survey, which
// hold all the state of a file's analysis, so several analysers can work on
// several files at once without sharing anything.
#pragma once

#include <functional>
#include <memory>

#include "bugcheck/defect_checker.h"
#include "stylecheck/unit_survey/unit_survey.h"

namespace flawseek {

struct Analyser {
  std::unique_ptr<DefectChecker> checker;
  std::unique_ptr<UnitSurvey> survey;
};

using AnalyserFactory = std::function<Analyser()>;

// The real tools: a BugChecker and a TavikUnit survey.
Analyser make_standard_analyser();

// The number of analysing threads a search uses unless told otherwise: the
// cores this process may run on (at least 1).
unsigned default_job_count();

}  // namespace flawseek
