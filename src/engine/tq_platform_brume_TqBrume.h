#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"
#include "java_lang_String.h"
#include "javax_microedition_media_Player.h"

namespace tq::platform::brume {

// The engine's bridge to the device services of the platform: the display
// orientation, keeping the device awake and making sound players. Static
// methods only.
class TqBrume : public virtual java::lang::Object {
  VM_CLASS(TqBrume, java::lang::Object)

 public:
  // The display orientation: 0 none, 1 normal, 2 90°, 3 180°, 4 270°.
  static int32_t getOrientation();
  // Requests an orientation; false when the display refuses it (or the
  // code is outside 0..4). Any other failure is fatal.
  static uint8_t setOrientation(int32_t code);
  // With sleep not allowed the device is kept awake.
  static void setSleepAllowed(uint8_t allowed);
  // A player of `length` bytes of `data` from `offset`, of the given
  // content type, as the media manager makes it.
  // Ends the application through the shell's exit sequence with exit code
  // 1: the game failed.
  static void exitWithFailure();
  static VMPtr<javax::microedition::media::Player> createPlayer(VMPtr<VMArray<int8_t>> data, int32_t offset,
                                                                 int32_t length, VMPtr<java::lang::String> type);
};

}  // namespace tq::platform::brume
