// The logo scene: the frame at which it hands over for two frame times,
// the logo centred on white, and the translation and fonts the language
// page then finds.

#include <gtest/gtest.h>

#include <vector>

#include "MenuEnv.h"
#include "scene_splash_LogoScene.h"

using gametest::MenuEnv;
using main::Main;
using scene::SceneManager;

namespace {

TEST(LogoScene, HandsOverOnTheFrameThatReaches3000Ms) {
  struct Case {
    int32_t frameMs;
    int32_t frames;
  };
  for (const Case& k : std::vector<Case>{{40, 75}, {100, 30}, {70, 43}}) {
    SCOPED_TRACE(k.frameMs);
    MenuEnv e;
    ASSERT_EQ(e.sceneId(), 0);
    ASSERT_TRUE(dynamic_cast<scene::splash::LogoScene*>(SceneManager::currentScene.get()));
    e.ui.env.canvas->frameDuration = k.frameMs;
    int32_t n = 0;
    while (e.sceneId() == 0 && n < 200) {
      e.frame();
      ++n;
    }
    EXPECT_EQ(n, k.frames);
    EXPECT_EQ(e.sceneId(), 11);
  }
}

TEST(LogoScene, TheLogoIsCentredOnWhite) {
  MenuEnv e;
  VMPtr<ui::Screen> logo = SceneManager::currentScene->screen;
  EXPECT_EQ(logo->getLayerWidth(0), gametest::kLogoWidth);
  EXPECT_EQ(logo->getLayerHeight(0), gametest::kLogoHeight);
  EXPECT_EQ(logo->getLayerX(0), 69);
  EXPECT_EQ(logo->getLayerY(0), 134);
  VMPtr<gametest::RecordingGraphics> g = e.ui.graphics();
  SceneManager::instance->paint(g);
  const uint32_t white = 0xFFFFFFFF, blue = 0xFF000080;
  EXPECT_TRUE(g->shows(0, 0, white));
  EXPECT_TRUE(g->shows(68, 134, white));
  EXPECT_TRUE(g->shows(69, 133, white));
  EXPECT_TRUE(g->shows(69, 134, blue));
  EXPECT_TRUE(g->shows(169, 184, blue));
  EXPECT_TRUE(g->shows(170, 184, white));
  EXPECT_TRUE(g->shows(169, 185, white));
}

TEST(LogoScene, TheLanguagePageFindsTable0x5001AndGlyphSet0) {
  MenuEnv e;
  EXPECT_EQ(Main::translationId, 0x5000);
  e.ui.env.canvas->frameDuration = 3000;
  e.frame();
  ASSERT_EQ(e.sceneId(), 11);
  VMPtr<scene::menu::MenuScene> page = e.scene();
  ASSERT_TRUE(page);
  EXPECT_EQ(Main::translationId, 0x5001);
  EXPECT_EQ(page->translation.get(), Main::translation.get());
  EXPECT_EQ(gametest::text(page->translation->getString(13)), gametest::uiText(1, 13));
  EXPECT_EQ(Main::currentGlyphId, 0x4C01);
  EXPECT_EQ(Main::fontGlyphIds->at(1), -1);  // the logo's glyph set 1, dropped by the menu
}

}  // namespace
