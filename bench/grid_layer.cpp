// The grid layer, side by side with the natural alternative:
//
//   LayerPaint / DrawRegionFloor: a 240 x 320 view of 16 x 16 cells
//       scrolled to (8, 8), so 16 x 21 = 336 cells show (edge ones cut),
//       with 60 pool entries and 10 animation players in view, painted
//       unbuffered into a 240 x 320 image; against a plain drawRegion loop
//       over the same cell pieces and sprites at precomputed places (the
//       floor: the pixels alone).
//   BufferedScroll3 / UnbufferedScroll3: the same scene on a 64 x 20 map
//       scrolled 3 pixels a frame (back and forth), through a buffered
//       layer and an unbuffered one. TransparentBufferedScroll3: through a
//       buffered layer with a transparent ring (drawn over its alpha plane,
//       then blended out).
//   DrawObjects2000 / LinearScan2000: 2,000 listed 16 x 16 sprites along a
//       16,000-pixel strip, a 240 x 320 area drawn through the sorted list
//       and its binary search; against testing every object in turn.
#include <benchmark/benchmark.h>

#include <vector>

#include "DrawableFixtures.h"
#include "VMTestEnv.h"
#include "javax_microedition_lcdui_Graphics.h"
#include "javax_microedition_lcdui_Image.h"
#include "tq_AnimPlayer.h"
#include "tq_AnimSet.h"
#include "tq_CellLayer.h"
#include "tq_Resources.h"
#include "tq_TqCanvas.h"

using namespace drawable_fixtures;
using Graphics = javax::microedition::lcdui::Graphics;
using Image = javax::microedition::lcdui::Image;

namespace {

constexpr int kViewW = 240;
constexpr int kViewH = 320;
constexpr int kCell = 16;
constexpr int kPool = 60;
constexpr int kPlayers = 10;
constexpr int kObjects = 2000;

struct Scene {
  VMNative<Image> tiles;
  VMNative<VMArray<tq::Gob>> sprites;
  VMNative<tq::AnimSet> set;
  VMNative<tq::CellLayer> view;      // 15 x 20 cells plus one each way
  VMNative<tq::CellLayer> wide;      // 64 x 20, unbuffered
  VMNative<tq::CellLayer> buffered;  // 64 x 20, buffered
  VMNative<tq::CellLayer> clear;     // 64 x 20, buffered with a transparent ring
  VMNative<tq::CellLayer> listed;    // 2,000 objects, no cells
  VMNative<Graphics> g;
};

VMPtr<VMArray<int32_t>> pixelsOf(int w, int h, unsigned seed) {
  VMPtr<VMArray<int32_t>> argb = VMArray<int32_t>::create(w * h);
  for (int p = 0; p < w * h; ++p) argb->at(p) = static_cast<int32_t>(0xFF000000u | (p * 0x010203u + seed * 977u));
  return argb;
}

// Cells, 10 players and 60 pool entries spread over the first
// columns x rows cells (all in view for the 17 x 21 map).
void fill(VMPtr<tq::CellLayer> l, Scene& s, int columns, int rows) {
  l->setTiles(columns, rows, s.tiles, kCell, kCell);
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < columns; ++c) l->setCell(c, r, 1 + (c * 7 + r * 3) % 32);
  }
  VMPtr<tq::AnimSet> set = s.set;
  l->setAnimatedCellCapacity(kPlayers);
  for (int i = 0; i < kPlayers; ++i) l->addAnimatedCell(set->createPlayer(0), 24 + i * 21, 40 + i * 27);
  VMPtr<VMArray<tq::Gob>> sprites = s.sprites;
  l->setPoolCapacity(kPool);
  for (int i = 0; i < kPool; ++i) l->addPoolObject(sprites->get(i % 4), 16 + i * 37 % 208, 16 + i * 53 % 290, 0);
}

Scene& scene() {
  static Scene* s = [] {
    VMTestEnv::start();
    auto* made = new Scene();
    made->tiles = Image::createRGBImage(pixelsOf(128, 64, 1), 128, 64, 0);
    VMPtr<VMArray<tq::Gob>> sprites = VMArray<tq::Gob>::create(4);
    for (int i = 0; i < 4; ++i) sprites->set(i, tq::Gob::create(pixelsOf(16, 16, 2 + i), 16, 16, 0));
    made->sprites = sprites;
    AnimSetSpec spec;
    spec.anims = {{-1, {{0, 0, 0, 0}, {1, 0, 0, 0}, {2, 0, 0, 0}, {3, 0, 0, 0}}}};
    for (int f = 0; f < 4; ++f) spec.frames.push_back({{{f, -8, -16, 0}}, {}});
    spec.durations = {50};
    const Bytes bytes = animSetBytes(spec);
    VMPtr<VMArray<int8_t>> data = pack_fixtures::javaBytes(bytes);
    VMPtr<tq::AnimSet> set = tq::AnimSet::load(1, tq::Resources::openStream(data, 0, data->length));
    set->setGobs(sprites);
    made->set = set;
    VMPtr<tq::CellLayer> view = tq::CellLayer::create(kViewW, kViewH);
    fill(view, *made, kViewW / kCell + 1, kViewH / kCell + 1);
    view->setPosition(8, 8);
    made->view = view;
    VMPtr<tq::CellLayer> wide = tq::CellLayer::create(kViewW, kViewH);
    fill(wide, *made, 64, 20);
    made->wide = wide;
    VMPtr<tq::CellLayer> buffered = tq::CellLayer::_VM_new()->_VM_init(1, 0, 0, kViewW, kViewH);
    fill(buffered, *made, 64, 20);
    made->buffered = buffered;
    VMPtr<tq::CellLayer> clear = tq::CellLayer::_VM_new()->_VM_init(1, 0, 1, kViewW, kViewH);
    fill(clear, *made, 64, 20);
    made->clear = clear;
    VMPtr<tq::CellLayer> listed = tq::CellLayer::create(kViewW, kViewH);
    listed->setObjectCapacity(kObjects, 0);
    for (int i = 0; i < kObjects; ++i) listed->addObject(sprites->get(i % 4), i * 8, i * 37 % 300, 0);
    made->listed = listed;
    made->g = Image::createImage(kViewW, kViewH)->getGraphics();
    return made;
  }();
  return *s;
}

