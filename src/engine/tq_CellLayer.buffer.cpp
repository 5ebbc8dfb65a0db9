// The buffered grid layer: the view kept in a ring image of its size,
// brought up to date at each paint and copied out in at most four pieces.
//
// Map point (x, y) lives at ring pixel (x floor-mod viewWidth, y floor-mod
// viewHeight); the ring holds the view at (bufferX, bufferY). A paint
// redraws the players that advanced, draws the pool entries added or moved
// since the last paint over the ring, redraws what scrolled into view (the
// whole view after a change of the map, tile set or lists) and the visible
// cells of animated cells that were set, then copies the ring out.
#include <algorithm>
#include <cstdlib>

#include "VMJava.h"
#include "tq_CellLayer.h"
#include "tq_TqCanvas.h"

namespace tq {

namespace {

// Clears `flag` on every exit, an exception from a drawable included.
struct FlagScope {
  explicit FlagScope(uint8_t& flag) : flag(flag) { flag = 1; }
  ~FlagScope() { flag = 0; }
  uint8_t& flag;
};

}  // namespace

void CellLayer::refreshBuffer() {
  const int32_t first = poolFirstChanged;
  if (first >= 0) {
    // The entries from the first changed one on, drawn over the ring;
    // where moved or removed entries were was redrawn when they changed.
    if (!cellsChanged) {
      FlagScope only(objectsOnly);
      redrawBufferArea(bufferX, bufferY, viewWidth, viewHeight);
    }
    poolFirstChanged = -1;
  }
  const bool whole = cellsChanged;
  if (whole) {
    cellsChanged = 0;
    VMPtr<VMArray<uint8_t>> flags = animatedChanged;
    if (flags) std::fill_n(flags->elements(), flags->length, uint8_t{0});
  }
  if (!whole && scrollX == bufferX && scrollY == bufferY) {
    // The list is collected afresh, so that an entry is listed once and
    // in drawing order.
    if (first >= 0) {
      poolVisibleCount = 0;
      collectVisiblePoolObjects(poolHead);
    }
    return;
  }
  const int64_t movedX = std::abs(int64_t{bufferX} - scrollX);
  const int64_t movedY = std::abs(int64_t{bufferY} - scrollY);
  const int32_t dx = whole ? viewWidth : static_cast<int32_t>(std::min<int64_t>(movedX, viewWidth));
  const int32_t dy = whole ? viewHeight : static_cast<int32_t>(std::min<int64_t>(movedY, viewHeight));
  const int64_t stripX = bufferX < scrollX ? int64_t{scrollX} + viewWidth - dx : scrollX;
  const int64_t stripY = bufferY < scrollY ? int64_t{scrollY} + viewHeight - dy : scrollY;
  bufferX = scrollX;
  bufferY = scrollY;
  poolVisibleCount = 0;
  collectVisiblePoolObjects(poolHead);
  if (dx == viewWidth && dy == viewHeight) {
    redrawBufferArea(scrollX, scrollY, dx, dy);
    return;
  }
  if (dx > 0) redrawBufferArea(stripX, scrollY, dx, viewHeight);
  if (dy > 0) redrawBufferArea(scrollX, stripY, viewWidth, dy);
}

void CellLayer::collectVisiblePoolObjects(int32_t start) {
  VMPtr<VMArray<Paintable>> drawables = poolObjects;
  VMPtr<VMArray<int32_t>> positions = poolPositions;
  VMPtr<VMArray<int16_t>> next = poolNext;
  VMPtr<VMArray<char16_t>> visible = poolVisible;
  const int64_t right = int64_t{scrollX} + viewWidth;
  const int64_t bottom = int64_t{scrollY} + viewHeight;
  for (int32_t h = start; h >= 0; h = next->at(h)) {
    VMPtr<Paintable> d = drawables->get(h);
    const int32_t packed = positions->at(h);
    const int32_t left = packedLeft(packed);
    const int32_t top = packedTop(packed);
    const int32_t t = packedTransform(packed);
    if (left < right && top < bottom && scrollX < int64_t{left} + d->getWidth(t) &&
        scrollY < int64_t{top} + d->getHeight(t)) {
      visible->at(poolVisibleCount++) = static_cast<char16_t>(h);
    }
  }
}

void CellLayer::redrawBufferArea(int64_t mx, int64_t my, int32_t w, int32_t h) {
  VMPtr<Graphics> g = bufferGraphics;
  const int32_t bx = floorMod(mx, viewWidth);
  const int32_t by = floorMod(my, viewHeight);
  const int32_t overX = bx + w - viewWidth;
  const int32_t overY = by + h - viewHeight;
  if (overX <= 0 && overY <= 0) {
    drawMapArea(g, mx, my, bx, by, w, h);
  } else if (overX <= 0) {
    drawMapArea(g, mx, my, bx, by, w, h - overY);
    drawMapArea(g, mx, my + h - overY, bx, 0, w, overY);
  } else if (overY <= 0) {
    drawMapArea(g, mx, my, bx, by, w - overX, h);
    drawMapArea(g, mx + w - overX, my, 0, by, overX, h);
  } else {
    drawMapArea(g, mx, my, bx, by, w - overX, h - overY);
    drawMapArea(g, mx, my + h - overY, bx, 0, w - overX, overY);
    drawMapArea(g, mx + w - overX, my + h - overY, 0, 0, overX, overY);
    drawMapArea(g, mx + w - overX, my, 0, by, overX, h - overY);
  }
}

void CellLayer::redrawInBufferView(int64_t left, int64_t top, int64_t width, int64_t height) {
  if (cellsChanged) return;
  const int64_t x0 = std::max<int64_t>(left, bufferX);
  const int64_t y0 = std::max<int64_t>(top, bufferY);
  const int64_t w = std::min<int64_t>(left + width, int64_t{bufferX} + viewWidth) - x0;
  const int64_t h = std::min<int64_t>(top + height, int64_t{bufferY} + viewHeight) - y0;
  if (w > 0 && h > 0) redrawBufferArea(x0, y0, static_cast<int32_t>(w), static_cast<int32_t>(h));
}

void CellLayer::refreshAnimatedCells() {
  VMPtr<VMArray<uint8_t>> flags = animatedChanged;
  if (!flags) return;
  uint8_t* set = flags->elements();
  if (std::find(set, set + flags->length, uint8_t{1}) == set + flags->length) return;
  if (cells) {
    // The visible cells, cut to the map.
    const int64_t firstCol = std::max<int64_t>(floorDiv(scrollX, cellWidth), 0);
    const int64_t lastCol = std::min<int64_t>(floorDiv(int64_t{scrollX} + viewWidth - 1, cellWidth), columns - 1);
    const int64_t firstRow = std::max<int64_t>(floorDiv(scrollY, cellHeight), 0);
    const int64_t lastRow = std::min<int64_t>(floorDiv(int64_t{scrollY} + viewHeight - 1, cellHeight), rows - 1);
    VMPtr<VMArray<int16_t>> map = cells;
    for (int64_t row = firstRow; row <= lastRow; ++row) {
      for (int64_t col = firstCol; col <= lastCol; ++col) {
        const int32_t v = map->at(static_cast<int32_t>(col + columns * row));
        if (v >= 0 || !flags->at(-v - 1)) continue;
        redrawInBufferView(col * cellWidth, row * cellHeight, cellWidth, cellHeight);
      }
    }
  }
  std::fill_n(flags->elements(), flags->length, uint8_t{0});
}

void CellLayer::blitBuffer(VMPtr<Graphics> g) {
  VMPtr<Image> ring = bufferImage;
  VMPtr<TqCanvas> canvas = TqCanvas::instance;
  const int32_t w = viewWidth;
  const int32_t h = viewHeight;
  const int32_t bx = floorMod(scrollX, w);
  const int32_t by = floorMod(scrollY, h);
  auto copy = [&](int32_t sx, int32_t sy, int32_t cw, int32_t ch, int32_t dx, int32_t dy) {
    if (canvas) {
      canvas->paintRegion(ring, sx, sy, cw, ch, g, dx, dy);
    } else {
      TqCanvas::drawRegion(ring, sx, sy, cw, ch, g, dx, dy);
    }
  };
  if (bx == 0 && by == 0) {
    copy(0, 0, w, h, 0, 0);
  } else if (bx == 0) {
    copy(0, by, w, h - by, 0, 0);
    copy(0, 0, w, by, 0, h - by);
  } else if (by == 0) {
    copy(bx, 0, w - bx, h, 0, 0);
    copy(0, 0, bx, h, w - bx, 0);
  } else {
    copy(bx, by, w - bx, h - by, 0, 0);
    copy(0, by, bx, h - by, w - bx, 0);
    copy(bx, 0, w - bx, by, 0, h - by);
    copy(0, 0, bx, by, w - bx, h - by);
  }
}

void CellLayer::clearArea(VMPtr<Graphics> g, int32_t x, int32_t y, int32_t w, int32_t h) {
  const int32_t mode = g->getDrawMode();
  const int32_t colour = g->getARGBColor();
  if (transparent) {
    // Mode 1 replaces colour and alpha: the area becomes fully transparent.
    g->setDrawMode(1, 0);
    g->setARGBColor(0);
  } else {
    g->setARGBColor(static_cast<int32_t>(0xFF000000u));
  }
  g->fillRect(x, y, w, h);
  g->setARGBColor(colour);
  g->setDrawMode(mode, 0);
}

}  // namespace tq
