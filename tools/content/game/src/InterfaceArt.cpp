#include "InterfaceArt.h"

#include <cstdlib>
#include <map>

#include "Art.h"
#include "ContentError.h"
#include "ImageOps.h"
#include "InterfaceDrawing.h"

namespace gamecontent {

using content::FrameBox;
using content::FramePart;
using content::require;
using content::RgbaImage;
using Step = KitBuilder::Step;

namespace {

// The boxes' colours: light tan, dark brown (texts and borders), cream
// rows, and the highlight's gold.
constexpr uint32_t kTan = 0xE3CA83;
constexpr uint32_t kBrown = 0x82451A;
constexpr uint32_t kCream = 0xF6E7B8;
constexpr uint32_t kGold = 0xFFD040;
constexpr uint32_t kTierColours[5] = {0x4CAF50, 0x3F7FD0, 0x9C5FC8, 0xE08A2C, 0xD04848};

// --- Layout: positions the game reads from the boxes and the spot table ---

// Rows of the lists (decoration frames 0 and 1), answer buttons (frame 2).
constexpr int kRowW = 176, kRowH = 26;
constexpr int kBoardRowW = 160, kBoardRowH = 24;
constexpr int kButtonW = 80, kButtonH = 24;
// A row's spot, from its top-left corner (left of any centred text).
constexpr int kRowSpotX = 5, kRowSpotY = 11;
// The main menu, options and language backdrop's list bounds, relative to
// the screen centre where the backdrop is drawn.
constexpr int kMenuListX = -90, kMenuListY = -50, kMenuListW = 180, kMenuListH = 196;
// The big panel (pause overlay and the backdrop of pages 3, 4, 5, 9, 10)
// and its list bounds.
constexpr int kPanelW = 224, kPanelH = 304;
constexpr int kPanelListX = -96, kPanelListY = -120, kPanelListW = 192, kPanelListH = 240;
// The level board (page 5): stage boxes, the back box.
constexpr int kStageSize = 40;
constexpr int kStageBoxes[5][2] = {{-76, -60}, {-20, -60}, {36, -60}, {-48, 0}, {8, 0}};
constexpr int kBackW = 96, kBackH = 24;
constexpr int kBoardBackX = -48, kBoardBackY = 56;
// The stage button: its three star boxes, the lock's place.
constexpr int kStarSize = 12;
constexpr int kStarBoxes[3][2] = {{2, 26}, {14, 26}, {26, 26}};
constexpr int kLockY = 6;
// Group pictures (page 4, level failed, awards) and where pages 3 and 4
// show them.
constexpr int kGroupW = 96, kGroupH = 56;
constexpr int kGroupX = -104, kGroupY = -98;
// The gallery: award boxes in four columns, the back box.
constexpr int kAwardBoxX = -96, kAwardBoxY = -116, kAwardColumn = 52, kAwardRow = 60;
constexpr int kGalleryBackX = -48, kGalleryBackY = 110;
// HUD: the counter's tab and the pause button.
constexpr int kCounterW = 64, kCounterH = 24;
constexpr int kPauseSize = 26;
// The help and about boards, the award board, the confirmation board.
constexpr int kBoardW = 200, kBoardH = 240, kBoardX = -100, kBoardY = -110;
constexpr int kAwardBoardH = 190, kAwardBoardY = -60;
constexpr int kConfirmW = 200, kConfirmH = 120;

const char* kPk2Sparkles = "sparkles-cut.bmp";
const char* kPk2Head = "rooster-head-cut.bmp";

RgbaImage withSpot(RgbaImage picture, int x, int y, const char* element) {
  paintSpotPixels(picture, x, y, interfaceSpot(element));
  return picture;
}

RgbaImage iconPicture(const std::filesystem::path& game, Icon which, int size) {
  return toRgba(icon(game / "art", which, size));
}

// A sparkle of the cut strip (ten 18 x 18 cells, 20 pixels apart).
RgbaImage sparkle(const std::filesystem::path& game, int cell) {
  static const RgbaImage strip = pk2Picture(game, kPk2Sparkles);
  RgbaImage out = blankPicture(18, 18);
  for (int r = 0; r < 18; ++r)
    for (int c = 0; c < 18; ++c) out.pixels[r * 18 + c] = strip.pixels[(1 + r) * strip.width + 1 + cell * 20 + c];
  return out;
}

RgbaImage runnerPose(const std::filesystem::path& game, int tier, int runner, Pose pose) {
  const content::IndexedImage sheet = runnerSheet(game / "art", tier, runner);
  return toRgba(crop(sheet, static_cast<int>(pose) * kRunnerWidth, 0, kRunnerWidth, kRunnerHeight));
}

// The far background of a group's terrain cut to w x h from its middle;
// group 4's far layer is black, so its picture is a moonlit night.
RgbaImage groupPicture(const std::filesystem::path& game, int group, int w, int h) {
  RgbaImage out = blankPicture(w, h);
  if (group < 4) {
    const RgbaImage far = toRgba(farImage(game / "art", farImages().at(group)));
    // Every third pixel of a (3w x 3h) region, so the whole view shows.
    const int x0 = (far.width - 2 * w) / 2, y0 = (far.height - 2 * h) / 2 + 40;
    for (int r = 0; r < h; ++r)
      for (int c = 0; c < w; ++c) out.pixels[r * w + c] = far.pixels[(y0 + 2 * r) * far.width + x0 + 2 * c];
  } else {
    fillRect(out, 0, 0, w, h, 0x000000);
    fillEllipse(out, w - 28, 6, 16, 16, 0xF0F0D0);
    fillEllipse(out, w - 24, 4, 14, 14, 0x000000);
  }
  // The terrain's ground along the bottom.
  const content::IndexedImage tiles = tileSheet(game / "art", group);
  const RgbaImage tile = toRgba(crop(tiles, 0, 0, kTileSize, kTileSize));
  for (int c = 0; c < w; c += kTileSize) drawOver(out, tile, c, h - kTileSize);
  outlineRect(out, 0, 0, w, h, 1, kBrown);
  return out;
}

RgbaImage arrowPicture(uint32_t colour, bool up) {
  RgbaImage out = blankPicture(18, 18);
  fillEllipse(out, 0, 0, 18, 18, colour);
  for (int r = 0; r < 7; ++r) {
    const int y = up ? 5 + r : 12 - r;
    fillRect(out, 9 - r, y, 2 * r, 1, 0xFFFFFF);
  }
  return out;
}

// --- The sets -------------------------------------------------------------

// 0x401 with 0x400: the logo, its stars twinkling.
InterfaceKit logoKit(const std::filesystem::path& game, int sheet) {
  KitBuilder k(sheet);
  const int logoSprite = k.add(toRgba(logo(game)));
  const int spark = k.add(sparkle(game, 0));
  k.frame({{logoSprite, 0, 0}});
  k.frame({{logoSprite, 0, 0}, {spark, 5, 3}, {spark, kLogoWidth - 23, 3}});
  k.animation(-1, {{0, 700}, {1, 200}});
  return k.finish();
}

// 0x402: the picture shown while a scene loads.
InterfaceKit loadingKit(const std::filesystem::path& game, int sheet) {
  KitBuilder k(sheet);
  RgbaImage picture = boxPicture(120, 48, kTan, kBrown);
  drawOver(picture, runnerPose(game, 0, 0, Pose::Walk2), 10, 9);
  drawOver(picture, runnerPose(game, 0, 1, Pose::Walk6), 94, 9);
  const RgbaImage star = toRgba(icon(game / "art", Icon::Star, 14));
  for (int i = 0; i < 3; ++i) drawOver(picture, star, 36 + 17 * i, 17);
  k.add(picture);
  return k.finish();
}

// 0x403: the tile behind the game area.
InterfaceKit backgroundKit(int sheet) {
  KitBuilder k(sheet);
  RgbaImage tile = blankPicture(32, 32);
  fillRect(tile, 0, 0, 32, 32, 0x6B3A17);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x)
      if ((std::abs(x - 16) + std::abs(y - 16)) % 16 == 0) fillRect(tile, x, y, 1, 1, 0x7A4520);
  k.add(tile);
  return k.finish();
}

// 0xC05 with 0xC00: the rows, answer buttons, press looks and highlights.
InterfaceKit decorationKit(int sheet) {
  KitBuilder k(sheet);
  const int row = k.add(withSpot(boxPicture(kRowW, kRowH, kCream, kBrown), kRowSpotX, kRowSpotY, "row"));
  const int boardRow = k.add(withSpot(boxPicture(kBoardRowW, kBoardRowH, 0xEED9A0, kBrown), kRowSpotX, kRowSpotY - 1, "row"));
  const int button = k.add(withSpot(boxPicture(kButtonW, kButtonH, 0xBFE3A0, kBrown), kRowSpotX, kRowSpotY - 1, "button"));
  const int disabled = k.add(boxPicture(kBoardRowW, kBoardRowH, 0xC8C0B0, 0x8A8070));
  const int pressRow = k.add(ringPicture(kRowW, kRowH, 3, kGold));
  const int pressBoard = k.add(ringPicture(kBoardRowW, kBoardRowH, 3, kGold));
  const int pressButton = k.add(ringPicture(kButtonW, kButtonH, 3, kGold));
  const int ring = k.add(ringPicture(kStageSize + 4, kStageSize + 4, 3, kGold), -2, -2);
  const int backRing = k.add(ringPicture(kBackW + 4, kBackH + 4, 3, kGold), -2, -2);
  // Frames 0 and 1 carry the arrow boxes 1 to 4 (the lists fit their
  // bounds, so they are zero-size) and the row's touch box 5.
  k.frame({{row, 0, 0}}, typedBoxes(6, {{5, 0, 0, kRowW, kRowH}}));
  k.frame({{boardRow, 0, 0}}, typedBoxes(6, {{5, 0, 0, kBoardRowW, kBoardRowH}}));
  k.frame({{button, 0, 0}});
  k.frame({{disabled, 0, 0}});
  k.frame({{pressRow, 0, 0}});     // 4
  k.frame({{pressBoard, 0, 0}});   // 5
  k.frame({{pressButton, 0, 0}});  // 6
  k.frame({{ring, 0, 0}});         // 7
  k.frame({{backRing, 0, 0}});     // 8
  k.frame({});                     // 9: nothing
  k.animation(-1, {{4, 150}, {9, 150}});  // 0: press on a row
  k.animation(-1, {{5, 150}, {9, 150}});  // 1: press on a board row
  k.animation(-1, {{7, 300}, {9, 150}});  // 2: highlight on a stage or award box
  k.animation(-1, {{8, 300}, {9, 150}});  // 3: highlight on a back box
  k.animation(-1, {{6, 150}, {9, 150}});  // 4: press on an answer button
  k.animation(-1, {{9, 1000}});           // 5: no highlight
  return k.finish();
}

// 0xC06 with 0xC01: the balloon that comes down to a fallen runner
// (animation 1) and carries it off (animation 2, its box 0 the basket).
InterfaceKit balloonKit(int sheet) {
  KitBuilder k(sheet);
  RgbaImage balloon = blankPicture(24, 46);
  fillEllipse(balloon, 0, 0, 24, 30, 0xD03030);
  fillEllipse(balloon, 5, 4, 6, 9, 0xF08080);
  fillRect(balloon, 6, 29, 1, 10, kBrown);
  fillRect(balloon, 17, 29, 1, 10, kBrown);
  fillRect(balloon, 5, 38, 14, 8, 0xA0652A);
  outlineRect(balloon, 5, 38, 14, 8, 1, kBrown);
  const int b = k.add(balloon);
  constexpr int kRestY = -78;  // the basket's bottom 32 pixels above the runner's feet
  for (int f = 0; f < 8; ++f) k.frame({{b, -4, kRestY - 60 + 60 * f / 7}});
  k.frame({{b, -4, kRestY}}, {{0, -32, 16, 32, false, 0}});
  std::vector<Step> down;
  for (int f = 0; f < 8; ++f) down.push_back({f, 90});
  std::vector<Step> up;
  for (int s = 0; s < 10; ++s) up.push_back({8, 40, 0, -3 * s});
  k.animation(-1, {{8, 1000}});  // 0: waiting
  k.animation(1, down);          // 1: coming down
  k.animation(-1, up);           // 2: rising, endlessly
  return k.finish();
}

// 0xC07 with 0xC02: the play HUD.
InterfaceKit hudKit(const std::filesystem::path& game, int sheet) {
  KitBuilder k(sheet);
  const int counter = k.add(withSpot(boxPicture(kCounterW, kCounterH, 0xA0652A, kTan), 4, 11, "counter"));
  RgbaImage pause = iconPicture(game, Icon::Button, kPauseSize);
  fillRect(pause, 9, 8, 3, 10, 0xFFFFFF);
  fillRect(pause, 15, 8, 3, 10, 0xFFFFFF);
  const int pauseSprite = k.add(withSpot(pause, 5, 12, "pause"));
  int up[5], down[5];
  for (int t = 0; t < 5; ++t) up[t] = k.add(arrowPicture(kTierColours[t], true));
  for (int t = 0; t < 5; ++t) down[t] = k.add(arrowPicture(kTierColours[t], false));
  const int results = k.add(withSpot(boxPicture(80, 24, kCream, kBrown), 4, 11, "counter"));
  k.frame({{counter, -kCounterW / 2, 0}}, typedBoxes(1, {{0, -30, 3, 60, 18}}));  // 0, at (120, 0)
  k.frame({{pauseSprite, -kPauseSize - 3, -kPauseSize - 3}}, typedBoxes(6, {{5, -32, -32, 32, 32}}));  // 1, at (240, 320)
  for (int t = 0; t < 5; ++t) {
    // Runner A's controls, drawn at (0, 160): its view is the lower half;
    // a touch on the left half jumps (box 1), on the right half drops (box 2).
    k.frame({{up[t], 4, 138}, {down[t], 184, 138}}, typedBoxes(3, {{1, 0, 0, 120, 160}, {2, 120, 0, 120, 160}}));
    // Runner B's, drawn at (240, 160), over the upper half (boxes 3 and 4).
    k.frame({{up[t], -236, -20}, {down[t], -22, -20}},
            typedBoxes(5, {{3, -240, -160, 120, 160}, {4, -120, -160, 120, 160}}));
  }
  k.frame({});                                                 // 12: nothing
  k.frame({{results, 0, 0}}, typedBoxes(1, {{0, 2, 3, 76, 18}}));  // 13: the count on the results panel
  k.animation(-1, {{0, 1000}});
  return k.finish();
}

// 0xC08 with 0xC03: the pick-ups. Animation 0 an item (box type 4), 1 a
// life (type 5), 2 an item again; 3 the sparkle of a gathered one, then
// nothing; 4 to 11 nothing. The origin is the bottom-left corner.
InterfaceKit pickupKit(const std::filesystem::path& game, int sheet) {
  KitBuilder k(sheet);
  // Every look fills the same 16 x 16 square, so that all frames share
  // one bounding box.
  auto square = [](const RgbaImage& picture) {
    RgbaImage out = blankPicture(16, 16);
    drawOver(out, picture, (16 - picture.width) / 2, 16 - picture.height);
    return out;
  };
  const int apple = k.add(square(iconPicture(game, Icon::Pickup, 16)));
  const content::IndexedImage head = palettise(pk2Picture(game, kPk2Head), 255);
  const int life = k.add(square(toRgba(scaleNearest(head, 12, 16))));
  int sparks[4];
  for (int i = 0; i < 4; ++i) sparks[i] = k.add(toRgba(scaleNearest(palettise(sparkle(game, 2 * i), 255), 16, 16)));
  const int none = k.add(blankPicture(16, 16));
  const FrameBox taken{0, -16, 0, 0, false, 6};  // zero-size: touches nothing
  k.frame({{apple, 0, -16}}, {{1, -15, 14, 14, false, 4}});
  k.frame({{life, 0, -16}}, {{1, -15, 14, 14, false, 5}});
  for (int i = 0; i < 4; ++i) k.frame({{sparks[i], 0, -16}}, {taken});
  k.frame({{none, 0, -16}}, {taken});  // 6
  k.animation(-1, {{0, 1000}});
  k.animation(-1, {{1, 1000}});
  k.animation(-1, {{0, 1000}});
  k.animation(1, {{2, 60}, {3, 60}, {4, 60}, {5, 60}, {6, 60}});
  for (int a = 4; a < 12; ++a) k.animation(-1, {{6, 1000}});
  return k.finish();
}

// 0xC09 with 0xC04: holders, panels and boards.
InterfaceKit panelKit(const std::filesystem::path& game, int sheet) {
  KitBuilder k(sheet);
  const int holder = k.add(boxPicture(84, 20, 0x5A3010, kTan));
  const int big = k.add(toRgba(panel(kPanelW, kPanelH)));
  RgbaImage emptyMarker = blankPicture(14, 14);
  fillEllipse(emptyMarker, 0, 0, 14, 14, 0x8A8070);
  fillEllipse(emptyMarker, 3, 3, 8, 8, 0xC8C0B0);
  k.put(2, emptyMarker);
  const int confirm = k.add(boxPicture(kConfirmW, kConfirmH, kTan, kBrown));
  const int board = k.add(boxPicture(kBoardW, kBoardH, kTan, kBrown));
  const int awardBoard = k.add(boxPicture(kBoardW, kAwardBoardH, kTan, kBrown));
  RgbaImage banner = boxPicture(192, 28, 0xC89B4E, kBrown);
  const RgbaImage star = iconPicture(game, Icon::Star, 16);
  drawOver(banner, star, 4, 6);
  drawOver(banner, star, 172, 6);
  const int bannerSprite = k.add(banner);
  int strips[5];
  for (int n = 5; n >= 1; --n) strips[5 - n] = k.add(boxPicture(4 + 18 * n, 22, 0xC89B4E, kBrown));
  RgbaImage header = boxPicture(208, 26, 0xC89B4E, kBrown);
  const RgbaImage trophy = iconPicture(game, Icon::Trophy, 20);
  drawOver(header, trophy, 4, 3);
  drawOver(header, trophy, 184, 3);
  const int resultsHeader = k.add(withSpot(header, 30, 12, "results"));

  auto slots = [](int n, int x0) {
    std::vector<BoxAt> b;
    for (int i = 0; i < n; ++i) b.push_back({i, x0 + 3 + 18 * i, 4, 14, 14});
    return b;
  };
  std::vector<BoxAt> holderA, holderB;
  for (int i = 0; i < 5; ++i) {
    holderA.push_back({i, 4 + 16 * i, 3, 14, 14});
    holderB.push_back({i, -80 + 16 * i, 3, 14, 14});
  }
  k.frame({{holder, 0, 0}}, typedBoxes(5, holderA));    // 0: life icons of A, at (0, 0)
  k.frame({{holder, -84, 0}}, typedBoxes(5, holderB));  // 1: of B, at (240, 0)
  k.frame({});                                          // 2
  k.frame({{confirm, -kConfirmW / 2, -kConfirmH / 2}},  // 3: a question with two answers
          typedBoxes(5, {{0, -92, -52, 184, 16}, {1, -92, -32, 184, 48}, {3, -88, 24, kButtonW, kButtonH},
                         {4, 8, 24, kButtonW, kButtonH}}));
  k.frame({{big, -kPanelW / 2, -kPanelH / 2}},  // 4: the big panel; box 0 the menus' bounds
          typedBoxes(1, {{0, kPanelListX, kPanelListY, kPanelListW, kPanelListH}}));
  k.frame({});  // 5
  k.frame({{big, -kPanelW / 2, -kPanelH / 2}, {resultsHeader, -104, -146}},  // 6: the results
          typedBoxes(4, {{0, -100, -106, 200, 56}, {1, -100, -44, 200, 70}, {2, -40, 34, 80, 24},
                         {3, -100, -142, 200, 20}}));
  k.frame({{board, kBoardX, kBoardY}},  // 7: about, one answer
          typedBoxes(4, {{0, -92, -102, 184, 16}, {1, -92, -80, 178, 170}, {3, -40, 98, kButtonW, kButtonH}}));
  k.frame({{board, kBoardX, kBoardY}},  // 8: help, two answers
          typedBoxes(5, {{0, -92, -102, 184, 16}, {1, -92, -80, 178, 170}, {3, -88, 98, kButtonW, kButtonH},
                         {4, 8, 98, kButtonW, kButtonH}}));
  // 9: the results list's title; clear below the middle, where the list's
  // rows are drawn before it.
  k.frame({{bannerSprite, -96, -60}}, typedBoxes(1, {{0, -92, -55, 184, 18}}));
  for (int a = 0; a < 5; ++a) k.frame({{strips[a], 0, 0}}, typedBoxes(5 - a, slots(5 - a, 0)));  // 10..14
  k.frame({{awardBoard, kBoardX, kAwardBoardY}},  // 15: an award's text, one answer
          typedBoxes(4, {{1, -92, -52, 178, 140}, {3, -40, 100, kButtonW, kButtonH}}));
  // 16: an award in the results tally (the results panel's place): box 1
  // the award's picture, box 0 its text below.
  k.frame({{big, -kPanelW / 2, -kPanelH / 2}, {resultsHeader, -104, -146}},
          typedBoxes(2, {{0, -100, 10, 200, 120}, {1, -100, -106, 200, 100}}));
  k.animation(-1, {{4, 1000}});
  return k.finish();
}

// 0x1005 with 0x1000: the closing panel; animations 1 and 3 draw the
// curtains shut, 2 and 4 hold them.
InterfaceKit closingKit(int sheet) {
  KitBuilder k(sheet);
  const int panelSprite = k.add(boxPicture(200, 136, kTan, kBrown));
  RgbaImage curtain = blankPicture(100, 136);
  for (int x = 0; x < 100; ++x) fillRect(curtain, x, 0, 1, 136, (x / 6) % 2 ? 0xA02020 : 0xC03030);
  fillRect(curtain, 0, 0, 100, 6, kGold);
  fillRect(curtain, 0, 128, 100, 8, kGold);
  const int c = k.add(curtain);
  k.frame({{panelSprite, -100, -68}});
  for (int f = 1; f <= 6; ++f) k.frame({{c, -200 + f * 100 / 6, -68}});
  for (int f = 1; f <= 6; ++f) k.frame({{c, 100 - f * 100 / 6, -68, 2}});
  k.frame({});  // 13
  k.animation(-1, {{13, 1000}});
  k.animation(1, {{1, 80}, {2, 80}, {3, 80}, {4, 80}, {5, 80}, {6, 80}});
  k.animation(-1, {{6, 1000}});
  k.animation(1, {{7, 80}, {8, 80}, {9, 80}, {10, 80}, {11, 80}, {12, 80}});
  k.animation(-1, {{12, 1000}});
  return k.finish();
}

// The award codes of the gallery's boxes, in box order.
constexpr int kAwardOrder[12] = {4, 3, 10, 9, 2, 1, 8, 7, 0, 5, 6, 11};

// 0x1006 with 0x1001: the menu pages' art. Its pictures 0 to 4 are the
// stage numbers, 5 the lock, 6 the star, 14 to 22 (even) the pictures of
// a group unlocked; the frames' own sprites fill the other indices.
InterfaceKit menuArtKit(const std::filesystem::path& game, int sheet) {
  KitBuilder k(sheet);
  for (int i = 0; i < 5; ++i) {
    const RgbaImage digit = textPicture(game, std::u16string(1, static_cast<char16_t>(u'1' + i)), 1);
    k.put(i, digit, (kStageSize - digit.width) / 2, 4);
  }
  // The lock on a dark disc, so that it stands out on the green button.
  RgbaImage lock = blankPicture(28, 28);
  fillEllipse(lock, 0, 0, 28, 28, 0x5A3010);
  const RgbaImage padlock = toRgba(icon(game / "art", Icon::Lock, 22));
  drawOver(lock, padlock, (28 - padlock.width) / 2, (28 - padlock.height) / 2);
  k.put(5, lock, (kStageSize - lock.width) / 2, kLockY);
  k.put(6, toRgba(icon(game / "art", Icon::Star, kStarSize)));
  for (int g = 0; g < 5; ++g) {
    RgbaImage picture = groupPicture(game, g, kGroupW, kGroupH);
    outlineRect(picture, 0, 0, kGroupW, kGroupH, 2, kGold);
    k.put(14 + 2 * g, picture);
  }
  // Frame 0: the group slot before a group is chosen.
  RgbaImage unknown = boxPicture(kGroupW, kGroupH, 0x6B3A17, kBrown);
  const RgbaImage mark = scaleUp(textPicture(game, u"?", 1), 2);
  drawOver(unknown, mark, (kGroupW - mark.width) / 2, (kGroupH - mark.height) / 2);
  const int unknownSprite = k.add(unknown);
  k.frame({{unknownSprite, kGroupX, kGroupY}});
  // Frames 1 to 5: a tier's band (box 0: the list's bounds); 6 to 10: its
  // runners and ribbon beside the group picture.
  const RgbaImage star = iconPicture(game, Icon::Star, 18);
  for (int t = 0; t < 5; ++t) {
    RgbaImage band = boxPicture(208, 40, kTierColours[t], kBrown);
    drawOver(band, runnerPose(game, t, 0, Pose::Walk1), 8, 5);
    drawOver(band, runnerPose(game, t, 1, Pose::Walk5), 184, 5);
    const int stars = t + 1;
    for (int s = 0; s < stars; ++s) drawOver(band, star, 104 - stars * 10 + 20 * s + 1, 11);
    const int b = k.add(band);
    k.frame({{b, -104, -144}}, typedBoxes(1, {{0, -96, -40, 192, 180}}));
  }
  for (int t = 0; t < 5; ++t) {
    RgbaImage side = boxPicture(96, 56, kCream, kBrown);
    drawOver(side, runnerPose(game, t, 0, Pose::Jump), 8, 13);
    drawOver(side, runnerPose(game, t, 1, Pose::Jump), 28, 13);
    drawOver(side, toRgba(award(game / "art", t)), 50, 8);
    const int s = k.add(side);
    k.frame({{s, 8, kGroupY}});
  }
  // Frame 11: the level board (boxes 0 to 4 the stages, 5 the back item).
  RgbaImage board = boxPicture(208, 180, kTan, kBrown);
  const RgbaImage back = boxPicture(kBackW, kBackH, 0xBFE3A0, kBrown);
  drawOver(board, back, kBoardBackX + 104, kBoardBackY + 90);
  const int boardSprite = k.add(board);
  std::vector<BoxAt> stageBoxes;
  for (int i = 0; i < 5; ++i) stageBoxes.push_back({i, kStageBoxes[i][0], kStageBoxes[i][1], kStageSize, kStageSize});
  stageBoxes.push_back({5, kBoardBackX, kBoardBackY, kBackW, kBackH});
  k.frame({{boardSprite, -104, -90}}, typedBoxes(6, stageBoxes));
  // Frame 12: a stage button (boxes 0 to 2: its stars).
  const int button = k.add(withSpot(iconPicture(game, Icon::Button, kStageSize), 4, 19, "stage"));
  std::vector<BoxAt> starBoxes;
  for (int j = 0; j < 3; ++j) starBoxes.push_back({j, kStarBoxes[j][0], kStarBoxes[j][1], kStarSize, kStarSize});
  k.frame({{button, 0, 0}}, typedBoxes(3, starBoxes));
  // Frame 13: the gallery (boxes 0 to 11 the awards, 12 the back item,
  // where it is clear: the page fills that box itself).
  RgbaImage gallery = toRgba(panel(kPanelW, kPanelH));
  fillRect(gallery, 8, 8, kPanelW - 16, 22, 0xC89B4E);
  const RgbaImage trophy = iconPicture(game, Icon::Trophy, 20);
  for (int i = 0; i < 3; ++i) drawOver(gallery, trophy, 72 + 30 * i, 9);
  clearRect(gallery, kGalleryBackX + 112, kGalleryBackY + 152, kBackW, kBackH);
  const int gallerySprite = k.add(withSpot(gallery, 12, 24, "gallery"));
  std::vector<BoxAt> awardBoxes;
  for (int i = 0; i < 12; ++i) {
    awardBoxes.push_back({i, kAwardBoxX + kAwardColumn * (i % 4), kAwardBoxY + kAwardRow * (i / 4), kAwardSize, kAwardSize});
  }
  awardBoxes.push_back({12, kGalleryBackX, kGalleryBackY, kBackW, kBackH});
  k.frame({{gallerySprite, -kPanelW / 2, -kPanelH / 2}}, typedBoxes(13, awardBoxes));
  // Frame 14: an award not yet won; 15 to 26: the awards of the gallery's
  // boxes.
  RgbaImage locked = greyed(toRgba(award(game / "art", 6)));
  drawOver(locked, toRgba(icon(game / "art", Icon::Lock, 18)), 11, 11);
  const int lockedSprite = k.add(locked);
  k.frame({{lockedSprite, 0, 0}});
  for (int i = 0; i < 12; ++i) k.frame({{k.add(toRgba(award(game / "art", kAwardOrder[i]))), 0, 0}});
  k.animation(-1, {{0, 1000}});
  return k.finish();
}

// 0x1007 with 0x1002: the group pictures (images 0, 2, 4, 6, 8), the
// level-failed picture (10); frames 0 to 4 show a group, 5 its border.
InterfaceKit groupKit(const std::filesystem::path& game, int sheet) {
  KitBuilder k(sheet);
  for (int g = 0; g < 5; ++g) k.put(2 * g, groupPicture(game, g, kGroupW, kGroupH));
  RgbaImage failed = boxPicture(kGroupW, kGroupH, 0x402020, kBrown);
  k.put(10, failed);
  const int border = k.add(ringPicture(kGroupW + 4, kGroupH + 4, 2, kBrown));
  for (int g = 0; g < 5; ++g) k.frame({{2 * g, kGroupX, kGroupY}});
  k.frame({{border, kGroupX - 2, kGroupY - 2}});
  k.animation(-1, {{0, 1000}});
  return k.finish();
}

// 0x1008 with 0x1003: the backdrops of the help and about pages (frame 0)
// and of an award's page (1), each clear over its box 0 where the page
// fills a rectangle; frames 6 to 10 the pictures shown at box 5.
InterfaceKit boardArtKit(const std::filesystem::path& game, int sheet) {
  KitBuilder k(sheet);
  RgbaImage help = toRgba(farImage(game / "art", farImages().at(1)));
  clearRect(help, 120 + kBoardX, 160 + kBoardY, kBoardW, kBoardH);
  const int helpSprite = k.add(withSpot(help, 4, 4, "board"));
  RgbaImage awardPage = toRgba(farImage(game / "art", farImages().at(2)));
  clearRect(awardPage, 120 + kBoardX, 160 + kAwardBoardY, kBoardW, kAwardBoardH);
  fillRect(awardPage, 96, 40, 48, 48, kTan);
  outlineRect(awardPage, 96, 40, 48, 48, 2, kBrown);
  const int awardSprite = k.add(withSpot(awardPage, 4, 4, "board"));
  k.frame({{helpSprite, -120, -160}}, typedBoxes(6, {{0, kBoardX, kBoardY, kBoardW, kBoardH}, {5, -20, -156, 40, 40}}));
  k.frame({{awardSprite, -120, -160}},
          typedBoxes(6, {{0, kBoardX, kAwardBoardY, kBoardW, kAwardBoardH}, {3, -20, -116, 40, 40}, {5, 60, -116, 40, 40}}));
  for (int f = 2; f < 6; ++f) k.frame({});
  const RgbaImage pictures[5] = {runnerPose(game, 0, 0, Pose::Jump), runnerPose(game, 0, 1, Pose::Fall),
                                 iconPicture(game, Icon::Pickup, 32), iconPicture(game, Icon::Star, 32),
                                 iconPicture(game, Icon::Trophy, 32)};
  for (const RgbaImage& p : pictures) k.frame({{k.add(p, (40 - p.width) / 2, (40 - p.height) / 2), 0, 0}});
  k.animation(-1, {{0, 1000}});
  return k.finish();
}

// 0x1009 with 0x1004: the backdrop of the main menu, options and
// language pages: the fields, the logo, box 0 the list's bounds.
InterfaceKit menuBackdropKit(const std::filesystem::path& game, int sheet) {
  KitBuilder k(sheet);
  RgbaImage backdrop = toRgba(farImage(game / "art", farImages().at(0)));
  drawOver(backdrop, toRgba(logo(game)), (240 - kLogoWidth) / 2, 8);
  const int b = k.add(withSpot(backdrop, 4, 4, "backdrop"));
  k.frame({{b, -120, -160}}, typedBoxes(1, {{0, kMenuListX, kMenuListY, kMenuListW, kMenuListH}}));
  k.animation(-1, {{0, 1000}});
  return k.finish();
}

InterfaceKit buildKit(const std::filesystem::path& game, int spritesId, int sheet) {
  switch (spritesId) {
    case 0x401: return logoKit(game, sheet);
    case 0x402: return loadingKit(game, sheet);
    case 0x403: return backgroundKit(sheet);
    case 0xC05: return decorationKit(sheet);
    case 0xC06: return balloonKit(sheet);
    case 0xC07: return hudKit(game, sheet);
    case 0xC08: return pickupKit(game, sheet);
    case 0xC09: return panelKit(game, sheet);
    case 0x1005: return closingKit(sheet);
    case 0x1006: return menuArtKit(game, sheet);
    case 0x1007: return groupKit(game, sheet);
    case 0x1008: return boardArtKit(game, sheet);
    case 0x1009: return menuBackdropKit(game, sheet);
    default: break;
  }
  throw content::ContentError("sprite set " + std::to_string(spritesId), "is no interface set");
}

}  // namespace

