// The interface sets: every set the game requests is in the manifest with
// its sheet, the sets' frames and pictures are where the game looks for
// them, and the spots of the key elements show where the spot table says
// once the pages are put together as the game draws them.

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "AnimationSetWriter.h"
#include "ImageOps.h"
#include "InterfaceArt.h"
#include "Manifest.h"
#include "SpriteSetWriter.h"

namespace {

using content::RgbaImage;

const std::filesystem::path kGame = std::filesystem::path(JME_SOURCE_DIR) / "tools/content/game";

const gamecontent::InterfaceKit& kit(int sprites) { return gamecontent::interfaceKit(kGame, sprites); }

// A 240 x 320 screen that frames and sprites of the kits are drawn on, as
// the engine draws them: a sprite at its drawing position plus its own
// offset, a frame's parts at the frame's origin plus their offsets
// (mirrored parts are not used where the spots are).
struct Screen {
  RgbaImage image{240, 320, std::vector<uint32_t>(240 * 320, 0xFF000000)};

  void sprite(const gamecontent::InterfaceKit& k, int index, int x, int y) {
    const content::SpriteRecord& s = k.sprites.sprites.at(index);
    for (int r = 0; r < s.height; ++r) {
      for (int c = 0; c < s.width; ++c) {
        const uint32_t p = k.sheet.palette.at(k.sheet.indices.at((s.sheetY + r) * k.sheet.width + s.sheetX + c));
        const int sx = x + s.x + c, sy = y + s.y + r;
        if ((p >> 24) >= 128 && sx >= 0 && sy >= 0 && sx < 240 && sy < 320) image.pixels[sy * 240 + sx] = p | 0xFF000000;
      }
    }
  }
  void frame(const gamecontent::InterfaceKit& k, int index, int x, int y) {
    for (const content::FramePart& p : k.anims->frames.at(index).parts) sprite(k, p.sprite, x + p.dx, y + p.dy);
  }
  uint32_t at(int x, int y) const { return image.pixels.at(y * 240 + x); }
};

// Box `box` of frame `frame` (it has type `box`).
content::FrameBox box(const gamecontent::InterfaceKit& k, int frame, int box) {
  const content::FrameBox& b = k.anims->frames.at(frame).boxes.at(box);
  EXPECT_EQ(b.type, box);
  return b;
}

TEST(InterfaceArt, EverySetIsInTheManifestWithItsSheetAndPair) {
  const content::Manifest manifest = content::readManifest(kGame / "manifest.txt");
  std::set<int> ids;
  for (const auto& s : gamecontent::interfaceSets()) {
    SCOPED_TRACE(s.sprites);
    const content::ManifestResource* sprites = manifest.find(s.sprites);
    ASSERT_NE(sprites, nullptr);
    EXPECT_EQ(sprites->generator, "game_ui_sprites");
    EXPECT_EQ(sprites->sheet, s.sheetIndex);
    const content::ManifestResource* sheet = manifest.find((s.sprites & ~0x3FF) | s.sheetIndex);
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->generator, "game_ui_sheet");
    EXPECT_EQ(std::stoi(sheet->options.at("arg.set"), nullptr, 0), s.sprites);
    ids.insert(s.sprites);
    if (s.anims < 0) {
      EXPECT_FALSE(kit(s.sprites).anims.has_value());
      continue;
    }
    const content::ManifestResource* anims = manifest.find(s.anims);
    ASSERT_NE(anims, nullptr);
    EXPECT_EQ(anims->sprites, s.sprites);
    ids.insert(s.anims);
  }
  // Every interface id the game requests: 0x400 to 0x403, 0xC00 to 0xC09,
  // 0x1000 to 0x1009.
  for (int id = 0x400; id <= 0x403; ++id) EXPECT_TRUE(ids.count(id)) << id;
  for (int id = 0xC00; id <= 0xC09; ++id) EXPECT_TRUE(ids.count(id)) << id;
  for (int id = 0x1000; id <= 0x1009; ++id) EXPECT_TRUE(ids.count(id)) << id;
}

TEST(InterfaceArt, SetsAreWellFormedAndTheirSpotsKeepTheirOwnColours) {
  for (const auto& s : gamecontent::interfaceSets()) {
    SCOPED_TRACE(s.sprites);
    const auto& k = kit(s.sprites);
    EXPECT_EQ(k.sprites.sheet, s.sheetIndex);
    EXPECT_NO_THROW(content::writePng(k.sheet));
    EXPECT_NO_THROW(content::writeSpriteSet(k.sprites));
    for (const auto& sp : k.sprites.sprites) {
      EXPECT_GE(sp.width, 1);
      EXPECT_LE(sp.sheetX + sp.width, k.sheet.width);
      EXPECT_LE(sp.sheetY + sp.height, k.sheet.height);
    }
    if (k.anims) {
      EXPECT_NO_THROW(content::writeAnimationSet(*k.anims));
      for (const auto& f : k.anims->frames)
        for (const auto& p : f.parts) EXPECT_LT(p.sprite, static_cast<int>(k.sprites.sprites.size()));
    }
    // A spot colour is found only in its 2 x 2 squares.
    std::map<uint32_t, int> expected;
    for (const auto& spot : k.spots) expected[spot.colour] += 4;
    std::map<uint32_t, int> found;
    for (uint8_t i : k.sheet.indices) {
      const uint32_t c = k.sheet.palette.at(i);
      if (expected.count(c)) ++found[c];
    }
    EXPECT_EQ(found, expected);
  }
}