void LayerPaint(benchmark::State& state) {
  Scene& s = scene();
  VMPtr<tq::CellLayer> l = s.view;
  VMPtr<Graphics> g = s.g;
  for (auto _ : state) l->paint(g);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(LayerPaint)->Unit(benchmark::kMicrosecond);

void DrawRegionFloor(benchmark::State& state) {
  Scene& s = scene();
  VMPtr<tq::CellLayer> l = s.view;
  VMPtr<Graphics> g = s.g;
  struct Piece {
    Image* image;
    int sx, sy, w, h, dx, dy;
  };
  std::vector<Piece> pieces;
  // The cells of the view at (8, 8): the first row and column show their
  // lower and right halves, the last their upper and left halves.
  for (int r = 0; r <= kViewH / kCell; ++r) {
    for (int c = 0; c <= kViewW / kCell; ++c) {
      const int tile = (c * 7 + r * 3) % 32;
      const int left = c * kCell - 8, top = r * kCell - 8;
      const int cutL = left < 0 ? 8 : 0, cutT = top < 0 ? 8 : 0;
      const int w = std::min(left + kCell, kViewW) - left - cutL;
      const int h = std::min(top + kCell, kViewH) - top - cutT;
      pieces.push_back({s.tiles.get(), tile % 8 * kCell + cutL, tile / 8 * kCell + cutT, w, h, left + cutL, top + cutT});
    }
  }
  VMPtr<VMArray<tq::Gob>> sprites = s.sprites;
  for (int i = 0; i < kPlayers; ++i) {
    pieces.push_back({sprites->get(i % 4)->image.get(), 0, 0, 16, 16, 24 + i * 21 - 8 - 8, 40 + i * 27 - 16 - 8});
  }
  for (int i = 0; i < kPool; ++i) {
    pieces.push_back({sprites->get(i % 4)->image.get(), 0, 0, 16, 16, 16 + i * 37 % 208 - 8, 16 + i * 53 % 290 - 8});
  }
  for (auto _ : state) {
    for (const Piece& p : pieces) {
      g->drawRegion(VMPtr<Image>(p.image), p.sx, p.sy, p.w, p.h, 0, p.dx, p.dy, Graphics::TOP | Graphics::LEFT);
    }
  }
  state.counters["pieces"] = static_cast<double>(pieces.size());
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(DrawRegionFloor)->Unit(benchmark::kMicrosecond);

// Back and forth along the map, 3 pixels a frame.
void Scroll3(benchmark::State& state, VMPtr<tq::CellLayer> l) {
  Scene& s = scene();
  VMPtr<Graphics> g = s.g;
  const int last = (64 * kCell - kViewW) / 3;
  int frame = 0;
  for (auto _ : state) {
    const int k = frame++ % (2 * last);
    l->setPosition(3 * (k < last ? k : 2 * last - k), 0);
    l->paint(g);
  }
  state.SetItemsProcessed(state.iterations());
}
void BufferedScroll3(benchmark::State& state) { Scroll3(state, scene().buffered); }
void TransparentBufferedScroll3(benchmark::State& state) { Scroll3(state, scene().clear); }
void UnbufferedScroll3(benchmark::State& state) { Scroll3(state, scene().wide); }
BENCHMARK(BufferedScroll3)->Unit(benchmark::kMicrosecond);
BENCHMARK(TransparentBufferedScroll3)->Unit(benchmark::kMicrosecond);
BENCHMARK(UnbufferedScroll3)->Unit(benchmark::kMicrosecond);

// Areas along the strip, one per iteration.
void DrawObjects2000(benchmark::State& state) {
  Scene& s = scene();
  VMPtr<tq::CellLayer> l = s.listed;
  VMPtr<Graphics> g = s.g;
  int frame = 0;
  for (auto _ : state) l->drawArea(g, frame++ * 97 % 15000, 0, 0, 0, kViewW, kViewH);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(DrawObjects2000)->Unit(benchmark::kMicrosecond);

void LinearScan2000(benchmark::State& state) {
  Scene& s = scene();
  VMPtr<tq::CellLayer> l = s.listed;
  VMPtr<Graphics> g = s.g;
  VMPtr<VMArray<tq::Paintable>> objects = l->objects;
  VMPtr<VMArray<int16_t>> left = l->objectLeft;
  VMPtr<VMArray<int16_t>> top = l->objectTop;
  int frame = 0;
  for (auto _ : state) {
    const int mx = frame++ * 97 % 15000;
    g->setClip(0, 0, kViewW, kViewH);
    for (int i = 0; i < kObjects; ++i) {
      const int x = left->at(i), y = top->at(i);
      if (x < mx + kViewW && y < kViewH && mx < x + 16 && 0 < y + 16) objects->get(i)->paint(g, x - mx, y, 0);
    }
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(LinearScan2000)->Unit(benchmark::kMicrosecond);

}  // namespace
