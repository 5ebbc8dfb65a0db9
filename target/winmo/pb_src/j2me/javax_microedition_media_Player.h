#pragma once

#include <cstdint>

#include "VMClassKit.h"
#include "java_lang_String.h"
#include "javax_microedition_media_Controllable.h"

namespace javax::microedition::media {

// A media player and its life cycle: UNREALIZED -> realize -> REALIZED ->
// prefetch -> PREFETCHED -> start -> STARTED; close from any state gives
// CLOSED. Listeners and time bases are taken as plain objects: this system
// delivers no player events and has no time bases.
class Player : public virtual Controllable {
  VM_INTERFACE_CLASS(Player)

 public:
  static constexpr int32_t CLOSED = 0;
  static constexpr int32_t UNREALIZED = 100;
  static constexpr int32_t REALIZED = 200;
  static constexpr int32_t PREFETCHED = 300;
  static constexpr int32_t STARTED = 400;
  static constexpr int64_t TIME_UNKNOWN = -1;

  virtual void realize() = 0;
  virtual void prefetch() = 0;
  virtual void start() = 0;
  virtual void stop() = 0;
  virtual void deallocate() = 0;
  virtual void close() = 0;
  virtual void setTimeBase(VMPtr<java::lang::Object> master) = 0;
  virtual VMPtr<java::lang::Object> getTimeBase() = 0;
  virtual int64_t setMediaTime(int64_t now) = 0;
  virtual int64_t getMediaTime() = 0;
  virtual int32_t getState() = 0;
  virtual int64_t getDuration() = 0;
  virtual VMPtr<java::lang::String> getContentType() = 0;
  virtual void setLoopCount(int32_t count) = 0;
  virtual void addPlayerListener(VMPtr<java::lang::Object> listener) = 0;
  virtual void removePlayerListener(VMPtr<java::lang::Object> listener) = 0;
};

}  // namespace javax::microedition::media