TEST(InterfaceArt, MenuPicturesSitAtTheIndicesTheGameShows) {
  const auto& art = kit(0x1006);
  // Stage numbers 0..4 and the lock (5) fit the 40 x 40 stage button; the
  // star (6) its 12 x 12 star boxes; the pictures of a group unlocked
  // (14 to 22, even) are group pictures.
  for (int i = 0; i <= 5; ++i) {
    const auto& s = art.sprites.sprites.at(i);
    EXPECT_GE(s.x, 0) << i;
    EXPECT_LE(s.x + s.width, 40) << i;
    EXPECT_LE(s.y + s.height, 40) << i;
  }
  EXPECT_EQ(art.sprites.sprites.at(6).width, 12);
  for (int i = 14; i <= 22; i += 2) EXPECT_EQ(art.sprites.sprites.at(i).width, 96) << i;
  const auto& groups = kit(0x1007);
  for (int i = 0; i <= 10; i += 2) {
    EXPECT_EQ(groups.sprites.sprites.at(i).width, 96) << i;
    EXPECT_EQ(groups.sprites.sprites.at(i).height, 56) << i;
  }
  // The board's five stage boxes and back box, the gallery's twelve award
  // boxes and back box lie on the screen and do not overlap.
  for (auto [frame, count] : {std::pair{11, 6}, std::pair{13, 13}}) {
    std::vector<content::FrameBox> boxes;
    for (int b = 0; b < count; ++b) boxes.push_back(box(art, frame, b));
    for (size_t i = 0; i < boxes.size(); ++i) {
      EXPECT_GE(120 + boxes[i].x, 0);
      EXPECT_LE(120 + boxes[i].x + boxes[i].width, 240);
      EXPECT_GE(160 + boxes[i].y, 0);
      EXPECT_LE(160 + boxes[i].y + boxes[i].height, 320);
      for (size_t j = 0; j < i; ++j) {
        const bool apart = boxes[i].x >= boxes[j].x + boxes[j].width || boxes[j].x >= boxes[i].x + boxes[i].width ||
                           boxes[i].y >= boxes[j].y + boxes[j].height || boxes[j].y >= boxes[i].y + boxes[i].height;
        EXPECT_TRUE(apart) << "frame " << frame << " boxes " << i << ", " << j;
      }
    }
  }
}

TEST(InterfaceArt, ListsFitTheirBoundsWithEveryRowVisible) {
  const auto& deco = kit(0xC05);
  const auto row = box(deco, 0, 5), boardRow = box(deco, 1, 5);
  struct List {
    int sprites, frame, rows;
    content::FrameBox row;
    int frameOfRow;
  };
  // Main menu (6 rows), language (5), options (3); tiers and groups (6,
  // board rows); the pause menu (3).
  const List lists[] = {{0x1009, 0, 6, row, 0}, {0x1006, 1, 6, boardRow, 1}, {0xC09, 4, 3, row, 0}};
  for (const List& l : lists) {
    const auto bounds = box(kit(l.sprites), l.frame, 0);
    EXPECT_GE(bounds.height / l.row.height, l.rows) << l.sprites;
    EXPECT_LE(l.row.width, bounds.width) << l.sprites;
  }
  // The level-failed and results lists take the lower half of the pause
  // panel's bounds: two rows.
  EXPECT_GE(box(kit(0xC09), 4, 0).height / 2 / row.height, 2);
}

