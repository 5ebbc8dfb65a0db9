// The canvas's drawing work, side by side with the natural alternative:
//
//   WritePng / LibpngStored: a 240 x 320 palette image written by the
//       canvas's in-memory PNG writer, against libpng writing the same
//       pixels with compression level 0 and no filter into memory.
//   PaintScene / DrawRegionLoop: a 240 x 320 view of a tile map of 16 x 16
//       tiles with 100 static and 30 dynamic sprites, against a plain loop
//       of Graphics::drawRegion over the same visible tiles and sprites,
//       its list made in advance.
//   VerticalGradient / FillRectPerRow: a 240 x 320 vertical gradient
//       through the canvas, against one setColor and fillRect per row.
#include <benchmark/benchmark.h>
#include <png.h>

#include <random>
#include <vector>

#include "VMTestEnv.h"
#include "tq_Gob.h"
#include "tq_TqCanvas.h"

namespace bench {

class SceneCanvas : public tq::TqCanvas {
  VM_CLASS(SceneCanvas, tq::TqCanvas)

 public:
  void tick() override {}
  void paintFrame(VMPtr<Graphics>) override {}
};

}  // namespace bench

VM_REGISTER_CLASS(bench::SceneCanvas, "bench.SceneCanvas", "tq.TqCanvas", 0);

