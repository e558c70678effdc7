// The declarative levels of the check pass: 31 nesting levels (0 is the
// library level of the file), each with a pending and an all-names list per
// category of declaration, the flag that stops recording in a private part,
// and the task entries and entry-call state of the level.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "bugcheck/declarations/declaration_lists.h"

namespace flawseek {

// What a declaration declares, as the unused rules tell them apart.
enum class DeclarationGroup : std::uint8_t { OBJECT, TYPE, EXCEPTION };
inline constexpr int declaration_group_count = 3;

inline constexpr int max_declarative_level = 30;

// Where a body of interest to the entry-call rule stands.
enum class EntryCallState : std::uint8_t { OUTSIDE = 0, DECLARATIONS = 1, STATEMENTS = 2 };

struct DeclarativeLevel {
  // Declared here and not yet used; every name declared here.
  std::array<NameList, declaration_group_count> pending;
  std::array<NameList, declaration_group_count> all_names;
  // The folded names of all_names, so a use finds its level without a walk.
  std::array<FoldedNameSet, declaration_group_count> all_names_index;
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

  // Whether the all-names list of `group` at `level` holds `name`.
  bool holds(int level, DeclarationGroup group, std::string_view name);
  // The name is used: at the innermost level that declares it in `group`,
  // it is no longer pending (every view of it, so the incomplete and the
  // full declaration of a type go together).
  void use(DeclarationGroup group, std::string_view name);
  // Whether any level declares the name in any group (a fast test that
  // spares the walk for the many names no local declaration has).
  bool maybe_declared(std::string_view name);

 private:
  void forget(const NameList& names);

  std::array<DeclarativeLevel, max_declarative_level + 1> levels_;
  int current_ = 0;
  // Folded name -> how many all-names items carry it, over all levels.
  std::unordered_map<std::string, std::int32_t> declared_;
  std::string folded_;
};

}  // namespace flawseek
