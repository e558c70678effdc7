// The overlay's texts, and the disk below for every other path.
#include "platform/overlay_disk.h"

namespace flawseek {

void OverlayDisk::put(const std::string& path, Text text) {
  if (!text) text = std::make_shared<const std::string>();
  std::lock_guard lock(mutex_);
  texts_[path] = std::move(text);
}

void OverlayDisk::remove(const std::string& path) {
  std::lock_guard lock(mutex_);
  texts_.erase(path);
}

OverlayDisk::Text OverlayDisk::find(const std::string& path) const {
  std::lock_guard lock(mutex_);
  const auto found = texts_.find(path);
  return found == texts_.end() ? nullptr : found->second;
}

ListingOutcome OverlayDisk::list_directory(const std::string& path, EntryVisitor& visitor) {
  return below_.list_directory(path, visitor);
}

int OverlayDisk::status(const std::string& path, PathStatus& status) {
  if (!find(path)) return below_.status(path, status);
  // A buffer not saved yet has no file below; one that has keeps its
  // identity, so a walk still tells it apart from its neighbours.
  if (below_.status(path, status) != 0) status = PathStatus{};
  status.kind = FileKind::Regular;
  status.writable = true;
  return 0;
}

int OverlayDisk::read_file(const std::string& path, std::string& text) {
  const Text held = find(path);
  if (!held) return below_.read_file(path, text);
  text.append(*held);
  return 0;
}

int OverlayDisk::read_into_room(const std::string& path, FileRoom& room) {
  const Text held = find(path);
  if (!held) return below_.read_into_room(path, room);
  if (room.bytes.size() < held->size()) room.bytes.resize(held->size());
  held->copy(room.bytes.data(), held->size());
  room.length = held->size();
  return 0;
}

int OverlayDisk::write_file(const std::string& path, const FileWriter& writer) {
  return below_.write_file(path, writer);
}

}  // namespace flawseek
