#include "tq_MediaManagerImpl.h"

#include "VMJava.h"
#include "VMSynchronized.h"
#include "java_lang_Exception.h"
#include "java_lang_StringBuffer.h"
#include "javax_microedition_media_Manager.h"
#include "javax_microedition_media_control_VolumeControl.h"
#include "tq_Resources.h"
#include "tq_TqCanvas.h"
#include "tq_platform_brume_TqBrume.h"

VM_REGISTER_CLASS(tq::MediaManagerImpl, "tq.MediaManagerImpl", "java.lang.Object", 0);
VM_IMPLEMENTS(tq::MediaManagerImpl, "tq.MediaManager");
VM_IMPLEMENTS(tq::MediaManagerImpl, "tq.MediaManagerVideo");
VM_IMPLEMENTS(tq::MediaManagerImpl, "java.lang.Runnable");

namespace tq {

using java::lang::Exception;
using javax::microedition::media::Control;
using javax::microedition::media::control::VolumeControl;

namespace {

VMPtr<MediaManagerImpl::Player> platformBytes(VMPtr<MediaManagerImpl::Bytes> data, int32_t offset, int32_t length,
                                              VMPtr<java::lang::String> type) {
  return platform::brume::TqBrume::createPlayer(data, offset, length, type);
}

VMPtr<MediaManagerImpl::Player> platformLocator(VMPtr<java::lang::String> locator) {
  return javax::microedition::media::Manager::createPlayer(locator);
}

const MediaManagerImpl::PlayerFactory kPlatformFactory{platformBytes, platformLocator};
const MediaManagerImpl::PlayerFactory* factory = &kPlatformFactory;

// Player states as the engine reports them, by MIDP state / 100.
constexpr int32_t kStateCodes[5] = {2, 6, 4, 3, 1};

}  // namespace

void MediaManagerImpl::setPlayerFactory(const PlayerFactory* f) { factory = f ? f : &kPlatformFactory; }

VMPtr<VMArray<int32_t>> MediaManagerImpl::filled(int32_t n, int32_t value) {
  VMPtr<VMArray<int32_t>> a = VMArray<int32_t>::create(n);
  for (int32_t i = 0; i < n; ++i) a->at(i) = value;
  return a;
}

VMPtr<MediaManagerImpl> MediaManagerImpl::_VM_init(VMPtr<TqCanvas> c, int32_t n) {
  Base::_VM_init();
  masterVolume = 1025;
  canvas = c;
  count = n;
  players = VMArray<Player>::create(n);
  pending = filled(n, -1);
  priority = filled(n, 0);
  volume = filled(n, 100);
  current = filled(n, -1);
  c->mediaManager = VMPtr<MediaManager>(this);
  return VMPtr<MediaManagerImpl>(this);
}

void MediaManagerImpl::_VM_markReferences(int colour) {
  _VM_mark(canvas, colour);
  _VM_mark(players, colour);
  _VM_mark(pending, colour);
  _VM_mark(priority, colour);
  _VM_mark(volume, colour);
  _VM_mark(current, colour);
  Base::_VM_markReferences(colour);
}

int32_t MediaManagerImpl::clampChannel(int32_t channel) const {
  const int32_t c = channel < count - 1 ? channel : count - 1;
  return c > 0 ? c : 0;
}

// --- Queries -----------------------------------------------------------

uint8_t MediaManagerImpl::isLoaded(int32_t media) { return static_cast<bool>(VMPtr<VMArray<Player>>(players)->get(media)); }

uint8_t MediaManagerImpl::isSoundEnabled() {
  VMPtr<TqCanvas> c = canvas;
  c->initDeviceFeatures();
  return !closed && c->soundEnabled;
}

int32_t MediaManagerImpl::getTime(int32_t media, int32_t flag) {
  if (!isLoaded(media)) return -1;
  return flag != 0 && isPlaying(media) ? -1 : 0;
}

int32_t MediaManagerImpl::getTime(int32_t media) { return isPlaying(media) ? -1 : 0; }

uint8_t MediaManagerImpl::isPlaying(int32_t media) {
  if (closed) return 0;
  if (media != -1) return isLoaded(media) && isPlayerStarted(media);
  for (int32_t m = 0; m < count; ++m) {
    if (isPlayerStarted(m)) return 1;
  }
  return 0;
}

int32_t MediaManagerImpl::getVolume(int32_t channel) { return VMPtr<VMArray<int32_t>>(volume)->at(clampChannel(channel)); }

int32_t MediaManagerImpl::getChannelState(int32_t channel) {
  if (closed) return 2;
  const int32_t m = VMPtr<VMArray<int32_t>>(current)->at(clampChannel(channel));
  return m >= 0 && getPlayerState(m) == 1 ? 1 : 2;
}

int32_t MediaManagerImpl::getPlayerState(int32_t media) {
  VMPtr<Player> p = VMPtr<VMArray<Player>>(players)->get(media);
  if (closed || !p) return 0;
  const int32_t state = p->getState();
  if (state % 100 != 0 || state < 0 || state > 400) return 0;
  return kStateCodes[state / 100];
}

uint8_t MediaManagerImpl::isPlayerStarted(int32_t media) {
  VMPtr<Player> p = VMPtr<VMArray<Player>>(players)->get(media);
  return p && p->getState() == Player::STARTED;
}

// --- Requests and the frame step -------------------------------------

void MediaManagerImpl::play(int32_t channel, int32_t media) {
  if (!isSoundEnabled() || !isLoaded(media)) return;
  const int32_t c = clampChannel(channel);
  VMPtr<VMArray<int32_t>> prio = priority;
  const int32_t wanted = prio->at(media);
  const int32_t waiting = VMPtr<VMArray<int32_t>>(pending)->at(c);
  if (waiting >= 0 && prio->at(waiting) > wanted) return;
  const int32_t playing = VMPtr<VMArray<int32_t>>(current)->at(c);
  if (playing >= 0 && isPlayerStarted(playing) && prio->at(playing) > wanted) return;
  VMPtr<VMArray<int32_t>>(pending)->at(c) = media;
}

void MediaManagerImpl::run() {
  VMSynchronized guard(this);
  if (!isSoundEnabled()) return;
  for (int32_t c = 0; c < count; ++c) {
    const int32_t m = VMPtr<VMArray<int32_t>>(pending)->at(c);
    if (m < 0) continue;
    stop(c);
    applyVolume(m, c);
    startPlayer(m);
    VMPtr<VMArray<int32_t>>(current)->at(c) = m;
  }
}

void MediaManagerImpl::stop(int32_t channel) {
  if (channel < 0) {
    for (int32_t c = 0; c < count; ++c) stop(c);
    return;
  }
  const int32_t c = clampChannel(channel);
  VMPtr<VMArray<int32_t>>(pending)->at(c) = -1;
  const int32_t m = VMPtr<VMArray<int32_t>>(current)->at(c);
  if (m >= 0) stopPlayer(m);
}

void MediaManagerImpl::setSoundEnabled(uint8_t on) {
  if ((on != 0) == (isSoundEnabled() != 0)) return;
  stop(-1);
  VMPtr<TqCanvas> c = canvas;
  c->soundEnabled = on != 0;
  c->initDeviceFeatures();
}

void MediaManagerImpl::setVolume(int32_t channel, int32_t level) {
  if (channel == -1) {
    for (int32_t c = count - 1; c >= 0; --c) setVolume(c, level);
    return;
  }
  const int32_t c = clampChannel(channel);
  VMPtr<VMArray<int32_t>>(volume)->at(c) = level < 0 ? 0 : level > 100 ? 100 : level;
  if (closed) return;
  const int32_t m = VMPtr<VMArray<int32_t>>(current)->at(c);
  if (m >= 0 && isPlayerStarted(m)) applyVolume(m, c);
}

void MediaManagerImpl::applyVolume(int32_t media, int32_t channel) {
  VMPtr<Player> p = VMPtr<VMArray<Player>>(players)->get(media);
  const int32_t level = (VMPtr<VMArray<int32_t>>(volume)->at(channel) * masterVolume) >> 10;
  try {
    VMPtr<VMArray<Control>> controls = p->getControls();
    for (int32_t i = controls ? controls->length - 1 : -1; i >= 0; --i) {
      VMPtr<Control> control = controls->get(i);
      if (auto* vc = dynamic_cast<VolumeControl*>(control.get())) {
        VMPtr<VolumeControl>(vc)->setLevel(level);
        return;
      }
    }
  } catch (Exception* e) {
    VMPtr<Exception> dropped(e);
  }
}

bool MediaManagerImpl::startPlayer(int32_t media) {
  VMPtr<Player> p = VMPtr<VMArray<Player>>(players)->get(media);
  try {
    p->setMediaTime(0);
    p->start();
    return true;
  } catch (Exception* e) {
    VMPtr<Exception> dropped(e);
    return false;
  }
}

void MediaManagerImpl::stopPlayer(int32_t media) {
  VMPtr<Player> p = VMPtr<VMArray<Player>>(players)->get(media);
  if (!p) return;
  try {
    p->stop();
  } catch (Exception* e) {
    VMPtr<Exception> dropped(e);
  }
}

// --- Slots -------------------------------------------------------------

void MediaManagerImpl::release(int32_t media) {
  if (media == -1) {
    for (int32_t m = 0; m < count; ++m) release(m);
    return;
  }
  if (!isLoaded(media)) return;
  VMPtr<VMArray<int32_t>> waiting = pending;
  for (int32_t c = 0; c < count; ++c) {
    if (waiting->at(c) == media) waiting->at(c) = -1;
  }
  closePlayer(media);
  onRelease(media);
}

void MediaManagerImpl::closePlayer(int32_t media) {
  VMPtr<VMArray<Player>> slots = players;
  VMPtr<Player> p = slots->get(media);
  slots->set(media, VMPtr<Player>());
  if (!p) return;
  onPlayer(p);
  closeQuietly(p);
}

void MediaManagerImpl::closeQuietly(VMPtr<Player> player) {
  try {
    player->close();
  } catch (Exception* e) {
    VMPtr<Exception> dropped(e);
  }
}

void MediaManagerImpl::close() {
  VMSynchronized guard(this);
  if (closed) return;
  closed = 1;
  release(-1);
}

void MediaManagerImpl::setLoadSettings(int32_t media, int32_t type, int32_t loopCount, int32_t prio) {
  onLoadSettings(media, type, loopCount, prio);
  VMPtr<VMArray<int32_t>>(priority)->at(media) = prio;
}

VMPtr<java::lang::String> MediaManagerImpl::getContentType(int32_t type) {
  return String::_VM_fromUTF8(type == 1 ? "audio/x-wav" : "audio/midi");
}

VMPtr<java::lang::String> MediaManagerImpl::getLocatorPrefix() { return String::_VM_fromUTF8(""); }

void MediaManagerImpl::load(int32_t media, VMPtr<Bytes> data, int32_t type, int32_t loopCount, int32_t prio) {
  VMSynchronized guard(this);
  if (closed) return;
  setLoadSettings(media, type, loopCount, prio);
  createPlayer(media, data, 0, _VM_length(data), type, loopCount);
}

void MediaManagerImpl::load(int32_t media, int32_t unused, int32_t type, VMPtr<String> name, int32_t loopCount,
                            int32_t prio) {
  VMSynchronized guard(this);
  if (closed) return;
  setLoadSettings(media, type, loopCount, prio);
  VMPtr<String> locator = getLocatorPrefix();
  if (name && name->length() > 0) {
    VMPtr<java::lang::StringBuffer> sb = java::lang::StringBuffer::_VM_new();
    locator = sb->_VM_init(locator)->append(name)->toString();
  }
  createPlayer(media, locator, loopCount);
}

void MediaManagerImpl::load(int32_t media, int32_t resourceId, int32_t loopCount, int32_t prio) {
  VMSynchronized guard(this);
  if (closed) return;
  VMPtr<Bytes> data = Resources::getDataArray(resourceId);
  const int32_t offset = Resources::getOffset(resourceId);
  const int32_t size = Resources::getSize(resourceId);
  const int32_t type = Resources::getType(resourceId);
  setLoadSettings(media, type, loopCount, prio);
  createPlayer(media, data, offset, size, type, loopCount);
}

void MediaManagerImpl::createPlayer(int32_t media, VMPtr<Bytes> data, int32_t offset, int32_t length, int32_t type,
                                    int32_t loopCount) {
  VMPtr<Player> player;
  try {
    player = factory->fromBytes(data, offset, length, getContentType(type));
  } catch (Exception* e) {
    VMPtr<Exception> dropped(e);
    return;
  }
  install(media, player, loopCount);
}

void MediaManagerImpl::createPlayer(int32_t media, VMPtr<String> locator, int32_t loopCount) {
  VMPtr<Player> player;
  try {
    player = factory->fromLocator(locator);
  } catch (Exception* e) {
    VMPtr<Exception> dropped(e);
    return;
  }
  install(media, player, loopCount);
}

void MediaManagerImpl::install(int32_t media, VMPtr<Player> player, int32_t loopCount) {
  if (!player) return;
  VMPtr<VMArray<Player>> slots = players;
  VMPtr<Player> old = slots->get(media);
  slots->set(media, player);
  if (old && old.get() != player.get()) closeQuietly(old);
  try {
    onPlayer(player);
    player->realize();
    player->setLoopCount(loopCount);
    player->prefetch();
  } catch (Exception* e) {
    VMPtr<Exception> dropped(e);
  }
  // Realizing gives up the global lock: a close meanwhile released every
  // slot, and this player must not outlive it.
  if (closed) {
    if (slots->get(media).get() == player.get()) slots->set(media, VMPtr<Player>());
    closeQuietly(player);
  }
}

VMPtr<VMArray<int8_t>> MediaManagerImpl::getVideoFrame() { return Bytes::create(0); }

}  // namespace tq
