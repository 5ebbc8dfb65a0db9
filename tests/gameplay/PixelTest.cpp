// Pixel samples of the game on the built rsc/: the flat-coloured spots
// that the content puts on its key elements (the spot tables of the game
// content: screenSpots() for the interface, the play art's spots) read
// back from the driver's frames where the game shows them. The screen keeps
// 16 bits a pixel, so every sample is compared by its RGB565 value.
//
// Scenes: the logo, the language page, the main menu, the stage page with
// seeded progress (locks on the locked stages, stars per best grade), the
// play HUD (counter, pause button, the life icons), the results panel of
// the first level played to its end, and the black far layer of group 4.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "GameDriver.h"
#include "InterfaceArt.h"
#include "PlayArt.h"

using gameplay::Bytes;
using gameplay::Content;
using gameplay::GameDriver;

namespace {

const std::filesystem::path kGame = std::filesystem::path(JME_SOURCE_DIR) / "tools/content/game";
constexpr int kWidth = 240;
constexpr int kHeight = 320;
constexpr int kSpotSize = 2;

uint16_t rgb565(uint32_t argb) {
  const uint32_t r = argb >> 16 & 0xFF, g = argb >> 8 & 0xFF, b = argb & 0xFF;
  return static_cast<uint16_t>((r >> 3) << 11 | (g >> 2) << 5 | b >> 3);
}

const std::map<std::string, gamecontent::ScreenSpot>& screenSpots() {
  static const std::map<std::string, gamecontent::ScreenSpot> table = [] {
    std::map<std::string, gamecontent::ScreenSpot> m;
    for (const auto& s : gamecontent::screenSpots(kGame)) m.emplace(s.name, s);
    return m;
  }();
  return table;
}

struct Frame {
  std::vector<uint16_t> pixels;
  uint16_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * kWidth + x]; }
  // The spot's 2 x 2 square of `colour` has its corner at (x, y).
  bool squareAt(int x, int y, uint16_t colour) const {
    for (int dy = 0; dy < kSpotSize; ++dy) {
      for (int dx = 0; dx < kSpotSize; ++dx) {
        if (x + dx >= kWidth || y + dy >= kHeight || at(x + dx, y + dy) != colour) return false;
      }
    }
    return true;
  }
  // The squares of `colour` that stand alone (nothing of it left or above).
  int squaresOf(uint16_t colour) const {
    int n = 0;
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        const bool left = x > 0 && at(x - 1, y) == colour, above = y > 0 && at(x, y - 1) == colour;
        if (!left && !above && squareAt(x, y, colour)) ++n;
      }
    }
    return n;
  }
};

testing::AssertionResult shows(const Frame& f, const std::string& name) {
  const auto it = screenSpots().find(name);
  if (it == screenSpots().end()) return testing::AssertionFailure() << "no spot " << name << " in the table";
  const gamecontent::ScreenSpot& s = it->second;
  if (f.squareAt(s.x, s.y, rgb565(s.colour))) return testing::AssertionSuccess();
  return testing::AssertionFailure() << name << " at (" << s.x << ", " << s.y << ") reads 0x" << std::hex
                                     << f.at(s.x, s.y) << ", not 0x" << rgb565(s.colour);
}

// Unlock flags with stages 0 and 1 of group 0 and stage 0 of group 4 open,
// and best grades 3 and 1 for stages 0 and 1 of tier 0, group 0 (the
// stores' layouts: a flag a byte at 5 + 10 group + stage, big-endian ints
// at stage + 50 tier + 10 group).
Bytes unlocks() {
  Bytes b(110);
  b[0] = 1;
  b[5] = b[6] = 1;
  b[5 + 40] = 1;
  return b;
}
Bytes bestGrades() {
  Bytes b(1000);
  b[3] = 3;
  b[7] = 1;
  return b;
}

class Pixels : public testing::Test {
 protected:
  void SetUp() override {
    const std::string reason = gameplay::cannotPlay(Content::kBuiltRsc);
    if (!reason.empty()) GTEST_SKIP() << reason;
    game.useBuiltRsc();
  }

  Frame frame() {
    int32_t w = 0, h = 0;
    Frame f{game.frame(&w, &h)};
    EXPECT_EQ(w, kWidth);
    EXPECT_EQ(h, kHeight);
    if (f.pixels.size() != static_cast<size_t>(kWidth) * kHeight) f.pixels.assign(kWidth * kHeight, 0);
    return f;
  }

  // The language page and the sound question of a first run, when shown,
  // then the main menu.
  void toMainMenu() {
    for (int i = 0; i < 80; ++i) {
      const gameplay::Probe p = game.probe();
      if (!p.loading() && (p.page() == 2 || p.page() == 11)) break;
      ASSERT_TRUE(game.step(5));
    }
    if (game.probe().page() == 11) {
      ASSERT_TRUE(game.tapItem(47));
      ASSERT_TRUE(game.stepUntilPage(10));
      ASSERT_TRUE(game.tapItem(38));
    }
    ASSERT_TRUE(game.stepUntilPage(2));
  }

