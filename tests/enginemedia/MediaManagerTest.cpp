// The media manager over players that record their calls: defaults, the
// sound switch, volumes, priorities, the frame step, stopping, content
// types, closing, and device errors kept to their player.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakePlayer.h"
#include "JavaTestSupport.h"
#include "PackFixtures.h"
#include "PlainCanvas.h"
#include "VMTestEnv.h"
#include "java_lang_ArrayIndexOutOfBoundsException.h"
#include "tq_MediaManagerImpl.h"

using enginemedia::FakePlayer;
using Log = std::vector<std::string>;
using test_support::PlainCanvas;
using tq::MediaManagerImpl;

namespace {

class MediaManager : public ::testing::Test {
 protected:
  void SetUp() override {
    FakePlayer::install();
    canvas = PlainCanvas::make();
    manager = MediaManagerImpl::_VM_new();
    manager->_VM_init(canvas, 10);
  }
  void TearDown() override {
    manager = nullptr;
    canvas = nullptr;
    PlainCanvas::stop();
    MediaManagerImpl::setPlayerFactory(nullptr);
  }
  // Loads a three-byte sound into `media` with a priority.
  void load(int32_t media, int32_t priority, int32_t type = 1) {
    manager->load(media, pack_fixtures::javaBytes({1, 2, 3}), type, -1, priority);
  }
  FakePlayer* player(int32_t media) { return dynamic_cast<FakePlayer*>(manager->players->get(media).get()); }
  std::vector<int32_t> table(const VMField<VMArray<int32_t>>& f) {
    VMPtr<VMArray<int32_t>> a = f;
    return std::vector<int32_t>(a->elements(), a->elements() + a->length);
  }

