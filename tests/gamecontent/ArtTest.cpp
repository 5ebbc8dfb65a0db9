// The art made from the picked files: far backgrounds, tile sheets, runner
// sheets and icons have the sizes and layouts the game draws, a
// transparent ground where they are drawn over others, and distinct looks
// per terrain, tier and runner; the image steps keep what they promise.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>

#include "Art.h"
#include "ContentError.h"
#include "ImageOps.h"
#include "Manifest.h"

namespace {

const std::filesystem::path kGame = std::filesystem::path(JME_SOURCE_DIR) / "tools/content/game";
const std::filesystem::path kArt = kGame / "art";

bool opaque(const content::IndexedImage& image, int x, int y) {
  return (image.palette.at(image.indices.at(y * image.width + x)) >> 24) == 0xFF;
}

// Pixels of the region that are opaque.
int opaqueCount(const content::IndexedImage& image, int x0, int y0, int w, int h) {
  int n = 0;
  for (int y = y0; y < y0 + h; ++y)
    for (int x = x0; x < x0 + w; ++x) n += opaque(image, x, y);
  return n;
}

void expectWellFormed(const content::IndexedImage& image) {
  EXPECT_EQ(image.indices.size(), static_cast<size_t>(image.width) * image.height);
  EXPECT_GE(image.palette.size(), 1u);
  EXPECT_LE(image.palette.size(), 256u);
  for (uint8_t i : image.indices) ASSERT_LT(i, image.palette.size());
  EXPECT_NO_THROW(content::writePng(image));
}

TEST(Art, FarBackgroundsAreOpaqueScreensListedInTheManifest) {
  const content::Manifest manifest = content::readManifest(kGame / "manifest.txt");
  ASSERT_EQ(gamecontent::farImages().size(), 4u);
  for (const auto& far : gamecontent::farImages()) {
    SCOPED_TRACE(far.file);
    const auto image = gamecontent::farImage(kArt, far);
    expectWellFormed(image);
    EXPECT_EQ(image.width, 240);
    EXPECT_EQ(image.height, 320);
    EXPECT_EQ(opaqueCount(image, 0, 0, 240, 320), 240 * 320);
    const content::ManifestResource* r = manifest.find(far.resourceId);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->generator, "game_far");
  }
}

// The far layer shows its picture round and round: the step from the last
// column to the first is no larger than the steps between the picture's
// own neighbouring columns (the cut pictures had a hard edge there).
TEST(Art, FarBackgroundsWrapRoundWithoutASeam) {
  const auto columnStep = [](const content::IndexedImage& image, int a, int b) {
    double sum = 0;
    for (int y = 0; y < image.height; ++y) {
      const uint32_t p = image.palette[image.indices[static_cast<size_t>(y) * image.width + a]];
      const uint32_t q = image.palette[image.indices[static_cast<size_t>(y) * image.width + b]];
      for (int shift = 0; shift < 24; shift += 8) sum += std::abs(int(p >> shift & 0xFF) - int(q >> shift & 0xFF));
    }
    return sum / image.height;
  };
  for (const auto& far : gamecontent::farImages()) {
    SCOPED_TRACE(far.file);
    const auto image = gamecontent::farImage(kArt, far);
    double largest = 0;
    for (int x = 1; x < image.width; ++x) largest = std::max(largest, columnStep(image, x - 1, x));
    EXPECT_LE(columnStep(image, image.width - 1, 0), largest);
  }
}

TEST(Art, TileSheetsAreOneRowOfTilesLookingDifferentPerTerrain) {
  std::set<std::vector<uint32_t>> palettes;
  for (int terrain = 0; terrain < gamecontent::kTerrains; ++terrain) {
    SCOPED_TRACE(terrain);
    const auto sheet = gamecontent::tileSheet(kArt, terrain);
    expectWellFormed(sheet);
    EXPECT_EQ(sheet.height, gamecontent::kTileSize);
    EXPECT_EQ(sheet.width, static_cast<int>(gamecontent::pickedTiles().size()) * gamecontent::kTileSize);
    // The fill tiles are solid; the edge pieces let the ground show through.
    int partly = 0;
    for (int t = 0; t * gamecontent::kTileSize < sheet.width; ++t) {
      const int n = opaqueCount(sheet, t * gamecontent::kTileSize, 0, gamecontent::kTileSize, gamecontent::kTileSize);
      EXPECT_GT(n, 0) << "tile " << t;
      partly += n < gamecontent::kTileSize * gamecontent::kTileSize;
    }
    EXPECT_GT(partly, 0);
    palettes.insert(sheet.palette);
  }
  EXPECT_EQ(palettes.size(), static_cast<size_t>(gamecontent::kTerrains));
  EXPECT_THROW(gamecontent::tileSheet(kArt, 5), content::ContentError);
}

