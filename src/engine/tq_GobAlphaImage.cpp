#include "tq_GobAlphaImage.h"

#include "tq_TqCanvas.h"
#include "tq_platform_ExtendedGraphics.h"

VM_REGISTER_CLASS(tq::GobAlphaImage, "tq.GobAlphaImage", "tq.Gob", 0);

namespace tq {

VMPtr<GobAlphaImage> GobAlphaImage::_VM_init(VMPtr<Gob> source) {
  Base::_VM_init();
  alpha = 255;
  VMPtr<GobAlphaImage> self(this);
  source->copyTo(self);
  source->setImageOf(self);
  source->releaseImage(self);
  return self;
}

void GobAlphaImage::paint(VMPtr<Graphics> g, int32_t px, int32_t py, int32_t t) {
  if (alpha == 0 || isEmptyImage()) return;
  platform::ExtendedGraphics::withAlpha(g, alpha, [&] { drawImage(g, px, py, t); });
}

void GobAlphaImage::applyFilter(VMPtr<graphics::RGBFilter> f) {
  if (isEmptyImage()) return;
  VMPtr<VMArray<int32_t>> pixels = VMArray<int32_t>::create(width * height);
  VMPtr<Image>(image)->getRGB(pixels, 0, width, 0, 0, width, height);
  f->filter(pixels);
  const uint8_t transparent = TqCanvas::hasTransparency(pixels);
  if (!transparent) drawMode = 1;
  VMPtr<Gob> made = create(pixels, width, height, transparent);
  made->setImageOf(VMPtr<Gob>(this));
}

}  // namespace tq
