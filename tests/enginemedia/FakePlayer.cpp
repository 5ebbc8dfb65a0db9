#include "FakePlayer.h"

#include "JavaTestSupport.h"
#include "VMThrow.h"
#include "javax_microedition_media_MediaException.h"

VM_REGISTER_CLASS(enginemedia::FakePlayer, "enginemedia.FakePlayer", "java.lang.Object", 0);
VM_IMPLEMENTS(enginemedia::FakePlayer, "javax.microedition.media.Player");
VM_IMPLEMENTS(enginemedia::FakePlayer, "javax.microedition.media.control.VolumeControl");

namespace enginemedia {

using javax::microedition::media::MediaException;

namespace {

VMPtr<javax::microedition::media::Player> make(const std::string& type) {
  if (FakePlayer::failCreate) _VM_throwNew<MediaException>("no player");
  FakePlayer::types.push_back(type);
  VMPtr<FakePlayer> p = FakePlayer::_VM_new();
  p->id = static_cast<int>(FakePlayer::made.size());
  p->throwOnStart = FakePlayer::failStart;
  FakePlayer::made.push_back(p.get());
  return p;
}

VMPtr<javax::microedition::media::Player> fromBytes(VMPtr<VMArray<int8_t>> data, int32_t offset, int32_t length,
                                                    VMPtr<java::lang::String> type) {
  return make(java_test::show(java_test::text(type)) + " " + std::to_string(offset) + "+" + std::to_string(length));
}

VMPtr<javax::microedition::media::Player> fromLocator(VMPtr<java::lang::String> locator) {
  return make("locator " + java_test::show(java_test::text(locator)));
}

const tq::MediaManagerImpl::PlayerFactory kFactory{fromBytes, fromLocator};

}  // namespace

void FakePlayer::install() {
  made.clear();
  log.clear();
  types.clear();
  failStart = false;
  failRealize = false;
  failCreate = false;
  tq::MediaManagerImpl::setPlayerFactory(&kFactory);
}

std::vector<std::string> FakePlayer::takeLog() {
  std::vector<std::string> out;
  out.swap(log);
  return out;
}

void FakePlayer::record(const std::string& what) { log.push_back(std::to_string(id) + "." + what); }

void FakePlayer::realize() {
  record("realize");
  if (failRealize) _VM_throwNew<MediaException>("realize failed");
  state = REALIZED;
}

void FakePlayer::prefetch() {
  record("prefetch");
  state = PREFETCHED;
}

void FakePlayer::start() {
  record("start");
  if (throwOnStart) _VM_throwNew<MediaException>("device error");
  state = STARTED;
}

void FakePlayer::stop() {
  record("stop");
  if (state == STARTED) state = PREFETCHED;
}

void FakePlayer::close() {
  record("close");
  state = CLOSED;
}

int64_t FakePlayer::setMediaTime(int64_t now) {
  record("rewind");
  return now;
}

void FakePlayer::setLoopCount(int32_t count) { record("loop " + std::to_string(count)); }

VMPtr<VMArray<FakePlayer::Control>> FakePlayer::getControls() {
  VMPtr<VMArray<Control>> controls = VMArray<Control>::create(1);
  controls->set(0, VMPtr<Control>(this));
  return controls;
}

int32_t FakePlayer::setLevel(int32_t level) {
  record("volume " + std::to_string(level));
  return level;
}

}  // namespace enginemedia
