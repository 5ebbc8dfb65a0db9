#pragma once

#include "tq_Gob.h"

namespace tq {

// A sprite drawn with a global alpha (0 draws nothing, 255 is plain). The
// Graphics alpha is set only around its own drawing and restored after it,
// also when the drawing throws.
class GobAlphaImage : public Gob {
  VM_CLASS(GobAlphaImage, Gob)

 public:
  // Alpha 255, the source's geometry, box and image.
  VMPtr<GobAlphaImage> _VM_init(VMPtr<Gob> source);

  using Gob::paint;
  void paint(VMPtr<Graphics> g, int32_t px, int32_t py, int32_t t) override;
  VMPtr<Gob> toGob() override { return VMPtr<Gob>(this); }
  int32_t isAlphaImage() override { return 1; }
  void setAlpha(int32_t a) override { alpha = static_cast<int16_t>(a); }
  int32_t getAlpha() override { return alpha; }
  // The image's pixels through the filter, as a new image; a sprite
  // without pixels keeps what it has.
  void applyFilter(VMPtr<graphics::RGBFilter> f) override;

  int16_t alpha;
};

}  // namespace tq
