// The JSON text writer lays out and escapes exactly as nlohmann-json's
// dump(2) does: the JSON output stays byte for byte what it was.
#include "output/json_text.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

namespace flawseek {
namespace {

// Writes `value` with JsonText, as the outputs build their elements.
void write(const nlohmann::ordered_json& value, JsonText& json) {
  switch (value.type()) {
    case nlohmann::json::value_t::object:
      json.begin_object();
      for (const auto& [name, member] : value.items()) {
        json.key(name);
        write(member, json);
      }
      json.end_object();
      break;
    case nlohmann::json::value_t::array:
      json.begin_array();
      for (const auto& element : value) write(element, json);
      json.end_array();
      break;
    case nlohmann::json::value_t::string:
      json.string(value.get<std::string>());
      break;
    case nlohmann::json::value_t::boolean:
      json.boolean(value.get<bool>());
      break;
    case nlohmann::json::value_t::null:
      json.null();
      break;
    default:
      json.number(value.get<std::int64_t>());
  }
}

TEST(JsonText, WritesWhatDumpWithTwoBlanksWrites) {
  // Every control byte, the escaped ones, DEL and UTF-8 pass through as dump has them.
  std::string every_low_byte;
  for (int c = 1; c < 0x20; ++c) every_low_byte += static_cast<char>(c);
  every_low_byte += "\"\\/\x7f \xc3\xa4 \xe2\x82\xac";
  const nlohmann::ordered_json values[] = {
      nlohmann::ordered_json::object(),
      nlohmann::ordered_json::array(),
      {{"text", every_low_byte}, {"n", -2147483648LL}, {"yes", true}, {"no", false}, {"none", nullptr}},
      {{"empty", nlohmann::ordered_json::object()}, {"list", nlohmann::ordered_json::array()},
       {"nested", {{"a", {1, 2, {{"b", nlohmann::ordered_json::array({nlohmann::ordered_json::object()})}}}}}}},
      nlohmann::ordered_json::array({"x", 0, nlohmann::ordered_json::array({nlohmann::ordered_json::array()})}),
  };
  for (const std::size_t indent : {std::size_t{0}, std::size_t{6}}) {
    for (const nlohmann::ordered_json& value : values) {
      std::string text;
      JsonText json(text, indent);
      write(value, json);
      // dump's lines, each after the first moved right by the indent.
      std::string expected;
      for (const char c : value.dump(2)) {
        expected += c;
        if (c == '\n') expected.append(indent, ' ');
      }
      EXPECT_EQ(text, expected) << value.dump();
    }
  }
}

}  // namespace
}  // namespace flawseek
