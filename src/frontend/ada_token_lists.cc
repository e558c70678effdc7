// Keyword and symbol lists of the Ada scanners and the scanner factories.
#include "frontend/ada_token_lists.h"

#include <array>

#include "frontend/ada_tokens.h"

namespace flawseek {

std::string make_keyword_list(const std::string_view* words, std::size_t count) {
  if (count == 0) return {};  // "$" alone would be a malformed list
  std::string list = "$";
  for (std::size_t i = 0; i < count; ++i) {
    list += words[i];
    list += '$';
  }
  return list;
}

namespace {

// The list of each level: the first `count(level)` of `images`.
template <std::size_t N>
std::array<std::string, ada_version_count> lists_by_level(const std::array<std::string_view, N>& images,
                                                          int (*count)(AdaVersion)) {
  std::array<std::string, ada_version_count> made;
  for (int v = 0; v < ada_version_count; ++v) {
    made[static_cast<std::size_t>(v)] =
        make_keyword_list(images.data(), static_cast<std::size_t>(count(static_cast<AdaVersion>(v))));
  }
  return made;
}

}  // namespace

const std::string& ada_keyword_list(AdaVersion version) {
  static const auto lists = lists_by_level(ada_keyword_images, reserved_word_count);
  return lists[static_cast<std::size_t>(version)];
}

const std::string& ada_symbol_list(AdaVersion version) {
  static const auto lists = lists_by_level(ada_symbol_images, delimiter_count);
  return lists[static_cast<std::size_t>(version)];
}

TextParser make_ada_scanner(LineSource* reader) {
  TextParser scanner(ada_max_line_length, 0, CharacterClasses::Latin1);
  scanner.set_keywords(standard_keyword_options, ada_keyword_list());
  scanner.set_symbols(ada_symbol_list(AdaVersion::ADA_95));
  scanner.set_reader(reader);
  return scanner;
}

TextParser make_command_scanner(std::string_view keyword_list, std::string_view symbol_list) {
  TextParser scanner(command_max_line_length, 0, CharacterClasses::Basic);
  scanner.set_keywords(standard_keyword_options, keyword_list);
  scanner.set_symbols(symbol_list);
  return scanner;
}

}  // namespace flawseek
