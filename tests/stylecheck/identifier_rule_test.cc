// The identifier step as another parser instance owns it: a survey-like
// instance that collects the names drawing an identifier complaint under a
// forced Mixed rule, with accepted spellings, across a specification and body.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frontend/ada_line_reader.h"
#include "frontend/ada_parser.h"
#include "stylecheck/identifier_rule.h"

namespace flawseek {
namespace {

struct CollectingHooks : EmptyHooks {
  IdentifierRule identifiers;
  std::vector<std::string> badly_spelled;  // names that drew message 1
  std::vector<std::string> package_spellings;  // places that drew message 15
  std::vector<int> not_portable;  // lines that drew message 8, once per message

  void parse_started(ParserState&) { identifiers.parse_started(); }
  void empty_unit_collections(ParserState&) { identifiers.empty_unit_collections(); }
  void identifier_accepted(ParserState& state) { identifiers.on_identifier(state); }
  void keyword_accepted(ParserState& state, AdaKeyword keyword) { identifiers.on_keyword(state, keyword); }
  void with_clause_name(ParserState&, std::string_view name) { identifiers.on_with_clause_name(name); }
  void unit_defined(ParserState&, std::string_view name, UnitKind kind) { identifiers.on_unit_defined(name, kind); }
  void message(ParserState& state, ParserMessage message, std::string_view) {
    const std::string place = std::to_string(state.item_line()) + ":" + std::to_string(state.item_column());
    if (message == ParserMessage::IDENTIFIER_SPELLING) badly_spelled.push_back(place);
    if (message == ParserMessage::PACKAGE_NAME_SPELLING) package_spellings.push_back(std::string(state.token_text()));
    if (message == ParserMessage::CHARACTER_NOT_PORTABLE) not_portable.push_back(state.token_line());
  }
};

StyleRules forced_mixed() {
  StyleRules rules;
  rules.identifier_case = CaseConvention::Mixed;
  rules.package_name_on = true;
  return rules;
}

void parse(AdaParser<CollectingHooks>& parser, FileRole role, const StyleRules& rules, const char* text) {
  AdaLineReader reader;
  reader.set_text(text);
  parser.parse(role, rules, true, reader, false);
}

TEST(IdentifierRule, EveryCharacterAbove127IsFoundWhateverTheNameLengthAndPlace) {
  // Names are tested several characters at a time: a Latin-1 letter at any
  // place of a name of any length up to three words must be found, and a
  // plain name of any length must pass.
  std::string text = "procedure P is\n";
  std::vector<int> expected;
  int line = 2;
  for (std::size_t length = 1; length <= 26; ++length) {
    text += "   " + std::string(length, 'A') + " : Integer;\n";
    ++line;
    for (std::size_t place = 0; place < length; ++place) {
      std::string name(length, 'B');
      name[place] = '\xC9';  // an upper-case E with acute accent
      text += "   " + name + " : Integer;\n";
      expected.push_back(line++);
    }
  }
  text += "begin\n   null;\nend P;\n";
  CollectingHooks hooks;
  AdaParser<CollectingHooks> parser(hooks);
  StyleRules rules;
  rules.portable_characters_on = true;
  parse(parser, FileRole::SINGLE_FILE, rules, text.c_str());
  EXPECT_EQ(hooks.not_portable, expected);
}

TEST(IdentifierRule, UnderMixedEveryCharacterAbove127IsFoundBesideTheCaseVerdict) {
  // Under the Mixed rule one run over a name gives both answers: a Latin-1
  // letter at any place of a name must be found whether the name passes the
  // rule (upper-case letters after a capital) or fails it (a lower-case
  // start), and it must not change the case verdict.
  std::string text = "procedure P is\n";
  std::vector<int> expected_portable;
  std::vector<std::string> expected_spelling;
  int line = 2;
  for (std::size_t length = 1; length <= 26; ++length) {
    for (std::size_t place = 0; place < length; ++place) {
      std::string passing(length, 'B');
      passing[place] = '\xC9';  // an upper-case E with acute accent
      text += "   " + passing + " : Integer;\n";
      expected_portable.push_back(line++);
      std::string failing(length, 'b');
      failing[place] = '\xE9';  // its lower-case form
      text += "   " + failing + " : Integer;\n";
      expected_portable.push_back(line);
      expected_spelling.push_back(std::to_string(line++) + ":4");
    }
  }
  text += "begin\n   null;\nend P;\n";
  CollectingHooks hooks;
  AdaParser<CollectingHooks> parser(hooks);
  StyleRules rules = forced_mixed();
  rules.portable_characters_on = true;
  parse(parser, FileRole::SINGLE_FILE, rules, text.c_str());
  EXPECT_EQ(hooks.not_portable, expected_portable);
  EXPECT_EQ(hooks.badly_spelled, expected_spelling);
}

TEST(IdentifierRule, AcceptedSpellingsPassMixedExactlyAsSpelled) {
  CollectingHooks hooks;
  AcceptedSpellings accepted;
  accepted.add("Foo_bar");
  hooks.identifiers.set_accepted_spellings(&accepted);
  AdaParser<CollectingHooks> parser(hooks);
  parse(parser, FileRole::SINGLE_FILE, forced_mixed(),
        "procedure P is\n"
        "   Foo_bar, foo_bar, Baz_qux : Integer;\n"
        "   X_any_thing : Integer;\n"
        "begin\n"
        "   Foo_bar := 1;\n"
        "end P;\n");
  EXPECT_EQ(hooks.badly_spelled, (std::vector<std::string>{"2:13", "2:22"}));

  // Without the set the same spelling is an ordinary failure.
  hooks.badly_spelled.clear();
  hooks.identifiers.set_accepted_spellings(nullptr);
  parse(parser, FileRole::SINGLE_FILE, forced_mixed(), "procedure P is begin Foo_bar := 1; end P;");
  EXPECT_EQ(hooks.badly_spelled, (std::vector<std::string>{"1:22"}));

  // An empty set exempts nothing either.
  hooks.badly_spelled.clear();
  const AcceptedSpellings none;
  hooks.identifiers.set_accepted_spellings(&none);
  parse(parser, FileRole::SINGLE_FILE, forced_mixed(), "procedure P is begin Foo_bar := 1; end P;");
  EXPECT_EQ(hooks.badly_spelled, (std::vector<std::string>{"1:22"}));
}

TEST(IdentifierRule, BooleanLiteralsInAnyCaseButUpperDrawTheUpperCaseComplaint) {
  StyleRules rules;
  rules.upper_case_names_on = true;
  const auto complaint_for = [&rules](const std::string& name) {
    ParserMessage complaint{};
    return name_spelling_complaint(rules, name, nullptr, complaint) ? static_cast<int>(complaint) : -1;
  };
  const int not_upper = static_cast<int>(ParserMessage::NOT_UPPER_CASE);
  // Every spelling of the two literals: only the upper-case one passes.
  for (const std::string word : {"TRUE", "FALSE"}) {
    for (unsigned lowered = 0; lowered < (1u << word.size()); ++lowered) {
      std::string name = word;
      for (std::size_t i = 0; i < name.size(); ++i) {
        if ((lowered >> i & 1u) != 0) name[i] = static_cast<char>(name[i] + ('a' - 'A'));
      }
      EXPECT_EQ(complaint_for(name), lowered == 0 ? -1 : not_upper) << name;
    }
  }
  // Names that only look like them are no literals: with no case rule, they pass.
  for (const char* name : {"Tru", "Trues", "Trve", "F@lse", "Fals_", "Falsy", "\xD4rue", "_rue"}) {
    EXPECT_EQ(complaint_for(name), -1) << name;
  }
}

TEST(IdentifierRule, PackageNamesLastFromSpecificationToBodyOnly) {
  CollectingHooks hooks;
  AdaParser<CollectingHooks> parser(hooks);
  parse(parser, FileRole::PAIR_SPECIFICATION, forced_mixed(), "with IO; package P is end P;");
  parse(parser, FileRole::PAIR_BODY, forced_mixed(),
        "package body P is procedure Q is begin Io.Put; IO.Put; end Q; end P;");
  EXPECT_EQ(hooks.package_spellings, (std::vector<std::string>{"."}));
  EXPECT_EQ(hooks.identifiers.package_names(), (std::vector<std::string>{"IO"}));
  // A new unit starts with an empty list: the prefix is an ordinary name then.
  parse(parser, FileRole::SINGLE_FILE, forced_mixed(), "procedure Q is begin Io.Put; end Q;");
  EXPECT_TRUE(hooks.identifiers.package_names().empty());
  EXPECT_EQ(hooks.package_spellings.size(), 1U);
}

TEST(IdentifierRule, InstanceNamesAreJudgedOnceTheDeclarationShowsItsKind) {
  CollectingHooks hooks;
  AdaParser<CollectingHooks> parser(hooks);
  StyleRules rules = forced_mixed();
  rules.instance_names_exempt = true;
  parse(parser, FileRole::PAIR_SPECIFICATION, rules,
        "package P is\n"
        "   package lower_renaming renames Q;\n"
        "   package lower_instance is new G (Integer);\n"
        "   package lower_nested is end lower_nested;\n"
        "end P;\n");
  // The nested package's name at its declaration, then again after END.
  EXPECT_EQ(hooks.badly_spelled, (std::vector<std::string>{"4:12", "4:32"}));
  EXPECT_EQ(hooks.identifiers.package_names(),
            (std::vector<std::string>{"lower_renaming", "lower_instance"}));
}

}  // namespace
}  // namespace flawseek
