#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"
#include "javax_microedition_lcdui_Graphics.h"
#include "javax_microedition_lcdui_Image.h"
#include "tq_Gob.h"
#include "tq_Paintable.h"

namespace tq {

// A scrolling map of equal rectangular cells, each showing one tile of a
// tile set. A cell value v >= 0 shows tile (v & 4095) - 1, 0 shows
// nothing; v < 0 refers to animated cell -v, whose entry holds the value
// shown by every cell that refers to it.
//
// The layer paints the map rectangle at (scrollX, scrollY) of the view's
// size into a Graphics; the columns and rows visited are cut to the map,
// so a position off the map draws nothing outside it.
//
// Over the tiles it draws, in this order, three lists of drawables placed
// at map pixels (tq_CellLayer.objects.cpp, tq_CellLayer.players.cpp):
// - the object list: fixed entries, sorted once along the longer side of
//   the map and found with a binary search moved back by the largest
//   extent;
// - players (scenery animations) advanced by the canvas clock;
// - the pool: entries that come and go through handles; the handles in use
//   form a list in the order they were added, the free ones a free list.
//
// A buffered layer (tq_CellLayer.buffer.cpp) keeps the view in a ring
// image of the view's size: map point (x, y) lives at buffer pixel
// (x floor-mod viewWidth, y floor-mod viewHeight), so it shows exactly what
// an unbuffered layer shows, negative positions included. A paint redraws
// only what changed or scrolled into view and copies the ring out in at
// most four pieces.
class CellLayer : public virtual java::lang::Object {
  VM_CLASS(CellLayer, java::lang::Object)

 public:
  using Graphics = javax::microedition::lcdui::Graphics;
  using Image = javax::microedition::lcdui::Image;
  static constexpr int32_t kTileMask = 4095;
  // Objects are indexed in the low 16 bits of their keys; pool handles are
  // stored in shorts.
  static constexpr int32_t kMostObjects = 65535;
  static constexpr int32_t kMostPoolHandles = 32767;

  // An unbuffered layer drawing its tiles from one tile-set image.
  static VMPtr<CellLayer> create(int32_t viewWidth, int32_t viewHeight);
  // buffered: paints through a ring image of viewWidth x viewHeight (below
  // 1 throws IllegalArgumentException), transparent or opaque black, made
  // by the canvas; separateTiles: each tile is copied into an image of its
  // own. Ends with setPoolCapacity(0).
  VMPtr<CellLayer> _VM_init(uint8_t buffered, uint8_t separateTiles, uint8_t transparent, int32_t viewWidth,
                            int32_t viewHeight);

  // Empties the object list and gives it room for n entries (none for n <=
  // 0, more than kMostObjects throws IllegalArgumentException), sorted
  // along y when the map is higher than wide, else along x.
  virtual void setObjectCapacity(int32_t n);
  virtual void setObjectCapacity(int32_t n, uint8_t byY);
  virtual int32_t getRows() { return rows; }
  virtual int32_t getCellHeight() { return cellHeight; }
  virtual void clearTiles();
  virtual void setAnimatedCell(int32_t cell, int32_t value);
  virtual int32_t getColumns() { return columns; }
  // Replaces the tile set of the map by the sprite's image, cut into cells.
  virtual void setTileSet(VMPtr<Gob> tiles, int32_t cellWidth, int32_t cellHeight);
  // p at (x, y) with transform in the place of `handle`, which keeps its
  // place in the drawing order. A handle not in use throws
  // IllegalArgumentException.
  virtual void setPoolObject(VMPtr<Paintable> p, int32_t x, int32_t y, int32_t transform, int32_t handle);
  virtual void paint(VMPtr<Graphics> g);
  virtual int32_t getY() { return scrollY; }
  // Frees `handle` (the next one handed out); a handle not in use throws
  // IllegalArgumentException.
  virtual void removePoolObject(int32_t handle);
  // Removes the oldest entry in use that matches; kAny for x, y or
  // transform and null for p match everything. False when none matches.
  virtual uint8_t removePoolObject(VMPtr<Paintable> p, int32_t x, int32_t y, int32_t transform);
  // A new empty pool of n handles (none for n <= 0; more than
  // kMostPoolHandles throws IllegalArgumentException).
  virtual void setPoolCapacity(int32_t n);
  // Appends p at map point (x, y): its edges and size for `transform` are
  // read now. A full list raises the index exception.
  virtual void addObject(VMPtr<Paintable> p, int32_t x, int32_t y, int32_t transform);
  virtual void setPosition(int32_t x, int32_t y);
  virtual int32_t getCell(int32_t col, int32_t row);
  virtual int32_t getCellWidth() { return cellWidth; }
  virtual void setCell(int32_t col, int32_t row, int32_t value);
  // A new empty map of columns x rows over the tile set `tiles`. A cell
  // width or height below 1 throws IllegalArgumentException.
  virtual void setTiles(int32_t columns, int32_t rows, VMPtr<Image> tiles, int32_t cellWidth, int32_t cellHeight);
  // Takes a free handle for p at (x, y) with transform, drawn after every
  // entry in use, and returns it. A full pool raises the index exception.
  virtual int32_t addPoolObject(VMPtr<Paintable> p, int32_t x, int32_t y, int32_t transform);
  virtual int32_t getAnimatedCell(int32_t cell);
  virtual int32_t getX() { return scrollX; }
  // A new animated cell holding `value`; returns the (negative) cell
  // value that refers to it.
  virtual int32_t createAnimatedCell(int32_t value);

