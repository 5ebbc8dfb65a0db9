#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"
#include "java_lang_String.h"
#include "tq_MediaManagerVideo.h"

namespace tq {

// What callers hold of the engine's sound manager: media slots holding one
// player each, played on as many channels, with a volume per channel. The
// canvas stops every channel on a pause or resume request, closes the
// manager on quit and runs its per-frame step (the implementation is also a
// Runnable). Channel arguments are clamped into range; a media argument is
// a slot number.
class MediaManager : public virtual MediaManagerVideo {
  VM_INTERFACE_CLASS(MediaManager)

 public:
  virtual void prepare() = 0;
  virtual uint8_t isLoaded(int32_t media) = 0;
  virtual uint8_t isSoundEnabled() = 0;
  // A negative channel stops every channel.
  virtual void stop(int32_t channel) = 0;
  virtual int32_t getTime(int32_t media, int32_t flag) = 0;
  virtual int32_t getTime(int32_t media) = 0;
  virtual void setSoundEnabled(uint8_t on) = 0;
  // Media -1 releases every slot.
  virtual void release(int32_t media) = 0;
  virtual void load(int32_t media, VMPtr<VMArray<int8_t>> data, int32_t type, int32_t loopCount,
                    int32_t priority) = 0;
  virtual void load(int32_t media, int32_t unused, int32_t type, VMPtr<java::lang::String> name, int32_t loopCount,
                    int32_t priority) = 0;
  virtual void load(int32_t media, int32_t resourceId, int32_t loopCount, int32_t priority) = 0;
  virtual void play(int32_t channel, int32_t media) = 0;
  virtual int32_t getChannelCount() = 0;
  // Channel -1 sets every channel.
  virtual void setVolume(int32_t channel, int32_t level) = 0;
  virtual int32_t getVolume(int32_t channel) = 0;
  // Once only; most operations do nothing afterwards.
  virtual void close() = 0;
  virtual int32_t getDuration(int32_t media) = 0;
  // Media -1: whether any slot plays.
  virtual uint8_t isPlaying(int32_t media) = 0;
};

}  // namespace tq
