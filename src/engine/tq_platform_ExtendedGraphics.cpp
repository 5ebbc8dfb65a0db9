#include "tq_platform_ExtendedGraphics.h"

VM_REGISTER_CLASS(tq::platform::ExtendedGraphics, "tq.platform.ExtendedGraphics", "java.lang.Object",
                  VM_INSTANTIABLE);
VM_IMPLEMENTS(tq::platform::ExtendedGraphics, "tq.platform.PlatformExtension");

namespace tq::platform {

VMPtr<ExtendedGraphics> ExtendedGraphics::_VM_init() {
  Base::_VM_init();
  return VMPtr<ExtendedGraphics>(this);
}

void ExtendedGraphics::fillRectAlpha(VMPtr<Graphics> g, int32_t x, int32_t y, int32_t w, int32_t h,
                                     int32_t alpha) {
  withAlpha(g, alpha, [&] { g->fillRect(x, y, w, h); });
}

void ExtendedGraphics::fillTriangleAlpha(VMPtr<Graphics> g, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                                         int32_t x3, int32_t y3, int32_t alpha) {
  withAlpha(g, alpha, [&] { g->fillTriangle(x1, y1, x2, y2, x3, y3); });
}

void ExtendedGraphics::fillGradient(VMPtr<Graphics> g, int32_t x, int32_t y, int32_t w, int32_t h,
                                    int32_t fromColor, int32_t toColor, uint8_t horizontal) {
  constexpr int32_t kOpaque = static_cast<int32_t>(0xFF000000u);
  g->fillGradientRect(x, y, w, h, fromColor | kOpaque, toColor | kOpaque, horizontal);
}

void ExtendedGraphics::setGraphicsTransform(VMPtr<Graphics> g, int32_t a, int32_t b, int32_t c, float d, float e) {
  g->setGraphicsTransform(a, b, c, d, e);
}

}  // namespace tq::platform
