// The check of one source as an editor asks for it: the file alone, or a
// specification with its body, on a checker of its own that serves check
// after check, with the settings of the project the file belongs to.
#pragma once

#include <string>
#include <vector>

#include "driver/analyser.h"
#include "driver/defect_scan.h"

namespace flawseek {

struct DocumentCheckRequest {
  // The file alone when `body` is empty; else the specification of the pair.
  std::string file;
  std::string body;
  bool is_adq = false;
  // The job's preparation pass over `file`, a specification: over this
  // unit's alone, since an editor's check never walks the tree.
  bool prepare = false;
  ScanSettings settings;
  // With relaxed styles: the reference path's directories, as the unit
  // survey reads them.
  std::vector<std::string> reference_directories;
};

class DocumentCheck {
 public:
  DocumentCheck();

  // Replaces `result` with the unit's findings, in the order found.
  void check(const DocumentCheckRequest& request, ScanResult& result);

 private:
  Analyser analyser_;
};

}  // namespace flawseek
