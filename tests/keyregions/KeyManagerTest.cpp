// The touch key manager: pointer sequences over latching and momentary
// regions and the key transitions the canvas gets, releaseAll, removal by
// type, the region queries, and the touched flag's timing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "KeyRegionFixture.h"
#include "VMHeap.h"

namespace keyregions {
namespace {

struct RegionSpec {
  int32_t type;
  int32_t x, y, w, h;
  int32_t mode = 1;
};

// 'p' press, 'd' drag, 'r' release, at (x, y).
struct Ev {
  char op;
  int32_t x, y;
};

struct SequenceCase {
  const char* name;
  std::vector<RegionSpec> regions;
  std::vector<Ev> events;
  // What the canvas got after each event, joined with " | ".
  std::string expected;
};

class KeyManager : public KeyRegionFixture {
 protected:
  std::string run(const SequenceCase& c) {
    for (const RegionSpec& s : c.regions) {
      VMPtr<Region> r = Region::_VM_new()->_VM_init(s.mode, s.type);
      r->x = s.x;
      r->y = s.y;
      r->width = s.w;
      r->height = s.h;
      EXPECT_TRUE(Manager::addRegion(r));
    }
    std::string out;
    for (size_t i = 0; i < c.events.size(); ++i) {
      const Ev& e = c.events[i];
      Manager::pointerEvent(0, e.x, e.y, e.op != 'r', e.op != 'd');
      out += (i ? " | " : "") + canvas->take();
    }
    return out;
  }
};

TEST_F(KeyManager, SequencesAndTheKeyTransitions) {
  const RegionSpec a{1, 0, 0, 10, 10};
  const RegionSpec b{2, 20, 0, 10, 10};
  const SequenceCase cases[] = {
      {"press in a latching region, drag across another, release outside",
       {a, b},
       {{'p', 5, 5}, {'d', 15, 5}, {'d', 25, 5}, {'d', 40, 5}, {'r', 40, 5}},
       "+1 |  |  |  | -1"},
      {"a drag into a latching region presses nothing", {a}, {{'p', 50, 50}, {'d', 5, 5}, {'r', 5, 5}}, " |  | "},
      {"overlapping latching regions of one code: one key", {a, {1, 5, 5, 10, 10}}, {{'p', 7, 7}, {'r', 7, 7}},
       "+1 | -1"},
      {"overlapping regions of two codes go down together, in table order",
       {a, {6, 5, 5, 10, 10}},
       {{'p', 7, 7}, {'d', 8, 8}, {'r', 8, 8}},
       "+1 +6 |  | -1 -6"},
      {"a momentary region holds only while touched",
       {{1, 0, 0, 10, 10, 0}},
       {{'p', 5, 5}, {'d', 50, 5}, {'d', 5, 5}, {'r', 5, 5}},
       "+1 | -1 | +1 | -1"},
      {"negative key codes", {{-3, 0, 0, 10, 10}}, {{'p', 1, 1}, {'r', 1, 1}}, "+-3 | --3"},
      {"codes without a key index make no key", {{64, 0, 0, 10, 10}, {0, 0, 0, 10, 10}}, {{'p', 1, 1}, {'r', 1, 1}},
       " | "},
      {"right and bottom edges are outside", {a}, {{'p', 10, 5}, {'r', 10, 5}, {'p', 5, 10}, {'r', 5, 10}},
       " |  |  | "},
      {"a second press after a release presses again", {a}, {{'p', 0, 0}, {'r', 0, 0}, {'p', 9, 9}, {'r', 9, 9}},
       "+1 | -1 | +1 | -1"},
  };
  for (const SequenceCase& c : cases) {
    SCOPED_TRACE(c.name);
    Manager::removeRegions(0);
    EXPECT_EQ(run(c), c.expected);
    EXPECT_EQ(Manager::keyStateCount, 0);
  }
}

TEST_F(KeyManager, EventsAreTakenRelativeToTheViewOrigin) {
  add(1, 0, 0, 10, 10);
  Manager::originX = 100;
  Manager::originY = 50;
  press(5, 5);
  release(5, 5);
  EXPECT_EQ(canvas->take(), "");
  press(105, 55);
  release(105, 55);
  EXPECT_EQ(canvas->take(), "+1 -1");
}

TEST_F(KeyManager, DisabledRegionsAndOtherPointersAreIgnored) {
  VMPtr<Region> r = add(1, 0, 0, 10, 10);
  r->enabled = 0;
  press(5, 5);
  release(5, 5);
  r->enabled = 1;
  Manager::pointerEvent(1, 5, 5, 1, 1);
  Manager::pointerEvent(-1, 5, 5, 1, 1);
  EXPECT_EQ(canvas->take(), "");
}

TEST_F(KeyManager, ReleaseAllReleasesHeldKeysOnce) {
  add(1, 0, 0, 10, 10);
  add(-5, 20, 0, 10, 10);
  press(5, 5);
  EXPECT_EQ(canvas->take(), "+1");
  Manager::releaseAll();
  EXPECT_EQ(canvas->take(), "-1");
  drag(6, 6);
  release(6, 6);
  EXPECT_EQ(canvas->take(), "");
  // The table works again afterwards.
  press(25, 5);
  release(25, 5);
  EXPECT_EQ(canvas->take(), "+-5 --5");
}

TEST_F(KeyManager, RemoveRegionsByType) {
  VMPtr<Region> own1 = add(127, 0, 0, 5, 5);
  add(1, 0, 0, 5, 5);
  VMPtr<Region> own2 = add(127, 10, 0, 5, 5);
  add(-3, 0, 0, 5, 5);
  add(1, 20, 0, 5, 5);
  for (int32_t type : {64, -65, 128, 200, -128}) {
    SCOPED_TRACE(type);
    EXPECT_EQ(Manager::removeRegions(type), 0);
    EXPECT_EQ(Manager::getRegionCount(0), 5);
  }
  EXPECT_EQ(Manager::removeRegions(127), 2);
  EXPECT_EQ(Manager::getRegionCount(0), 3);
  EXPECT_EQ(Manager::getRegionCount(127), 0);
  EXPECT_EQ(Manager::getRegionCount(1), 2);
  EXPECT_FALSE(own1->pointerHit);
  EXPECT_FALSE(own2->pointerHit);
  EXPECT_EQ(Manager::removeRegions(5), 0);
  EXPECT_EQ(Manager::removeRegions(0), 0);
  EXPECT_EQ(Manager::getRegionCount(0), 0);
  EXPECT_EQ(Manager::removeRegions(1), 0);
  // Nothing registered: events do nothing.
  press(1, 1);
  EXPECT_EQ(canvas->take(), "");
}

TEST_F(KeyManager, RegistrationAndQueries) {
  EXPECT_FALSE(Manager::addRegion(nullptr));
  EXPECT_EQ(Manager::getRegionCount(0), 0);
  EXPECT_EQ(Manager::getRegions(VMArray<Region>::create(3), 0), 0);
  VMPtr<Region> a = add(1, 0, 0, 5, 5);
  VMPtr<Region> b = add(2, 0, 0, 5, 5);
  VMPtr<Region> c = add(1, 10, 0, 5, 5);
  EXPECT_FALSE(Manager::addRegion(a));
  VMPtr<VMArray<Region>> one = VMArray<Region>::create(1);
  EXPECT_EQ(Manager::getRegions(one, 0), 1);
  EXPECT_EQ(one->get(0).get(), a.get());
  VMPtr<VMArray<Region>> four = VMArray<Region>::create(4);
  EXPECT_EQ(Manager::getRegions(four, 1), 2);
  EXPECT_EQ(four->get(0).get(), a.get());
  EXPECT_EQ(four->get(1).get(), c.get());
  EXPECT_EQ(Manager::getRegions(nullptr, 1), 0);
  // Removal, then a press on the removed region's place.
  EXPECT_TRUE(Manager::removeRegion(a));
  EXPECT_FALSE(Manager::removeRegion(a));
  EXPECT_FALSE(a->pointerHit);
  EXPECT_EQ(Manager::getRegionCount(1), 1);
  press(1, 1);
  release(1, 1);
  EXPECT_EQ(canvas->take(), "+2 -2");
  // Registered again, it works again.
  EXPECT_TRUE(Manager::addRegion(a));
  press(1, 1);
  EXPECT_EQ(canvas->take(), "+2 +1");
  EXPECT_TRUE(Manager::setOption(0));
  EXPECT_FALSE(Manager::setOption(1));
}

TEST_F(KeyManager, TouchedFollowsTheFrames) {
  VMPtr<Region> r = add(1, 0, 0, 10, 10);
  struct Step {
    char op;  // 'p' press inside, 'd' drag outside, 'r' release inside, 'o' release outside, 'u' update
    bool touched;
  };
  // touched changes only at an update: the pointer's hit at the last
  // event, or a release of the held key on the region since.
  const Step steps[] = {{'u', false}, {'p', false}, {'u', true},  {'d', true},  {'u', false}, {'r', false},
                        {'u', true},  {'u', false}, {'p', false}, {'o', false}, {'u', false}};
  for (size_t i = 0; i < sizeof steps / sizeof steps[0]; ++i) {
    SCOPED_TRACE(i);
    switch (steps[i].op) {
      case 'p': press(5, 5); break;
      case 'd': drag(50, 5); break;
      case 'r': release(5, 5); break;
      case 'o': release(50, 5); break;
      default: Manager::update();
    }
    EXPECT_EQ(r->touched != 0, steps[i].touched);
  }
}

// Once the key states of the codes in use exist, events allocate nothing.
TEST_F(KeyManager, WarmEventsDoNotAllocate) {
  add(1, 0, 0, 10, 10);
  add(-4, 5, 5, 10, 10);
  VMPtr<Region> own = add(127, 20, 0, 10, 10);
  auto round = [] {
    press(7, 7);
    drag(25, 5);
    release(25, 5);
    press(25, 5);
    release(25, 5);
    Manager::update();
  };
  round();
  canvas->log.reserve(1000);
  const uint64_t before = _VM_heapState().allocated.load();
  for (int i = 0; i < 50; ++i) round();
  EXPECT_EQ(_VM_heapState().allocated.load(), before);
  EXPECT_EQ(own->getPressCount(), 1);
}

}  // namespace
}  // namespace keyregions
