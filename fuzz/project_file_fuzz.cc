// The project file's reader with any bytes: it never crashes, reads past
// its text or takes long (the text checks before the TOML reader see to
// that), and every fault it reports names the file and a line.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "project_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace flawseek;
  const std::string text(reinterpret_cast<const char*>(data), size);
  const ProjectFile project = parse_project_text(text, "/fuzz/.flawseek.toml");
  if (!project.error.empty() && !project.error.starts_with("/fuzz/.flawseek.toml")) std::abort();
  if (project.error.empty()) {
    // What was read stands for options the command line takes.
    for (const ProjectSetting& setting : project.settings) {
      for (const std::string& argument : setting.arguments) {
        if (!argument.starts_with("--" + setting.key)) std::abort();
      }
    }
  }
  return 0;
}
