#pragma once

#include <cstddef>

// Small blocks of the runtime heap (headers included, up to kMaxBlock bytes)
// come from free lists by size class, carved from 64 KiB chunks that the
// platform heap gives. Objects of one size then sit side by side, which
// makes allocation a pop and keeps the collector's scans close together.
// Chunks are kept for reuse once taken.
//
// Sanitizer builds use the platform heap for every block instead, so that a
// freed block really goes back and a later use of it is reported.
class VMSmallBlocks {
 public:
  static constexpr size_t kMaxBlock = 256;
  static constexpr size_t kChunkSize = 64 * 1024;

#ifdef JME_SANITIZED
  static constexpr bool kEnabled = false;
#else
  static constexpr bool kEnabled = true;
#endif

  // True when a block of `size` bytes (header included) is served here.
  static constexpr bool serves(size_t size) { return kEnabled && size <= kMaxBlock; }
  // A block of at least `size` bytes, or null when no chunk could be had.
  static void* take(size_t size);
  // Gives back a block that take(size) returned.
  static void give(void* block, size_t size);
};
