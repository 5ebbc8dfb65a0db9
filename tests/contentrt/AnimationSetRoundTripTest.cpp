// Animation sets written by the animation-set writer and read by the
// engine twice: by the animation set's loader and by the canvas's sprite
// data loader, which take the same layout into tables of their own. Both
// readers' packed tables are decoded back into a description that must
// equal the written one, for a table of sets at the encoding edges: U
// values 254, 255 and the escape, S values -127, -128 and 127 and their
// neighbours, every field at its limits, empty sets, frames and
// animations, part flags of partial groups of four, and the 16-bit start
// fields (the sprite data's box starts at 15 bits) at their last value.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "AnimationSetWriter.h"
#include "ContentFixtures.h"
#include "Differences.h"
#include "PlainCanvas.h"
#include "RoundTrip.h"
#include "VMTestEnv.h"
#include "tq_AnimSet.h"

using content::Animation;
using content::AnimationFrame;
using content::AnimationSet;
using content::AnimationStep;
using content::FrameBox;
using content::FramePart;
using test_support::PlainCanvas;

namespace {

// The packed tables both readers build, as plain numbers.
struct PackedTables {
  std::vector<int32_t> animations;  // count 0-9, loops 10-15, first step 16-31
  std::vector<int32_t> stepBytes;   // duration 0-5, priority 6-7
  std::vector<int32_t> steps;       // blend 0-1, dy 2-11, dx 12-21, frame 22-31
  std::vector<int32_t> frames;      // parts 0-7, boxes 8-15, first part 16-31
  std::vector<int32_t> boxStarts;
  std::vector<int32_t> parts;       // transform 0-1, dy 2-11, dx 12-21, sprite 22-31
  std::vector<int32_t> boxes;       // width 0-9, y 10-20, x 21-31
  std::vector<int32_t> boxExtras;   // type 0-4, circle 5, height 6-15
  std::vector<int32_t> durations;
};

int32_t signedField(int32_t word, int shift, int bits) {
  const uint32_t v = static_cast<uint32_t>(word) >> shift & ((1u << bits) - 1);
  return static_cast<int32_t>(v << (32 - bits)) >> (32 - bits);
}

int32_t field(int32_t word, int shift, int bits) {
  return static_cast<int32_t>(static_cast<uint32_t>(word) >> shift & ((1u << bits) - 1));
}

AnimationSet decode(const PackedTables& t) {
  AnimationSet out;
  for (int32_t a : t.animations) {
    Animation anim{signedField(a, 10, 6), {}};
    const int32_t first = field(a, 16, 16);
    for (int32_t s = first; s < first + field(a, 0, 10); ++s) {
      const int32_t w = t.steps.at(static_cast<size_t>(s));
      const int32_t b = t.stepBytes.at(static_cast<size_t>(s));
      anim.steps.push_back({field(w, 22, 10), signedField(w, 12, 10), signedField(w, 2, 10), field(b, 0, 6),
                            field(b, 6, 2), field(w, 0, 2)});
    }
    out.animations.push_back(anim);
  }
  for (size_t f = 0; f < t.frames.size(); ++f) {
    const int32_t e = t.frames[f];
    AnimationFrame frame;
    const int32_t firstPart = field(e, 16, 16);
    for (int32_t p = firstPart; p < firstPart + field(e, 0, 8); ++p) {
      const int32_t w = t.parts.at(static_cast<size_t>(p));
      frame.parts.push_back({field(w, 22, 10), signedField(w, 12, 10), signedField(w, 2, 10), field(w, 0, 2)});
    }
    const int32_t firstBox = t.boxStarts.at(f);
    for (int32_t b = firstBox; b < firstBox + field(e, 8, 8); ++b) {
      const int32_t w = t.boxes.at(static_cast<size_t>(b));
      const int32_t x = t.boxExtras.at(static_cast<size_t>(b));
      frame.boxes.push_back({signedField(w, 21, 11), signedField(w, 10, 11), field(w, 0, 10), field(x, 6, 10),
                             field(x, 5, 1) == 1, field(x, 0, 5)});
    }
    out.frames.push_back(frame);
  }
  out.durations = t.durations;
  return out;
}

template <class T>
std::vector<int32_t> numbers(const VMPtr<VMArray<T>>& a, int32_t mask = -1) {
  std::vector<int32_t> out;
  for (int32_t i = 0; a && i < a->length; ++i) out.push_back(static_cast<int32_t>(a->at(i)) & mask);
  return out;
}

PackedTables tablesOf(const VMPtr<tq::AnimSet>& s) {
  return {numbers(VMPtr<VMArray<int32_t>>(s->animations)), numbers(VMPtr<VMArray<int8_t>>(s->stepBytes), 0xFF),
          numbers(VMPtr<VMArray<int32_t>>(s->steps)),      numbers(VMPtr<VMArray<int32_t>>(s->frames)),
          numbers(VMPtr<VMArray<char16_t>>(s->frameBoxStart)), numbers(VMPtr<VMArray<int32_t>>(s->parts)),
          numbers(VMPtr<VMArray<int32_t>>(s->boxes)),      numbers(VMPtr<VMArray<char16_t>>(s->boxExtras)),
          numbers(VMPtr<VMArray<char16_t>>(s->durations))};
}

template <class T>
std::vector<int32_t> row(const VMPtr<VMArray<T, 2>>& table, int32_t r, int32_t mask = -1) {
  return numbers(VMPtr<VMArray<T>>(table->get(r)), mask);
}

PackedTables rowsOf(PlainCanvas* c, int32_t r) {
  return {row(VMPtr<VMArray<int32_t, 2>>(c->animHeaders), r),   row(VMPtr<VMArray<int8_t, 2>>(c->animFrameBytes), r, 0xFF),
          row(VMPtr<VMArray<int32_t, 2>>(c->animFrameWords), r), row(VMPtr<VMArray<int32_t, 2>>(c->frameHeaders), r),
          row(VMPtr<VMArray<int16_t, 2>>(c->frameRectStarts), r, 0xFFFF),
          row(VMPtr<VMArray<int32_t, 2>>(c->framePieces), r),   row(VMPtr<VMArray<int32_t, 2>>(c->rectWords), r),
          row(VMPtr<VMArray<int16_t, 2>>(c->rectShorts), r, 0xFFFF),
          row(VMPtr<VMArray<int16_t, 2>>(c->frameDurations), r, 0xFFFF)};
}

// The public queries agree with the tables: counts, durations, and the
// parts (mirrored by their own transform) and boxes of each frame drawn
// untransformed.
void expectQueries(const VMPtr<tq::AnimSet>& s, const AnimationSet& set) {
  ASSERT_EQ(s->getAnimationCount(), static_cast<int32_t>(set.animations.size()));
  ASSERT_EQ(s->getFrameCount(), static_cast<int32_t>(set.frames.size()));
  for (size_t a = 0; a < set.animations.size(); ++a) {
    int32_t total = 0;
    for (const AnimationStep& step : set.animations[a].steps) total += set.durations[static_cast<size_t>(step.duration)];
    EXPECT_EQ(s->getStepCount(static_cast<int32_t>(a)), static_cast<int32_t>(set.animations[a].steps.size())) << a;
    EXPECT_EQ(s->getDuration(static_cast<int32_t>(a)), total) << a;
  }
  for (size_t f = 0; f < set.frames.size() && f < 64; ++f) {
    const AnimationFrame& frame = set.frames[f];
    const auto id = static_cast<int32_t>(f);
    VMPtr<VMArray<int32_t>> out = VMArray<int32_t>::create(5 * 256);
    ASSERT_EQ(s->getParts(id, 0, out), static_cast<int32_t>(frame.parts.size()));
    for (size_t p = 0; p < frame.parts.size(); ++p) {
      const FramePart& part = frame.parts[p];
      EXPECT_EQ((std::vector<int32_t>(out->elements() + 4 * p, out->elements() + 4 * p + 4)),
                (std::vector<int32_t>{part.sprite, part.transform & 2 ? -part.dx : part.dx,
                                      part.transform & 1 ? -part.dy : part.dy, part.transform}))
          << "frame " << f << ", part " << p;
    }
    ASSERT_EQ(s->getBoxes(id, 0, out, -1), static_cast<int32_t>(frame.boxes.size()));
    for (size_t b = 0; b < frame.boxes.size(); ++b) {
      const FrameBox& box = frame.boxes[b];
      EXPECT_EQ((std::vector<int32_t>(out->elements() + 5 * b, out->elements() + 5 * b + 5)),
                (std::vector<int32_t>{box.x, box.y, box.width, box.height, box.type}))
          << "frame " << f << ", box " << b;
    }
  }
}

AnimationStep step(int frame, int dx, int dy, int duration, int priority, int blend) {
  return {frame, dx, dy, duration, priority, blend};
}

// Every U field at 254, 255 (the escape's first use) and 256, every S
// field at -127, -128 (the escape), 127, 128 and the ends of its range.
AnimationSet compactEdges() {
  AnimationSet set;
  for (int d : {1, 254, 255, 256, 65535}) set.durations.push_back(d);
  for (int i = 5; i < 64; ++i) set.durations.push_back(i);
  set.frames.resize(1024);
  // Step values (blend << 8 | priority << 6 | duration) 254, 255, 256;
  // frames 254, 255, 256, 1023; offsets at the S edges.
  Animation a{-32, {step(254, -127, 127, 62, 3, 0), step(255, -128, 128, 63, 3, 0), step(256, 127, -128, 0, 0, 1),
                    step(1023, 128, -129, 63, 3, 3), step(0, -512, 511, 1, 1, 2), step(1, 511, -512, 2, 2, 1)}};
  set.animations.push_back(a);
  // Step counts 254 and 255 (U edges of the count fields).
  for (int count : {254, 255}) {
    Animation many{31, {}};
    for (int i = 0; i < count; ++i) many.steps.push_back(step(i, i - 127, 127 - i, i % 64, i % 4, i % 4));
    set.animations.push_back(many);
  }
  set.animations.push_back({0, {}});
  // Part counts 254 and 255, sprites 254, 255, 256; box counts 254 and
  // 255, box sizes at the U edges, positions at the S edges.
  AnimationFrame& parts254 = set.frames[0];
  for (int i = 0; i < 254; ++i) parts254.parts.push_back({254 + i % 3, i % 2 ? -128 : 127, i % 2 ? 128 : -127, i % 4});
  AnimationFrame& parts255 = set.frames[1];
  for (int i = 0; i < 255; ++i) {
    parts255.parts.push_back({i == 0 ? 1023 : i, -512 + i, 511 - i, 3 - i % 4});
    parts255.boxes.push_back({-1024 + i, 1023 - i, 254 + i % 3, 256 - i % 3, i % 2 == 0, i % 32});
  }
  AnimationFrame& boxes254 = set.frames[2];
  for (int i = 0; i < 254; ++i) boxes254.boxes.push_back({i % 2 ? -128 : 127, i % 2 ? -127 : 128, 1023, 0, false, 31});
  // Parts in partial groups of four.
  for (int n = 1; n <= 5; ++n) {
    for (int i = 0; i < n; ++i) set.frames[static_cast<size_t>(2 + n)].parts.push_back({i, i, -i, (i + n) % 4});
  }
  return set;
}

// The start fields at their last value: an animation's first step, a
// frame's first part and first box (`boxLimit`: 65535 for an animation
// set, 32767 for sprite data).
AnimationSet startsAtTheirLimits(int boxLimit) {
  AnimationSet set;
  set.durations = {7};
  int steps = 0;
  while (steps < 65535) {
    const int count = std::min(1023, 65535 - steps);
    Animation a{1, {}};
    for (int i = 0; i < count; ++i) a.steps.push_back(step(0, 0, 0, 0, 0, 0));
    set.animations.push_back(a);
    steps += count;
  }
  set.animations.push_back({-1, {step(1, 5, -5, 0, 2, 1)}});
  int parts = 0;
  while (parts < 65535) {
    AnimationFrame f;
    f.parts.assign(static_cast<size_t>(std::min(255, 65535 - parts)), FramePart{3, 1, -1, 1});
    set.frames.push_back(f);
    parts += static_cast<int>(f.parts.size());
  }
  int boxes = 0;
  for (size_t i = 0; boxes < boxLimit; ++i) {
    if (i == set.frames.size()) set.frames.emplace_back();
    const int count = std::min(255, boxLimit - boxes);
    set.frames[i].boxes.assign(static_cast<size_t>(count), FrameBox{-1, 1, 2, 3, true, 4});
    boxes += count;
  }
  set.frames.push_back({{{1023, -512, 511, 2}}, {{1023, -1024, 1023, 1023, false, 31}}});
  return set;
}

struct Case {
  std::string what;
  AnimationSet set;
};

std::vector<Case> cases() {
  std::vector<Case> out = {
      {"the small fixture", content::fixtures::smallAnimationSet().set},
      {"the fixture at its limits", content::fixtures::animationSetAtLimits().set},
      {"U and S at their edges", compactEdges()},
      {"nothing", {}},
      {"durations only", {{}, {}, {1, 65535}}},
      {"an animation without steps, a frame without parts or boxes", {{{5, {}}}, {{}}, {}}},
  };
  return out;
}

TEST(AnimationSetRoundTrip, TheAnimationSetReaderGivesBackEveryField) {
  VMTestEnv::start();
  std::vector<Case> all = cases();
  all.push_back({"start fields at their last value", startsAtTheirLimits(65535)});
  for (const Case& c : all) {
    SCOPED_TRACE(c.what);
    contentrt::loadPack({{0, content::writeAnimationSet(c.set)}});
    VMPtr<tq::AnimSet> s = tq::AnimSet::load(0);
    const AnimationSet read = decode(tablesOf(s));
    EXPECT_TRUE(read == c.set) << contentrt::difference(read, c.set);
    expectQueries(s, c.set);
  }
}

TEST(AnimationSetRoundTrip, TheCanvasSpriteDataReaderGivesBackEveryField) {
  VMTestEnv::start();
  VMPtr<PlainCanvas> canvas = PlainCanvas::make();
  std::vector<Case> all = cases();
  all.push_back({"start fields at their last value", startsAtTheirLimits(32767)});
  for (const Case& c : all) {
    SCOPED_TRACE(c.what);
    // The same resource twice: loaded once, one row.
    contentrt::loadPack({{0, content::writeAnimationSet(c.set, true)}, {0, content::writeAnimationSet(c.set, true)}});
    canvas->releaseSprites();
    canvas->loadSprite(1);
    canvas->loadSprite(0);
    canvas->loadSprite(1);
    ASSERT_EQ(canvas->indexOfSprite(0), 1);
    ASSERT_EQ(canvas->indexOfSprite(1), 0);
    for (int32_t row : {0, 1}) {
      const AnimationSet read = decode(rowsOf(canvas.get(), row));
      EXPECT_TRUE(read == c.set) << "row " << row << ": " << contentrt::difference(read, c.set);
    }
  }
  PlainCanvas::stop();
}

}  // namespace
