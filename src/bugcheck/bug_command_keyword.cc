// The keyword list of the bug checker's comment-command scanner.
#include "bugcheck/bug_command_keyword.h"

#include "frontend/ada_token_lists.h"

namespace flawseek {

const std::string& bug_command_keyword_list() {
  static const std::string list = [] {
    std::array<std::string_view, bug_command_keyword_count> words{};
    for (int i = 0; i < bug_command_keyword_count; ++i) {
      words[i] = command_word(static_cast<BugCommandKeyword>(i));
    }
    return make_keyword_list(words.data(), words.size());
  }();
  return list;
}

}  // namespace flawseek