TEST(Art, RunnerSheetsHoldEveryPoseAndDifferPerTierAndRunner) {
  std::set<std::vector<uint32_t>> palettes;
  const int poses = static_cast<int>(gamecontent::Pose::Count);
  for (int tier = 0; tier < 5; ++tier) {
    for (int runner = 0; runner < 2; ++runner) {
      SCOPED_TRACE(tier * 10 + runner);
      const auto sheet = gamecontent::runnerSheet(kArt, tier, runner);
      expectWellFormed(sheet);
      EXPECT_EQ(sheet.width, poses * gamecontent::kRunnerWidth);
      EXPECT_EQ(sheet.height, gamecontent::kRunnerHeight);
      for (int p = 0; p < poses; ++p) {
        const int n = opaqueCount(sheet, p * gamecontent::kRunnerWidth, 0, gamecontent::kRunnerWidth,
                                  gamecontent::kRunnerHeight);
        // A figure, on a transparent ground.
        EXPECT_GT(n, 40) << "pose " << p;
        EXPECT_LT(n, gamecontent::kRunnerWidth * gamecontent::kRunnerHeight * 3 / 4) << "pose " << p;
      }
      palettes.insert(sheet.palette);
    }
  }
  EXPECT_EQ(palettes.size(), 10u);
}

TEST(Art, IconsFitTheirSizeOnATransparentGround) {
  for (auto which : {gamecontent::Icon::Star, gamecontent::Icon::Lock, gamecontent::Icon::Button,
                     gamecontent::Icon::Pickup, gamecontent::Icon::Trophy, gamecontent::Icon::Ribbon,
                     gamecontent::Icon::Banner}) {
    for (int size : {16, 24, 40}) {
      SCOPED_TRACE(static_cast<int>(which) * 100 + size);
      const auto image = gamecontent::icon(kArt, which, size);
      expectWellFormed(image);
      EXPECT_EQ(std::max(image.width, image.height), size);
      EXPECT_EQ(image.palette[0], 0u);
      const int n = opaqueCount(image, 0, 0, image.width, image.height);
      EXPECT_GT(n, image.width * image.height / 4);
      EXPECT_LT(n, image.width * image.height);
    }
  }
  // The grey star is tinted gold: its most used colour is warm.
  const auto star = gamecontent::icon(kArt, gamecontent::Icon::Star, 24);
  const uint32_t c = star.palette.at(1);
  EXPECT_GT((c >> 16) & 0xFF, (c & 0xFF) + 60);
}

TEST(Art, AwardsAreTwelveDistinctPictures) {
  std::set<std::vector<uint32_t>> palettes;
  for (int a = 0; a < 12; ++a) {
    SCOPED_TRACE(a);
    const auto image = gamecontent::award(kArt, a);
    expectWellFormed(image);
    EXPECT_EQ(std::max(image.width, image.height), gamecontent::kAwardSize);
    EXPECT_GT(opaqueCount(image, 0, 0, image.width, image.height), image.width * image.height / 4);
    palettes.insert(image.palette);
  }
  EXPECT_EQ(palettes.size(), 12u);
  EXPECT_THROW(gamecontent::award(kArt, 12), content::ContentError);
}

TEST(Art, LogoAndPanelHaveTheirSizesAndShapes) {
  const auto logo = gamecontent::logo(kGame);
  expectWellFormed(logo);
  EXPECT_EQ(logo.width, gamecontent::kLogoWidth);
  EXPECT_EQ(logo.height, gamecontent::kLogoHeight);
  // The banner fills the middle; the corners between the stars are clear.
  EXPECT_TRUE(opaque(logo, gamecontent::kLogoWidth / 2, gamecontent::kLogoHeight / 2));
  EXPECT_FALSE(opaque(logo, gamecontent::kLogoWidth / 2, 0));

  const auto panel = gamecontent::panel(100, 50);
  expectWellFormed(panel);
  ASSERT_EQ(panel.width, 100);
  auto colour = [&](int x, int y) { return panel.palette[panel.indices[y * 100 + x]]; };
  EXPECT_EQ(colour(0, 0), 0u);                 // a cut corner
  EXPECT_EQ(colour(50, 0), 0xFF82451Au);       // the border
  EXPECT_EQ(colour(50, 1), 0xFF82451Au);
  EXPECT_EQ(colour(50, 25), 0xFFE3CA83u);      // the fill
  EXPECT_EQ(colour(99, 49), 0u);
  EXPECT_THROW(gamecontent::panel(8, 50), content::ContentError);
}

