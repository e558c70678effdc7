// The check of one source as an editor asks for it: the file alone, or a
// specification with its body, on a checker of its own that serves check
// after check, with the settings of the project the file belongs to.
#pragma once

#include <string>
#include <vector>

#include "driver/analyser.h"
#include "driver/defect_scan.h"

namespace flawseek {

// A source with the other half of its pair, as the walk hands them on:
// "x.ads" with "x.adb", "x_.ada" with "x.ada" (and so "x_.adq" with
// "x.adq"), when the other file is there (on the disk, which may be an
// editor's overlay). The other's extension is looked for in the same case.
struct DocumentUnit {
  std::string file;  // the specification of a pair, or the source alone
  std::string body;  // empty unless a pair
  bool is_adq = false;
  bool specification = false;  // `file` is a specification

  bool operator==(const DocumentUnit&) const = default;
};

DocumentUnit document_unit(const std::string& path);

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
