#include "tq_CellLayer.h"

#include <algorithm>

#include "VMJava.h"
#include "VMThrow.h"
#include "java_lang_IllegalArgumentException.h"
#include "java_lang_System.h"
#include "tq_TqCanvas.h"

VM_REGISTER_CLASS(tq::CellLayer, "tq.CellLayer", "java.lang.Object", 0);

namespace tq {

VMPtr<CellLayer> CellLayer::create(int32_t viewWidth, int32_t viewHeight) {
  return _VM_new()->_VM_init(0, 0, 0, viewWidth, viewHeight);
}

VMPtr<CellLayer> CellLayer::_VM_init(uint8_t buffered, uint8_t separateTiles, uint8_t transparent,
                                     int32_t viewWidth, int32_t viewHeight) {
  Base::_VM_init();
  this->buffered = buffered;
  this->separateTiles = separateTiles;
  this->transparent = transparent;
  this->viewWidth = viewWidth;
  this->viewHeight = viewHeight;
  cellPlayerTime = kNeverAdvanced;
  if (buffered) {
    if (viewWidth < 1 || viewHeight < 1) _VM_throwNew<java::lang::IllegalArgumentException>("view size below 1");
    VMPtr<TqCanvas> canvas = TqCanvas::instance;
    VMPtr<Image> ring = canvas ? canvas->createImage(viewWidth, viewHeight, transparent, 0)
                               : Image::createMutableImage(viewWidth, viewHeight, transparent, 0);
    bufferImage = ring;
    bufferGraphics = ring->getGraphics();
    clearBeforeDraw = 1;
  }
  setPoolCapacity(0);
  return VMPtr<CellLayer>(this);
}

void CellLayer::clearTiles() {
  cells = nullptr;
  tileImage = nullptr;
  tileX = nullptr;
  tileY = nullptr;
  tileImages = nullptr;
  animatedCells = nullptr;
  animatedChanged = nullptr;
  cellsChanged = 1;
}

void CellLayer::setTiles(int32_t columns, int32_t rows, VMPtr<Image> tiles, int32_t cellWidth, int32_t cellHeight) {
  if (cellWidth < 1 || cellHeight < 1) _VM_throwNew<java::lang::IllegalArgumentException>("cell size below 1");
  if (!tiles) _VM_throwNullPointerException();
  clearTiles();
  const int64_t size = int64_t{columns} * rows;
  if (columns < 0 || rows < 0 || size > INT32_MAX) _VM_throwNew<java::lang::IllegalArgumentException>("map size");
  VMPtr<VMArray<int16_t>> map = VMArray<int16_t>::create(static_cast<int32_t>(size));
  VMPtr<VMArray<char16_t>> animated = VMArray<char16_t>::create(0);
  VMPtr<VMArray<uint8_t>> changed = VMArray<uint8_t>::create(0);
  this->columns = columns;
  this->rows = rows;
  cells = map;
  animatedCells = animated;
  animatedChanged = changed;
  this->cellWidth = cellWidth;
  this->cellHeight = cellHeight;
  cutTiles(tiles->getWidth(), tiles->getHeight());
  if (separateTiles) {
    copySeparateTiles(tiles);
  } else {
    tileImage = tiles;
  }
}

void CellLayer::setTileSet(VMPtr<Gob> tiles, int32_t cellWidth, int32_t cellHeight) {
  if (cellWidth < 1 || cellHeight < 1) _VM_throwNew<java::lang::IllegalArgumentException>("cell size below 1");
  if (!tiles) _VM_throwNullPointerException();
  this->cellWidth = cellWidth;
  this->cellHeight = cellHeight;
  cutTiles(tiles->getWidth(0), tiles->getHeight(0));
  tileImage = tiles->image;
  cellsChanged = 1;
}

void CellLayer::cutTiles(int32_t width, int32_t height) {
  const int32_t across = std::max(width / cellWidth, 0);
  const int32_t down = std::max(height / cellHeight, 0);
  VMPtr<VMArray<char16_t>> xs = VMArray<char16_t>::create(across * down);
  VMPtr<VMArray<char16_t>> ys = VMArray<char16_t>::create(across * down);
  for (int32_t i = 0; i < across * down; ++i) {
    xs->at(i) = static_cast<char16_t>(i % across * cellWidth);
    ys->at(i) = static_cast<char16_t>(i / across * cellHeight);
  }
  tileX = xs;
  tileY = ys;
}

void CellLayer::copySeparateTiles(VMPtr<Image> tiles) {
  VMPtr<VMArray<char16_t>> xs = tileX;
  VMPtr<VMArray<char16_t>> ys = tileY;
  VMPtr<VMArray<Image>> images = VMArray<Image>::create(xs->length);
  for (int32_t i = 0; i < xs->length; ++i) {
    VMPtr<Image> cell = Image::createImage(cellWidth, cellHeight);
    cell->getGraphics()->drawImage(tiles, -xs->at(i), -ys->at(i), Graphics::TOP | Graphics::LEFT);
    images->set(i, Image::createImage(cell));
  }
  tileImages = images;
}

void CellLayer::setCell(int32_t col, int32_t row, int32_t value) {
  cells->at(col + columns * row) = static_cast<int16_t>(value);
  cellsChanged = 1;
}

int32_t CellLayer::getCell(int32_t col, int32_t row) { return cells->at(col + columns * row); }

int32_t CellLayer::createAnimatedCell(int32_t value) {
  VMPtr<VMArray<char16_t>> old = animatedCells;
  const int32_t n = old ? old->length : 0;
  VMPtr<VMArray<char16_t>> grown = VMArray<char16_t>::create(n + 1);
  if (n > 0) java::lang::System::arraycopy(old, 0, grown, 0, n);
  grown->at(n) = static_cast<char16_t>(value);
  if (buffered) {
    VMPtr<VMArray<uint8_t>> oldFlags = animatedChanged;
    VMPtr<VMArray<uint8_t>> flags = VMArray<uint8_t>::create(n + 1);
    if (oldFlags) java::lang::System::arraycopy(oldFlags, 0, flags, 0, std::min(oldFlags->length, n));
    animatedChanged = flags;
  }
  animatedCells = grown;
  return -(n + 1);
}

void CellLayer::setAnimatedCell(int32_t cell, int32_t value) {
  animatedCells->at(-cell - 1) = static_cast<char16_t>(value);
  if (buffered) animatedChanged->at(-cell - 1) = 1;
}

int32_t CellLayer::getAnimatedCell(int32_t cell) { return animatedCells->at(-cell - 1); }

void CellLayer::setPosition(int32_t x, int32_t y) {
  scrollX = x;
  scrollY = y;
}

void CellLayer::paint(VMPtr<Graphics> g) {
  if (buffered) {
    refreshPlayers();
    refreshBuffer();
    refreshAnimatedCells();
    blitBuffer(g);
    return;
  }
  int64_t mx = scrollX;
  int64_t my = scrollY;
  int32_t dx = 0;
  int32_t dy = 0;
  int32_t w = viewWidth;
  int32_t h = viewHeight;
  const int32_t cx = g->getClipX();
  const int32_t cy = g->getClipY();
  const int32_t cw = g->getClipWidth();
  const int32_t ch = g->getClipHeight();
  if (cx > 0) {
    mx += cx;
    dx = cx;
    w -= cx;
  }
  if (int64_t{dx} + w > int64_t{cx} + cw) w = static_cast<int32_t>(int64_t{cx} + cw - dx);
  if (cy > 0) {
    my += cy;
    dy = cy;
    h -= cy;
  }
  if (int64_t{dy} + h > int64_t{cy} + ch) h = static_cast<int32_t>(int64_t{cy} + ch - dy);
  if (w <= 0 || h <= 0) return;
  if (cellPlayerCount > 0) advancePlayers();
  drawMapArea(g, mx, my, dx, dy, w, h);
  g->setClip(cx, cy, cw, ch);
}

void CellLayer::drawArea(VMPtr<Graphics> g, int32_t mx, int32_t my, int32_t dx, int32_t dy, int32_t w, int32_t h) {
  drawMapArea(g, mx, my, dx, dy, w, h);
}

void CellLayer::drawMapArea(VMPtr<Graphics> g, int64_t mx, int64_t my, int32_t dx, int32_t dy, int32_t w,
                            int32_t h) {
  g->setClip(dx, dy, w, h);
  if (!objectsOnly) {
    if (clearBeforeDraw) clearArea(g, dx, dy, w, h);
    if (cells) drawTiles(g, mx, my, dx, dy, w, h);
    if (objectCount > 0) drawObjects(g, mx, my, dx, dy, w, h);
    if (cellPlayerCount > 0) drawPlayers(g, mx, my, dx, dy, w, h);
  }
  if (poolHead >= 0) drawPoolObjects(g, mx, my, dx, dy, w, h, objectsOnly);
}

void CellLayer::drawTiles(VMPtr<Graphics> g, int64_t mx, int64_t my, int32_t dx, int32_t dy, int32_t w, int32_t h) {
  // The cells meeting the rectangle, cut to the map.
  const int64_t firstCol = std::max<int64_t>(floorDiv(mx, cellWidth), 0);
  const int64_t lastCol = std::min<int64_t>(floorDiv(mx + w - 1, cellWidth), columns - 1);
  const int64_t firstRow = std::max<int64_t>(floorDiv(my, cellHeight), 0);
  const int64_t lastRow = std::min<int64_t>(floorDiv(my + h - 1, cellHeight), rows - 1);
  VMPtr<VMArray<int16_t>> map = cells;
  VMPtr<VMArray<char16_t>> animated = animatedCells;
  for (int64_t row = lastRow; row >= firstRow; --row) {
    const int64_t top = row * cellHeight;
    const int64_t cutTop = std::max<int64_t>(my - top, 0);
    const int64_t bottom = std::min<int64_t>(top + cellHeight, my + h);
    for (int64_t col = lastCol; col >= firstCol; --col) {
      int32_t value = map->at(static_cast<int32_t>(col + columns * row));
      if (value < 0) value = animated->at(-value - 1);
      const int32_t tile = value & kTileMask;
      if (tile == 0) continue;
      const int64_t left = col * cellWidth;
      const int64_t cutLeft = std::max<int64_t>(mx - left, 0);
      const int64_t right = std::min<int64_t>(left + cellWidth, mx + w);
      drawTile(g, tile - 1, static_cast<int32_t>(cutLeft), static_cast<int32_t>(cutTop),
               static_cast<int32_t>(right - left - cutLeft), static_cast<int32_t>(bottom - top - cutTop),
               static_cast<int32_t>(dx + left + cutLeft - mx), static_cast<int32_t>(dy + top + cutTop - my));
    }
  }
}

void CellLayer::drawTile(VMPtr<Graphics> g, int32_t tile, int32_t sx, int32_t sy, int32_t w, int32_t h, int32_t dx,
                         int32_t dy) {
  if (separateTiles) {
    TqCanvas::drawRegion(tileImages->get(tile), sx, sy, w, h, g, dx, dy);
  } else {
    TqCanvas::drawRegion(tileImage, tileX->at(tile) + sx, tileY->at(tile) + sy, w, h, g, dx, dy);
  }
}

void CellLayer::_VM_markReferences(int colour) {
  _VM_mark(cells, colour);
  _VM_mark(animatedCells, colour);
  _VM_mark(tileImage, colour);
  _VM_mark(tileX, colour);
  _VM_mark(tileY, colour);
  _VM_mark(tileImages, colour);
  _VM_mark(objects, colour);
  _VM_mark(objectLeft, colour);
  _VM_mark(objectTop, colour);
  _VM_mark(objectOffsetX, colour);
  _VM_mark(objectOffsetY, colour);
  _VM_mark(objectWidth, colour);
  _VM_mark(objectHeight, colour);
  _VM_mark(objectTransforms, colour);
  _VM_mark(objectKeys, colour);
  _VM_mark(objectVisible, colour);
  _VM_mark(poolObjects, colour);
  _VM_mark(poolPositions, colour);
  _VM_mark(poolNext, colour);
  _VM_mark(poolPrev, colour);
  _VM_mark(poolOrder, colour);
  _VM_mark(cellPlayers, colour);
  _VM_mark(cellPlayerX, colour);
  _VM_mark(cellPlayerY, colour);
  _VM_mark(bufferImage, colour);
  _VM_mark(bufferGraphics, colour);
  _VM_mark(animatedChanged, colour);
  _VM_mark(poolVisible, colour);
  Base::_VM_markReferences(colour);
}

}  // namespace tq