  // Players placed in the layer (scenery): 0 or less drops them all, else
  // an empty list of room n.
  virtual void setAnimatedCellCapacity(int32_t n);
  // Appends p at map point (x, y); a full list raises the index exception.
  virtual void addAnimatedCell(VMPtr<Paintable> p, int32_t x, int32_t y);

  // The wildcard of removePoolObject's numbers.
  static constexpr int32_t kAny = INT32_MIN;

  // A pool position: bits 31-17 the left edge, bits 16-2 the top edge,
  // each a 15-bit two's-complement number (-16384 to 16383 exactly), bits
  // 1-0 the transform.
  static constexpr int32_t packPosition(int32_t left, int32_t top, int32_t transform) {
    return static_cast<int32_t>(static_cast<uint32_t>(left) << 17 | static_cast<uint32_t>(top & 0x7FFF) << 2 |
                                static_cast<uint32_t>(transform & 3));
  }
  static constexpr int32_t packedLeft(int32_t packed) { return packed >> 17; }
  static constexpr int32_t packedTop(int32_t packed) {
    return static_cast<int32_t>(static_cast<uint32_t>(packed) << 15) >> 17;
  }
  static constexpr int32_t packedTransform(int32_t packed) { return packed & 3; }

  // Draws the map rectangle [mx, mx + w) x [my, my + h) into the
  // destination rectangle (dx, dy, w, h), to which it clips g: the tiles,
  // the object list, the players and the pool.
  void drawArea(VMPtr<Graphics> g, int32_t mx, int32_t my, int32_t dx, int32_t dy, int32_t w, int32_t h);

  // --- Buffering steps of a paint (tq_CellLayer.buffer.cpp) -------------
  // Brings the ring up to date: pool entries added or moved, the strips
  // uncovered by scrolling (the whole view after a change of the map).
  void refreshBuffer();
  // Redraws the visible cells of animated cells set since the last paint.
  void refreshAnimatedCells();
  // Copies the ring to g at (0, 0) in at most four region copies.
  void blitBuffer(VMPtr<Graphics> g);
  // Draws the map rectangle (w and h at most the view's) into the ring.
  void redrawBufferArea(int64_t mx, int64_t my, int32_t w, int32_t h);
  // Lists in poolVisible the entries from `start` on that meet the view.
  void collectVisiblePoolObjects(int32_t start);
  // Clears the rectangle of g: transparent in a transparent buffer, opaque
  // black in an opaque one.
  void clearArea(VMPtr<Graphics> g, int32_t x, int32_t y, int32_t w, int32_t h);

  void _VM_markReferences(int colour) override;

  int32_t viewWidth;
  int32_t viewHeight;
  int32_t columns;
  int32_t rows;
  int32_t cellWidth;
  int32_t cellHeight;
  VMField<VMArray<int16_t>> cells;
  VMField<VMArray<char16_t>> animatedCells;
  uint8_t separateTiles;
  VMField<Image> tileImage;
  VMField<VMArray<char16_t>> tileX;
  VMField<VMArray<char16_t>> tileY;
  VMField<VMArray<Image>> tileImages;
  int32_t scrollX;
  int32_t scrollY;
  // A buffered layer redraws its whole view at the next paint.
  uint8_t cellsChanged;
  uint8_t buffered;
  uint8_t transparent;

  // Object list: left and top edges (position plus offset), offsets and
  // sizes for the entry's transform, read when it was added.
  VMField<VMArray<Paintable>> objects;
  VMField<VMArray<int16_t>> objectLeft;
  VMField<VMArray<int16_t>> objectTop;
  VMField<VMArray<int16_t>> objectOffsetX;
  VMField<VMArray<int16_t>> objectOffsetY;
  VMField<VMArray<int16_t>> objectWidth;
  VMField<VMArray<int16_t>> objectHeight;
  VMField<VMArray<int8_t>> objectTransforms;
  // index | leading edge << 16, the leading edge the top one when
  // objectsByY, else the left one.
  VMField<VMArray<int32_t>> objectKeys;
  // Scratch list of the indices a draw finds visible.
  VMField<VMArray<int32_t>> objectVisible;
  int32_t objectCount;
  uint8_t objectsByY;
  // The largest extent along the sort axis since setObjectCapacity.
  int32_t objectMaxExtent;
  uint8_t objectsUnsorted;

