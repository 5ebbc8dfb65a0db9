// The controller: the backdrop and offsets of a full repaint (on a bare
// canvas, and in pixels on screens of three sizes), fonts, and the sound
// switches.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <vector>

#include "DeviceProfile.h"
#include "DisplayFixture.h"
#include "GameEnv.h"
#include "GameProbes.h"
#include "HALProperties.h"
#include "HALScreen.h"
#include "HALWindow.h"
#include "JavaTask.h"
#include "RasterSurface.h"
#include "javax_microedition_lcdui_Image.h"
#include "main_CommonCanvas.h"
#include "main_CommonMIDlet.h"
#include "scene_SceneManager.h"
#include "tq_MediaManager.h"

namespace gametest {

uint32_t rgbOf(uint16_t pixel) {
  return 0xFF000000u | (pixel & 0xF800u) << 8 | (pixel & 0x07E0u) << 5 | (pixel & 0x001Fu) << 3;
}

// The pixels of the screen that differ from the background tiled from its
// top-left corner with, when `picture` is set, the loading picture in the
// middle.
int64_t wrongPixels(const RasterSurface* s, bool picture) {
  const int32_t left = (s->width - kPictureSize) / 2;
  const int32_t top = (s->height - kPictureSize) / 2;
  int64_t wrong = 0;
  for (int32_t y = 0; y < s->height; ++y) {
    for (int32_t x = 0; x < s->width; ++x) {
      const bool inPicture = picture && x >= left && x < left + kPictureSize && y >= top && y < top + kPictureSize;
      const uint32_t want = inPicture ? pictureColour(x - left, y - top) : tileColour(x % kTileWidth, y % kTileHeight);
      if (rgbOf(s->pixels[y * s->stride + x]) != want) ++wrong;
    }
  }
  return wrong;
}

// The game canvas for three frames. After each paint it counts the screen
// pixels that differ from the backdrop due then and asks for a full
// repaint: the second one comes without the loading picture, the third
// while the current scene loads frame by frame, with it. Then it quits.
// The scene the first tick starts (the logo, which covers the game area)
// gives way to a probe scene that draws nothing, so the backdrop is all
// the screen shows.
class BackdropCanvas : public main::CommonCanvas {
  VM_CLASS(BackdropCanvas, main::CommonCanvas)

 public:
  void paintFrame(VMPtr<Graphics> g) override {
    if (paints == 0) scene::SceneManager::currentScene = LogScene::make();
    CommonCanvas::paintFrame(g);
    ++paints;
    wrong.push_back(wrongPixels(screenBuffer->surface, paints != 2));
    main::Main::repaintAll = 1;
    if (paints == 2) {
      VMPtr<LogScene> loading = LogScene::make();
      loading->suspend(1);
      scene::SceneManager::currentScene = loading;
    }
    if (paints == 3) quit();
  }
  int32_t paints = 0;
  std::vector<int64_t> wrong;
};

}  // namespace gametest

VM_REGISTER_CLASS(gametest::BackdropCanvas, "gametest.BackdropCanvas", "main.CommonCanvas", 0);

using gametest::GameEnv;
using main::Main;

namespace {

// The canvas here has not taken the screen (no window), so the offsets
// follow whatever size it reports; the screens below read the pixels.
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

// --- On a screen -----------------------------------------------------------

struct Screen {
  int32_t width, height;
  int32_t offsetX, offsetY;  // where the 240 x 320 game area goes
};

void PrintTo(const Screen& s, std::ostream* out) { *out << s.width << " x " << s.height; }

// The display fixture's VM on a device whose screen has the parameter's
// size, with a main window (its single-instance lock named after this
// test alone) and the game's packs in a program folder of its own.
class ControllerOnScreen : public DisplayFixture, public ::testing::WithParamInterface<Screen> {
 protected:
  void SetUp() override {
    static int serial = 0;
    gametest::writeGamePacks(folder.root() / "rsc");
    std::filesystem::create_directories(folder.root() / "properties");
    std::ofstream(folder.root() / "properties" / "app.prop")
        << "MIDlet-Name: game-screen-" << getpid() << "-" << serial++ << "\n";
    savedFacts = DeviceProfile::instance().facts();
    const Screen screen = GetParam();
    DeviceProfile::instance().updateFacts([screen](DeviceProfile::Facts& f) {
      f.screenWidth = screen.width;
      f.screenHeight = screen.height;
    });
    DisplayFixture::SetUp();
    HAL_loadProperties();
    ASSERT_EQ(HAL_createMainWindow(nullptr, 1), 1);
  }
  void TearDown() override {
    HAL_closeInstanceLock();
    DeviceProfile::instance().setFacts(savedFacts);
  }

  pack_fixtures::ProgramFolder folder;
  DeviceProfile::Facts savedFacts;
};

// The MIDlet's start (canvas, controller, shown) runs the canvas loop: the
// first tick makes the scene manager, the first paint shows the tiled
// background with the loading picture in the middle and puts the game
// area's origin for the pointer. Later full repaints show the picture only
// while the current scene loads frame by frame.
TEST_P(ControllerOnScreen, TheFirstFrameShowsTheTiledBackgroundAndTheCentredPicture) {
  const Screen screen = GetParam();
  VMPtr<main::CommonMIDlet> midlet = main::CommonMIDlet::_VM_new();
  midlet->_VM_init();
  VMPtr<gametest::BackdropCanvas> canvas = gametest::BackdropCanvas::_VM_new();
  canvas->_VM_init(midlet);
  VMPtr<Main> m = Main::_VM_new();
  m->init(canvas);
  VMPtr<java::lang::Thread> thread = tq::TqCanvas::canvasThread;
  // The canvas's full-screen switch, asked for off the main thread, arrives
  // as a posted message; the canvas takes the new size as its loop would.
  pumpMessages();
  canvas->updateScreenSize();
  ASSERT_EQ(canvas->getWidth(), screen.width);
  ASSERT_EQ(canvas->getHeight(), screen.height);
  display->setCurrent(canvas);
  for (int i = 0; i < 5000 && thread->isAlive(); ++i) java::lang::Thread::sleep(2);
  ASSERT_FALSE(thread->isAlive());
  EXPECT_TRUE(java_test::joinThread(thread));
  const RasterSurface* s = canvas->screenBuffer->surface;
  EXPECT_EQ(s->width, screen.width);
  EXPECT_EQ(s->height, screen.height);
  EXPECT_EQ(canvas->wrong, (std::vector<int64_t>{0, 0, 0}));
  EXPECT_TRUE(Main::sceneManager);
  EXPECT_FALSE(Main::showLoadingPicture);
  EXPECT_EQ(Main::offsetX, screen.offsetX);
  EXPECT_EQ(Main::offsetY, screen.offsetY);
  // The origin moves for the pointer only: the view keeps the whole screen.
  EXPECT_EQ(canvas->getViewX(), screen.offsetX);
  EXPECT_EQ(canvas->getViewY(), screen.offsetY);
  EXPECT_EQ(canvas->getViewWidth(), screen.width);
  EXPECT_EQ(canvas->getViewHeight(), screen.height);
}

INSTANTIATE_TEST_SUITE_P(Screens, ControllerOnScreen,
                         ::testing::Values(Screen{240, 320, 0, 0}, Screen{480, 640, 120, 160},
                                           Screen{200, 300, -20, -10}),
                         [](const ::testing::TestParamInfo<Screen>& info) {
                           return std::to_string(info.param.width) + "x" + std::to_string(info.param.height);
                         });

}  // namespace
