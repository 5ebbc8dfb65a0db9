// Game objects, side by side with the natural alternative:
//
//   ObjectsTickedWithContacts / PlainContactLoop: one play frame's ticks of
//       2 main objects standing on platforms, 40 barriers (30 still ones
//       and 10 throwers whose 5 children each are all thrown) and 15
//       pick-ups, every barrier, child and pick-up in view and tested
//       against both main objects (those at the main objects touch them
//       every frame), against a plain C++ loop over the same 107 boxes:
//       a view test, then a rectangle test against each main object.
#include <benchmark/benchmark.h>

#include <vector>

#include "DrawableFixtures.h"
#include "PackFixtures.h"
#include "VMTestEnv.h"
#include "main_Main.h"
#include "scene_SceneManager.h"
#include "scene_maingame_InGameBarrier.h"
#include "scene_maingame_InGameObject.h"
#include "tq_CellLayer.h"
#include "ui_LevelLoader.h"
#include "ui_ResManager.h"
#include "ui_Scene.h"

namespace bench {

// A scene of nothing but its frame time, which the objects' ticks read.
class FrameScene : public ui::Scene {
  VM_CLASS(FrameScene, ui::Scene)

 public:
  void loadStep() override {}
  void prepareStep() override {}
  void createWidgets() override {}
  void paintBackground(VMPtr<Graphics>) override {}
};

}  // namespace bench

VM_REGISTER_CLASS(bench::FrameScene, "bench.FrameScene", "ui.Scene", 0);

