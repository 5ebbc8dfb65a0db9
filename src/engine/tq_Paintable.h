#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"
#include "javax_microedition_lcdui_Graphics.h"

namespace tq {

namespace graphics {
class CollisionBox;
}

// The base of everything the engine draws and collides: sprites (Gob, kind
// 0), animation frames (Frame, 1), animation players (AnimPlayer, 2) and
// collision boxes (CollisionBox, 3 rectangle, 4 circle). A Paintable has no
// position of its own: callers give the position and the transform.
//
// Transform bits (the MIDP sprite transform codes, passed unchanged to
// Graphics.drawRegion): 1 mirrors vertically (an item at y of height h
// moves to -(y + h)), 2 mirrors horizontally, 4 swaps the axes.
//
// Box queries write boxes relative to the drawing position; a type below 0
// means every type; the int[] form writes five ints per box (x, y, width,
// height, type) and stops when the next record does not fit.
//
// Collision tests reuse four class statics (two box arrays, two int
// arrays) that grow on demand, so that a warm test allocates nothing; all
// tests run on the canvas thread.
class Paintable : public virtual java::lang::Object {
  VM_CLASS(Paintable, java::lang::Object)

 public:
  using Graphics = javax::microedition::lcdui::Graphics;
  using Boxes = VMArray<graphics::CollisionBox>;
  using Ints = VMArray<int32_t>;

  VMPtr<Paintable> _VM_init();

  // The box lists of both sides, each moved to its position, tested pair by
  // pair (CollisionBox::collides); without boxes on either side false, and
  // both hit statics of CollisionBox are cleared.
  virtual uint8_t collides(int32_t x, int32_t y, int32_t transform, int32_t type, VMPtr<Paintable> other,
                           int32_t otherX, int32_t otherY, int32_t otherTransform, int32_t otherType);
  // The same over five-int records (Gob::collides); `out` (six ints) gets
  // the first overlap and both box types.
  virtual uint8_t collides(int32_t x, int32_t y, int32_t transform, int32_t type, VMPtr<Paintable> other,
                           int32_t otherX, int32_t otherY, int32_t otherTransform, int32_t otherType,
                           VMPtr<Ints> out);
  // Tiles the clip of `g` with this drawable, the grid aligned to (x, y).
  // Nothing for a width or height below 1.
  virtual void paintTiled(VMPtr<Graphics> g, int32_t x, int32_t y);
  virtual int32_t getKind() = 0;
  virtual int32_t getBoxes(int32_t transform, VMPtr<Ints> out);
  virtual int32_t getHeight(int32_t transform) = 0;
  virtual void paint(VMPtr<Graphics> g, int32_t x, int32_t y, int32_t transform) = 0;
  virtual void paint(VMPtr<Graphics> g);
  virtual int32_t getBoxes(int32_t transform, VMPtr<Boxes> out, int32_t type);
  virtual int32_t getBoxes(int32_t transform, VMPtr<Ints> out, int32_t type);
  virtual int32_t getWidth(int32_t transform) = 0;
  virtual int32_t getBoxCount() { return 0; }
  // The top-left corner relative to the drawing position.
  virtual int32_t getOffsetX(int32_t transform) = 0;
  virtual int32_t getOffsetY(int32_t transform) = 0;

  // True when the rectangles overlap (touching edges do not) and all four
  // sizes are above 0.
  static uint8_t intersects(int32_t x1, int32_t y1, int32_t w1, int32_t h1, int32_t x2, int32_t y2, int32_t w2,
                            int32_t h2);

  // Scratch space of the collision tests, one per side.
  static VMStatic<Boxes> scratchBoxes;
  static VMStatic<Boxes> otherScratchBoxes;
  static VMStatic<Ints> scratchInts;
  static VMStatic<Ints> otherScratchInts;

 private:
  // This drawable's boxes at (x, y) into the scratch array `which`; the count.
  int32_t placedBoxes(VMStatic<Boxes>& which, int32_t count, int32_t x, int32_t y, int32_t transform,
                      int32_t type);
  int32_t placedRecords(VMStatic<Ints>& which, int32_t count, int32_t x, int32_t y, int32_t transform,
                        int32_t type);
};

}  // namespace tq
