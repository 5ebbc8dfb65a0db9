#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"
#include "java_util_Vector.h"
#include "tq_input_PointerInputKeyManager_TQC_KeyState.h"
#include "tq_input_PointerInputKeyRegion.h"

namespace tq::input {

// Turns stylus input on registered screen regions into key presses and
// releases of the canvas (pressKey, releaseKey), once per transition. The
// canvas passes every stylus event here before the event queue, calls
// update once per frame (from latchKeys) and releaseAll on a pause or a
// key reset.
//
// Static-only. `keyLock` guards the regions, their per-pointer state and
// the key-state table for a whole pointer event, the per-frame update and
// releaseAll; it is taken before the canvas's input lock, never after.
class PointerInputKeyManager : public virtual java::lang::Object {
  VM_CLASS(PointerInputKeyManager, java::lang::Object)

 public:
  using KeyState = PointerInputKeyManager_TQC_KeyState;
  using Region = PointerInputKeyRegion;
  static constexpr int32_t kKeyCount = 128;

  static void _VM_clinit();

  // Once per run of the canvas loop: the key-state table, then the origin.
  static void init();
  static void canvasChanged();
  // Key codes 1..63 map to themselves, -1..-64 to 64..127; every other
  // code to -1.
  static int32_t keyIndex(int32_t code);
  // One stylus event in screen coordinates: a press is down with edge, a
  // drag down without edge, a release edge without down.
  static void pointerEvent(int32_t pointer, int32_t x, int32_t y, uint8_t down, uint8_t edge);
  static void update();
  static void releaseAll();

  // Registers a region with fresh per-pointer state; false for null or a
  // region already registered.
  static uint8_t addRegion(VMPtr<Region> region);
  // False when the region was not registered; a removed region must be
  // registered again before use.
  static uint8_t removeRegion(VMPtr<Region> region);
  // Type 0 forgets every region; types outside 0, 127 and -64..63 do
  // nothing. Returns how many regions of a non-zero type were removed.
  static int32_t removeRegions(int32_t type);
  // Registered regions of a type (0: all).
  static int32_t getRegionCount(int32_t type);
  // Copies the registered regions of a type (0: all), in registration
  // order, into dest until it is full; returns how many were copied.
  static int32_t getRegions(VMPtr<VMArray<Region>> dest, int32_t type);
  // Kept for the game's setup; it changes nothing. True for 0.
  static uint8_t setOption(int32_t option);

  static VMStatic<java::util::Vector> regions;
  static VMStatic<VMArray<KeyState>> keyStates;
  static int32_t keyStateCount;
  static VMStatic<VMArray<int32_t>> keySlots;
  static int32_t originX;
  static int32_t originY;
  static int32_t pointerCount;
  static VMStatic<java::lang::Object> keyLock;

 private:
  static void clearTransitions();
  static void hitTest(int32_t pointer, int32_t x, int32_t y, uint8_t down, uint8_t edge, Region* r);
  // The key state of the region's code: the table's entry, or the region's
  // own for type 127; made when `create` and missing. Null for a code
  // without a key.
  static VMPtr<KeyState> getKeyState(Region* r, uint8_t create);
  static void touchKey(Region* r);
  static void clearKeyState(KeyState* k);
  static void dropPointerState(Region* r);
  static void updateKeyOnDown(KeyState* k);
  static void updateKeyOnUp(KeyState* k);
  // Reports each active key's transition to the canvas; a released key
  // leaves the table.
  static void reportTransitions();
  static void removeKeyState(int32_t code);
};

}  // namespace tq::input
