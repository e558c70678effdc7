// The run's context, file names relative to the root, and texts made UTF-8.
#include "output/report_context.h"

#include <filesystem>

#include "driver/job.h"
#include "driver/source_search.h"

namespace flawseek {

ReportContext report_context_of(const Job& job, std::string_view current_directory) {
  ReportContext context;
  context.job = &job;
  if (const auto root = resolve_search_root(job.search_root(), current_directory)) context.root_directory = root->directory;
  return context;
}

bool DocumentFileNames::enter(const SharedPath& file, const ReportContext& context) {
  if (known_ && file_ == file) return false;
  known_ = true;
  file_ = file;
  relative_ = utf8_text(root_relative_name(context, file));
  path_ = utf8_text(file.str());
  return true;
}

std::string root_relative_name(const ReportContext& context, const std::string& file) {
  if (context.root_directory.empty()) return file;
  const std::filesystem::path relative =
      std::filesystem::path(file).lexically_relative(std::filesystem::path(context.root_directory));
  if (relative.empty() || *relative.begin() == "..") return file;
  return relative.generic_string();
}

}  // namespace flawseek
