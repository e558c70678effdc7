// A disk that serves some files from memory and everything else from the
// disk below it: an editor's unsaved buffers, read by the analysis in place
// of the files they will be saved as.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "platform/disk.h"

namespace flawseek {

class OverlayDisk final : public Disk {
 public:
  using Text = std::shared_ptr<const std::string>;

  // `below` must outlive this.
  explicit OverlayDisk(Disk& below) : below_(below) {}

  // From now on `path` reads as `text` (a regular, writable file), whatever
  // the disk holds there. The text is shared, not copied.
  void put(const std::string& path, Text text);
  // `path` reads from the disk below again.
  void remove(const std::string& path);

  ListingOutcome list_directory(const std::string& path, EntryVisitor& visitor) override;
  int status(const std::string& path, PathStatus& status) override;
  int read_file(const std::string& path, std::string& text) override;
  int read_into_room(const std::string& path, FileRoom& room) override;
  int write_file(const std::string& path, const FileWriter& writer) override;

 private:
  Text find(const std::string& path) const;

  Disk& below_;
  // Threads read while the editor's thread puts: each read takes the
  // text's pointer under the lock and copies it outside.
  mutable std::mutex mutex_;
  std::map<std::string, Text, std::less<>> texts_;
};

}  // namespace flawseek
