// The hand-made fixtures of these tests against the content writers: the
// same sets give the same bytes, and sets the writers narrow are read back
// to the same sprites and boxes.

#include <gtest/gtest.h>

#include <vector>

#include "AnimationSetWriter.h"
#include "DrawTestSupport.h"
#include "SimplePackWriter.h"
#include "SpriteSetWriter.h"
#include "VMTestEnv.h"
#include "tq_AnimSet.h"
#include "tq_Gob.h"
#include "tq_Resources.h"
#include "tq_ResourcesExt.h"

using namespace draw_test;

namespace {

TEST(ContentWriters, AnimationSetBytesMatchTheFixture) {
  drawable_fixtures::AnimSetSpec spec;
  spec.anims = {{-1, {{0, 2, -3, 0, 1, 0}, {1, 300, -300, 1, 2, 1}}}, {2, {{1, 0, 0, 1, 3, 0}}}};
  spec.frames = {{{{0, -4, -8, 0}, {1, 3, 1, 2}, {0, 0, 0, 1}, {1, 0, 0, 3}, {0, -200, 200, 3}},
                  {{1, 2, 3, 4, 0}, {-5, -600, 7, 300, 1, true}}},
                 {{}, {}}};
  spec.durations = {100, 1000};
  content::AnimationSet set;
  for (const auto& a : spec.anims) {
    content::Animation anim{a.loop, {}};
    for (const auto& s : a.steps) anim.steps.push_back({s.frame, s.dx, s.dy, s.duration, s.priority, s.blend});
    set.animations.push_back(anim);
  }
  for (const auto& f : spec.frames) {
    content::AnimationFrame frame;
    for (const auto& p : f.parts) frame.parts.push_back({p.gob, p.x, p.y, p.flags});
    for (const auto& b : f.boxes) frame.boxes.push_back({b.x, b.y, b.w, b.h, b.circle, b.type});
    set.frames.push_back(frame);
  }
  set.durations = spec.durations;
  EXPECT_EQ(content::writeAnimationSet(set), drawable_fixtures::animSetBytes(spec));
}

TEST(ContentWriters, SpriteSetsReadBackAsWritten) {
  pack_fixtures::ProgramFolder folder;
  VMTestEnv::start();
  content::SpriteSet set;
  set.sprites = {{-1, -2, 0, 0, 2, 1, 1, 2, true, 5, 6}, {300, 4, 1, 1, 3, 1, -7, 8, false, 9, 10}};
  set.attributes = {3, 1};
  // The writer's narrowest layout, and layout 0 against the fixture.
  const Bytes attributes = {0x07};  // 3 and 1, lowest pair first
  content::SpriteSet wide = set;
  wide.layout = 0;
  EXPECT_EQ(content::writeSpriteSet(wide),
            drawable_fixtures::spriteSetBytes(0, 0, {sprite(-1, -2, 0, 0, 2, 1, 1, 2, 0x8005, 6),
                                                     sprite(300, 4, 1, 1, 3, 1, -7, 8, 9, 10)},
                                              &attributes));
  folder.put("RP2.rp", content::writeSimplePack({{0, sheetPng()}, {0, content::writeSpriteSet(set)}}));
  VMPtr<VMArray<tq::Gob>> gobs = tq::ResourcesExt::getGobs(2049);
  ASSERT_EQ(gobs->length, 2);
  for (int i = 0; i < 2; ++i) {
    const content::SpriteRecord& r = set.sprites[static_cast<size_t>(i)];
    VMPtr<tq::Gob> g = gobs->get(i);
    EXPECT_EQ((std::vector<int32_t>{g->x, g->y, g->width, g->height, g->boxX, g->boxY, g->boxWidth, g->boxHeight,
                                    g->circle, g->drawMode}),
              (std::vector<int32_t>{r.x, r.y, r.width, r.height, r.boxX, r.boxY, r.boxWidth, r.boxHeight, r.circle,
                                    set.attributes[static_cast<size_t>(i)]}));
  }
  EXPECT_EQ(pixels(gobs->get(1)->image), (std::vector<uint32_t>{kBlue, kGreen, kRed}));
}

}  // namespace