  // Pool: drawable and packed position of each handle (null when free);
  // links of the in-use list (-1 none), poolNext also links the free list.
  VMField<VMArray<Paintable>> poolObjects;
  VMField<VMArray<int32_t>> poolPositions;
  VMField<VMArray<int16_t>> poolNext;
  VMField<VMArray<int16_t>> poolPrev;
  // The addition number of each handle in use: the in-use list is in this
  // order, so two handles compare without a walk.
  VMField<VMArray<int64_t>> poolOrder;
  int64_t poolAdditions;
  int32_t poolHead;
  int32_t poolTail;
  int32_t poolFree;
  // The earliest entry of the in-use list added or moved since the last
  // buffered paint, -1 none: from it on the pool is drawn over the ring.
  int32_t poolFirstChanged;

  // Players.
  VMField<VMArray<Paintable>> cellPlayers;
  VMField<VMArray<int32_t>> cellPlayerX;
  VMField<VMArray<int32_t>> cellPlayerY;
  int32_t cellPlayerCount;
  // The canvas time of the players' last advance; kNeverAdvanced before
  // the first paint.
  int64_t cellPlayerTime;
  static constexpr int64_t kNeverAdvanced = INT64_MIN;
  static constexpr int64_t kMostPlayerStep = 100;

  // Buffer: the ring image and its Graphics, the scroll position it shows.
  VMField<Image> bufferImage;
  VMField<Graphics> bufferGraphics;
  int32_t bufferX;
  int32_t bufferY;
  // One flag per animated cell of a buffered layer: set since the last
  // paint.
  VMField<VMArray<uint8_t>> animatedChanged;
  // Every redrawn area of the ring is cleared first (buffered layers).
  uint8_t clearBeforeDraw;
  // While set, drawing an area draws only the pool from poolFirstChanged.
  uint8_t objectsOnly;
  // The handles in use that meet the ring's view, in drawing order.
  VMField<VMArray<char16_t>> poolVisible;
  int32_t poolVisibleCount;

 private:
  // drawArea in 64-bit map coordinates, so that no sum wraps.
  void drawMapArea(VMPtr<Graphics> g, int64_t mx, int64_t my, int32_t dx, int32_t dy, int32_t w, int32_t h);
  // tileX and tileY of the tiles of a width x height image, row by row.
  void cutTiles(int32_t width, int32_t height);
  void copySeparateTiles(VMPtr<Image> tiles);
  void drawTiles(VMPtr<Graphics> g, int64_t mx, int64_t my, int32_t dx, int32_t dy, int32_t w, int32_t h);
  void drawTile(VMPtr<Graphics> g, int32_t tile, int32_t sx, int32_t sy, int32_t w, int32_t h, int32_t dx,
                int32_t dy);
  void drawObjects(VMPtr<Graphics> g, int64_t mx, int64_t my, int32_t dx, int32_t dy, int32_t w, int32_t h);
  void drawPoolObjects(VMPtr<Graphics> g, int64_t mx, int64_t my, int32_t dx, int32_t dy, int32_t w, int32_t h,
                       bool onlyChanged);
  void drawPlayers(VMPtr<Graphics> g, int64_t mx, int64_t my, int32_t dx, int32_t dy, int32_t w, int32_t h);
  // The players' step: the canvas time since their last advance, 0..100
  // ms, 0 at the first call and for a second call at one canvas time.
  int32_t playerStep();
  // Advances the animation players by playerStep (unbuffered paints).
  void advancePlayers();
  // Advances the animation players and redraws the ring where each was
  // and is (buffered paints).
  void refreshPlayers();
  // A handle in use, else IllegalArgumentException.
  void checkInUse(int32_t handle);
  // The ring's map rectangle cut to the view it shows; nothing for an
  // empty cut or when the whole view is redrawn at the next paint.
  void redrawInBufferView(int64_t left, int64_t top, int64_t width, int64_t height);

  // Java's Math.floorDiv and floorMod (b > 0): the cell and the ring place
  // of a negative map coordinate follow the map's grid.
  static int64_t floorDiv(int64_t a, int64_t b) { return a / b - (a % b < 0); }
  static int32_t floorMod(int64_t a, int32_t b) { return static_cast<int32_t>(a - floorDiv(a, b) * b); }
};

}  // namespace tq
