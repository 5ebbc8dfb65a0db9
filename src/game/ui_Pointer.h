#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"
#include "tq_graphics_CollisionBox.h"
#include "tq_input_PointerInputKeyRegion.h"

namespace ui {

// The game's touch state of pointer 0, in statics shared by every
// instance (an instance only carries the operations; constructing one
// resets the state and re-enables the engine's event queue).
//
// Once a frame `update` first folds a drag released in the previous frame
// into the offset (clamped to the bounds, lower bound first) and clears
// the positions, then drains at most 20 events of the engine queue: press,
// drag and release set down/released/tap/up and the positions. Events of
// another pointer than 0 are skipped (the engine queues pointer 0 only).
//
// Touch boxes are tested half-open (the collision box's own test) inside
// an area; `isInside` tests a rectangle with all four edges inclusive.
// Key regions make a touched rectangle act as up (1), left (2), right (5)
// or down (6) for the engine's key states.
class Pointer : public virtual java::lang::Object {
  VM_CLASS(Pointer, java::lang::Object)

 public:
  using Ints = VMArray<int32_t>;
  using Flags = VMArray<uint8_t>;
  static constexpr int32_t kEventsPerFrame = 20;

  // new Pointer(): runs init.
  VMPtr<Pointer> _VM_init();

  virtual int32_t getX(int32_t p);
  virtual void addDownRegion(VMPtr<Ints> rect);
  virtual int32_t getDragX(int32_t p);
  virtual void setOffsetX(int32_t v);
  virtual int32_t getPrevY(int32_t p);
  virtual void setOffsetBounds(int32_t maxX, int32_t maxY, int32_t minX, int32_t minY);
  virtual void setPressX(int32_t p, int32_t v);
  virtual void resetX();
  virtual int32_t pressedBox(int32_t p);
  virtual int32_t boxAt(int32_t p);
  virtual void addRightRegion(VMPtr<Ints> rect);
  virtual int32_t getPressX(int32_t p);
  virtual void removeDownRegion(VMPtr<Ints> rect);
  virtual int32_t getY(int32_t p);
  virtual void tick(int32_t a, int32_t b);
  virtual void setBoxes(int32_t ignored, VMPtr<VMArray<int32_t, 2>> rects, VMPtr<Ints> area);
  virtual void addUpRegion(VMPtr<Ints> rect);
  virtual void reset();
  virtual void init();
  virtual int32_t getEventCount();
  virtual int32_t getDragY(int32_t p);
  virtual void setOffsetY(int32_t v);
  virtual void removeUpRegion(VMPtr<Ints> rect);
  virtual int32_t getPrevX(int32_t p);
  virtual void removeLeftRegion(VMPtr<Ints> rect);
  virtual void setPressY(int32_t p, int32_t v);
  virtual void addLeftRegion(VMPtr<Ints> rect);
  virtual int32_t releasedBox(int32_t p);
  virtual uint8_t isInside(VMPtr<Ints> rect, int32_t p);
  virtual void resetY();
  virtual void removeRightRegion(VMPtr<Ints> rect);
  virtual void update();
  virtual int32_t getPressY(int32_t p);

  static VMStatic<Ints> pressX, pressY, prevX, prevY, curX, curY;
  static VMStatic<Flags> down, released, tap, up;
  static int32_t offsetX, offsetY, offsetMaxX, offsetMaxY, offsetMinX, offsetMinY;
  static VMStatic<VMArray<tq::graphics::CollisionBox>> boxes;
  static VMStatic<tq::graphics::CollisionBox> boxArea;
  static VMStatic<VMArray<tq::input::PointerInputKeyRegion>> regionHolder;

 private:
  void finishDrag();
  void applyEvent(int32_t type, int32_t x, int32_t y);
  static void moveTo(int32_t x, int32_t y);
  void addRegion(int32_t type, VMPtr<Ints> rect);
  void removeRegion(int32_t type, VMPtr<Ints> rect);
};

}  // namespace ui
