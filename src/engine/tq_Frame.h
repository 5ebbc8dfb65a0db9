#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"
#include "tq_Paintable.h"
#include "tq_graphics_Rect.h"

namespace tq {

class AnimSet;

// One frame of an animation set as a drawable (kind 1), or with a negative
// index -a the bounding box of animation a. It holds only its bounding box
// (untransformed, relative to the drawing position) and its index; drawing
// and boxes are the set's. Sets make and cache frames (AnimSet::getFrame,
// getAnimationFrame). The transform's axis swap (bit 4) moves nothing here.
class Frame : public Paintable {
  VM_CLASS(Frame, Paintable)

 public:
  VMPtr<Frame> _VM_init(VMPtr<AnimSet> set, VMPtr<Ints> bounds, int32_t index);

  using Paintable::getBoxes;
  using Paintable::paint;
  int32_t getKind() override { return 1; }
  int32_t getHeight(int32_t transform) override { return height; }
  void paint(VMPtr<Graphics> g, int32_t x, int32_t y, int32_t transform) override;
  int32_t getBoxes(int32_t transform, VMPtr<Boxes> out, int32_t type) override;
  int32_t getBoxes(int32_t transform, VMPtr<Ints> out, int32_t type) override;
  int32_t getWidth(int32_t transform) override { return width; }
  int32_t getBoxCount() override;
  int32_t getOffsetX(int32_t transform) override { return (transform & 2) != 0 ? -(width + x) : x; }
  int32_t getOffsetY(int32_t transform) override { return (transform & 1) != 0 ? -(y + height) : y; }

  virtual int32_t getIndex() { return index < 0 ? -index : index; }
  virtual int32_t getPartCount();
  virtual int32_t getParts(int32_t transform, VMPtr<Ints> out);
  // The untransformed box at (px, py) against r, without a size check.
  virtual uint8_t intersects(VMPtr<graphics::Rect> r, int32_t px, int32_t py);
  // {offset x, offset y, width, height} under the transform.
  virtual void getBounds(int32_t transform, VMPtr<Ints> out);
  virtual VMPtr<AnimSet> getAnimSet();

  void _VM_markReferences(int colour) override;

  int16_t height;
  int16_t y;
  int16_t x;
  int16_t width;
  int16_t index;
  VMField<AnimSet> animSet;
};

}  // namespace tq
