// NeverNullNames: the objects, parameters and discriminants of the open
// scopes whose subtype excludes null (`P : not null Ptr`), which a test
// against null tells nothing about.
//
// A name belongs to the scope it was declared in and is forgotten when that
// scope closes. A subprogram's parameters are read before its body opens:
// they are kept one level deeper, visible while the profile's aspects are
// read, handed to the body that follows or dropped when the unit turns out
// to be a declaration alone. A component or discriminant (`Next : not null
// Ptr`) is reached through a record of its type, visible wherever the type
// is: any name selecting one by that name (`R.Next`) is kept for the rest of
// the file, costing at worst a missed finding, never a false one.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "frontend/text_utilities.h"

namespace flawseek {

class NeverNullNames {
 public:
  // A hostile file with more names than this keeps only the first ones; a
  // name not kept is judged as one that may be null.
  static constexpr std::size_t capacity = 1000;

  void reset() noexcept {
    names_.clear();
    components_.clear();
    depth_ = 0;
  }

  void add(std::string_view name, bool parameter) {
    if (names_.size() < capacity) names_.push_back({std::string(name), depth_ + (parameter ? 1 : 0)});
  }
  void add_component(std::string_view name) {
    if (components_.size() < capacity) components_.emplace_back(name);
  }

  bool holds(std::string_view name) const noexcept {
    for (const Entry& entry : names_) {
      if (same_name(entry.name, name)) return true;
    }
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) return false;
    const std::string_view selector = name.substr(dot + 1);
    for (const std::string& component : components_) {
      if (same_name(component, selector)) return true;
    }
    return false;
  }

  void scope_opened() noexcept { ++depth_; }
  void scope_closed() noexcept {
    drop_deeper_than(depth_ - 1);
    if (depth_ > 0) --depth_;
  }
  // A subprogram declared without a body here: its parameters are gone.
  void profile_ended_without_body() noexcept { drop_deeper_than(depth_); }

  bool empty() const noexcept { return names_.empty() && components_.empty(); }

 private:
  struct Entry {
    std::string name;
    int depth;
  };
  void drop_deeper_than(int depth) noexcept {
    while (!names_.empty() && names_.back().depth > depth) names_.pop_back();
  }

  std::vector<Entry> names_;
  std::vector<std::string> components_;
  int depth_ = 0;
};

}  // namespace flawseek
