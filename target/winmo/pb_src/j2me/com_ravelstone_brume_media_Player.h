#pragma once

#include <cstdint>

#include "HALPlayer.h"
#include "VMArray.h"
#include "VMClassKit.h"
#include "java_lang_String.h"
#include "javax_microedition_media_Player.h"
#include "javax_microedition_media_control_VolumeControl.h"

namespace com::ravelstone::brume::media {

// The system's player: one native audio player (HALPlayer) made at
// realize from the locator or the sound data it was created with, and its
// own volume control.
//
// Ownership: the native record belongs to this object from realize until
// close; the destructor, run by the collector, closes a player that is
// still open. The source (data array or locator name) is dropped once the
// native record holds the sound. A player is CLOSED when it was realized
// once and has no native record any more.
//
// Every operation runs under the global lock on the calling thread; the
// end of a sound only changes the native state (reported as PREFETCHED).
// Realize gives the lock up while the native player is made: when two
// threads realize at once, the first to finish wins and the other's native
// player is closed at once.
// Failures of the native player that this system cannot have (a missing
// operation, a failing query) end the process.
class Player : public virtual java::lang::Object,
               public virtual javax::microedition::media::Player,
               public virtual javax::microedition::media::control::VolumeControl {
  VM_CLASS(Player, java::lang::Object)

 public:
  Player() : loopCount(1), level(-1) {}
  ~Player() override;

  // A player over a locator name (the text after "file:" or "x-jar:").
  VMPtr<Player> _VM_init(VMPtr<java::lang::String> name, int32_t protocol);
  // A player over data[offset .. offset + length) of the given MIME type.
  VMPtr<Player> _VM_init(VMPtr<VMArray<int8_t>> data, int32_t offset, int32_t length, VMPtr<java::lang::String> type);

  void realize() override;
  void prefetch() override;
  void start() override;
  void stop() override;
  void deallocate() override;
  void close() override;
  void setTimeBase(VMPtr<java::lang::Object> master) override;
  VMPtr<java::lang::Object> getTimeBase() override;
  int64_t setMediaTime(int64_t now) override;
  int64_t getMediaTime() override;
  int32_t getState() override;
  int64_t getDuration() override;
  VMPtr<java::lang::String> getContentType() override;
  void setLoopCount(int32_t count) override;
  void addPlayerListener(VMPtr<java::lang::Object>) override {}
  void removePlayerListener(VMPtr<java::lang::Object>) override {}

  VMPtr<javax::microedition::media::Control> getControl(VMPtr<java::lang::String> controlType) override;
  VMPtr<VMArray<javax::microedition::media::Control>> getControls() override;

  void setMute(uint8_t mute) override;
  uint8_t isMuted() override { return muted; }
  int32_t setLevel(int32_t level) override;
  int32_t getLevel() override { return level; }
  // Sets the native volume to `level` and returns what the device reads
  // back; without a native record, `level` itself.
  virtual int32_t applyVolume(int32_t level);

  void _VM_markReferences(int colour) override;

  HALPlayer* native = nullptr;
  int32_t loopCount;
  uint8_t realizedOnce = 0;
  int32_t level;
  uint8_t muted = 0;
  VMField<VMArray<int8_t>> data;
  int32_t offset = 0;
  int32_t length = 0;
  VMField<java::lang::String> type;
  VMField<java::lang::String> locatorName;
  int32_t protocol = 0;

 private:
  bool closed() const { return realizedOnce && native == nullptr; }
  // Throws IllegalStateException for an unrealized or closed player.
  void requireRealized(const char* unrealized, const char* closedMessage);
  // The platform call of realize runs without the global lock, so another
  // thread may realize (and even close) this player meanwhile. Then the
  // native player `made` is closed again and true returned (after throwing
  // IllegalStateException when the player is closed by now): the player
  // keeps the native player that came first.
  bool realizedMeanwhile(HALPlayer* made);
};

}  // namespace com::ravelstone::brume::media
