#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"
#include "tq_TqCanvas.h"

namespace ui {

// The decoded level as plain arrays, for the play scene to build its map,
// barriers, landscape pieces and items from. One loader serves the whole
// run (the controller's `levelLoader`); level n is engine resource
// n + 2048, a bit stream that the canvas decodes block by block
// (TqCanvas::loadLevel), calling the game canvas's level hooks, which pass
// everything to this loader. The header and entity hooks read further
// fields from the same stream here.
//
// Record families (entity types): barriers 0, 1, 4, 7, 14; landscape 2,
// 5, 8; landscape B 3, 6; scaled rectangles 9 (platforms, blocks and
// deadly zones); the level value 11; markers 12; a text list 13; points
// 15; items 17; every other type carries no fields. A family's arrays are
// made by its group's `beginEntityGroup` with the group's size; its count
// is the index of the next record.
//
// What a level must keep: one group per family and a header block (the
// header clears the counts of landscape, landscape B, scaled records,
// items and markers; `reset` does not). A second group of a family, or a
// group of a family whose count an earlier level left standing, throws
// IllegalStateException before anything of it is stored, and so does a
// text list naming an id past the controller's text table; a listed text
// under two characters throws StringIndexOutOfBoundsException; a stream
// cut short throws EOFException out of the canvas. A load that throws
// leaves the level unloaded (`levelNumber` -1), so the next `load` of the
// same number decodes again.
//
// Arrays of families that a level lacks keep what an earlier level left:
// the group sizes and counts tell which families the level has.
// `barrierGroupSize` survives `reset`, and the point fields persist when
// a level has no point records. Canvas thread only.
class LevelLoader : public virtual java::lang::Object {
  VM_CLASS(LevelLoader, java::lang::Object)

 public:
  using Ints = VMArray<int32_t>;
  using Flags = VMArray<uint8_t>;
  static constexpr int32_t kFirstLevelId = 2048;
  // Fields per barrier record after its value and flag.
  static constexpr int32_t kBarrierParams = 5;

  // The controller's canvas, level -1, the two per-view camera pairs.
  VMPtr<LevelLoader> _VM_init();

  // Block A: reads pointBY and pointAY (16 bits each) and clears the
  // counts of barriers, scaled records, landscape, landscape B, items and
  // markers. The block's own value is not used.
  virtual void readHeader(int32_t value);
  // Block B: keeps signedParam (the tile image's id), scaleA and scaleB
  // (the cell size).
  virtual void setProperties(int32_t a, int32_t columns, int32_t signedValue, int32_t d, int32_t e, int32_t f,
                             int32_t count);
  // Level n, unless it is the level loaded last.
  virtual void load(int32_t n);
  virtual void setSize(int32_t width, int32_t height);
  virtual void beginEntityGroup(int32_t type, int32_t count);
  virtual void readEntity(int32_t type, int32_t x, int32_t y);
  virtual int32_t getLevel() { return levelNumber; }
  // Clears the text, barrier and marker counts and the group sizes of
  // landscape, landscape B and items; barrierGroupSize stays.
  virtual void reset();
  virtual void setCell(int32_t x, int32_t y, int32_t value);

  void _VM_markReferences(int colour) override;

  VMField<tq::TqCanvas> canvas;
  int32_t levelNumber;
  VMField<Ints> cells;
  int32_t width;
  int32_t height;
  int32_t signedParam;
  int32_t scaleA;
  int32_t scaleB;
  int32_t pointAX;
  int32_t pointAY;
  int32_t pointBX;
  int32_t pointBY;
  int32_t levelValue;
  // Per-view camera values, written by the play scene.
  VMField<Ints> pairA;
  VMField<Ints> pairB;

  VMField<Ints> barrierKind;
  VMField<Ints> barrierVariant;
  VMField<Ints> barrierValue;
  VMField<Flags> barrierFlag;
  VMField<Ints> barrierX;
  VMField<Ints> barrierY;
  VMField<VMArray<int32_t, 2>> barrierParams;
  // Made with the group, for the play scene; the loader never writes them.
  VMField<Ints> barrierWork;
  VMField<VMArray<uint8_t, 2>> barrierWorkFlags;
  VMField<VMArray<int32_t, 2>> barrierWorkParams;
  static int32_t barrierCount;
  int32_t barrierGroupSize;

  VMField<Ints> landscapeKind;
  VMField<Ints> landscapeVariant;
  VMField<Flags> landscapeFlag;
  VMField<Ints> landscapeX;
  VMField<Ints> landscapeY;
  int32_t landscapeCount;
  int32_t landscapeGroupSize;

  VMField<Ints> landscapeBKind;
  VMField<Ints> landscapeBVariant;
  VMField<Flags> landscapeBFlag;
  VMField<Ints> landscapeBX;
  VMField<Ints> landscapeBY;
  int32_t landscapeBCount;
  int32_t landscapeBGroupSize;

  VMField<Ints> scaledX;
  VMField<Ints> scaledY;
  VMField<Ints> scaledA;
  VMField<Ints> scaledB;
  VMField<Ints> scaledMode;
  int32_t scaledCount;

  VMField<Ints> markerX;
  int32_t markerCount;

  VMField<Ints> textIds;
  VMField<Ints> textNumbers;
  int32_t textCount;

  VMField<Ints> itemValue;
  VMField<Flags> itemFlag;
  VMField<Ints> itemX;
  VMField<Ints> itemY;
  int32_t itemCount;
  int32_t itemGroupSize;

 private:
  int32_t bits(int32_t n);
  // Throws when records of the family are already counted in this level.
  static void checkFirstGroup(int32_t type, int32_t count);
  void beginBarriers(int32_t n);
  void beginLandscape(int32_t n);
  void beginLandscapeB(int32_t n);
  void beginScaled(int32_t n);
  void beginItems(int32_t n);
  void readBarrier(int32_t type, int32_t variantBits, int32_t x, int32_t y);
  void readLandscape(int32_t type, int32_t variantBits, int32_t x, int32_t y);
  void readLandscapeB(int32_t type, int32_t x, int32_t y);
  void readScaled(int32_t x, int32_t y);
  void readTextList();
  void readPoint(int32_t x, int32_t y);
  void readItem(int32_t x, int32_t y);
};

}  // namespace ui
