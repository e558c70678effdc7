// The full path of a finding's file, held once and shared by every finding of
// that file: with every style rule on, a large tree yields hundreds of
// thousands of findings, and a copy of the path in each took a third of the
// memory and an allocation per finding. With it goes what the analysis saw of
// the file's text that an output needs: whether it holds no tab, so that
// every column is also the column an editor shows.
#pragma once

#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>

namespace flawseek {

class SharedPath {
 public:
  SharedPath() = default;
  // Implicit, so that a path reads like the text it is wherever a finding is
  // made or compared.
  SharedPath(std::string text) : text_(std::make_shared<Text>(Text{std::move(text), false})) {}
  SharedPath(std::string_view text) : SharedPath(std::string(text)) {}
  SharedPath(const char* text) : SharedPath(std::string(text)) {}

  // The path of a file whose analysed text held no tab.
  static SharedPath without_tabs(std::string text) {
    SharedPath path;
    path.text_ = std::make_shared<Text>(Text{std::move(text), true});
    return path;
  }
  // True only when the analysis read the file and found no tab in it.
  bool known_without_tabs() const noexcept { return text_ && text_->without_tabs; }
  // Says the file holds no tab, in the text itself when this path is its
  // only holder (no other path can see it change); false, and nothing
  // changed, when the text is shared.
  bool note_without_tabs_if_sole() noexcept {
    if (!text_ || text_.use_count() != 1) return false;
    text_->without_tabs = true;
    return true;
  }

  const std::string& str() const noexcept { return text_ ? text_->path : empty_text(); }
  // Which entry into the file this is: copies of one path share it, and a
  // path made anew (the file entered again) has one of its own, for as long
  // as some copy is held.
  const void* identity() const noexcept { return text_.get(); }
  operator const std::string&() const noexcept { return str(); }
  operator std::string_view() const noexcept { return str(); }
  bool empty() const noexcept { return str().empty(); }
  std::size_t size() const noexcept { return str().size(); }

  // Findings of one file share the same text, so the pointer settles most
  // comparisons.
  friend bool operator==(const SharedPath& a, const SharedPath& b) noexcept {
    return a.text_ == b.text_ || a.str() == b.str();
  }
  friend bool operator==(const SharedPath& a, const std::string& b) noexcept { return a.str() == b; }
  friend bool operator==(const SharedPath& a, std::string_view b) noexcept { return a.str() == b; }
  friend bool operator==(const SharedPath& a, const char* b) noexcept { return a.str() == b; }
  friend bool operator<(const SharedPath& a, const SharedPath& b) noexcept { return a.str() < b.str(); }

 private:
  static const std::string& empty_text() noexcept {
    static const std::string empty;
    return empty;
  }

  struct Text {
    std::string path;
    bool without_tabs;
  };

  std::shared_ptr<Text> text_;  // changed only by its sole holder
};

std::ostream& operator<<(std::ostream& out, const SharedPath& path);

}  // namespace flawseek
