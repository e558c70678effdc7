// The allocator's thresholds for giving memory back, where the C library
// lets a program set them.
#include "platform/memory_reuse.h"

#include <cstdlib>  // says whether the C library is glibc

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace flawseek {

namespace {

// Rooms up to this size come from the heap and stay there when freed: well
// above a source file's text or one file's findings, well below a tree's.
constexpr int largest_room_kept = 8 << 20;
// Free memory at a heap's top is given back only beyond this much.
constexpr int free_top_kept = 32 << 20;

}  // namespace

void keep_freed_memory_for_reuse() noexcept {
#if defined(__GLIBC__)
  (void)mallopt(M_MMAP_THRESHOLD, largest_room_kept);
  (void)mallopt(M_TRIM_THRESHOLD, free_top_kept);
#endif
}

}  // namespace flawseek
