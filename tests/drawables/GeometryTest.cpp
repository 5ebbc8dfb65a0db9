// Collision geometry: the rectangle test, the shape pairs of boxes,
// containment, union and intersection, the list tests of Paintable with
// their hit statics, and the small holders (KeyMapping, ensureCapacity).

#include <gtest/gtest.h>

#include <climits>

#include "JavaTestSupport.h"
#include "VMTestEnv.h"
#include "tq_Gob.h"
#include "tq_KeyMapping.h"
#include "tq_Paintable.h"
#include "tq_graphics_CollisionBox.h"

using tq::Paintable;
using tq::graphics::CollisionBox;

namespace {

VMPtr<CollisionBox> box(int x, int y, int w, int h, int kind = 3) {
  VMPtr<CollisionBox> b = CollisionBox::make(kind);
  b->set(x, y, w, h);
  return b;
}

TEST(Geometry, RectangleOverlapNeedsSizesAndMoreThanAnEdge) {
  VMTestEnv::start();
  struct Case {
    int r[8];
    bool hit;
  } cases[] = {
      {{0, 0, 10, 10, 5, 5, 10, 10}, true},   {{0, 0, 10, 10, 10, 0, 5, 5}, false},
      {{0, 0, 10, 10, 0, 10, 5, 5}, false},   {{0, 0, 10, 10, 9, 9, 5, 5}, true},
      {{0, 0, 0, 10, 0, 0, 5, 5}, false},     {{0, 0, 10, -1, 0, 0, 5, 5}, false},
      {{0, 0, 10, 10, 2, 2, 0, 0}, false},    {{-5, -5, 6, 6, 0, 0, 1, 1}, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Paintable::intersects(c.r[0], c.r[1], c.r[2], c.r[3], c.r[4], c.r[5], c.r[6], c.r[7]), c.hit)
        << c.r[0] << "," << c.r[1] << "," << c.r[2] << "," << c.r[3] << " / " << c.r[4] << "," << c.r[5];
  }
}

TEST(Geometry, ShapePairs) {
  VMTestEnv::start();
  struct Case {
    int a[5];
    int b[5];
    bool hit;
  } cases[] = {
      {{0, 0, 10, 10, 3}, {10, 0, 10, 10, 3}, false},  // shared edge
      {{0, 0, 10, 10, 3}, {9, 9, 10, 10, 3}, true},
      {{0, 0, 10, 10, 4}, {10, 0, 10, 10, 4}, true},   // circles that touch
      {{0, 0, 10, 10, 4}, {11, 0, 10, 10, 4}, false},
      // circle r 5 centred (5, 5) against a corner at (9, 9): 4² + 4² > 25
      {{0, 0, 10, 10, 4}, {9, 9, 10, 10, 3}, false},
      {{0, 0, 10, 10, 4}, {8, 8, 10, 10, 3}, true},    // 3² + 3² <= 25
      {{9, 9, 10, 10, 3}, {0, 0, 10, 10, 4}, false},   // rectangle first
      {{8, 8, 10, 10, 3}, {0, 0, 10, 10, 4}, true},
      {{0, 0, 10, 10, 4}, {4, 20, 2, 2, 3}, false},    // beyond the radius straight below
      // far-apart circles whose squared distance does not fit 32 bits
      {{-40000, 0, 100, 100, 4}, {40000, 0, 100, 100, 4}, false},
  };
  for (const Case& c : cases) {
    VMPtr<CollisionBox> a = box(c.a[0], c.a[1], c.a[2], c.a[3], c.a[4]);
    VMPtr<CollisionBox> b = box(c.b[0], c.b[1], c.b[2], c.b[3], c.b[4]);
    EXPECT_EQ(a->intersects(b), c.hit) << c.a[0] << "," << c.a[1] << " " << c.a[4] << " / " << c.b[4];
  }
  // The rectangle form: a circle checks through the shared point box.
  EXPECT_TRUE(box(0, 0, 10, 10, 4)->intersects(8, 8, 10, 10));
  EXPECT_FALSE(box(0, 0, 10, 10, 4)->intersects(9, 9, 10, 10));
  EXPECT_FALSE(box(0, 0, 10, 10)->intersects(10, 0, 4, 4));
}

TEST(Geometry, Containment) {
  VMTestEnv::start();
  VMPtr<CollisionBox> r = box(2, 3, 10, 20);
  EXPECT_TRUE(r->contains(2, 3));
  EXPECT_TRUE(r->contains(11, 22));
  EXPECT_FALSE(r->contains(12, 3));  // half-open
  EXPECT_FALSE(r->contains(2, 23));
  VMPtr<CollisionBox> c = box(0, 0, 10, 10, 4);
  EXPECT_TRUE(c->contains(5, 9));
  EXPECT_FALSE(c->contains(5, 10));  // exactly r from the centre
  EXPECT_FALSE(c->contains(0, 0));
  EXPECT_TRUE(r->contains(2, 3, 10, 20));
  EXPECT_FALSE(r->contains(2, 3, 11, 20));
  EXPECT_FALSE(r->contains(4, 4, 0, 2));
  EXPECT_TRUE(r->contains(box(4, 4, 2, 2)));
  EXPECT_FALSE(r->contains(box(4, 4, 0, 2)));
  EXPECT_FALSE(box(0, 0, 0, 5)->contains(0, 0));
}

TEST(Geometry, UnionIntersectionAndText) {
  VMTestEnv::start();
  VMPtr<CollisionBox> out = box(0, 0, 0, 0, 4);
  out->intersection(box(0, 0, 10, 10), box(5, 6, 10, 10));
  EXPECT_EQ(java_test::text(out->toString()), u"x,y:5,6, WxH:5,4");
  EXPECT_EQ(out->kind, 3);
  out->intersection(box(0, 0, 4, 4), box(10, 12, 2, 2));
  EXPECT_EQ(java_test::text(out->toString()), u"x,y:10,12, WxH:-6,-8");
  EXPECT_TRUE(out->isEmpty());
  out->union_(box(-3, 4, 2, 2), box(5, -6, 1, 1));
  EXPECT_EQ(java_test::text(out->toString()), u"x,y:-3,-6, WxH:9,12");
  EXPECT_EQ(java_test::text(box(3, 4, 10, 20)->toString()), u"x,y:3,4, WxH:10,20");
}

TEST(Geometry, EnsureCapacityAndKeyMapping) {
  VMTestEnv::start();
  VMPtr<Paintable::Boxes> three = CollisionBox::ensureCapacity(nullptr, 3);
  ASSERT_EQ(three->length, 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(three->get(i)->kind, 3);
  VMPtr<Paintable::Boxes> five = CollisionBox::ensureCapacity(nullptr, 5);
  EXPECT_EQ(CollisionBox::ensureCapacity(five, 3).get(), five.get());
  tq::KeyMapping::_VM_clinitCheck();
  for (auto* s : {&tq::KeyMapping::MAPPING_0, &tq::KeyMapping::MAPPING_3, &tq::KeyMapping::MAPPING_7}) {
    EXPECT_EQ(java_test::text(VMPtr<java::lang::String>(*s)), u"");
  }
}

// Sprites with boxes as the two sides of the list tests.
VMPtr<tq::Gob> gobWithBox(int bx, int by, int bw, int bh) {
  VMPtr<tq::Gob> g = tq::Gob::_VM_new();
  g->_VM_init();
  g->boxX = static_cast<int16_t>(bx);
  g->boxY = static_cast<int16_t>(by);
  g->boxWidth = static_cast<int16_t>(bw);
  g->boxHeight = static_cast<int16_t>(bh);
  return g;
}

TEST(Geometry, ListTestsAndHitStatics) {
  VMTestEnv::start();
  VMPtr<tq::Gob> a = gobWithBox(0, 0, 10, 10);
  VMPtr<tq::Gob> b = gobWithBox(0, 0, 4, 4);
  EXPECT_TRUE(a->collides(0, 0, 0, -1, b, 8, 8, 0, -1));
  ASSERT_TRUE(CollisionBox::lastHitBox);
  EXPECT_EQ(java_test::text(VMPtr<CollisionBox>(CollisionBox::lastHitOther)->toString()), u"x,y:8,8, WxH:4,4");
  EXPECT_FALSE(a->collides(0, 0, 0, -1, b, 10, 0, 0, -1));
  EXPECT_FALSE(CollisionBox::lastHitBox);
  EXPECT_TRUE(a->collides(0, 0, 0, -1, b, 8, 8, 0, -1));
  VMPtr<tq::Gob> none = gobWithBox(0, 0, 0, 4);
  EXPECT_FALSE(a->collides(0, 0, 0, -1, none, 0, 0, 0, -1));
  EXPECT_FALSE(CollisionBox::lastHitBox);
  EXPECT_FALSE(CollisionBox::lastHitOther);

  // The record form: overlap and both types (-1 for sprites).
  VMPtr<VMArray<int32_t>> out = VMArray<int32_t>::create(6);
  EXPECT_TRUE(a->collides(0, 0, 0, -1, b, 8, 7, 0, -1, out));
  EXPECT_EQ((std::vector<int32_t>(out->elements(), out->elements() + 6)),
            (std::vector<int32_t>{8, 7, 2, 3, -1, -1}));
  EXPECT_FALSE(a->collides(0, 0, 2, -1, b, 8, 7, 0, -1, out));  // mirrored to -10..0

  // Second box against second box of the record lists.
  VMPtr<VMArray<int32_t>> la = VMArray<int32_t>::create(10);
  VMPtr<VMArray<int32_t>> lb = VMArray<int32_t>::create(10);
  const int32_t recordsA[10] = {0, 0, 1, 1, 1, 50, 50, 5, 5, 2};
  const int32_t recordsB[10] = {20, 20, 1, 1, 3, 52, 52, 5, 5, 4};
  std::copy(recordsA, recordsA + 10, la->elements());
  std::copy(recordsB, recordsB + 10, lb->elements());
  EXPECT_TRUE(tq::Gob::collides(2, la, 2, lb, out));
  EXPECT_EQ(out->at(0), 52);
  EXPECT_EQ(out->at(4), 2);
  EXPECT_EQ(out->at(5), 4);
  EXPECT_TRUE(tq::Gob::collides(2, la, 2, lb, nullptr));
}

}  // namespace
