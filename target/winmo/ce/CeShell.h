#pragma once

#include <cstddef>
#include <functional>

// The phone shell's services to the platform layer.
class CeShell {
 public:
  CeShell() = delete;

  // Asks the shell to free `size` bytes of memory by closing other
  // applications; true when it did. This host has no such service, so the
  // request fails unless a test has installed a handler.
  static bool requestFreeMemory(size_t size);

  // Test seam: the handler answers every later request (it sees the size
  // asked for). An empty handler restores the default answer, failure.
  using FreeMemoryHandler = std::function<bool(size_t size)>;
  static void setFreeMemoryHandler(FreeMemoryHandler handler);
};
