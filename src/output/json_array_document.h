// A pretty-printed JSON document whose last array is written one element at
// a time, so that a document of any size never has to be held whole. The
// text is exactly nlohmann-json's dump(2) of the whole document.
#pragma once

#include <functional>
#include <ostream>
#include <utility>
#include <span>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "output/finding_records.h"
#include "output/json_text.h"
#include "output/records_writer.h"
#include "output/report_context.h"

namespace flawseek {

class JsonArrayDocument {
 public:
  // `document` holds the member `key` as an empty array, after every other
  // member that holds a member of that name: what surrounds the array is
  // written once, before its first element and after its last.
  // Compact, each element is written on a line of its own without inner
  // blanks (a log of hundreds of thousands of results is mostly indentation
  // otherwise), as dump() writes it; the document around stays indented.
  enum class Elements { Indented, Compact };
  JsonArrayDocument(const nlohmann::ordered_json& document, std::string_view key,
                    Elements elements = Elements::Indented);

  void add(const nlohmann::ordered_json& element, std::ostream& out);
  // An element written by `write` (called with a JsonText at the element's
  // place), the same text as add() of the same value would give; compact
  // elements are written by hand through JsonText::text(), as dump() would.
  template <typename Write>
  void add_written(Write&& write, std::ostream& out) {
    begin(out);
    text_ += any_ ? ",\n" : "\n";
    any_ = true;
    text_ += element_indent_;
    JsonText json(text_, element_indent_.size());
    write(json);
    if (text_.size() >= block_size) flush(out);
  }
  // The rest of the document, and the final end of line; the members of
  // `after` (an object) follow the array, in the array's own object.
  void end(std::ostream& out, const nlohmann::ordered_json& after = nlohmann::ordered_json::object());

 private:
  void begin(std::ostream& out);
  // `dumped` (a dump(2)) added to `text`, each line after its first
  // indented by `indent`.
  static void append_indented(const std::string& dumped, const std::string& indent, std::string& text);

  void flush(std::ostream& out);
  // Elements are gathered into blocks of about this size before they go out.
  static constexpr std::size_t block_size = 1 << 16;

  std::string head_;    // up to the array's "[", included
  std::string tail_;    // after its "]"
  std::string indent_;  // the indentation of the array's member line
  std::string element_indent_;  // and of its elements' first lines
  Elements elements_;
  bool begun_ = false;
  bool any_ = false;
  std::string text_;  // what is not written yet
};

// The JSON outputs: a document whose last array, `key`, holds one element
// per record, made by `element`. `context` must outlive the writer.
class JsonRecordsWriter final : public RecordsWriter {
 public:
  // A function object, so that an element may depend on the ones before it
  // (SARIF counts repeated findings for their fingerprints).
  using Element = std::function<void(const FindingRecord& record, const ReportContext& context, JsonText& json)>;
  // The members that follow the array, made when the document ends.
  using Ending = nlohmann::ordered_json (*)(const ReportContext& context);
  // Elements that follow the records' own (SARIF's absent results).
  using LastElements = std::function<nlohmann::ordered_json(const ReportContext& context)>;

  JsonRecordsWriter(const nlohmann::ordered_json& document, std::string_view key, Element element, Ending ending,
                    const ReportContext& context, LastElements last = {},
                    JsonArrayDocument::Elements elements = JsonArrayDocument::Elements::Indented)
      : document_(document, key, elements), element_(std::move(element)), ending_(ending), last_(std::move(last)),
        context_(context) {}

  void write(std::span<const FindingRecord> records, std::ostream& out) override {
    for (const FindingRecord& record : records) {
      document_.add_written([&](JsonText& json) { element_(record, context_, json); }, out);
    }
  }
  void end(std::ostream& out) override {
    if (last_) {
      for (const nlohmann::ordered_json& element : last_(context_)) document_.add(element, out);
    }
    document_.end(out, ending_(context_));
  }

 private:
  JsonArrayDocument document_;
  Element element_;
  Ending ending_;
  LastElements last_;
  const ReportContext& context_;
};

}  // namespace flawseek
