#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"
#include "java_lang_String.h"
#include "tq_Paintable.h"

namespace tq::graphics {

// The engine's collision shape, and the one drawable that is pure
// geometry: an axis-aligned rectangle (kind 3) or a circle (any other
// kind; data and sprites give 4) whose diameter is the width, centred at
// (x + r, y + r) with r = width >> 1. A box is empty when its width or
// height is 0 or less. `type` is the data's box type (0-31) or -1.
//
// Boxes are plain mutable values reused across frames on the canvas thread.
// The hit statics keep the two boxes of the latest successful list test
// (both null after a miss); the shared point box serves point and
// rectangle tests. Squared distances are taken in 64 bits, so no
// coordinate overflows them.
class CollisionBox : public Paintable {
  VM_CLASS(CollisionBox, Paintable)

 public:
  static constexpr int32_t kRectangle = 3;
  static constexpr int32_t kCircle = 4;

  // Native defaults: an empty rectangle at (0, 0).
  CollisionBox() : kind(kRectangle) {}
  VMPtr<CollisionBox> _VM_init();
  VMPtr<CollisionBox> _VM_init(int32_t kind);
  // A new box of the kind.
  static VMPtr<CollisionBox> make(int32_t kind = kRectangle);

  using Paintable::collides;
  using Paintable::getBoxes;
  using Paintable::paint;
  int32_t getKind() override { return kind; }
  int32_t getHeight(int32_t t) override { return height; }
  // Moved by (px, py) for the drawing; t is not used.
  void paint(VMPtr<Graphics> g, int32_t px, int32_t py, int32_t t) override;
  // Outline or fill in the current colour, or in `color` when `useColor`.
  void paint(VMPtr<Graphics> g) override;
  // Its own geometry into out[0] when it is not empty and of the type.
  int32_t getBoxes(int32_t t, VMPtr<Boxes> out, int32_t type) override;
  int32_t getBoxes(int32_t t, VMPtr<Ints> out, int32_t type) override { return 0; }
  int32_t getWidth(int32_t t) override { return width; }
  int32_t getBoxCount() override { return isEmpty() ? 0 : 1; }
  int32_t getOffsetX(int32_t t) override { return x; }
  int32_t getOffsetY(int32_t t) override { return y; }

  virtual void setSize(int32_t w, int32_t h);
  // The overlap of a and b, a rectangle; negative sizes when they miss.
  virtual void intersection(VMPtr<CollisionBox> a, VMPtr<CollisionBox> b);
  virtual void move(int32_t dx, int32_t dy);
  virtual uint8_t intersects(int32_t x, int32_t y, int32_t w, int32_t h);
  virtual uint8_t intersects(VMPtr<CollisionBox> b);
  virtual void set(VMPtr<CollisionBox> b);
  virtual void set(int32_t x, int32_t y, int32_t w, int32_t h);
  virtual void setPosition(int32_t x, int32_t y);
  // x, y, width, height, type and kind.
  virtual void copyGeometryTo(VMPtr<CollisionBox> out);
  // This box placed at (px, py) under t against b, both as rectangles,
  // without a size check.
  virtual uint8_t intersects(VMPtr<CollisionBox> b, int32_t px, int32_t py, int32_t t);
  virtual uint8_t intersects(VMPtr<CollisionBox> b, int32_t px, int32_t py);
  // The rectangle lies wholly inside (all sizes above 0).
  virtual uint8_t contains(int32_t x, int32_t y, int32_t w, int32_t h);
  // Half-open for a rectangle; strictly inside the radius for a circle.
  virtual uint8_t contains(int32_t px, int32_t py);
  virtual uint8_t contains(VMPtr<CollisionBox> b);
  virtual void copyTo(VMPtr<CollisionBox> out);
  // The smallest rectangle holding a and b.
  virtual void union_(VMPtr<CollisionBox> a, VMPtr<CollisionBox> b);
  virtual uint8_t isEmpty() { return width <= 0 || height <= 0; }
  // "x,y:3,4, WxH:10,20"
  VMPtr<java::lang::String> toString() override;

  static uint8_t circleIntersectsRect(int32_t cx, int32_t cy, int32_t r, VMPtr<CollisionBox> rect);
  // `boxes` when it holds n, else a new array of n new boxes.
  static VMPtr<Boxes> ensureCapacity(VMPtr<Boxes> boxes, int32_t n);
  // The first pair (a[i], b[j]), i outer, that intersects goes into the
  // hit statics; false and both cleared when none does.
  static uint8_t collides(int32_t na, VMPtr<Boxes> a, int32_t nb, VMPtr<Boxes> b);
  static void clearHits();
  static void setHits(VMPtr<CollisionBox> own, VMPtr<CollisionBox> other);
  // The shared point box, set to (x, y, w, h), kind 3, type -1.
  static VMPtr<CollisionBox> pointBox(int32_t x, int32_t y, int32_t w, int32_t h);

  static void _VM_clinit();

  int32_t height;
  int32_t color;
  int32_t width;
  int32_t type;
  int32_t kind;
  uint8_t useColor;
  int32_t y;
  uint8_t filled;
  int32_t x;

  static VMStatic<CollisionBox> lastHitBox;
  static VMStatic<CollisionBox> lastHitOther;
  static VMStatic<CollisionBox> sharedPoint;

 private:
  bool isRectangle() const { return kind == kRectangle; }
  bool rectanglesMeet(int32_t bx, int32_t by, int32_t bw, int32_t bh) const;
};

}  // namespace tq::graphics