  VMContext* vm = VMTestEnv::start();  // before the references below
  VMPtr<PlainCanvas> canvas;
  VMPtr<MediaManagerImpl> manager;
};

TEST_F(MediaManager, StartsEmptyAndRegistersWithTheCanvas) {
  EXPECT_EQ(canvas->mediaManager.get(), static_cast<tq::MediaManager*>(manager.get()));
  EXPECT_EQ(manager->getChannelCount(), 10);
  EXPECT_EQ(manager->masterVolume, 1025);
  EXPECT_EQ(table(manager->volume), std::vector<int32_t>(10, 100));
  EXPECT_EQ(table(manager->pending), std::vector<int32_t>(10, -1));
  EXPECT_EQ(table(manager->current), std::vector<int32_t>(10, -1));
  EXPECT_EQ(table(manager->priority), std::vector<int32_t>(10, 0));
  EXPECT_FALSE(manager->isPlaying(-1));
  EXPECT_FALSE(manager->isLoaded(3));
  EXPECT_EQ(manager->getTime(3), 0);
  EXPECT_EQ(manager->getTime(3, 1), -1);
  EXPECT_EQ(manager->getDuration(3), -1);
  EXPECT_EQ(manager->getPlayerState(3), 0);
  EXPECT_EQ(manager->getChannelState(3), 2);
  // The video side answers fixed values.
  EXPECT_EQ(manager->loadVideo(50), -1);
  EXPECT_EQ(manager->getVideoCount(), -1);
  EXPECT_EQ(manager->stopVideo(3), 0);
  EXPECT_EQ(manager->getVideoFrame()->length, 0);
  EXPECT_EQ(manager->getVideoChannel(50), 9);
  EXPECT_EQ(manager->setVideoSize(-4), 0);
  EXPECT_THROW(manager->isLoaded(10), java::lang::ArrayIndexOutOfBoundsException*);
}

TEST_F(MediaManager, TheFirstQueryTurnsTheSoundSwitchOn) {
  EXPECT_FALSE(canvas->soundEnabled);
  EXPECT_TRUE(manager->isSoundEnabled());
  EXPECT_TRUE(canvas->soundEnabled);
  load(0, 0);
  manager->play(1, 0);
  manager->run();
  EXPECT_TRUE(manager->isPlaying(0));
  FakePlayer::takeLog();
  manager->setSoundEnabled(0);
  EXPECT_EQ(FakePlayer::takeLog(), (Log{"0.stop"}));
  EXPECT_FALSE(manager->isSoundEnabled());
  manager->play(1, 0);  // refused while off
  EXPECT_EQ(table(manager->pending)[1], -1);
  manager->setSoundEnabled(0);  // no change, nothing stopped
  EXPECT_TRUE(FakePlayer::takeLog().empty());
  manager->setSoundEnabled(1);
  EXPECT_TRUE(manager->isSoundEnabled());
}

TEST_F(MediaManager, VolumesAreClampedAndHeardAtOnceWhilePlaying) {
  struct Case {
    int32_t channel, level, readChannel, stored;
  };
  const Case cases[] = {{2, 150, 2, 100}, {2, -5, 2, 0}, {2, 55, 2, 55}, {42, 70, 9, 70}, {-7, 30, 0, 30}};
  for (const Case& c : cases) {
    manager->setVolume(c.channel, c.level);
    EXPECT_EQ(manager->getVolume(c.readChannel), c.stored) << c.channel << " " << c.level;
  }
  manager->setVolume(-1, 40);
  EXPECT_EQ(table(manager->volume), std::vector<int32_t>(10, 40));
  load(0, 0);
  manager->setVolume(3, 100);
  manager->play(3, 0);
  manager->run();
  FakePlayer::takeLog();
  manager->setVolume(3, 50);  // (50 x 1025) >> 10
  EXPECT_EQ(FakePlayer::takeLog(), (Log{"0.volume 50"}));
  manager->masterVolume = 512;
  manager->setVolume(3, 100);
  EXPECT_EQ(FakePlayer::takeLog(), (Log{"0.volume 50"}));
  manager->setVolume(4, 80);  // nothing plays on channel 4
  EXPECT_TRUE(FakePlayer::takeLog().empty());
}

TEST_F(MediaManager, PrioritiesDecideWhichRequestStands) {
  load(0, 1);
  load(1, 5);
  load(2, 5);
  manager->play(0, 1);
  manager->play(0, 0);  // lower than the pending request
  EXPECT_EQ(table(manager->pending)[0], 1);
  manager->play(0, 2);  // equal priority replaces
  EXPECT_EQ(table(manager->pending)[0], 2);
  manager->run();
  EXPECT_TRUE(manager->isPlaying(2));
  manager->play(0, 0);  // lower than what plays on the channel
  EXPECT_EQ(table(manager->pending)[0], -1);
  manager->stop(0);
  manager->play(0, 0);  // what the channel played has stopped
  EXPECT_EQ(table(manager->pending)[0], 0);
  manager->play(0, 7);  // an empty slot is never requested
  EXPECT_EQ(table(manager->pending)[0], 0);
}

TEST_F(MediaManager, TheFrameStepStartsOnlyWhatIsPending) {
  load(0, 0);
  load(1, 0);
  EXPECT_EQ(FakePlayer::takeLog(), (Log{"0.realize", "0.loop -1", "0.prefetch", "1.realize", "1.loop -1",
                                        "1.prefetch"}));
  manager->run();
  EXPECT_TRUE(FakePlayer::takeLog().empty());
  manager->setVolume(4, 20);
  manager->play(4, 1);
  EXPECT_TRUE(FakePlayer::takeLog().empty());  // heard from the next step on
  manager->run();
  EXPECT_EQ(FakePlayer::takeLog(), (Log{"1.volume 20", "1.rewind", "1.start"}));
  EXPECT_EQ(table(manager->current)[4], 1);
  EXPECT_EQ(table(manager->pending)[4], -1);
  EXPECT_EQ(manager->getChannelState(4), 1);
  EXPECT_EQ(manager->getPlayerState(1), 1);
  EXPECT_EQ(manager->getPlayerState(0), 3);
  EXPECT_EQ(manager->getTime(1), -1);
  manager->play(4, 0);
  manager->run();  // the channel's old sound stops before the new one starts
  EXPECT_EQ(FakePlayer::takeLog(), (Log{"1.stop", "0.volume 20", "0.rewind", "0.start"}));
  manager->run();
  EXPECT_TRUE(FakePlayer::takeLog().empty());
}

TEST_F(MediaManager, StopTakesOneChannelOrAll) {
  load(0, 0);
  load(1, 0);
  manager->play(0, 0);
  manager->play(1, 1);
  manager->run();
  FakePlayer::takeLog();
  manager->stop(0);
  EXPECT_EQ(FakePlayer::takeLog(), (Log{"0.stop"}));
  EXPECT_TRUE(manager->isPlaying(1));
  EXPECT_EQ(table(manager->current)[0], 0);  // kept
  manager->play(1, 0);
  manager->stop(-1);
  EXPECT_EQ(FakePlayer::takeLog(), (Log{"0.stop", "1.stop"}));
  EXPECT_EQ(table(manager->pending), std::vector<int32_t>(10, -1));
  EXPECT_FALSE(manager->isPlaying(-1));
}

TEST_F(MediaManager, TypeOneIsWaveAndEveryOtherMidi) {
  pack_fixtures::ProgramFolder folder;
  folder.put("RP2.rp", pack_fixtures::simplePack({{1, 2, 3}, {4, 5}, {6}}, {1, 0, 2}));
  manager->load(0, 2048, 3, 0);
  manager->load(1, 2049, 3, 0);
  manager->load(2, 2050, 3, 0);
  load(3, 0, 7);
  EXPECT_EQ(FakePlayer::types, (std::vector<std::string>{"audio/x-wav 0+3", "audio/midi 3+2", "audio/midi 5+1",
                                                         "audio/midi 0+3"}));
  manager->load(4, 0, 0, java_test::jstr(u"file:///a.wav"), 1, 0);
  EXPECT_EQ(FakePlayer::types.back(), "locator file:///a.wav");
}

TEST_F(MediaManager, NothingHappensAfterClose) {
  load(0, 0);
  load(1, 0);
  manager->play(0, 0);
  manager->run();
  FakePlayer::takeLog();
  manager->close();
  EXPECT_EQ(FakePlayer::takeLog(), (Log{"0.close", "1.close"}));
  manager->close();
  load(2, 0);
  EXPECT_TRUE(FakePlayer::takeLog().empty());
  EXPECT_FALSE(manager->isLoaded(2));
  EXPECT_FALSE(manager->isSoundEnabled());
  EXPECT_FALSE(manager->isPlaying(-1));
  EXPECT_EQ(manager->getChannelState(0), 2);
  manager->setVolume(0, 10);
  EXPECT_EQ(manager->getVolume(0), 10);
}

TEST_F(MediaManager, ADeviceErrorStaysWithItsPlayer) {
  FakePlayer::failStart = true;
  load(0, 0);
  FakePlayer::failStart = false;
  load(1, 0);
  manager->play(0, 0);
  manager->play(1, 1);
  manager->run();  // no exception reaches the caller
  EXPECT_FALSE(manager->isPlaying(0));
  EXPECT_TRUE(manager->isPlaying(1));
  EXPECT_EQ(table(manager->current)[0], 0);
  FakePlayer::failRealize = true;
  load(2, 0);  // the player stays, unrealized
  EXPECT_TRUE(manager->isLoaded(2));
  EXPECT_EQ(manager->getPlayerState(2), 6);
}

TEST_F(MediaManager, AReplacedPlayerIsClosedOnceTheNewOneExists) {
  load(0, 0);
  manager->play(0, 0);
  manager->run();
  FakePlayer* first = player(0);
  FakePlayer::takeLog();
  FakePlayer::failCreate = true;
  load(0, 0);  // no new player: the old one stays and plays on
  EXPECT_EQ(player(0), first);
  EXPECT_TRUE(manager->isPlaying(0));
  FakePlayer::failCreate = false;
  load(0, 0);
  EXPECT_EQ(FakePlayer::takeLog(), (Log{"0.close", "1.realize", "1.loop -1", "1.prefetch"}));
  EXPECT_NE(player(0), first);
  manager->release(0);
  EXPECT_EQ(FakePlayer::takeLog(), (Log{"1.close"}));
  EXPECT_FALSE(manager->isLoaded(0));
}

TEST_F(MediaManager, ReleaseClearsRequestsForTheSlot) {
  load(0, 0);
  load(1, 0);
  manager->play(2, 0);
  manager->play(3, 0);
  manager->play(4, 1);
  manager->release(0);
  EXPECT_EQ(table(manager->pending)[2], -1);
  EXPECT_EQ(table(manager->pending)[3], -1);
  EXPECT_EQ(table(manager->pending)[4], 1);
  manager->release(-1);
  EXPECT_FALSE(manager->isLoaded(1));
  manager->release(5);  // an empty slot: nothing
}

}  // namespace
