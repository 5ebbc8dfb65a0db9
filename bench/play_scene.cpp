// The play scene's background, side by side with the natural alternative:
//
//   PlayBackground / PlainDrawRegion: one play frame's camera and
//       background on a 64 x 20 map of 16 x 16 cells: both main objects
//       step 5 pixels forward (back to the start near the map's end),
//       updateCamera follows them and paintBackground paints both 240 x 160
//       views (the far layer, a front layer of 10 scenery players and the
//       map layer with 60 pool sprites, the two main objects among them)
//       into a 240 x 320 image; against a hand-written loop that keeps the
//       same cameras and draws the same visible tiles and sprites with
//       plain drawRegion calls, each view within its clip.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "DrawableFixtures.h"
#include "PackFixtures.h"
#include "VMTestEnv.h"
#include "javax_microedition_lcdui_Graphics.h"
#include "javax_microedition_lcdui_Image.h"
#include "main_Main.h"
#include "scene_SceneManager.h"
#include "scene_maingame_InGame.h"
#include "tq_AnimSet.h"
#include "tq_CellLayer.h"
#include "tq_Resources.h"
#include "ui_ResManager.h"

using namespace drawable_fixtures;
using Graphics = javax::microedition::lcdui::Graphics;
using Image = javax::microedition::lcdui::Image;
using scene::maingame::InGame;
using scene::maingame::InGameObject;
using Ints = VMArray<int32_t>;

