#pragma once

#include "java_lang_Throwable.h"
#include "tq_platform_PlatformExtension.h"

namespace tq::platform {

// The platform extension over this platform's Graphics: the alpha fills set
// the Graphics alpha only when it differs and put the previous one back,
// also when the fill throws; the gradient is Graphics::fillGradientRect
// with both colours made opaque; the transform is passed on, and this
// platform ignores it.
class ExtendedGraphics : public virtual java::lang::Object, public virtual PlatformExtension {
  VM_CLASS(ExtendedGraphics, java::lang::Object)

 public:
  VMPtr<ExtendedGraphics> _VM_init();

  void fillRectAlpha(VMPtr<Graphics> g, int32_t x, int32_t y, int32_t w, int32_t h, int32_t alpha) override;
  void fillTriangleAlpha(VMPtr<Graphics> g, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3,
                         int32_t alpha) override;
  void fillGradient(VMPtr<Graphics> g, int32_t x, int32_t y, int32_t w, int32_t h, int32_t fromColor,
                    int32_t toColor, uint8_t horizontal) override;
  void setGraphicsTransform(VMPtr<Graphics> g, int32_t a, int32_t b, int32_t c, float d, float e) override;

  // Runs `draw` with the alpha of `g` set to `alpha`, restoring it after.
  template <class Draw>
  static void withAlpha(VMPtr<Graphics> g, int32_t alpha, Draw draw) {
    const int32_t previous = g->getAlpha();
    if (previous == alpha) {
      draw();
      return;
    }
    g->setAlpha(alpha);
    try {
      draw();
    } catch (java::lang::Throwable* thrown) {
      g->setAlpha(previous);
      thrown->_VM_throw();
    }
    g->setAlpha(previous);
  }
};

}  // namespace tq::platform
