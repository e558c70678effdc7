// Writing the unified diff of a mended file.
#include "unified_diff.h"

#include <algorithm>
#include <vector>

namespace flawseek {

namespace {

constexpr std::size_t context_lines = 3;

// The lines of `text`, each with its '\n' where it has one.
std::vector<std::string_view> lines_of(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    const std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
    lines.push_back(text.substr(start, next - start));
    start = next;
  }
  return lines;
}

void put_line(std::string& out, char mark, std::string_view line) {
  out += mark;
  out.append(line);
  if (line.empty() || line.back() != '\n') out += "\n\\ No newline at end of file\n";
}

}  // namespace

std::string unified_diff(std::string_view shown_name, std::string_view before, std::string_view after) {
  const std::vector<std::string_view> old_lines = lines_of(before);
  const std::vector<std::string_view> new_lines = lines_of(after);
  // A mend never adds or removes a line; a text that did would need a real diff.
  if (old_lines.size() != new_lines.size()) return {};
  std::vector<std::size_t> changed;
  for (std::size_t i = 0; i < old_lines.size(); ++i) {
    if (old_lines[i] != new_lines[i]) changed.push_back(i);
  }
  if (changed.empty()) return {};

  std::string out;
  out += "--- ";
  out.append(shown_name);
  out += "\n+++ ";
  out.append(shown_name);
  out += '\n';
  std::size_t next = 0;
  while (next < changed.size()) {
    // A hunk runs on while the next change is within two contexts of the last.
    std::size_t last = next;
    while (last + 1 < changed.size() && changed[last + 1] - changed[last] <= 2 * context_lines) ++last;
    const std::size_t first_line = changed[next] >= context_lines ? changed[next] - context_lines : 0;
    const std::size_t end_line = std::min(old_lines.size(), changed[last] + context_lines + 1);
    const std::size_t count = end_line - first_line;
    const std::string range = std::to_string(first_line + 1) + "," + std::to_string(count);
    out += "@@ -" + range + " +" + range + " @@\n";
    std::size_t line = first_line;
    while (line < end_line) {
      if (old_lines[line] == new_lines[line]) {
        put_line(out, ' ', old_lines[line++]);
        continue;
      }
      // A run of changed lines: all the old ones, then all the new ones.
      std::size_t run_end = line;
      while (run_end < end_line && old_lines[run_end] != new_lines[run_end]) ++run_end;
      for (std::size_t i = line; i < run_end; ++i) put_line(out, '-', old_lines[i]);
      for (std::size_t i = line; i < run_end; ++i) put_line(out, '+', new_lines[i]);
      line = run_end;
    }
    next = last + 1;
  }
  return out;
}

}  // namespace flawseek
