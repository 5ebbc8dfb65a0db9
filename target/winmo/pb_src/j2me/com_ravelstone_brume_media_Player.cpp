#include "com_ravelstone_brume_media_Player.h"

#include <string>

#include "VMServices.h"
#include "VMThrow.h"
#include "java_lang_IllegalArgumentException.h"
#include "java_lang_IllegalStateException.h"
#include "java_lang_System.h"
#include "javax_microedition_media_Manager.h"
#include "javax_microedition_media_MediaException.h"

VM_REGISTER_CLASS(com::ravelstone::brume::media::Player, "com.ravelstone.brume.media.Player", "java.lang.Object", 0);
VM_IMPLEMENTS(com::ravelstone::brume::media::Player, "javax.microedition.media.Player");
VM_IMPLEMENTS(com::ravelstone::brume::media::Player, "javax.microedition.media.control.VolumeControl");

namespace com::ravelstone::brume::media {

namespace {

using javax::microedition::media::MediaException;

constexpr int32_t kUnknownTime = -11;

// Status 1 ends the process with `notImplemented`; any other failure throws
// MediaException `failure`.
void check(HALStatus status, const char* notImplemented, const char* failure) {
  if (status == HAL_OK) return;
  if (status == HAL_NOT_IMPLEMENTED_ERR) _VM_fatalError(notImplemented);
  _VM_throwNew<MediaException>(failure);
}

// Every failure ends the process: status 1 with `notImplemented`, others
// with `failure`.
void checkFatal(HALStatus status, const char* notImplemented, const char* failure) {
  if (status == HAL_OK) return;
  _VM_fatalError(status == HAL_NOT_IMPLEMENTED_ERR ? notImplemented : failure);
}

int32_t clampLevel(int32_t level) { return level < 0 ? 0 : (level > 100 ? 100 : level); }

}  // namespace

Player::~Player() {
  if (native != nullptr) HAL_closePlayer(native);
}

VMPtr<Player> Player::_VM_init(VMPtr<java::lang::String> name, int32_t protocol) {
  Object::_VM_init();
  locatorName = name;
  this->protocol = protocol;
  return VMPtr<Player>(this);
}

VMPtr<Player> Player::_VM_init(VMPtr<VMArray<int8_t>> data, int32_t offset, int32_t length,
                               VMPtr<java::lang::String> type) {
  Object::_VM_init();
  this->data = data;
  this->offset = offset;
  this->length = length;
  this->type = type;
  return VMPtr<Player>(this);
}

void Player::requireRealized(const char* unrealized, const char* closedMessage) {
  if (closed()) _VM_throwNew<java::lang::IllegalStateException>(closedMessage);
  if (native == nullptr) _VM_throwNew<java::lang::IllegalStateException>(unrealized);
}

int32_t Player::getState() {
  if (native == nullptr) return realizedOnce ? CLOSED : UNREALIZED;
  int32_t state = 0;
  checkFatal(HAL_getPlayerState(native, &state), "Unable to get the player state: method not implemented",
             "Unable to get the player state!");
  return state == 0 ? REALIZED : (state == 2 ? STARTED : PREFETCHED);
}

void Player::realize() {
  if (native != nullptr) return;
  if (closed()) _VM_throwNew<java::lang::IllegalStateException>("Attempting to realize closed player");
  const int32_t loop = (loopCount < 0 ? 0 : loopCount) - 1;
  HALPlayer* made = nullptr;
  HALStatus status;
  if (locatorName) {
    // A copy of the name: the platform gives up the global lock while it
    // reads the file.
    VMPtr<java::lang::String> name = locatorName;
    const std::u16string text(name->_VM_chars(), static_cast<size_t>(name->length()));
    status = HAL_createPlayerWithLocator(&made, protocol, text.data(), static_cast<int32_t>(text.size()),
                                         javax::microedition::media::Manager::CONTENT_NONE, loop);
  } else {
    VMPtr<VMArray<int8_t>> bytes = data;
    const int32_t code = javax::microedition::media::Manager::contentCode(type);
    status = HAL_createPlayerWithData(&made, reinterpret_cast<const uint8_t*>(bytes->elements()) + offset, length,
                                      code, loop);
  }
  check(status, "Unable to realize with input type: method not implemented", "Unable to realize player");
  if (realizedMeanwhile(made)) return;
  native = made;
  realizedOnce = 1;
  data = nullptr;
  type = nullptr;
  locatorName = nullptr;
  java::lang::System::gc();
}

bool Player::realizedMeanwhile(HALPlayer* made) {
  if (native == nullptr && !closed()) return false;
  HAL_closePlayer(made);
  if (closed()) _VM_throwNew<java::lang::IllegalStateException>("Attempting to realize closed player");
  return true;
}

void Player::prefetch() {
  if (native != nullptr) {
    check(HAL_prefetchPlayer(native), "Unable to prefetch player: method not implemented",
          "Unable to prefetch player");
    if (level == -1) {
      int32_t read = -1;
      level = HAL_getPlayerVolume(native, &read) == HAL_OK ? clampLevel(read) : 100;
    }
    return;
  }
  if (closed()) _VM_throwNew<java::lang::IllegalStateException>("Attempting to prefetch closed player");
}

void Player::start() {
  if (native != nullptr) {
    check(HAL_startPlayer(native), "Unable to start player: method not implemented", "Unable to start player");
    return;
  }
  if (closed()) _VM_throwNew<java::lang::IllegalStateException>("Attempting to start closed player");
}

void Player::stop() {
  if (native != nullptr) {
    check(HAL_pausePlayer(native), "Unable to stop player: method not implemented", "Unable to stop player");
    return;
  }
  if (closed()) _VM_throwNew<java::lang::IllegalStateException>();
}

void Player::deallocate() {
  if (native != nullptr) {
    checkFatal(HAL_resetPlayer(native), "Unable to deallocate player: method not implemented",
               "Unable to deallocate player!");
    return;
  }
  if (closed()) _VM_throwNew<java::lang::IllegalStateException>("Attempting to deallocate closed player");
}

void Player::close() {
  if (native == nullptr) return;
  const HALStatus status = HAL_closePlayer(native);
  if (status == HAL_NOT_IMPLEMENTED_ERR) _VM_fatalError("Unable to close player: method not implemented");
  if (status == HAL_OK) native = nullptr;
}

void Player::setTimeBase(VMPtr<java::lang::Object>) { _VM_fatalError("Player.setTimeBase is not implemented"); }

VMPtr<java::lang::Object> Player::getTimeBase() { _VM_fatalError("Player.getTimeBase is not implemented"); }

int64_t Player::setMediaTime(int64_t now) {
  requireRealized("Attempting to call setMediaTime on an unrealized player",
                  "Attempting to call setMediaTime on a closed player");
  check(HAL_setPlayerMediaTime(native, now < 0 ? 0 : now), "Unable to set the player time: method not implemented",
        "Unable to set the media time for the player");
  return getMediaTime();
}

int64_t Player::getMediaTime() {
  if (native != nullptr) {
    int64_t time = 0;
    checkFatal(HAL_getPlayerMediaTime(native, &time), "Unable to get the media time: method not implemented",
               "Unable to get the media time!");
    return time;
  }
  if (closed()) _VM_throwNew<java::lang::IllegalStateException>();
  return kUnknownTime;
}

int64_t Player::getDuration() {
  if (native != nullptr) {
    int64_t duration = 0;
    checkFatal(HAL_getPlayerDuration(native, &duration), "Unable to get the player duration: method not implemented",
               "Unable to get the player duration!");
    return duration;
  }
  if (closed()) _VM_throwNew<java::lang::IllegalStateException>();
  return kUnknownTime;
}

VMPtr<java::lang::String> Player::getContentType() {
  requireRealized("Player.getContentType called on an unrealized player",
                  "Player.getContentType called on a closed player");
  int32_t code = 0;
  if (HAL_getPlayerContentType(native, &code) != HAL_OK) _VM_fatalError("Unable to get the content type!");
  return javax::microedition::media::Manager::contentType(code);
}

void Player::setLoopCount(int32_t count) {
  if (count == 0) _VM_throwNew<java::lang::IllegalArgumentException>("Player.setLoopCount with an invalid count.");
  if (closed()) _VM_throwNew<java::lang::IllegalStateException>("Player.setLoopCount called on a closed player");
  loopCount = count;
  if (native == nullptr) return;
  checkFatal(HAL_setPlayerLoopCount(native, (count < 1 ? 0 : count) - 1),
             "Unable to set the loop count for a realize player: method not implemented",
             "Unable to set the loop count for a realize player!");
}

VMPtr<javax::microedition::media::Control> Player::getControl(VMPtr<java::lang::String> controlType) {
  if (!controlType) _VM_throwNew<java::lang::IllegalArgumentException>("Invalid control type passed to Player.getControl");
  requireRealized("Attempting to get controls for an unrealized player",
                  "Attempting to get controls for a closed player");
  const char* kVolume = "javax.microedition.media.control.VolumeControl";
  const bool volume = controlType->indexOf(u'.') < 0 ? controlType->_VM_equals("VolumeControl")
                                                     : controlType->_VM_equals(kVolume);
  return volume ? VMPtr<javax::microedition::media::Control>(this) : nullptr;
}

VMPtr<VMArray<javax::microedition::media::Control>> Player::getControls() {
  requireRealized("Attempting to get controls for an unrealized player",
                  "Attempting to get controls for a closed player");
  VMPtr<VMArray<javax::microedition::media::Control>> controls = VMArray<javax::microedition::media::Control>::create(1);
  controls->set(0, VMPtr<javax::microedition::media::Control>(this));
  return controls;
}

int32_t Player::applyVolume(int32_t wanted) {
  if (native == nullptr) return wanted;
  const HALStatus set = HAL_setPlayerVolume(native, wanted);
  if (set != HAL_OK && set != HAL_NOT_IMPLEMENTED_ERR) _VM_fatalError("HAL_setPlayerVolume() failed in setVolume()!");
  int32_t read = -1;
  const HALStatus got = HAL_getPlayerVolume(native, &read);
  if (got != HAL_OK && got != HAL_NOT_IMPLEMENTED_ERR) _VM_fatalError("HAL_getPlayerVolume() failed in setVolume()!");
  return read;
}

int32_t Player::setLevel(int32_t wanted) {
  wanted = clampLevel(wanted);
  if (muted) return level;
  level = applyVolume(wanted);
  return level;
}

void Player::setMute(uint8_t mute) {
  if (mute && !muted) {
    applyVolume(0);
    muted = 1;
  } else if (!mute && muted) {
    // A level never known is the device's full volume.
    level = applyVolume(level < 0 ? 100 : level);
    muted = 0;
  }
}

void Player::_VM_markReferences(int colour) {
  _VM_mark(data, colour);
  _VM_mark(type, colour);
  _VM_mark(locatorName, colour);
  Object::_VM_markReferences(colour);
}

}  // namespace com::ravelstone::brume::media
