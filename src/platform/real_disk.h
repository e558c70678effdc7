// The disk of the running system: the face's operations on the real file
// system, with the tricks that keep reading thousands of sources quick.
#pragma once

#include "platform/disk.h"

namespace flawseek {

class RealDisk final : public Disk {
 public:
  ListingOutcome list_directory(const std::string& path, EntryVisitor& visitor) override;
  int status(const std::string& path, PathStatus& status) override;
  int read_file(const std::string& path, std::string& text) override;
  int read_into_room(const std::string& path, FileRoom& room) override;
  int write_file(const std::string& path, const FileWriter& writer) override;

 private:
  // Opens `path` relative to the room's kept directory when it lies there.
  static int open_in_kept_directory(const std::string& path, FileRoom& room, int& fd);
};

}  // namespace flawseek
