#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <atomic>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "DeviceProfile.h"
#include "HALPlayer.h"
#include "JavaTask.h"
#include "JavaTestSupport.h"
#include "SoundFixtures.h"
#include "VMClassRegistry.h"
#include "VMJava.h"
#include "VMTestEnv.h"
#include "com_ravelstone_brume_media_Player.h"
#include "java_lang_ArrayIndexOutOfBoundsException.h"
#include "java_lang_Class.h"
#include "java_lang_IllegalArgumentException.h"
#include "java_lang_IllegalStateException.h"
#include "java_lang_NullPointerException.h"
#include "java_lang_System.h"
#include "java_lang_Thread.h"
#include "javax_microedition_media_Manager.h"
#include "javax_microedition_media_MediaException.h"
#include "javax_microedition_media_control_VolumeControl.h"
#include "tq_platform_brume_TqBrume.h"

namespace {

using java_test::jstr;
using java_test::thrownMessage;
using java_test::u16;
using javax::microedition::media::Manager;
using javax::microedition::media::MediaException;
using JPlayer = javax::microedition::media::Player;
using java::lang::IllegalStateException;

constexpr int32_t kRate = 8000;

VMPtr<java::lang::String> s(const char* text) { return jstr(u16(text)); }

VMPtr<VMArray<int8_t>> bytes(const std::vector<uint8_t>& data) {
  VMPtr<VMArray<int8_t>> out = VMArray<int8_t>::create(static_cast<int32_t>(data.size()));
  for (size_t i = 0; i < data.size(); ++i) out->elements()[i] = static_cast<int8_t>(data[i]);
  return out;
}

class MediaClasses : public ::testing::Test {
 protected:
  void SetUp() override {
    usePumpedOutput(kRate);
    VMTestEnv::start();
  }
  // A data player over a ramp of `frames` samples.
  VMPtr<JPlayer> wavePlayer(int32_t frames = 100, const char* type = "audio/x-wav") {
    VMPtr<VMArray<int8_t>> data = bytes(makeWave16(1, kRate, ramp(frames)));
    return Manager::createPlayer(data, 0, data->length, type ? s(type) : nullptr);
  }
};

TEST_F(MediaClasses, RegisteredWithTheirInterfaces) {
  struct Case {
    const char* name;
    std::vector<const char*> is;
  };
  const Case cases[] = {
      {"javax.microedition.media.Manager", {}},
      {"javax.microedition.media.Control", {}},
      {"javax.microedition.media.Controllable", {}},
      {"javax.microedition.media.Player", {"javax.microedition.media.Controllable"}},
      {"javax.microedition.media.control.VolumeControl", {"javax.microedition.media.Control"}},
      {"com.ravelstone.brume.media.Player",
       {"javax.microedition.media.Player", "javax.microedition.media.Controllable",
        "javax.microedition.media.control.VolumeControl", "javax.microedition.media.Control"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    java::lang::Class* k = _VM_findClass(c.name);
    ASSERT_NE(k, nullptr);
    for (const char* i : c.is) EXPECT_TRUE(_VM_implementsInterface(k, _VM_findClass(i))) << i;
  }
}

TEST_F(MediaClasses, LocatorsByProtocol) {
  EXPECT_EQ(thrownMessage<java::lang::IllegalArgumentException>([] { Manager::createPlayer(nullptr); }),
            "Manager.createPlayer passed null locator");
  for (const char* locator : {"device://tone", "device://midi", "http://host/a.wav", "a.wav", "rtsp://x"}) {
    SCOPED_TRACE(locator);
    EXPECT_EQ(thrownMessage<MediaException>([&] { Manager::createPlayer(s(locator)); }), "<null>");
  }
  // x-jar is accepted and read only at realize.
  VMPtr<JPlayer> missing = Manager::createPlayer(s("x-jar:///no-such.wav"));
  EXPECT_EQ(missing->getState(), JPlayer::UNREALIZED);
  EXPECT_EQ(thrownMessage<MediaException>([&] { missing->realize(); }), "Unable to realize player");
  EXPECT_EQ(missing->getState(), JPlayer::UNREALIZED);
}

TEST_F(MediaClasses, ResourceLocatorPlaysTheResource) {
  char folder[] = "/tmp/jme_media_XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const std::string rsc = std::string(folder) + "/rsc";
  mkdir(rsc.c_str(), 0700);
  const std::vector<uint8_t> file = makeWave16(1, kRate, ramp(3));
  std::ofstream(rsc + "/s.wav", std::ios::binary).write(reinterpret_cast<const char*>(file.data()), file.size());
  DeviceProfile::instance().setProgramDirectory(folder);
  VMPtr<JPlayer> player = Manager::createPlayer(s("x-jar:///s.wav"));
  player->realize();
  player->start();
  EXPECT_EQ(pumpLeft(4), (std::vector<int16_t>{1, 2, 3, 0}));
  player->close();
  std::remove((rsc + "/s.wav").c_str());
  rmdir(rsc.c_str());
  rmdir(folder);
}

TEST_F(MediaClasses, DataFormChecksItsArguments) {
  VMPtr<VMArray<int8_t>> data = bytes(makeWave16(1, kRate, ramp(4)));
  thrownMessage<java::lang::NullPointerException>([] { Manager::createPlayer(nullptr, 0, 1, nullptr); });
  struct Range {
    int32_t offset, length;
  };
  for (const Range r : {Range{-1, 1}, Range{data->length, 0}, Range{0, -1}, Range{1, data->length},
                        Range{1, INT32_MAX}}) {
    SCOPED_TRACE(r.offset);
    thrownMessage<java::lang::ArrayIndexOutOfBoundsException>(
        [&] { Manager::createPlayer(data, r.offset, r.length, nullptr); });
  }
  for (const char* type : {"audio/midi", "audio/mpeg", "text/plain"}) {
    SCOPED_TRACE(type);
    EXPECT_EQ(thrownMessage<MediaException>([&] { Manager::createPlayer(data, 0, data->length, s(type)); }),
              "<null>");
  }
  // No type plays the data as WAV.
  VMPtr<JPlayer> player = Manager::createPlayer(data, 0, data->length, nullptr);
  player->realize();
  EXPECT_EQ(java_test::text(player->getContentType()), u"audio/x-wav");
  // Data that is no WAV fails at realize.
  VMPtr<VMArray<int8_t>> junk = bytes(std::vector<uint8_t>(64, 7));
  VMPtr<JPlayer> bad = Manager::createPlayer(junk, 0, junk->length, nullptr);
  EXPECT_EQ(thrownMessage<MediaException>([&] { bad->realize(); }), "Unable to realize player");
}

TEST_F(MediaClasses, LifeCycle) {
  VMPtr<JPlayer> player = wavePlayer(100);
  EXPECT_EQ(player->getState(), JPlayer::UNREALIZED);
  EXPECT_EQ(player->getMediaTime(), -11);
  EXPECT_EQ(player->getDuration(), -11);
  player->prefetch();
  player->start();  // no implicit realize
  EXPECT_EQ(player->getState(), JPlayer::UNREALIZED);
  player->realize();
  player->realize();
  EXPECT_EQ(player->getState(), JPlayer::REALIZED);
  player->prefetch();
  EXPECT_EQ(player->getState(), JPlayer::PREFETCHED);
  player->start();
  EXPECT_EQ(player->getState(), JPlayer::STARTED);
  const std::vector<int16_t> out = pumpLeft(101);
  EXPECT_EQ(out[0], 1);
  EXPECT_EQ(out[99], 100);
  EXPECT_EQ(out[100], 0);
  EXPECT_EQ(player->getState(), JPlayer::PREFETCHED);  // ended
  player->start();
  EXPECT_EQ(pumpLeft(1)[0], 1);  // from the start again
  player->stop();
  EXPECT_EQ(player->getState(), JPlayer::PREFETCHED);
  // A negative time is 0; the media time read back counts the one frame played.
  EXPECT_EQ(player->setMediaTime(-5), 125);
  player->deallocate();
  EXPECT_EQ(player->getState(), JPlayer::REALIZED);
  player->close();
  EXPECT_EQ(player->getState(), JPlayer::CLOSED);
  player->close();
  EXPECT_EQ(HAL_countPlayers(), 0);

  // Every operation of a closed player.
  struct Case {
    const char* what;
    std::function<void()> call;
    const char* message;
  };
  const Case closed[] = {
      {"realize", [&] { player->realize(); }, "Attempting to realize closed player"},
      {"prefetch", [&] { player->prefetch(); }, "Attempting to prefetch closed player"},
      {"start", [&] { player->start(); }, "Attempting to start closed player"},
      {"stop", [&] { player->stop(); }, "<null>"},
      {"deallocate", [&] { player->deallocate(); }, "Attempting to deallocate closed player"},
      {"setMediaTime", [&] { player->setMediaTime(0); }, "Attempting to call setMediaTime on a closed player"},
      {"getMediaTime", [&] { player->getMediaTime(); }, "<null>"},
      {"getDuration", [&] { player->getDuration(); }, "<null>"},
      {"getContentType", [&] { player->getContentType(); }, "Player.getContentType called on a closed player"},
      {"setLoopCount", [&] { player->setLoopCount(2); }, "Player.setLoopCount called on a closed player"},
      {"getControl", [&] { player->getControl(s("VolumeControl")); }, "Attempting to get controls for a closed player"},
      {"getControls", [&] { player->getControls(); }, "Attempting to get controls for a closed player"},
  };
  for (const Case& c : closed) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(thrownMessage<IllegalStateException>(c.call), c.message);
  }
}

TEST_F(MediaClasses, UnrealizedPlayerRefusesWhatNeedsTheSound) {
  VMPtr<JPlayer> player = wavePlayer();
  EXPECT_EQ(thrownMessage<IllegalStateException>([&] { player->setMediaTime(0); }),
            "Attempting to call setMediaTime on an unrealized player");
  EXPECT_EQ(thrownMessage<IllegalStateException>([&] { player->getContentType(); }),
            "Player.getContentType called on an unrealized player");
  EXPECT_EQ(thrownMessage<IllegalStateException>([&] { player->getControls(); }),
            "Attempting to get controls for an unrealized player");
  EXPECT_EQ(thrownMessage<java::lang::IllegalArgumentException>([&] { player->getControl(nullptr); }),
            "Invalid control type passed to Player.getControl");
  EXPECT_EQ(thrownMessage<java::lang::IllegalArgumentException>([&] { player->setLoopCount(0); }),
            "Player.setLoopCount with an invalid count.");
  player->stop();
  player->deallocate();
  player->close();
  EXPECT_EQ(player->getState(), JPlayer::UNREALIZED);
}

TEST_F(MediaClasses, LoopCounts) {
  struct Case {
    int32_t count;  // 0: never set
    int32_t plays;  // in 10 lengths of the sound
  };
  for (const Case c : {Case{0, 1}, Case{3, 3}, Case{-1, 10}}) {
    SCOPED_TRACE(c.count);
    VMPtr<JPlayer> player = wavePlayer(100);
    if (c.count != 0) player->setLoopCount(c.count);
    player->realize();
    player->start();
    const std::vector<int16_t> left = pumpLeft(1000);
    for (int32_t i = 0; i < 1000; ++i) ASSERT_EQ(left[i], i < c.plays * 100 ? i % 100 + 1 : 0) << i;
    // Set on a realized player, it counts from the next start.
    player->setLoopCount(2);
    player->start();
    const std::vector<int16_t> again = pumpLeft(300);
    EXPECT_EQ(again[199], 100);
    EXPECT_EQ(again[200], 0);
    player->close();
  }
}

TEST_F(MediaClasses, ControlsAndVolume) {
  using javax::microedition::media::control::VolumeControl;
  VMPtr<JPlayer> player = wavePlayer(10);
  player->realize();
  VMPtr<javax::microedition::media::Control> control = player->getControl(s("VolumeControl"));
  ASSERT_TRUE(control);
  EXPECT_EQ(player->getControl(s("javax.microedition.media.control.VolumeControl")).get(), control.get());
  EXPECT_FALSE(player->getControl(s("ToneControl")));
  EXPECT_FALSE(player->getControl(s("javax.microedition.media.control.ToneControl")));
  VMPtr<VMArray<javax::microedition::media::Control>> controls = player->getControls();
  ASSERT_EQ(controls->length, 1);
  EXPECT_EQ(controls->get(0).get(), control.get());
  VMPtr<VolumeControl> volume = _VM_cast<VolumeControl>(control);

  EXPECT_EQ(volume->getLevel(), -1);  // unknown until prefetch
  player->prefetch();
  EXPECT_EQ(volume->getLevel(), 100);
  EXPECT_EQ(volume->setLevel(50), 50);
  EXPECT_EQ(volume->setLevel(-3), 0);
  EXPECT_EQ(volume->setLevel(250), 100);
  EXPECT_EQ(volume->setLevel(40), 40);
  auto deviceLevel = [&] {
    int32_t level = -1;
    EXPECT_EQ(HAL_getPlayerVolume(_VM_cast<com::ravelstone::brume::media::Player>(player)->native, &level), HAL_OK);
    return level;
  };
  volume->setMute(1);
  EXPECT_TRUE(volume->isMuted());
  EXPECT_EQ(deviceLevel(), 0);
  EXPECT_EQ(volume->getLevel(), 40);
  EXPECT_EQ(volume->setLevel(70), 40);  // not applied while muted
  EXPECT_EQ(deviceLevel(), 0);
  volume->setMute(0);
  EXPECT_FALSE(volume->isMuted());
  EXPECT_EQ(deviceLevel(), 40);
  player->close();
}

TEST_F(MediaClasses, CollectedPlayerClosesItsNativePlayer) {
  {
    VMPtr<JPlayer> player = wavePlayer(10);
    player->realize();
    player->start();
    EXPECT_EQ(HAL_countPlayers(), 1);
  }
  java::lang::System::gc();
  EXPECT_EQ(HAL_countPlayers(), 0);
}

// Realizing reads the sound with the global lock given up, so a second
// thread can realize the same player meanwhile: the player keeps one native
// player, and closing it leaves none open, whichever thread came first.
TEST_F(MediaClasses, TwoThreadsRealizingOnePlayerLeaveNoNativePlayerAfterClose) {
  char path[] = "/tmp/jme_media_XXXXXX";
  const int fd = mkstemp(path);
  ASSERT_GE(fd, 0);
  // Big enough that reading it takes far longer than the other thread
  // needs to reach its own read.
  const std::vector<uint8_t> file = makeWave16(1, kRate, std::vector<int16_t>(1 << 21, 1));
  ASSERT_EQ(::write(fd, file.data(), file.size()), static_cast<ssize_t>(file.size()));
  ::close(fd);
  for (int round = 0; round < 4; ++round) {
    SCOPED_TRACE(round);
    VMPtr<JPlayer> player = Manager::createPlayer(s((std::string("file://") + path).c_str()));
    std::atomic<bool> started{false};
    VMPtr<java::lang::Thread> other = java_test::startThread([&] {
      VMPtr<JPlayer> same = player;
      started = true;
      try {
        same->realize();
      } catch (IllegalStateException*) {
        // This thread came second, after the player was closed.
      }
    });
    // Yielding hands the global lock to the other thread, which gives it
    // up again inside realize.
    while (!started) java::lang::Thread::sleep(0);
    player->realize();
    player->close();
    EXPECT_TRUE(java_test::joinThread(other));
    EXPECT_EQ(player->getState(), JPlayer::CLOSED);
    EXPECT_EQ(HAL_countPlayers(), 0);
  }
  std::remove(path);
}

TEST_F(MediaClasses, TimeBasesAreFatal) {
  EXPECT_EXIT(wavePlayer()->setTimeBase(nullptr), ::testing::ExitedWithCode(1), "");
  EXPECT_EXIT(wavePlayer()->getTimeBase(), ::testing::ExitedWithCode(1), "");
}

TEST_F(MediaClasses, DurationAndMediaTime) {
  VMPtr<JPlayer> player = wavePlayer(2 * kRate);
  player->realize();
  EXPECT_EQ(player->getDuration(), 2000);
  EXPECT_EQ(player->setMediaTime(1500000), 1500000);
  EXPECT_EQ(thrownMessage<MediaException>([&] { player->setMediaTime(3000000); }),
            "Unable to set the media time for the player");
  player->start();
  EXPECT_EQ(pumpLeft(1)[0], kRate + 1);  // whole seconds: from 1 s
  player->close();
}

}  // namespace

namespace {

// The engine makes its players through TqBrume, which hands the bytes to
// the media manager as they are.
TEST_F(MediaClasses, TheEngineBridgeMakesPlayersLikeTheManager) {
  VMPtr<VMArray<int8_t>> data = bytes(makeWave16(1, kRate, ramp(100)));
  VMPtr<JPlayer> player = tq::platform::brume::TqBrume::createPlayer(data, 0, data->length, s("audio/x-wav"));
  ASSERT_TRUE(player);
  EXPECT_EQ(player->getState(), JPlayer::UNREALIZED);
  player->realize();
  EXPECT_EQ(player->getState(), JPlayer::REALIZED);
  player->close();
  VMPtr<VMArray<int8_t>> junk = bytes({1, 2, 3, 4});
  VMPtr<JPlayer> bad = tq::platform::brume::TqBrume::createPlayer(junk, 0, 4, s("audio/x-wav"));
  EXPECT_THROW(bad->realize(), MediaException*);
}

}  // namespace
