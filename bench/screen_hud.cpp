// The play scene's HUD as a screen object, side by side with the floor:
//
//   HudScreenPaint / HudDrawRegionFloor: a 16-layer screen (two control
//       frames, the counter, an animated pause button, two life-icon
//       holders with five icons each; 14 frame layers and 2 player layers)
//       painted into a 240 x 320 image, against 16 plain drawRegion calls
//       of the same sprites at the same places.
//
// The sets are made in memory and put into the resource cache under two
// ids, so the screen's layers take them as they would from a pack.
#include <benchmark/benchmark.h>

#include <vector>

#include "DrawableFixtures.h"
#include "VMTestEnv.h"
#include "javax_microedition_lcdui_Graphics.h"
#include "javax_microedition_lcdui_Image.h"
#include "scene_SceneManager.h"
#include "tq_AnimSet.h"
#include "tq_Resources.h"
#include "ui_ResManager.h"
#include "ui_Screen.h"

using namespace drawable_fixtures;
using Graphics = javax::microedition::lcdui::Graphics;
using Image = javax::microedition::lcdui::Image;

namespace {

constexpr int32_t kGobId = 0x0C07;
constexpr int32_t kSetId = 0x0C02;

// One sprite per HUD piece: width, height.
struct Piece {
  int w, h;
};
const std::vector<Piece> kPieces = {{48, 48}, {64, 16}, {24, 24}, {48, 12}, {8, 8}};

// A layer: the piece it shows (a frame of the same number) and where; a
// player layer plays the piece's animation.
struct Layer {
  int piece, x, y;
  bool player;
};

std::vector<Layer> hudLayers() {
  std::vector<Layer> layers = {{0, 0, 272, false}, {0, 192, 272, false}, {1, 88, 0, false}, {2, 216, 0, true}};
  for (int side = 0; side < 2; ++side) {
    const int x = side == 0 ? 0 : 160;
    layers.push_back({3, x, 4, side == 1});
    for (int i = 0; i < 5; ++i) layers.push_back({4, x + 2 + 9 * i, 6, false});
  }
  return layers;
}

struct Hud {
  VMNative<ui::Screen> screen;
  VMNative<Graphics> g;
  VMNative<VMArray<tq::Gob>> gobs;
};

VMPtr<tq::AnimSet> readSet(const Bytes& bytes) {
  VMPtr<VMArray<int8_t>> data = pack_fixtures::javaBytes(bytes);
  return tq::AnimSet::load(kSetId, tq::Resources::openStream(data, 0, data->length));
}

VMPtr<VMArray<tq::Gob>> makeGobs() {
  VMPtr<VMArray<tq::Gob>> gobs = VMArray<tq::Gob>::create(static_cast<int32_t>(kPieces.size()));
  for (size_t i = 0; i < kPieces.size(); ++i) {
    const int n = kPieces[i].w * kPieces[i].h;
    VMPtr<VMArray<int32_t>> argb = VMArray<int32_t>::create(n);
    for (int p = 0; p < n; ++p) argb->at(p) = static_cast<int32_t>(0xFF000000u | (p * 0x010203u) << i);
    gobs->set(static_cast<int32_t>(i), tq::Gob::create(argb, kPieces[i].w, kPieces[i].h, 0));
  }
  return gobs;
}

// Frame i shows sprite i at its origin; animation i steps through frame i
// twice a second, without end.
VMPtr<tq::AnimSet> makeSet(const VMPtr<VMArray<tq::Gob>>& gobs) {
  AnimSetSpec spec;
  for (size_t i = 0; i < kPieces.size(); ++i) {
    const int f = static_cast<int>(i);
    spec.frames.push_back({{{f, 0, 0, 0}}, {{0, 0, kPieces[i].w, kPieces[i].h, 0}}});
    spec.anims.push_back({-1, {{f, 0, 0, 0}, {f, 0, 0, 0}}});
  }
  spec.durations = {250};
  VMPtr<tq::AnimSet> set = readSet(animSetBytes(spec));
  set->setGobs(gobs);
  return set;
}

// The sets under their ids in slot 0 of a fresh cache.
void preloadCache(const VMPtr<VMArray<tq::Gob>>& gobs, const VMPtr<tq::AnimSet>& set) {
  VMPtr<ui::ResManager> cache = ui::ResManager::_VM_new();
  cache->_VM_init();
  ui::ResManager::gobSets->set(0, gobs);
  ui::ResManager::ids->get(0)->at(0) = kGobId;
  ui::ResManager::animSets->set(0, set);
  ui::ResManager::ids->get(1)->at(0) = kSetId;
  ui::ResManager::count = 1;
}

Hud& hud() {
  static Hud* made = [] {
    VMTestEnv::start();
    auto* h = new Hud();
    VMPtr<VMArray<tq::Gob>> gobs = makeGobs();
    preloadCache(gobs, makeSet(gobs));
    VMPtr<ui::Screen> screen = ui::Screen::_VM_new();
    screen->_VM_init();
    screen->initLayers(16);
    for (const Layer& l : hudLayers()) {
      if (l.player) {
        screen->addPlayerLayer(kGobId, kSetId, l.piece, l.x, l.y);
      } else {
        screen->addFrameLayer(kGobId, kSetId, l.piece, l.x, l.y);
      }
    }
    h->screen = screen;
    h->gobs = gobs;
    h->g = Image::createImage(240, 320)->getGraphics();
    return h;
  }();
  return *made;
}

void HudScreenPaint(benchmark::State& state) {
  Hud& h = hud();
  VMPtr<ui::Screen> screen = h.screen;
  VMPtr<Graphics> g = h.g;
  for (auto _ : state) screen->paint(g);
  state.SetItemsProcessed(state.iterations() * 16);
}
BENCHMARK(HudScreenPaint)->Unit(benchmark::kMicrosecond);

void HudDrawRegionFloor(benchmark::State& state) {
  Hud& h = hud();
  VMPtr<VMArray<tq::Gob>> gobs = h.gobs;
  VMPtr<Graphics> g = h.g;
  struct Draw {
    Image* image;
    int w, h, x, y, mode;
  };
  std::vector<Draw> draws;
  for (const Layer& l : hudLayers()) {
    VMPtr<tq::Gob> gob = gobs->get(l.piece);
    draws.push_back({gob->image.get(), gob->width, gob->height, l.x, l.y, gob->drawMode << 8});
  }
  for (auto _ : state) {
    for (const Draw& d : draws) {
      g->drawRegion(VMPtr<Image>(d.image), 0, 0, d.w, d.h, d.mode, d.x, d.y, Graphics::TOP | Graphics::LEFT);
    }
  }
  state.SetItemsProcessed(state.iterations() * 16);
}
BENCHMARK(HudDrawRegionFloor)->Unit(benchmark::kMicrosecond);

}  // namespace
