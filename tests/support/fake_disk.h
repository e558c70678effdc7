// An in-memory file tree behind the disk face, where a test can make a
// directory or file unreadable, a file vanish between its listing and its
// reading, or a write fail, whoever runs the test (root reads everything).
#pragma once

#include <cerrno>
#include <cstdint>
#include <map>
#include <optional>
#include <sstream>
#include <string>

#include "platform/disk.h"

namespace flawseek::testing {

class FakeDisk final : public Disk {
 public:
  FakeDisk() { add("/", FileKind::Directory); }

  // A file holding `text`, with the directories above it.
  void file(const std::string& path, const std::string& text = "") { add(path, FileKind::Regular).text = text; }
  void directory(const std::string& path) { add(path, FileKind::Directory); }
  // A pipe or device: listed as neither file nor directory.
  void special(const std::string& path) { add(path, FileKind::Other); }
  void read_only(const std::string& path) { node(path).writable = false; }

  // Listing the directory, or reading the file, fails with EACCES.
  void unreadable(const std::string& path) { node(path).read_error = EACCES; }
  // Still listed, but gone by the time anything asks about it or reads it.
  void vanishes(const std::string& path) { node(path).vanished = true; }
  // Writing the file fails with `error`; what was there stays.
  void refuses_writes(const std::string& path, int error) { write_errors_[path] = error; }

  // The text of the file at `path`, if there is one.
  std::optional<std::string> text_of(const std::string& path) const {
    const auto found = nodes_.find(path);
    if (found == nodes_.end() || found->second.kind != FileKind::Regular) return std::nullopt;
    return found->second.text;
  }

  ListingOutcome list_directory(const std::string& path, EntryVisitor& visitor) override {
    const Node* directory = present(path);
    if (directory == nullptr) return {ENOENT, 0};
    if (directory->kind != FileKind::Directory) return {ENOTDIR, 0};
    if (directory->read_error != 0) return {directory->read_error, 0};
    const std::string prefix = path == "/" ? path : path + "/";
    for (auto it = nodes_.lower_bound(prefix); it != nodes_.end() && it->first.starts_with(prefix); ++it) {
      const std::string name = it->first.substr(prefix.size());
      if (!name.empty() && name.find('/') == std::string::npos) visitor.on_entry(name, it->second.kind);
    }
    return {};
  }

  int status(const std::string& path, PathStatus& status) override {
    const Node* found = present(path);
    if (found == nullptr) return ENOENT;
    status.kind = found->kind;
    status.writable = found->writable;
    status.device = 1;
    status.inode = found->inode;
    return 0;
  }

  int read_file(const std::string& path, std::string& text) override {
    std::string room;
    std::size_t length = 0;
    const int error = read(path, room, length);
    if (error == 0) text.append(room, 0, length);
    return error;
  }

  int read_into_room(const std::string& path, FileRoom& room) override {
    return read(path, room.bytes, room.length);
  }

  int write_file(const std::string& path, const FileWriter& writer) override {
    if (const auto refused = write_errors_.find(path); refused != write_errors_.end()) return refused->second;
    const Node* existing = present(path);
    if (existing != nullptr && existing->kind == FileKind::Directory) return EISDIR;
    const std::size_t slash = path.rfind('/');
    const Node* parent = present(slash == 0 ? "/" : path.substr(0, slash));
    if (parent == nullptr || parent->kind != FileKind::Directory) return ENOENT;
    std::ostringstream out;
    writer(out);
    if (!out) return EIO;
    file(path, out.str());
    return 0;
  }

 private:
  struct Node {
    FileKind kind = FileKind::Regular;
    std::string text;
    std::uint64_t inode = 0;
    bool writable = true;
    int read_error = 0;
    bool vanished = false;
  };

  Node& add(const std::string& path, FileKind kind) {
    const std::size_t slash = path.rfind('/');
    if (slash != std::string::npos && slash > 0) add(path.substr(0, slash), FileKind::Directory);
    Node& added = nodes_[path];
    if (added.inode == 0) added = Node{kind, {}, nodes_.size()};
    return added;
  }
  Node& node(const std::string& path) { return nodes_.at(path); }
  const Node* present(const std::string& path) const {
    const auto found = nodes_.find(path);
    return found == nodes_.end() || found->second.vanished ? nullptr : &found->second;
  }

  // Into the start of `room`, as a real read does.
  int read(const std::string& path, std::string& room, std::size_t& length) {
    length = 0;
    const Node* found = present(path);
    if (found == nullptr) return ENOENT;
    if (found->kind == FileKind::Directory) return EISDIR;
    if (found->kind != FileKind::Regular) return not_a_regular_file;
    if (found->read_error != 0) return found->read_error;
    if (room.size() < found->text.size()) room.resize(found->text.size());
    room.replace(0, found->text.size(), found->text);
    length = found->text.size();
    return 0;
  }

  std::map<std::string, Node> nodes_;
  std::map<std::string, int> write_errors_;
};

}  // namespace flawseek::testing
