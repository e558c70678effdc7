// Version and usage texts of the flawseek program.
#include "program_texts.h"

#include "build_info.h"
#include "findings/rule_descriptor.h"
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
      "Static analysis of Ada source code: potential bugs and style violations.\n"
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
      "  --ada-version LEVEL      the language level the files are read at: 95,\n"
      "                           2005, 2012 (the default, as GNAT's) or 2022\n"
      "  --list-unchecked-style   list files that carry no style command\n"
      "\n"
      "Output:\n"
      "  --format FORMAT          findings on standard output as: tree (default), gnu\n"
      "                           (file:line:column: warning: message [id], as GNAT\n"
      "                           writes), csv or text (the report formats), json\n"
      "                           or sarif (SARIF 2.1.0, for code scanning)\n"
      "  --report FILE            also write the report to FILE, in the format its\n"
      "                           extension names (any case): .csv, .json, .sarif,\n"
      "                           the plain-text report otherwise; '-' writes it to\n"
      "                           standard output instead of the findings, in the\n"
      "                           --format given (text when none is)\n"
      "  --show-suppressed        json and sarif also list the findings that\n"
      "                           suppression marks absorbed, marked as suppressed\n"
      "  --log FILE               trace the run in FILE\n"
      "  -j, --jobs N, -jN        analyse on N threads (default: one per core); the\n"
      "                           findings, report and log are the same for any N\n"
      "  --settings               start from the job stored by the window; the\n"
      "                           flags still win and nothing is saved\n"
      "  --show-job               print the job the flags describe and stop\n"
      "\n"
      "Rules and CI:\n"
      "  --list-rules             list every finding kind: id, label, family, mark\n"
      "                           and the style sets that enable it, and stop\n"
      "  --explain ID             say what a rule detects, why it matters, an\n"
      "                           example and how to suppress it, and stop\n"
      "  --fail-on LIST           only findings of these kinds make the exit status\n"
      "                           1: ids (null-pointer, style/bad-keyword), bug,\n"
      "                           style, all or none, separated by ','\n"
      "  --select LIST            report only these of the job's kinds (ids,\n"
      "                           labels, marks, bug or style, separated by ',');\n"
      "                           the last --select given wins\n"
      "  --ignore LIST            report none of these kinds, in any output or the\n"
      "                           exit status (repeatable: every list counts)\n"
      "  --exclude GLOB           leave out the sources GLOB matches (repeatable):\n"
      "                           '*' and '?' within a name, '**' for any folders\n"
      "                           (generated/**, **/*_svd-*.ads), from the current\n"
      "                           directory (a project file's from its own)\n"
      "  --per-path-ignore GLOB=LIST\n"
      "                           report none of the kinds of LIST in the files\n"
      "                           GLOB matches (repeatable)\n"
      "  --baseline FILE          leave out the findings that FILE (a json or sarif\n"
      "                           report of an earlier run) holds: same file, kind\n"
      "                           and source text, wherever the line moved\n"
      "  --write-baseline FILE    write every finding of this run to FILE as a\n"
      "                           baseline (sarif when FILE ends in .sarif, json\n"
      "                           otherwise)\n"
      "  -q, --quiet              print the findings only: no progress, notes or\n"
      "                           final count\n"
      "  -h, --help               show this help and stop\n"
      "  --version                show the version and stop\n"
      "\n"
      "Project file:\n"
      "  --config FILE            read the project file FILE\n"
      "  --no-config              read no project file\n"
      "Without them, the first .flawseek.toml in ROOT's directory or a directory\n"
      "above it is read. Its keys are the long options' names without \"--\":\n"
      "true or false for a switch, a string for a value, an array of strings for\n"
      "a list (style = [\"bad_keyword\", \"no_goto_statements\"]). Relative file\n"
      "names are taken from the file's directory. The command line wins: an\n"
      "option given there replaces the file's key.\n"
      "\n"
      "Style kinds:\n";
  for (int position = 0; position < selectable_style_kind_count; ++position) {
    const auto kind = static_cast<StyleKind>(position);
    std::string line = "  " + std::string(image(kind));
    line.resize(40, ' ');
    text += line + rule_descriptor(kind).label() + "\n";
  }
  text +=
      "A kind may also be written as its id: style/bad-keyword (see --list-rules).\n"
      "The kinds from LINE_TOO_LONG on are extended kinds: naming one switches the\n"
      "extended style kinds on with the USER rule book unless --style-set says otherwise.\n"
      "\n"
      "Progress (on a terminal) and the final count go to standard error. Ctrl-C\n"
      "stops the search and still writes what was found; a second Ctrl-C ends the\n"
      "program at once.\n"
      "\n"
      "Exit status: 0 when nothing was found, 1 when there are findings (of the\n"
      "kinds --fail-on names, and not in the --baseline) or a file was checked\n"
      "only up to a line too long to analyse, 2 for a usage error, a\n"
      "ROOT or reference path that names nothing, a file name or pattern that\n"
      "matches no Ada source, a project file or baseline that cannot be read, or\n"
      "a report that cannot be written, 3 when the search failed (see --log), 130\n"
      "when the search was stopped by Ctrl-C.\n";
  return text;
}

}  // namespace flawseek
