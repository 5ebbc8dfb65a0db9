// The whole game played through the driver program, from the logo through
// the first-run pages to the main menu and from there to every menu page
// and out through the exit page. Each scenario runs twice: with the
// fixture packs of tests/game, and with the built rsc/ once it holds the
// interface packs (until then those runs are skipped with a message).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GameDriver.h"
#include "GamePacks.h"

using gameplay::Bytes;
using gameplay::Content;
using gameplay::GameDriver;
using gameplay::Probe;

namespace {

class MenuFlow : public testing::TestWithParam<Content> {
 protected:
  void SetUp() override {
    const std::string reason = gameplay::cannotPlay(GetParam());
    if (!reason.empty()) GTEST_SKIP() << reason;
    game.use(GetParam());
  }

  // From the start (already made) to the main menu on a first run: the
  // logo, the language page, the sound question answered "no".
  void firstRunToMainMenu() {
    Probe p = game.probe();
    EXPECT_EQ(p.scene(), 0) << "the logo first";
    ASSERT_TRUE(game.stepUntilPage(11));
    p = game.probe();
    EXPECT_EQ(p.scene(), 11);
    EXPECT_EQ(p.number("translation"), 0x5001);
    EXPECT_EQ(p.number("firstRun"), 1);
    ASSERT_TRUE(game.tapItem(47));
    ASSERT_TRUE(game.stepUntilPage(10));
    EXPECT_EQ(game.probe().number("translation"), 0x5000);
    ASSERT_TRUE(game.tapItem(38));
    ASSERT_TRUE(game.stepUntilPage(2));
    p = game.probe();
    EXPECT_EQ(p.number("firstRun"), 0);
    EXPECT_EQ(p.number("sound"), 0);
    EXPECT_EQ(p.itemIds(), std::vector<int32_t>({11, 6, 12, 8, 7, 9}));
  }

