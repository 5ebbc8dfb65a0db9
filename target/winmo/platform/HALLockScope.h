#pragma once

#include "HALCallbacks.h"
#include "HALGlobalLock.h"

// Holds one level of the global VM lock for a scope, with the VM's
// re-attach callback called after taking it.
class HALLockScope {
 public:
  HALLockScope() {
    HAL_enterGlobalLock();
    HAL_getVMCallbacks()->reattach();
  }
  ~HALLockScope() { HAL_leaveGlobalLock(); }
  HALLockScope(const HALLockScope&) = delete;
  HALLockScope& operator=(const HALLockScope&) = delete;
};
