#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"
#include "javax_microedition_lcdui_Graphics.h"
#include "tq_input_PointerInputKeyManager_TQC_KeyState.h"

namespace tq::input {

// A rectangle of the view bound to one key code. Registered with the key
// manager, stylus presses on it become key presses of the canvas, and the
// region answers the canvas's frame key queries for its code. A region of
// type 127 is bound to no canvas key: it keeps its own key state and
// counters, latched once per frame by the key manager's update.
class PointerInputKeyRegion : public virtual java::lang::Object {
  VM_CLASS(PointerInputKeyRegion, java::lang::Object)

 public:
  // The type of a region that keeps its own key state.
  static constexpr int32_t kOwnKey = 127;
  // The mode of a region that holds its key from a press on it until the
  // release, wherever the pointer goes between.
  static constexpr int32_t kLatching = 1;

  static void _VM_clinit();

  VMPtr<PointerInputKeyRegion> _VM_init(int32_t mode, int32_t type);
  // A latching region of that type and rectangle (view coordinates).
  static VMPtr<PointerInputKeyRegion> create(int32_t type, int32_t x, int32_t y, int32_t width, int32_t height);

  virtual uint8_t contains(int32_t px, int32_t py);
  virtual uint8_t isReleased();
  // The outline at the region's place on the screen, whatever translation
  // g has, in g's colour.
  virtual void paint(VMPtr<javax::microedition::lcdui::Graphics> g);
  virtual uint8_t isPressed();
  virtual uint8_t isHeld();
  virtual int32_t getPressCount();
  // Type 127, once per frame: the counters of the pointer events since the
  // last latch become the frame's answers.
  virtual void latch();

  // Type 127, after each pointer event that went through the region's own
  // key state (key manager's lock held).
  void updateRegionKey();
  // Type 127, from the key manager's releaseAll: the key goes up and every
  // counter is cleared.
  void releaseOwnKey();

  void _VM_markReferences(int colour) override;

  int8_t mode;
  int8_t type;
  int32_t height;
  uint8_t enabled;
  int32_t width;
  uint8_t touched;
  int32_t y;
  int32_t x;
  uint8_t keyReleased;
  uint8_t frameHeld;
  int64_t creationTime;
  uint8_t frameReleased;
  uint8_t keyHeld;
  VMField<PointerInputKeyManager_TQC_KeyState> keyState;
  uint8_t tapped;
  int8_t pressCount;
  VMField<VMArray<uint8_t>> pointerHit;
  uint8_t keyStateActive;
  int8_t framePressCount;
  VMField<VMArray<uint8_t>> pointerLatched;

  static VMStatic<java::lang::Object> regionLock;
};

}  // namespace tq::input
