// The animation-set reader and its queries: the compact integers and
// their escapes, packed fields at their limits and one past them, cut
// files, durations of 0, the box queries under transforms in both forms,
// reads by index against reads by type, parts, bounds and the caches.

#include <gtest/gtest.h>

#include <vector>

#include "AnimationSetWriter.h"
#include "DrawableFixtures.h"
#include "JavaTestSupport.h"
#include "PackFixtures.h"
#include "SimplePackWriter.h"
#include "VMJava.h"
#include "VMTestEnv.h"
#include "java_lang_ArrayIndexOutOfBoundsException.h"
#include "java_lang_NullPointerException.h"
#include "tq_AnimPlayer.h"
#include "tq_AnimSet.h"
#include "tq_Resources.h"

using namespace drawable_fixtures;
using pack_fixtures::javaBytes;
using tq::AnimSet;
using tq::graphics::CollisionBox;

namespace {

VMPtr<AnimSet> read(const Bytes& bytes) {
  VMPtr<VMArray<int8_t>> data = javaBytes(bytes);
  return AnimSet::load(7, tq::Resources::openStream(data, 0, data->length));
}

std::vector<int32_t> ints(const VMPtr<VMArray<int32_t>>& a, int n) {
  return std::vector<int32_t>(a->elements(), a->elements() + n);
}

VMPtr<AnimSet::Boxes> boxArray(int n) { return CollisionBox::ensureCapacity(nullptr, n); }

std::vector<int32_t> geometry(const VMPtr<CollisionBox>& b) { return {b->x, b->y, b->width, b->height, b->type, b->kind}; }

// Two animations over three frames; frame 0 has boxes of types 0, 1, 2
// (box i has type i), frame 1 boxes of types 2 and 0.
Bytes twoAnimations() {
  content::AnimationSet s;
  s.animations = {{-1, {{0, 2, 0, 0}, {1, 4, -1, 1, 2}}}, {2, {{2, 0, 0, 1}}}};
  s.frames = {{{{0, -4, -8, 0}, {1, 3, 1, 2}},
               {{1, 2, 3, 4, false, 0}, {-5, -6, 7, 8, true, 1}, {0, 0, 1, 1, false, 2}}},
              {{{1, 0, 0, 0}}, {{10, 20, 30, 40, false, 2}, {-1, -2, 3, 4, false, 0}}},
              {{}, {}}};
  s.durations = {100, 50};
  return content::writeAnimationSet(s);
}

TEST(AnimSet, ReadsThePackedTables) {
  VMTestEnv::start();
  VMPtr<AnimSet> set = read(twoAnimations());
  EXPECT_EQ(set->getId(), 7);
  EXPECT_EQ(set->getAnimationCount(), 2);
  EXPECT_EQ(set->getFrameCount(), 3);
  EXPECT_EQ(set->getStepCount(0), 2);
  EXPECT_EQ(set->getStepCount(1), 1);
  EXPECT_EQ(set->getPartCount(0), 2);
  EXPECT_EQ(set->getBoxCount(0), 3);
  EXPECT_EQ(set->getBoxCount(2), 0);
  EXPECT_EQ(set->getDuration(0), 150);
  EXPECT_EQ(set->getDuration(1), 50);
  EXPECT_EQ(set->getDuration(-1), 0);
  EXPECT_EQ(set->getDuration(2), 0);
  VMPtr<VMArray<int32_t>> out = VMArray<int32_t>::create(8);
  EXPECT_EQ(set->getParts(0, 0, out), 2);
  // x and y follow the part's transform XORed with the drawing one.
  EXPECT_EQ(ints(out, 8), (std::vector<int32_t>{0, -4, -8, 0, 1, -3, 1, 2}));
  EXPECT_EQ(set->getParts(0, 2, out), 2);
  EXPECT_EQ(ints(out, 8), (std::vector<int32_t>{0, 4, -8, 2, 1, 3, 1, 0}));
  // An out of room for one part still reports both.
  EXPECT_EQ(set->getParts(0, 0, VMArray<int32_t>::create(5)), 2);
}

TEST(AnimSet, CompactIntegersAndTheirEscapes) {
  VMTestEnv::start();
  content::AnimationSet s;
  // A step count read through the escape (255 steps), dx and dy at the
  // escapes of S, a blended step (value above 255), five parts whose
  // flags take two bytes, durations escaped.
  content::Animation big{-1, std::vector<content::AnimationStep>(255, content::AnimationStep{0, -128, 127, 1, 1, 0})};
  big.steps[3] = {0, 300, -300, 0, 3, 2};
  s.animations = {big};
  s.frames = {{{{0, 0, 0, 1}, {1, 0, 0, 2}, {2, 0, 0, 3}, {3, 0, 0, 0}, {4, -200, 200, 3}}, {}}};
  s.durations = {255, 1000};
  Bytes bytes = content::writeAnimationSet(s);
  VMPtr<AnimSet> set = read(bytes);
  EXPECT_EQ(set->getStepCount(0), 255);
  VMPtr<VMArray<int32_t>> steps = set->steps;
  VMPtr<VMArray<int8_t>> stepBytes = set->stepBytes;
  EXPECT_EQ(steps->at(3) & 3, 2);
  EXPECT_EQ(static_cast<uint8_t>(stepBytes->at(3)), 0xC0);
  EXPECT_EQ(_VM_signExtend(static_cast<uint32_t>(steps->at(3)) >> 12 & 0x3FF, 10), 300);
  EXPECT_EQ(_VM_signExtend(static_cast<uint32_t>(steps->at(3)) >> 2 & 0x3FF, 10), -300);
  EXPECT_EQ(_VM_signExtend(static_cast<uint32_t>(steps->at(0)) >> 12 & 0x3FF, 10), -128);
  VMPtr<VMArray<int32_t>> out = VMArray<int32_t>::create(20);
  EXPECT_EQ(set->getParts(0, 0, out), 5);
  EXPECT_EQ(ints(out, 20), (std::vector<int32_t>{0, 0, 0, 1, 1, 0, 0, 2, 2, 0, 0, 3, 3, 0, 0, 0, 4, 200, -200, 3}));
  EXPECT_EQ(set->getDuration(0), 254 * 1000 + 255);
}

// Made by hand: the content writer refuses every value one past its limit.
TEST(AnimSet, ValuesAtThePackingLimitsLoadAndOnePastEndsTheLoad) {
  VMTestEnv::start();
  auto withBox = [](Box b) {
    AnimSetSpec s;
    s.anims = {{31, {{0, 511, -512, 63, 3, 3}}}};
    s.frames = {{{{1023, 511, -512, 3}}, {b}}};
    s.durations = {65535};
    return s;
  };
  VMPtr<AnimSet> limits = read(animSetBytes(withBox({1023, -1024, 1023, 1023, 31, true})));
  ASSERT_TRUE(limits->durations);
  VMPtr<AnimSet::Boxes> boxes = boxArray(1);
  EXPECT_EQ(limits->getBoxes(0, 0, boxes), 1);
  EXPECT_EQ(geometry(boxes->get(0)), (std::vector<int32_t>{1023, -1024, 1023, 1023, 31, 4}));
  EXPECT_EQ(VMPtr<VMArray<int32_t>>(limits->animations)->at(0) >> 10 & 0x3F, 31);

  // One past: every table before the bad value is kept, the rest are null.
  struct Over {
    const char* what;
    AnimSetSpec spec;
  };
  std::vector<Over> cases;
  cases.push_back({"box x", withBox({1024, 0, 1, 1, 0})});
  cases.push_back({"box y", withBox({0, -1025, 1, 1, 0})});
  cases.push_back({"box width", withBox({0, 0, 1024, 1, 0})});
  cases.push_back({"box height", withBox({0, 0, 1, 1024, 0})});
  AnimSetSpec loop = withBox({});
  loop.anims[0].loop = 32;
  cases.push_back({"loop", loop});
  AnimSetSpec dx = withBox({});
  dx.anims[0].steps[0].dx = 512;
  cases.push_back({"step dx", dx});
  AnimSetSpec frame = withBox({});
  frame.anims[0].steps[0].frame = 1024;
  cases.push_back({"step frame", frame});
  AnimSetSpec blend = withBox({});
  blend.anims[0].steps[0].blend = 4;
  cases.push_back({"blend", blend});
  AnimSetSpec gob = withBox({});
  gob.frames[0].parts[0].gob = 1024;
  cases.push_back({"part sprite", gob});
  for (const Over& c : cases) {
    VMPtr<AnimSet> set = read(animSetBytes(c.spec));
    EXPECT_TRUE(set->animations) << c.what;
    EXPECT_FALSE(set->durations) << c.what;
  }
  // 1024 steps do not fit the step count.
  AnimSetSpec many;
  many.anims = {{-1, std::vector<Step>(1024)}};
  many.durations = {1};
  VMPtr<AnimSet> set = read(animSetBytes(many));
  EXPECT_TRUE(set->animations);
  EXPECT_FALSE(set->stepBytes);
}

TEST(AnimSet, CutFilesKeepTheTablesReadSoFar) {
  VMTestEnv::start();
  const Bytes whole = twoAnimations();
  for (size_t cut = 0; cut < whole.size(); ++cut) {
    VMPtr<AnimSet> set = read(Bytes(whole.begin(), whole.begin() + cut));
    EXPECT_FALSE(set->durations) << cut;  // never a part of the durations
    EXPECT_FALSE(AnimSet::stream);
  }
  // Cut inside the durations: everything before them is whole, and a
  // player over the set stops at the missing table instead of spinning.
  VMPtr<AnimSet> set = read(Bytes(whole.begin(), whole.end() - 1));
  EXPECT_EQ(set->getBoxCount(1), 2);
  VMPtr<tq::AnimPlayer> player = set->createPlayer(0);
  EXPECT_EQ(java_test::thrownMessage<java::lang::NullPointerException>([&] { player->update(10); }), "<null>");
  EXPECT_TRUE(AnimSet::load(7, tq::Resources::openStream(javaBytes(whole), 0, static_cast<int32_t>(whole.size())))
                  ->durations);
}

TEST(AnimSet, DurationsOfZeroLoadAsOne) {
  VMTestEnv::start();
  // The writer refuses a duration of 0: the set's last two bytes are its
  // two durations (100 and 50 in one byte each), made 0 here.
  Bytes bytes = twoAnimations();
  bytes[bytes.size() - 2] = 0;
  bytes[bytes.size() - 1] = 0;
  VMPtr<AnimSet> set = read(bytes);
  EXPECT_EQ(set->getDuration(0), 2);
  VMPtr<tq::AnimPlayer> player = set->createPlayer(0);
  EXPECT_TRUE(player->update(1000));  // advances and returns
}

TEST(AnimSet, BoxQueriesUnderTransforms) {
  VMTestEnv::start();
  VMPtr<AnimSet> set = read(twoAnimations());
  VMPtr<AnimSet::Boxes> boxes = boxArray(3);
  VMPtr<VMArray<int32_t>> records = VMArray<int32_t>::create(15);
  // Box (1, 2, 3, 4) of frame 0: {x, y, w, h} for the box form, then x
  // and y of the record form (mirror bits only).
  struct Case {
    int t;
    std::vector<int32_t> box;
    std::vector<int32_t> record;
  } cases[] = {
      {0, {1, 2, 3, 4}, {1, 2}},        {1, {1, -6, 3, 4}, {1, -6}},     {2, {-4, 2, 3, 4}, {-4, 2}},
      {3, {-4, -6, 3, 4}, {-4, -6}},    {4, {2, 1, 4, 3}, {1, 2}},       {5, {-6, 1, 4, 3}, {1, -6}},
      {6, {2, -4, 4, 3}, {-4, 2}},      {7, {-6, -4, 4, 3}, {-4, -6}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(set->getBoxes(0, c.t, boxes), 3) << c.t;
    VMPtr<CollisionBox> b = boxes->get(0);
    EXPECT_EQ((std::vector<int32_t>{b->x, b->y, b->width, b->height}), c.box) << c.t;
    EXPECT_EQ(set->getBoxes(0, c.t, records), 3) << c.t;
    EXPECT_EQ(ints(records, 5), (std::vector<int32_t>{c.record[0], c.record[1], 3, 4, 0})) << c.t;
  }
  EXPECT_EQ(geometry(boxes->get(1)), (std::vector<int32_t>{-2, -2, 8, 7, 1, 4}));  // t 7: the circle
}

TEST(AnimSet, TypeFilterAndFullOutputs) {
  VMTestEnv::start();
  VMPtr<AnimSet> set = read(twoAnimations());
  VMPtr<AnimSet::Boxes> one = boxArray(1);
  EXPECT_EQ(set->getBoxes(0, 0, one, 2), 1);
  EXPECT_EQ(geometry(one->get(0)), (std::vector<int32_t>{0, 0, 1, 1, 2, 3}));
  EXPECT_EQ(set->getBoxes(0, 0, one, -1), 1);  // full after the first
  EXPECT_EQ(set->getBoxes(0, 0, one, 9), 0);
  EXPECT_EQ(set->getBoxes(2, 0, one, -1), 0);
  VMPtr<VMArray<int32_t>> five = VMArray<int32_t>::create(5);
  EXPECT_EQ(set->getBoxes(1, 0, five, 0), 1);
  EXPECT_EQ(ints(five, 5), (std::vector<int32_t>{-1, -2, 3, 4, 0}));
  EXPECT_EQ(set->getBoxes(1, 0, VMArray<int32_t>::create(9), -1), 1);  // room for one record
}

TEST(AnimSet, ReadsByIndexAgreeWithReadsByTypeOnlyWhereBoxIHasTypeI) {
  VMTestEnv::start();
  VMPtr<AnimSet> set = read(twoAnimations());
  VMPtr<AnimSet::Boxes> byIndex = boxArray(1);
  VMPtr<AnimSet::Boxes> byType = boxArray(1);
  for (int t : {0, 3, 4}) {
    for (int i = 0; i < 3; ++i) {  // frame 0: box i has type i
      ASSERT_EQ(set->getCollisionBox(0, t, byIndex, i), 1);
      ASSERT_EQ(set->getBoxes(0, t, byType, i), 1);
      EXPECT_EQ(geometry(byIndex->get(0)), geometry(byType->get(0))) << t << " " << i;
    }
  }
  // Frame 1 breaks the rule: box 0 has type 2.
  set->getCollisionBox(1, 0, byIndex, 0);
  set->getBoxes(1, 0, byType, 0);
  EXPECT_NE(geometry(byIndex->get(0)), geometry(byType->get(0)));
  // Out of range or no room: 0, out untouched.
  const std::vector<int32_t> before = geometry(byIndex->get(0));
  EXPECT_EQ(set->getCollisionBox(1, 0, byIndex, 2), 0);
  EXPECT_EQ(set->getCollisionBox(1, 0, byIndex, -1), 0);
  EXPECT_EQ(set->getCollisionBox(1, 0, boxArray(0), 0), 0);
  EXPECT_EQ(set->getCollisionBox(1, 0, nullptr, 0), 0);
  EXPECT_EQ(geometry(byIndex->get(0)), before);
}

TEST(AnimSet, ThroughAPackFramesAndCopies) {
  pack_fixtures::ProgramFolder folder;
  VMTestEnv::start();
  folder.put("RP2.rp", content::writeSimplePack({{0, twoAnimations()}}));
  VMPtr<AnimSet> set = tq::Resources::getAnimSet(2048);
  EXPECT_EQ(set->getId(), 2048);
  EXPECT_EQ(set->getAnimationCount(), 2);
  VMPtr<tq::Frame> frame = set->getFrame(2);
  EXPECT_EQ(set->getFrame(2).get(), frame.get());
  VMPtr<VMArray<int32_t>> bounds = VMArray<int32_t>::create(4);
  set->getFrameBounds(2, 0, bounds);
  EXPECT_EQ(ints(bounds, 4), (std::vector<int32_t>{0x7FFFFFFF, 0x7FFFFFFF, 0, 0}));  // no parts
  frame->getBounds(0, bounds);  // the frame keeps 16 bits of each
  EXPECT_EQ(ints(bounds, 4), (std::vector<int32_t>{-1, -1, 0, 0}));
  EXPECT_EQ(set->getAnimationFrame(1)->getIndex(), 1);
  EXPECT_EQ(set->getAnimationFrame(1)->getBoxCount(), 0);
  VMPtr<AnimSet> copy = set->copy(nullptr);
  EXPECT_EQ(copy->getId(), 2048);
  EXPECT_EQ(copy->getBoxCount(0), 3);
  EXPECT_FALSE(copy->frameCache);
  java_test::thrownMessage<java::lang::ArrayIndexOutOfBoundsException>([&] { set->createPlayer(2); });
}

}  // namespace
