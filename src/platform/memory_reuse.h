// How the process asks its allocator to treat memory it frees: kept for the
// next file rather than handed back to the system at once.
#pragma once

namespace flawseek {

// Called once at program start, before any thread is made. An analysis frees
// and takes again rooms of about the same sizes file after file, often on
// another thread than the one that took them. The C library's defaults hand
// freed pages back as soon as a megabyte or two lies free at a heap's top
// and map large rooms afresh each time, so every next file pays a page fault
// per page it touches again. Memory above the thresholds set here is still
// given back, so a huge file does not hold its room for the rest of the run.
void keep_freed_memory_for_reuse() noexcept;

}  // namespace flawseek
