// The subtype-mark step of the prefix rules: the predefined type names are
// told apart from other marks by length and first letter before they are
// compared, so every one of them, in any letter case, must still be found,
// and a mark one character away from one must still be judged as any other.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frontend/ada_line_reader.h"
#include "frontend/ada_parser.h"
#include "stylecheck/declaration_prefix_rule.h"

namespace flawseek {
namespace {

struct MarkHooks : EmptyHooks {
  DeclarationPrefixRule prefixes;
  std::vector<std::string> complaints;  // "line:U" for NOT_UPPER_CASE, "line:P" for PREFIX_MISSING, "line:N" else

  void parse_started(ParserState&) { prefixes.parse_started(); }
  void subtype_mark(ParserState& state, std::string_view name) { prefixes.on_subtype_mark(state, name); }
  void message(ParserState& state, ParserMessage message, std::string_view) {
    const std::string line = std::to_string(state.item_line());
    if (message == ParserMessage::NOT_UPPER_CASE) complaints.push_back(line + ":U");
    if (message == ParserMessage::PREFIX_MISSING) complaints.push_back(line + ":P");
    if (message != ParserMessage::NOT_UPPER_CASE && message != ParserMessage::PREFIX_MISSING) complaints.push_back(line + ":N");
  }
};

std::vector<std::string> complaints_for(const std::vector<std::string>& marks) {
  std::string text = "procedure P is\n";
  for (const std::string& mark : marks) text += "   X_V : " + mark + ";\n";
  text += "begin\n   null;\nend P;\n";
  MarkHooks hooks;
  AdaParser<MarkHooks> parser(hooks);
  StyleRules rules;
  rules.upper_case_names_on = true;
  // The type slots a mark may carry; none of the marks below carries one.
  for (const int slot : {3, 4, 5, 6, 7}) rules.prefix_slots[slot] = {'T', false};
  AdaLineReader reader;
  reader.set_text(text);
  parser.parse(FileRole::SINGLE_FILE, rules, true, reader, false);
  return hooks.complaints;
}

TEST(DeclarationPrefixRule, EveryPredefinedTypeNameIsFoundInAnyCaseAndNoNearMiss) {
  const std::vector<std::string> names = {"BOOLEAN",  "CHARACTER",     "DURATION", "FLOAT",          "INTEGER",
                                          "LONG_FLOAT", "LONG_INTEGER", "NATURAL", "POSITIVE",      "SHORT_INTEGER",
                                          "STRING",   "WIDE_CHARACTER", "WIDE_STRING"};
  std::vector<std::string> marks;
  std::vector<std::string> expected;
  int line = 2;
  for (const std::string& name : names) {
    // Written as declared: no complaint.
    marks.push_back(name);
    ++line;
    // In mixed case: the upper case is asked for, never a prefix.
    std::string mixed = name;
    for (std::size_t i = 1; i < mixed.size(); ++i) {
      if (mixed[i] != '_' && mixed[i - 1] != '_') mixed[i] = static_cast<char>(mixed[i] | 0x20);
    }
    marks.push_back(mixed);
    expected.push_back(std::to_string(line++) + ":U");
    // One character changed (the last, or the underscore): an ordinary mark
    // that lacks its prefix.
    std::string near = mixed;
    const std::size_t underscore = near.find('_');
    near[underscore == std::string::npos ? near.size() - 1 : underscore] = 'Q';
    marks.push_back(near);
    expected.push_back(std::to_string(line++) + ":P");
  }
  EXPECT_EQ(complaints_for(marks), expected);
}

// Only simple marks are judged, though a dotted mark is looked for dots only
// when it would be reported.
TEST(DeclarationPrefixRule, DottedMarksAreNeverJudged) {
  EXPECT_EQ(complaints_for({"Pkg.Lower_Mark", "Pkg.T_Mark", "Standard.integer", "Lower_Mark"}),
            (std::vector<std::string>{"5:P"}));
}

// Settings that pass every mark end the step early, but only while they are
// in force: the next parse brings its own settings, which must be judged anew.
TEST(DeclarationPrefixRule, TheNextParseJudgesMarksUnderItsOwnSettings) {
  MarkHooks hooks;
  AdaParser<MarkHooks> parser(hooks);
  const char* const text = "procedure P is\n   X_V : Mark;\nbegin\n   null;\nend P;\n";
  StyleRules prefixed;
  for (const int slot : {3, 4, 5, 6, 7}) prefixed.prefix_slots[slot] = {'T', false};
  for (const StyleRules& rules : {StyleRules{}, prefixed}) {
    AdaLineReader reader;
    reader.set_text(text);
    parser.parse(FileRole::SINGLE_FILE, rules, true, reader, false);
  }
  EXPECT_EQ(hooks.complaints, (std::vector<std::string>{"2:P"}));
}

// What the type slots say about marks is worked out once per settings: each
// parse's own prefixes, and its own blank slot, must decide its marks.
TEST(DeclarationPrefixRule, EachParseTriesMarksAgainstItsOwnTypePrefixes) {
  MarkHooks hooks;
  AdaParser<MarkHooks> parser(hooks);
  const char* const text = "procedure P is\n   X_V : T_Mark;\n   X_W : Q_Mark;\nbegin\n   null;\nend P;\n";
  StyleRules with_t;
  for (const int slot : {3, 4, 5, 6, 7}) with_t.prefix_slots[slot] = {'T', false};
  StyleRules with_q;
  for (const int slot : {3, 4, 5, 6, 7}) with_q.prefix_slots[slot] = {'Q', false};
  // The other-type slot is tried first; the blank access slot after it ends
  // the search and asks for upper case.
  StyleRules blank_after_t;
  blank_after_t.prefix_slots[7] = {'T', false};
  blank_after_t.prefix_slots[3] = {' ', true};
  std::vector<std::string> seen;
  for (const StyleRules& rules : {with_t, with_q, blank_after_t}) {
    hooks.complaints.clear();
    AdaLineReader reader;
    reader.set_text(text);
    parser.parse(FileRole::SINGLE_FILE, rules, true, reader, false);
    std::string joined;
    for (const std::string& complaint : hooks.complaints) joined += complaint + " ";
    seen.push_back(joined);
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"3:P ", "2:P ", "3:U "}));
}

}  // namespace
}  // namespace flawseek