TEST(InterfaceArt, SpotsShowWhereTheTableSays) {
  const auto& logo = kit(0x401);
  const auto& deco = kit(0xC05);
  const auto& panels = kit(0xC09);
  const auto& art = kit(0x1006);
  const auto& hud = kit(0xC07);
  std::map<std::string, Screen> screens;
  // The logo scene: the logo's frame 0 centred.
  {
    const auto& f = logo.sprites.sprites.at(0);
    screens["logo"].frame(logo, 0, (240 - f.width) / 2, (320 - f.height) / 2);
  }
  // Pages 11, 2 and 6: the backdrop, then the rows of the list in box 0.
  const auto bounds = box(kit(0x1009), 0, 0);
  const auto row = box(deco, 0, 5);
  for (auto [page, rows] : {std::pair{11, 5}, std::pair{2, 6}, std::pair{6, 3}}) {
    Screen& s = screens["page" + std::to_string(page)];
    s.frame(kit(0x1009), 0, 120, 160);
    const int visible = std::min(bounds.height / row.height, rows);
    const int gap = (bounds.height - visible * row.height) / (visible + 1);
    for (int i = 0; i < visible; ++i) {
      s.frame(deco, 0, 120 + bounds.x + (bounds.width - row.width) / 2, 160 + bounds.y + gap + i * (gap + row.height));
    }
  }
  // Page 5 of tier 0: the panel, the band, the board; stage 0 unlocked
  // with three stars, the others locked.
  {
    Screen& s = screens["page5"];
    s.frame(panels, 4, 120, 160);
    s.frame(art, 1, 120, 160);
    s.frame(art, 11, 120, 160);
    for (int i = 0; i < 5; ++i) {
      const auto b = box(art, 11, i);
      s.frame(art, 12, 120 + b.x, 160 + b.y);
      s.sprite(art, i == 0 ? 0 : 5, 120 + b.x, 160 + b.y);
      for (int j = 0; i == 0 && j < 3; ++j) {
        const auto star = box(art, 12, j);
        s.sprite(art, 6, 120 + b.x + star.x, 160 + b.y + star.y);
      }
    }
  }
  for (int page : {7, 8}) screens["page" + std::to_string(page)].frame(kit(0x1008), 0, 120, 160);
  screens["page21"].frame(kit(0x1008), 1, 120, 160);
  screens["page22"].frame(art, 13, 120, 160);
  screens["play"].frame(hud, 0, 120, 0);
  screens["play"].frame(hud, 1, 240, 320);
  screens["results"].frame(panels, 6, 120, 160);

  std::set<std::string> names;
  for (const auto& spot : gamecontent::screenSpots(kGame)) {
    SCOPED_TRACE(spot.name);
    EXPECT_TRUE(names.insert(spot.name).second);
    const std::string scene = spot.name.substr(0, spot.name.find('.'));
    ASSERT_TRUE(screens.count(scene));
    const Screen& s = screens[scene];
    // Stage 0 shows its stars, the others their locks.
    const bool star = spot.name.rfind("page5.star", 0) == 0;
    if (spot.name == "page5.lock0" || (star && spot.name.rfind("page5.star0.", 0) != 0)) continue;
    for (int dy = 0; dy < 2; ++dy)
      for (int dx = 0; dx < 2; ++dx) EXPECT_EQ(s.at(spot.x + dx, spot.y + dy), spot.colour) << dx << ", " << dy;
  }
  EXPECT_TRUE(names.count("logo.logo"));
  EXPECT_TRUE(names.count("page5.lock1"));
  EXPECT_TRUE(names.count("page5.star0.2"));
}

TEST(InterfaceArt, ResultsListFrameLeavesTheRowsClear) {
  const auto& panels = kit(0xC09);
  Screen s;
  s.frame(panels, 9, 120, 160);
  const auto bounds = box(panels, 4, 0);
  const int h = bounds.height / 2;
  for (int y = 160 + bounds.y + h; y < 160 + bounds.y + 2 * h; ++y)
    for (int x = 120 + bounds.x; x < 120 + bounds.x + bounds.width; ++x) ASSERT_EQ(s.at(x, y), 0xFF000000u) << x << ", " << y;
  // Its title box lies in the upper half.
  const auto title = box(panels, 9, 0);
  EXPECT_LE(title.y + title.height, bounds.y + h);
  EXPECT_GT(title.width, 0);
}

}  // namespace

namespace {

// The pick-ups are game objects: every frame one 16 x 16 square standing
// on its origin, box 0 the effect (an item in animation 0, a life in 1,
// touching nothing once gathered).
TEST(InterfaceArt, PickupsStandOnTheirOriginWithTheirEffectInBoxZero) {
  const auto& k = kit(0xC08);
  for (const auto& f : k.anims->frames) {
    ASSERT_EQ(f.parts.size(), 1u);
    const auto& s = k.sprites.sprites.at(f.parts[0].sprite);
    EXPECT_EQ(f.parts[0].dx + s.x, 0);
    EXPECT_EQ(f.parts[0].dy + s.y, -16);
    EXPECT_EQ(s.width, 16);
    EXPECT_EQ(s.height, 16);
    ASSERT_FALSE(f.boxes.empty());
    EXPECT_LE(f.boxes[0].type, 7);
  }
  auto firstBox = [&](int animation) { return k.anims->frames.at(k.anims->animations.at(animation).steps.at(0).frame).boxes.at(0); };
  EXPECT_EQ(firstBox(0).type, 4);
  EXPECT_EQ(firstBox(1).type, 5);
  EXPECT_EQ(firstBox(2).type, 4);
  for (const auto& step : k.anims->animations.at(3).steps) {
    const auto& b = k.anims->frames.at(step.frame).boxes.at(0);
    EXPECT_TRUE(b.width == 0 || b.height == 0);
  }
  EXPECT_EQ(k.anims->animations.size(), 12u);
}

}  // namespace
