// Drawables, side by side with the natural alternative:
//
//   PlayersUpdateAndPaint / DrawRegionFloor: 100 players of a 4-frame
//       walking animation of 16 x 16 sprites updated and painted into a
//       240 x 320 image, against a plain drawRegion loop of the same
//       sprites at precomputed positions (the floor: the pixels alone).
//   PlayersAgainstBoxes / PlainRectangleLoop: 100 players each tested
//       against 50 boxes (collidesWith), against a plain C++ loop over the
//       same rectangles.
//   LoadAnimSet / ReadAnimSetBytes: a 200-frame set read by AnimSet::load,
//       against reading its bytes from the same stream.
#include <benchmark/benchmark.h>

#include <vector>

#include "DrawableFixtures.h"
#include "VMTestEnv.h"
#include "javax_microedition_lcdui_Graphics.h"
#include "javax_microedition_lcdui_Image.h"
#include "tq_AnimPlayer.h"
#include "tq_AnimSet.h"
#include "tq_Resources.h"

using namespace drawable_fixtures;
using Graphics = javax::microedition::lcdui::Graphics;
using Image = javax::microedition::lcdui::Image;

namespace {

constexpr int kPlayers = 100;
constexpr int kBoxes = 50;

struct Scene {
  VMNative<tq::AnimSet> set;
  VMNative<VMArray<tq::AnimPlayer>> players;
  VMNative<Graphics> g;
  VMNative<VMArray<tq::graphics::CollisionBox>> boxes;
};

VMPtr<tq::AnimSet> readSet(const Bytes& bytes) {
  VMPtr<VMArray<int8_t>> data = pack_fixtures::javaBytes(bytes);
  return tq::AnimSet::load(1, tq::Resources::openStream(data, 0, data->length));
}

Scene& scene() {
  static Scene* s = [] {
    VMTestEnv::start();
    auto* made = new Scene();
    AnimSetSpec spec;
    spec.anims = {{-1, {{0, 0, 0, 0}, {1, 2, 0, 0}, {2, 4, 0, 0}, {3, 6, 0, 0}}}};
    for (int f = 0; f < 4; ++f) spec.frames.push_back({{{f, -8, -16, 0}}, {{-8, -16, 16, 16, 0}}});
    spec.durations = {50};
    VMPtr<tq::AnimSet> set = readSet(animSetBytes(spec));
    VMPtr<VMArray<tq::Gob>> gobs = VMArray<tq::Gob>::create(4);
    for (int i = 0; i < 4; ++i) {
      VMPtr<VMArray<int32_t>> argb = VMArray<int32_t>::create(256);
      for (int p = 0; p < 256; ++p) argb->at(p) = static_cast<int32_t>(0xFF000000u | (p * 0x010203u) << i);
      gobs->set(i, tq::Gob::create(argb, 16, 16, 0));
    }
    set->setGobs(gobs);
    VMPtr<VMArray<tq::AnimPlayer>> players = VMArray<tq::AnimPlayer>::create(kPlayers);
    for (int i = 0; i < kPlayers; ++i) {
      VMPtr<tq::AnimPlayer> p = set->createPlayer(0);
      p->setX(16 + (i * 37) % 208);
      p->setY(24 + (i * 53) % 280);
      players->set(i, p);
    }
    made->set = set;
    made->players = players;
    made->g = Image::createImage(240, 320)->getGraphics();
    VMPtr<VMArray<tq::graphics::CollisionBox>> boxes = tq::graphics::CollisionBox::ensureCapacity(nullptr, kBoxes);
    for (int i = 0; i < kBoxes; ++i) boxes->get(i)->set((i * 41) % 230, (i * 67) % 310, 10, 10);
    made->boxes = boxes;
    return made;
  }();
  return *s;
}

void PlayersUpdateAndPaint(benchmark::State& state) {
  Scene& s = scene();
  VMPtr<VMArray<tq::AnimPlayer>> players = s.players;
  VMPtr<Graphics> g = s.g;
  for (auto _ : state) {
    for (int i = 0; i < kPlayers; ++i) {
      VMPtr<tq::AnimPlayer> p = players->get(i);
      p->update(16);
      p->paint(g);
    }
  }
  state.SetItemsProcessed(state.iterations() * kPlayers);
}
BENCHMARK(PlayersUpdateAndPaint)->Unit(benchmark::kMicrosecond);

void DrawRegionFloor(benchmark::State& state) {
  Scene& s = scene();
  VMPtr<VMArray<tq::Gob>> gobs = VMPtr<tq::AnimSet>(s.set)->getGobs();
  VMPtr<Graphics> g = s.g;
  std::vector<int> xs, ys;
  std::vector<Image*> images;
  for (int i = 0; i < kPlayers; ++i) {
    xs.push_back(8 + (i * 37) % 208);
    ys.push_back(8 + (i * 53) % 280);
    images.push_back(gobs->get(i % 4)->image.get());
  }
  for (auto _ : state) {
    for (int i = 0; i < kPlayers; ++i) {
      g->drawRegion(VMPtr<Image>(images[i]), 0, 0, 16, 16, 0x100, xs[i], ys[i], Graphics::TOP | Graphics::LEFT);
    }
  }
  state.SetItemsProcessed(state.iterations() * kPlayers);
}
BENCHMARK(DrawRegionFloor)->Unit(benchmark::kMicrosecond);

void PlayersAgainstBoxes(benchmark::State& state) {
  Scene& s = scene();
  VMPtr<VMArray<tq::AnimPlayer>> players = s.players;
  VMPtr<VMArray<tq::graphics::CollisionBox>> boxes = s.boxes;
  int hits = 0;
  for (auto _ : state) {
    for (int i = 0; i < kPlayers; ++i) {
      VMPtr<tq::AnimPlayer> p = players->get(i);
      for (int b = 0; b < kBoxes; ++b) hits += p->collidesWith(boxes->get(b));
    }
  }
  benchmark::DoNotOptimize(hits);
  state.SetItemsProcessed(state.iterations() * kPlayers * kBoxes);
}
BENCHMARK(PlayersAgainstBoxes)->Unit(benchmark::kMicrosecond);

void PlainRectangleLoop(benchmark::State& state) {
  struct R {
    int x, y, w, h;
  };
  std::vector<R> own, other;
  for (int i = 0; i < kPlayers; ++i) own.push_back({8 + (i * 37) % 208, 8 + (i * 53) % 280, 16, 16});
  for (int i = 0; i < kBoxes; ++i) other.push_back({(i * 41) % 230, (i * 67) % 310, 10, 10});
  int hits = 0;
  for (auto _ : state) {
    for (const R& a : own) {
      for (const R& b : other) {
        benchmark::DoNotOptimize(a);
        hits += a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
      }
    }
  }
  benchmark::DoNotOptimize(hits);
  state.SetItemsProcessed(state.iterations() * kPlayers * kBoxes);
}
BENCHMARK(PlainRectangleLoop)->Unit(benchmark::kMicrosecond);

// 200 frames of two parts and two boxes, 20 animations of 10 steps.
const Bytes& bigSet() {
  static const Bytes bytes = [] {
    AnimSetSpec spec;
    for (int a = 0; a < 20; ++a) {
      Anim anim{-1, {}};
      for (int k = 0; k < 10; ++k) anim.steps.push_back({a * 10 + k, k, -k, k % 4, k % 3, k % 2});
      spec.anims.push_back(anim);
    }
    for (int f = 0; f < 200; ++f) {
      spec.frames.push_back({{{f % 4, -8, -16, f % 4}, {(f + 1) % 4, 0, -8, 0}},
                             {{-8, -16, 16, 16, 0}, {-4, -4, 8, 8, 1, true}}});
    }
    spec.durations = {50, 60, 70, 300};
    return animSetBytes(spec);
  }();
  return bytes;
}

void LoadAnimSet(benchmark::State& state) {
  scene();
  VMPtr<VMArray<int8_t>> data = pack_fixtures::javaBytes(bigSet());
  for (auto _ : state) {
    benchmark::DoNotOptimize(tq::AnimSet::load(1, tq::Resources::openStream(data, 0, data->length)).get());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * data->length));
}
BENCHMARK(LoadAnimSet)->Unit(benchmark::kMicrosecond);

void ReadAnimSetBytes(benchmark::State& state) {
  scene();
  VMPtr<VMArray<int8_t>> data = pack_fixtures::javaBytes(bigSet());
  for (auto _ : state) {
    VMPtr<java::io::DataInputStream> in = tq::Resources::openStream(data, 0, data->length);
    VMPtr<VMArray<int8_t>> copy = VMArray<int8_t>::create(data->length);
    in->readFully(copy);
    benchmark::DoNotOptimize(copy.get());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * data->length));
}
BENCHMARK(ReadAnimSetBytes)->Unit(benchmark::kMicrosecond);

}  // namespace
