#include "CeBackend.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "CeHeadlessBackend.h"
#include "CeSdlBackend.h"

namespace {

std::atomic<CeBackend*> backend{nullptr};

}  // namespace

CeBackend& CeBackend::current() {
  CeBackend* b = backend.load(std::memory_order_acquire);
  return b ? *b : CeHeadlessBackend::instance();
}

void CeBackend::use(CeBackend* replacement) { backend.store(replacement, std::memory_order_release); }

bool CeBackend::choose(bool headless) {
  const char* name = std::getenv("JME_BACKEND");
  if (headless || (name && std::strcmp(name, "headless") == 0)) {
    use(&CeHeadlessBackend::instance());
    return true;
  }
  std::string error;
  if (CeSdlBackend* sdl = CeSdlBackend::start(&error)) {
    use(sdl);
    return true;
  }
  std::fprintf(stderr, "jme: no display for an SDL2 window (%s); run with --headless or JME_BACKEND=headless.\n",
               error.c_str());
  return false;
}
