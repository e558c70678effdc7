// The baseline reader with any bytes: a JSON report, a SARIF log or
// anything else. It never crashes; what it refuses it says why; what it
// accepts it can match findings against.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "baseline.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace flawseek;
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::string error;
  const std::optional<Baseline> baseline = Baseline::parse(text, error);
  if (!baseline) {
    if (error.empty()) std::abort();
    return 0;
  }
  if (!error.empty()) std::abort();
  const ReportContext context;
  if (!baseline->known_findings(std::vector<FindingRecord>{}, context).empty()) std::abort();
  return 0;
}
