// Sprite instances: records of eight shorts that play one animation of a
// loaded sprite row, stepped by elapsed time; and the frame tables read
// back as rectangles and pieces.

#include <algorithm>

#include "VMJava.h"
#include "tq_TqCanvas.h"

namespace tq {

namespace {

enum Slot { kRow, kAnimation, kFrame, kLoops, kTime, kX, kY, kShown, kSlots };

// The signed 10-bit offset at `shift` of a frame's piece word.
int32_t pieceOffset(int32_t word, int32_t shift) { return _VM_signExtend(static_cast<uint32_t>(word) >> shift, 10); }

// One animation of one sprite row, read through the row's tables. Plain
// pointers: nothing here allocates, and the tables are held by the canvas.
struct Animation {
  VMArray<int32_t>* words;
  VMArray<int8_t>* bytes;
  VMArray<int16_t>* durations;
  int32_t first;
  int32_t count;
  int32_t loops;

  int32_t word(int32_t k) const { return words->at(first + k); }
  int32_t x(int32_t k) const { return pieceOffset(word(k), 12); }
  int32_t y(int32_t k) const { return pieceOffset(word(k), 2); }
  int32_t frame(int32_t k) const { return static_cast<int32_t>(static_cast<uint32_t>(word(k)) >> 22); }
  bool smooth(int32_t k) const { return (word(k) & 3) != 0; }
  int32_t mark(int32_t k) const { return static_cast<uint8_t>(bytes->at(first + k)) >> 6; }
  // A duration of 0 counts as 1, so that stepping always moves on.
  int32_t duration(int32_t k) const {
    return std::max<int32_t>(1, static_cast<uint16_t>(durations->at(bytes->at(first + k) & 63)));
  }
};

template <class T>
VMArray<T>* rowOf(VMArray<T, 2>* table, int32_t row) {
  if (table == nullptr) _VM_throwNullPointerException();
  VMPtr<VMArray<T>> r = table->get(row);
  if (!r) _VM_throwNullPointerException();
  return r.get();
}

Animation animationOf(TqCanvas* c, int32_t row, int32_t animation) {
  const int32_t header = rowOf(c->animHeaders.get(), row)->at(animation);
  return Animation{rowOf(c->animFrameWords.get(), row), rowOf(c->animFrameBytes.get(), row),
                   rowOf(c->frameDurations.get(), row), static_cast<int32_t>(static_cast<uint32_t>(header) >> 16),
                   header & 1023, _VM_signExtend(static_cast<uint32_t>(header) >> 10, 6)};
}

// Record i of the instance table, bounds-checked whole.
int16_t* recordOf(TqCanvas* c, int32_t i) {
  VMArray<int16_t>* table = c->spriteInstances.get();
  if (table == nullptr) _VM_throwNullPointerException();
  table->at(kSlots * i + kSlots - 1);
  table->at(kSlots * i);
  return table->elements() + kSlots * i;
}

Animation animationOfRecord(TqCanvas* c, const int16_t* r) { return animationOf(c, r[kRow], r[kAnimation]); }

// The rows and columns written into `out` go in groups of `width`.
bool roomFor(VMArray<int16_t>* out, int32_t at, int32_t width) { return at <= out->length - width; }

}  // namespace

void TqCanvas::reserveInstances(int32_t count) {
  VMPtr<VMArray<int16_t>> old = spriteInstances;
  const int32_t n = old ? old->length : 0;
  const int64_t want = int64_t{kSlots} * count;
  if (want <= n) return;
  if (want > INT32_MAX) _VM_throwNegativeArraySize();
  VMPtr<VMArray<int16_t>> grown = VMArray<int16_t>::create(static_cast<int32_t>(want));
  for (int32_t i = 0; i < n; ++i) grown->at(i) = old->at(i);
  spriteInstances = grown;
}

void TqCanvas::initInstance(int32_t i, int32_t spriteId, int32_t animation) {
  reserveInstances(i + 1);
  const int32_t row = indexOfSprite(spriteId);
  const Animation a = animationOf(this, row, animation);
  int16_t* r = recordOf(this, i);
  std::fill(r, r + kSlots, 0);
  r[kRow] = static_cast<int16_t>(row);
  r[kAnimation] = static_cast<int16_t>(animation);
  r[kLoops] = static_cast<int16_t>(a.loops);
}

void TqCanvas::copyInstance(int32_t from, int32_t to) {
  reserveInstances(to + 1);
  const int16_t* source = recordOf(this, from);
  std::copy(source, source + kSlots, recordOf(this, to));
}

int32_t TqCanvas::getInstanceFrameIndex(int32_t i) { return recordOf(this, i)[kFrame]; }
int32_t TqCanvas::getShownFrameIndex(int32_t i) { return recordOf(this, i)[kShown]; }
int32_t TqCanvas::getInstanceAnimation(int32_t i) { return recordOf(this, i)[kAnimation]; }
int32_t TqCanvas::getAnimFrameCount(int32_t i) { return animationOfRecord(this, recordOf(this, i)).count; }

void TqCanvas::setInstanceFrame(int32_t i, int32_t k) {
  int16_t* r = recordOf(this, i);
  const Animation a = animationOfRecord(this, r);
  const int32_t x = a.x(k);
  const int32_t y = a.y(k);
  motionX = x - r[kX];
  motionY = y - r[kY];
  r[kFrame] = static_cast<int16_t>(k);
  r[kTime] = 0;
  r[kX] = static_cast<int16_t>(x);
  r[kY] = static_cast<int16_t>(y);
  r[kShown] = static_cast<int16_t>(k);
}

int32_t TqCanvas::getInstanceTime(int32_t i) {
  const int16_t* r = recordOf(this, i);
  const Animation a = animationOfRecord(this, r);
  int32_t t = r[kTime];
  if (a.count > 0) {
    for (int32_t k = 0; k < r[kFrame]; ++k) t += a.duration(k);
  }
  return t;
}

uint8_t TqCanvas::updateInstance(int32_t i, int32_t elapsed) {
  int16_t* r = recordOf(this, i);
  int32_t loops = r[kLoops];
  if (loops == 0) {
    motionX = motionY = 0;
    return 0;
  }
  const Animation a = animationOfRecord(this, r);
  const int32_t n = a.count;
  int32_t k = r[kFrame];
  int32_t t = r[kTime] + elapsed;
  int32_t oldX = r[kX];
  int32_t oldY = r[kY];
  int32_t level = k == r[kShown] ? 0 : a.mark(k);
  int32_t shown = k;
  int32_t d;
  for (;;) {
    d = a.duration(k);
    if (t < d) break;
    t -= d;
    if (++k == n) {
      if (loops > 0 && --loops == 0) {
        k = n - 1;
        t = d;
        break;  // rests on the last frame
      }
      k = 0;
      oldX -= a.x(n - 1);  // the movement carries over the wrap
      oldY -= a.y(n - 1);
    }
    const int32_t b = a.mark(k);
    if (b < level) continue;
    shown = k;
    level = b;
    if (b == 3) break;
  }
  int32_t px = a.x(k);
  int32_t py = a.y(k);
  if (a.smooth(k) && loops != 0) {
    int32_t j = k + 1;
    if (j != n || loops != 1) {
      int32_t baseX = 0;
      int32_t baseY = 0;
      if (j == n) {
        j = 0;
        baseX = a.x(k);
        baseY = a.y(k);
      }
      const int32_t f = _VM_div(_VM_shl(t, 12), d);
      px += ((baseX + a.x(j) - px) * f) >> 12;
      py += ((baseY + a.y(j) - py) * f) >> 12;
    }
  }
  motionX = px - oldX;
  motionY = py - oldY;
  r[kFrame] = static_cast<int16_t>(k);
  r[kLoops] = static_cast<int16_t>(loops);
  r[kTime] = static_cast<int16_t>(t);
  r[kX] = static_cast<int16_t>(px);
  r[kY] = static_cast<int16_t>(py);
  r[kShown] = static_cast<int16_t>(shown);
  return loops != 0;
}

int32_t TqCanvas::getShownFrame(int32_t i) {
  const int16_t* r = recordOf(this, i);
  const Animation a = animationOfRecord(this, r);
  const int32_t frame = a.frame(r[kShown]);
  currentSpriteRow = r[kRow];
  return frame;
}

int32_t TqCanvas::selectSprite(int32_t spriteId, int32_t frame) {
  currentSpriteRow = indexOfSprite(spriteId);
  return (rowOf(frameHeaders.get(), currentSpriteRow)->at(frame) >> 8) & 0xFF;
}

int32_t TqCanvas::getFrameRects(VMPtr<VMArray<int16_t>> out, int32_t frame, int32_t transform, uint8_t filter,
                                int32_t type) {
  const int32_t row = currentSpriteRow;
  const int32_t count = (rowOf(frameHeaders.get(), row)->at(frame) >> 8) & 0xFF;
  const int32_t first = static_cast<uint16_t>(rowOf(frameRectStarts.get(), row)->at(frame));
  VMArray<int32_t>* words = rowOf(rectWords.get(), row);
  VMArray<int16_t>* shorts = rowOf(rectShorts.get(), row);
  if (!out) _VM_throwNullPointerException();
  int32_t written = 0;
  for (int32_t i = 0; i < count && roomFor(out.get(), 5 * written, 5); ++i) {
    const int32_t word = words->at(first + i);
    const int32_t s = static_cast<uint16_t>(shorts->at(first + i));
    int32_t x = word >> 21;
    int32_t y = _VM_signExtend(static_cast<uint32_t>(word) >> 10, 11);
    const int32_t w = word & 1023;
    const int32_t h = s >> 6;
    if (filter && (s & 63) != type) continue;
    if (transform & 2) x = -(w + x);
    if (transform & 1) y = -(h + y);
    const int16_t values[] = {static_cast<int16_t>(x), static_cast<int16_t>(y), static_cast<int16_t>(w),
                              static_cast<int16_t>(h), static_cast<int16_t>(s & 63)};
    std::copy(values, values + 5, out->elements() + 5 * written);
    ++written;
  }
  return written;
}

int32_t TqCanvas::getInstanceRects(VMPtr<VMArray<int16_t>> out, int32_t instance, int32_t transform) {
  if (getAnimFrameCount(instance) <= 0) return 0;
  return getFrameRects(out, getShownFrame(instance), transform, 0, 0);
}

int32_t TqCanvas::getInstanceRectsOfType(VMPtr<VMArray<int16_t>> out, int32_t instance, int32_t transform,
                                         int32_t type) {
  if (getAnimFrameCount(instance) <= 0) return 0;
  return getFrameRects(out, getShownFrame(instance), transform, 1, type);
}

int32_t TqCanvas::getSpriteFrameRects(VMPtr<VMArray<int16_t>> out, int32_t spriteId, int32_t frame,
                                      int32_t transform) {
  currentSpriteRow = indexOfSprite(spriteId);
  return getFrameRects(out, frame, transform, 0, 0);
}

int32_t TqCanvas::getSpriteFrameRectsOfType(VMPtr<VMArray<int16_t>> out, int32_t spriteId, int32_t frame,
                                            int32_t transform, int32_t type) {
  currentSpriteRow = indexOfSprite(spriteId);
  return getFrameRects(out, frame, transform, 1, type);
}

int32_t TqCanvas::getInstancePieces(VMPtr<VMArray<int16_t>> out, int32_t instance, int32_t transform) {
  if (getAnimFrameCount(instance) <= 0) return 0;
  const int32_t frame = getShownFrame(instance);
  const int32_t header = rowOf(frameHeaders.get(), currentSpriteRow)->at(frame);
  VMArray<int32_t>* pieces = rowOf(framePieces.get(), currentSpriteRow);
  const int32_t first = static_cast<int32_t>(static_cast<uint32_t>(header) >> 16);
  const int32_t count = header & 0xFF;
  if (!out) _VM_throwNullPointerException();
  for (int32_t i = 0, j = 0; i < count && roomFor(out.get(), j, 4); ++i, j += 4) {
    const int32_t p = pieces->at(first + i);
    const int32_t x = pieceOffset(p, 12);
    const int32_t y = pieceOffset(p, 2);
    const int16_t values[] = {static_cast<int16_t>(static_cast<uint32_t>(p) >> 22),
                              static_cast<int16_t>(((p ^ transform) & 2) ? -x : x),
                              static_cast<int16_t>(((p ^ transform) & 1) ? -y : y),
                              static_cast<int16_t>((p & 3) ^ transform)};
    std::copy(values, values + 4, out->elements() + j);
  }
  return count;
}

int32_t TqCanvas::getTransformedMotionX(int32_t transform) { return transformX(motionX, motionY, 0, 0, transform); }
int32_t TqCanvas::getTransformedMotionY(int32_t transform) { return transformY(motionX, motionY, 0, 0, transform); }

}  // namespace tq
