// The controller: the backdrop and offsets of a full repaint, fonts, and
// the sound switches.

#include <gtest/gtest.h>

#include "GameEnv.h"
#include "javax_microedition_lcdui_Image.h"
#include "tq_MediaManager.h"

using gametest::GameEnv;
using main::Main;

namespace {

// The canvas here has not taken the screen (no window), so the offsets
// follow whatever size it reports; the backdrop's pixels are not read.
TEST(Controller, AFullRepaintDrawsTheBackdropOnceAndCentresTheGameArea) {
  GameEnv env;
  VMPtr<Main> m = env.makeMain();
  VMPtr<javax::microedition::lcdui::Graphics> g =
      javax::microedition::lcdui::Image::createImage(240, 320)->getGraphics();
  EXPECT_TRUE(Main::showLoadingPicture);
  m->paint(g);
  EXPECT_FALSE(Main::repaintAll);
  EXPECT_FALSE(Main::showLoadingPicture);
  const int32_t w = env.canvas->getWidth(), h = env.canvas->getHeight();
  EXPECT_EQ(Main::offsetX, (w - 240) / 2);
  EXPECT_EQ(Main::offsetY, (h - 320) / 2);
  EXPECT_EQ(env.canvas->getViewX(), Main::offsetX);
  EXPECT_EQ(g->getTranslateX(), 0);  // the game's translation is undone
  m->paint(g);  // no full repaint: only the scene
  EXPECT_FALSE(Main::repaintAll);
}

TEST(Controller, AFontSlotIsLoadedAndInstalledOnce) {
  GameEnv env;
  VMPtr<Main> m = env.makeMain();
  EXPECT_EQ(Main::currentGlyphId, 0x4C01);
  m->selectFont(1);
  EXPECT_EQ(Main::currentGlyphId, 0x4C00);
  EXPECT_EQ(Main::fontGlyphIds->at(1), 0x4C00);
  using Rows = VMArray<tq::Gob, 2>;
  VMPtr<VMArray<tq::Gob>> row = VMPtr<Rows>(m->glyphSets)->get(1);
  m->selectFont(1);
  EXPECT_EQ(VMPtr<Rows>(m->glyphSets)->get(1).get(), row.get());
  m->releaseFont(1);
  EXPECT_EQ(Main::fontGlyphIds->at(1), -1);
  m->selectFont(1);  // loads it again
  EXPECT_EQ(Main::fontGlyphIds->at(1), 0x4C00);
}

TEST(Controller, SoundSetsAndTheirSwitch) {
  GameEnv env;
  VMPtr<Main> m = env.makeMain();
  EXPECT_EQ(Main::soundSet, 0);
  m->playMusic(3);  // sound off: nothing
  m->playSound();
  m->stopAllSounds();
  EXPECT_FALSE(m->mediaManager);
  for (int32_t k = 0; k <= 6; ++k) {
    SCOPED_TRACE(k);
    m->loadSoundSet(k);
    EXPECT_TRUE(Main::soundOn);
    EXPECT_FALSE(Main::musicOn);
    EXPECT_EQ(Main::soundSet, k);
    EXPECT_EQ(VMPtr<tq::MediaManager>(m->mediaManager)->isLoaded(Main::kSoundSlot) != 0, k < 6);
  }
  m->loadSoundSet(5);
  VMPtr<tq::MediaManager> media = m->mediaManager;
  m->playMusic(5);  // already loaded
  EXPECT_EQ(m->mediaManager.get(), media.get());
  m->playLoop(1);
  EXPECT_TRUE(Main::musicOn);
  m->playMusic(2);
  EXPECT_FALSE(Main::musicOn);
  EXPECT_EQ(Main::soundSet, 2);
  m->soundOff();
  EXPECT_FALSE(Main::soundOn);
  EXPECT_EQ(Main::soundSet, -1);
  m->releaseMedia();
  m->releaseMedia();  // twice: nothing
  EXPECT_FALSE(m->mediaManager);
}

}  // namespace
