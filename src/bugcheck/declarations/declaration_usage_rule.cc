// UNUSED_DECLARATION and EXCEPTION_NOT_RAISED: entering declarations by
// category, removing them at their uses, reporting what is left.
#include "bugcheck/declarations/declaration_usage_rule.h"

namespace flawseek {

void DeclarationUsageRule::reset_check() {
  reset_file();
  incomplete_types_.clear();
  task_types_.clear();
}

void DeclarationUsageRule::collect(const ParserState& state, std::string_view name) {
  if (collected_count_ == collected_.size()) collected_.emplace_back();
  NameItem& item = collected_[collected_count_++];
  item.name.assign(name);
  item.line = state.previous_token_line();
  item.column = state.previous_token_column();
  item.text.assign(state.previous_token_line_text());
}

namespace {

// A name that says its value is thrown away on purpose (Ignore, Dummy_Result,
// Unused_Count), by the convention Ada code and GNAT's own warnings share.
bool says_ignored(std::string_view name) {
  static constexpr std::string_view words[] = {"discard", "dummy", "ignore", "junk", "unused"};
  for (const std::string_view word : words) {
    for (std::size_t at = 0; at + word.size() <= name.size(); ++at) {
      if (same_name(name.substr(at, word.size()), word)) return true;
    }
  }
  return false;
}

}  // namespace

void DeclarationUsageRule::declaration_completed(DeclarationCategory category) {
  DeclarationGroup group = DeclarationGroup::OBJECT;
  bool recorded = false;
  switch (category) {
    case DeclarationCategory::VARIABLE:
    case DeclarationCategory::CONSTANT:
    case DeclarationCategory::NUMBER:
      recorded = true;
      break;
    case DeclarationCategory::EXCEPTION:
    case DeclarationCategory::EXCEPTION_RENAMING:
      // A library-level exception (or renaming) of a specification is for
      // clients and child units to raise and handle, wherever they are.
      group = DeclarationGroup::EXCEPTION;
      recorded = levels_.current() > 0;
      break;
    default:
      break;
  }
  if (recorded) {
    for (std::size_t i = collection_base_; i < collected_count_; ++i) {
      const bool meant_unused = unreferenced_ || (group == DeclarationGroup::OBJECT && says_ignored(collected_[i].name));
      levels_.enter(group, collected_[i], /*pending=*/!meant_unused);
    }
  }
  collected_count_ = collection_base_;
  unreferenced_ = false;
}

void DeclarationUsageRule::judge_task_subtype_mark(std::string_view mark) {
  const std::size_t dot = mark.rfind('.');
  fold_name(dot == std::string_view::npos ? mark : mark.substr(dot + 1), folded_);
  if (task_types_.find(std::string_view(folded_)) == task_types_.end()) return;
  if (in_type_declaration_) {
    type_bears_tasks_ = true;
  } else {
    unreferenced_ = true;
  }
}

void DeclarationUsageRule::type_declared(const NameItem& declared, TypeKind kind) {
  const std::string_view name = declared.name;
  fold_name(name, folded_);
  if (kind == TypeKind::TASK || (in_type_declaration_ && type_bears_tasks_)) task_types_.emplace(folded_);
  in_type_declaration_ = false;
  type_bears_tasks_ = false;
  if (kind == TypeKind::INCOMPLETE) {
    const bool completed_later = incomplete_types_.find(std::string_view(folded_)) != incomplete_types_.end();
    if (!completed_later) incomplete_types_.emplace(folded_);
  }
  // The full declaration of an incomplete type is the same type: a use of
  // the incomplete view already counts, so it is not pending again.
  const bool other_view = kind != TypeKind::INCOMPLETE &&
                          (levels_.holds(levels_.current(), DeclarationGroup::TYPE, name) ||
                           incomplete_types_.find(std::string_view(folded_)) != incomplete_types_.end());
  if (other_view) return;
  levels_.enter(DeclarationGroup::TYPE, declared, /*pending=*/true);
}

void DeclarationUsageRule::loop_parameter_declared(std::string_view name) {
  // A loop parameter is used by the loop itself: it never becomes pending.
  levels_.enter(DeclarationGroup::OBJECT, NameItem{std::string(name), 0, 1, {}}, /*pending=*/false);
}

void DeclarationUsageRule::use_segments(const DottedName& name, unsigned groups) {
  // "Rec.Field" uses the object Rec, "Pkg.Max" the constant Max: every
  // identifier of the name may be the declared one.
  for_each_segment(name, [&](std::string_view segment) { levels_.use(groups, segment); });
}

void DeclarationUsageRule::body_stub_declared() {
  for (int level = levels_.current(); level >= 0; --level) {
    for (PendingNames& pending : levels_.at(level).pending) pending.clear();
  }
}

void DeclarationUsageRule::scope_closed(CheckReporter& reporter) {
  DeclarativeLevel& level = levels_.current_level();
  for (DeclarationGroup group : {DeclarationGroup::OBJECT, DeclarationGroup::TYPE, DeclarationGroup::EXCEPTION}) {
    const BugKind kind = group == DeclarationGroup::EXCEPTION ? BugKind::EXCEPTION_NOT_RAISED : BugKind::UNUSED_DECLARATION;
    // Taken out first: a report may stop the check, and the lists must stay sound.
    level.pending[static_cast<std::size_t>(group)].move_into(reported_);
    for (const NameItem& item : reported_.items()) reporter.report_bug(kind, {item.line, item.column}, item.text);
  }
  levels_.close();
}

}  // namespace flawseek
