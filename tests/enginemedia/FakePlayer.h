#pragma once

// Players that only record what is done to them, handed to the media
// manager through its player factory. Each call is logged as
// "<id>.<operation>" in one shared log.

#include <string>
#include <vector>

#include "VMClassKit.h"
#include "javax_microedition_media_Player.h"
#include "javax_microedition_media_control_VolumeControl.h"
#include "tq_MediaManagerImpl.h"

namespace enginemedia {

class FakePlayer : public virtual java::lang::Object,
                   public virtual javax::microedition::media::Player,
                   public virtual javax::microedition::media::control::VolumeControl {
  VM_CLASS(FakePlayer, java::lang::Object)

 public:
  using Control = javax::microedition::media::Control;

  // The players made so far, the log, and the content types asked for.
  static inline std::vector<FakePlayer*> made;
  static inline std::vector<std::string> log;
  static inline std::vector<std::string> types;
  // The next players' start (or realize) throws MediaException.
  static inline bool failStart = false;
  static inline bool failRealize = false;
  // The factory throws MediaException instead of making a player.
  static inline bool failCreate = false;
  // Installs the factory and forgets earlier players.
  static void install();
  static std::vector<std::string> takeLog();

  void realize() override;
  void prefetch() override;
  void start() override;
  void stop() override;
  void deallocate() override {}
  void close() override;
  void setTimeBase(VMPtr<java::lang::Object>) override {}
  VMPtr<java::lang::Object> getTimeBase() override { return VMPtr<java::lang::Object>(); }
  int64_t setMediaTime(int64_t now) override;
  int64_t getMediaTime() override { return 0; }
  int32_t getState() override { return state; }
  int64_t getDuration() override { return -1; }
  VMPtr<java::lang::String> getContentType() override { return VMPtr<java::lang::String>(); }
  void setLoopCount(int32_t count) override;
  void addPlayerListener(VMPtr<java::lang::Object>) override {}
  void removePlayerListener(VMPtr<java::lang::Object>) override {}
  VMPtr<Control> getControl(VMPtr<java::lang::String>) override { return VMPtr<Control>(); }
  VMPtr<VMArray<Control>> getControls() override;
  void setMute(uint8_t) override {}
  uint8_t isMuted() override { return 0; }
  int32_t setLevel(int32_t level) override;
  int32_t getLevel() override { return 0; }

  int id = 0;
  int32_t state = UNREALIZED;
  bool throwOnStart = false;

 private:
  void record(const std::string& what);
};

}  // namespace enginemedia
