// The declarations of one scope and group still waiting for a use, in
// declaration order. Scopes open and close all the time and most names are
// used soon: the list keeps its items' storage, so entering a name copies its
// texts into strings that already have room, and nothing is freed when a
// name is used or the scope closes. Each item carries its name's number in
// the index of declared names, which ignores letter case: a use removes the
// items of a number without comparing a single character.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "bugcheck/declarations/declaration_lists.h"

namespace flawseek {

class PendingNames {
 public:
  void append(const NameItem& item, std::uint32_t number) {
    if (size_ == items_.size()) {
      items_.emplace_back();
      numbers_.emplace_back();
    }
    numbers_[size_] = number;
    NameItem& slot = items_[size_++];
    slot.name.assign(item.name);
    slot.line = item.line;
    slot.column = item.column;
    slot.text.assign(item.text);
  }
  void clear() noexcept { size_ = 0; }
  bool empty() const noexcept { return size_ == 0; }
  std::span<const NameItem> items() const noexcept { return {items_.data(), size_}; }

  // Every item of the name numbered `number` goes; the others keep their
  // order. A removed item's storage moves behind the list for reuse.
  void remove_numbered(std::uint32_t number) {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < size_; ++i) {
      if (numbers_[i] == number) continue;
      if (kept != i) {
        std::swap(items_[kept], items_[i]);
        numbers_[kept] = numbers_[i];
      }
      ++kept;
    }
    size_ = kept;
  }

  // Hands every item to `taker` (whose items are dropped) and is empty
  // afterwards: a scope's leftovers are reported from a list nobody changes
  // while the reports go out. The items are copied, not the storage swapped:
  // leftovers are few, and a swap would hand this scope's room to the taker
  // and leave it the taker's, so the lists of the busy scopes kept growing
  // into storage that had wandered off to quiet ones.
  void move_into(PendingNames& taker) {
    taker.clear();
    for (std::size_t i = 0; i < size_; ++i) taker.append(items_[i], numbers_[i]);
    size_ = 0;
  }

 private:
  std::vector<NameItem> items_;
  std::vector<std::uint32_t> numbers_;  // of items_' names, place by place
  std::size_t size_ = 0;  // items_ beyond it are storage kept for reuse
};

}  // namespace flawseek
