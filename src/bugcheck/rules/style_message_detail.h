// The words of a style finding that say what its rule wants: the spelling a
// letter-case finding expects, the prefix a name lacks, the access type name
// expected, the mode rule broken, a line's length and its limit.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "frontend/parser_hooks.h"
#include "frontend/parser_message.h"
#include "stylecheck/declaration_prefix_rule.h"
#include "stylecheck/end_name_rule.h"
#include "stylecheck/identifier_rule.h"
#include "stylecheck/parameter_mode_rule.h"

namespace flawseek {

// The rules a style message may ask for the facts of its complaint.
struct StyleComplainants {
  const DeclarationPrefixRule& prefixes;
  const ParameterModeRule& modes;
  const EndNameRule& end_names;
  const IdentifierRule& identifiers;
};

// The detail of the style `message` being reported about the word at
// `column` of `line_text`, built in `room` (which the caller keeps, so a
// finding costs no allocation once it has grown). Empty when the message has
// nothing to add or its word is no longer at hand: the kind's sentence stands.
std::string_view style_message_detail(const ParserState& state, ParserMessage message, std::string_view line_text,
                                      int column, const StyleComplainants& complainants, std::string& room);

// "line is 143 characters long; the limit is 132".
std::string_view line_length_detail(std::size_t length, int limit, std::string& room);

}  // namespace flawseek
