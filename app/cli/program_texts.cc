// Version and usage texts of the flawseek program.
#include "program_texts.h"

#include "build_info.h"
#include "platform/label.h"
#include "style/style_kind.h"

namespace flawseek {

std::string version_text() {
  return std::string(build_info::product_name) + " " + build_info::product_version + "\n" +
         build_info::legal_copyright + "\n";
}

std::string usage_text() {
  std::string text =
      "Usage: flawseek [OPTIONS] [ROOT]\n"
      "\n"
      "Static analysis of Ada 95 source code: potential bugs and style violations.\n"
      "ROOT is a directory, or a directory followed by a file name or a wildcard\n"
      "pattern (for example src/*.adb); it defaults to the current directory.\n"
      "\n"
      "Job:\n"
      "  --gnat-extensions        accept GNAT's language extensions\n"
      "  --preparation-phase      survey every specification of the tree first\n"
      "  --skip-read-only         skip files nobody may write\n"
      "  --no-subfolders          search ROOT's directory only\n"
      "  --relaxed-styles         accept spellings the declaring specifications use\n"
      "  --reference-path TEXT    with --relaxed-styles: further directories holding\n"
      "                           specifications, separated by ';' (an entry ending\n"
      "                           in '/*' includes every directory below it)\n"
      "  --style KIND[,KIND...]   check these style kinds (repeatable; 'all' for\n"
      "                           every kind); a kind is written as its name in any\n"
      "                           case: bad_keyword, BAD_KEYWORD or \"Bad Keyword\"\n"
      "  --style-set SET          the rule book: NONE, USER, USER_95, TAVIK or\n"
      "                           TAVIK_95 (switches the extended style kinds on)\n"
      "  --list-unchecked-style   list files that carry no style command\n"
      "\n"
      "Output:\n"
      "  --format FORMAT          findings on standard output as: tree (default), gnu\n"
      "                           (file:line:column: kind: reason), csv or text\n"
      "                           (the report formats)\n"
      "  --report FILE            also write the report to FILE: the comma-delimited\n"
      "                           table when FILE ends in .csv (any case), the\n"
      "                           plain-text report otherwise\n"
      "  --log FILE               trace the run in FILE\n"
      "  -j, --jobs N             analyse on N threads (default: one per core); the\n"
      "                           findings, report and log are the same for any N\n"
      "  --settings               start from the job stored by the window; the\n"
      "                           flags still win and nothing is saved\n"
      "  --show-job               print the job the flags describe and stop\n"
      "  -q, --quiet              print the findings only: no progress, notes or\n"
      "                           final count\n"
      "  -h, --help               show this help and stop\n"
      "  --version                show the version and stop\n"
      "\n"
      "Style kinds:\n";
  for (int position = 0; position < selectable_style_kind_count; ++position) {
    const auto kind = static_cast<StyleKind>(position);
    std::string line = "  " + std::string(image(kind));
    line.resize(40, ' ');
    text += line + label(image(kind)) + "\n";
  }
  text +=
      "The kinds from LINE_TOO_LONG on are extended kinds: naming one switches the\n"
      "extended style kinds on with the USER rule book unless --style-set says otherwise.\n"
      "\n"
      "Progress (on a terminal) and the final count go to standard error. Ctrl-C\n"
      "stops the search and still writes what was found; a second Ctrl-C ends the\n"
      "program at once.\n"
      "\n"
      "Exit status: 0 when nothing was found, 1 when there are findings, 2 for a\n"
      "usage error, a ROOT or reference path that names nothing, or a report that\n"
      "cannot be written, 3 when the search failed (see --log), 130 when the search\n"
      "was stopped by Ctrl-C.\n";
  return text;
}

}  // namespace flawseek
