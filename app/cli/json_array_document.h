// A pretty-printed JSON document whose last array is written one element at
// a time, so that a document of any size never has to be held whole. The
// text is exactly nlohmann-json's dump(2) of the whole document.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace flawseek {

class JsonArrayDocument {
 public:
  // `document` holds the member `key` as an empty array, after every other
  // member that holds a member of that name: what surrounds the array is
  // written once, before its first element and after its last.
  JsonArrayDocument(const nlohmann::ordered_json& document, std::string_view key);

  void add(const nlohmann::ordered_json& element, std::ostream& out);
  // The rest of the document, and the final end of line.
  void end(std::ostream& out);

 private:
  void begin(std::ostream& out);

  std::string head_;    // up to the array's "[", included
  std::string tail_;    // after its "]"
  std::string indent_;  // the indentation of the array's member line
  bool begun_ = false;
  bool any_ = false;
  std::string text_;  // reused for each element
};

}  // namespace flawseek
