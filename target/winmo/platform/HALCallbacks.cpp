#include "HALCallbacks.h"

namespace {

int initializeDefault(uint64_t, uint64_t, HALThread*, const char*, int) { return 0; }
int broadcastDefault(int, int, const intptr_t*) { return 0; }
void nothing() {}

VMCallbacks withDefaults(VMCallbacks t) {
  if (!t.initialize) t.initialize = initializeDefault;
  if (!t.broadcastEvent) t.broadcastEvent = broadcastDefault;
  if (!t.detach) t.detach = nothing;
  if (!t.reattach) t.reattach = nothing;
  if (!t.collectGarbage) t.collectGarbage = nothing;
  if (!t.destroy) t.destroy = nothing;
  return t;
}

VMCallbacks callbacks = withDefaults(VMCallbacks{});

}  // namespace

void HAL_setVMCallbacks(const VMCallbacks* table) {
  if (table) callbacks = withDefaults(*table);
}

const VMCallbacks* HAL_getVMCallbacks() { return &callbacks; }
