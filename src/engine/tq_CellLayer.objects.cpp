// The grid layer's object list and pool of handles: drawables placed at
// map pixels and drawn over the tiles.
#include <algorithm>

#include "VMJava.h"
#include "VMThrow.h"
#include "java_lang_IllegalArgumentException.h"
#include "java_lang_System.h"
#include "tq_CellLayer.h"
#include "tq_TqCanvas.h"

namespace tq {

namespace {

// Keys carry a 16-bit edge; a search bound beyond it is cut to it.
int32_t edgeKey(int64_t edge) { return static_cast<int32_t>(std::clamp<int64_t>(edge, -32768, 32767) * 65536); }

}  // namespace

// --- Object list -----------------------------------------------------

void CellLayer::setObjectCapacity(int32_t n) {
  setObjectCapacity(n, int64_t{rows} * cellHeight > int64_t{cellWidth} * columns);
}

void CellLayer::setObjectCapacity(int32_t n, uint8_t byY) {
  if (n > kMostObjects) _VM_throwNew<java::lang::IllegalArgumentException>("more than 65535 objects");
  objectCount = 0;
  objectMaxExtent = 0;
  objectsUnsorted = 1;
  cellsChanged = 1;
  objects = nullptr;
  objectLeft = nullptr;
  objectTop = nullptr;
  objectOffsetX = nullptr;
  objectOffsetY = nullptr;
  objectWidth = nullptr;
  objectHeight = nullptr;
  objectTransforms = nullptr;
  objectKeys = nullptr;
  objectVisible = nullptr;
  if (n <= 0) return;
  // Made first, set together: a failed allocation leaves no half list.
  VMPtr<VMArray<Paintable>> drawables = VMArray<Paintable>::create(n);
  VMPtr<VMArray<int16_t>> left = VMArray<int16_t>::create(n);
  VMPtr<VMArray<int16_t>> top = VMArray<int16_t>::create(n);
  VMPtr<VMArray<int16_t>> offsetX = VMArray<int16_t>::create(n);
  VMPtr<VMArray<int16_t>> offsetY = VMArray<int16_t>::create(n);
  VMPtr<VMArray<int16_t>> width = VMArray<int16_t>::create(n);
  VMPtr<VMArray<int16_t>> height = VMArray<int16_t>::create(n);
  VMPtr<VMArray<int8_t>> transforms = VMArray<int8_t>::create(n);
  VMPtr<VMArray<int32_t>> keys = VMArray<int32_t>::create(n);
  VMPtr<VMArray<int32_t>> visible = VMArray<int32_t>::create(n);
  objectsByY = byY;
  objects = drawables;
  objectLeft = left;
  objectTop = top;
  objectOffsetX = offsetX;
  objectOffsetY = offsetY;
  objectWidth = width;
  objectHeight = height;
  objectTransforms = transforms;
  objectKeys = keys;
  objectVisible = visible;
}

void CellLayer::addObject(VMPtr<Paintable> p, int32_t x, int32_t y, int32_t transform) {
  if (!p) _VM_throwNullPointerException();
  const int32_t i = objectCount;
  const int32_t ox = p->getOffsetX(transform);
  const int32_t oy = p->getOffsetY(transform);
  const int32_t w = p->getWidth(transform);
  const int32_t h = p->getHeight(transform);
  // The array accesses raise the index exception of a full list before
  // anything changes.
  objects->set(i, p);
  objectOffsetX->at(i) = static_cast<int16_t>(ox);
  objectOffsetY->at(i) = static_cast<int16_t>(oy);
  objectWidth->at(i) = static_cast<int16_t>(w);
  objectHeight->at(i) = static_cast<int16_t>(h);
  objectLeft->at(i) = static_cast<int16_t>(x + ox);
  objectTop->at(i) = static_cast<int16_t>(y + oy);
  objectTransforms->at(i) = static_cast<int8_t>(transform & 3);
  objectKeys->at(i) = i | static_cast<int32_t>(static_cast<uint32_t>(objectsByY ? y + oy : x + ox) << 16);
  objectCount = i + 1;
  objectMaxExtent = std::max(objectMaxExtent, objectsByY ? h : w);
  // An entry added after a draw is sorted in before the next one.
  objectsUnsorted = 1;
  cellsChanged = 1;
}

void CellLayer::drawObjects(VMPtr<Graphics> g, int64_t mx, int64_t my, int32_t dx, int32_t dy, int32_t w,
                            int32_t h) {
  VMPtr<VMArray<int32_t>> keys = objectKeys;
  if (objectsUnsorted) {
    TqCanvas::sortInts(keys, objectCount);
    objectsUnsorted = 0;
  }
  const int64_t lo = objectsByY ? my : mx;
  const int64_t hi = lo + (objectsByY ? h : w);
  // Entries starting up to the largest extent before the area may reach
  // into it.
  int32_t index = TqCanvas::binarySearch(keys, objectCount - 1, edgeKey(lo - objectMaxExtent));
  VMPtr<VMArray<int16_t>> left = objectLeft;
  VMPtr<VMArray<int16_t>> top = objectTop;
  VMPtr<VMArray<int16_t>> width = objectWidth;
  VMPtr<VMArray<int16_t>> height = objectHeight;
  VMPtr<VMArray<int32_t>> visible = objectVisible;
  int32_t count = 0;
  for (; index < objectCount; ++index) {
    const int32_t key = keys->at(index);
    if ((key >> 16) >= hi) break;
    const int32_t i = key & 0xFFFF;
    const int32_t l = left->at(i);
    const int32_t t = top->at(i);
    if (l < mx + w && t < my + h && mx < l + width->at(i) && my < t + height->at(i)) visible->at(count++) = i;
  }
  // Drawn in the order they were added.
  TqCanvas::sortInts(visible, count);
  VMPtr<VMArray<Paintable>> drawables = objects;
  VMPtr<VMArray<int16_t>> offsetX = objectOffsetX;
  VMPtr<VMArray<int16_t>> offsetY = objectOffsetY;
  VMPtr<VMArray<int8_t>> transforms = objectTransforms;
  for (int32_t k = 0; k < count; ++k) {
    const int32_t i = visible->at(k);
    drawables->get(i)->paint(g, static_cast<int32_t>(left->at(i) - offsetX->at(i) - mx + dx),
                             static_cast<int32_t>(top->at(i) - offsetY->at(i) - my + dy), transforms->at(i));
  }
}

// --- Pool ------------------------------------------------------------

void CellLayer::setPoolCapacity(int32_t n) {
  if (n > kMostPoolHandles) _VM_throwNew<java::lang::IllegalArgumentException>("more than 32767 pool handles");
  poolObjects = nullptr;
  poolPositions = nullptr;
  poolNext = nullptr;
  poolPrev = nullptr;
  poolOrder = nullptr;
  poolVisible = nullptr;
  poolHead = poolTail = poolFree = poolFirstChanged = -1;
  poolVisibleCount = 0;
  cellsChanged = 1;
  if (n <= 0) return;
  VMPtr<VMArray<Paintable>> drawables = VMArray<Paintable>::create(n);
  VMPtr<VMArray<int32_t>> positions = VMArray<int32_t>::create(n);
  VMPtr<VMArray<int16_t>> next = VMArray<int16_t>::create(n);
  VMPtr<VMArray<int16_t>> prev = VMArray<int16_t>::create(n);
  VMPtr<VMArray<int64_t>> order = VMArray<int64_t>::create(n);
  VMPtr<VMArray<char16_t>> visible = buffered ? VMArray<char16_t>::create(n) : VMPtr<VMArray<char16_t>>();
  for (int32_t i = 0; i < n; ++i) next->at(i) = static_cast<int16_t>(i + 1 < n ? i + 1 : -1);
  poolObjects = drawables;
  poolPositions = positions;
  poolNext = next;
  poolPrev = prev;
  poolOrder = order;
  poolVisible = visible;
  poolFree = 0;
}

int32_t CellLayer::addPoolObject(VMPtr<Paintable> p, int32_t x, int32_t y, int32_t transform) {
  if (!p) _VM_throwNullPointerException();
  const int32_t packed = packPosition(x + p->getOffsetX(transform), y + p->getOffsetY(transform), transform);
  VMPtr<VMArray<int16_t>> next = poolNext;
  VMPtr<VMArray<int16_t>> prev = poolPrev;
  // A full pool: the index exception, before anything changes.
  const int32_t h = poolFree;
  poolFree = next->at(h);
  if (poolHead >= 0) {
    next->at(poolTail) = static_cast<int16_t>(h);
  } else {
    poolHead = h;
  }
  next->at(h) = -1;
  prev->at(h) = static_cast<int16_t>(poolTail);
  poolTail = h;
  poolOrder->at(h) = poolAdditions++;
  if (poolFirstChanged < 0) poolFirstChanged = h;
  poolObjects->set(h, p);
  poolPositions->at(h) = packed;
  return h;
}

void CellLayer::checkInUse(int32_t handle) {
  if (!poolObjects->get(handle)) _VM_throwNew<java::lang::IllegalArgumentException>("pool handle not in use");
}

void CellLayer::setPoolObject(VMPtr<Paintable> p, int32_t x, int32_t y, int32_t transform, int32_t handle) {
  if (!p) _VM_throwNullPointerException();
  checkInUse(handle);
  const int32_t packed = packPosition(x + p->getOffsetX(transform), y + p->getOffsetY(transform), transform);
  const int32_t oldPacked = poolPositions->at(handle);
  VMPtr<Paintable> old = poolObjects->get(handle);
  const int32_t t = packedTransform(oldPacked);
  const int32_t oldWidth = old->getWidth(t);
  const int32_t oldHeight = old->getHeight(t);
  poolObjects->set(handle, p);
  poolPositions->at(handle) = packed;
  // The earliest changed entry in the drawing order (not the lowest
  // handle: freed handles are handed out again at the end of the list).
  if (poolFirstChanged < 0 || poolOrder->at(poolFirstChanged) > poolOrder->at(handle)) poolFirstChanged = handle;
  if (!buffered) return;
  VMPtr<VMArray<char16_t>> visible = poolVisible;
  for (int32_t k = 0; k < poolVisibleCount; ++k) {
    if (visible->at(k) != handle) continue;
    // Where the entry was drawn in the ring is drawn again without it.
    redrawInBufferView(packedLeft(oldPacked), packedTop(oldPacked), oldWidth, oldHeight);
    return;
  }
}

void CellLayer::removePoolObject(int32_t handle) {
  checkInUse(handle);
  VMPtr<VMArray<int16_t>> nextLinks = poolNext;
  VMPtr<VMArray<int16_t>> prevLinks = poolPrev;
  const int32_t prev = prevLinks->at(handle);
  const int32_t next = nextLinks->at(handle);
  if (poolFirstChanged == handle) poolFirstChanged = next;
  if (prev < 0) {
    poolHead = next;
  } else {
    nextLinks->at(prev) = static_cast<int16_t>(next);
  }
  if (next < 0) {
    poolTail = prev;
  } else {
    prevLinks->at(next) = static_cast<int16_t>(prev);
  }
  nextLinks->at(handle) = static_cast<int16_t>(poolFree);
  poolFree = handle;
  VMPtr<Paintable> d = poolObjects->get(handle);
  poolObjects->set(handle, nullptr);
  if (!buffered) return;
  VMPtr<VMArray<char16_t>> visible = poolVisible;
  for (int32_t k = 0; k < poolVisibleCount; ++k) {
    if (visible->at(k) != handle) continue;
    // The entry leaves the ring's list, and where it was drawn is drawn
    // again without it.
    --poolVisibleCount;
    java::lang::System::arraycopy(visible, k + 1, visible, k, poolVisibleCount - k);
    const int32_t packed = poolPositions->at(handle);
    const int32_t t = packedTransform(packed);
    redrawInBufferView(packedLeft(packed), packedTop(packed), d->getWidth(t), d->getHeight(t));
    return;
  }
}

uint8_t CellLayer::removePoolObject(VMPtr<Paintable> p, int32_t x, int32_t y, int32_t transform) {
  VMPtr<VMArray<Paintable>> drawables = poolObjects;
  VMPtr<VMArray<int32_t>> positions = poolPositions;
  VMPtr<VMArray<int16_t>> next = poolNext;
  for (int32_t h = poolHead; h >= 0; h = next->at(h)) {
    VMPtr<Paintable> d = drawables->get(h);
    const int32_t packed = positions->at(h);
    const int32_t t = packedTransform(packed);
    if ((x == kAny || x == packedLeft(packed) - d->getOffsetX(t)) &&
        (y == kAny || y == packedTop(packed) - d->getOffsetY(t)) && (!p || p.get() == d.get()) &&
        (transform == kAny || transform == t)) {
      removePoolObject(h);
      return 1;
    }
  }
  return 0;
}

void CellLayer::drawPoolObjects(VMPtr<Graphics> g, int64_t mx, int64_t my, int32_t dx, int32_t dy, int32_t w,
                                int32_t h, bool onlyChanged) {
  VMPtr<VMArray<Paintable>> drawables = poolObjects;
  VMPtr<VMArray<int32_t>> positions = poolPositions;
  VMPtr<VMArray<int16_t>> next = poolNext;
  VMPtr<VMArray<char16_t>> visible = poolVisible;
  // The entries: the changed ones on, the ring's visible list, or all.
  const bool listed = !onlyChanged && buffered;
  int32_t k = 0;
  int32_t handle = onlyChanged ? poolFirstChanged : listed ? (poolVisibleCount > 0 ? visible->at(0) : -1) : poolHead;
  while (handle >= 0) {
    VMPtr<Paintable> d = drawables->get(handle);
    const int32_t packed = positions->at(handle);
    const int32_t left = packedLeft(packed);
    const int32_t top = packedTop(packed);
    if (d && left < mx + w && top < my + h) {
      const int32_t t = packedTransform(packed);
      if (mx < left + d->getWidth(t) && my < top + d->getHeight(t)) {
        d->paint(g, static_cast<int32_t>(left - d->getOffsetX(t) - mx + dx),
                 static_cast<int32_t>(top - d->getOffsetY(t) - my + dy), t);
      }
    }
    if (listed) {
      handle = ++k < poolVisibleCount ? visible->at(k) : -1;
    } else {
      handle = next->at(handle);
    }
  }
}

}  // namespace tq
