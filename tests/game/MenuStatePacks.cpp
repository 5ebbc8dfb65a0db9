#include "MenuStatePacks.h"

#include <map>
#include <vector>

#include "AnimationSetWriter.h"
#include "ChunkedPackWriter.h"
#include "PackFixtures.h"
#include "PlayScenePacks.h"
#include "SpriteSetWriter.h"
#include "UiPacks.h"
#include "java_lang_Throwable.h"
#include "tq_Resources.h"

namespace gametest::menustate {

namespace {

using namespace content;

// The sheets the packs already hold: pack 3's at 10 (170 x 40), pack 4's
// at 10 (43 x 40).
constexpr uint16_t kSheet = 10;
constexpr int32_t kStepMs = 40;

SpriteRecord sprite(int16_t x, int16_t y, int16_t sheetX, int16_t w, int16_t h) {
  return {x, y, sheetX, 0, w, h, 0, 0, false, w, h, false};
}

Bytes spriteSet(std::vector<SpriteRecord> sprites) {
  SpriteSet set;
  set.sheet = kSheet;
  set.sprites = std::move(sprites);
  return writeSpriteSet(set);
}

FrameBox box(int x, int y, int w, int h, int type) { return {x, y, w, h, false, type}; }

Animation still(int frame = 0) { return {-1, {{frame}}}; }
Animation once(int steps) { return {1, std::vector<AnimationStep>(static_cast<size_t>(steps), AnimationStep{0})}; }

Bytes animations(std::vector<AnimationFrame> frames, std::vector<Animation> anims) {
  AnimationSet set;
  set.durations = {kStepMs};
  set.frames = std::move(frames);
  set.animations = std::move(anims);
  return writeAnimationSet(set);
}

// Five boxes, box i of type i, a row from (x0, y) by `step`.
AnimationFrame row(int x0, int y, int step) {
  AnimationFrame f;
  for (int i = 0; i < 5; ++i) f.boxes.push_back(box(x0 + step * i, y, playscene::kCell, playscene::kCell, i));
  return f;
}

Bytes panelFrames() {
  using namespace playscene;
  std::vector<AnimationFrame> frames = uiBoardFrames();
  frames.resize(17);
  // The icon holders at (0, 0) and (240, 0) and the overlay at (120, 160).
  frames[0] = row(kIconsAX, kIconsY, kIconStep);
  frames[1] = row(kIconsBX - 240, kIconsY, kIconStep);
  frames[4].boxes[0] = box(kPanelBox[0] - 120, kPanelBox[1] - 160, kPanelBox[2], kPanelBox[3], 0);
  frames[6] = {{},
               {box(kRowHolderA[0], kRowHolderA[1], 200, 30, 0), box(kRowHolderB[0], kRowHolderB[1], 200, 30, 1),
                box(kCounterPlace[0], kCounterPlace[1], 60, 20, 2),
                box(kResultsTitleBox[0], kResultsTitleBox[1], kResultsTitleBox[2], kResultsTitleBox[3], 3)}};
  for (int f = 10; f <= 14; ++f) frames[static_cast<size_t>(f)] = row(kMarkerX0, kMarkerY, kMarkerStep);
  frames[16] = {{},
                {box(kAwardTextBox[0], kAwardTextBox[1], kAwardTextBox[2], kAwardTextBox[3], 0),
                 box(kAwardPictureBox[0], kAwardPictureBox[1], kAwardPictureBox[2], kAwardPictureBox[3], 1)}};
  return animations(std::move(frames), {still()});
}

Bytes effectSet() {
  AnimationFrame f{{{0}}, {box(kEffectBox[0], kEffectBox[1], kEffectBox[2], kEffectBox[3], 0)}};
  return animations({f}, {still(), once(2), still()});
}

Bytes closingSet() {
  AnimationFrame f{{{0}}, {}};
  return animations({f}, {still(), once(kWipeSteps), still(), once(kFadeSteps), still()});
}

Bytes pictures(int count) {
  std::vector<SpriteRecord> s;
  for (int i = 0; i < count; ++i) {
    s.push_back(i < 8 ? sprite(0, 0, static_cast<int16_t>(4 * i), 4, 4) : sprite(0, 0, 0, 4, 4));
  }
  return spriteSet(s);
}

Bytes labels() { return spriteSet(std::vector<SpriteRecord>(11, sprite(0, 0, 0, kLabelWidth, kLabelHeight))); }

// Every resource of `pack` as the engine reads it, with `replace` put in.
std::vector<PackResource> readBack(int pack, std::map<int, Bytes> replace) {
  std::vector<PackResource> out;
  for (int i = 0;; ++i) {
    const int32_t id = pack * 1024 + i;
    VMPtr<VMArray<int8_t>> bytes;
    int32_t type = 0;
    try {
      bytes = tq::Resources::getBytes(id);
      type = tq::Resources::getType(id);
    } catch (java::lang::Throwable* e) {
      VMPtr<java::lang::Throwable> past(e);  // the pack's end
      break;
    }
    PackResource r{static_cast<int8_t>(type), pack_fixtures::nativeBytes(bytes)};
    if (replace.count(i)) r.bytes = std::move(replace[i]);
    out.push_back(std::move(r));
  }
  return out;
}

}  // namespace

void patchMenuStatePacks(const std::filesystem::path& rsc) {
  tq::Resources::closePack();
  const int16_t half = kClosingSize / 2;
  std::vector<PackResource> three = readBack(
      3, {{1, effectSet()},
          {4, panelFrames()},
          {9, spriteSet({sprite(0, 0, 0, 40, 20), sprite(0, 0, 0, 8, 8), sprite(-4, -4, 0, 8, 8)})}});
  std::vector<PackResource> four = readBack(4, {{0, closingSet()},
                                                {5, spriteSet({sprite(-half, -half, 0, kClosingSize, kClosingSize)})},
                                                {6, pictures(23)},
                                                {7, labels()}});
  writePackFiles(rsc, writeChunkedPack(3, three, ChunkedPackLayout::split(1)));
  writePackFiles(rsc, writeChunkedPack(4, four, ChunkedPackLayout::split(1)));
  tq::Resources::closePack();
}

}  // namespace gametest::menustate
