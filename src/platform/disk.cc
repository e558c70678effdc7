// The disk every reader and writer uses, and its replacement by tests.
#include "platform/disk.h"

#include <atomic>

#include "platform/real_disk.h"

namespace flawseek {

namespace {

constinit RealDisk the_real_disk;
// Read once per file or directory, never per byte; swapped only while no
// other thread uses it, so the loads need no ordering.
std::atomic<Disk*> current_disk{&the_real_disk};

}  // namespace

Disk& disk() noexcept { return *current_disk.load(std::memory_order_relaxed); }

ScopedDisk::ScopedDisk(Disk& replacement) noexcept
    : previous_(current_disk.exchange(&replacement, std::memory_order_relaxed)) {}

ScopedDisk::~ScopedDisk() { current_disk.store(previous_, std::memory_order_relaxed); }

}  // namespace flawseek
