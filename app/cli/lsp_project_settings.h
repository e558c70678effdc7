// What the project file says for the documents of one directory, as the
// command line would read it for a run over that directory: the job's
// flags, the kinds reported, and the trouble with the file if it has some
// (the defaults then apply). Read once per directory until forgotten.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "driver/defect_scan.h"
#include "findings/reported_kinds.h"
#include "platform/path_glob.h"

namespace flawseek {

struct DocumentSettings {
  ScanSettings scan;
  bool prepare = false;  // the job's preparation pass
  std::vector<std::string> reference_directories;
  ReportedKinds reported;
  // The sources a run leaves out: such a document gets no findings, and
  // such a partner is not read with its document.
  AnchoredGlobs excluded;
  bool list_unchecked_style = false;
  // Why the project file was not obeyed: it is broken (an error) or not
  // trusted (a warning); empty when there is nothing to say.
  std::string project_error;
  std::vector<std::string> project_warnings;
};

// The settings of a run over `directory` with no options of its own.
DocumentSettings read_document_settings(const std::string& directory);

class ProjectSettings {
 public:
  std::shared_ptr<const DocumentSettings> for_directory(const std::string& directory);
  // The project files changed: every directory is read again when next asked.
  void forget_all();

 private:
  std::mutex mutex_;
  std::map<std::string, std::shared_ptr<const DocumentSettings>, std::less<>> known_;
  std::uint64_t generation_ = 0;  // of forget_all calls
};

}  // namespace flawseek
