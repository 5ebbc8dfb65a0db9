// The canvas's tile map: cells of tile codes over one tile image, handles
// for animated tiles, the camera and the scene view, and the scene painter
// that draws what the camera shows: tiles, then the static sprites, then
// the dynamic ones.

#include <algorithm>

#include "VMJava.h"
#include "VMThrow.h"
#include "java_lang_IllegalArgumentException.h"
#include "tq_TqCanvas.h"

namespace tq {

namespace {

using Image = javax::microedition::lcdui::Image;
constexpr int32_t kTopLeft = 20;

void requireTileSize(int32_t tileWidth, int32_t tileHeight) {
  if (tileWidth <= 0 || tileHeight <= 0) _VM_throwNew<java::lang::IllegalArgumentException>("tile size below 1");
}

int32_t floorDiv(int32_t a, int32_t b) { return static_cast<int32_t>((int64_t{a} - (a < 0 ? b - 1 : 0)) / b); }

// How far the camera shows space beyond the map along one axis.
int32_t overshoot(int32_t camera, int32_t view, int32_t mapSize) {
  return camera >= 0 ? std::max(camera + view - mapSize, 0) : camera;
}

// The part of cell span [start, start + size) inside [lo, hi).
struct Span {
  int32_t from;
  int32_t to;
};
Span cut(int32_t start, int32_t size, int32_t lo, int32_t hi) { return {std::max(start, lo), std::min(start + size, hi)}; }

}  // namespace

void TqCanvas::initTileMap(int32_t columns, int32_t rows, VMPtr<Image> tiles, int32_t tileWidth,
                           int32_t tileHeight) {
  requireTileSize(tileWidth, tileHeight);
  const int64_t cells = int64_t{columns} * rows;
  if (columns < 0 || rows < 0 || cells > INT32_MAX) {
    _VM_throwNew<java::lang::IllegalArgumentException>("map size outside 0..2^31 cells");
  }
  cameraX = cameraY = 0;
  mapColumns = columns;
  mapRows = rows;
  mapCells = VMArray<int16_t>::create(static_cast<int32_t>(cells));
  handleValues = VMArray<int32_t>::create(0);
  tileSourceX = nullptr;
  setTileImage(tiles, tileWidth, tileHeight);
}

uint8_t TqCanvas::setTileImage(VMPtr<Image> tiles, int32_t tileWidth, int32_t tileHeight) {
  requireTileSize(tileWidth, tileHeight);
  this->tileWidth = tileWidth;
  this->tileHeight = tileHeight;
  const int32_t iw = tiles->getWidth();
  const int32_t ih = tiles->getHeight();
  VMPtr<VMArray<int32_t>> oldSources = tileSourceX;
  const int32_t old = oldSources ? oldSources->length : 0;
  const int32_t n = (iw / tileWidth) * (ih / tileHeight);
  const bool smaller = n < old;
  if (smaller) {
    fillCells(0, 0, mapColumns, mapRows, 0);
    handleValues = VMArray<int32_t>::create(0);
  }
  VMPtr<VMArray<int32_t>> xs = VMArray<int32_t>::create(n);
  VMPtr<VMArray<int32_t>> ys = VMArray<int32_t>::create(n);
  int32_t k = 0;
  for (int32_t y = 0; y <= ih - tileHeight; y += tileHeight) {
    for (int32_t x = 0; x <= iw - tileWidth; x += tileWidth, ++k) {
      xs->at(k) = x;
      ys->at(k) = y;
    }
  }
  tileImage = tiles;
  tileSourceX = xs;
  tileSourceY = ys;
  return smaller;
}

int32_t TqCanvas::getCell(int32_t col, int32_t row) {
  VMPtr<VMArray<int16_t>> cells = mapCells;
  if (!cells) _VM_throwNullPointerException();
  return cells->at(col + mapColumns * row);
}

void TqCanvas::setCell(int32_t col, int32_t row, int32_t code) {
  VMPtr<VMArray<int16_t>> cells = mapCells;
  if (!cells) _VM_throwNullPointerException();
  cells->at(col + mapColumns * row) = static_cast<int16_t>(code);
}

void TqCanvas::fillCells(int32_t col, int32_t row, int32_t numCols, int32_t numRows, int32_t code) {
  for (int32_t r = row; r < row + numRows; ++r) {
    for (int32_t c = col; c < col + numCols; ++c) setCell(c, r, code);
  }
}

int32_t TqCanvas::getHandle(int32_t handle) {
  VMPtr<VMArray<int32_t>> values = handleValues;
  if (!values) _VM_throwNullPointerException();
  return values->at(-handle - 1);
}

int32_t TqCanvas::resolveTile(int32_t code) { return code >= 0 ? code : getHandle(code); }

void TqCanvas::setCamera(int32_t x, int32_t y) {
  cameraX = -x;
  cameraY = -y;
}

uint8_t TqCanvas::setSceneSize(int32_t w, int32_t h) {
  sceneViewWidth = std::max(w, 0);
  sceneViewHeight = std::max(h, 0);
  if (w >= 0 && h >= 0) return 0;
  tileImage = nullptr;
  tileSourceX = nullptr;
  tileSourceY = nullptr;
  mapCells = nullptr;
  handleValues = nullptr;
  return 1;
}

void TqCanvas::paintScene(VMPtr<Graphics> g) {
  const int32_t dx = overshoot(cameraX, sceneViewWidth, mapColumns * tileWidth);
  const int32_t dy = overshoot(cameraY, sceneViewHeight, mapRows * tileHeight);
  cameraX -= dx;
  cameraY -= dy;
  g->translate(-dx, -dy);
  try {
    paintSceneRegion(g);
  } catch (java::lang::Throwable* t) {
    VMPtr<java::lang::Throwable> thrown(t);
    sceneGraphics = nullptr;
    cameraX += dx;
    cameraY += dy;
    g->translate(dx, dy);
    _VM_throw(thrown);
  }
  cameraX += dx;
  cameraY += dy;
  g->translate(dx, dy);
}

void TqCanvas::paintSceneRegion(VMPtr<Graphics> g) {
  const int32_t screenX = std::max(g->getClipX(), 0);
  const int32_t screenY = std::max(g->getClipY(), 0);
  const int32_t w = std::min(g->getClipX() + g->getClipWidth(), sceneViewWidth) - screenX;
  const int32_t h = std::min(g->getClipY() + g->getClipHeight(), sceneViewHeight) - screenY;
  if (w < 1 || h < 1) return;
  sceneGraphics = g;
  const int32_t mapX = cameraX + screenX;
  const int32_t mapY = cameraY + screenY;
  paintTiles(g, mapX, mapY, screenX, screenY, w, h);
  paintStaticSprites(g, mapX, mapY, screenX, screenY, w, h);
  paintDynamicSprites(g, mapX, mapY, screenX, screenY, w, h);
  sceneGraphics = nullptr;
}

// The cells overlapping the region, each cut to it; cells outside the map
// are never visited.
void TqCanvas::paintTiles(VMPtr<Graphics> g, int32_t mapX, int32_t mapY, int32_t screenX, int32_t screenY,
                          int32_t w, int32_t h) {
  VMPtr<Image> tiles = tileImage;
  VMPtr<VMArray<int32_t>> xs = tileSourceX;
  VMPtr<VMArray<int32_t>> ys = tileSourceY;
  const int32_t col0 = std::max(floorDiv(mapX, tileWidth), 0);
  const int32_t col1 = std::min(floorDiv(mapX + w - 1, tileWidth), mapColumns - 1);
  const int32_t row0 = std::max(floorDiv(mapY, tileHeight), 0);
  const int32_t row1 = std::min(floorDiv(mapY + h - 1, tileHeight), mapRows - 1);
  for (int32_t row = row0; row <= row1; ++row) {
    const Span ySpan = cut(row * tileHeight, tileHeight, mapY, mapY + h);
    for (int32_t col = col0; col <= col1; ++col) {
      const int32_t code = resolveTile(getCell(col, row));
      if (code <= 0) continue;
      const Span xSpan = cut(col * tileWidth, tileWidth, mapX, mapX + w);
      g->drawRegion(tiles, xs->at(code - 1) + xSpan.from - col * tileWidth,
                    ys->at(code - 1) + ySpan.from - row * tileHeight, xSpan.to - xSpan.from, ySpan.to - ySpan.from, 0,
                    screenX + xSpan.from - mapX, screenY + ySpan.from - mapY, kTopLeft);
    }
  }
}

void TqCanvas::markDrawingReferences(int colour) {
  _VM_mark(spriteIds, colour);
  _VM_mark(animHeaders, colour);
  _VM_mark(animFrameBytes, colour);
  _VM_mark(animFrameWords, colour);
  _VM_mark(frameRectStarts, colour);
  _VM_mark(frameHeaders, colour);
  _VM_mark(framePieces, colour);
  _VM_mark(rectWords, colour);
  _VM_mark(rectShorts, colour);
  _VM_mark(frameDurations, colour);
  _VM_mark(handleValues, colour);
  _VM_mark(spriteStream, colour);
  _VM_mark(spriteInstances, colour);
  _VM_mark(mapCells, colour);
  _VM_mark(tileImage, colour);
  _VM_mark(tileSourceX, colour);
  _VM_mark(tileSourceY, colour);
  _VM_mark(sceneGraphics, colour);
  _VM_mark(spriteGobs, colour);
  _VM_mark(spriteX, colour);
  _VM_mark(spriteY, colour);
  _VM_mark(spriteTransforms, colour);
  _VM_mark(staticGobs, colour);
  _VM_mark(staticX, colour);
  _VM_mark(staticY, colour);
  _VM_mark(staticTransforms, colour);
  _VM_mark(staticKeys, colour);
  _VM_mark(staticVisible, colour);
}

}  // namespace tq
