// The play packs' pictures from the picked cuts: their sizes fit the sets
// cut from them, and the key elements carry their spots in a colour found
// nowhere else in the picture.

#include <gtest/gtest.h>

#include "Manifest.h"
#include "PlayArt.h"
#include "PlayLevels.h"
#include "PlayTables.h"

namespace {

using namespace gamecontent;
const std::filesystem::path kArt = std::filesystem::path(JME_SOURCE_DIR) / "tools/content/game/art";

uint32_t colourAt(const content::IndexedImage& image, int x, int y) {
  return image.palette.at(image.indices.at(static_cast<size_t>(y) * image.width + x));
}

// The pixels of `colour`, as (x, y) pairs.
std::vector<std::pair<int, int>> pixelsOf(const content::IndexedImage& image, uint32_t colour) {
  std::vector<std::pair<int, int>> found;
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x)
      if (colourAt(image, x, y) == colour) found.push_back({x, y});
  return found;
}

std::vector<std::pair<int, int>> square(int x, int y, int size) {
  std::vector<std::pair<int, int>> out;
  for (int r = 0; r < size; ++r)
    for (int c = 0; c < size; ++c) out.push_back({x + c, y + r});
  std::sort(out.begin(), out.end(),
            [](auto a, auto b) { return a.second != b.second ? a.second < b.second : a.first < b.first; });
  return out;
}

TEST(PlayArt, KeyElementsCarryTheirSpotsAndNothingElseHasTheColour) {
  const Spot& life = playSpot("life");
  const Spot& closing = playSpot("closing");
  for (int tier = 0; tier < 5; ++tier) {
    SCOPED_TRACE("tier " + std::to_string(tier));
    const content::IndexedImage icons = lifeIconSheet(kArt, tier);
    std::vector<std::pair<int, int>> expected = square(16 + life.x, life.y, life.size);
    for (auto p : square(48 + life.x, life.y, life.size)) expected.push_back(p);
    std::sort(expected.begin(), expected.end(),
              [](auto a, auto b) { return a.second != b.second ? a.second < b.second : a.first < b.first; });
    EXPECT_EQ(pixelsOf(icons, life.colour), expected);
    for (int runner = 0; runner < 2; ++runner) {
      EXPECT_EQ(pixelsOf(closingPicture(kArt, tier, runner), closing.colour),
                square(closing.x, closing.y, closing.size));
    }
  }
}

TEST(PlayArt, SheetsHoldTheCellsTheirSetsCut) {
  for (int terrain = 0; terrain < 5; ++terrain) {
    const content::IndexedImage tiles = playTileSheet(kArt, terrain);
    EXPECT_EQ(tiles.width, kTileCount * 16);
    EXPECT_EQ(tiles.height, 16);
    for (int look = 0; look < kLooks; ++look) {
      const content::IndexedImage sheet = barrierSheet(kArt, static_cast<Look>(look), terrain);
      const content::SpriteSet sprites = barrierSprites(static_cast<Look>(look));
      const Size cell = lookSize(static_cast<Look>(look));
      EXPECT_EQ(sheet.height, cell.height);
      EXPECT_EQ(sheet.width, cell.width * static_cast<int>(sprites.sprites.size()));
      for (const content::SpriteRecord& s : sprites.sprites) {
        // Drawn with the bottom-left corner at the position.
        EXPECT_EQ(s.x, 0);
        EXPECT_EQ(s.y, -cell.height);
      }
    }
  }
}

// The motion the level solutions count on: a jump rises by kJumpRise and
// plays once; the fall loops at kFallStep a frame; walking does not move.
TEST(PlayArt, RunnerAnimationsCarryTheMotionTheLevelsAreBuiltFor) {
  const content::AnimationSet set = runnerAnimations();
  ASSERT_EQ(set.animations.size(), static_cast<size_t>(kRunnerAnimations));
  const content::Animation& jump = set.animations[kJump];
  EXPECT_EQ(jump.loops, 1);
  ASSERT_EQ(jump.steps.size(), std::size(kJumpRise));
  for (size_t k = 0; k < jump.steps.size(); ++k) EXPECT_EQ(jump.steps[k].dy, kJumpRise[k]);
  EXPECT_LT(set.animations[kFall].loops, 0);
  EXPECT_EQ(set.animations[kFall].steps.back().dy, kFallStep * static_cast<int>(set.animations[kFall].steps.size()));
  for (const content::AnimationStep& s : set.animations[kWalk].steps) EXPECT_EQ(s.dx | s.dy, 0);
  EXPECT_EQ(set.durations[0], kFrameMs);
}

// Every set and picture the play scene asks for by tier and by terrain is
// in the manifest as what the scene takes it for: the runners' sets (the
// animation sets checked as main objects), life icons, closing pictures,
// each terrain's tile sheet and far image, and its barrier sets for every
// look the pack has room for, the bombs at the bat's ids + 1.
TEST(PlayArt, TheManifestHoldsEverySetThePlaySceneAsksFor) {
  const content::Manifest manifest =
      content::readManifest(std::filesystem::path(JME_SOURCE_DIR) / "tools/content/game/manifest.txt");
  auto expectKind = [&](int id, content::ResourceKind kind) -> const content::ManifestResource* {
    const content::ManifestResource* r = manifest.find(id);
    EXPECT_NE(r, nullptr) << std::hex << "0x" << id << " is missing";
    if (r) {
      EXPECT_EQ(r->kind, kind) << std::hex << "0x" << id;
    }
    return r;
  };
  using K = content::ResourceKind;
  for (const playtables::TierSets& t : playtables::kTierSets) {
    for (auto [sprites, anims] : {std::pair{t.spritesA, t.animsA}, std::pair{t.spritesB, t.animsB}}) {
      expectKind(sprites, K::SpriteSet);
      const content::ManifestResource* a = expectKind(anims, K::AnimationSet);
      if (a) {
        EXPECT_TRUE(a->has(content::Rule::MainObject));
        EXPECT_EQ(a->sprites, sprites);
      }
    }
    expectKind(t.lifeSprites, K::SpriteSet);
    expectKind(t.lifeAnims, K::AnimationSet);
    expectKind(t.closingA, K::SpriteSet);
    expectKind(t.closingB, K::SpriteSet);
  }
  for (int group = 0; group < playtables::kGroups; ++group) {
    const gamecontent::TerrainPack& pack = gamecontent::terrainPack(group);
    expectKind(pack.tileSheet, K::Image);
    if (playtables::kFarByGroup[group] != 0) expectKind(playtables::kFarByGroup[group], K::Image);
    for (int v = 0; v < pack.variants; ++v) {
      expectKind(playtables::kSpritesByType[pack.barrierType] + v, K::SpriteSet);
      const content::ManifestResource* a = expectKind(playtables::kAnimsByType[pack.barrierType] + v, K::AnimationSet);
      if (a) {
        EXPECT_TRUE(a->has(content::Rule::GameObject));
      }
    }
    for (int type : {pack.landscapeType, pack.landscapeBType}) {
      if (type < 0) continue;
      expectKind(playtables::kSpritesByType[type], K::SpriteSet);
      expectKind(playtables::kAnimsByType[type], K::AnimationSet);
    }
  }
}

}  // namespace
