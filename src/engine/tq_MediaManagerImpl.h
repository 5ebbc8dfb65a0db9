#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"
#include "java_lang_Runnable.h"
#include "java_lang_String.h"
#include "javax_microedition_media_Player.h"
#include "tq_MediaManager.h"

namespace tq {

class TqCanvas;

// The engine's sound manager: `count` media slots, each holding at most
// one Player built from a resource, and as many channels. play() only
// records a request on a channel (refused when a higher-priority slot is
// pending there or playing there); run(), once per frame on the canvas
// thread, stops what the channel played, applies the channel volume
// ((volume x masterVolume) >> 10 through the player's last VolumeControl)
// and starts the requested slot. The sound switch is the canvas's.
//
// Ownership: the players belong to their slots. A slot's player is closed
// when the slot is released, when the manager closes, or when a load puts
// a newly built player into the slot (the old one is closed after the new
// one exists, so a failed load keeps the old sound and nothing keeps
// playing out of reach).
//
// Failures: building a player catches everything (a type this platform
// cannot play stays silent); an exception from one player's start, stop,
// close, setMediaTime or volume is caught for that player alone, so one
// device error does not end the game thread. Media slot numbers are not
// clamped: one outside 0..count - 1 throws ArrayIndexOutOfBoundsException.
//
// Monitor: the loads, run and close hold the manager's monitor; the other
// operations work on single ints. Building a player may give up the global
// lock, so a load checks `closed` again before it stores the player.
class MediaManagerImpl : public virtual java::lang::Object,
                         public virtual MediaManager,
                         public virtual java::lang::Runnable {
  VM_CLASS(MediaManagerImpl, java::lang::Object)

 public:
  using Player = javax::microedition::media::Player;
  using Bytes = VMArray<int8_t>;
  using String = java::lang::String;

  // Where players come from: one replaceable pair, so that a test can hand
  // out players of its own. The default builds them through the platform
  // bridge (bytes) and Manager.createPlayer (locators).
  struct PlayerFactory {
    VMPtr<Player> (*fromBytes)(VMPtr<Bytes> data, int32_t offset, int32_t length, VMPtr<String> type);
    VMPtr<Player> (*fromLocator)(VMPtr<String> locator);
  };
  // Null restores the default.
  static void setPlayerFactory(const PlayerFactory* factory);

  // Becomes the canvas's media manager.
  VMPtr<MediaManagerImpl> _VM_init(VMPtr<TqCanvas> canvas, int32_t count);

  // --- MediaManager ---------------------------------------------------
  void prepare() override {}
  uint8_t isLoaded(int32_t media) override;
  // Applies the canvas's default settings first (the switch is then on
  // unless someone turned it off).
  uint8_t isSoundEnabled() override;
  void stop(int32_t channel) override;
  // -1 when the slot is not loaded, or when `flag` is set and it plays;
  // else 0.
  int32_t getTime(int32_t media, int32_t flag) override;
  // -1 when the slot plays, else 0.
  int32_t getTime(int32_t media) override;
  void setSoundEnabled(uint8_t on) override;
  void release(int32_t media) override;
  void load(int32_t media, VMPtr<Bytes> data, int32_t type, int32_t loopCount, int32_t priority) override;
  void load(int32_t media, int32_t unused, int32_t type, VMPtr<String> name, int32_t loopCount,
            int32_t priority) override;
  void load(int32_t media, int32_t resourceId, int32_t loopCount, int32_t priority) override;
  // Equal priorities replace a request.
  void play(int32_t channel, int32_t media) override;
  int32_t getChannelCount() override { return count; }
  // The level is clamped to 0..100; a started player hears it at once.
  void setVolume(int32_t channel, int32_t level) override;
  int32_t getVolume(int32_t channel) override;
  void close() override;
  int32_t getDuration(int32_t media) override { return -1; }
  uint8_t isPlaying(int32_t media) override;

  // --- Runnable: the per-frame step -----------------------------------
  void run() override;

  // --- MediaManagerVideo: fixed answers -------------------------------
  int32_t loadVideo(int32_t channel) override { return -1; }
  int32_t playVideo(int32_t channel) override { return -1; }
  int32_t getVideoCount() override { return -1; }
  int32_t stopVideo(int32_t channel) override { return 0; }
  int32_t getVideoTime(int32_t channel) override { return 0; }
  // A new empty array.
  VMPtr<Bytes> getVideoFrame() override;
  int32_t getVideoDuration() override { return -1; }
  int32_t getVideoChannel(int32_t channel) override { return clampChannel(channel); }
  int32_t getVideoState(int32_t channel) override { return 0; }
  int32_t getVideoVolume(int32_t channel) override { return -1; }
  int32_t setVideoPosition(int32_t channel) override { return clampChannel(channel); }
  void setVideoVisible() override {}
  int32_t setVideoSize(int32_t channel) override { return clampChannel(channel); }

  // --- Per-slot operations --------------------------------------------
  // 2 when closed or idle, 1 when the channel's current slot is started.
  virtual int32_t getChannelState(int32_t channel);
  // 0 none (or closed), 1 STARTED, 2 CLOSED, 3 PREFETCHED, 4 REALIZED,
  // 6 UNREALIZED.
  virtual int32_t getPlayerState(int32_t media);
  virtual uint8_t isPlayerStarted(int32_t media);
  // Rewinds and starts; false when the player failed.
  virtual bool startPlayer(int32_t media);
  virtual void stopPlayer(int32_t media);
  // Closes the slot's player and empties the slot.
  virtual void closePlayer(int32_t media);
  virtual void setLoadSettings(int32_t media, int32_t type, int32_t loopCount, int32_t priority);
  // "audio/x-wav" for type 1, "audio/midi" for any other.
  virtual VMPtr<String> getContentType(int32_t type);
  virtual void applyVolume(int32_t media, int32_t channel);
  virtual VMPtr<String> getLocatorPrefix();
  // Hooks for subclasses.
  virtual void onRelease(int32_t media) {}
  virtual void onPlayer(VMPtr<Player> player) {}
  virtual void onLoadSettings(int32_t media, int32_t type, int32_t loopCount, int32_t priority) {}

  int32_t clampChannel(int32_t channel) const;

  void _VM_markReferences(int colour) override;

  VMField<TqCanvas> canvas;
  int32_t count;
  VMField<VMArray<Player>> players;
  VMField<VMArray<int32_t>> pending;
  VMField<VMArray<int32_t>> priority;
  VMField<VMArray<int32_t>> volume;
  VMField<VMArray<int32_t>> current;
  int32_t masterVolume;
  uint8_t closed;

 private:
  // Builds, configures and stores the slot's player; every failure is
  // caught (the slot then keeps what it had).
  void createPlayer(int32_t media, VMPtr<Bytes> data, int32_t offset, int32_t length, int32_t type,
                    int32_t loopCount);
  void createPlayer(int32_t media, VMPtr<String> locator, int32_t loopCount);
  // Configures `player` and puts it into the slot, closing the one it
  // replaces; a manager closed meanwhile closes `player` instead.
  void install(int32_t media, VMPtr<Player> player, int32_t loopCount);
  static void closeQuietly(VMPtr<Player> player);
  static VMPtr<VMArray<int32_t>> filled(int32_t n, int32_t value);
};

}  // namespace tq
