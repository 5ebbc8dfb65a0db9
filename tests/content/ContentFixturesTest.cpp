#include <gtest/gtest.h>

#include "ContentFixtures.h"
#include "TestBytes.h"

namespace content::fixtures {
namespace {

TEST(ContentFixtures, PacksOfBothKindsNameTheirFiles) {
  const PackFixture simple = simplePack();
  ASSERT_EQ(simple.files.size(), 1u);
  EXPECT_EQ(simple.files.at("RP2.rp"), writeSimplePack(packResources()));
  EXPECT_EQ(simple.resources[1].type, 1);  // the sound
  const PackFixture split = splitPack(5, 3);
  EXPECT_EQ(split.files.size(), 4u);
  EXPECT_TRUE(split.files.count("RP5part3.rp"));
  const PackFixture table = fileTablePack();
  EXPECT_EQ(table.files.at("RP18part0.png"), paletteImage().png);
  EXPECT_EQ(table.files.at("RP18part1.wav"), shortSound().wav);
  EXPECT_EQ(table.files.at("RP18part2.rp"), Bytes{});
}

TEST(ContentFixtures, TranslationTablesTakeBothOffsetWidths) {
  EXPECT_LE(translationTable16().bytes.size(), 65535u);
  EXPECT_GT(translationTable32().bytes.size(), 65535u);
  EXPECT_EQ(canvasTextTable().texts, translationTable16().texts);
}

TEST(ContentFixtures, FontAndSetsAreWhatTheirDescriptionsSay) {
  const GlyphFontFixture font = eightGlyphFont(4);
  EXPECT_EQ(font.font.glyphs.size(), 8u);
  EXPECT_EQ(font.spriteSet, writeGlyphFont(font.font));
  EXPECT_EQ(font.spriteSet[1], 4);
  EXPECT_EQ(font.sheet.png, writePng(font.sheet.image));
  EXPECT_EQ(spriteSet().bytes, writeSpriteSet(spriteSet().set));
  EXPECT_EQ(smallAnimationSet().bytes, writeAnimationSet(smallAnimationSet().set));
  const AnimationSetFixture limits = animationSetAtLimits();
  EXPECT_EQ(limits.set.frames[0].parts.size(), 255u);
  EXPECT_EQ(limits.set.animations[0].steps.size(), 1023u);
  EXPECT_EQ(levelWithEveryBlock().bytes[0], 0x80);
  EXPECT_EQ(levelWithEveryBlock().bytes, writeLevel(levelWithEveryBlock().level));
}

}  // namespace
}  // namespace content::fixtures
