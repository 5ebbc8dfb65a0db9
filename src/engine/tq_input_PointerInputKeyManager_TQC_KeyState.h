#pragma once

#include <cstdint>

#include "VMClassKit.h"

namespace tq::input {

// One key code that a pointer holds down; the key manager keeps released
// ones behind the active entries of its table for reuse.
class PointerInputKeyManager_TQC_KeyState : public virtual java::lang::Object {
  VM_CLASS(PointerInputKeyManager_TQC_KeyState, java::lang::Object)

 public:
  VMPtr<PointerInputKeyManager_TQC_KeyState> _VM_init() {
    Base::_VM_init();
    return VMPtr<PointerInputKeyManager_TQC_KeyState>(this);
  }

  // The key went up with the current event.
  uint8_t released;
  // The key went down with the current event.
  uint8_t pressed;
  uint8_t held;
  int8_t keyCode;
};

}  // namespace tq::input
