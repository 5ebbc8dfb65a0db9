// The grid layer's object list and pool: the sort axis, the search moved
// back by the largest extent, the drawing order, randomised comparisons
// with a brute-force painter, the pool's handle table, removal by match
// with wildcards, the packed edges, and the errors of a full or misused
// list.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "DisplayFixture.h"
#include "GridFixtures.h"
#include "java_lang_ArrayIndexOutOfBoundsException.h"
#include "java_lang_IllegalArgumentException.h"
#include "java_lang_NullPointerException.h"
#include "tq_CellLayer.h"

namespace gridtest {
namespace {

using tq::CellLayer;

// One drawable placed in a list, as the brute-force painter sees it.
struct Placed {
  Probe* probe;
  int32_t x, y, t;
};

struct Area {
  int32_t mx, my, dx, dy, w, h;
};

class Objects : public DisplayFixture {
 protected:
  VMPtr<Probe> probe(int32_t id, int32_t w, int32_t h, int32_t ox, int32_t oy) {
    VMPtr<Probe> p = Probe::_VM_new()->_VM_init(&log, id, w, h, ox, oy);
    return p;
  }
  std::string drawn(VMPtr<CellLayer> layer, const Area& a) {
    log.clear();
    layer->drawArea(Image::createImage(200, 200)->getGraphics(), a.mx, a.my, a.dx, a.dy, a.w, a.h);
    return take(log);
  }
  // What drawArea should paint: every placed drawable meeting the area,
  // in list order.
  static std::string bruteForce(const std::vector<Placed>& list, const Area& a) {
    std::string out;
    for (const Placed& e : list) {
      Probe* p = e.probe;
      const int64_t left = int64_t{e.x} + p->getOffsetX(e.t);
      const int64_t top = int64_t{e.y} + p->getOffsetY(e.t);
      if (left >= int64_t{a.mx} + a.w || top >= int64_t{a.my} + a.h || left + p->w <= a.mx || top + p->h <= a.my) {
        continue;
      }
      std::string entry = std::to_string(p->id) + "@" + std::to_string(e.x - a.mx + a.dx) + "," +
                          std::to_string(e.y - a.my + a.dy);
      if (e.t != 0) entry += "/" + std::to_string(e.t);
      out += (out.empty() ? "" : " ") + entry;
    }
    return out;
  }
  // The in-use handles from the head of the list.
  static std::vector<int32_t> inUse(VMPtr<CellLayer> layer) {
    std::vector<int32_t> out;
    for (int32_t h = layer->poolHead; h >= 0; h = layer->poolNext->at(h)) out.push_back(h);
    return out;
  }
  static VMPtr<CellLayer> mapOf(int32_t columns, int32_t rows) {
    VMPtr<CellLayer> layer = CellLayer::create(64, 64);
    layer->setTiles(columns, rows, Image::createImage(16, 16), 16, 16);
    return layer;
  }