const std::vector<InterfaceSetIds>& interfaceSets() {
  static const std::vector<InterfaceSetIds> sets = {
      {0x400, 0x401, 4},   {-1, 0x402, 5},      {-1, 0x403, 6},      {0xC00, 0xC05, 10},  {0xC01, 0xC06, 11},
      {0xC02, 0xC07, 12},  {0xC03, 0xC08, 13},  {0xC04, 0xC09, 14},  {0x1000, 0x1005, 10}, {0x1001, 0x1006, 11},
      {0x1002, 0x1007, 12}, {0x1003, 0x1008, 13}, {0x1004, 0x1009, 14},
  };
  return sets;
}

const InterfaceKit& interfaceKit(const std::filesystem::path& game, int spritesId) {
  static std::map<int, InterfaceKit> built;
  if (auto it = built.find(spritesId); it != built.end()) return it->second;
  for (const InterfaceSetIds& s : interfaceSets()) {
    if (s.sprites == spritesId) return built[spritesId] = buildKit(game, spritesId, s.sheetIndex);
  }
  throw content::ContentError("sprite set " + std::to_string(spritesId), "is no interface set");
}

uint32_t interfaceSpot(const std::string& element) {
  static const std::map<std::string, uint32_t> colours = {
      {"row", 0x28C870},     {"button", 0x70F018}, {"backdrop", 0xF83090}, {"stage", 0x0860F8},
      {"counter", 0xE81878}, {"pause", 0x98F8E0},  {"results", 0x5808C8},  {"gallery", 0xB8E808},
      {"board", 0x1838A0},
  };
  if (auto it = colours.find(element); it != colours.end()) return it->second | 0xFF000000;
  return spot(element.c_str()).colour | 0xFF000000;
}

