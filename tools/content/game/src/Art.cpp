#include "Art.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>

#include "BmpReader.h"
#include "ContentError.h"
#include "GlyphSets.h"
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

// How many columns of a far background's right edge fade into its left.
constexpr int kSeamColumns = 32;

uint32_t mix(uint32_t a, uint32_t b, double t) {
  uint32_t out = 0xFF000000;
  for (int shift = 0; shift < 24; shift += 8) {
    const double c = (1 - t) * (a >> shift & 0xFF) + t * (b >> shift & 0xFF);
    out |= static_cast<uint32_t>(c + 0.5) << shift;
  }
  return out;
}

// The far layer shows its picture round and round, so the picture's right
// edge meets its left edge on the screen. The cut pictures do not match
// there; this makes them: the last columns fade into the first ones, the
// first ones (now repeated at the end) are dropped, and what is left is
// stretched back to the full width, wrapping round as it is interpolated.
content::IndexedImage wrapWithoutSeam(const content::IndexedImage& picture) {
  const content::RgbaImage source = toRgba(picture);
  const int w = source.width, h = source.height, period = w - kSeamColumns;
  content::RgbaImage looped{period, h, std::vector<uint32_t>(static_cast<size_t>(period) * h)};
  for (int y = 0; y < h; ++y) {
    const uint32_t* row = &source.pixels[static_cast<size_t>(y) * w];
    for (int x = kSeamColumns; x < w; ++x) {
      uint32_t colour = row[x];
      const int intoSeam = x - period;
      if (intoSeam >= 0) colour = mix(colour, row[intoSeam], (intoSeam + 1.0) / (kSeamColumns + 1.0));
      looped.pixels[static_cast<size_t>(y) * period + (x - kSeamColumns)] = colour;
    }
  }
  content::RgbaImage stretched{w, h, std::vector<uint32_t>(static_cast<size_t>(w) * h)};
  for (int x = 0; x < w; ++x) {
    const double u = static_cast<double>(x) * period / w;
    const int left = static_cast<int>(u), right = (left + 1) % period;
    for (int y = 0; y < h; ++y) {
      const uint32_t* row = &looped.pixels[static_cast<size_t>(y) * period];
      stretched.pixels[static_cast<size_t>(y) * w + x] = mix(row[left], row[right], u - left);
    }
  }
  return palettise(stretched);
}

}  // namespace

