// The identifier step of the style checks: the spelling tests every name the
// parser reads goes through, shared by every parser instance that judges names.
//
// Detects, for each identifier the parser accepts: characters above code 127
// (CHARACTER_NOT_PORTABLE, message 8, once per name); a package prefix spelled unlike the
// package's own name in this file (INCONSISTENT_PACKAGE_NAME, 15); a name
// whose naming prefix asks for upper case, or a Boolean literal, not written
// in upper case (NOT_UPPERCASE, 18); and a name against the identifier case
// (BAD_IDENTIFIER, 1). The package-name list (withed simple names, package
// renamings and instantiations) lives here; it is emptied with the unit's
// collections, so the body of a pair keeps its specification's list. Names of
// package renamings and instantiations are judged only once the parser shows
// what the declaration is, since the rules may exempt them.
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "frontend/ada_tokens.h"
#include "frontend/parser_hooks.h"
#include "style/accepted_spellings.h"
#include "style/style_rules.h"

namespace flawseek {

// Whether the rules read `name` in its "_class" form: its naming prefix is the
// access-to-object slot's (no earlier slot claims its first character), the
// class-wide naming rules are on, and it ends in "_class" after at least one
// more character than the prefix.
bool has_class_suffix(const StyleRules& rules, std::string_view name) noexcept;
inline constexpr std::string_view class_suffix = "_class";

// Whether the rules give the identifier step anything to report. With none
// of them (the Default rules), a name in prefix form finds no slot (every
// prefix is blank) and the case test is Any's, which passes everything.
inline bool identifier_rules_may_complain(const StyleRules& rules) noexcept {
  if (rules.portable_characters_on || rules.package_name_on || rules.upper_case_names_on ||
      rules.identifier_case != CaseConvention::Any) {
    return true;
  }
  // The slots as two words against blank slots: one comparison each, where
  // comparing slot by slot took sixteen branches.
  static_assert(sizeof(PrefixSlots) == 2 * sizeof(std::uint64_t));
  static constexpr PrefixSlots blank_slots{};
  using Words = std::array<std::uint64_t, 2>;
  const Words slots = std::bit_cast<Words>(rules.prefix_slots);
  constexpr Words blank = std::bit_cast<Words>(blank_slots);
  return ((slots[0] ^ blank[0]) | (slots[1] ^ blank[1])) != 0;
}

// The upper-case and case tests of one name (not the package-name list):
// true, with the message due, when `name` fails one.
bool name_spelling_complaint(const StyleRules& rules, std::string_view name,
                             const AcceptedSpellings* accepted, ParserMessage& complaint);
// The same, reported through `state` at the token consumed last.
void check_name_spelling(ParserState& state, std::string_view name,
                         const AcceptedSpellings* accepted);

class IdentifierRule {
 public:
  // The spellings that pass the Mixed rule although they fail it (taken from
  // the specifications the file withs); null for none. Not owned.
  void set_accepted_spellings(const AcceptedSpellings* spellings) noexcept { accepted_ = spellings; }
  const AcceptedSpellings* accepted_spellings() const noexcept { return accepted_; }

  // At every parse start: a name left undecided by an abandoned parse goes,
  // and settings found able to complain are asked about again (the new
  // parse's style version tells the step they are new).
  void parse_started() noexcept {
    waiting_ = Waiting{};
    quiet_ = true;
  }
  // At the start of a parse whose file does not continue a specification.
  void empty_unit_collections() noexcept { package_names_.clear(); }

