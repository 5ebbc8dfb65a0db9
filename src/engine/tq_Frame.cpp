#include "tq_Frame.h"

#include "tq_AnimSet.h"

VM_REGISTER_CLASS(tq::Frame, "tq.Frame", "tq.Paintable", 0);

namespace tq {

VMPtr<Frame> Frame::_VM_init(VMPtr<AnimSet> set, VMPtr<Ints> bounds, int32_t i) {
  Base::_VM_init();
  animSet = set;
  index = static_cast<int16_t>(i);
  x = static_cast<int16_t>(bounds->at(0));
  y = static_cast<int16_t>(bounds->at(1));
  width = static_cast<int16_t>(bounds->at(2));
  height = static_cast<int16_t>(bounds->at(3));
  return VMPtr<Frame>(this);
}

void Frame::_VM_markReferences(int colour) {
  _VM_mark(animSet, colour);
  Base::_VM_markReferences(colour);
}

VMPtr<AnimSet> Frame::getAnimSet() { return VMPtr<AnimSet>(animSet); }

void Frame::paint(VMPtr<Graphics> g, int32_t px, int32_t py, int32_t transform) {
  getAnimSet()->paintFrame(g, index, px, py, transform);
}

int32_t Frame::getBoxes(int32_t transform, VMPtr<Boxes> out, int32_t type) {
  return getAnimSet()->getBoxes(index, transform, out, type);
}

int32_t Frame::getBoxes(int32_t transform, VMPtr<Ints> out, int32_t type) {
  return getAnimSet()->getBoxes(index, transform, out, type);
}

int32_t Frame::getBoxCount() { return index < 0 ? 0 : getAnimSet()->getBoxCount(index); }

int32_t Frame::getPartCount() { return getAnimSet()->getPartCount(index); }

int32_t Frame::getParts(int32_t transform, VMPtr<Ints> out) { return getAnimSet()->getParts(index, transform, out); }

uint8_t Frame::intersects(VMPtr<graphics::Rect> r, int32_t px, int32_t py) {
  const int32_t fx = px + x, fy = py + y;
  return fx < r->x + r->width && fy < r->y + r->height && r->x < fx + width && r->y < fy + height;
}

void Frame::getBounds(int32_t transform, VMPtr<Ints> out) {
  out->at(0) = getOffsetX(transform);
  out->at(1) = getOffsetY(transform);
  out->at(2) = getWidth(transform);
  out->at(3) = getHeight(transform);
}

}  // namespace tq
