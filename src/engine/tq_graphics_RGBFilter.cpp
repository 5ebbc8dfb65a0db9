#include "tq_graphics_RGBFilter.h"

VM_REGISTER_CLASS(tq::graphics::RGBFilter, "tq.graphics.RGBFilter", "java.lang.Object", VM_ABSTRACT);

namespace tq::graphics {

VMPtr<RGBFilter> RGBFilter::_VM_init() {
  Base::_VM_init();
  return VMPtr<RGBFilter>(this);
}

void RGBFilter::filter(VMPtr<VMArray<int32_t>> argb) {
  for (int32_t i = _VM_length(argb) - 1; i >= 0; --i) {
    const int32_t pixel = argb->at(i);
    if (pixel != kKeyColour) argb->at(i) = filterRGB(pixel);
  }
}

}  // namespace tq::graphics
