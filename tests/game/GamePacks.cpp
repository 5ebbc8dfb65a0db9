#include "GamePacks.h"

#include <vector>

#include "ChunkedPackWriter.h"
#include "ContentFixtures.h"

namespace gametest {

namespace {

using namespace content;

constexpr uint16_t kSheetIndex = kSheetId % 1024;

Bytes oneSprite(int16_t w, int16_t h) {
  SpriteSet set;
  set.sheet = kSheetIndex;
  set.sprites = {{0, 0, 0, 0, w, h, 0, 0, false, w, h, false}};
  return writeSpriteSet(set);
}

Bytes logoAnimation() {
  AnimationSet set;
  set.durations = {100};
  set.frames = {{{{0, 0, 0, 0}}, {}}};
  set.animations = {{-1, {{0, 0, 0, 0, 0, 0}}}};
  return writeAnimationSet(set);
}

Bytes sheet() {
  IndexedImage image{kLogoWidth, kLogoHeight, std::vector<uint8_t>(kLogoWidth * kLogoHeight), {0xFF000080}};
  return writePng(image);
}

void writeChunked(const std::filesystem::path& rsc, int pack, const std::vector<PackResource>& resources) {
  writePackFiles(rsc, writeChunkedPack(pack, resources, ChunkedPackLayout::split(1)));
}

}  // namespace

void writeGamePacks(const std::filesystem::path& rsc) {
  std::vector<PackResource> shell(10 + kCacheSets);
  shell[0] = {0, logoAnimation()};
  shell[1] = {0, oneSprite(kLogoWidth, kLogoHeight)};
  shell[2] = {0, oneSprite(kPictureSize, kPictureSize)};
  shell[3] = {0, oneSprite(kTileWidth, kTileHeight)};
  shell[4] = {0, sheet()};
  for (int i = 5; i < 10; ++i) shell[i] = {0, oneSprite(1, 1)};
  for (int i = 0; i < kCacheSets; ++i) shell[10 + i] = {0, oneSprite(1, 1)};
  writeChunked(rsc, 1, shell);
  const fixtures::GlyphFontFixture font = fixtures::eightGlyphFont(2);
  writeChunked(rsc, 19, {{0, font.spriteSet}, {0, font.spriteSet}, {0, font.sheet.png}});
  const Bytes sound = fixtures::shortSound().wav;
  writeChunked(rsc, 18, std::vector<PackResource>(6, PackResource{1, sound}));
  writePackFiles(rsc, simplePackFiles(20, {{0, fixtures::translationTable16().bytes}}));
}

}  // namespace gametest
