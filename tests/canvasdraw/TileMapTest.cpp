// The canvas's tile map and sprite lists: cutting the tile image, emptying
// on a smaller set, handles, the camera and scene size, the static list's
// axis and order, and paintScene against a pixel-by-pixel painter over
// random maps, sprites, cameras, views and clips.

#include <gtest/gtest.h>

#include <random>

#include "DrawCanvas.h"
#include "JavaTestSupport.h"
#include "VMTestEnv.h"
#include "java_lang_IllegalArgumentException.h"
#include "tq_Gob.h"

using namespace test::canvasdraw;
using Image = javax::microedition::lcdui::Image;
using Graphics = javax::microedition::lcdui::Graphics;

namespace {

constexpr int kSheet = 32;  // the tile image's side
constexpr int kTile = 8;
constexpr uint32_t kBlack = 0xFF000000;

// Every pixel of the tile image its own colour, never black.
uint32_t sheetColour(int x, int y) { return 0xFF0000F8u | (uint32_t(x) << 19) | (uint32_t(y) << 10); }

VMPtr<Image> sheet(int w, int h) {
  std::vector<int32_t> p(size_t(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p[y * w + x] = int32_t(sheetColour(x % kSheet, y % kSheet));
  return Image::createRGBImage(intsOf(p), w, h, 0);
}

TEST(TileMap, TilesHandlesAndSceneSize) {
  VMTestEnv::start();
  VMPtr<DrawCanvas> canvas = DrawCanvas::make();
  canvas->initTileMap(3, 2, sheet(48, 32), 16, 16);
  EXPECT_EQ(canvas->tileSourceX->length, 6);
  const int xs[] = {0, 16, 32, 0, 16, 32}, ys[] = {0, 0, 0, 16, 16, 16};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(canvas->tileSourceX->at(i), xs[i]);
    EXPECT_EQ(canvas->tileSourceY->at(i), ys[i]);
  }
  canvas->fillCells(0, 0, 3, 2, 4);
  canvas->setCell(2, 1, 0x10005);  // low 16 bits
  EXPECT_EQ(canvas->getCell(2, 1), 5);
  canvas->setCell(1, 1, -1);
  EXPECT_EQ(canvas->addHandle(6), -1);
  EXPECT_EQ(canvas->resolveTile(canvas->getCell(1, 1)), 6);
  EXPECT_FALSE(canvas->setTileImage(sheet(64, 32), 16, 16));  // more tiles: kept
  EXPECT_EQ(canvas->getCell(0, 0), 4);
  EXPECT_TRUE(canvas->setTileImage(sheet(16, 16), 16, 16));  // fewer: emptied
  EXPECT_EQ(canvas->getCell(0, 0), 0);
  EXPECT_EQ(canvas->getCell(1, 1), 0);
  EXPECT_EQ(canvas->handleValues->length, 0);
  java_test::thrownMessage<java::lang::IllegalArgumentException>(
      [&] { canvas->setTileImage(sheet(16, 16), 0, 16); });
  java_test::thrownMessage<java::lang::IllegalArgumentException>(
      [&] { canvas->initTileMap(2, 2, sheet(16, 16), 16, -1); });
  canvas->setCamera(8, -3);
  EXPECT_EQ(canvas->getCameraX(), 8);
  EXPECT_EQ(canvas->getCameraY(), -3);
  EXPECT_EQ(canvas->getTileWidth(), 16);
  EXPECT_EQ(canvas->getMapColumns(), 3);
  EXPECT_FALSE(canvas->setSceneSize(10, 20));
  EXPECT_TRUE(canvas->setSceneSize(-1, 100));
  EXPECT_EQ(canvas->sceneViewWidth, 0);
  EXPECT_EQ(canvas->sceneViewHeight, 100);
  EXPECT_FALSE(canvas->mapCells);
  EXPECT_FALSE(canvas->tileImage);
  EXPECT_FALSE(canvas->handleValues);
  DrawCanvas::stop();
}

struct SceneSprite {
  int x, y, w, h;
  uint32_t colour;
};

struct Scene {
  int cols, rows, cameraX, cameraY, viewW, viewH, clipX, clipY, clipW, clipH;
  std::vector<int> cells;
  std::vector<SceneSprite> statics, dynamics;
};

// The colour of the last sprite of `list` covering scene point (mx, my).
bool spriteAt(const std::vector<SceneSprite>& list, int mx, int my, uint32_t* colour) {
  bool found = false;
  for (const SceneSprite& s : list) {
    if (mx >= s.x && mx < s.x + s.w && my >= s.y && my < s.y + s.h) {
      *colour = s.colour;
      found = true;
    }
  }
  return found;
}

// What paintScene must show at screen pixel (sx, sy): the map point the
// camera puts there, when that lies in the map, the scene view (after the
// overshoot shift) and the clip.
uint32_t expectedAt(const Scene& s, const std::vector<int>& handles, int sx, int sy) {
  const int mapW = s.cols * kTile, mapH = s.rows * kTile;
  const int dx = s.cameraX >= 0 ? std::max(s.cameraX + s.viewW - mapW, 0) : s.cameraX;
  const int dy = s.cameraY >= 0 ? std::max(s.cameraY + s.viewH - mapH, 0) : s.cameraY;
  if (sx < s.clipX || sx >= s.clipX + s.clipW || sy < s.clipY || sy >= s.clipY + s.clipH) return kBlack;
  if (sx + dx < 0 || sx + dx >= s.viewW || sy + dy < 0 || sy + dy >= s.viewH) return kBlack;
  const int mx = s.cameraX + sx, my = s.cameraY + sy;
  uint32_t colour = kBlack;
  if (spriteAt(s.dynamics, mx, my, &colour) || spriteAt(s.statics, mx, my, &colour)) return colour;
  if (mx < 0 || mx >= mapW || my < 0 || my >= mapH) return kBlack;
  int code = s.cells[(my / kTile) * s.cols + mx / kTile];
  if (code < 0) code = handles[-code - 1];
  if (code <= 0) return kBlack;
  const int tiles = kSheet / kTile;
  return sheetColour((code - 1) % tiles * kTile + mx % kTile, (code - 1) / tiles * kTile + my % kTile);
}

VMPtr<tq::Gob> solidGob(const SceneSprite& s) {
  return tq::Gob::create(intsOf(std::vector<int32_t>(size_t(s.w) * s.h, int32_t(s.colour))), s.w, s.h, 0);
}

TEST(TileMap, StaticSpritesSortAlongTheLongerSideAndDrawInOrder) {
  VMTestEnv::start();
  VMPtr<DrawCanvas> canvas = DrawCanvas::make();
  const struct {
    int cols, rows;
    bool byY;
  } axes[] = {{10, 4, false}, {4, 10, true}, {6, 6, false}};
  for (const auto& a : axes) {
    canvas->initTileMap(a.cols, a.rows, sheet(16, 16), 16, 16);
    canvas->initStaticSprites(2);
    EXPECT_EQ(canvas->staticSortByY, a.byY) << a.cols << " x " << a.rows;
  }
  java_test::thrownMessage<java::lang::IllegalArgumentException>([&] { canvas->initStaticSprites(65537); });
  // B added first, A left of it and overlapping: B is drawn first.
  canvas->initTileMap(4, 4, sheet(16, 16), 16, 16);
  canvas->setSceneSize(64, 64);
  canvas->initStaticSprites(2);
  canvas->addStaticSprite(solidGob({0, 0, 8, 8, 0xFFF80000}), 4, 0, 0);  // B
  canvas->addStaticSprite(solidGob({0, 0, 8, 8, 0xFF0000F8}), 0, 0, 0);  // A
  EXPECT_EQ(canvas->staticMaxExtent, 8);
  VMPtr<Image> target = Image::createMutableImage(64, 64, 0, 0);
  canvas->paintScene(target->getGraphics());
  const std::vector<uint32_t> p = pixelsOf(target);
  EXPECT_EQ(p[5], 0xFF0000F8u);  // A over B
  EXPECT_EQ(p[10], 0xFFF80000u);
  DrawCanvas::stop();
}

TEST(TileMap, PaintSceneMatchesAPixelPainter) {
  VMTestEnv::start();
  VMPtr<DrawCanvas> canvas = DrawCanvas::make();
  std::mt19937 random(31);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
  const std::vector<int> handles = {7, 0};
  for (int round = 0; round < 150; ++round) {
    Scene s{pick(1, 8), pick(1, 8), pick(-20, 70), pick(-20, 70), pick(0, 60), pick(0, 60),
            pick(-5, 40), pick(-5, 40), pick(0, 50), pick(0, 50), {}, {}, {}};
    if (round == 0) s = {6, 6, -8, 0, 48, 48, 0, 0, 64, 64, {}, {}, {}};  // a camera 8 left of the map
    for (int i = 0; i < s.cols * s.rows; ++i) s.cells.push_back(pick(-2, 16));
    canvas->initTileMap(s.cols, s.rows, sheet(kSheet, kSheet), kTile, kTile);
    for (int i = 0; i < s.cols * s.rows; ++i) canvas->setCell(i % s.cols, i / s.cols, s.cells[i]);
    for (int h : handles) canvas->addHandle(h);
    uint32_t colour = 0xFF00FC00;
    auto sprites = [&](int n) {
      std::vector<SceneSprite> list;
      for (int k = 0; k < n; ++k, colour += 0x080000) {
        list.push_back({pick(-15, 75), pick(-15, 75), pick(1, 14), pick(1, 14), colour});
      }
      return list;
    };
    s.statics = sprites(pick(0, 8));
    s.dynamics = sprites(pick(0, 4));
    canvas->initStaticSprites(int32_t(s.statics.size()));
    for (const SceneSprite& sp : s.statics) canvas->addStaticSprite(solidGob(sp), sp.x, sp.y, 0);
    canvas->initSprites(int32_t(s.dynamics.size()));
    for (const SceneSprite& sp : s.dynamics) canvas->addSprite(solidGob(sp), sp.x, sp.y, 0);
    canvas->setSceneSize(s.viewW, s.viewH);
    canvas->setCamera(-s.cameraX, -s.cameraY);
    VMPtr<Image> target = Image::createMutableImage(64, 64, 0, 0);
    VMPtr<Graphics> g = target->getGraphics();
    g->setClip(s.clipX, s.clipY, s.clipW, s.clipH);
    canvas->paintScene(g);
    EXPECT_EQ(g->getTranslateX(), 0);
    EXPECT_EQ(canvas->getCameraX(), -s.cameraX);
    const std::vector<uint32_t> shown = pixelsOf(target);
    for (int y = 0; y < 64; ++y) {
      for (int x = 0; x < 64; ++x) {
        ASSERT_EQ(shown[y * 64 + x], expectedAt(s, handles, x, y) & 0xFFF8FCF8)
            << "round " << round << " at " << x << "," << y;
      }
    }
  }
  DrawCanvas::stop();
}

}  // namespace
