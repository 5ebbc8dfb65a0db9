// The grid layer: tiles cut from a tile set, cell values and animated
// cells, and painting compared pixel for pixel with a brute-force painter
// over a table of scroll positions (off every edge, negative, a map
// narrower than the view) and clips; the caller's clip is kept.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "DisplayFixture.h"
#include "java_lang_ArrayIndexOutOfBoundsException.h"
#include "java_lang_IllegalArgumentException.h"
#include "tq_CellLayer.h"
#include "tq_TqCanvas.h"

namespace {

using javax::microedition::lcdui::Graphics;
using javax::microedition::lcdui::Image;
using tq::CellLayer;

constexpr int32_t kView = 48;
constexpr int32_t kCell = 8;

class Grid : public DisplayFixture {
 protected:
  // A tile set of `across` x `down` cells of kCell, each pixel a colour of
  // its own.
  static VMPtr<Image> tileSet(int32_t across, int32_t down) {
    const int32_t w = across * kCell;
    const int32_t h = down * kCell;
    VMPtr<VMArray<int32_t>> argb = VMArray<int32_t>::create(w * h);
    for (int32_t i = 0; i < w * h; ++i) argb->at(i) = static_cast<int32_t>(0xFF000000u | (i * 2654435761u >> 8));
    return Image::createRGBImage(argb, w, h, 0);
  }
  static std::vector<int32_t> pixels(VMPtr<Image> image) {
    const int32_t w = image->getWidth();
    const int32_t h = image->getHeight();
    VMPtr<VMArray<int32_t>> rgb = VMArray<int32_t>::create(w * h);
    image->getRGB(rgb, 0, w, 0, 0, w, h);
    return std::vector<int32_t>(rgb->elements(), rgb->elements() + rgb->length);
  }
  // What the layer should show in a kView x kView image under the clip,
  // drawn a pixel at a time from the tile set.
  static std::vector<int32_t> bruteForce(VMPtr<CellLayer> layer, VMPtr<Image> tiles, int32_t clipX, int32_t clipY,
                                         int32_t clipW, int32_t clipH) {
    VMPtr<Image> out = Image::createImage(kView, kView);
    VMPtr<Graphics> g = out->getGraphics();
    const int32_t across = tiles->getWidth() / kCell;
    for (int32_t y = std::max(clipY, 0); y < std::min(clipY + clipH, kView); ++y) {
      for (int32_t x = std::max(clipX, 0); x < std::min(clipX + clipW, kView); ++x) {
        const int32_t mx = layer->getX() + x;
        const int32_t my = layer->getY() + y;
        if (mx < 0 || my < 0 || mx >= layer->getColumns() * kCell || my >= layer->getRows() * kCell) continue;
        int32_t v = layer->getCell(mx / kCell, my / kCell);
        if (v < 0) v = layer->getAnimatedCell(v);
        const int32_t t = (v & 4095) - 1;
        if (t < 0) continue;
        g->drawRegion(tiles, t % across * kCell + mx % kCell, t / across * kCell + my % kCell, 1, 1, 0, x, y, 20);
      }
    }
    return pixels(out);
  }
  static std::vector<int32_t> painted(VMPtr<CellLayer> layer, int32_t clipX, int32_t clipY, int32_t clipW,
                                      int32_t clipH) {
    VMPtr<Image> out = Image::createImage(kView, kView);
    VMPtr<Graphics> g = out->getGraphics();
    g->setClip(clipX, clipY, clipW, clipH);
    const std::vector<int32_t> clip = {g->getClipX(), g->getClipY(), g->getClipWidth(), g->getClipHeight()};
    layer->paint(g);
    EXPECT_EQ(clip, std::vector<int32_t>({g->getClipX(), g->getClipY(), g->getClipWidth(), g->getClipHeight()}));
    return pixels(out);
  }
  // A columns x rows map of random values: empty cells, tiles with high
  // bits set and references to two animated cells.
  static VMPtr<CellLayer> randomMap(VMPtr<Image> tiles, int32_t columns, int32_t rows, uint8_t separate,
                                    uint32_t seed) {
    VMPtr<CellLayer> layer = CellLayer::_VM_new()->_VM_init(0, separate, 0, kView, kView);
    layer->setTiles(columns, rows, tiles, kCell, kCell);
    const int32_t tileCount = (tiles->getWidth() / kCell) * (tiles->getHeight() / kCell);
    const int32_t a = layer->createAnimatedCell(2);
    const int32_t b = layer->createAnimatedCell(0);
    std::mt19937 random(seed);
    for (int32_t r = 0; r < rows; ++r) {
      for (int32_t c = 0; c < columns; ++c) {
        const int32_t pick = static_cast<int32_t>(random() % (tileCount + 4));
        const int32_t value = pick < tileCount ? (pick + 1) | (random() % 8) << 12 : pick == tileCount ? 0 : pick % 2 ? a : b;
        layer->setCell(c, r, value);
      }
    }
    layer->setAnimatedCell(b, tileCount);
    return layer;
  }
};

TEST_F(Grid, TilesAreCutFromTheSetRowByRow) {
  VMPtr<CellLayer> layer = CellLayer::create(kView, kView);
  VMPtr<Image> set = Image::createImage(100, 40);
  layer->setTiles(4, 3, set, 32, 16);
  ASSERT_EQ(layer->tileX->length, 6);
  const int32_t xs[] = {0, 32, 64, 0, 32, 64};
  const int32_t ys[] = {0, 0, 0, 16, 16, 16};
  for (int32_t i = 0; i < 6; ++i) {
    EXPECT_EQ(layer->tileX->at(i), xs[i]);
    EXPECT_EQ(layer->tileY->at(i), ys[i]);
  }
  VMPtr<VMArray<int32_t>> argb = VMArray<int32_t>::create(100 * 40);
  layer->setTileSet(tq::Gob::create(argb, 100, 40, 0), 32, 16);
  EXPECT_EQ(layer->tileX->length, 6);
  EXPECT_EQ(layer->tileY->at(5), 16);
  EXPECT_EQ(layer->getColumns(), 4);
  for (auto [w, h] : {std::pair{0, 8}, std::pair{8, 0}, std::pair{-8, 8}}) {
    EXPECT_THROW(layer->setTiles(2, 2, set, w, h), java::lang::IllegalArgumentException*);
    EXPECT_THROW(layer->setTileSet(tq::Gob::create(argb, 100, 40, 0), w, h), java::lang::IllegalArgumentException*);
  }
  EXPECT_THROW(layer->setTiles(-1, 2, set, 8, 8), java::lang::IllegalArgumentException*);
  EXPECT_THROW(layer->setTiles(70000, 70000, set, 8, 8), java::lang::IllegalArgumentException*);
}

TEST_F(Grid, CellValues) {
  VMPtr<CellLayer> layer = CellLayer::create(kView, kView);
  layer->setTiles(3, 2, tileSet(2, 2), kCell, kCell);
  layer->cellsChanged = 0;
  layer->setCell(2, 1, -3);
  EXPECT_TRUE(layer->cellsChanged);
  EXPECT_EQ(layer->getCell(2, 1), -3);
  layer->setCell(0, 0, 0x12345);
  EXPECT_EQ(layer->getCell(0, 0), 0x2345);
  EXPECT_EQ(layer->createAnimatedCell(4), -1);
  EXPECT_EQ(layer->createAnimatedCell(7), -2);
  layer->setAnimatedCell(-1, 9);
  EXPECT_EQ(layer->getAnimatedCell(-1), 9);
  EXPECT_EQ(layer->getAnimatedCell(-2), 7);
  layer->clearTiles();
  EXPECT_FALSE(layer->cells);
  EXPECT_FALSE(layer->tileImage);
  EXPECT_FALSE(layer->animatedCells);
  // A layer without cells paints nothing and keeps the clip.
  EXPECT_EQ(painted(layer, 0, 0, kView, kView), pixels(Image::createImage(kView, kView)));
}

struct View {
  const char* name;
  int32_t columns, rows;
  int32_t x, y;
  int32_t clipX, clipY, clipW, clipH;
};

TEST_F(Grid, PaintsWhatTheBruteForcePainterPaints) {
  const View views[] = {
      {"inside, on cell edges", 12, 12, 16, 8, 0, 0, kView, kView},
      {"inside, part cells", 12, 12, 5, 3, 0, 0, kView, kView},
      {"negative position", 12, 12, -13, -21, 0, 0, kView, kView},
      {"past the right and bottom edges", 12, 12, 70, 85, 0, 0, kView, kView},
      {"entirely off the map to the left", 12, 12, -500, 4, 0, 0, kView, kView},
      {"entirely off the map below", 12, 12, 4, 500, 0, 0, kView, kView},
      {"far positions do not wrap", 12, 12, 0x7FFFFFF0, -0x7FFFFFF0, 0, 0, kView, kView},
      {"a map narrower and lower than the view", 3, 2, -5, -7, 0, 0, kView, kView},
      {"a clip inside the layer", 12, 12, 5, 3, 7, 9, 20, 13},
      {"a clip reaching past the layer", 12, 12, 5, 3, 30, 40, 100, 100},
      {"a clip at negative coordinates", 12, 12, 5, 3, -10, -10, 25, 30},
      {"an empty clip", 12, 12, 5, 3, 10, 10, 0, 0},
  };
  VMPtr<Image> tiles = tileSet(3, 2);
  for (uint8_t separate : {0, 1}) {
    for (const View& v : views) {
      SCOPED_TRACE(v.name);
      SCOPED_TRACE(separate ? "separate tiles" : "one tile set");
      VMPtr<CellLayer> layer = randomMap(tiles, v.columns, v.rows, separate, 7);
      layer->setPosition(v.x, v.y);
      EXPECT_EQ(painted(layer, v.clipX, v.clipY, v.clipW, v.clipH),
                bruteForce(layer, tiles, v.clipX, v.clipY, v.clipW, v.clipH));
    }
  }
}

TEST_F(Grid, AnAnimatedCellChangesEveryCellReferringToIt) {
  VMPtr<Image> tiles = tileSet(3, 2);
  VMPtr<CellLayer> layer = randomMap(tiles, 6, 6, 0, 3);
  const int32_t cell = layer->createAnimatedCell(1);
  for (int32_t i = 0; i < 6; ++i) layer->setCell(i, i, cell);
  layer->setPosition(0, 0);
  const std::vector<int32_t> before = painted(layer, 0, 0, kView, kView);
  layer->setAnimatedCell(cell, 5);
  const std::vector<int32_t> after = painted(layer, 0, 0, kView, kView);
  EXPECT_NE(before, after);
  EXPECT_EQ(after, bruteForce(layer, tiles, 0, 0, kView, kView));
}

TEST_F(Grid, ATileBeyondTheSetIsAnIndexError) {
  VMPtr<CellLayer> layer = CellLayer::create(kView, kView);
  layer->setTiles(2, 2, tileSet(2, 1), kCell, kCell);
  layer->setCell(1, 1, 3);
  VMPtr<Graphics> g = Image::createImage(kView, kView)->getGraphics();
  EXPECT_THROW(layer->paint(g), java::lang::ArrayIndexOutOfBoundsException*);
}

}  // namespace