namespace {

using scene::maingame::InGameBarrier;
using scene::maingame::InGameObject;
using namespace drawable_fixtures;
using Ints = VMArray<int32_t>;

constexpr int kStill = 30;
constexpr int kThrowers = 10;
constexpr int kPickups = 15;
constexpr int kFrameMs = 40;
constexpr int kUpper = 100;  // the platforms' tops
constexpr int kLower = 250;
// Resource ids in pack 2.
constexpr int kSprites = 2049;
constexpr int kMainSet = 2050;
constexpr int kBarrierSet = 2051;  // box type 6: the barrier only changes its look
constexpr int kPickupSet = 2052;   // box type 4: an item gathered every frame of contact

// Twelve still animations over one 16 x 16 sprite with a box of the type.
Bytes stillSet(int boxType) {
  AnimSetSpec spec;
  for (int a = 0; a < 12; ++a) spec.anims.push_back({-1, {{0, 0, 0, 0}}});
  spec.frames = {{{{0, 0, 0, 0}}, {{-8, -16, 16, 16, boxType}}}};
  spec.durations = {kFrameMs};
  return animSetBytes(spec);
}

void writePack(const pack_fixtures::ProgramFolder& folder) {
  const Bytes sheet = pack_fixtures::palettePng(16, 16, {0x33, 0x66, 0xCC}, Bytes(256, 0));
  const Bytes sprites = spriteSetBytes(0, 0, {SpriteValues{-8, -16, 0, 0, 16, 16, 0, 0, 0, 0}});
  folder.put("RP2.rp", pack_fixtures::simplePack({sheet, sprites, stillSet(0), stillSet(6), stillSet(4)},
                                                 {0, 0, 0, 0, 0}));
}

// Two platforms across the map; the camera of view 0 on the upper half,
// of view 1 on the lower one.
VMPtr<ui::LevelLoader> level() {
  VMPtr<ui::LevelLoader> l = ui::LevelLoader::_VM_new();
  l->_VM_init();
  l->height = 40;
  l->scaleA = 16;
  l->scaleB = 8;
  l->scaledCount = 2;
  l->scaledX = Ints::create(2);
  l->scaledY = Ints::create(2);
  l->scaledA = Ints::create(2);
  l->scaledB = Ints::create(2);
  l->scaledMode = Ints::create(2);
  for (int i = 0; i < 2; ++i) {
    l->scaledY->at(i) = i == 0 ? kUpper : kLower;
    l->scaledA->at(i) = 2000;
    l->scaledB->at(i) = 8;
  }
  l->pairB->at(1) = 160;
  return l;
}

VMPtr<InGameObject> mainObject(int x, int y) {
  VMPtr<InGameObject> o = InGameObject::_VM_new();
  o->_VM_init();
  o->initLayers(2);
  o->addPlayerLayer(kSprites, kMainSet, InGameObject::kWalk, x, y);
  o->state = InGameObject::kOnPlatform;
  o->airborne = 0;
  o->setPlatformRange(0, 2000);
  return o;
}

VMPtr<InGameBarrier> barrier(int set, int kind, int x, int y, bool armed) {
  VMPtr<InGameBarrier> b = InGameBarrier::_VM_new();
  b->_VM_init();
  b->initLayers(2);
  b->addPlayerLayer(kSprites, set, 0, x, y);
  b->setKind(kind);
  b->setArmed(armed);
  return b;
}

struct World {
  pack_fixtures::ProgramFolder folder;
  VMNative<ui::LevelLoader> loader;
  VMNative<VMArray<InGameObject>> objects;  // A, B, then barriers and pick-ups
  std::vector<int> xs, ys;                  // every box's place, children included
};

World& world() {
  static World* w = [] {
    VMTestEnv::start();
    auto* made = new World();
    writePack(made->folder);
    VMPtr<ui::ResManager> cache = ui::ResManager::_VM_new();
    cache->_VM_init();
    main::Main::_VM_clinitCheck();
    VMPtr<ui::LevelLoader> l = level();
    main::Main::levelLoader = l;
    made->loader = l;
    VMPtr<bench::FrameScene> scene = bench::FrameScene::_VM_new();
    scene->_VM_init();
    scene->frameTime = kFrameMs;
    scene::SceneManager::_VM_clinitCheck();
    scene::SceneManager::currentScene = scene;
    VMPtr<tq::CellLayer> map = tq::CellLayer::create(240, 160);
    map->setPoolCapacity(2 + kPickups + 5 * (kStill + kThrowers));
    InGameObject::_VM_clinitCheck();
    InGameObject::mapLayer = map;
    VMPtr<VMArray<InGameObject>> all = VMArray<InGameObject>::create(2 + kStill + kThrowers + kPickups);
    int n = 0;
    auto keep = [&](VMPtr<InGameObject> o, int x, int y) {
      all->set(n++, o);
      made->xs.push_back(x);
      made->ys.push_back(y);
    };
    VMPtr<InGameObject> a = mainObject(60, kUpper);
    VMPtr<InGameObject> b = mainObject(60, kLower);
    InGameObject::mainObjectA = a;
    InGameObject::mainObjectB = b;
    keep(a, 60, kUpper);
    keep(b, 60, kLower);
    for (int i = 0; i < kStill; ++i) {
      const int x = 8 * i, y = i % 2 ? kLower : kUpper;
      keep(barrier(kBarrierSet, 7, x, y, true), x, y);
    }
    for (int i = 0; i < kThrowers; ++i) {
      const int x = 20 + 20 * i, y = i % 2 ? kLower : kUpper;
      keep(barrier(kBarrierSet, 2, x, y, true), x, y);
      for (int c = 0; c < InGameBarrier::kChildren; ++c) {
        made->xs.push_back(x);
        made->ys.push_back(y);
      }
    }
    for (int i = 0; i < kPickups; ++i) {
      const int x = 4 + 15 * i, y = i % 2 ? kLower : kUpper;
      keep(barrier(kPickupSet, 9, x, y, false), x, y);
    }
    made->objects = all;
    // The throwers begin when the view's left edge has passed them, then
    // throw every 2000 ms: 300 frames throw all 25 children.
    l->pairA->at(0) = l->pairA->at(1) = 300;
    for (int f = 0; f < 300; ++f) {
      for (int i = 0; i < all->length; ++i) all->get(i)->tick();
    }
    l->pairA->at(0) = l->pairA->at(1) = 0;
    return made;
  }();
  return *w;
}

void ObjectsTickedWithContacts(benchmark::State& state) {
  World& w = world();
  VMPtr<VMArray<InGameObject>> all = w.objects;
  for (auto _ : state) {
    for (int i = 0; i < all->length; ++i) all->get(i)->tick();
  }
  benchmark::DoNotOptimize(InGameObject::gathered);
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(w.xs.size()));
}
BENCHMARK(ObjectsTickedWithContacts)->Unit(benchmark::kMicrosecond);

void PlainContactLoop(benchmark::State& state) {
  World& w = world();
  struct Box {
    int x, y, w, h;
    bool meets(const Box& o) const { return x < o.x + o.w && o.x < x + w && y < o.y + o.h && o.y < y + h; }
  };
  std::vector<Box> boxes;
  for (size_t i = 0; i < w.xs.size(); ++i) boxes.push_back({w.xs[i] - 8, w.ys[i] - 16, 16, 16});
  const Box views[2] = {{0, 0, 240, 160}, {0, 160, 240, 160}};
  int gathered = 0, looks = 0;
  for (auto _ : state) {
    const Box& a = boxes[0];
    const Box& b = boxes[1];
    for (size_t i = 2; i < boxes.size(); ++i) {
      const Box& o = boxes[i];
      if (!o.meets(views[o.y + o.h >= 160 ? 1 : 0])) continue;
      if (o.meets(a) || o.meets(b)) {
        ++gathered;
        looks = 3;
      }
    }
  }
  benchmark::DoNotOptimize(gathered);
  benchmark::DoNotOptimize(looks);
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(boxes.size()));
}
BENCHMARK(PlainContactLoop)->Unit(benchmark::kMicrosecond);

}  // namespace
