#pragma once

#include <cstdint>

#include "VMClassKit.h"
#include "javax_microedition_lcdui_Graphics.h"

namespace tq::platform {

// Drawing operations beyond MIDP on a Graphics: alpha fills, a two-colour
// gradient and a drawing transform. ExtendedGraphics is the one
// implementation; the canvas makes it (TqCanvas::getPlatformExtension).
class PlatformExtension : public virtual java::lang::Object {
  VM_INTERFACE_CLASS(PlatformExtension)

 public:
  using Graphics = javax::microedition::lcdui::Graphics;

  virtual void fillRectAlpha(VMPtr<Graphics> g, int32_t x, int32_t y, int32_t w, int32_t h, int32_t alpha) = 0;
  virtual void fillTriangleAlpha(VMPtr<Graphics> g, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3,
                                 int32_t y3, int32_t alpha) = 0;
  // True: along the width (one vertical line per column); false: along the
  // height.
  virtual void fillGradient(VMPtr<Graphics> g, int32_t x, int32_t y, int32_t w, int32_t h, int32_t fromColor,
                            int32_t toColor, uint8_t horizontal) = 0;
  virtual void setGraphicsTransform(VMPtr<Graphics> g, int32_t a, int32_t b, int32_t c, float d, float e) = 0;
};

}  // namespace tq::platform