namespace {

constexpr int kCell = 16;
constexpr int kColumns = 64;
constexpr int kRows = 20;
constexpr int kViewW = 240;
constexpr int kViewH = 160;
constexpr int kPool = 60;
constexpr int kPlayers = 10;
constexpr int kFrameMs = 40;
constexpr int kUpperY = 120;  // the main objects' lower edges
constexpr int kLowerY = 280;
constexpr int kStartX = 40;
constexpr int kStep = 5;
// Resource ids in pack 2.
constexpr int kSprites = 2049;
constexpr int kMainSet = 2050;

int mapTile(int c, int r) { return (c * 7 + r * 3) % 32; }

VMPtr<Ints> pixelsOf(int w, int h, unsigned seed) {
  VMPtr<Ints> argb = Ints::create(w * h);
  for (int p = 0; p < w * h; ++p) argb->at(p) = static_cast<int32_t>(0xFF000000u | (p * 0x010203u + seed * 977u));
  return argb;
}

void writePack(const pack_fixtures::ProgramFolder& folder) {
  const Bytes sheet = pack_fixtures::palettePng(16, 16, {0x33, 0x66, 0xCC}, Bytes(256, 0));
  const Bytes sprites = spriteSetBytes(0, 0, {SpriteValues{-8, -16, 0, 0, 16, 16, 0, 0, 0, 0}});
  AnimSetSpec still;
  for (int a = 0; a < 12; ++a) still.anims.push_back({-1, {{0, 0, 0, 0}}});
  still.frames = {{{{0, 0, 0, 0}}, {{-8, -16, 16, 16, 6}}}};
  still.durations = {kFrameMs};
  folder.put("RP2.rp", pack_fixtures::simplePack({sheet, sprites, animSetBytes(still)}, {0, 0, 0}));
}

struct World {
  pack_fixtures::ProgramFolder folder;
  VMNative<InGame> scene;
  VMNative<Graphics> g;
  VMNative<Image> farSheet;
  VMNative<Image> tiles;
  VMNative<VMArray<tq::Gob>> sprites;
  std::vector<int> poolX, poolY, playerX, playerY;
};

VMPtr<InGameObject> mainObject(int x, int y, bool upper) {
  VMPtr<InGameObject> o = InGameObject::_VM_new();
  o->_VM_init();
  if (!upper) o->setHalfMap(0);
  o->initLayers(2);
  o->addPlayerLayer(kSprites, kMainSet, InGameObject::kWalk, x, y);
  return o;
}

World& world() {
  static World* w = [] {
    VMTestEnv::start();
    auto* made = new World();
    writePack(made->folder);
    VMPtr<ui::ResManager> cache = ui::ResManager::_VM_new();
    cache->_VM_init();
    main::Main::_VM_clinitCheck();
    VMPtr<ui::LevelLoader> l = ui::LevelLoader::_VM_new();
    l->_VM_init();
    l->width = kColumns;
    l->height = kRows;
    l->scaleA = kCell;
    l->scaleB = kCell;
    l->pointBY = kUpperY;
    l->pointAY = kLowerY;
    main::Main::levelLoader = l;

    VMPtr<InGame> s = InGame::_VM_new();
    s->_VM_init();
    s->frameTime = kFrameMs;
    s->loader = l;
    s->viewWidth = kViewW;
    s->viewHeight = kViewH;
    s->state = InGame::kPlaying;
    scene::SceneManager::_VM_clinitCheck();
    scene::SceneManager::currentScene = s;

    VMPtr<Image> farSheet = Image::createRGBImage(pixelsOf(15 * kCell, 20 * kCell, 9), 15 * kCell, 20 * kCell, 0);
    made->farSheet = farSheet;
    VMPtr<tq::CellLayer> far = tq::CellLayer::create(kViewW, kViewH);
    far->setTiles(45, 20, farSheet, kCell, kCell);
    for (int r = 0; r < 20; ++r) {
      for (int c = 0; c < 45; ++c) far->setCell(c, r, 15 * r + c % 15 + 1);
    }
    s->farLayer = far;

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
    VMPtr<tq::CellLayer> front = tq::CellLayer::create(kViewW, kViewH);
    front->setAnimatedCellCapacity(kPlayers);
    for (int i = 0; i < kPlayers; ++i) {
      const int x = 60 + i * 97, y = 40 + i * 29 % 280;
      front->addAnimatedCell(set->createPlayer(0), x, y);
      made->playerX.push_back(x);
      made->playerY.push_back(y);
    }
    s->frontLayer = front;

    VMPtr<Image> tiles = Image::createRGBImage(pixelsOf(128, 64, 1), 128, 64, 0);
    made->tiles = tiles;
    VMPtr<tq::CellLayer> map = tq::CellLayer::create(kViewW, kViewH);
    map->setTiles(kColumns, kRows, tiles, kCell, kCell);
    for (int r = 0; r < kRows; ++r) {
      for (int c = 0; c < kColumns; ++c) map->setCell(c, r, 1 + mapTile(c, r));
    }
    map->setPoolCapacity(kPool);
    InGameObject::_VM_clinitCheck();
    InGameObject::mapLayer = map;
    s->mapLayer = map;
    VMPtr<InGameObject> a = mainObject(kStartX, kUpperY, true);
    VMPtr<InGameObject> b = mainObject(kStartX, kLowerY, false);
    s->objectA = a;
    s->objectB = b;
    InGameObject::mainObjectA = a;
    InGameObject::mainObjectB = b;
    for (int i = 0; i < kPool - 2; ++i) {
      const int x = 24 + i * 173 % 1000, y = 24 + i * 53 % 296;
      map->addPoolObject(sprites->get(i % 4), x, y, 0);
      made->poolX.push_back(x);
      made->poolY.push_back(y);
    }
    made->scene = s;
    made->g = Image::createImage(kViewW, 2 * kViewH)->getGraphics();
    return made;
  }();
  return *w;
}

void PlayBackground(benchmark::State& state) {
  World& w = world();
  VMPtr<InGame> s = w.scene;
  VMPtr<InGameObject> a = s->objectA;
  VMPtr<InGameObject> b = s->objectB;
  VMPtr<Graphics> g = w.g;
  int x = kStartX;
  for (auto _ : state) {
    x = x + kStep > kColumns * kCell - 40 ? kStartX : x + kStep;
    a->setLayerPosition(0, x, kUpperY);
    b->setLayerPosition(0, x, kLowerY);
    s->updateCamera();
    s->paintBackground(g);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(PlayBackground)->Unit(benchmark::kMicrosecond);

// The same cameras kept by hand, the same visible pieces drawn one
// drawRegion each within the view's clip.
void PlainDrawRegion(benchmark::State& state) {
  World& w = world();
  VMPtr<Graphics> g = w.g;
  VMPtr<Image> farSheet = w.farSheet;
  VMPtr<Image> tiles = w.tiles;
  VMPtr<VMArray<tq::Gob>> sprites = w.sprites;
  const int anchor = Graphics::TOP | Graphics::LEFT;
  auto drawCells = [&](const VMPtr<Image>& sheet, int sheetColumns, int mx, int my, int dy, int columns, int rows,
                       auto tileOf) {
    const int c0 = std::max(0, mx / kCell), r0 = std::max(0, my / kCell);
    const int c1 = std::min(columns - 1, (mx + kViewW - 1) / kCell);
    const int r1 = std::min(rows - 1, (my + kViewH - 1) / kCell);
    for (int r = r0; r <= r1; ++r) {
      for (int c = c0; c <= c1; ++c) {
        const int t = tileOf(c, r);
        g->drawRegion(sheet, t % sheetColumns * kCell, t / sheetColumns * kCell, kCell, kCell, 0, c * kCell - mx,
                      r * kCell - my + dy, anchor);
      }
    }
  };
  auto drawSprites = [&](const std::vector<int>& xs, const std::vector<int>& ys, int mx, int my, int dy) {
    for (size_t i = 0; i < xs.size(); ++i) {
      const int left = xs[i] - 8 - mx, top = ys[i] - 16 - my;
      if (left >= kViewW || top >= kViewH || left + 16 <= 0 || top + 16 <= 0) continue;
      g->drawRegion(sprites->get(static_cast<int32_t>(i % 4))->image, 0, 0, 16, 16, 0, left, top + dy, anchor);
    }
  };
  const int farWrap = 15 * kCell;
  int x = kStartX, mapX = 0, farX = 0;
  for (auto _ : state) {
    x = x + kStep > kColumns * kCell - 40 ? kStartX : x + kStep;
    const int target = std::clamp(kCell + x - (kViewW - kCell) / 2, 0, kColumns * kCell - kViewW);
    farX += (target - mapX) / 3;
    mapX = target;
    if (farX < 0) {
      farX += kViewW;
    } else if (farX > farWrap) {
      farX -= farWrap;
    }
    for (int view = 0; view < 2; ++view) {
      const int dy = view == 0 ? 0 : kViewH;
      const int my = view == 0 ? kViewH : 0;
      g->setClip(0, dy, kViewW, kViewH);
      drawCells(farSheet, 15, farX, my, dy, 45, 20, [](int c, int r) { return 15 * r + c % 15; });
      drawSprites(w.playerX, w.playerY, mapX, my, dy);
      drawCells(tiles, 8, mapX, my, dy, kColumns, kRows, mapTile);
      drawSprites(w.poolX, w.poolY, mapX, my, dy);
      drawSprites({x, x}, {kUpperY, kLowerY}, mapX, my, dy);
    }
    g->setClip(0, 0, kViewW, 2 * kViewH);
    g->setColor(0);
    g->drawLine(0, kViewH, kViewW, kViewH);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(PlainDrawRegion)->Unit(benchmark::kMicrosecond);

}  // namespace
