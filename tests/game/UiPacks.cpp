#include "UiPacks.h"

#include <vector>

#include "ChunkedPackWriter.h"
#include "ContentFixtures.h"
#include "TextTableWriter.h"

namespace gametest {

namespace {

using namespace content;

constexpr uint32_t kRowColour = 0xFF804020;
constexpr uint32_t kPictureColours[8] = {0xFF101080, 0xFF202090, 0xFF3030A0, 0xFF4040B0,
                                         0xFF5050C0, 0xFF00A000, 0xFFF0C000, 0xFF808080};

SpriteRecord sprite(int16_t sheetX, int16_t w, int16_t h) { return {0, 0, sheetX, 0, w, h, 0, 0, false, w, h, false}; }

Bytes spriteSet(uint16_t sheet, const std::vector<SpriteRecord>& sprites) {
  SpriteSet set;
  set.sheet = sheet;
  set.sprites = sprites;
  return writeSpriteSet(set);
}

FrameBox box(const int32_t (&r)[4], int type) { return {r[0], r[1], r[2], r[3], false, type}; }
FrameBox box(int x, int y, int w, int h, int type) { return {x, y, w, h, false, type}; }

// Boxes 0..n-1 of the frame, box i of type i; absent ones are 0 x 0.
AnimationFrame frameWith(std::vector<FrameBox> boxes, std::vector<FramePart> parts = {}) {
  for (size_t i = 0; i < boxes.size(); ++i) boxes[i].type = static_cast<int>(i);
  return {std::move(parts), std::move(boxes)};
}

// Every animation shows one frame for ever.
AnimationSet animationSet(std::vector<AnimationFrame> frames, std::vector<int> animationFrames) {
  AnimationSet set;
  set.frames = std::move(frames);
  set.durations = {100};
  for (int f : animationFrames) set.animations.push_back({-1, {{f, 0, 0, 0, 0, 0}}});
  return set;
}

Bytes decorationSet() {
  const std::vector<FrameBox> rowBoxes = {box(0, 0, 0, 0, 0),          box(kArrowBoxes[0], 1),
                                          box(kArrowBoxes[1], 2),      box(kArrowBoxes[2], 3),
                                          box(kArrowBoxes[3], 4),      box(0, 0, kRowWidth, kRowHeight, 5)};
  const AnimationFrame mark = frameWith({}, {{4, 0, 0, 0}});
  return writeAnimationSet(animationSet({frameWith(rowBoxes, {{0, 0, 0, 0}}), frameWith(rowBoxes, {{1, 0, 0, 0}}),
                                         frameWith({}, {{2, 0, 0, 0}}), frameWith(rowBoxes, {{3, 0, 0, 0}}), mark,
                                         frameWith({}), mark},
                                        {4, 4, 6, 6, 4, 5}));
}

std::vector<AnimationFrame> boardFrames() {
  std::vector<AnimationFrame> frames;
  for (int f = 0; f < 16; ++f) {
    const bool drawn = f == 3 || f == 5 || f == 7 || f == 8 || f == 15;
    std::vector<FramePart> parts;
    if (drawn) parts.push_back({0, -20, -10, 0});
    const FrameBox kind2 = f == 5 ? box(-20, -10, 40, 10, 2) : box(0, 0, 0, 0, 2);
    frames.push_back(frameWith(
        {box(kTitleBox, 0), box(kTextBox, 1), kind2, box(kAnswerBoxes[0], 3), box(kAnswerBoxes[1], 4)}, parts));
  }
  return frames;
}

Bytes boardSet() { return writeAnimationSet(animationSet(boardFrames(), {0})); }

// A sheet of `cells` 4 x 4 cells (colour i at x = 4 i), then `wide` pixels
// of the row colour, then a 10 x 10 red mark, all 40 high.
Bytes sheet(int cells, int wide) {
  const int w = cells * kPictureSide + wide + kMarkSize;
  const int h = kRowHeight;
  IndexedImage image{w, h, std::vector<uint8_t>(w * h), {}};
  for (uint32_t c : kPictureColours) image.palette.push_back(c);
  image.palette.push_back(kRowColour);
  image.palette.push_back(kMarkColour);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      uint8_t index = x < cells * kPictureSide ? static_cast<uint8_t>(x / kPictureSide) : 8;
      if (x >= cells * kPictureSide + wide) index = 9;
      image.indices[y * w + x] = index;
    }
  }
  return writePng(image);
}

