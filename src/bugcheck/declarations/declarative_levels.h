// The declarative levels of the check pass: 31 nesting levels (0 is the
// library level of the file), each with a pending list and the folded names per
// category of declaration, the flag that stops recording in a private part,
// and the task entries and entry-call state of the level.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "bugcheck/declarations/declaration_lists.h"
#include "bugcheck/declarations/folded_name_index.h"
#include "bugcheck/declarations/name_filter.h"
#include "bugcheck/declarations/pending_names.h"

namespace flawseek {

// What a declaration declares, as the unused rules tell them apart.
enum class DeclarationGroup : std::uint8_t { OBJECT, TYPE, EXCEPTION };
inline constexpr int declaration_group_count = 3;

inline constexpr int max_declarative_level = 30;

// Where a body of interest to the entry-call rule stands.
enum class EntryCallState : std::uint8_t { OUTSIDE = 0, DECLARATIONS = 1, STATEMENTS = 2 };

struct DeclarativeLevel {
  // Declared here and not yet used.
  std::array<PendingNames, declaration_group_count> pending;
  // The number (in the index of declared names) of every name declared
  // here: what closing the level takes out of that index.
  std::array<std::vector<std::uint32_t>, declaration_group_count> entered;
  // Set in the private part of a package specification: what is declared
  // there is for the body and the children, which this check may not see.
  bool not_recorded = false;
  EntryList entries;
  EntryCallState entry_state = EntryCallState::OUTSIDE;
};

class DeclarativeLevels {
 public:
  // A new check of a single file or pair: level 0, every list empty.
  void reset();
  // A new file of the same check: the levels a file abandoned half-way
  // (syntax error) left open are dropped unreported; level 0 stays.
  void drop_open_levels();

  int current() const noexcept { return current_; }
  DeclarativeLevel& at(int level) noexcept { return levels_[static_cast<std::size_t>(level)]; }
  DeclarativeLevel& current_level() noexcept { return at(current_); }

  // A scope opens: one level deeper (at the deepest level the level stays),
  // the new level recording again.
  void open();
  // The lists of the current level are emptied, then the level drops by one.
  void close();

  // Enters a declaration at the current level: into the all-names list and,
  // when `pending`, into the pending list. Nothing when the level does not record.
  void enter(DeclarationGroup group, const NameItem& item, bool pending);

  // The levels whose all-names list of `group` holds `name`, one bit a
  // level (level 0 the lowest bit): the name is looked up once for all.
  std::uint32_t levels_holding(DeclarationGroup group, std::string_view name) const noexcept;
  // Whether the all-names list of `group` at `level` holds `name`.
  bool holds(int level, DeclarationGroup group, std::string_view name) const noexcept {
    return ((levels_holding(group, name) >> level) & 1u) != 0;
  }
  // The name is used: at the innermost level that declares it in `group`,
  // it is no longer pending (every view of it, so the incomplete and the
  // full declaration of a type go together).
  void use(DeclarationGroup group, std::string_view name);
  // Every group of `groups` (bits by DeclarationGroup) at once, with one
  // look-up of the name. Inline up to the filter, which passes over most
  // uses: the names of other units and of library-level declarations.
  void use(unsigned groups, std::string_view name) {
    if (!name.empty() && may_have_been_entered(name)) use_entered(groups, name);
  }

 private:
  // The levels whose all-names list of each group holds a name, one bit a
  // level: a use finds its level with one look-up, whatever the nesting.
  using LevelMasks = std::array<std::uint32_t, declaration_group_count>;

  void use_entered(unsigned groups, std::string_view name);
  void forget(int level, std::size_t group, const std::vector<std::uint32_t>& numbers);

  std::array<DeclarativeLevel, max_declarative_level + 1> levels_;
  int current_ = 0;
  // The deepest level opened since the last reset: it and the levels below
  // it are the only ones a reset has to empty.
  int deepest_ = 0;
  // Every name entered in this check, and its levels by the name's number.
  // A name whose levels have all closed keeps its number (with no levels
  // left): it is likely to be declared again.
  FoldedNameIndex declared_;
  std::vector<LevelMasks> levels_of_;
  // Every name entered in this check, so most uses (names no local
  // declaration has) are passed over without being folded or hashed.
  NameFilter entered_filter_;
  bool may_have_been_entered(std::string_view name) const noexcept { return entered_filter_.may_hold(name); }
};

}  // namespace flawseek
