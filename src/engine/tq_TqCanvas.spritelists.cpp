// The scene's sprite lists: a dynamic list rebuilt by the game and drawn
// whole, and a static list whose keys, sorted once along the map's longer
// side, let a draw visit only the sprites near the region.

#include <algorithm>

#include "VMThrow.h"
#include "java_lang_IllegalArgumentException.h"
#include "tq_TqCanvas.h"

namespace tq {

namespace {

constexpr int32_t kIndexMask = 0xFFFF;

// Runs `paint` with g clipped to the region; g's clip is put back on every
// way out.
template <class Paint>
void withClip(VMPtr<javax::microedition::lcdui::Graphics> g, int32_t x, int32_t y, int32_t w, int32_t h,
              Paint&& paint) {
  const int32_t cx = g->getClipX(), cy = g->getClipY(), cw = g->getClipWidth(), ch = g->getClipHeight();
  g->setClip(x, y, w, h);
  try {
    paint();
  } catch (java::lang::Throwable* t) {
    VMPtr<java::lang::Throwable> thrown(t);
    g->setClip(cx, cy, cw, ch);
    _VM_throw(thrown);
  }
  g->setClip(cx, cy, cw, ch);
}

VMPtr<Gob> gobAt(VMPtr<VMArray<Gob>> gobs, int32_t i) {
  VMPtr<Gob> gob = gobs->get(i);
  if (!gob) _VM_throwNullPointerException();
  return gob;
}

}  // namespace

void TqCanvas::initSprites(int32_t capacity) {
  spriteCount = 0;
  const bool some = capacity > 0;
  spriteGobs = some ? VMArray<Gob>::create(capacity) : nullptr;
  spriteX = some ? VMArray<int16_t>::create(capacity) : nullptr;
  spriteY = some ? VMArray<int16_t>::create(capacity) : nullptr;
  spriteTransforms = some ? VMArray<int8_t>::create(capacity) : nullptr;
}

void TqCanvas::addSprite(VMPtr<Gob> gob, int32_t x, int32_t y, int32_t transform) {
  VMPtr<VMArray<Gob>> gobs = spriteGobs;
  if (!gobs) _VM_throwNullPointerException();
  const int32_t i = spriteCount;
  gobs->set(i, gob);
  spriteX->at(i) = static_cast<int16_t>(x);
  spriteY->at(i) = static_cast<int16_t>(y);
  spriteTransforms->at(i) = static_cast<int8_t>(transform);
  spriteCount = i + 1;
}

void TqCanvas::initStaticSprites(int32_t capacity) {
  staticCount = 0;
  staticMaxExtent = 0;
  staticUnsorted = 1;
  if (capacity <= 0) {
    staticGobs = nullptr;
    staticX = staticY = nullptr;
    staticTransforms = nullptr;
    staticKeys = staticVisible = nullptr;
    return;
  }
  // A key keeps the index in its low 16 bits.
  if (capacity > kIndexMask + 1) _VM_throwNew<java::lang::IllegalArgumentException>("more than 65536 static sprites");
  staticSortByY = mapRows * tileHeight > mapColumns * tileWidth;
  staticGobs = VMArray<Gob>::create(capacity);
  staticX = VMArray<int16_t>::create(capacity);
  staticY = VMArray<int16_t>::create(capacity);
  staticTransforms = VMArray<int8_t>::create(capacity);
  staticKeys = VMArray<int32_t>::create(capacity);
  staticVisible = VMArray<int32_t>::create(capacity);
}

void TqCanvas::addStaticSprite(VMPtr<Gob> gob, int32_t x, int32_t y, int32_t transform) {
  VMPtr<VMArray<Gob>> gobs = staticGobs;
  if (!gobs) _VM_throwNullPointerException();
  if (!gob) _VM_throwNullPointerException();
  const int32_t i = staticCount;
  gobs->set(i, gob);
  staticX->at(i) = static_cast<int16_t>(x);
  staticY->at(i) = static_cast<int16_t>(y);
  staticTransforms->at(i) = static_cast<int8_t>(transform);
  const int32_t leading = staticSortByY ? staticSpriteTop(i) : staticSpriteLeft(i);
  staticKeys->at(i) = i | static_cast<int32_t>(static_cast<uint32_t>(leading) << 16);
  const int32_t extent = staticSortByY ? gob->getHeight(transform) : gob->getWidth(transform);
  staticMaxExtent = std::max(staticMaxExtent, extent);
  staticCount = i + 1;
}

int32_t TqCanvas::staticSpriteLeft(int32_t i) {
  return staticX->at(i) + gobAt(staticGobs, i)->getOffsetX(staticTransforms->at(i));
}

int32_t TqCanvas::staticSpriteTop(int32_t i) {
  return staticY->at(i) + gobAt(staticGobs, i)->getOffsetY(staticTransforms->at(i));
}

// The static sprites overlapping the region, in the order they were
// added, into staticVisible; their number.
int32_t TqCanvas::findVisibleStatics(int32_t mapX, int32_t mapY, int32_t w, int32_t h) {
  VMPtr<VMArray<int32_t>> keys = staticKeys;
  VMPtr<VMArray<int32_t>> visible = staticVisible;
  if (staticUnsorted) {
    sortInts(keys, staticCount);
    staticUnsorted = 0;
  }
  const int32_t lo = staticSortByY ? mapY : mapX;
  const int32_t hi = lo + (staticSortByY ? h : w);
  int32_t found = 0;
  for (int32_t k = binarySearch(keys, staticCount - 1, static_cast<int32_t>(static_cast<uint32_t>(lo - staticMaxExtent) << 16));
       k < staticCount && (keys->at(k) >> 16) < hi; ++k) {
    const int32_t i = keys->at(k) & kIndexMask;
    VMPtr<Gob> gob = gobAt(staticGobs, i);
    const int32_t t = staticTransforms->at(i);
    if (rectanglesOverlap(staticSpriteLeft(i), staticSpriteTop(i), gob->getWidth(t), gob->getHeight(t), mapX, mapY,
                          w, h)) {
      visible->at(found++) = i;
    }
  }
  sortInts(visible, found);
  return found;
}

void TqCanvas::paintStaticSprites(VMPtr<Graphics> g, int32_t mapX, int32_t mapY, int32_t screenX, int32_t screenY,
                                  int32_t w, int32_t h) {
  if (staticCount <= 0) return;
  const int32_t found = findVisibleStatics(mapX, mapY, w, h);
  VMPtr<VMArray<int32_t>> visible = staticVisible;
  withClip(g, screenX, screenY, w, h, [&] {
    for (int32_t k = 0; k < found; ++k) {
      const int32_t i = visible->at(k);
      gobAt(staticGobs, i)->paint(g, staticX->at(i) - mapX + screenX, staticY->at(i) - mapY + screenY,
                                  staticTransforms->at(i));
    }
  });
}

void TqCanvas::paintDynamicSprites(VMPtr<Graphics> g, int32_t mapX, int32_t mapY, int32_t screenX, int32_t screenY,
                                   int32_t w, int32_t h) {
  if (spriteCount <= 0) return;
  withClip(g, screenX, screenY, w, h, [&] {
    for (int32_t i = 0; i < spriteCount; ++i) {
      VMPtr<Gob> gob = gobAt(spriteGobs, i);
      const int32_t t = spriteTransforms->at(i);
      const int32_t x = spriteX->at(i);
      const int32_t y = spriteY->at(i);
      if (!rectanglesOverlap(x + gob->getOffsetX(t), y + gob->getOffsetY(t), gob->getWidth(t), gob->getHeight(t), mapX,
                             mapY, w, h)) {
        continue;
      }
      gob->paint(g, x - mapX + screenX, y - mapY + screenY, t);
    }
  });
}

}  // namespace tq