namespace {

using Image = javax::microedition::lcdui::Image;
using Graphics = javax::microedition::lcdui::Graphics;
constexpr int kW = 240, kH = 320, kTile = 16;

std::vector<uint8_t> indices() {
  std::vector<uint8_t> v(kW * kH);
  for (size_t i = 0; i < v.size(); ++i) v[i] = static_cast<uint8_t>((i * 7 + i / kW) & 15);
  return v;
}

VMPtr<VMArray<int8_t>> javaBytes(const std::vector<uint8_t>& v) {
  VMPtr<VMArray<int8_t>> a = VMArray<int8_t>::create(static_cast<int32_t>(v.size()));
  for (size_t i = 0; i < v.size(); ++i) a->at(static_cast<int32_t>(i)) = static_cast<int8_t>(v[i]);
  return a;
}

void WritePng(benchmark::State& state) {
  VMTestEnv::start();
  VMPtr<VMArray<int8_t>> pixels = javaBytes(indices());
  VMPtr<VMArray<int8_t>> palette = VMArray<int8_t>::create(16 * 3 + 4);
  for (auto _ : state) benchmark::DoNotOptimize(tq::TqCanvas::writePNG(pixels, 0, kW, kW, kH, palette, 0).get());
}
BENCHMARK(WritePng)->Unit(benchmark::kMicrosecond);

void appendBytes(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

void LibpngStored(benchmark::State& state) {
  std::vector<uint8_t> pixels = indices();
  std::vector<png_color> palette(16);
  std::vector<png_bytep> rows(kH);
  for (int y = 0; y < kH; ++y) rows[y] = pixels.data() + y * kW;
  png_byte alpha = 0;
  for (auto _ : state) {
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, appendBytes, nullptr);
    png_set_compression_level(png, 0);
    png_set_filter(png, 0, PNG_FILTER_NONE);
    png_set_IHDR(png, info, kW, kH, 8, PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_PLTE(png, info, palette.data(), 16);
    png_set_tRNS(png, info, &alpha, 1, nullptr);
    png_set_rows(png, info, rows.data());
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    png_destroy_write_struct(&png, &info);
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(LibpngStored)->Unit(benchmark::kMicrosecond);

// One drawRegion call of the plain loop.
struct Piece {
  Image* image;
  int sx, sy, w, h, dx, dy;
};

// Held as native roots for the whole run.
struct SceneFixture {
  VMNative<bench::SceneCanvas> canvas;
  VMNative<Image> target;
  VMNative<Image> tiles;
  VMNative<VMArray<tq::Gob>> sprites;
  std::vector<std::pair<int, int>> positions;
};

VMPtr<tq::Gob> solid(int w, int h, int32_t colour) {
  VMPtr<VMArray<int32_t>> p = VMArray<int32_t>::create(w * h);
  for (int32_t i = 0; i < p->length; ++i) p->at(i) = colour;
  return tq::Gob::create(p, w, h, 0);
}

SceneFixture& scene() {
  static SceneFixture* f = [] {
    VMTestEnv::start();
    auto* s = new SceneFixture();
    VMPtr<bench::SceneCanvas> canvas = bench::SceneCanvas::_VM_new();
    canvas->_VM_init(VMPtr<javax::microedition::midlet::MIDlet>());
    VMPtr<Image> tiles = Image::createMutableImage(64, 64, 0, 0x336699);
    VMPtr<VMArray<tq::Gob>> sprites = VMArray<tq::Gob>::create(130);
    canvas->initTileMap(kW / kTile * 2, kH / kTile * 2, tiles, kTile, kTile);
    canvas->fillCells(0, 0, kW / kTile * 2, kH / kTile * 2, 3);
    canvas->setSceneSize(kW, kH);
    std::mt19937 random(3);
    canvas->initStaticSprites(100);
    canvas->initSprites(30);
    for (int i = 0; i < 130; ++i) {
      sprites->set(i, solid(12, 12, static_cast<int32_t>(random())));
      const int x = static_cast<int>(random() % kW), y = static_cast<int>(random() % kH);
      s->positions.push_back({x, y});
      if (i < 100) {
        canvas->addStaticSprite(sprites->get(i), x, y, 0);
      } else {
        canvas->addSprite(sprites->get(i), x, y, 0);
      }
    }
    s->canvas = canvas;
    s->tiles = tiles;
    s->sprites = sprites;
    s->target = Image::createMutableImage(kW, kH, 0, 0);
    tq::TqCanvas::runState = 4;
    return s;
  }();
  return *f;
}

void PaintScene(benchmark::State& state) {
  SceneFixture& s = scene();
  VMPtr<Graphics> g = VMPtr<Image>(s.target)->getGraphics();
  VMPtr<bench::SceneCanvas> canvas(s.canvas);
  for (auto _ : state) canvas->paintScene(g);
}
BENCHMARK(PaintScene)->Unit(benchmark::kMicrosecond);

void DrawRegionLoop(benchmark::State& state) {
  SceneFixture& s = scene();
  VMPtr<Graphics> g = VMPtr<Image>(s.target)->getGraphics();
  VMPtr<VMArray<tq::Gob>> sprites(s.sprites);
  std::vector<Piece> pieces;
  for (int y = 0; y < kH; y += kTile) {
    for (int x = 0; x < kW; x += kTile) pieces.push_back({VMPtr<Image>(s.tiles).get(), 32, 0, kTile, kTile, x, y});
  }
  for (size_t i = 0; i < s.positions.size(); ++i) {
    pieces.push_back({sprites->get(int32_t(i))->image.get(), 0, 0, 12, 12, s.positions[i].first, s.positions[i].second});
  }
  for (auto _ : state) {
    for (const Piece& p : pieces) g->drawRegion(VMPtr<Image>(p.image), p.sx, p.sy, p.w, p.h, 0, p.dx, p.dy, 20);
  }
}
BENCHMARK(DrawRegionLoop)->Unit(benchmark::kMicrosecond);

void VerticalGradient(benchmark::State& state) {
  VMTestEnv::start();
  VMPtr<Image> target = Image::createMutableImage(kW, kH, 0, 0);
  VMPtr<Graphics> g = target->getGraphics();
  for (auto _ : state) tq::TqCanvas::fillVerticalGradient(g, 0, 0, kW, kH, 0x102030, 0xF0E0D0);
}
BENCHMARK(VerticalGradient)->Unit(benchmark::kMicrosecond);

void FillRectPerRow(benchmark::State& state) {
  VMTestEnv::start();
  VMPtr<Image> target = Image::createMutableImage(kW, kH, 0, 0);
  VMPtr<Graphics> g = target->getGraphics();
  for (auto _ : state) {
    for (int y = 0; y < kH; ++y) {
      g->setColor(0x102030 + y * 0x010101);
      g->fillRect(0, y, kW, 1);
    }
  }
}
BENCHMARK(FillRectPerRow)->Unit(benchmark::kMicrosecond);

}  // namespace
