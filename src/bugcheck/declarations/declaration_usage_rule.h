// UNUSED_DECLARATION and EXCEPTION_NOT_RAISED: objects, types and exceptions
// declared in a scope and never used (an exception never raised: a handler
// does not raise) before the scope ends. What a library-level specification
// declares is for clients and is never reported: not its objects and types,
// nor its exceptions, which any client or child unit may raise -- one
// outside the searched tree too, so no search of the tree could prove an
// exception of a specification's visible part dead, and looking for raises
// across the tree would mean reading every body a second time.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "bugcheck/check_reporter.h"
#include "bugcheck/declarations/declarative_levels.h"
#include "bugcheck/declarations/name_dots.h"
#include "frontend/parser_hooks.h"
#include "frontend/text_utilities.h"

namespace flawseek {

class DeclarationUsageRule {
 public:
  explicit DeclarationUsageRule(DeclarativeLevels& levels) : levels_(levels) {}

  // A new check of a single file or pair.
  void reset_check();
  // A new file: what a parse abandoned half-way was collecting is dropped.
  void reset_file() noexcept {
    collected_count_ = 0;
    collection_base_ = 0;
    unreferenced_ = false;
    enclosing_collections_.clear();
    in_type_declaration_ = false;
  }

  // A scope may open inside a declaration: a declare expression in an
  // object's initial value (Ada 2022) declares objects of its own. Each scope
  // collects on top of what the enclosing declaration has collected, and
  // leaves that as it found it.
  void collection_scope_opened() {
    enclosing_collections_.push_back({collection_base_, unreferenced_});
    collection_base_ = collected_count_;
    unreferenced_ = false;
  }
  void collection_scope_closed() noexcept {
    collected_count_ = collection_base_;
    if (enclosing_collections_.empty()) return;
    collection_base_ = enclosing_collections_.back().base;
    unreferenced_ = enclosing_collections_.back().unreferenced;
    enclosing_collections_.pop_back();
  }

  // The identifiers of one declaration are collected as they are read and
  // entered together once the declaration's category is known. Only an
  // object or exception declaration can be one that is entered (or that the
  // style rule judges from this collection): the identifiers of the other
  // lists -- parameters, components, discriminants, generic formal objects --
  // pass uncollected.
  void identifier_declared(const ParserState& state, std::string_view name, IdentifierList list) {
    if (list == IdentifierList::OBJECT_OR_EXCEPTION) collect(state, name);
  }
  std::span<const NameItem> collected() const noexcept {
    return {collected_.data() + collection_base_, collected_count_ - collection_base_};
  }
  void declaration_completed(DeclarationCategory category);
  // An object declared `with Unreferenced` is meant to be unused, as under
  // pragma Unreferenced: it is entered as used.
  void aspect_mark(std::string_view mark) {
    if (collected_count_ > collection_base_ && same_name(mark, "Unreferenced")) unreferenced_ = true;
  }
  // An object whose constraint or initial value hands on an access value
  // (Lock : With_Lock (C'Access)) keeps a reference to something else: such
  // an object is a guard whose creation and finalization are its use, so it
  // is entered as used.
  void attribute_accepted(std::string_view designator) noexcept {
    if (collected_count_ > collection_base_ &&
        (designator == "access" || designator == "unchecked_access" || designator == "unrestricted_access")) {
      unreferenced_ = true;
    }
  }

  // An object whose type has tasks in it (a task type, an array or record of
  // one) activates them by being declared: that is its use, and it is
  // entered as used. The types are those of the check's own files; a type
  // declaration runs from its beginning to type_declared.
  void type_declaration_begun() noexcept {
    in_type_declaration_ = true;
    type_bears_tasks_ = false;
  }
  // Inline: every subtype mark passes here, and most files declare no task type.
  void subtype_mark(std::string_view name) {
    if (task_types_.empty() || (!in_type_declaration_ && collected_count_ == collection_base_)) return;
    judge_task_subtype_mark(name);
  }
  void type_declared(const NameItem& declared, TypeKind kind);
  void loop_parameter_declared(std::string_view name);

  // An exception choice of a handler (and the other names of OTHER: exit,
  // goto, use clauses) raises nothing; an exception named anywhere else is
  // handed on -- renamed, as an attribute prefix (E'Identity), to a pragma or
  // a generic -- and may be raised there.
  void name_used(const DottedName& name, NameContext context) {
    const unsigned groups = context != NameContext::OTHER ? every_group : objects_and_types;
    if (name.one_identifier()) {
      levels_.use(groups, name.text);
    } else {
      use_segments(name, groups);
    }
  }
  void exception_raised(const DottedName& name) { use_segments(name, every_group); }
  // A body stub: its subunit sees every declaration made so far, and may use it.
  void body_stub_declared();

  // The current scope ends: what is still pending there is reported.
  void scope_closed(CheckReporter& reporter);

 private:
  static constexpr unsigned objects_and_types = (1u << static_cast<unsigned>(DeclarationGroup::OBJECT)) |
                                                (1u << static_cast<unsigned>(DeclarationGroup::TYPE));
  static constexpr unsigned every_group =
      objects_and_types | (1u << static_cast<unsigned>(DeclarationGroup::EXCEPTION));

  void collect(const ParserState& state, std::string_view name);
  [[gnu::noinline]] void judge_task_subtype_mark(std::string_view mark);
  // Each identifier of the dotted name, used in the groups of `groups`.
  void use_segments(const DottedName& name, unsigned groups);

  DeclarativeLevels& levels_;
  // Reused between declarations: the strings keep their capacity.
  std::vector<NameItem> collected_;
  std::size_t collected_count_ = 0;
  // Where the current scope's collection begins, and what the scopes around
  // it were collecting.
  std::size_t collection_base_ = 0;
  struct EnclosingCollection {
    std::size_t base;
    bool unreferenced;
  };
  std::vector<EnclosingCollection> enclosing_collections_;
  // The declaration collected is meant to be unused: `with Unreferenced`, or
  // an access value handed to it.
  bool unreferenced_ = false;
  // Incomplete types seen in this check, also where nothing is recorded (a
  // private part): the full declaration may be the completion of one whose
  // other view is what the code uses.
  FoldedNameSet incomplete_types_;
  // The task types of this check and the types with tasks in them, and
  // whether the type declaration being read names one.
  FoldedNameSet task_types_;
  bool in_type_declaration_ = false;
  bool type_bears_tasks_ = false;
  std::string folded_;
  // The leftovers of a closing scope while they are reported.
  PendingNames reported_;
};

}  // namespace flawseek
