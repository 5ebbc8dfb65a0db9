// Drawing and measuring the frames of the canvas's sprite tables: each
// frame is a list of pieces, each piece one Gob of the caller's image array
// at an offset and with a transform.

#include <algorithm>

#include "VMJava.h"
#include "tq_TqCanvas.h"

namespace tq {

namespace {

int32_t signed10(int32_t word, int32_t shift) { return _VM_signExtend(static_cast<uint32_t>(word) >> shift, 10); }

// The pieces of `frame` in `row`: the first index and the count.
struct PieceRange {
  VMPtr<VMArray<int32_t>> pieces;
  int32_t first;
  int32_t count;
};

PieceRange piecesOf(TqCanvas* c, int32_t frame) {
  VMPtr<VMArray<int32_t, 2>> headers = c->frameHeaders;
  VMPtr<VMArray<int32_t, 2>> pieces = c->framePieces;
  if (!headers || !pieces) _VM_throwNullPointerException();
  const int32_t header = headers->get(c->currentSpriteRow)->at(frame);
  return {pieces->get(c->currentSpriteRow), static_cast<int32_t>(static_cast<uint32_t>(header) >> 16),
          header & 0xFF};
}

VMPtr<Gob> imageOf(VMPtr<VMArray<Gob>> images, int32_t piece) {
  VMPtr<Gob> gob = images->get(static_cast<int32_t>(static_cast<uint32_t>(piece) >> 22));
  if (!gob) _VM_throwNullPointerException();
  return gob;
}

}  // namespace

void TqCanvas::drawFrame(VMPtr<Graphics> g, VMPtr<VMArray<Gob>> images, int32_t frame, int32_t x, int32_t y,
                         int32_t transform) {
  const PieceRange range = piecesOf(this, frame);
  for (int32_t i = 0; i < range.count; ++i) {
    const int32_t p = range.pieces->at(range.first + i);
    VMPtr<Gob> gob = imageOf(images, p);
    const int16_t savedX = gob->x;
    const int16_t savedY = gob->y;
    gob->x = static_cast<int16_t>(savedX + signed10(p, 12));
    gob->y = static_cast<int16_t>(savedY + signed10(p, 2));
    try {
      gob->paint(g, x, y, (p & 3) ^ transform);
    } catch (java::lang::Throwable* t) {
      VMPtr<java::lang::Throwable> thrown(t);
      gob->x = savedX;
      gob->y = savedY;
      _VM_throw(thrown);
    }
    gob->x = savedX;
    gob->y = savedY;
  }
}

void TqCanvas::getFrameBounds(VMPtr<VMArray<Gob>> images, int32_t frame, int32_t transform,
                              VMPtr<VMArray<int32_t>> out) {
  const PieceRange range = piecesOf(this, frame);
  int32_t minX = INT32_MAX, minY = INT32_MAX, maxX = INT32_MIN, maxY = INT32_MIN;
  for (int32_t i = 0; i < range.count; ++i) {
    const int32_t p = range.pieces->at(range.first + i);
    VMPtr<Gob> gob = imageOf(images, p);
    const int32_t t = (p & 3) ^ transform;
    int32_t px = gob->x + signed10(p, 12);
    int32_t py = gob->y + signed10(p, 2);
    if (t & 2) px = -(gob->width + px);
    if (t & 1) py = -(gob->height + py);
    minX = std::min(minX, px);
    minY = std::min(minY, py);
    maxX = std::max(maxX, px + gob->width);
    maxY = std::max(maxY, py + gob->height);
  }
  if (range.count == 0) minX = minY = maxX = maxY = 0;  // no pieces: an empty box
  if (!out) _VM_throwNullPointerException();
  out->at(3);  // room for all four first
  out->at(0) = minX;
  out->at(1) = minY;
  out->at(2) = maxX - minX;
  out->at(3) = maxY - minY;
}

void TqCanvas::getInstanceBounds(VMPtr<VMArray<Gob>> images, int32_t instance, int32_t x, int32_t y,
                                 int32_t transform, VMPtr<VMArray<int32_t>> out) {
  if (getAnimFrameCount(instance) <= 0) return;
  getFrameBounds(images, getShownFrame(instance), transform, out);
  out->at(0) += x;
  out->at(1) += y;
}

void TqCanvas::getSpriteFrameBounds(VMPtr<VMArray<Gob>> images, int32_t spriteId, int32_t frame, int32_t transform,
                                    VMPtr<VMArray<int32_t>> out) {
  currentSpriteRow = indexOfSprite(spriteId);
  getFrameBounds(images, frame, transform, out);
}

void TqCanvas::drawInstance(VMPtr<Graphics> g, VMPtr<VMArray<Gob>> images, int32_t instance, int32_t x, int32_t y,
                            int32_t transform) {
  if (getAnimFrameCount(instance) == 0) return;
  drawFrame(g, images, getShownFrame(instance), x, y, transform);
}

void TqCanvas::drawSpriteFrame(VMPtr<Graphics> g, VMPtr<VMArray<Gob>> images, int32_t spriteId, int32_t frame,
                               int32_t x, int32_t y, int32_t transform) {
  currentSpriteRow = indexOfSprite(spriteId);
  drawFrame(g, images, frame, x, y, transform);
}

}  // namespace tq