  std::vector<std::string> log;
};

TEST_F(Objects, TheListIsSortedAlongTheLongerSideOfTheMap) {
  struct Case {
    int32_t columns, rows;
    bool byY;
  };
  for (const Case& c : {Case{10, 4, false}, Case{4, 10, true}, Case{6, 6, false}}) {
    SCOPED_TRACE(std::to_string(c.columns) + " x " + std::to_string(c.rows));
    VMPtr<CellLayer> layer = mapOf(c.columns, c.rows);
    layer->cellsChanged = 0;
    layer->setObjectCapacity(4);
    EXPECT_EQ(layer->objectsByY, c.byY);
    EXPECT_TRUE(layer->cellsChanged);
  }
  // Cells of 8 x 32 on a 10 x 4 map: 80 x 128 pixels, sorted by y.
  VMPtr<CellLayer> layer = CellLayer::create(64, 64);
  layer->setTiles(10, 4, Image::createImage(16, 32), 8, 32);
  layer->setObjectCapacity(1);
  EXPECT_TRUE(layer->objectsByY);
}

TEST_F(Objects, DrawnInTheOrderAddedAndFoundReachingIntoTheArea) {
  for (uint8_t byY : {0, 1}) {
    SCOPED_TRACE(byY ? "sorted by y" : "sorted by x");
    VMPtr<CellLayer> layer = mapOf(20, 20);
    layer->setObjectCapacity(8, byY);
    // B right of (or below) A, added first; C long, starting 90 pixels
    // before the area; D small, just before the area; E just after it.
    const int32_t across = byY ? 0 : 1;
    auto at = [&](int32_t along, int32_t other) { return across ? std::pair{along, other} : std::pair{other, along}; };
    auto add = [&](int32_t id, int32_t along, int32_t length) {
      const auto [x, y] = at(along, 5);
      const auto [w, h] = at(length, 4);
      layer->addObject(probe(id, w, h, 0, 0), x, y, 0);
    };
    add(2, 150, 4);  // B
    add(1, 120, 4);  // A
    add(3, 10, 100);
    add(4, 95, 4);
    add(5, 200, 4);
    const auto [mx, my] = at(100, 0);
    const auto [w, h] = at(100, 20);
    const std::string out = drawn(layer, {mx, my, 0, 0, w, h});
    const auto [bx, by] = at(50, 5);
    const auto [ax, ay] = at(20, 5);
    const auto [cx, cy] = at(-90, 5);
    EXPECT_EQ(out, "2@" + std::to_string(bx) + "," + std::to_string(by) + " 1@" + std::to_string(ax) + "," +
                       std::to_string(ay) + " 3@" + std::to_string(cx) + "," + std::to_string(cy));
  }
}

TEST_F(Objects, ListAndPoolDrawWhatABruteForcePainterDraws) {
  std::mt19937 random(11);
  auto pick = [&](int32_t lo, int32_t hi) { return lo + static_cast<int32_t>(random() % (hi - lo + 1)); };
  for (int round = 0; round < 40; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    VMPtr<CellLayer> layer = mapOf(pick(1, 30), pick(1, 30));
    const int32_t objectCount = pick(0, 60);
    layer->setObjectCapacity(objectCount + 1);
    std::vector<Placed> objects;
    std::vector<VMPtr<Probe>> keep;
    for (int32_t i = 0; i < objectCount; ++i) {
      VMPtr<Probe> p = probe(i, pick(0, 70), pick(0, 70), pick(-40, 10), pick(-40, 10));
      keep.push_back(p);
      const Placed e{p.get(), pick(-100, 500), pick(-100, 500), pick(0, 3)};
      layer->addObject(p, e.x, e.y, e.t);
      objects.push_back(e);
    }
    // The pool: a random run of adds, moves and removals, mirrored in a
    // model of the in-use list and the free handles.
    const int32_t capacity = pick(1, 20);
    layer->setPoolCapacity(capacity);
    std::vector<std::pair<int32_t, Placed>> pool;
    std::vector<int32_t> free;
    for (int32_t h = capacity - 1; h >= 0; --h) free.push_back(h);
    for (int op = 0; op < 60; ++op) {
      VMPtr<Probe> p = probe(1000 + op, pick(0, 70), pick(0, 70), pick(-40, 10), pick(-40, 10));
      keep.push_back(p);
      const Placed e{p.get(), pick(-100, 500), pick(-100, 500), pick(0, 3)};
      const int32_t kind = pick(0, 3);
      if (kind <= 1 && !free.empty()) {
        EXPECT_EQ(layer->addPoolObject(p, e.x, e.y, e.t), free.back());
        pool.emplace_back(free.back(), e);
        free.pop_back();
      } else if (kind == 2 && !pool.empty()) {
        auto& entry = pool[random() % pool.size()];
        layer->setPoolObject(p, e.x, e.y, e.t, entry.first);
        entry.second = e;
      } else if (!pool.empty()) {
        const size_t k = random() % pool.size();
        layer->removePoolObject(pool[k].first);
        free.push_back(pool[k].first);
        pool.erase(pool.begin() + static_cast<std::ptrdiff_t>(k));
      }
    }
    std::vector<Placed> all = objects;
    for (const auto& entry : pool) all.push_back(entry.second);
    for (int a = 0; a < 10; ++a) {
      const Area area{pick(-150, 500), pick(-150, 500), pick(-20, 20), pick(-20, 20), pick(1, 200), pick(1, 200)};
      EXPECT_EQ(drawn(layer, area), bruteForce(all, area))
          << "area " << area.mx << "," << area.my << " " << area.w << " x " << area.h;
    }
  }
}

TEST_F(Objects, AnEntryAddedAfterADrawIsSortedIn) {
  VMPtr<CellLayer> layer = mapOf(20, 4);
  layer->setObjectCapacity(3);
  layer->addObject(probe(1, 4, 4, 0, 0), 200, 0, 0);
  EXPECT_EQ(drawn(layer, {0, 0, 0, 0, 100, 64}), "");
  layer->cellsChanged = 0;
  layer->addObject(probe(2, 4, 4, 0, 0), 10, 0, 0);
  EXPECT_TRUE(layer->cellsChanged);
  EXPECT_EQ(drawn(layer, {0, 0, 0, 0, 100, 64}), "2@10,0");
  EXPECT_EQ(drawn(layer, {150, 0, 0, 0, 100, 64}), "1@50,0");
}

TEST_F(Objects, PoolHandlesComeBackLastFreedFirstAndDrawInOrderAdded) {
  VMPtr<CellLayer> layer = mapOf(4, 4);
  layer->setPoolCapacity(3);
  std::vector<int32_t> handles;
  for (int32_t id = 0; id < 3; ++id) handles.push_back(layer->addPoolObject(probe(id, 2, 2, 0, 0), id * 10, 0, 0));
  EXPECT_EQ(handles, std::vector<int32_t>({0, 1, 2}));
  layer->removePoolObject(1);
  EXPECT_EQ(layer->addPoolObject(probe(3, 2, 2, 0, 0), 30, 0, 0), 1);
  EXPECT_EQ(inUse(layer), std::vector<int32_t>({0, 2, 1}));
  EXPECT_EQ(drawn(layer, {0, 0, 0, 0, 64, 64}), "0@0,0 2@20,0 3@30,0");
  // A moved entry keeps its place.
  layer->setPoolObject(probe(4, 2, 2, 0, 0), 40, 1, 1, 0);
  EXPECT_EQ(drawn(layer, {0, 0, 0, 0, 64, 64}), "4@40,1/1 2@20,0 3@30,0");
  // Freed in the order 2, 0: 0 comes back first.
  layer->removePoolObject(2);
  layer->removePoolObject(0);
  EXPECT_EQ(layer->addPoolObject(probe(5, 2, 2, 0, 0), 0, 0, 0), 0);
  EXPECT_EQ(layer->addPoolObject(probe(6, 2, 2, 0, 0), 0, 0, 0), 2);
  EXPECT_EQ(inUse(layer), std::vector<int32_t>({1, 0, 2}));
}

TEST_F(Objects, RemovalByMatchTakesTheOldestMatchingEntry) {
  constexpr int32_t any = CellLayer::kAny;
  struct Case {
    const char* name;
    int probe;  // -1 null, else the index of the drawable
    int32_t x, y, t;
    bool removed;
    std::vector<int32_t> left;
  };
  // Entries: handle 0 = a at (1, 2) t 0, 1 = b at (3, 4) t 1, 2 = a at
  // (5, 6) t 2, 3 = b at (1, 2) t 0.
  const Case cases[] = {
      {"all wildcards: the oldest", -1, any, any, any, true, {1, 2, 3}},
      {"by drawable", 1, any, any, any, true, {0, 2, 3}},
      {"by drawable and transform", 0, any, any, 2, true, {0, 1, 3}},
      {"by x", -1, 5, any, any, true, {0, 1, 3}},
      {"by y", -1, any, 4, any, true, {0, 2, 3}},
      {"by position: the oldest of two", -1, 1, 2, any, true, {1, 2, 3}},
      {"by drawable and position", 1, 1, 2, 0, true, {0, 1, 2}},
      {"no match", 0, 3, 4, any, false, {0, 1, 2, 3}},
      {"transform mismatch", 1, 3, 4, 0, false, {0, 1, 2, 3}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    VMPtr<CellLayer> layer = mapOf(4, 4);
    layer->setPoolCapacity(4);
    // Offsets make the stored edges differ from the positions given.
    VMPtr<Probe> drawables[] = {probe(0, 3, 3, -1, -2), probe(1, 3, 3, 2, 1)};
    layer->addPoolObject(drawables[0], 1, 2, 0);
    layer->addPoolObject(drawables[1], 3, 4, 1);
    layer->addPoolObject(drawables[0], 5, 6, 2);
    layer->addPoolObject(drawables[1], 1, 2, 0);
    const VMPtr<tq::Paintable> p = c.probe < 0 ? VMPtr<tq::Paintable>() : VMPtr<tq::Paintable>(drawables[c.probe]);
    EXPECT_EQ(layer->removePoolObject(p, c.x, c.y, c.t), c.removed);
    EXPECT_EQ(inUse(layer), c.left);
  }
  VMPtr<CellLayer> empty = mapOf(4, 4);
  EXPECT_FALSE(empty->removePoolObject(VMPtr<tq::Paintable>(), any, any, any));
  empty->setPoolCapacity(2);
  EXPECT_FALSE(empty->removePoolObject(VMPtr<tq::Paintable>(), any, any, any));
}

TEST_F(Objects, PoolEdgesArePackedIn15Bits) {
  struct Case {
    int32_t x, y, t;
    int32_t left, top;
  };
  // A drawable of size 0 has the offset 0 under every transform.
  const Case cases[] = {
      {-5, -7, 3, -5, -7},          {16384, 0, 0, -16384, 0},         {0, 16384, 1, 0, -16384},
      {16383, -16384, 2, 16383, -16384}, {-16385, 40000, 0, 16383, 7232},
  };
  VMPtr<CellLayer> layer = mapOf(4, 4);
  layer->setPoolCapacity(8);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.x) + ", " + std::to_string(c.y));
    const int32_t h = layer->addPoolObject(probe(0, 0, 0, 0, 0), c.x, c.y, c.t);
    const int32_t packed = layer->poolPositions->at(h);
    EXPECT_EQ(CellLayer::packedLeft(packed), c.left);
    EXPECT_EQ(CellLayer::packedTop(packed), c.top);
    EXPECT_EQ(CellLayer::packedTransform(packed), c.t);
  }
  // An entry whose edges lie within the 15 bits is found by its position.
  layer->setPoolCapacity(1);
  layer->addPoolObject(probe(0, 1, 1, -3, 2), -5, -7, 0);
  EXPECT_TRUE(layer->removePoolObject(VMPtr<tq::Paintable>(), -5, -7, 0));
}

