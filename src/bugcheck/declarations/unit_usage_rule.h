// UNUSED_UNIT: with'ed units and locally declared program units that a
// specification and body pair never names. A with clause of the
// specification counts as used when either file names the unit; a with
// clause of the body, or a program unit only the body declares, must be
// named in the body. Units named like a box-default generic formal
// subprogram of the tree are never reported: an instance may call them
// without naming them; nor are operators and the Initialize, Finalize and
// Adjust of controlled types, which are called without their names, nor the
// primitives of derived tagged types (see dispatching_operations.h), which
// are called by dispatching through a parent's name, nor what a body stub
// sees (its subunit may use it). Single files draw no finding. A local
// unit's finding says it is never called, a with's that the unit is never
// used.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "bugcheck/check_reporter.h"
#include "bugcheck/declarations/declaration_lists.h"
#include "bugcheck/declarations/folded_name_index.h"
#include "bugcheck/declarations/name_filter.h"
#include "frontend/parser_hooks.h"
#include "platform/text_list.h"

namespace flawseek {

class UnitUsageRule {
 public:
  explicit UnitUsageRule(const TextList& box_default_names) : box_default_names_(box_default_names) {}

  // A new check of a single file or pair.
  void reset_check();
  // A new file of the check: no units, no withs, "System" used.
  void reset_file();

  // A defining unit name at `at` (its last identifier), with its line's
  // text; `dispatched` when it may be called by dispatching, unnamed.
  void unit_defined(std::string_view name, UnitKind kind, SourcePosition at, std::string_view text, bool dispatched);
  void with_clause_name(const ParserState& state, std::string_view name);
  // A body stub: its subunit, which this check does not see, may name every
  // unit declared so far and every unit the withs before it name.
  void body_stub_declared() { used_.assign(used_.size(), true); }
  // Every name the file uses, whatever its place.
  void name_used(const DottedName& name) {
    if (!name.one_identifier()) {
      remember_used(name);
    } else if (!name.text.empty() && candidate_filter_.may_hold(name.text)) {
      mark_used(name.text);
    }
  }

  void after_specification();
  void after_body(CheckReporter& reporter);
  void after_pair(CheckReporter& reporter);

 private:
  void remember_used(const DottedName& name);
  void mark_used(std::string_view name);
  void add_candidate(std::string_view name, bool used);
  bool is_used(std::string_view name);
  bool is_used_with(std::string_view name);
  void report(const NameList& units, bool local, CheckReporter& reporter);

  const TextList& box_default_names_;
  // The units this file declares, in order: the first declared_unit_count_
  // items. The items stay from file to file, so a unit's texts are copied
  // into strings that already have room.
  std::span<const NameItem> declared_units() const noexcept { return {declared_units_.data(), declared_unit_count_}; }
  std::vector<NameItem> declared_units_;
  std::size_t declared_unit_count_ = 0;
  FoldedNameIndex declared_units_index_;  // the names of declared_units()
  NameList with_units_;
  // The names of the specification's declared units: a body's unit of the
  // same name completes it, and is judged with the pair. Only the names
  // count, and the index keeps its storage from pair to pair.
  FoldedNameIndex spec_declared_names_;
  NameList spec_unused_withs_;
  // Used_Names, kept only for the names it is asked about: the file's with'ed
  // units (whole and by their last identifier), its declared units, and in a
  // body the specification's unused withs -- all known before their uses,
  // since context clauses come first and Ada declares before it uses. Every
  // prefix and every identifier of a used name counts, so "Ada.Text_IO.Put"
  // uses a with of Ada.Text_IO and a local unit named by an expanded name is
  // found. Each name's number in the index is its place in used_. The
  // index ignores letter case, and clearing it for the next file costs
  // nothing however large an earlier file made it.
  FoldedNameIndex candidates_;
  std::vector<bool> used_;
  // The candidates by length and first and last letters, so most used
  // names are passed over without being folded or hashed.
  NameFilter candidate_filter_;
};

}  // namespace flawseek
