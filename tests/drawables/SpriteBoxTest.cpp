// A sprite's collision box under the transforms in its three forms (the
// box query, the record query and the placed rectangle test), a frame's
// offsets under the mirror bits, and the small holders' narrowing.

#include <gtest/gtest.h>

#include <vector>

#include "VMTestEnv.h"
#include "tq_Frame.h"
#include "tq_Gob.h"
#include "tq_GobSet.h"

using tq::Gob;
using tq::graphics::CollisionBox;

namespace {

// Image at (x 2, y 3), 10 x 6; box at (1, 1) from it, 4 x 2, a circle.
VMPtr<Gob> sprite() {
  VMPtr<Gob> g = Gob::_VM_new();
  g->_VM_init();
  g->x = 2;
  g->y = 3;
  g->width = 10;
  g->height = 6;
  g->boxX = 1;
  g->boxY = 1;
  g->boxWidth = 4;
  g->boxHeight = 2;
  g->circle = 1;
  return g;
}

TEST(SpriteBox, UnderTheTransforms) {
  VMTestEnv::start();
  VMPtr<Gob> g = sprite();
  struct Case {
    int t;
    std::vector<int32_t> box;  // x, y, width, height at (100, 200)
  } cases[] = {
      {0, {103, 204, 4, 2}}, {1, {103, 194, 4, 2}}, {2, {93, 204, 4, 2}}, {3, {93, 194, 4, 2}},
      {4, {104, 203, 2, 4}}, {5, {94, 203, 2, 4}},  {6, {104, 193, 2, 4}}, {7, {94, 193, 2, 4}},
  };
  VMPtr<CollisionBox> out = CollisionBox::make();
  VMPtr<VMArray<int32_t>> record = VMArray<int32_t>::create(5);
  for (const Case& c : cases) {
    EXPECT_TRUE(g->writeBox(out, 100, 200, c.t));
    EXPECT_EQ((std::vector<int32_t>{out->x, out->y, out->width, out->height}), c.box) << c.t;
    EXPECT_EQ(out->kind, 4);
    EXPECT_EQ(out->type, -1);
    if ((c.t & 4) == 0) {  // the record and rectangle forms know only the mirrors
      EXPECT_EQ(g->getBoxes(c.t, record, -1), 1);
      EXPECT_EQ(record->at(0) + 100, c.box[0]) << c.t;
      EXPECT_EQ(record->at(1) + 200, c.box[1]) << c.t;
      EXPECT_TRUE(g->intersects(100, 200, c.t, c.box[0] + 3, c.box[1] + 1, 1, 1)) << c.t;
      EXPECT_FALSE(g->intersects(100, 200, c.t, c.box[0] + 4, c.box[1], 1, 1)) << c.t;
    }
  }
  g->boxHeight = 0;
  EXPECT_FALSE(g->writeBox(out, 0, 0, 0));
  EXPECT_EQ(g->getBoxCount(), 0);
  EXPECT_EQ(g->getBoxes(0, record, -1), 0);
}

TEST(SpriteBox, FrameOffsetsAndHolders) {
  VMTestEnv::start();
  VMPtr<VMArray<int32_t>> bounds = VMArray<int32_t>::create(4);
  const int32_t values[4] = {-8, -16, 16, 16};
  std::copy(values, values + 4, bounds->elements());
  VMPtr<tq::Frame> f = tq::Frame::_VM_new();
  f->_VM_init(nullptr, bounds, -5);
  EXPECT_EQ(f->getOffsetX(0), -8);
  EXPECT_EQ(f->getOffsetY(0), -16);
  EXPECT_EQ(f->getOffsetX(3), -8);
  EXPECT_EQ(f->getOffsetY(3), 0);
  EXPECT_EQ(f->getIndex(), 5);
  EXPECT_EQ(f->getBoxCount(), 0);  // an animation's bounding frame

  VMPtr<tq::GobSet> set = tq::GobSet::_VM_new();
  set->_VM_init();
  set->setValueA(0x12345);
  set->setValueB(-1);
  set->setFlag(0x181);
  EXPECT_EQ(set->getValueA(), 0x2345);
  EXPECT_EQ(set->getValueB(), -1);
  EXPECT_EQ(set->getFlag(), -127);
  EXPECT_FALSE(set->getGobs());
  EXPECT_FALSE(set->getAnimSet());
}

}  // namespace