TEST(Art, KeyElementsCarryTheirSpotsInAColourOfTheirOwn) {
  struct Element {
    const char* name;
    content::IndexedImage image;
  };
  const std::vector<Element> elements = {
      {"logo", gamecontent::logo(kGame)},
      {"panel", gamecontent::panel(120, 60)},
      {"star", gamecontent::icon(kArt, gamecontent::Icon::Star, gamecontent::kSpotIconSize)},
      {"lock", gamecontent::icon(kArt, gamecontent::Icon::Lock, gamecontent::kSpotIconSize)},
  };
  ASSERT_EQ(gamecontent::spots().size(), elements.size());
  std::set<uint32_t> colours;
  for (const Element& e : elements) {
    SCOPED_TRACE(e.name);
    const gamecontent::Spot& s = gamecontent::spot(e.name);
    colours.insert(s.colour);
    int inSpot = 0, elsewhere = 0;
    for (int y = 0; y < e.image.height; ++y) {
      for (int x = 0; x < e.image.width; ++x) {
        const bool here = x >= s.x && x < s.x + s.size && y >= s.y && y < s.y + s.size;
        const bool match = e.image.palette[e.image.indices[y * e.image.width + x]] == s.colour;
        inSpot += here && match;
        elsewhere += !here && match;
      }
    }
    EXPECT_EQ(inSpot, s.size * s.size);
    EXPECT_EQ(elsewhere, 0);
  }
  EXPECT_EQ(colours.size(), elements.size());
  EXPECT_THROW(gamecontent::spot("nothing"), content::ContentError);
}

TEST(Art, PalettiseKeepsFewColoursExactAndMapsManyToTheNearest) {
  // Transparent only: one entry.
  auto clear = gamecontent::palettise(content::RgbaImage{2, 1, {0x00FFFFFF, 0x7F000000}});
  EXPECT_EQ(clear.palette, std::vector<uint32_t>{0});
  EXPECT_EQ(clear.indices, (std::vector<uint8_t>{0, 0}));
  // Two colours, the more used first.
  auto two = gamecontent::palettise(content::RgbaImage{3, 1, {0xFF102030, 0xFFF0E0D0, 0xFFF0E0D0}});
  EXPECT_EQ(two.palette, (std::vector<uint32_t>{0, 0xFFF0E0D0, 0xFF102030}));
  EXPECT_EQ(two.indices, (std::vector<uint8_t>{2, 1, 1}));
  // 4096 colours: at most 255 opaque entries, each pixel near its colour.
  content::RgbaImage many{64, 64, {}};
  for (uint32_t i = 0; i < 4096; ++i) many.pixels.push_back(0xFF000000 | (i & 0xF00) << 12 | (i & 0xF0) << 8 | (i & 0xF) << 4);
  const auto reduced = gamecontent::palettise(many);
  EXPECT_EQ(reduced.palette.size(), 256u);
  for (size_t i = 0; i < many.pixels.size(); i += 97) {
    const uint32_t a = many.pixels[i], b = reduced.palette[reduced.indices[i]];
    for (int shift : {0, 8, 16}) EXPECT_LE(std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)), 112);
  }
}

TEST(Art, RecolourTurnsColoursAndKeepsGreysAndTheGround) {
  content::IndexedImage image{1, 1, {0}, {0x00FF0000, 0xFFFF0000, 0xFF808080, 0xFF00FF00}};
  gamecontent::recolour(image, 120);
  EXPECT_EQ(image.palette[0], 0x00FF0000u);  // transparent: untouched
  EXPECT_EQ(image.palette[1], 0xFF00FF00u);  // red turned to green
  EXPECT_EQ(image.palette[2], 0xFF808080u);  // grey kept
  EXPECT_EQ(image.palette[3], 0xFF0000FFu);  // green turned to blue
}

TEST(Art, CropAndScaleMoveIndices) {
  content::IndexedImage image{4, 2, {0, 1, 2, 3, 4, 5, 6, 7}, std::vector<uint32_t>(8, 0xFF000000)};
  EXPECT_EQ(gamecontent::crop(image, 1, 0, 2, 2).indices, (std::vector<uint8_t>{1, 2, 5, 6}));
  EXPECT_EQ(gamecontent::scaleNearest(image, 2, 1).indices, (std::vector<uint8_t>{0, 2}));
  EXPECT_THROW(gamecontent::crop(image, 3, 0, 2, 1), content::ContentError);
  const auto half = gamecontent::scaleArea(content::RgbaImage{2, 1, {0xFF000000, 0x00FFFFFF}}, 1, 1);
  EXPECT_EQ(half.pixels, std::vector<uint32_t>{0x80000000});  // colour from the opaque pixel only
  EXPECT_THROW(gamecontent::readPng({1, 2, 3}, "x.png"), content::ContentError);
}

}  // namespace
