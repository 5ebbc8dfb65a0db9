#include "HALBackend.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "HALHostSDL.h"

bool HAL_chooseBackend(bool headless) {
  const char* backend = std::getenv("JME_BACKEND");
  if (headless || (backend && std::strcmp(backend, "headless") == 0)) return true;
  const char* error = "";
  if (hostsdl::start(&error)) return true;
  std::fprintf(stderr, "jme: no display for an SDL2 window (%s); run with --headless or JME_BACKEND=headless.\n",
               error);
  return false;
}
