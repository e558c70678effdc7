// The help page's text.
#include "help_page.h"

#include <string_view>

#include "findings/rule_descriptor.h"
#include "output/rule_catalog.h"
#include "platform/environment.h"

namespace flawseek {

namespace {

std::string escaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c; break;
    }
  }
  return out;
}

// How to use the window; the words in quotes are the window's own.
constexpr std::string_view usage_part =
    "<h3>Using the window</h3>"
    "<ul>"
    "<li>Type the root of an Ada source tree in <b>Look in:</b> (a directory, or a directory and a file pattern "
    "such as <tt>src/*.adb</tt>) and press <b>Search</b>, Enter or F5. <b>Stop</b> or Esc ends a search; the "
    "findings found so far stay.</li>"
    "<li>The findings arrive in a tree by kind and file while the search goes on; the status line gives the "
    "count at the end.</li>"
    "<li><b>View &gt; Findings Table</b> shows them as a table instead: a click on a heading sorts by it, "
    "the box above narrows the rows as you type (every word must appear in the kind, its id or family, the "
    "file, the message or the source), the list beside it groups them by kind or by file. Below the table, "
    "the selected finding's detail: its message, the source around it and what the rule is for.</li>"
    "<li>Double-click a finding, or press Enter on it, to open its file in your editor at its line and column. "
    "<b>Options &gt; Editor...</b> sets the editor's command; without one the desktop's default application "
    "opens the file.</li>"
    "<li>The <b>Options</b> menu sets how the sources are read (GNAT extensions, the preparation phase, "
    "read-only files, subfolders, the Ada version), the <b>Style</b> menu which style kinds and which rule "
    "book are checked. They and <b>View</b> are greyed while a search runs. The job is saved when a search starts; "
    "<tt>flawseek --settings</tt> runs the same job from the command line.</li>"
    "<li><b>File &gt; Save As...</b> writes the findings as a CSV table, a plain-text report, a JSON "
    "document or a SARIF log, as the name's extension or the chosen file type says.</li>"
    "<li>In the sources, <tt>--&gt;NP: checked above</tt> on a finding's line suppresses it (each bug kind "
    "has its mark, below), and <tt>--&gt;STYLE: TAVIK</tt> selects a file's coding standard. "
    "<tt>flawseek --explain ID</tt> says more about a rule.</li>"
    "</ul>"
    "<h3>Keys</h3>"
    "<table cellpadding=\"2\">"
    "<tr><td>Enter (in <b>Look in:</b>), F5</td><td>search</td></tr>"
    "<tr><td>Esc</td><td>stop the search</td></tr>"
    "<tr><td>Enter (on a finding)</td><td>open it in the editor</td></tr>"
    "<tr><td>Ctrl+C (in the table)</td><td>copy the selected findings as GNU lines</td></tr>"
    "<tr><td>Ctrl+S</td><td>Save As...</td></tr>"
    "<tr><td>Ctrl+Q</td><td>close the window</td></tr>"
    "<tr><td>F1</td><td>this help</td></tr>"
    "</table>";

}  // namespace

std::string help_page_html() {
  std::string page = "<h2>" + escaped(product_name()) + " " + escaped(product_version()) + "</h2>";
  page += usage_part;
  page += "<h3>The rules</h3>";
  // The explanations take the room: the other columns are a word or two.
  page += "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\">";
  page += "<tr><th>Id</th><th>Label</th><th>Family</th><th width=\"60%\">What it detects</th><th>Mended by --fix</th>"
          "<th>Suppressed by</th></tr>";
  for (const RuleDescriptor& rule : rule_descriptors) {
    const std::optional<std::string> mark = suppression_mark_text(rule.kind);
    page += "<tr><td><tt>" + escaped(rule.id) + "</tt></td><td>" + escaped(rule.label()) + "</td><td>" +
            escaped(rule.family()) + "</td><td>" + escaped(rule.detects) + "</td><td>" +
            (rule.fixable ? "yes" : "no") + "</td><td>" + (mark ? "<tt>" + escaped(*mark) + "</tt>" : "-") +
            "</td></tr>";
  }
  page += "</table>";
  return page;
}

}  // namespace flawseek
