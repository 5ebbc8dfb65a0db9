#include "VMServices.h"

#include <cstdio>
#include <cstring>
#include <unistd.h>

#include "VMRef.h"
#include "java_lang_Throwable.h"

void _VM_fatalError(const char* message) {
  std::fflush(stdout);
  if (message != nullptr) {
    // Some messages end with their own line break.
    const size_t length = std::strlen(message);
    const bool ended = length > 0 && message[length - 1] == '\n';
    std::fprintf(stderr, "fatal error: %s%s", message, ended ? "" : "\n");
  }
  std::fflush(stderr);
  _exit(1);
}

void _VM_debugLog(const char* /*format*/, ...) {}

void _VM_reportEscapedException() {
  try {
    throw;
  } catch (java::lang::Throwable* thrown) {
    try {
      VMPtr<java::lang::Throwable> held(thrown);
      held->printStackTrace();
    } catch (...) {
      // The report could not be written (no memory); the event is over anyway.
    }
  } catch (...) {
  }
}