content::IndexedImage farImage(const std::filesystem::path& art, const FarImage& far) {
  content::IndexedImage image = readPk2(art, far.file);
  require(image.width == 240 && image.height == 320, far.file, "is not 240 x 320");
  if (far.hue != 0) recolour(image, far.hue);
  return wrapWithoutSeam(image);
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

const std::vector<Spot>& spots() {
  static const std::vector<Spot> all = {
      {"logo", kLogoWidth / 2 - 1, 78, 2, 0xFF10A0F0},
      {"panel", 4, 4, 2, 0xFFC0601E},
      {"star", kSpotIconSize / 2 - 1, kSpotIconSize / 2 - 1, 2, 0xFFFFE000},
      {"lock", 7, 15, 2, 0xFF7F3FBF},
  };
  return all;
}

const Spot& findSpot(const std::vector<Spot>& table, const char* element) {
  for (const Spot& s : table) {
    if (std::string(s.element) == element) return s;
  }
  throw content::ContentError(element, "has no spot");
}

const Spot& spot(const char* element) { return findSpot(spots(), element); }

namespace {

struct IconSource {
  const char* file;
  uint32_t tint;       // 0: the picture's own colours
  const char* spot;    // the element whose spot the icon carries, or null
  double spotX, spotY; // where, as fractions of the icon's size
};

const IconSource& iconSource(Icon which) {
  static const IconSource sources[] = {
      {"star.png", 0xFFD040, "star", 0.5, 0.5},
      {"lock.png", 0, "lock", 0.5, 0.67},
      {"button-green.png", 0, nullptr, 0, 0},
      {"apple.png", 0, nullptr, 0, 0},
      {"trophy.png", 0, nullptr, 0, 0},
      {"ribbon.png", 0, nullptr, 0, 0},
      {"banner.png", 0xF0DDA0, nullptr, 0, 0},
  };
  return sources[static_cast<int>(which)];
}

// The picture scaled to fit size x size, tinted when its source says so.
content::RgbaImage iconPicture(const std::filesystem::path& art, Icon which, int size, uint32_t tintColour = 0) {
  const IconSource& s = iconSource(which);
  content::RgbaImage picture = readPng(readFile(art / "openclipart" / s.file), s.file);
  const int longest = std::max(picture.width, picture.height);
  picture = scaleArea(picture, std::max(1, picture.width * size / longest),
                      std::max(1, picture.height * size / longest));
  if (tintColour == 0) tintColour = s.tint;
  if (tintColour != 0) tint(picture, tintColour);
  return picture;
}

}  // namespace

content::IndexedImage icon(const std::filesystem::path& art, Icon which, int size) {
  const IconSource& s = iconSource(which);
  content::IndexedImage image = palettise(iconPicture(art, which, size), s.spot ? 254 : 255);
  if (s.spot) {
    const Spot& sp = spot(s.spot);
    const int x = static_cast<int>(image.width * s.spotX) - sp.size / 2;
    const int y = static_cast<int>(image.height * s.spotY) - sp.size / 2;
    paintSpot(image, x, y, sp.size, sp.colour);
  }
  return image;
}

content::IndexedImage award(const std::filesystem::path& art, int award) {
  require(award >= 0 && award <= 11, "award " + std::to_string(award), "is not 0..11");
  const bool trophy = award >= 6;
  const int tier = award % 6;  // 5: every tier
  const Icon which = trophy ? Icon::Trophy : Icon::Ribbon;
  // Gold for every tier (the trophy is gold already); else the picture's
  // own colour turned per tier.
  const uint32_t gold = tier == 5 && !trophy ? 0xFFC830 : 0;
  content::IndexedImage image = palettise(iconPicture(art, which, kAwardSize, gold));
  if (tier < 5) recolour(image, tier * 72 + (trophy ? 36 : 180));
  if (gold != 0) recolour(image, 0, 1.0, 2.2);  // the dark ribbon brightened to gold
  return image;
}

content::IndexedImage logo(const std::filesystem::path& game) {
  content::RgbaImage canvas{kLogoWidth, kLogoHeight, std::vector<uint32_t>(kLogoWidth * kLogoHeight, 0)};
  const std::filesystem::path art = game / "art";
  const content::RgbaImage banner = iconPicture(art, Icon::Banner, kLogoWidth);
  const int bannerY = 20;
  drawOver(canvas, banner, 0, bannerY);
  const content::RgbaImage star = iconPicture(art, Icon::Star, 20);
  drawOver(canvas, star, 4, 2);
  drawOver(canvas, star, kLogoWidth - 24, 2);
  // The two runners stand on the banner's ends.
  auto runnerPose = [&](int runner) {
    return toRgba(crop(runnerSheet(art, 0, runner), 0, 0, kRunnerWidth, kRunnerHeight));
  };
  drawOver(canvas, runnerPose(0), 10, kLogoHeight - kRunnerHeight - 2);
  drawOver(canvas, runnerPose(1), kLogoWidth - 10 - kRunnerWidth, kLogoHeight - kRunnerHeight - 2);
  // The title in the counter's face: white ink, dark brown outline.
  const std::u16string title = u"Twin Runners";
  const std::set<char16_t> codes(title.begin(), title.end());
  const GlyphSetSource& face = glyphSetSources().front();
  const BuiltGlyphSet glyphs = buildGlyphSet(game / "fonts" / face.font, codes, 0, face.style);
  int width = 0;
  for (char16_t c : title)
    for (const auto& g : glyphs.font.glyphs) width += g.code == c ? g.advance : 0;
  int x = (kLogoWidth - width) / 2;
  const int y = bannerY + (banner.height - glyphs.font.metrics.height) / 2 - 4;
  for (char16_t c : title) {
    for (const auto& g : glyphs.font.glyphs) {
      if (g.code != c) continue;
      if (!g.empty) {
        content::RgbaImage ink{g.width, g.height, {}};
        for (int r = 0; r < g.height; ++r)
          for (int q = 0; q < g.width; ++q)
            ink.pixels.push_back(glyphs.sheet.palette[glyphs.sheet.indices[(g.sheetY + r) * glyphs.sheet.width +
                                                                           g.sheetX + q]]);
        drawOver(canvas, ink, x + g.xOffset, y + g.yOffset);
      }
      x += g.advance;
    }
  }
  content::IndexedImage image = palettise(canvas, 254);
  const Spot& sp = spot("logo");
  paintSpot(image, sp.x, sp.y, sp.size, sp.colour);
  return image;
}

content::IndexedImage panel(int w, int h) {
  require(w >= 12 && h >= 12 && w <= 240 && h <= 320, "panel", "12 x 12 to 240 x 320");
  constexpr uint8_t kClear = 0, kFill = 1, kBorder = 2;
  content::IndexedImage image{w, h, std::vector<uint8_t>(static_cast<size_t>(w) * h, kFill),
                              {0x00000000, 0xFFE3CA83, 0xFF82451A}};
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const int dx = std::min(x, w - 1 - x), dy = std::min(y, h - 1 - y);
      if (dx + dy < 2) image.indices[y * w + x] = kClear;  // the cut corners
      else if (dx < 2 || dy < 2 || dx + dy < 4) image.indices[y * w + x] = kBorder;
    }
  }
  const Spot& sp = spot("panel");
  paintSpot(image, sp.x, sp.y, sp.size, sp.colour);
  return image;
}

}  // namespace gamecontent
