#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"
#include "tq_input_PointerInputEventManager_TQC_Event.h"

namespace tq::input {

// The queue of pointer events the game reads once per frame on the canvas
// thread. The canvas feeds it from its stylus handlers (main thread) in
// screen coordinates; it keeps events in view coordinates, confined to the
// active rectangle (the whole view), in a ring of twenty records, and
// rewrites types so that the reader always sees press, drag ... drag,
// release per pointer: a drag without a press becomes a press, a release
// without one is dropped, a second press first releases the first, leaving
// the rectangle releases at its edge, and an overflow drops the oldest
// events without breaking a pair. Only pointer 0 is tracked.
//
// Static-only. `queueLock` guards the ring and the current event,
// `areaLock` the rectangle; the two are never held together. The
// per-pointer arrays, the origin and the pause and ignore flags are read
// and written without a lock (every caller holds the global VM lock).
class PointerInputEventManager : public virtual java::lang::Object {
  VM_CLASS(PointerInputEventManager, java::lang::Object)

 public:
  using Event = PointerInputEventManager_TQC_Event;
  static constexpr int32_t kRingSize = 20;
  static constexpr int8_t kPress = 1;
  static constexpr int8_t kDrag = 2;
  static constexpr int8_t kRelease = 3;

  static void _VM_clinit();

  // The canvas's run loop, once: the whole view as area, the per-pointer
  // arrays.
  static void init();
  static void setEnabled(uint8_t on);
  static uint8_t isEnabled();
  static void clear();
  // A negative size is the whole view in that dimension.
  static void setArea(int32_t x, int32_t y, int32_t width, int32_t height);
  // The view moved or changed size.
  static void canvasChanged();
  // An event in screen coordinates; type 1 press, 2 drag, 3 release.
  static void addEvent(int32_t pointer, int32_t x, int32_t y, int32_t type, int64_t time);
  // Takes the oldest event into the current event; false when there is
  // none, or while paused or disabled.
  static uint8_t nextEvent();
  static int32_t getEventCount();
  static int32_t getEventX();
  static int32_t getEventY();
  static int8_t getEventType();
  static int8_t getEventPointer();
  static int64_t getEventTime();
  static void setPaused(uint8_t on);
  static void setIgnoreInput(uint8_t on);
  // Releases every pressed pointer at its last position, now, even while
  // input is ignored.
  static void releaseAll();

  static uint8_t enabled;
  static uint8_t paused;
  static uint8_t ignoreInput;
  static int32_t areaX;
  static int32_t areaY;
  static int32_t areaWidth;
  static int32_t areaHeight;
  static int32_t requestedAreaWidth;
  static int32_t requestedAreaHeight;
  static int32_t originX;
  static int32_t originY;
  static VMStatic<VMArray<Event>> events;
  static int32_t head;
  static int32_t tail;
  static int32_t count;
  static int32_t eventX;
  static int32_t eventY;
  static int8_t eventType;
  static int8_t eventPointer;
  static int64_t eventTime;
  static int64_t timeBase;
  static VMStatic<java::lang::Object> queueLock;
  static VMStatic<java::lang::Object> areaLock;
  static VMStatic<VMArray<uint8_t>> pointerPressed;
  static VMStatic<VMArray<int32_t>> pointerLastX;
  static VMStatic<VMArray<int32_t>> pointerLastY;
  static VMStatic<VMArray<int64_t>> pointerLastTime;

 private:
  // Confines (x, y) to the area: false to drop the event; a pressed
  // pointer leaving the area becomes a release at the edge.
  static bool confine(int32_t pointer, int32_t& x, int32_t& y, int32_t& type);
  static void enqueue(int32_t pointer, int32_t x, int32_t y, int32_t type, int64_t time);
  static void advanceTail();
  // How many of the three oldest events an overflow drops (1 or 2), after
  // moving the kept ones behind them.
  static int32_t dropOldest();
  static void swapEvents(int32_t i, int32_t j);
  static int8_t typeAt(int32_t offset);
};

}  // namespace tq::input
