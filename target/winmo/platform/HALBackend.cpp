#include "HALBackend.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

bool HAL_chooseBackend(bool headless) {
  const char* backend = std::getenv("JME_BACKEND");
  if (headless || (backend && std::strcmp(backend, "headless") == 0)) return true;
  std::fprintf(stderr, "jme: no SDL2 window in this build yet; run with --headless (or JME_BACKEND=headless).\n");
  return false;
}