  GameDriver game;
};

TEST_P(MenuFlow, AFirstRunGoesFromTheLogoToTheMainMenuAndCreatesTheStores) {
  ASSERT_TRUE(game.start());
  if (GetParam() == Content::kFixturePacks) {
    // The fixture logo: one colour, 101 x 51, centred on white.
    const std::vector<uint16_t> logo = game.frame();
    ASSERT_EQ(logo.size(), 240u * 320u);
    EXPECT_EQ(logo[159 * 240 + 119], 0x0010);
    EXPECT_EQ(logo[10 * 240 + 10], 0xFFFF);
  }
  firstRunToMainMenu();
  Bytes unlocks(110);
  unlocks[0] = 1;
  unlocks[5] = 1;
  EXPECT_EQ(game.record(0), unlocks);
  EXPECT_EQ(game.record(1), Bytes(524));
  EXPECT_EQ(game.record(2), Bytes(1000));
  ASSERT_TRUE(game.close());
  EXPECT_EQ(game.wait(), 0);
}

// Options and back; help scrolled by a tap in its lower and upper text, its
// sub-pages and back to the main menu; about; the gallery, one award and
// back; the exit page's "no", then its "yes", which ends the program with 0.
TEST_P(MenuFlow, EveryMenuPageAndTheExit) {
  ASSERT_TRUE(game.start());
  firstRunToMainMenu();
  struct Visit {
    int32_t item;  // tapped on the page before
    int32_t page;  // the page it leads to
  };
  for (const Visit v : {Visit{12, 6}, Visit{39, 2}, Visit{8, 7}}) {
    SCOPED_TRACE(v.item);
    ASSERT_TRUE(game.tapItem(v.item));
    ASSERT_TRUE(game.stepUntilPage(v.page));
  }
  // Help: the first sub-page's text scrolls.
  Probe p = game.probe();
  ASSERT_GT(p.number("lines"), p.number("visibleLines")) << "the help text is long enough to scroll";
  const gameplay::Rect text = p.textArea();
  ASSERT_TRUE(game.tap(text.centreX(), text.y + text.w * 3 / 4));
  ASSERT_TRUE(game.step(2));
  EXPECT_EQ(game.probe().number("scroll"), 1);
  ASSERT_TRUE(game.tap(text.centreX(), text.y + text.w / 4));
  ASSERT_TRUE(game.step(2));
  EXPECT_EQ(game.probe().number("scroll"), 0);
  ASSERT_TRUE(game.tapItem(40));
  EXPECT_EQ(game.probe().number("selection"), 1);
  ASSERT_TRUE(game.tapItem(40));
  p = game.probe();
  EXPECT_EQ(p.number("selection"), 2);
  EXPECT_EQ(p.itemIds(), std::vector<int32_t>({39, 10}));
  for (const Visit v : {Visit{10, 2}, Visit{7, 8}, Visit{10, 2}, Visit{6, 22}}) {
    SCOPED_TRACE(v.item);
    ASSERT_TRUE(game.tapItem(v.item));
    ASSERT_TRUE(game.stepUntilPage(v.page));
  }
  // The gallery: twelve award boxes and the back box.
  ASSERT_EQ(game.probe().boxes().size(), 13u);
  ASSERT_TRUE(game.tapBox(0));
  ASSERT_TRUE(game.stepUntilPage(21));
  EXPECT_EQ(game.probe().number("selection"), 0);
  ASSERT_TRUE(game.tapItem(39));
  ASSERT_TRUE(game.stepUntilPage(22));
  ASSERT_TRUE(game.tapBox(12));
  ASSERT_TRUE(game.stepUntilPage(2));
  for (const Visit v : {Visit{9, 9}, Visit{38, 2}, Visit{9, 9}}) {
    SCOPED_TRACE(v.item);
    ASSERT_TRUE(game.tapItem(v.item));
    ASSERT_TRUE(game.stepUntilPage(v.page));
  }
  // "Yes": the game asks the canvas to quit; the program ends by itself.
  p = game.probe();
  bool tapped = false;
  for (const auto& [id, rect] : p.items()) {
    if (id == 37) tapped = game.tap(rect);
  }
  ASSERT_TRUE(tapped);
  EXPECT_NE(game.send("step 10"), "ok");
  EXPECT_EQ(game.wait(), 0);
}

// The same commands give the same game: the clock, the random seed and the
// frames are the driver's, so two runs agree probe for probe and pixel for
// pixel.
TEST_P(MenuFlow, TwoRunsOfTheSameCommandsAgree) {
  auto run = [this](GameDriver& driver, std::vector<std::string>& probes, std::vector<uint16_t>& frame) {
    ASSERT_TRUE(driver.start());
    for (int i = 0; i < 4; ++i) {
      probes.push_back(driver.send("probe"));
      ASSERT_TRUE(driver.step(30));
    }
    ASSERT_TRUE(driver.tapItem(47));
    ASSERT_TRUE(driver.step(7));
    probes.push_back(driver.send("probe"));
    frame = driver.frame();
    ASSERT_TRUE(driver.close());
    EXPECT_EQ(driver.wait(), 0);
  };
  std::vector<std::string> probes[2];
  std::vector<uint16_t> frames[2];
  run(game, probes[0], frames[0]);
  GameDriver second;
  second.use(GetParam());
  run(second, probes[1], frames[1]);
  EXPECT_EQ(probes[0], probes[1]);
  EXPECT_FALSE(frames[0].empty());
  EXPECT_TRUE(frames[0] == frames[1]);
}

// The platform's pause and resume: the controller pauses, the clock stands
// while the driver does not step, and the resume completes after its delay;
// "scene 2" changes to the main menu directly.
TEST_P(MenuFlow, ThePlatformsPauseAndResumeAndASceneChange) {
  ASSERT_TRUE(game.start());
  firstRunToMainMenu();
  ASSERT_EQ(game.send("pause"), "ok");
  ASSERT_TRUE(game.step(3));
  Probe p = game.probe();
  EXPECT_EQ(p.number("paused"), 1);
  const int64_t frames = p.number("frames");
  ASSERT_EQ(game.send("resume"), "ok");
  // The resume waits 750 ms of the clock: steps of 40 ms.
  ASSERT_TRUE(game.step(25));
  p = game.probe();
  EXPECT_EQ(p.number("paused"), 0);
  EXPECT_EQ(p.number("frames"), frames + 25);
  EXPECT_EQ(p.page(), 2);
  ASSERT_EQ(game.send("scene 11"), "ok");
  ASSERT_TRUE(game.stepUntilPage(11));
  EXPECT_EQ(game.probe().scene(), 11);
  ASSERT_TRUE(game.close());
  EXPECT_EQ(game.wait(), 0);
}

// "scene 42" from the main menu: the scene manager makes the play scene of
// that id, which loads the level of the chosen group and stage. With no
// group chosen there is no such level: the scene prints an error and goes
// back to the main menu, and the game goes on ("scene 2" still works).
// The fixture packs hold no play scene art (its HUD would not build), so
// this runs on the built rsc/ only.
TEST_P(MenuFlow, TheSceneCommandReachesScene42AndComesBack) {
  if (GetParam() == Content::kFixturePacks) GTEST_SKIP() << "the fixture packs hold no play scene art";
  ASSERT_TRUE(game.start());
  firstRunToMainMenu();
  ASSERT_EQ(game.send("scene 42"), "ok");
  EXPECT_EQ(game.probe().scene(), 42);
  ASSERT_TRUE(game.step(20));
  EXPECT_EQ(game.probe().scene(), 2);
  ASSERT_TRUE(game.stepUntilPage(2));
  ASSERT_EQ(game.send("scene 2"), "ok");
  ASSERT_TRUE(game.stepUntilPage(2));
  ASSERT_TRUE(game.close());
  EXPECT_EQ(game.wait(), 0);
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(Content, MenuFlow, testing::Values(Content::kFixturePacks, Content::kBuiltRsc),
                         [](const testing::TestParamInfo<Content>& info) { return gameplay::contentName(info.param); });
