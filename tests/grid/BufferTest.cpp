// The buffered grid layer: pixel for pixel what the unbuffered layer shows
// over random runs of scrolls (small, large, negative, far), cell and
// animated-cell changes, pool changes and player steps; the areas redrawn
// per change; the region copies of the ring; no allocation while painting.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "../engine/EngineFixture.h"
#include "GridCanvas.h"
#include "GridFixtures.h"
#include "VMHeap.h"
#include "java_lang_IllegalArgumentException.h"
#include "tq_CellLayer.h"

namespace gridtest {

namespace {

using tq::CellLayer;

constexpr int32_t kW = 48;
constexpr int32_t kH = 40;
constexpr int32_t kCell = 8;
constexpr int32_t kColumns = 20;
constexpr int32_t kRows = 12;

class Buffering : public enginetest::EngineFixture {
 protected:
  // A layer over a 20 x 12 map of random cells (empty ones and two
  // animated cells among them) of a tile set with holes.
  static VMPtr<CellLayer> layer(bool buffered, bool transparent, bool separate) {
    VMPtr<CellLayer> l = CellLayer::_VM_new()->_VM_init(buffered, separate, transparent, kW, kH);
    l->setTiles(kColumns, kRows, randomImage(4 * kCell, 3 * kCell, 5, true), kCell, kCell);
    const int32_t a = l->createAnimatedCell(3);
    const int32_t b = l->createAnimatedCell(0);
    std::mt19937 random(9);
    for (int32_t r = 0; r < kRows; ++r) {
      for (int32_t c = 0; c < kColumns; ++c) {
        const int32_t pick = static_cast<int32_t>(random() % 16);
        l->setCell(c, r, pick < 12 ? pick + 1 : pick == 12 ? 0 : pick == 13 ? a : b);
      }
    }
    return l;
  }
  // What the layer shows over an opaque background: black under an opaque
  // buffer (its cleared colour), random pixels under a transparent one.
  std::vector<int32_t> shown(VMPtr<CellLayer> l, bool transparent) {
    VMPtr<Image> out = Image::createImage(kW, kH);
    VMPtr<Graphics> g = out->getGraphics();
    if (transparent) {
      g->drawImage(randomImage(kW, kH, 77, false), 0, 0, Graphics::TOP | Graphics::LEFT);
    } else {
      g->setColor(0);
      g->fillRect(0, 0, kW, kH);
    }
    l->paint(g);
    return pixels(out);
  }

