#pragma once

#include <cstdint>

#include "VMClassKit.h"

namespace tq::input {

// One queued pointer event, in view coordinates. The queue makes twenty of
// them when it is enabled and overwrites them in place.
class PointerInputEventManager_TQC_Event : public virtual java::lang::Object {
  VM_CLASS(PointerInputEventManager_TQC_Event, java::lang::Object)

 public:
  VMPtr<PointerInputEventManager_TQC_Event> _VM_init() {
    Base::_VM_init();
    return VMPtr<PointerInputEventManager_TQC_Event>(this);
  }

  // The event's time less the queue's time base, in ms (low 32 bits).
  int32_t time;
  int8_t pointer;
  int16_t x;
  // 1 press, 2 drag, 3 release.
  int8_t type;
  int16_t y;
};

}  // namespace tq::input
