// One unit's check framed as a search of that unit alone.
#include "driver/document_check.h"

namespace flawseek {

DocumentCheck::DocumentCheck() : analyser_(make_standard_analyser()) {}

void DocumentCheck::check(const DocumentCheckRequest& request, ScanResult& result) {
  result.clear();
  analyser_.survey->set_ada_version(request.settings.ada_version);
  analyser_.survey->set_reference_directories(request.reference_directories);
  DefectScan scan(*analyser_.checker, *analyser_.survey, request.settings);
  scan.start(0, result);
  if (request.prepare) scan.prepare(request.file, request.is_adq, result);
  if (!request.body.empty()) {
    scan.check_pair(request.file, request.body, request.is_adq, result);
  } else {
    scan.check_single(request.file, request.is_adq, result);
  }
  scan.finish(result);
}

}  // namespace flawseek