  std::vector<std::string> log;
};

struct Config {
  const char* name;
  bool transparent;
  bool separate;
};

TEST_F(Buffering, ShowsWhatTheUnbufferedLayerShows) {
  const Config configs[] = {{"opaque", false, false},
                            {"opaque, separate tiles", false, true},
                            {"transparent", true, false},
                            {"transparent, separate tiles", true, true}};
  const int32_t far[] = {INT32_MIN, INT32_MIN + 7, INT32_MAX - 20, INT32_MAX, -100000, 1 << 30, -1000};
  VMPtr<tq::Gob> sprites[] = {randomSprite(7, 5, 0, 0, 1), randomSprite(12, 9, -6, -9, 2),
                              randomSprite(3, 14, -1, -3, 3), randomSprite(20, 4, 2, -2, 4)};
  for (const Config& config : configs) {
    for (uint32_t seed : {1u, 2u, 3u}) {
      SCOPED_TRACE(std::string(config.name) + ", seed " + std::to_string(seed));
      std::mt19937 random(seed);
      auto pick = [&](int32_t lo, int32_t hi) {
        return static_cast<int32_t>(lo + static_cast<int64_t>(random() % (uint32_t(hi - lo) + 1)));
      };
      VMPtr<CellLayer> buffered = layer(true, config.transparent, config.separate);
      VMPtr<CellLayer> plain = layer(false, config.transparent, config.separate);
      auto both = [&](const std::function<void(VMPtr<CellLayer>)>& f) {
        f(buffered);
        f(plain);
      };
      both([&](VMPtr<CellLayer> l) {
        l->setObjectCapacity(8);
        for (int32_t i = 0; i < 6; ++i) l->addObject(sprites[i % 4], 10 + 27 * i, 5 + 13 * i, i % 4);
        l->setAnimatedCellCapacity(3);
        l->addAnimatedCell(sprites[1], 40, 30);
        l->addAnimatedCell(BlinkingPlayer::_VM_new()->_VM_init(), 20, 20);
        l->addAnimatedCell(BlinkingPlayer::_VM_new()->_VM_init(), 100, 60);
        l->setPoolCapacity(10);
      });
      std::vector<int32_t> handles;
      std::string last;
      for (int step = 0; step < 250; ++step) {
        const int32_t op = pick(0, 99);
        if (op < 15) {
          const int32_t dx = pick(-5, 5), dy = pick(-5, 5);
          both([&](VMPtr<CellLayer> l) { l->setPosition(l->getX() + dx, l->getY() + dy); });
          last = "scroll by " + std::to_string(dx) + "," + std::to_string(dy);
        } else if (op < 21) {
          const int32_t x = pick(-200, 300), y = pick(-200, 200);
          both([&](VMPtr<CellLayer> l) { l->setPosition(x, y); });
          last = "move to " + std::to_string(x) + "," + std::to_string(y);
        } else if (op < 23) {
          const int32_t x = far[pick(0, 6)], y = far[pick(0, 6)];
          both([&](VMPtr<CellLayer> l) { l->setPosition(x, y); });
          last = "move far to " + std::to_string(x) + "," + std::to_string(y);
        } else if (op < 28) {
          const int32_t c = pick(0, kColumns - 1), r = pick(0, kRows - 1), v = pick(-2, 12);
          both([&](VMPtr<CellLayer> l) { l->setCell(c, r, v); });
          last = "set cell";
        } else if (op < 38) {
          const int32_t cell = pick(-2, -1), v = pick(0, 12);
          both([&](VMPtr<CellLayer> l) { l->setAnimatedCell(cell, v); });
          last = "set animated cell " + std::to_string(cell) + " to " + std::to_string(v);
        } else if (op < 92) {
          const int32_t kind = pick(0, 3);
          VMPtr<tq::Gob> s = sprites[pick(0, 3)];
          // Mostly near the view, within the pool's 15-bit edges.
          const int32_t nearX = std::clamp(plain->getX(), -16000, 16000);
          const int32_t nearY = std::clamp(plain->getY(), -16000, 16000);
          const int32_t x = pick(0, 3) ? nearX + pick(-20, 60) : pick(-30, 190);
          const int32_t y = pick(0, 3) ? nearY + pick(-20, 50) : pick(-30, 120);
          const int32_t t = pick(0, 3);
          if ((kind <= 1 || handles.empty()) && handles.size() < 10) {
            const int32_t h = buffered->addPoolObject(s, x, y, t);
            EXPECT_EQ(plain->addPoolObject(s, x, y, t), h);
            handles.push_back(h);
            last = "add " + std::to_string(h);
          } else if (kind == 2 && !handles.empty()) {
            const int32_t h = handles[random() % handles.size()];
            both([&](VMPtr<CellLayer> l) { l->setPoolObject(s, x, y, t, h); });
            last = "move " + std::to_string(h);
          } else if (!handles.empty()) {
            const size_t k = random() % handles.size();
            const int32_t h = handles[k];
            both([&](VMPtr<CellLayer> l) { l->removePoolObject(h); });
            handles.erase(handles.begin() + static_cast<std::ptrdiff_t>(k));
            last = "remove " + std::to_string(h);
          }
        } else {
          enginetest::TestClock::now += pick(0, 150);
          last = "clock";
        }
        if (pick(0, 1) == 0) continue;  // several changes before a paint
        ASSERT_EQ(shown(buffered, config.transparent), shown(plain, config.transparent))
            << "step " << step << " after " << last << " at " << plain->getX() << "," << plain->getY();
      }
    }
  }
}

// Translucent sprites, apart from each other, over tiles with holes,
// scrolled: in the transparent ring each of their pixels goes over an
// opaque tile pixel or a clear one, which the ring keeps exactly as the
// backdrop then shows it. (Pool changes are left out: a buffered layer
// draws the entries after a changed one over themselves again, which
// translucent entries show in either ring.)
TEST_F(Buffering, TranslucentSpritesInATransparentRing) {
  std::vector<VMPtr<tq::Gob>> sprites;
  for (uint32_t seed = 0; seed < 4; ++seed) {
    std::mt19937 random(seed + 40);
    VMPtr<VMArray<int32_t>> argb = VMArray<int32_t>::create(10 * 9);
    for (int32_t i = 0; i < argb->length; ++i) {
      argb->at(i) = static_cast<int32_t>((random() % 256) << 24 | (random() & 0xFFFFFF));
    }
    sprites.push_back(tq::Gob::create(argb, 10, 9, 1));
    ASSERT_EQ(sprites.back()->drawMode, 3);
  }
  VMPtr<CellLayer> buffered = layer(true, true, false);
  VMPtr<CellLayer> plain = layer(false, true, false);
  for (VMPtr<CellLayer> l : {buffered, plain}) {
    l->setPoolCapacity(12);
    for (int32_t i = 0; i < 12; ++i) l->addPoolObject(sprites[i % 4], 3 + 27 * (i % 6), 4 + 30 * (i / 6), i % 4);
    l->setObjectCapacity(2);
    l->addObject(sprites[1], 70, 70, 0);
  }
  std::mt19937 random(5);
  for (int step = 0; step < 120; ++step) {
    const int32_t dx = static_cast<int32_t>(random() % 11) - 5, dy = static_cast<int32_t>(random() % 11) - 5;
    const int32_t x = step % 40 == 39 ? static_cast<int32_t>(random() % 120) - 20 : plain->getX() + dx;
    const int32_t y = step % 40 == 39 ? static_cast<int32_t>(random() % 80) - 20 : plain->getY() + dy;
    for (VMPtr<CellLayer> l : {buffered, plain}) l->setPosition(x, y);
    ASSERT_EQ(shown(buffered, true), shown(plain, true)) << "step " << step << " at " << x << "," << y;
  }
}

TEST_F(Buffering, PoolChangesKeepTheDrawingOrder) {
  using Step = std::function<void(VMPtr<CellLayer>)>;
  struct Case {
    const char* name;
    std::vector<Step> steps;  // a paint follows each
  };
  VMPtr<tq::Gob> red = randomSprite(12, 12, 0, 0, 21);
  VMPtr<tq::Gob> blue = randomSprite(12, 12, 0, 0, 22);
  VMPtr<tq::Gob> green = randomSprite(12, 12, 0, 0, 23);
  const Case cases[] = {
      {"two moves in list order unlike handle order",
       {[&](VMPtr<CellLayer> l) {
          l->addPoolObject(red, 2, 2, 0);
          l->addPoolObject(blue, 16, 2, 0);
          l->addPoolObject(green, 30, 2, 0);
        },
        [&](VMPtr<CellLayer> l) {
          l->removePoolObject(0);
          EXPECT_EQ(l->addPoolObject(red, 2, 20, 0), 0);  // last in the list
        },
        [&](VMPtr<CellLayer> l) {
          l->setPoolObject(red, 4, 22, 0, 0);
          l->setPoolObject(blue, 20, 24, 0, 1);
        }}},
      {"an entry moving into view under a listed one",
       {[&](VMPtr<CellLayer> l) {
          l->addPoolObject(red, 200, 2, 0);
          l->addPoolObject(blue, 10, 10, 0);
        },
        [&](VMPtr<CellLayer> l) { l->setPoolObject(red, 14, 14, 0, 0); },
        // The cells under both are redrawn with the pool over them.
        [&](VMPtr<CellLayer> l) {
          for (int32_t r = 0; r < 4; ++r) {
            for (int32_t c = 0; c < 4; ++c) l->setCell(c, r, -1);
          }
        },
        [&](VMPtr<CellLayer> l) { l->setAnimatedCell(-1, 7); }}},
      {"an entry removed while another moves over its place",
       {[&](VMPtr<CellLayer> l) {
          l->addPoolObject(red, 4, 4, 0);
          l->addPoolObject(blue, 30, 20, 0);
        },
        [&](VMPtr<CellLayer> l) {
          l->setPoolObject(blue, 8, 8, 0, 1);
          l->removePoolObject(0);
          l->addPoolObject(green, 6, 6, 1);
        }}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    VMPtr<CellLayer> buffered = layer(true, false, false);
    VMPtr<CellLayer> plain = layer(false, false, false);
    for (VMPtr<CellLayer> l : {buffered, plain}) l->setPoolCapacity(4);
    for (size_t i = 0; i < c.steps.size(); ++i) {
      c.steps[i](buffered);
      c.steps[i](plain);
      EXPECT_EQ(shown(buffered, false), shown(plain, false)) << "after step " << i;
    }
  }
}

TEST_F(Buffering, RedrawsOnlyWhatChangedOrScrolledIntoView) {
  struct Case {
    const char* name;
    int32_t x, y;
    std::function<void(VMPtr<CellLayer>)> change;
    const char* redrawn;
  };
  auto moveTo = [](int32_t x, int32_t y) { return [=](VMPtr<CellLayer> l) { l->setPosition(x, y); }; };
  // 9 covers the map and logs every area drawn but an only-pool pass; 8
  // is a small entry at (20, 20) after it in the pool.
  const Case cases[] = {
      {"nothing changed", 16, 0, [](VMPtr<CellLayer>) {}, ""},
      {"3 pixels right", 16, 0, moveTo(19, 0), "9[16,0,3,40]"},
      {"3 pixels left", 16, 0, moveTo(13, 0), "9[13,0,3,40]"},
      {"3 pixels right from a negative position", -16, 0, moveTo(-13, 0), "9[32,0,3,40]"},
      {"3 pixels down, the strip in two pieces of the ring", 16, 0, moveTo(16, 3), "9[16,0,32,3] 9[0,0,16,3]"},
      {"a view or more on both axes: the whole view once", 16, 0, moveTo(64, 40), "9[16,0,32,40] 9[0,0,16,40]"},
      {"a cell set: the whole view", 0, 0, [](VMPtr<CellLayer> l) { l->setCell(0, 0, 2); },
       "9[0,0,48,40] 8[0,0,48,40]"},
      {"an animated cell set: its visible cells", 0, 0, [](VMPtr<CellLayer> l) { l->setAnimatedCell(-3, 5); },
       "9[8,8,8,8] 9[40,16,8,8]"},
      {"a pool entry added: the pool from it drawn over the ring", 0, 0,
       [this](VMPtr<CellLayer> l) {
         VMPtr<Probe> p = Probe::_VM_new()->_VM_init(&log, 7, 4, 4, 0, 0);
         p->logClip = true;
         l->addPoolObject(p, 2, 2, 0);
       },
       "7[0,0,48,40]"},
      {"a pool entry moved: its old place redrawn, then the pool from it", 0, 0,
       [](VMPtr<CellLayer> l) { l->setPoolObject(l->poolObjects->get(1), 30, 10, 0, 1); },
       "9[20,20,4,4] 8[0,0,48,40]"},
      {"a pool entry removed: its place redrawn", 0, 0, [](VMPtr<CellLayer> l) { l->removePoolObject(1); },
       "9[20,20,4,4]"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    VMPtr<CellLayer> l = layer(true, false, false);
    // A new animated cell at cells (1, 1), (5, 2) and (15, 1), out of view.
    const int32_t cell = l->createAnimatedCell(4);
    EXPECT_EQ(cell, -3);
    for (auto [col, row] : {std::pair{1, 1}, std::pair{5, 2}, std::pair{15, 1}}) l->setCell(col, row, cell);
    l->setPoolCapacity(4);
    VMPtr<Probe> cover = Probe::_VM_new()->_VM_init(&log, 9, 40000, 40000, 0, 0);
    cover->logClip = true;
    VMPtr<Probe> small = Probe::_VM_new()->_VM_init(&log, 8, 4, 4, 0, 0);
    small->logClip = true;
    l->addPoolObject(cover, -16000, -16000, 0);
    l->addPoolObject(small, 20, 20, 0);
    l->setPosition(c.x, c.y);
    VMPtr<Graphics> g = Image::createImage(kW, kH)->getGraphics();
    l->paint(g);
    take(log);
    c.change(l);
    l->paint(g);
    EXPECT_EQ(take(log), c.redrawn);
  }
}

TEST_F(Buffering, TheRingIsCopiedOutInAtMostFourRegions) {
  VMPtr<GridCanvas> canvas = makeGridCanvas();
  VMPtr<java::lang::Thread> thread = tq::TqCanvas::canvasThread;
  struct Case {
    int32_t x, y;
    const char* copies;
  };
  const Case cases[] = {
      {0, 0, "(0,0,48,40)->(0,0)"},
      {kW + 10, 0, "(10,0,38,40)->(0,0) (0,0,10,40)->(38,0)"},
      {-kW, 5, "(0,5,48,35)->(0,0) (0,0,48,5)->(0,35)"},
      {-3, -5, "(45,35,3,5)->(0,0) (0,35,45,5)->(3,0) (45,0,3,35)->(0,5) (0,0,45,35)->(3,5)"},
  };
  VMPtr<CellLayer> l = layer(true, true, false);
  VMPtr<Graphics> g = Image::createImage(kW, kH)->getGraphics();
  for (const Case& c : cases) {
    l->setPosition(c.x, c.y);
    canvas->copies.clear();
    l->paint(g);
    EXPECT_EQ(take(canvas->copies), c.copies);
  }
  EXPECT_THROW(CellLayer::_VM_new()->_VM_init(1, 0, 0, 0, 10), java::lang::IllegalArgumentException*);
  EXPECT_THROW(CellLayer::_VM_new()->_VM_init(1, 0, 1, 10, -1), java::lang::IllegalArgumentException*);
  // The canvas, never shown, ends its thread.
  finish(VMPtr<enginetest::ProbeCanvas>(canvas), thread);
}

TEST_F(Buffering, ClearingEmptiesTheAreaAndKeepsTheGraphicsState) {
  for (uint8_t transparent : {0, 1}) {
    SCOPED_TRACE(transparent ? "transparent" : "opaque");
    VMPtr<CellLayer> l = CellLayer::_VM_new()->_VM_init(1, 0, transparent, kW, kH);
    VMPtr<Graphics> g = l->bufferGraphics;
    // Opaque pixels first: in mode 1 a fill copies its alpha.
    if (transparent) g->setDrawMode(1, 0);
    g->setARGBColor(static_cast<int32_t>(0xFF3366CCu));
    g->fillRect(0, 0, kW, kH);
    g->setDrawMode(0, 0);
    g->setARGBColor(static_cast<int32_t>(0x80123456u));
    l->clearArea(g, 5, 6, 10, 7);
    EXPECT_EQ(g->getDrawMode(), 0);
    EXPECT_EQ(g->getARGBColor(), static_cast<int32_t>(0x80123456u));
    const std::vector<int32_t> ring = pixels(l->bufferImage);
    const uint32_t cleared = transparent ? 0 : 0xFF000000u;
    for (int32_t y = 0; y < kH; ++y) {
      for (int32_t x = 0; x < kW; ++x) {
        const bool inside = x >= 5 && x < 15 && y >= 6 && y < 13;
        const uint32_t p = static_cast<uint32_t>(ring[y * kW + x]);
        if (inside) {
          EXPECT_EQ(transparent ? p >> 24 : p, cleared) << x << "," << y;
        } else {
          EXPECT_EQ(p >> 24, 0xFFu) << x << "," << y;
        }
      }
    }
  }
}

TEST_F(Buffering, WarmPaintsAllocateNothing) {
  VMPtr<tq::Gob> sprite = randomSprite(6, 6, -3, -3, 8);
  for (uint8_t buffered : {0, 1}) {
    SCOPED_TRACE(buffered ? "buffered" : "unbuffered");
    VMPtr<CellLayer> l = layer(buffered, true, false);
    l->setObjectCapacity(40);
    for (int32_t i = 0; i < 40; ++i) l->addObject(sprite, i * 7 % 160, i * 13 % 96, i % 4);
    l->setAnimatedCellCapacity(4);
    l->addAnimatedCell(BlinkingPlayer::_VM_new()->_VM_init(), 20, 20);
    l->addAnimatedCell(sprite, 30, 30);
    l->setPoolCapacity(20);
    for (int32_t i = 0; i < 20; ++i) l->addPoolObject(sprite, i * 11 % 160, i * 5 % 96, 0);
    VMPtr<Graphics> g = Image::createImage(kW, kH)->getGraphics();
    auto frame = [&](int32_t i) {
      l->setPosition(i * 3 % 200 - 50, i * 7 % 120 - 30);
      l->setPoolObject(sprite, i % 160, i * 2 % 96, i % 4, i % 20);
      l->setAnimatedCell(-1, i % 12);
      if (i % 25 == 0) l->setCell(i % kColumns, 0, i % 12);
      if (i % 10 == 0) l->removePoolObject(VMPtr<tq::Paintable>(), CellLayer::kAny, CellLayer::kAny, CellLayer::kAny);
      if (i % 10 == 0) l->addPoolObject(sprite, i, i, 1);
      enginetest::TestClock::now += 16;
      l->paint(g);
    };
    for (int32_t i = 0; i < 5; ++i) frame(i);
    const uint64_t before = _VM_heapState().allocated;
    for (int32_t i = 5; i < 105; ++i) frame(i);
    EXPECT_EQ(_VM_heapState().allocated, before);
  }
}

}  // namespace
}  // namespace gridtest