  // From the main menu: play, tier 0, group `group`, the stage page.
  void toStagePage(int32_t group) {
    ASSERT_TRUE(game.tapItem(11));
    ASSERT_TRUE(game.stepUntilPage(3));
    ASSERT_TRUE(game.tapItem(20));
    ASSERT_TRUE(game.stepUntilPage(4));
    ASSERT_TRUE(game.tapItem(25 + group));
    ASSERT_TRUE(game.stepUntilPage(5));
  }

  // Stage 0 of the stage page: the level loads and plays.
  void playStage0() {
    ASSERT_TRUE(game.tapBox(0));
    ASSERT_TRUE(game.stepUntilScene(34));
    ASSERT_TRUE(game.step(30));
    ASSERT_EQ(game.probe().scene(), 34);
  }

  GameDriver game;
};

TEST_F(Pixels, LogoLanguagePageAndMainMenu) {
  ASSERT_TRUE(game.start());
  ASSERT_TRUE(game.step(5));
  ASSERT_EQ(game.probe().scene(), 0);
  EXPECT_TRUE(shows(frame(), "logo.logo"));
  ASSERT_TRUE(game.stepUntilPage(11));
  Frame f = frame();
  EXPECT_TRUE(shows(f, "page11.backdrop"));
  EXPECT_TRUE(shows(f, "page11.row0"));
  ASSERT_TRUE(game.tapItem(47));
  ASSERT_TRUE(game.stepUntilPage(10));
  ASSERT_TRUE(game.tapItem(38));
  ASSERT_TRUE(game.stepUntilPage(2));
  f = frame();
  EXPECT_TRUE(shows(f, "page2.backdrop"));
  EXPECT_TRUE(shows(f, "page2.row0"));
  ASSERT_TRUE(game.close());
  EXPECT_EQ(game.wait(), 0);
}

// Seeded progress: stages 0 and 1 open with 3 and 1 stars, 2 to 4 locked.
TEST_F(Pixels, StagePageShowsLocksAndStars) {
  game.seedRecord(0, unlocks());
  game.seedRecord(2, bestGrades());
  ASSERT_TRUE(game.start());
  toMainMenu();
  toStagePage(0);
  const Frame f = frame();
  EXPECT_TRUE(shows(f, "page5.panel"));
  const int stars[5] = {3, 1, 0, 0, 0};
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    const std::string n = std::to_string(i);
    EXPECT_TRUE(shows(f, "page5.stage" + n));
    EXPECT_EQ(shows(f, "page5.lock" + n), i >= 2);
    for (int j = 0; j < 3; ++j) EXPECT_EQ(shows(f, "page5.star" + n + "." + std::to_string(j)), j < stars[i]) << j;
  }
  ASSERT_TRUE(game.close());
  EXPECT_EQ(game.wait(), 0);
}

// The first level played untouched: its HUD (the counter, the pause
// button, five life icons for each object at tier 0), then its end and the
// results panel.
TEST_F(Pixels, PlayHudAndResults) {
  ASSERT_TRUE(game.start());
  toMainMenu();
  toStagePage(0);
  playStage0();
  Frame f = frame();
  EXPECT_TRUE(shows(f, "play.counter"));
  EXPECT_TRUE(shows(f, "play.pause"));
  EXPECT_FALSE(shows(f, "results.header"));
  EXPECT_EQ(f.squaresOf(rgb565(gamecontent::playSpot("life").colour)), 10);
  bool results = false;
  for (int i = 0; i < 40 && !results; ++i) {
    ASSERT_TRUE(game.step(20));
    results = shows(frame(), "results.header");
  }
  EXPECT_TRUE(results) << "the results panel within 800 frames";
  ASSERT_TRUE(game.close());
  EXPECT_EQ(game.wait(), 0);
}

// Group 4 has no far image: its far layer is an opaque black sheet, seen
// above the ground of both views.
TEST_F(Pixels, Group4HasABlackFarLayer) {
  game.seedRecord(0, unlocks());
  ASSERT_TRUE(game.start());
  toMainMenu();
  toStagePage(4);
  playStage0();
  const Frame f = frame();
  // Bands of sky in the upper view (0..159) and the lower view (160..319),
  // clear of the HUD, the runners and the items on the ground.
  for (const int top : {40, 200}) {
    int lit = 0;
    for (int y = top; y < top + 40; ++y) {
      for (int x = 0; x < kWidth; ++x) lit += f.at(x, y) != 0;
    }
    EXPECT_EQ(lit, 0) << "rows " << top << " to " << top + 39;
  }
  ASSERT_TRUE(game.close());
  EXPECT_EQ(game.wait(), 0);
}

}  // namespace
