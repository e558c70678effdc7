// The parser's syntax fixtures: Ada files under fixtures/syntax/accepted (legal
// Ada 95 that must parse clean) and fixtures/syntax/rejected (each must stop
// with a syntax error at the position its comment "-- syntax error @ L:C"
// names). A comment "-- flags: gnat-extensions" parses with GNAT's extensions
// on; "-- ada-version: 2012" parses (and has GNAT check) at that level, Ada 95
// when the fixture names none; "-- gnat disagrees: <why>" marks a case decided against GNAT's own
// syntax check. Shared by the fixture test and the GNAT witness.
#pragma once

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "parser_test_support.h"

namespace flawseek::testing_support {

struct SyntaxFixture {
  std::string path;
  std::string name;  // file name
  std::string text;
  bool accepted = true;
  int line = 0;  // expected position of the syntax error (rejected fixtures)
  int column = 0;
  bool gnat_extensions = false;
  bool gnat_disagrees = false;
  AdaVersion ada_version = AdaVersion::ADA_95;
};

inline std::vector<SyntaxFixture> syntax_fixtures(const std::string& root) {
  std::vector<SyntaxFixture> fixtures;
  for (const char* folder : {"accepted", "rejected"}) {
    const std::filesystem::path dir = std::filesystem::path(root) / folder;
    if (!std::filesystem::is_directory(dir)) continue;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
      const std::string ext = entry.path().extension().string();
      if (ext != ".ads" && ext != ".adb") continue;
      SyntaxFixture f;
      f.path = entry.path().string();
      f.name = entry.path().filename().string();
      f.accepted = std::string(folder) == "accepted";
      std::ifstream in(f.path, std::ios::binary);
      std::stringstream text;
      text << in.rdbuf();
      f.text = text.str();
      std::istringstream lines(f.text);
      std::string line;
      while (std::getline(lines, line)) {
        if (line.rfind("-- syntax error @ ", 0) == 0) {
          std::sscanf(line.c_str() + 18, "%d:%d", &f.line, &f.column);
        }
        if (line == "-- flags: gnat-extensions") f.gnat_extensions = true;
        if (line.rfind("-- ada-version: ", 0) == 0) {
          const auto version = parse_ada_version(std::string_view(line).substr(16));
          if (!version) throw std::runtime_error(f.name + ": unknown ada-version");
          f.ada_version = *version;
        }
        if (line.rfind("-- gnat disagrees:", 0) == 0) f.gnat_disagrees = true;
      }
      fixtures.push_back(std::move(f));
    }
  }
  std::sort(fixtures.begin(), fixtures.end(),
            [](const SyntaxFixture& a, const SyntaxFixture& b) { return a.path < b.path; });
  return fixtures;
}

// Our verdict on a fixture: the parse's syntax message ("" when clean) and, for
// an unknown attribute designator, that it drew a syntax-error message too.
inline Outcome parse_fixture(const SyntaxFixture& f) {
  Options options;
  options.gnat_extensions = f.gnat_extensions;
  options.ada_version = f.ada_version;
  return parse_source(f.text, options);
}

inline bool rejects(const Outcome& o) {
  for (int m : o.messages) {
    if (m == number(ParserMessage::SYNTAX_ERROR) || m == number(ParserMessage::UNKNOWN_ATTRIBUTE)) return true;
  }
  return false;
}

}  // namespace flawseek::testing_support
