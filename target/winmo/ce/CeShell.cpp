#include "CeShell.h"

#include <mutex>
#include <utility>

namespace {

std::mutex handlerMutex;
CeShell::FreeMemoryHandler& handler() {
  static CeShell::FreeMemoryHandler* const h = new CeShell::FreeMemoryHandler();
  return *h;
}

}  // namespace

bool CeShell::requestFreeMemory(size_t size) {
  FreeMemoryHandler current;
  {
    std::lock_guard<std::mutex> lock(handlerMutex);
    current = handler();
  }
  return current ? current(size) : false;
}

void CeShell::setFreeMemoryHandler(FreeMemoryHandler newHandler) {
  std::lock_guard<std::mutex> lock(handlerMutex);
  handler() = std::move(newHandler);
}
