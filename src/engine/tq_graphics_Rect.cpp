#include "tq_graphics_Rect.h"

VM_REGISTER_CLASS(tq::graphics::Rect, "tq.graphics.Rect", "tq.graphics.CollisionBox", VM_INSTANTIABLE);

namespace tq::graphics {

VMPtr<Rect> Rect::_VM_init() {
  Base::_VM_init(kRectangle);
  return VMPtr<Rect>(this);
}

}  // namespace tq::graphics
