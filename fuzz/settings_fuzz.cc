// The settings files as the window's job uses them: any bytes as the user's
// and the machine's file, read into a job, saved back, and read again. Reading
// and writing must never fail for the program, and what was saved must read
// back as saved.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "driver/headless_job_controls.h"
#include "driver/job.h"
#include "fuzz_input.h"
#include "scratch_root.h"
#include "platform/settings_store.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace flawseek;
  static const std::filesystem::path dir = [] {
    auto path = fuzzing::scratch_root() / ("flawseek-fuzz-settings-" + std::to_string(::getpid()));
    std::filesystem::create_directories(path);
    return path;
  }();
  // Each run starts from its own input, not from what the last one wrote.
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator(dir, ignored)) {
    std::filesystem::remove_all(entry.path(), ignored);
  }
  fuzzing::FuzzInput input(data, size);
  const SettingsFiles files{dir / "user.json", dir / "machine.json"};
  std::ofstream(files.user, std::ios::binary).write(input.first_text().data(),
                                                    static_cast<std::streamsize>(input.first_text().size()));
  if (input.has_second_text()) {
    std::ofstream(files.machine, std::ios::binary)
        .write(input.second_text().data(), static_cast<std::streamsize>(input.second_text().size()));
  }

  HeadlessJobControls controls;
  SettingsStore store(files, /*is_service=*/false);
  store.initialize(Company::Brightmoor, "Flawseek");
  Job job(controls, &store, JobPersistence::ReadWrite);
  job.load_job();
  try {
    job.save_job();
  } catch (const RegistryError&) {
    return 0;  // a file this process may not replace: reported, never fatal
  }

  HeadlessJobControls again_controls;
  SettingsStore again(files, /*is_service=*/false);
  again.initialize(Company::Brightmoor, "Flawseek");
  Job reread(again_controls, &again, JobPersistence::ReadWrite);
  reread.load_job();
  // A job saved over any file reads back as it was saved.
  if (reread.search_root() != job.search_root()) std::abort();
  return 0;
}
