// The touch state over the engine's event queue: event sequences in one
// frame, the drag folded into a clamped offset, the per-frame cap, boxes
// against rectangles, key regions, and a new Pointer mid-gesture.

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "GameEnv.h"
#include "tq_input_PointerInputEventManager.h"
#include "tq_input_PointerInputKeyManager.h"
#include "ui_Pointer.h"

using gametest::GameEnv;
using tq::input::PointerInputEventManager;
using tq::input::PointerInputKeyManager;
using ui::Pointer;

namespace {

constexpr int32_t P = PointerInputEventManager::kPress;
constexpr int32_t D = PointerInputEventManager::kDrag;
constexpr int32_t R = PointerInputEventManager::kRelease;

struct Touch {
  GameEnv env;
  VMPtr<Pointer> pointer = make();

  static VMPtr<Pointer> make() {
    PointerInputEventManager::init();
    PointerInputEventManager::setArea(0, 0, 240, 320);
    VMPtr<Pointer> p = Pointer::_VM_new();
    return p->_VM_init();
  }
  void events(const std::vector<std::array<int32_t, 3>>& list) {
    for (const auto& e : list) PointerInputEventManager::addEvent(0, e[1], e[2], e[0], 0);
  }
};

struct State {
  uint8_t down, released, tap, up;
  int32_t pressX, prevX, curX, curY;
};

State state() {
  return {Pointer::down->at(0), Pointer::released->at(0), Pointer::tap->at(0), Pointer::up->at(0),
          Pointer::pressX->at(0), Pointer::prevX->at(0), Pointer::curX->at(0), Pointer::curY->at(0)};
}

TEST(Pointer, EventSequencesInOneFrame) {
  struct Case {
    const char* name;
    std::vector<std::array<int32_t, 3>> events;
    State want;
  };
  const std::vector<Case> cases = {
      {"press", {{P, 5, 6}}, {1, 0, 1, 0, 5, 5, 5, 6}},
      {"press and drag", {{P, 5, 6}, {D, 9, 8}}, {1, 0, 0, 0, 5, 5, 9, 8}},
      {"press and release", {{P, 5, 6}, {R, 7, 9}}, {0, 1, 1, 1, 5, 5, 7, 9}},
      {"drag, release", {{P, 5, 6}, {D, 9, 8}, {R, 12, 8}}, {0, 1, 0, 1, 5, 9, 12, 8}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    Touch t;
    t.events(k.events);
    t.pointer->tick(0, 0);
    const State s = state();
    EXPECT_EQ(s.down, k.want.down);
    EXPECT_EQ(s.released, k.want.released);
    EXPECT_EQ(s.tap, k.want.tap);
    EXPECT_EQ(s.up, k.want.up);
    EXPECT_EQ(s.pressX, k.want.pressX);
    EXPECT_EQ(s.prevX, k.want.prevX);
    EXPECT_EQ(s.curX, k.want.curX);
    EXPECT_EQ(s.curY, k.want.curY);
  }
}

TEST(Pointer, AReleasedDragFoldsIntoTheClampedOffsetNextFrame) {
  Touch t;
  t.pointer->setOffsetBounds(100, 50, -100, -50);
  t.events({{P, 10, 20}, {R, 200, 30}});
  t.pointer->update();
  EXPECT_EQ(Pointer::offsetX, 0);
  t.pointer->update();
  EXPECT_EQ(Pointer::offsetX, 100 - 200);  // 190 would put 200 past 100
  EXPECT_EQ(Pointer::offsetY, 10);         // 30 + 10 stays within -50..50
  const State s = state();
  EXPECT_EQ(s.curX, 0);
  EXPECT_EQ(s.released, 0);
  EXPECT_EQ(s.up, 1);   // kept
  EXPECT_EQ(s.tap, 1);  // kept
}

TEST(Pointer, AtMostTwentyEventsAFrame) {
  Touch t;
  // 10 press-release pairs fill the engine's ring of 20.
  for (int32_t i = 0; i < 10; ++i) t.events({{P, i, 1}, {R, i, 2}});
  EXPECT_EQ(t.pointer->getEventCount(), 20);
  t.pointer->update();
  EXPECT_EQ(t.pointer->getEventCount(), 0);
  EXPECT_EQ(Pointer::curX->at(0), 9);
}

TEST(Pointer, BoxesAreHalfOpenRectanglesInclusive) {
  Touch t;
  VMPtr<VMArray<int32_t, 2>> rects = VMArray<int32_t, 2>::createMulti(2, 1, 4);
  rects->get(0)->at(2) = 10;
  rects->get(0)->at(3) = 10;
  VMPtr<VMArray<int32_t>> area = VMArray<int32_t>::create(4);
  area->at(2) = 100;
  area->at(3) = 100;
  t.pointer->setBoxes(7, rects, area);
  VMPtr<VMArray<int32_t>> rect = rects->get(0);
  t.events({{P, 10, 10}});
  t.pointer->update();
  EXPECT_EQ(t.pointer->boxAt(0), -1);
  EXPECT_TRUE(t.pointer->isInside(rect, 0));
  EXPECT_EQ(t.pointer->pressedBox(0), -1);
  t.events({{R, 9, 9}});
  t.pointer->update();
  EXPECT_EQ(t.pointer->boxAt(0), 0);
  EXPECT_EQ(t.pointer->releasedBox(0), 0);
  EXPECT_EQ(t.pointer->pressedBox(0), -1);
  // Outside the area nothing counts, even inside a box.
  area->at(0) = 50;
  t.pointer->setBoxes(0, rects, area);
  EXPECT_EQ(t.pointer->boxAt(0), -1);
}

TEST(Pointer, KeyRegionsAddAndRemoveByRectangle) {
  Touch t;
  VMPtr<VMArray<int32_t>> rect = VMArray<int32_t>::create(4);
  rect->at(2) = 20;
  rect->at(3) = 10;
  t.pointer->addUpRegion(rect);
  t.pointer->addUpRegion(rect);
  t.pointer->addLeftRegion(rect);
  EXPECT_EQ(PointerInputKeyManager::getRegionCount(1), 2);
  EXPECT_FALSE(Pointer::regionHolder->get(0));
  VMPtr<VMArray<int32_t>> flat = VMArray<int32_t>::create(4);
  flat->at(2) = 20;
  t.pointer->addDownRegion(flat);  // no height: nothing
  t.pointer->removeUpRegion(flat);
  EXPECT_EQ(PointerInputKeyManager::getRegionCount(0), 3);
  t.pointer->removeUpRegion(rect);
  EXPECT_EQ(PointerInputKeyManager::getRegionCount(1), 0);
  EXPECT_EQ(PointerInputKeyManager::getRegionCount(2), 1);
  t.pointer->reset();
  EXPECT_EQ(PointerInputKeyManager::getRegionCount(0), 0);
  EXPECT_FALSE(Pointer::regionHolder);
}

TEST(Pointer, ANewPointerMidGestureStartsOver) {
  Touch t;
  t.events({{P, 5, 6}, {D, 8, 9}});
  t.pointer->update();
  t.pointer->setOffsetX(40);
  VMPtr<Pointer> other = Touch::make();
  const State s = state();
  EXPECT_EQ(s.down, 0);
  EXPECT_EQ(s.up, 1);
  EXPECT_EQ(s.curX, 0);
  EXPECT_EQ(Pointer::offsetX, 0);
  t.events({{R, 20, 20}});
  other->update();
}

}  // namespace
