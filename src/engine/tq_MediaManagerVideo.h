#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"

namespace tq {

// The video side of the engine's media manager: thirteen operations that
// the one implementation answers with fixed values (nothing plays video on
// this platform). Operations taking a channel clamp it into range as the
// sound operations do.
class MediaManagerVideo : public virtual java::lang::Object {
  VM_INTERFACE_CLASS(MediaManagerVideo)

 public:
  virtual int32_t loadVideo(int32_t channel) = 0;
  virtual int32_t playVideo(int32_t channel) = 0;
  virtual int32_t getVideoCount() = 0;
  virtual int32_t stopVideo(int32_t channel) = 0;
  virtual int32_t getVideoTime(int32_t channel) = 0;
  virtual VMPtr<VMArray<int8_t>> getVideoFrame() = 0;
  virtual int32_t getVideoDuration() = 0;
  virtual int32_t getVideoChannel(int32_t channel) = 0;
  virtual int32_t getVideoState(int32_t channel) = 0;
  virtual int32_t getVideoVolume(int32_t channel) = 0;
  virtual int32_t setVideoPosition(int32_t channel) = 0;
  virtual void setVideoVisible() = 0;
  virtual int32_t setVideoSize(int32_t channel) = 0;
};

}  // namespace tq
