// GNAT's syntax check (gcc -c -gnats -gnat95, or another level) as a witness: whether GNAT is
// there, and its verdict on many files at once, run as several gcc processes
// side by side. Tests that use it skip when GNAT is absent.
#pragma once

#include <array>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "frontend/ada_version.h"

namespace flawseek::testing_support {

struct GnatVerdict {
  bool accepted = true;
  int first_error_line = 0;  // line of GNAT's first error, 0 when accepted
};

inline std::string gnat_gcc() {
  const char* program = std::getenv("FLAWSEEK_GNAT_GCC");
  return program != nullptr && *program != '\0' ? program : "gcc";
}

// Runs one gcc over `names` (files in `dir`) and fills their verdicts.
inline void gnat_check_batch(const std::string& dir, const std::vector<std::string>& names, std::size_t begin,
                             std::size_t end, AdaVersion version, std::vector<GnatVerdict>& verdicts) {
  std::string command = "cd '" + dir + "' && " + gnat_gcc() + " -c -gnats -gnat" + std::string(image(version));
  std::map<std::string, std::size_t> index;
  for (std::size_t i = begin; i < end; ++i) {
    command += " '" + names[i] + "'";
    index[names[i]] = i;
  }
  command += " 2>&1";
  FILE* out = popen(command.c_str(), "r");
  if (out == nullptr) return;
  std::array<char, 4096> buffer{};
  while (std::fgets(buffer.data(), static_cast<int>(buffer.size()), out) != nullptr) {
    // "name:line:column: error: text"; warnings and notes are no verdict.
    const std::string line(buffer.data());
    const std::size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    const auto file = index.find(line.substr(0, colon));
    if (file == index.end()) continue;
    if (line.find(": warning:") != std::string::npos || line.find(": note:") != std::string::npos ||
        line.find(": info:") != std::string::npos) {
      continue;
    }
    GnatVerdict& v = verdicts[file->second];
    if (!v.accepted) continue;
    v.accepted = false;
    v.first_error_line = std::atoi(line.c_str() + colon + 1);
  }
  pclose(out);
}

// GNAT's verdicts on the files `names` of `dir`, in order, at language
// level `version`; `jobs` gcc processes run at once, each on a batch of files.
inline std::vector<GnatVerdict> gnat_check(const std::string& dir, const std::vector<std::string>& names,
                                           int jobs = 4, std::size_t batch = 40,
                                           AdaVersion version = AdaVersion::ADA_95) {
  std::vector<GnatVerdict> verdicts(names.size());
  std::vector<std::pair<std::size_t, std::size_t>> batches;
  for (std::size_t b = 0; b < names.size(); b += batch) batches.emplace_back(b, std::min(names.size(), b + batch));
  std::vector<std::thread> workers;
  std::size_t next = 0;
  std::mutex lock;
  for (int j = 0; j < jobs; ++j) {
    workers.emplace_back([&] {
      for (;;) {
        std::pair<std::size_t, std::size_t> work;
        {
          std::lock_guard<std::mutex> guard(lock);
          if (next >= batches.size()) return;
          work = batches[next++];
        }
        gnat_check_batch(dir, names, work.first, work.second, version, verdicts);
      }
    });
  }
  for (auto& w : workers) w.join();
  return verdicts;
}

// A fresh directory for GNAT's inputs, removed with the object.
struct ScratchDirectory {
  std::string path;
  ScratchDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "flawseek-gnat.XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) path = pattern;
  }
  ~ScratchDirectory() {
    std::error_code ignored;
    if (!path.empty()) std::filesystem::remove_all(path, ignored);
  }
  void write(const std::string& name, const std::string& text) const {
    std::ofstream(path + "/" + name, std::ios::binary) << text;
  }
};

// The first directory of GNAT's source search path (its library sources),
// as `gnatls -v` lists it; empty without GNAT.
inline std::string gnat_library_directory() {
  FILE* out = popen("gnatls -v 2>/dev/null", "r");
  if (out == nullptr) return {};
  std::array<char, 4096> buffer{};
  bool in_path = false;
  std::string found;
  while (found.empty() && std::fgets(buffer.data(), static_cast<int>(buffer.size()), out) != nullptr) {
    std::string line(buffer.data());
    while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back()))) line.pop_back();
    const std::size_t start = line.find_first_not_of(' ');
    const std::string entry = start == std::string::npos ? std::string() : line.substr(start);
    if (line.starts_with("Source Search Path:")) {
      in_path = true;
    } else if (in_path && entry.empty()) {
      break;
    } else if (in_path && entry != "<Current_Directory>" && std::filesystem::is_directory(entry)) {
      found = entry;
    }
  }
  pclose(out);
  return found;
}

// GNAT can check Ada 95 syntax here: a trivial unit passes and a broken one fails.
inline bool gnat_available(const ScratchDirectory& scratch) {
  if (scratch.path.empty()) return false;
  scratch.write("x-probe.adb", "procedure Probe is begin null; end Probe;\n");
  scratch.write("x-broken.adb", "procedure Broken is begin null end Broken;\n");
  const auto v = gnat_check(scratch.path, {"x-probe.adb", "x-broken.adb"}, 1);
  return v[0].accepted && !v[1].accepted;
}

}  // namespace flawseek::testing_support
