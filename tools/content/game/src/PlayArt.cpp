#include "PlayArt.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "Art.h"
#include "BmpReader.h"
#include "ContentError.h"
#include "ImageOps.h"

namespace gamecontent {

using content::require;

namespace {

// The picked Pekka Kana 2 sheets' light cyan grounds, made transparent.
constexpr uint32_t kGrounds[] = {0x80CDD6, 0x94D1DE, 0x9BE8E0};

content::IndexedImage readCut(const std::filesystem::path& art, const char* file) {
  std::ifstream in(art / "pk2" / file, std::ios::binary);
  require(in.good(), file, "cannot be opened");
  const content::Bytes bytes(std::istreambuf_iterator<char>(in), {});
  auto image = content::readBmp(bytes, file);
  require(std::holds_alternative<content::IndexedImage>(image), file, "is not an 8-bit palette BMP");
  content::IndexedImage cut = std::get<content::IndexedImage>(std::move(image));
  for (uint32_t& entry : cut.palette) {
    if (std::find(std::begin(kGrounds), std::end(kGrounds), entry & 0xFFFFFF) != std::end(kGrounds)) entry = 0;
  }
  return cut;
}

// A source frame: its rectangle in the cut and the size it is scaled to.
struct SourceFrame {
  int x, y, width, height;
  int toWidth, toHeight;
};

// Frames side by side in cells of `cell`, each scaled and standing on its
// cell's bottom edge, centred across it.
content::RgbaImage frameRow(const content::IndexedImage& cut, const std::vector<SourceFrame>& frames, Size cell) {
  content::RgbaImage row{cell.width * static_cast<int>(frames.size()), cell.height,
                         std::vector<uint32_t>(static_cast<size_t>(cell.width) * frames.size() * cell.height, 0)};
  for (size_t i = 0; i < frames.size(); ++i) {
    const SourceFrame& f = frames[i];
    const content::RgbaImage picture =
        toRgba(scaleNearest(crop(cut, f.x, f.y, f.width, f.height), f.toWidth, f.toHeight));
    drawOver(row, picture, static_cast<int>(i) * cell.width + (cell.width - f.toWidth) / 2, cell.height - f.toHeight);
  }
  return row;
}

// `count` frames of the same size at a stride, from (x, y).
std::vector<SourceFrame> strip(int count, int x, int y, int stride, int w, int h, int toW, int toH) {
  std::vector<SourceFrame> frames;
  for (int i = 0; i < count; ++i) frames.push_back({x + i * stride, y, w, h, toW, toH});
  return frames;
}

// Sprites cut from a one-row sheet of `count` cells, drawn with their
// bottom-left (or, with `topLeft`, top-left) at the position.
content::SpriteSet cellSprites(int count, Size cell, bool topLeft = false) {
  content::SpriteSet set;
  for (int i = 0; i < count; ++i) {
    content::SpriteRecord s;
    s.x = 0;
    s.y = static_cast<int16_t>(topLeft ? 0 : -cell.height);
    s.sheetX = static_cast<int16_t>(i * cell.width);
    s.width = static_cast<int16_t>(cell.width);
    s.height = static_cast<int16_t>(cell.height);
    set.sprites.push_back(s);
  }
  return set;
}

// Durations every set uses: one frame, two frames, three frames.
const std::vector<int> kDurations = {kFrameMs, 2 * kFrameMs, 3 * kFrameMs};

// An animation over `frames`, each shown for duration index `duration`.
// With a speed (vx, vy) it moves that many pixels a step: step k sits at
// (k + 1) times the speed, so that an endless loop keeps moving across its
// wrap. `loops` as the format takes it (-1 endless).
content::Animation animation(const std::vector<int>& frames, int loops, int duration = 0, int vx = 0, int vy = 0) {
  content::Animation a;
  a.loops = loops;
  for (size_t k = 0; k < frames.size(); ++k) {
    const int n = static_cast<int>(k) + 1;
    a.steps.push_back({frames[k], vx * n, vy * n, duration});
  }
  return a;
}

// An animation set of one frame per sprite: one part and box 0 of `type`
// (when `box` is not empty), the part mirrored when `mirror` (moved back
// so that the frame keeps its bounding box).
content::AnimationSet framesOf(int sprites, Size cell, content::FrameBox box, bool mirror = false) {
  content::AnimationSet set;
  for (int i = 0; i < sprites; ++i) {
    content::AnimationFrame f;
    f.parts.push_back({i, mirror ? -cell.width : 0, 0, mirror ? 2 : 0});
    if (box.width > 0) f.boxes.push_back(box);
    set.frames.push_back(f);
  }
  set.durations = kDurations;
  return set;
}

}  // namespace

// --- Runners ---------------------------------------------------------------

content::SpriteSet runnerSprites() { return cellSprites(static_cast<int>(Pose::Count), {kRunnerWidth, kRunnerHeight}); }

content::AnimationSet runnerAnimations() {
  const Size cell{kRunnerWidth, kRunnerHeight};
  const content::FrameBox body{2, -(kRunnerHeight - 2), kRunnerWidth - 4, kRunnerHeight - 2, false, 0};
  content::AnimationSet set = framesOf(static_cast<int>(Pose::Count), cell, body);
  // Frame 11: the hurt pose upside down, knocked out.
  set.frames.push_back({{{static_cast<int>(Pose::Hurt), 0, kRunnerHeight, 1}}, {body}});
  const int walk = static_cast<int>(Pose::Walk0), jump = static_cast<int>(Pose::Jump);
  const int fall = static_cast<int>(Pose::Fall), hurt = static_cast<int>(Pose::Hurt), out = 11;
  auto jumpWith = [&](int blink) {
    content::Animation a;
    a.loops = 1;
    for (size_t k = 0; k < std::size(kJumpRise); ++k) {
      a.steps.push_back({blink >= 0 && k % 2 == 1 ? blink : jump, 0, kJumpRise[k], 0});
    }
    return a;
  };
  set.animations = {
      animation({walk}, -1),
      animation({walk, hurt}, -1, 1),
      animation({walk, walk + 1, walk + 2, walk + 3, walk + 4, walk + 5, walk + 6, walk + 7}, -1),
      animation({walk, hurt, walk + 2, hurt, walk + 4, hurt, walk + 6, hurt}, -1),
      jumpWith(-1),
      jumpWith(hurt),
      animation({fall}, -1, 0, 0, kFallStep),
      animation({fall, hurt}, -1, 0, 0, kFallStep),
      animation({jump, walk, jump, walk}, 1),
      {1,
       {{hurt, 0, 0, 0},
        {hurt, 0, -8, 0},
        {hurt, 0, -14, 0},
        {hurt, 0, -18, 0},
        {hurt, 0, -20, 0},
        {hurt, 0, -20, 0},
        {hurt, 0, -18, 0},
        {hurt, 0, -14, 0},
        {hurt, 0, -8, 0},
        {hurt, 0, 0, 0}}},
      animation({out}, -1, 0, 0, kFallStep),
      animation({out}, -1),
  };
  return set;
}

// --- Spots ------------------------------------------------------------------

const std::vector<Spot>& playSpots() {
  static const std::vector<Spot> all = {
      {"life", 7, 9, 2, 0xFF20E0C0},
      {"closing", 6, 6, 2, 0xFFD02090},
  };
  return all;
}

const Spot& playSpot(const char* element) { return findSpot(playSpots(), element); }

// --- Life icons and closing pictures ---------------------------------------

namespace {

constexpr Size kIcon{16, 14};
constexpr int kIcons = 5;
constexpr Size kClosing{96, 72};

// A runner's head and shoulders, as a life icon.
content::RgbaImage headOf(const std::filesystem::path& art, int tier, int runner, bool spent) {
  content::IndexedImage pose = crop(runnerSheet(art, tier, runner), 0, 0, kIcon.width, kIcon.height);
  if (spent) recolour(pose, 0, 0.0, 0.45, 0.0);
  return toRgba(pose);
}

}  // namespace

content::IndexedImage lifeIconSheet(const std::filesystem::path& art, int tier) {
  content::RgbaImage sheet{kIcon.width * kIcons, kIcon.height,
                           std::vector<uint32_t>(static_cast<size_t>(kIcon.width) * kIcons * kIcon.height, 0)};
  for (int runner = 0; runner < 2; ++runner) {
    drawOver(sheet, headOf(art, tier, runner, true), (2 * runner) * kIcon.width, 0);
    drawOver(sheet, headOf(art, tier, runner, false), (2 * runner + 1) * kIcon.width, 0);
  }
  content::IndexedImage image = palettise(sheet, 254);
  const Spot& sp = playSpot("life");
  paintSpot(image, kIcon.width + sp.x, sp.y, sp.size, sp.colour);
  // The same palette entry for the second icon's spot.
  const uint8_t entry = image.indices[static_cast<size_t>(sp.y) * image.width + kIcon.width + sp.x];
  for (int r = 0; r < sp.size; ++r)
    for (int c = 0; c < sp.size; ++c)
      image.indices[static_cast<size_t>(sp.y + r) * image.width + 3 * kIcon.width + sp.x + c] = entry;
  return image;
}

content::SpriteSet lifeIconSprites() { return cellSprites(kIcons, kIcon, true); }

content::AnimationSet lifeIconAnimations() {
  content::AnimationSet set = framesOf(kIcons, kIcon, {});
  for (int i = 0; i < kIcons; ++i) set.animations.push_back(animation({i}, -1));
  return set;
}

content::IndexedImage closingPicture(const std::filesystem::path& art, int tier, int runner) {
  content::RgbaImage board{kClosing.width, kClosing.height,
                           std::vector<uint32_t>(static_cast<size_t>(kClosing.width) * kClosing.height, 0xFFE3CA83)};
  for (int y = 0; y < kClosing.height; ++y) {
    for (int x = 0; x < kClosing.width; ++x) {
      const bool edge = x < 2 || y < 2 || x >= kClosing.width - 2 || y >= kClosing.height - 2;
      if (edge) board.pixels[static_cast<size_t>(y) * kClosing.width + x] = 0xFF82451A;
    }
  }
  // The hurt pose at twice its size, upside down, lying in the middle.
  content::IndexedImage pose =
      crop(runnerSheet(art, tier, runner), static_cast<int>(Pose::Hurt) * kRunnerWidth, 0, kRunnerWidth, kRunnerHeight);
  pose = scaleNearest(pose, 2 * kRunnerWidth, 2 * kRunnerHeight);
  content::RgbaImage upsideDown = toRgba(pose);
  for (int y = 0; y < upsideDown.height / 2; ++y) {
    std::swap_ranges(upsideDown.pixels.begin() + y * upsideDown.width,
                     upsideDown.pixels.begin() + (y + 1) * upsideDown.width,
                     upsideDown.pixels.begin() + (upsideDown.height - 1 - y) * upsideDown.width);
  }
  drawOver(board, upsideDown, (kClosing.width - upsideDown.width) / 2, (kClosing.height - upsideDown.height) / 2);
  content::IndexedImage image = palettise(board, 254);
  const Spot& sp = playSpot("closing");
  paintSpot(image, sp.x, sp.y, sp.size, sp.colour);
  return image;
}

content::SpriteSet closingSprites() {
  content::SpriteSet set = cellSprites(1, kClosing, true);
  set.sprites[0].x = static_cast<int16_t>(-kClosing.width / 2);
  set.sprites[0].y = static_cast<int16_t>(-kClosing.height / 2);
  return set;
}

// --- Barriers ----------------------------------------------------------------

namespace {

struct LookSource {
  const char* file;
  Size cell;
  std::vector<SourceFrame> frames;
  bool mirror;             // the source faces right; the barrier faces the runners
  content::FrameBox body;  // box 0 of every frame, type 0 (a hit)
};

const LookSource& lookSource(Look look) {
  static const std::vector<LookSource> sources = [] {
    std::vector<SourceFrame> bomb = strip(3, 1, 81, 26, 23, 28, 12, 14);
    const std::vector<SourceFrame> flames = strip(3, 1, 112, 31, 28, 30, 14, 15);
    bomb.insert(bomb.end(), flames.begin(), flames.end());
    return std::vector<LookSource>{
        {"spikes-cut.bmp", {16, 16}, strip(4, 1, 1, 35, 32, 32, 16, 16), false, {2, -14, 12, 12}},
        {"hedgehog-cut.bmp", {16, 16}, strip(6, 1, 1, 34, 31, 32, 16, 16), true, {2, -13, 12, 12}},
        {"bat-cut.bmp", {20, 16}, strip(4, 1, 1, 44, 41, 30, 20, 15), false, {3, -14, 14, 11}},
        {"bat-cut.bmp", {16, 24}, bomb, false, {3, -15, 10, 14}},
        {"bird-cut.bmp", {16, 14}, strip(9, 1, 1, 32, 29, 26, 16, 14), true, {2, -12, 12, 10}},
    };
  }();
  return sources.at(static_cast<size_t>(look));
}

// The effect type of a box that does nothing to a runner.
constexpr int kHarmless = 6;

// Barrier colours per terrain: a small turn of the colour circle, so that
// each terrain's creatures differ while staying what they are.
constexpr int kBarrierHue[] = {0, 25, 300, 200, 40};

}  // namespace

Size lookSize(Look look) { return lookSource(look).cell; }

content::IndexedImage barrierSheet(const std::filesystem::path& art, Look look, int terrain) {
  require(terrain >= 0 && terrain < kTerrains, "terrain " + std::to_string(terrain), "is not 0..4");
  const LookSource& s = lookSource(look);
  content::IndexedImage sheet = palettise(frameRow(readCut(art, s.file), s.frames, s.cell));
  if (kBarrierHue[terrain] != 0) recolour(sheet, kBarrierHue[terrain]);
  return sheet;
}

content::SpriteSet barrierSprites(Look look) {
  const LookSource& s = lookSource(look);
  return cellSprites(static_cast<int>(s.frames.size()), s.cell);
}

content::AnimationSet barrierAnimations(Look look) {
  const LookSource& s = lookSource(look);
  content::AnimationSet set = framesOf(static_cast<int>(s.frames.size()), s.cell, s.body, s.mirror);
  std::vector<content::Animation> a(12);
  switch (look) {
    case Look::Spikes:
      std::fill(a.begin(), a.end(), animation({0, 1, 2, 3}, -1, 1));
      break;
    case Look::Hedgehog: {
      const content::Animation walk = animation({0, 1, 2, 3}, -1, 0, kHedgehogWalk);
      std::fill(a.begin(), a.end(), animation({0}, -1));
      a[1] = a[2] = animation({0, 5}, 1);
      a[3] = a[4] = animation({4}, -1, 0, 0, kBombFall);
      a[5] = animation({4}, -1);
      a[6] = a[7] = a[8] = walk;
      break;
    }
    case Look::Bat:
      std::fill(a.begin(), a.end(), animation({0, 1, 2, 3}, -1, 1));
      break;
    case Look::Bomb: {
      const content::Animation burn = animation({3, 4, 5}, -1, 1);
      std::fill(a.begin(), a.end(), burn);
      a[0] = animation({0}, -1);
      a[1] = a[2] = animation({0, 1}, 1);
      a[3] = a[4] = animation({0, 1, 2}, -1, 0, 0, kBombFall);
      break;
    }
    case Look::Bird: {
      // The bird harms on its dives only: climbing, it shows the same
      // pictures in frames whose box 0 has no effect (type 6), so that a
      // runner it overtakes from below can get away.
      const int climbFirst = static_cast<int>(set.frames.size());
      for (int i = 0; i < 8; ++i) {
        content::AnimationFrame f = set.frames[static_cast<size_t>(i)];
        f.boxes[0].type = kHarmless;
        set.frames.push_back(f);
      }
      std::vector<int> climb;
      for (int i = 0; i < 8; ++i) climb.push_back(climbFirst + i);
      const content::Animation dive = animation({0, 1, 2, 3, 4, 5, 6, 7}, -1, 0, 0, kBirdDive);
      std::fill(a.begin(), a.end(), animation({climbFirst, climbFirst + 1, climbFirst + 2, climbFirst + 3}, -1, 1));
      a[5] = a[6] = a[10] = dive;
      a[3] = a[11] = animation(climb, -1, 0, 0, -kBirdDive);
      break;
    }
  }
  set.animations = a;
  return set;
}

// --- Landscape and tiles -----------------------------------------------------

namespace {

constexpr Size kFlower{13, 15};
constexpr Size kBush{45, 28};

}  // namespace

content::IndexedImage landscapeSheet(const std::filesystem::path& art, int terrain) {
  require(terrain >= 0 && terrain < kTerrains, "terrain " + std::to_string(terrain), "is not 0..4");
  const content::RgbaImage flowers =
      frameRow(readCut(art, "flowers-cut.bmp"), strip(4, 1, 1, 16, 13, 15, 13, 15), kFlower);
  const content::RgbaImage bush = frameRow(readCut(art, "bush-cut.bmp"), {{0, 0, 90, 55, 45, 28}}, kBush);
  content::RgbaImage sheet{flowers.width + bush.width, kBush.height,
                           std::vector<uint32_t>(static_cast<size_t>(flowers.width + bush.width) * kBush.height, 0)};
  drawOver(sheet, flowers, 0, kBush.height - kFlower.height);
  drawOver(sheet, bush, flowers.width, 0);
  content::IndexedImage image = palettise(sheet);
  if (kBarrierHue[terrain] != 0) recolour(image, kBarrierHue[terrain]);
  return image;
}

content::SpriteSet landscapeSprites() {
  content::SpriteSet set = cellSprites(4, kFlower);
  for (auto& s : set.sprites) s.sheetY = static_cast<int16_t>(kBush.height - kFlower.height);
  content::SpriteRecord bush;
  bush.y = static_cast<int16_t>(-kBush.height);
  bush.sheetX = static_cast<int16_t>(4 * kFlower.width);
  bush.width = static_cast<int16_t>(kBush.width);
  bush.height = static_cast<int16_t>(kBush.height);
  set.sprites.push_back(bush);
  return set;
}

content::AnimationSet landscapeAnimations() {
  content::AnimationSet set;
  for (int i = 0; i < 5; ++i) set.frames.push_back({{{i, 0, 0, 0}}, {}});
  set.durations = kDurations;
  set.animations = {animation({0, 1, 2, 3, 2, 1}, -1, 2), animation({4}, -1), animation({2, 3, 2, 1, 0, 1}, -1, 2)};
  return set;
}

content::IndexedImage playTileSheet(const std::filesystem::path& art, int terrain) {
  const content::RgbaImage tiles = toRgba(tileSheet(art, terrain));
  content::RgbaImage sheet{kTileCount * kTileSize, kTileSize,
                           std::vector<uint32_t>(static_cast<size_t>(kTileCount) * kTileSize * kTileSize, 0)};
  drawOver(sheet, tiles, 0, 0);
  const content::RgbaImage spikes = frameRow(readCut(art, "spikes-cut.bmp"), {{1, 1, 32, 32, 16, 16}}, {16, 16});
  drawOver(sheet, spikes, (kSpikes - 1) * kTileSize, 0);
  return palettise(sheet);
}

}  // namespace gamecontent
