#pragma once

#include <cstdint>

#include "VMClassKit.h"
#include "javax_microedition_media_Control.h"

namespace javax::microedition::media::control {

// The loudness of a player: a level 0..100 and a mute switch.
class VolumeControl : public virtual javax::microedition::media::Control {
  VM_INTERFACE_CLASS(VolumeControl)

 public:
  virtual void setMute(uint8_t mute) = 0;
  virtual uint8_t isMuted() = 0;
  virtual int32_t setLevel(int32_t level) = 0;
  virtual int32_t getLevel() = 0;
};

}  // namespace javax::microedition::media::control
