#include "tq_CellLayer.h"

#include <algorithm>

#include "VMJava.h"
#include "VMThrow.h"
#include "java_lang_ArrayIndexOutOfBoundsException.h"
#include "java_lang_IllegalArgumentException.h"
#include "java_lang_System.h"
#include "tq_AnimPlayer.h"
#include "tq_TqCanvas.h"

VM_REGISTER_CLASS(tq::CellLayer, "tq.CellLayer", "java.lang.Object", 0);

namespace tq {

namespace {

// Java's Math.floorDiv: the cell of a negative map coordinate is negative.
int64_t floorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

}  // namespace

VMPtr<CellLayer> CellLayer::create(int32_t viewWidth, int32_t viewHeight) {
  return _VM_new()->_VM_init(0, viewWidth, viewHeight);
}

VMPtr<CellLayer> CellLayer::_VM_init(uint8_t separateTiles, int32_t viewWidth, int32_t viewHeight) {
  Base::_VM_init();
  this->separateTiles = separateTiles;
  this->viewWidth = viewWidth;
  this->viewHeight = viewHeight;
  cellPlayerTime = kNeverAdvanced;
  return VMPtr<CellLayer>(this);
}

void CellLayer::clearTiles() {
  cells = nullptr;
  tileImage = nullptr;
  tileX = nullptr;
  tileY = nullptr;
  tileImages = nullptr;
  animatedCells = nullptr;
}

void CellLayer::setTiles(int32_t columns, int32_t rows, VMPtr<Image> tiles, int32_t cellWidth, int32_t cellHeight) {
  if (cellWidth < 1 || cellHeight < 1) _VM_throwNew<java::lang::IllegalArgumentException>("cell size below 1");
  if (!tiles) _VM_throwNullPointerException();
  clearTiles();
  const int64_t size = int64_t{columns} * rows;
  if (columns < 0 || rows < 0 || size > INT32_MAX) _VM_throwNew<java::lang::IllegalArgumentException>("map size");
  VMPtr<VMArray<int16_t>> map = VMArray<int16_t>::create(static_cast<int32_t>(size));
  VMPtr<VMArray<char16_t>> animated = VMArray<char16_t>::create(0);
  this->columns = columns;
  this->rows = rows;
  cells = map;
  animatedCells = animated;
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
  animatedCells = grown;
  return -(n + 1);
}

void CellLayer::setAnimatedCell(int32_t cell, int32_t value) {
  animatedCells->at(-cell - 1) = static_cast<char16_t>(value);
}

int32_t CellLayer::getAnimatedCell(int32_t cell) { return animatedCells->at(-cell - 1); }

void CellLayer::setPosition(int32_t x, int32_t y) {
  scrollX = x;
  scrollY = y;
}

void CellLayer::paint(VMPtr<Graphics> g) {
  int32_t mx = scrollX;
  int32_t my = scrollY;
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
  if (dx + w > cx + cw) w = cx + cw - dx;
  if (cy > 0) {
    my += cy;
    dy = cy;
    h -= cy;
  }
  if (dy + h > cy + ch) h = cy + ch - dy;
  if (w <= 0 || h <= 0) return;
  drawArea(g, mx, my, dx, dy, w, h);
  g->setClip(cx, cy, cw, ch);
}

void CellLayer::drawArea(VMPtr<Graphics> g, int32_t mx, int32_t my, int32_t dx, int32_t dy, int32_t w, int32_t h) {
  g->setClip(dx, dy, w, h);
  if (cells) drawTiles(g, mx, my, dx, dy, w, h);
  if (cellPlayerCount > 0) drawPlayers(g, mx, my, dx, dy, w, h);
}

void CellLayer::setAnimatedCellCapacity(int32_t n) {
  cellPlayerCount = 0;
  cellPlayerTime = kNeverAdvanced;
  if (n <= 0) {
    cellPlayers = nullptr;
    cellPlayerX = nullptr;
    cellPlayerY = nullptr;
    return;
  }
  VMPtr<VMArray<Paintable>> players = VMArray<Paintable>::create(n);
  VMPtr<VMArray<int32_t>> xs = VMArray<int32_t>::create(n);
  VMPtr<VMArray<int32_t>> ys = VMArray<int32_t>::create(n);
  cellPlayers = players;
  cellPlayerX = xs;
  cellPlayerY = ys;
}

void CellLayer::addAnimatedCell(VMPtr<Paintable> p, int32_t x, int32_t y) {
  if (!p) _VM_throwNullPointerException();
  // A list never made is as full as a full one: the index exception.
  if (!cellPlayers) _VM_throwNew<java::lang::ArrayIndexOutOfBoundsException>();
  cellPlayers->set(cellPlayerCount, p);
  cellPlayerX->at(cellPlayerCount) = x;
  cellPlayerY->at(cellPlayerCount) = y;
  ++cellPlayerCount;
}

void CellLayer::advancePlayers() {
  const int64_t now = TqCanvas::getTimeMillis();
  const int64_t elapsed =
      cellPlayerTime == kNeverAdvanced ? 0 : std::clamp<int64_t>(now - cellPlayerTime, 0, kMostPlayerStep);
  cellPlayerTime = now;
  if (elapsed == 0) return;
  VMPtr<VMArray<Paintable>> players = cellPlayers;
  for (int32_t i = 0; i < cellPlayerCount; ++i) {
    VMPtr<Paintable> p = players->get(i);
    if (p->getKind() == 2) _VM_cast<AnimPlayer>(p)->update(static_cast<int32_t>(elapsed));
  }
}

void CellLayer::drawPlayers(VMPtr<Graphics> g, int32_t mx, int32_t my, int32_t dx, int32_t dy, int32_t w,
                            int32_t h) {
  advancePlayers();
  VMPtr<VMArray<Paintable>> players = cellPlayers;
  VMPtr<VMArray<int32_t>> xs = cellPlayerX;
  VMPtr<VMArray<int32_t>> ys = cellPlayerY;
  for (int32_t i = 0; i < cellPlayerCount; ++i) {
    VMPtr<Paintable> p = players->get(i);
    const int64_t left = int64_t{xs->at(i)} + p->getOffsetX(0);
    const int64_t top = int64_t{ys->at(i)} + p->getOffsetY(0);
    if (left >= int64_t{mx} + w || top >= int64_t{my} + h || left + p->getWidth(0) <= mx ||
        top + p->getHeight(0) <= my) {
      continue;
    }
    p->paint(g, xs->at(i) - mx + dx, ys->at(i) - my + dy, 0);
  }
}

void CellLayer::drawTiles(VMPtr<Graphics> g, int32_t mx, int32_t my, int32_t dx, int32_t dy, int32_t w, int32_t h) {
  // The cells meeting the rectangle, cut to the map; 64-bit so that a far
  // scroll position does not wrap.
  const int64_t firstCol = std::max<int64_t>(floorDiv(mx, cellWidth), 0);
  const int64_t lastCol = std::min<int64_t>(floorDiv(int64_t{mx} + w - 1, cellWidth), columns - 1);
  const int64_t firstRow = std::max<int64_t>(floorDiv(my, cellHeight), 0);
  const int64_t lastRow = std::min<int64_t>(floorDiv(int64_t{my} + h - 1, cellHeight), rows - 1);
  VMPtr<VMArray<int16_t>> map = cells;
  VMPtr<VMArray<char16_t>> animated = animatedCells;
  for (int64_t row = lastRow; row >= firstRow; --row) {
    const int64_t top = row * cellHeight;
    const int64_t cutTop = std::max<int64_t>(my - top, 0);
    const int64_t bottom = std::min<int64_t>(top + cellHeight, int64_t{my} + h);
    for (int64_t col = lastCol; col >= firstCol; --col) {
      int32_t value = map->at(static_cast<int32_t>(col + columns * row));
      if (value < 0) value = animated->at(-value - 1);
      const int32_t tile = value & kTileMask;
      if (tile == 0) continue;
      const int64_t left = col * cellWidth;
      const int64_t cutLeft = std::max<int64_t>(mx - left, 0);
      const int64_t right = std::min<int64_t>(left + cellWidth, int64_t{mx} + w);
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
  _VM_mark(cellPlayers, colour);
  _VM_mark(cellPlayerX, colour);
  _VM_mark(cellPlayerY, colour);
  Base::_VM_markReferences(colour);
}

}  // namespace tq
