#pragma once

#include "tq_graphics_CollisionBox.h"

namespace tq::graphics {

// A rectangle-kind box, used where an area rather than a collision shape is
// meant.
class Rect : public CollisionBox {
  VM_CLASS(Rect, CollisionBox)

 public:
  VMPtr<Rect> _VM_init();
};

}  // namespace tq::graphics
