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
class CellLayer : public virtual java::lang::Object {
  VM_CLASS(CellLayer, java::lang::Object)

 public:
  using Graphics = javax::microedition::lcdui::Graphics;
  using Image = javax::microedition::lcdui::Image;
  static constexpr int32_t kTileMask = 4095;

  // A layer drawing its tiles from one tile-set image.
  static VMPtr<CellLayer> create(int32_t viewWidth, int32_t viewHeight);
  // separateTiles: each tile is copied into an image of its own.
  VMPtr<CellLayer> _VM_init(uint8_t separateTiles, int32_t viewWidth, int32_t viewHeight);

  virtual int32_t getRows() { return rows; }
  virtual int32_t getCellHeight() { return cellHeight; }
  virtual void clearTiles();
  virtual void setAnimatedCell(int32_t cell, int32_t value);
  virtual int32_t getColumns() { return columns; }
  // Replaces the tile set of the map by the sprite's image, cut into cells.
  virtual void setTileSet(VMPtr<Gob> tiles, int32_t cellWidth, int32_t cellHeight);
  virtual void paint(VMPtr<Graphics> g);
  virtual int32_t getY() { return scrollY; }
  virtual void setPosition(int32_t x, int32_t y);
  virtual int32_t getCell(int32_t col, int32_t row);
  virtual int32_t getCellWidth() { return cellWidth; }
  virtual void setCell(int32_t col, int32_t row, int32_t value);
  // A new empty map of columns x rows over the tile set `tiles`. A cell
  // width or height below 1 throws IllegalArgumentException.
  virtual void setTiles(int32_t columns, int32_t rows, VMPtr<Image> tiles, int32_t cellWidth, int32_t cellHeight);
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

  // Draws the map rectangle [mx, mx + w) x [my, my + h) into the
  // destination rectangle (dx, dy, w, h), to which it clips g.
  void drawArea(VMPtr<Graphics> g, int32_t mx, int32_t my, int32_t dx, int32_t dy, int32_t w, int32_t h);

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
  uint8_t cellsChanged;
  VMField<VMArray<Paintable>> cellPlayers;
  VMField<VMArray<int32_t>> cellPlayerX;
  VMField<VMArray<int32_t>> cellPlayerY;
  int32_t cellPlayerCount;
  // The canvas time of the players' last advance; kNeverAdvanced before
  // the first paint.
  int64_t cellPlayerTime;
  static constexpr int64_t kNeverAdvanced = INT64_MIN;
  static constexpr int64_t kMostPlayerStep = 100;

 private:
  // tileX and tileY of the tiles of a width x height image, row by row.
  void cutTiles(int32_t width, int32_t height);
  void copySeparateTiles(VMPtr<Image> tiles);
  void drawTiles(VMPtr<Graphics> g, int32_t mx, int32_t my, int32_t dx, int32_t dy, int32_t w, int32_t h);
  // Animation players advance by the canvas time since their last
  // advance (0..100 ms), once per canvas time.
  void advancePlayers();
  void drawPlayers(VMPtr<Graphics> g, int32_t mx, int32_t my, int32_t dx, int32_t dy, int32_t w, int32_t h);
  void drawTile(VMPtr<Graphics> g, int32_t tile, int32_t sx, int32_t sy, int32_t w, int32_t h, int32_t dx,
                int32_t dy);
};

}  // namespace tq