// Frames of 0x1001: 0, tier pictures 1..10 (1..5 with the list bounds as
// box 0), the level board 11, a stage button 12, the gallery 13, the
// locked award 14 and the awards 15..26.
Bytes menuArt() {
  std::vector<AnimationFrame> frames(27, frameWith({}));
  for (int f = 1; f <= 5; ++f) frames[f] = frameWith({box(-100, -140, 200, 240, 0)});
  std::vector<FrameBox> board;
  for (int i = 0; i < 5; ++i) {
    board.push_back(box(kStageBoxX0 + kStageBoxStep * i, kStageBoxY, kStageBoxSize, kStageBoxSize, i));
  }
  board.push_back(box(kBackBox, 5));
  frames[11] = frameWith(board);
  std::vector<FrameBox> stars;
  for (int j = 0; j < 3; ++j) stars.push_back(box(kStarBoxX0 + kStarBoxStep * j, kStarBoxY, 6, 6, j));
  frames[12] = frameWith(stars);
  std::vector<FrameBox> gallery;
  for (int i = 0; i < 12; ++i) gallery.push_back(box(-110 + 55 * (i % 4), -140 + 60 * (i / 4), 40, 40, i));
  gallery.push_back(box(kBackBox, 12));
  frames[13] = frameWith(gallery);
  return writeAnimationSet(animationSet(frames, {0}));
}

// Frames of 0x1003: 0 the help and about background, 1 the award page's.
Bytes pageArt() {
  std::vector<AnimationFrame> frames(11, frameWith({}));
  const FrameBox none = box(0, 0, 0, 0, 0);
  frames[0] = frameWith({box(-110, -150, 220, 300, 0), none, none, none, none, box(-20, 110, 40, 40, 5)});
  frames[1] = frameWith({box(-110, -150, 220, 300, 0), none, none, box(-20, -150, 40, 40, 3), none,
                         box(-20, 110, 40, 40, 5)});
  return writeAnimationSet(animationSet(frames, {0}));
}

std::vector<PackResource> packFour() {
  std::vector<PackResource> r(14, PackResource{0, spriteSet(10, {sprite(0, 1, 1)})});
  r[1] = {0, menuArt()};
  r[2] = {0, writeAnimationSet(animationSet(std::vector<AnimationFrame>(6, frameWith({})), {0}))};
  r[3] = {0, pageArt()};
  r[4] = {0, writeAnimationSet(animationSet({frameWith({box(-100, -140, 200, 280, 0)})}, {0}))};
  std::vector<SpriteRecord> pictures;
  for (int i = 0; i < 8; ++i) pictures.push_back(sprite(static_cast<int16_t>(kPictureSide * i), kPictureSide, kPictureSide));
  r[6] = {0, spriteSet(10, pictures)};
  r[10] = {0, sheet(8, 1)};
  fixtures::GlyphFontFixture flat = fixtures::eightGlyphFont(12);
  flat.font.metrics.height = 0;
  flat.font.metrics.lineHeight = 0;
  r[11] = {0, writeGlyphFont(flat.font)};
  r[12] = {0, flat.sheet.png};
  fixtures::GlyphFontFixture tall = fixtures::eightGlyphFont(12);
  tall.font.metrics.height = 20;
  tall.font.metrics.lineHeight = 20;
  r[13] = {0, writeGlyphFont(tall.font)};
  return r;
}

std::u16string number(int32_t n) {
  std::u16string out;
  for (char c : std::to_string(n)) out += static_cast<char16_t>(c);
  return out;
}

}  // namespace

std::vector<PackResource> uiPackThree() {
  std::vector<PackResource> r(11, PackResource{0, spriteSet(10, {sprite(0, 1, 1)})});
  const int16_t mark = kRowWidth;
  r[0] = {0, decorationSet()};
  r[4] = {0, boardSet()};
  r[5] = {0, spriteSet(10, {sprite(0, kRowWidth, kRowHeight), sprite(0, kRowWidth, kRowHeight), sprite(0, 80, 30),
                            sprite(0, kRowWidth, kRowHeight), sprite(mark, kMarkSize, kMarkSize)})};
  r[9] = {0, spriteSet(10, {sprite(0, 40, 20)})};
  r[10] = {0, sheet(0, kRowWidth)};
  return r;
}

std::vector<AnimationFrame> uiBoardFrames() { return boardFrames(); }

uint32_t pictureColour(int32_t picture) { return kPictureColours[picture]; }

std::u16string uiText(int32_t table, int32_t id) {
  if (id == kLongText) return std::u16string(60, u'a');
  if (id >= 57 && id <= 59) {
    std::u16string lines;
    for (int i = 0; i < 20; ++i) lines += i == 0 ? u"a" : u"\na";
    return lines;
  }
  return u"t" + number(table) + u"." + number(id);
}

void writeUiPacks(const std::filesystem::path& rsc) {
  writePackFiles(rsc, writeChunkedPack(3, uiPackThree(), ChunkedPackLayout::split(1)));
  writePackFiles(rsc, writeChunkedPack(4, packFour(), ChunkedPackLayout::split(1)));
  std::vector<PackResource> tables;
  for (int32_t t = 0; t < 5; ++t) {
    std::vector<std::u16string> texts;
    for (int32_t id = 0; id < kTexts; ++id) texts.push_back(uiText(t, id));
    tables.push_back({0, writeTranslationTable(texts)});
  }
  writePackFiles(rsc, simplePackFiles(20, tables));
}

}  // namespace gametest
