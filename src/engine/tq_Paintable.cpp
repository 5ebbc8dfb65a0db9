#include "tq_Paintable.h"

#include "tq_Gob.h"
#include "tq_graphics_CollisionBox.h"

VM_REGISTER_CLASS(tq::Paintable, "tq.Paintable", "java.lang.Object", VM_ABSTRACT);

namespace tq {

using graphics::CollisionBox;

VMStatic<Paintable::Boxes> Paintable::scratchBoxes;
VMStatic<Paintable::Boxes> Paintable::otherScratchBoxes;
VMStatic<Paintable::Ints> Paintable::scratchInts;
VMStatic<Paintable::Ints> Paintable::otherScratchInts;

VMPtr<Paintable> Paintable::_VM_init() {
  Base::_VM_init();
  return VMPtr<Paintable>(this);
}

int32_t Paintable::getBoxes(int32_t transform, VMPtr<Ints> out) { return getBoxes(transform, out, -1); }

void Paintable::paint(VMPtr<Graphics> g) { paint(g, 0, 0, 0); }

int32_t Paintable::getBoxes(int32_t transform, VMPtr<Boxes> out, int32_t type) { return 0; }

int32_t Paintable::getBoxes(int32_t transform, VMPtr<Ints> out, int32_t type) { return 0; }

uint8_t Paintable::intersects(int32_t x1, int32_t y1, int32_t w1, int32_t h1, int32_t x2, int32_t y2, int32_t w2,
                              int32_t h2) {
  return x1 < x2 + w2 && y1 < y2 + h2 && x2 < x1 + w1 && y2 < y1 + h1 && w1 > 0 && h1 > 0 && w2 > 0 && h2 > 0;
}

int32_t Paintable::placedBoxes(VMStatic<Boxes>& which, int32_t count, int32_t x, int32_t y, int32_t transform,
                               int32_t type) {
  _VM_clinitCheck();
  which = CollisionBox::ensureCapacity(which, count);
  VMPtr<Boxes> boxes = which;
  const int32_t written = getBoxes(transform, boxes, type);
  for (int32_t i = 0; i < written; ++i) boxes->get(i)->move(x, y);
  return written;
}

uint8_t Paintable::collides(int32_t x, int32_t y, int32_t transform, int32_t type, VMPtr<Paintable> other,
                            int32_t otherX, int32_t otherY, int32_t otherTransform, int32_t otherType) {
  const int32_t na = getBoxCount();
  const int32_t nb = other->getBoxCount();
  if (na < 1 || nb < 1) {
    CollisionBox::clearHits();
    return 0;
  }
  const int32_t c1 = placedBoxes(scratchBoxes, na, x, y, transform, type);
  const int32_t c2 = other->placedBoxes(otherScratchBoxes, nb, otherX, otherY, otherTransform, otherType);
  return CollisionBox::collides(c1, scratchBoxes, c2, otherScratchBoxes);
}

int32_t Paintable::placedRecords(VMStatic<Ints>& which, int32_t count, int32_t x, int32_t y, int32_t transform,
                                 int32_t type) {
  _VM_clinitCheck();
  const int64_t needed = int64_t{count} * 5;
  if (!which || which->length < needed) which = Ints::create(static_cast<int32_t>(needed));
  VMPtr<Ints> records = which;
  const int32_t written = getBoxes(transform, records, type);
  for (int32_t i = 0; i < written; ++i) {
    records->at(i * 5) += x;
    records->at(i * 5 + 1) += y;
  }
  return written;
}

uint8_t Paintable::collides(int32_t x, int32_t y, int32_t transform, int32_t type, VMPtr<Paintable> other,
                            int32_t otherX, int32_t otherY, int32_t otherTransform, int32_t otherType,
                            VMPtr<Ints> out) {
  const int32_t na = getBoxCount();
  const int32_t nb = other->getBoxCount();
  if (na < 1 || nb < 1) return 0;
  const int32_t c1 = placedRecords(scratchInts, na, x, y, transform, type);
  const int32_t c2 = other->placedRecords(otherScratchInts, nb, otherX, otherY, otherTransform, otherType);
  return Gob::collides(c1, scratchInts, c2, otherScratchInts, out);
}

namespace {

// The first grid line at or before `clip` on the grid through `start`.
int64_t alignedStart(int64_t start, int64_t clip, int64_t step) {
  return start < clip ? clip - (clip - start) % step : start;
}

}  // namespace

void Paintable::paintTiled(VMPtr<Graphics> g, int32_t x, int32_t y) {
  const int64_t cx = g->getClipX(), cy = g->getClipY();
  const int64_t cw = g->getClipWidth(), ch = g->getClipHeight();
  const int32_t w = getWidth(0), h = getHeight(0);
  if (w <= 0 || h <= 0) return;  // the grid would not advance
  const int64_t sx = alignedStart(int64_t{x} + getOffsetX(0), cx, w);
  const int64_t sy = alignedStart(int64_t{y} + getOffsetY(0), cy, h);
  for (int64_t yy = sy; yy < cy + ch; yy += h) {
    for (int64_t xx = sx; xx < cx + cw; xx += w) {
      paint(g, static_cast<int32_t>(xx), static_cast<int32_t>(yy), 0);
    }
  }
}

}  // namespace tq
