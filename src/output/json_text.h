// JSON written straight into text, laid out exactly as nlohmann-json's
// dump(2) lays out the same values (two blanks a level, "key": value, empty
// containers as {} and []), and escaped as it escapes: the outputs stream
// hundreds of thousands of findings, and building a JSON value for each only
// to print it cost more than the analysis.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace flawseek {

class JsonText {
 public:
  // Appends to `out`; lines after the first are indented by `indent` blanks
  // besides their own level (the place of the value in a larger document).
  JsonText(std::string& out, std::size_t indent) : out_(out), indent_(indent) {}

  void begin_object();
  void end_object();
  void begin_array();
  void end_array();
  // The member's name (plain: the outputs' own words, never escaped); its
  // value follows.
  void key(std::string_view name);
  // Texts must be valid UTF-8.
  void string(std::string_view text);
  void number(std::int64_t value);
  void boolean(bool value);
  void null();

  // Where a value is written by hand instead (the value this writer was
  // made for, nothing else).
  std::string& text() { return out_; }

  // A member with a plain value, in one call.
  void member(std::string_view name, std::string_view text) { key(name); string(text); }
  void member(std::string_view name, std::int64_t value) { key(name); number(value); }
  void member_bool(std::string_view name, bool value) { key(name); boolean(value); }

 private:
  // Before a value: the separator and the line of an array element (a
  // member's value follows its key on the key's line).
  void before_value();
  void new_line(std::size_t level);
  void close(char bracket);

  std::string& out_;
  std::size_t indent_;
  // Per open container: whether it holds anything yet.
  std::vector<char> filled_;
  bool after_key_ = false;
};

// `text` as a JSON string's contents, as nlohmann-json escapes it.
void append_json_escaped(std::string_view text, std::string& out);

}  // namespace flawseek
