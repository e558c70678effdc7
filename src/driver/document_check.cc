// One unit's check framed as a search of that unit alone.
#include "driver/document_check.h"

#include <algorithm>

#include "driver/source_walk.h"
#include "platform/disk.h"

namespace flawseek {

namespace {

bool regular_file(const std::string& path) {
  PathStatus status;
  return disk().status(path, status) == 0 && status.kind == FileKind::Regular;
}

}  // namespace

DocumentUnit document_unit(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  const std::string directory = path.substr(0, slash + 1);
  const std::string name = path.substr(slash + 1);
  const std::size_t dot = name.rfind('.');
  if (dot == std::string::npos || dot == 0) return {path, {}, false, false};
  const std::string base = name.substr(0, dot);
  const std::string ext = name.substr(dot + 1);
  const bool upper = std::all_of(ext.begin(), ext.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
  const auto written = [upper](std::string wanted) {
    if (upper) {
      for (char& c : wanted) c = static_cast<char>(c - 'a' + 'A');
    }
    return wanted;
  };
  switch (ada_extension(ext)) {
    case AdaExtension::Ads: {
      const std::string body = directory + base + "." + written("adb");
      return {path, regular_file(body) ? body : std::string(), false, true};
    }
    case AdaExtension::Adb: {
      const std::string specification = directory + base + "." + written("ads");
      if (regular_file(specification)) return {specification, path, false, true};
      return {path, {}, false, false};
    }
    case AdaExtension::Ada:
    case AdaExtension::Adq: {
      const bool is_adq = ada_extension(ext) == AdaExtension::Adq;
      if (base.size() > 1 && base.back() == '_') {
        const std::string body = directory + base.substr(0, base.size() - 1) + "." + ext;
        return {path, regular_file(body) ? body : std::string(), is_adq, true};
      }
      const std::string specification = directory + base + "_." + ext;
      if (regular_file(specification)) return {specification, path, is_adq, true};
      return {path, {}, is_adq, false};
    }
    case AdaExtension::None:
      break;
  }
  return {path, {}, false, false};
}

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