namespace {

// The spot of sprite `sprite` of a kit: its position in the sprite's image.
const SpriteSpot& kitSpot(const InterfaceKit& kit, int sprite, uint32_t colour) {
  for (const SpriteSpot& s : kit.spots) {
    if (s.sprite == sprite && s.colour == colour) return s;
  }
  throw content::ContentError("sprite " + std::to_string(sprite), "carries no such spot");
}

// The first row's top-left corner of a list in bounds (x, y, w, h) with
// `count` rows of w0 x h0.
std::pair<int, int> firstRow(int x, int y, int w, int h, int count, int w0, int h0) {
  const int visible = std::min(h / h0, count);
  const int gap = (h - visible * h0) / (visible + 1);
  return {x + (w - w0) / 2, y + gap};
}

}  // namespace

std::vector<ScreenSpot> screenSpots(const std::filesystem::path& game) {
  std::vector<ScreenSpot> out;
  const int cx = 120, cy = 160;
  // The logo scene: the logo centred.
  {
    const InterfaceKit& kit = interfaceKit(game, 0x401);
    const SpriteSpot& s = kitSpot(kit, 0, interfaceSpot("logo"));
    out.push_back({"logo.logo", (240 - kLogoWidth) / 2 + s.x, (320 - kLogoHeight) / 2 + s.y, s.colour});
  }
  // Pages 11, 2 and 6: the backdrop and the first row.
  const std::pair<int, int> lists[] = {{11, 5}, {2, 6}, {6, 3}};
  for (const auto& [page, rows] : lists) {
    const std::string p = "page" + std::to_string(page) + ".";
    out.push_back({p + "backdrop", 4, 4, interfaceSpot("backdrop")});
    const auto [rx, ry] = firstRow(cx + kMenuListX, cy + kMenuListY, kMenuListW, kMenuListH, rows, kRowW, kRowH);
    out.push_back({p + "row0", rx + kRowSpotX, ry + kRowSpotY, interfaceSpot("row")});
  }
  // Page 5: the big panel, the stage buttons, a locked stage's lock, an
  // unlocked stage's stars.
  out.push_back({"page5.panel", cx - kPanelW / 2 + spot("panel").x, cy - kPanelH / 2 + spot("panel").y, interfaceSpot("panel")});
  {
    const InterfaceKit& art = interfaceKit(game, 0x1006);
    const SpriteSpot& lock = kitSpot(art, 5, interfaceSpot("lock"));
    const SpriteSpot& star = kitSpot(art, 6, interfaceSpot("star"));
    const content::SpriteRecord& lockSprite = art.sprites.sprites.at(5);
    for (int i = 0; i < 5; ++i) {
      const int bx = cx + kStageBoxes[i][0], by = cy + kStageBoxes[i][1];
      const std::string n = std::to_string(i);
      out.push_back({"page5.stage" + n, bx + 4, by + 19, interfaceSpot("stage")});
      out.push_back({"page5.lock" + n, bx + lockSprite.x + lock.x, by + lockSprite.y + lock.y, lock.colour});
      for (int j = 0; j < 3; ++j) {
        out.push_back({"page5.star" + n + "." + std::to_string(j), bx + kStarBoxes[j][0] + star.x,
                       by + kStarBoxes[j][1] + star.y, star.colour});
      }
    }
  }
  // Pages 7 and 8 (help, about) and 21 (an award): the backdrop's corner.
  for (const char* p : {"page7.board", "page8.board", "page21.board"}) out.push_back({p, 4, 4, interfaceSpot("board")});
  out.push_back({"page22.gallery", cx - kPanelW / 2 + 12, cy - kPanelH / 2 + 24, interfaceSpot("gallery")});
  // The play HUD: the counter's tab at (120, 0), the pause button at (240, 320).
  out.push_back({"play.counter", cx - kCounterW / 2 + 4, 11, interfaceSpot("counter")});
  out.push_back({"play.pause", 240 - kPauseSize - 3 + 5, 320 - kPauseSize - 3 + 12, interfaceSpot("pause")});
  // The results panel's header.
  out.push_back({"results.header", cx - 104 + 30, cy - 146 + 12, interfaceSpot("results")});
  return out;
}

}  // namespace gamecontent
