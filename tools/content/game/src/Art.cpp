#include "Art.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <optional>

#include "BmpReader.h"
#include "ContentError.h"
#include "ImageOps.h"

namespace gamecontent {

using content::require;

const std::vector<FarImage>& farImages() {
  static const std::vector<FarImage> images = {
      {0x2C0F, "far-field4_d.bmp", 0},
      {0x3022, "far-meadow_n.bmp", 150},  // the night meadow turned to a warm desert dusk
      {0x3413, "far-cave1.bmp", 0},
      {0x3818, "far-field_d3.bmp", 0},
  };
  return images;
}

const std::vector<int>& pickedTiles() {
  // Row 0: grassy ground edges and fills; row 1: earth and bricks; row 2:
  // the spiked wheels (hazards).
  static const std::vector<int> tiles = {0, 1, 2, 3, 4, 5, 6, 10, 11, 12, 13, 14, 15, 20, 21};
  return tiles;
}

namespace {

constexpr int kSourceTile = 32;
// The rooster's frames: 32 x 59 inside 35-pixel boxes with a one-pixel
// border, from the left edge of the cut sheet.
constexpr int kFrameStride = 35;
constexpr int kFrameWidth = 32;
constexpr int kFrameHeight = 59;
// The source frame of each pose.
constexpr int kPoseFrames[] = {0, 1, 2, 3, 4, 5, 6, 7, 9, 8, 14};
// The palette entries of the cut files' transparent ground (Pekka Kana 2's
// light cyan; the cut renumbered the tile sheet's palette).
constexpr int kTilesGround = 94;
constexpr int kRoosterGround = 255;

content::Bytes readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  require(in.good(), path.string(), "cannot be opened");
  return content::Bytes(std::istreambuf_iterator<char>(in), {});
}

content::IndexedImage readPk2(const std::filesystem::path& art, const char* file,
                              std::optional<int> ground = std::nullopt) {
  auto image = content::readBmp(readFile(art / "pk2" / file), file, ground);
  require(std::holds_alternative<content::IndexedImage>(image), file, "is not an 8-bit palette BMP");
  return std::get<content::IndexedImage>(std::move(image));
}

// Terrain looks: hue turn, saturation and brightness factors.
struct Look {
  int hue;
  double saturation;
  double value;
};
constexpr Look kTerrainLooks[kTerrains] = {
    {95, 1.0, 1.0},   // fields: the red earth turned green
    {30, 0.8, 1.15},  // dunes: sand
    {250, 0.7, 0.8},  // caves: dim violet rock
    {200, 0.3, 0.95}, // mountains: grey-blue stone
    {40, 0.6, 0.7},   // beach by moonlight: dark sand
};

}  // namespace

content::IndexedImage farImage(const std::filesystem::path& art, const FarImage& far) {
  content::IndexedImage image = readPk2(art, far.file);
  require(image.width == 240 && image.height == 320, far.file, "is not 240 x 320");
  if (far.hue != 0) recolour(image, far.hue);
  return image;
}

content::IndexedImage tileSheet(const std::filesystem::path& art, int terrain) {
  require(terrain >= 0 && terrain < kTerrains, "terrain " + std::to_string(terrain), "is not 0..4");
  const content::IndexedImage source = readPk2(art, "tiles01-cut.bmp", kTilesGround);
  const auto& tiles = pickedTiles();
  content::IndexedImage sheet{static_cast<int>(tiles.size()) * kTileSize, kTileSize, {}, source.palette};
  sheet.indices.resize(static_cast<size_t>(sheet.width) * sheet.height);
  for (size_t t = 0; t < tiles.size(); ++t) {
    const int sx = tiles[t] % 10 * kSourceTile, sy = tiles[t] / 10 * kSourceTile;
    const auto tile = scaleNearest(crop(source, sx, sy, kSourceTile, kSourceTile), kTileSize, kTileSize);
    for (int y = 0; y < kTileSize; ++y) {
      std::copy_n(tile.indices.begin() + y * kTileSize, kTileSize,
                  sheet.indices.begin() + y * sheet.width + t * kTileSize);
    }
  }
  const Look& look = kTerrainLooks[terrain];
  recolour(sheet, look.hue, look.saturation, look.value);
  return sheet;
}

content::IndexedImage runnerSheet(const std::filesystem::path& art, int tier, int runner) {
  require(tier >= 0 && tier < 5 && runner >= 0 && runner < 2, "runner", "tier 0..4 and runner 0..1");
  const content::IndexedImage source = readPk2(art, "rooster-cut.bmp", kRoosterGround);
  const int poses = static_cast<int>(Pose::Count);
  content::IndexedImage sheet{poses * kRunnerWidth, kRunnerHeight, {}, source.palette};
  sheet.indices.resize(static_cast<size_t>(sheet.width) * sheet.height);
  for (int p = 0; p < poses; ++p) {
    const auto frame = scaleNearest(crop(source, kPoseFrames[p] * kFrameStride + 1, 1, kFrameWidth, kFrameHeight),
                                    kRunnerWidth, kRunnerHeight);
    for (int y = 0; y < kRunnerHeight; ++y) {
      std::copy_n(frame.indices.begin() + y * kRunnerWidth, kRunnerWidth,
                  sheet.indices.begin() + y * sheet.width + p * kRunnerWidth);
    }
  }
  // Tier 0 keeps the rooster's colours; each tier turns them a fifth of the
  // colour circle further; the second runner is half a step apart.
  const int hue = tier * 72 + runner * 36;
  if (hue != 0) recolour(sheet, hue);
  return sheet;
}

content::IndexedImage icon(const std::filesystem::path& art, Icon which, int size) {
  struct Source {
    const char* file;
    uint32_t tint;  // 0: the picture's own colours
  };
  static const Source sources[] = {
      {"star.png", 0xFFD040}, {"lock.png", 0}, {"button-green.png", 0}, {"apple.png", 0}};
  const Source& s = sources[static_cast<int>(which)];
  content::RgbaImage picture = readPng(readFile(art / "openclipart" / s.file), s.file);
  const int longest = std::max(picture.width, picture.height);
  picture = scaleArea(picture, std::max(1, picture.width * size / longest), std::max(1, picture.height * size / longest));
  if (s.tint != 0) tint(picture, s.tint);
  return palettise(picture);
}

}  // namespace gamecontent
