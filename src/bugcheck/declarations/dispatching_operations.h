// Which subprograms are primitive operations of a tagged type that may
// override a parent's (or be overridden): such an operation is called by
// dispatching through the parent's name, so its own name need never appear.
// From tokens alone an overriding primitive cannot be told from a new one,
// so every primitive of a type derived from a tagged type (NEW ... WITH),
// and of a tagged private type (its full view may be such a derivation), is
// taken as dispatched to; a root tagged record's primitives are not.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "bugcheck/declarations/declaration_lists.h"
#include "frontend/ada_tokens.h"

namespace flawseek {

class DispatchingOperations {
 public:
  static constexpr AdaKeywords keywords_acted_on{AdaKeyword::KEYWORD_TYPE, AdaKeyword::KEYWORD_NEW,
                                                 AdaKeyword::KEYWORD_WITH, AdaKeyword::KEYWORD_TAGGED,
                                                 AdaKeyword::KEYWORD_PRIVATE};

  void reset() {
    types_.clear();
    clear_type_words();
    clear_profile();
  }
  // The levels above `level` are gone (a scope closed, a file abandoned).
  void levels_closed_above(int level) {
    std::erase_if(types_, [level](const TypeAtLevel& type) { return type.level > level; });
  }

  // The words of a type declaration, from TYPE to the type_declared hook.
  void keyword_accepted(AdaKeyword keyword) noexcept {
    switch (keyword) {
      case AdaKeyword::KEYWORD_TYPE: clear_type_words(); break;
      case AdaKeyword::KEYWORD_NEW: derived_ = true; break;
      case AdaKeyword::KEYWORD_WITH: extended_ = derived_; break;
      case AdaKeyword::KEYWORD_TAGGED: tagged_ = true; break;
      case AdaKeyword::KEYWORD_PRIVATE: private_ = true; break;
      default: break;
    }
  }
  void type_declared(std::string_view name, int level) {
    if (extended_ || (tagged_ && private_)) {
      types_.push_back({std::string(), level});
      fold_name(name, types_.back().folded);
    }
    clear_type_words();
  }

  // A subprogram's profile: from its designator to the unit_defined hook.
  void profile_begun() noexcept {
    clear_profile();
    in_profile_ = true;
  }
  // A subtype mark of the profile naming such a type of `level` makes the
  // subprogram one of its primitives, unless 'Class follows (class-wide).
  void subtype_mark(std::string_view name, int level) {
    if (!in_profile_ || types_.empty()) return;
    const std::size_t dot = name.rfind('.');
    if (dot != std::string_view::npos) name.remove_prefix(dot + 1);
    fold_name(name, folded_);
    last_mark_matched_ = false;
    for (const TypeAtLevel& type : types_) {
      if (type.level == level && type.folded == folded_) {
        ++controlling_marks_;
        last_mark_matched_ = true;
        return;
      }
    }
  }
  void class_attribute_accepted() noexcept {
    if (last_mark_matched_) --controlling_marks_;
    last_mark_matched_ = false;
  }
  // Whether the profile just read is such a primitive's; the profile ends.
  bool profile_dispatched() noexcept {
    const bool dispatched = in_profile_ && controlling_marks_ > 0;
    clear_profile();
    return dispatched;
  }

 private:
  struct TypeAtLevel {
    std::string folded;
    int level = 0;
  };
  void clear_type_words() noexcept { derived_ = extended_ = tagged_ = private_ = false; }
  void clear_profile() noexcept {
    in_profile_ = last_mark_matched_ = false;
    controlling_marks_ = 0;
  }

  // Few types of a file are tagged: a short list beats an index.
  std::vector<TypeAtLevel> types_;
  std::string folded_;
  bool derived_ = false;
  bool extended_ = false;
  bool tagged_ = false;
  bool private_ = false;
  bool in_profile_ = false;
  bool last_mark_matched_ = false;
  int controlling_marks_ = 0;
};

}  // namespace flawseek