TEST_F(Objects, AFullOrMisusedListRaisesAndChangesNothing) {
  VMPtr<CellLayer> layer = mapOf(4, 4);
  VMPtr<Probe> p = probe(0, 1, 1, 0, 0);
  // Without a pool: no arrays.
  EXPECT_THROW(layer->addPoolObject(p, 0, 0, 0), java::lang::NullPointerException*);
  layer->setPoolCapacity(2);
  layer->addPoolObject(p, 0, 0, 0);
  EXPECT_THROW(layer->addPoolObject(VMPtr<tq::Paintable>(), 0, 0, 0), java::lang::NullPointerException*);
  layer->addPoolObject(p, 1, 0, 0);
  EXPECT_THROW(layer->addPoolObject(p, 2, 0, 0), java::lang::ArrayIndexOutOfBoundsException*);
  EXPECT_EQ(inUse(layer), std::vector<int32_t>({0, 1}));
  EXPECT_THROW(layer->setPoolObject(VMPtr<tq::Paintable>(), 0, 0, 0, 0), java::lang::NullPointerException*);
  layer->removePoolObject(0);
  // A handle not in use: removing it twice would put it twice on the free
  // list, moving it would draw it outside the list.
  EXPECT_THROW(layer->removePoolObject(0), java::lang::IllegalArgumentException*);
  EXPECT_THROW(layer->setPoolObject(p, 0, 0, 0, 0), java::lang::IllegalArgumentException*);
  EXPECT_THROW(layer->removePoolObject(2), java::lang::ArrayIndexOutOfBoundsException*);
  EXPECT_EQ(inUse(layer), std::vector<int32_t>({1}));
  EXPECT_EQ(layer->addPoolObject(p, 0, 0, 0), 0);
  EXPECT_EQ(drawn(layer, {0, 0, 0, 0, 8, 8}), "0@1,0 0@0,0");
  // Handles live in shorts, object indices in 16 key bits.
  EXPECT_THROW(layer->setPoolCapacity(32768), java::lang::IllegalArgumentException*);
  EXPECT_THROW(layer->setObjectCapacity(65536), java::lang::IllegalArgumentException*);
  layer->setPoolCapacity(0);
  EXPECT_EQ(layer->poolHead, -1);
  EXPECT_EQ(drawn(layer, {0, 0, 0, 0, 8, 8}), "");

  EXPECT_THROW(layer->addObject(p, 0, 0, 0), java::lang::NullPointerException*);
  layer->setObjectCapacity(1);
  EXPECT_THROW(layer->addObject(VMPtr<tq::Paintable>(), 0, 0, 0), java::lang::NullPointerException*);
  layer->addObject(p, 0, 0, 0);
  EXPECT_THROW(layer->addObject(p, 0, 0, 0), java::lang::ArrayIndexOutOfBoundsException*);
  EXPECT_EQ(layer->objectCount, 1);
  EXPECT_EQ(drawn(layer, {0, 0, 0, 0, 8, 8}), "0@0,0");
}

TEST_F(Objects, FarAreasDoNotWrap) {
  VMPtr<CellLayer> layer = mapOf(4, 4);
  layer->setObjectCapacity(2);
  layer->addObject(probe(0, 100, 100, 0, 0), -32768, -32768, 0);
  layer->addObject(probe(1, 100, 100, 0, 0), 32700, 32700, 0);
  layer->setPoolCapacity(1);
  layer->addPoolObject(probe(2, 100, 100, 0, 0), 16300, 16300, 0);
  const Area far[] = {{INT32_MAX - 10, INT32_MAX - 10, 0, 0, 100, 100},
                      {INT32_MIN, INT32_MIN, 0, 0, 100, 100},
                      {-33000, -33000, 0, 0, 300, 300}};
  EXPECT_EQ(drawn(layer, far[0]), "");
  EXPECT_EQ(drawn(layer, far[1]), "");
  EXPECT_EQ(drawn(layer, far[2]), "0@232,232");
  EXPECT_EQ(drawn(layer, {32750, 32750, 0, 0, 100, 100}), "1@-50,-50");
}

}  // namespace
}  // namespace gridtest
