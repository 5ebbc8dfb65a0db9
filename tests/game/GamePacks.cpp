#include "GamePacks.h"

#include <vector>

#include "ChunkedPackWriter.h"
#include "ContentFixtures.h"
#include "PngWriter.h"

namespace gametest {

namespace {

using namespace content;

constexpr uint16_t kBackdropSheet = kSheetId % 1024;
constexpr uint16_t kLogoSheet = 5;
constexpr int16_t kPictureColumn = kTileWidth;

Bytes oneSprite(int16_t w, int16_t h, uint16_t sheet = kBackdropSheet, int16_t sheetX = 0) {
  SpriteSet set;
  set.sheet = sheet;
  set.sprites = {{0, 0, sheetX, 0, w, h, 0, 0, false, w, h, false}};
  return writeSpriteSet(set);
}

Bytes logoAnimation() {
  AnimationSet set;
  set.durations = {100};
  set.frames = {{{{0, 0, 0, 0}}, {}}};
  set.animations = {{-1, {{0, 0, 0, 0, 0, 0}}}};
  return writeAnimationSet(set);
}

Bytes logoSheet() {
  IndexedImage image{kLogoWidth, kLogoHeight, std::vector<uint8_t>(kLogoWidth * kLogoHeight), {0xFF000080}};
  return writePng(image);
}

// Palette entry i: red 8 + 16 i tells the entries apart; every channel
// keeps to the steps of RGB 565.
uint32_t paletteColour(int32_t i) {
  return 0xFF000000u | static_cast<uint32_t>(8 + 16 * i) << 16 | static_cast<uint32_t>(12 * i) << 8 |
         (static_cast<uint32_t>(40 * i) & 0xF8u);
}

Bytes backdropSheet() {
  IndexedImage image{kTileWidth + kPictureSize, kTileHeight,
                     std::vector<uint8_t>((kTileWidth + kPictureSize) * kTileHeight), {}};
  for (int32_t y = 0; y < kTileHeight; ++y) {
    for (int32_t x = 0; x < kTileWidth; ++x) image.indices[y * image.width + x] = static_cast<uint8_t>(y * kTileWidth + x);
  }
  const int32_t firstPictureEntry = kTileWidth * kTileHeight;
  for (int32_t y = 0; y < kPictureSize; ++y) {
    for (int32_t x = 0; x < kPictureSize; ++x) {
      image.indices[y * image.width + kPictureColumn + x] = static_cast<uint8_t>(firstPictureEntry + y * kPictureSize + x);
    }
  }
  for (int32_t i = 0; i < firstPictureEntry + kPictureSize * kPictureSize; ++i) image.palette.push_back(paletteColour(i));
  return writePng(image);
}

void writeChunked(const std::filesystem::path& rsc, int pack, const std::vector<PackResource>& resources) {
  writePackFiles(rsc, writeChunkedPack(pack, resources, ChunkedPackLayout::split(1)));
}

}  // namespace

uint32_t tileColour(int32_t x, int32_t y) { return paletteColour(y * kTileWidth + x); }

uint32_t pictureColour(int32_t x, int32_t y) {
  return paletteColour(kTileWidth * kTileHeight + y * kPictureSize + x);
}

void writeGamePacks(const std::filesystem::path& rsc) {
  std::vector<PackResource> shell(10 + kCacheSets);
  shell[0] = {0, logoAnimation()};
  shell[1] = {0, oneSprite(kLogoWidth, kLogoHeight, kLogoSheet)};
  shell[2] = {0, oneSprite(kPictureSize, kPictureSize, kBackdropSheet, kPictureColumn)};
  shell[3] = {0, oneSprite(kTileWidth, kTileHeight, kBackdropSheet)};
  shell[kBackdropSheet] = {0, backdropSheet()};
  shell[kLogoSheet] = {0, logoSheet()};
  for (int i = kLogoSheet + 1; i < 10; ++i) shell[i] = {0, oneSprite(1, 1)};
  for (int i = 0; i < kCacheSets; ++i) shell[10 + i] = {0, oneSprite(1, 1)};
  writeChunked(rsc, 1, shell);
  const fixtures::GlyphFontFixture font = fixtures::eightGlyphFont(2);
  writeChunked(rsc, 19, {{0, font.spriteSet}, {0, font.spriteSet}, {0, font.sheet.png}});
  const Bytes sound = fixtures::shortSound().wav;
  writeChunked(rsc, 18, std::vector<PackResource>(6, PackResource{1, sound}));
  writePackFiles(rsc, simplePackFiles(20, {{0, fixtures::translationTable16().bytes}}));
}

}  // namespace gametest