  // The identifier step: the previous token of `state` is the name just read,
  // the current token what follows it. A run without any identifier rule has
  // nothing to do here once no name waits for judgement and no pragma name is
  // due: that is decided inline, before the call, from what the step found
  // out about the settings when they last changed.
  void on_identifier(ParserState& state) {
    if (quiet_ && nothing_waits() && judged_version_ == state.style_version()) return;
    judge_identifier(state);
  }
  // Every accepted reserved word: it tells whether the name after PACKAGE is
  // a renaming's or instantiation's. Most words find no name waiting and
  // are no PACKAGE: that is decided inline. The check hooks hand on only the
  // words their keyword list names, and every word while this asks for it.
  // Whether the keyword step must see every word now, not only PACKAGE and
  // PRAGMA: a package name waits, or a pragma's name is due and any word
  // ends the wait.
  bool follows_every_keyword() const noexcept { return !nothing_waits(); }
  // The words on_keyword acts on; while a package name waits it follows
  // every word (follows_every_keyword).
  static constexpr AdaKeywords keywords_acted_on{AdaKeyword::KEYWORD_PACKAGE, AdaKeyword::KEYWORD_PRAGMA};
  void on_keyword(ParserState& state, AdaKeyword keyword) {
    waiting_.pragma_name = keyword == AdaKeyword::KEYWORD_PRAGMA;
    if (waiting_.package_name == Pending::NONE && keyword != AdaKeyword::KEYWORD_PACKAGE) return;
    follow_package_name(state, keyword);
  }
  void on_with_clause_name(std::string_view name);
  void on_unit_defined(std::string_view name, UnitKind kind);

  const std::vector<std::string>& package_names() const noexcept { return package_names_; }
  // The spelling the file gives the package whose prefix PACKAGE_NAME_SPELLING
  // is being reported about: what a fix respells the prefix to.
  std::string_view package_spelling() const noexcept { return package_spelling_; }

 private:
  // The name after PACKAGE while the rules exempt instance names and the
  // parser has not yet shown what follows it.
  enum class Pending : std::uint8_t { NONE, PACKAGE_KEYWORD, NAME, AFTER_IS };

  void judge_identifier(ParserState& state);
  // Everything but the usual name under the Mixed rule.
  [[gnu::noinline]] void judge_other_identifier(ParserState& state);
  bool judged_as_usual_mixed_name(ParserState& state, const StyleRules& rules);
  void judge_usual_mixed_name(ParserState& state, std::string_view name);
  [[gnu::noinline]] void report_usual_mixed_name(ParserState& state, std::string_view name, bool high_byte, bool failed);
  [[gnu::noinline]] void judge_settings(const ParserState& state) noexcept;
  // The keyword step while a package name waits or PACKAGE is read.
  void follow_package_name(ParserState& state, AdaKeyword keyword);
  // The rare turns of the identifier step, kept out of line so the usual
  // one saves few registers.
  [[gnu::noinline]] static void report_characters_not_portable(ParserState& state);
  [[gnu::noinline]] void hold_package_name(ParserState& state);
  void add_package_name(std::string_view name);
  void judge_pending(ParserState& state);
  // The package-name list's verdict on a prefix: true when it decided.
  bool judged_as_package_prefix(ParserState& state, std::string_view name);

  const AcceptedSpellings* accepted_ = nullptr;
  std::vector<std::string> package_names_;
  std::string package_spelling_;
  std::string pending_name_;
  std::string pending_text_;
  int pending_line_ = 0;
  int pending_column_ = 0;
  // What waits for a later token: the name after PACKAGE, and a pragma's
  // name after PRAGMA. Both lie in one 16-bit word, so the usual name asks
  // one question of them.
  struct Waiting {
    Pending package_name = Pending::NONE;
    bool pragma_name = false;
  };
  Waiting waiting_;
  bool nothing_waits() const noexcept {
    static_assert(sizeof(Waiting) == sizeof(std::uint16_t) && static_cast<int>(Pending::NONE) == 0);
    return std::bit_cast<std::uint16_t>(waiting_) == 0;
  }
  // Whether the settings of style version `judged_version_` (0: none yet)
  // give the step nothing to report (identifier_rules_may_complain is false
  // for them). Settings found to report something are not asked again until
  // the next parse: they seldom turn quiet within a file, and the whole step
  // is right under any settings.
  std::uint32_t judged_version_ = 0;
  bool quiet_ = true;
};

}  // namespace flawseek
