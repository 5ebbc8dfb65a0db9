// Off-screen images for layers and the region copies they draw with.
#include "tq_TqCanvas.h"

namespace tq {

using javax::microedition::lcdui::Graphics;
using javax::microedition::lcdui::Image;

VMPtr<Image> TqCanvas::createImage(int32_t w, int32_t h, uint8_t transparent, int32_t colour) {
  return Image::createMutableImage(w, h, transparent, colour);
}

void TqCanvas::drawRegion(VMPtr<Image> img, int32_t sx, int32_t sy, int32_t w, int32_t h, VMPtr<Graphics> g,
                          int32_t dx, int32_t dy) {
  g->drawRegion(img, sx, sy, w, h, 0, dx, dy, Graphics::TOP | Graphics::LEFT);
}

void TqCanvas::paintRegion(VMPtr<Image> img, int32_t sx, int32_t sy, int32_t w, int32_t h, VMPtr<Graphics> g,
                           int32_t dx, int32_t dy) {
  drawRegion(img, sx, sy, w, h, g, dx, dy);
}

}  // namespace tq
