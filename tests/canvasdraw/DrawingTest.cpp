// The canvas's drawing helpers, read back from mutable images: pixel
// arrays under a translation, regions, gradients, alpha fills; and the
// colour-index conversion and the palette re-signing.

#include <gtest/gtest.h>
#include <zlib.h>

#include "DrawCanvas.h"
#include "JavaTestSupport.h"
#include "VMTestEnv.h"
#include "java_lang_ArrayIndexOutOfBoundsException.h"
#include "java_lang_IllegalArgumentException.h"
#include "tq_TqCanvas.h"

using namespace test::canvasdraw;
using tq::TqCanvas;
using Image = javax::microedition::lcdui::Image;
using Graphics = javax::microedition::lcdui::Graphics;

namespace {

constexpr uint32_t kWhite = 0xFFF8FCF8, kBlack = 0xFF000000, kRed = 0xFFF80000, kBlue = 0xFF0000F8;
constexpr uint32_t kGreen = 0xFF00FC00, kMagenta = 0xFFF800F8;

uint32_t at(const VMPtr<Image>& img, int x, int y) { return pixelsOf(img)[y * img->getWidth() + x]; }

TEST(Drawing, RgbUnderTranslationAndRegionsAtTheirPlace) {
  VMTestEnv::start();
  VMPtr<DrawCanvas> canvas = DrawCanvas::make();
  VMPtr<Image> target = Image::createMutableImage(20, 20, 0, 0);
  VMPtr<Graphics> g = target->getGraphics();
  g->translate(5, 7);
  canvas->paintRGB(g, intsOf({int32_t(kRed), int32_t(kBlue)}), 0, 2, 0, 0, 2, 1, 0);
  EXPECT_EQ(g->getTranslateX(), 5);
  EXPECT_EQ(g->getTranslateY(), 7);
  EXPECT_EQ(at(target, 5, 7), kRed);
  EXPECT_EQ(at(target, 6, 7), kBlue);
  EXPECT_EQ(at(target, 4, 7), kBlack);
  // An 8 x 8 source: red in its top-left 4 x 4 corner, blue elsewhere.
  std::vector<int32_t> source(64, int32_t(kBlue));
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) source[y * 8 + x] = int32_t(kRed);
  VMPtr<Image> img = Image::createRGBImage(intsOf(source), 8, 8, 0);
  g->translate(-5, -7);
  canvas->paintRegionAt(g, 10, 12, img, 0, 0, 4, 4);
  EXPECT_EQ(at(target, 10, 12), kRed);
  EXPECT_EQ(at(target, 13, 15), kRed);
  EXPECT_EQ(at(target, 14, 15), kBlack);
  EXPECT_EQ(at(target, 9, 12), kBlack);
  std::vector<int32_t> back(4);
  VMPtr<VMArray<int32_t>> rgb = intsOf(back);
  canvas->readRGB(target, rgb, 1, 3, 5, 7, 2, 1);
  EXPECT_EQ(uint32_t(rgb->at(1)) & 0xFFF8FCF8, kRed);
  EXPECT_EQ(uint32_t(rgb->at(2)) & 0xFFF8FCF8, kBlue);
  DrawCanvas::stop();
}

TEST(Drawing, GradientsRunFromTheFirstLineAndAreOpaque) {
  VMTestEnv::start();
  VMPtr<DrawCanvas> canvas = DrawCanvas::make();
  for (bool vertical : {true, false}) {
    SCOPED_TRACE(vertical ? "vertical" : "horizontal");
    VMPtr<Image> img = Image::createMutableImage(8, 8, 0, 0);
    VMPtr<Graphics> g = img->getGraphics();
    g->setAlpha(40);  // neither this nor the colours' alpha blends the lines
    if (vertical) {
      canvas->paintVerticalGradient(g, 0, 0, 8, 8, 0x40F80000, 0x000000F8);
    } else {
      canvas->paintHorizontalGradient(g, 0, 0, 8, 8, 0x40F80000, 0x000000F8);
    }
    const std::vector<uint32_t> p = pixelsOf(img);
    for (int a = 0; a < 8; ++a) {
      for (int b = 0; b < 8; ++b) {
        const int x = vertical ? b : a, y = vertical ? a : b;
        EXPECT_EQ(p[y * 8 + x] >> 24, 0xFFu);
        EXPECT_EQ(p[y * 8 + x], vertical ? p[y * 8] : p[x]) << x << "," << y;  // one colour a line
      }
    }
    EXPECT_EQ(p[0], kRed);
    const uint32_t last = vertical ? p[7 * 8] : p[7];
    EXPECT_LT((last >> 16) & 0xFF, 0x40u);
    EXPECT_GT(last & 0xFF, 0xB0u);
  }
  // Into an image's own Graphics, only the given rectangle.
  VMPtr<Image> img = Image::createMutableImage(4, 4, 0, int32_t(kWhite));
  canvas->paintVerticalGradient(img, 0, 1, 4, 2, int32_t(kGreen), int32_t(kGreen));
  EXPECT_EQ(at(img, 0, 0), kWhite);
  EXPECT_EQ(at(img, 3, 2), kGreen);
  EXPECT_EQ(at(img, 3, 3), kWhite);
  DrawCanvas::stop();
}

TEST(Drawing, AlphaFillsPutTheAlphaBack) {
  VMTestEnv::start();
  VMPtr<DrawCanvas> canvas = DrawCanvas::make();
  VMPtr<Image> img = Image::createMutableImage(4, 4, 0, 0);
  VMPtr<Graphics> g = img->getGraphics();
  g->setColor(0xF8FCF8);
  g->setAlpha(200);
  canvas->fillRectAlpha(g, 0, 0, 2, 2, 255);
  EXPECT_EQ(g->getAlpha(), 200);
  EXPECT_EQ(at(img, 1, 1), kWhite);
  canvas->fillTriangleAlpha(g, 2, 0, 4, 0, 4, 4, 0);
  EXPECT_EQ(g->getAlpha(), 200);
  EXPECT_EQ(at(img, 3, 0), kBlack);  // alpha 0 paints nothing
  java_test::thrownMessage<java::lang::IllegalArgumentException>([&] { canvas->fillRectAlpha(g, 0, 0, 1, 1, 300); });
  EXPECT_EQ(g->getAlpha(), 200);
  canvas->paintTriangle(g, 0, 3, 0, 4, 4, 4);
  canvas->resetGraphicsTransform(g);
  DrawCanvas::stop();
}

struct IndexCase {
  std::vector<uint32_t> pixels;
  std::vector<uint32_t> palette;
  std::vector<int> indices;
};

TEST(Drawing, IndexedPixelsPutTheKeyFirst) {
  VMTestEnv::start();
  const uint32_t kDarkMagenta = 0xFFF000F0;  // also a key colour
  const IndexCase cases[] = {
      {{kRed, kMagenta, kRed, kBlue}, {kMagenta, kRed, kBlue}, {1, 0, 1, 2}},
      {{kBlue, kRed, kBlue, kGreen}, {kBlue, kRed, kGreen}, {0, 1, 0, 2}},
      // Two key colours: the last new one goes first.
      {{kRed, kMagenta, kDarkMagenta, kRed}, {kDarkMagenta, kMagenta, kRed}, {2, 1, 0, 2}},
  };
  for (const IndexCase& c : cases) {
    std::vector<int32_t> pixels(c.pixels.begin(), c.pixels.end());
    VMPtr<Image> img = Image::createRGBImage(intsOf(pixels), 2, 2, 0);
    VMPtr<VMArray<int32_t>> palette = intsOf(std::vector<int32_t>(5, 7));
    const std::vector<uint8_t> indices = vectorOf(TqCanvas::toIndexedPixels(img, palette));
    EXPECT_EQ(std::vector<int>(indices.begin(), indices.end()), c.indices);
    for (size_t i = 0; i < c.palette.size(); ++i) {
      EXPECT_EQ(uint32_t(palette->at(int32_t(i))) & 0xFFF8FCF8, c.palette[i] & 0xFFF8FCF8) << i;
    }
    EXPECT_EQ(palette->at(4), 7);  // entries past the colours stay
  }
  VMPtr<Image> img = Image::createRGBImage(intsOf({int32_t(kRed), int32_t(kBlue)}), 2, 1, 0);
  java_test::thrownMessage<java::lang::ArrayIndexOutOfBoundsException>(
      [&] { TqCanvas::toIndexedPixels(img, intsOf({0})); });
}

TEST(Drawing, PaletteCrcMatchesZlib) {
  VMTestEnv::start();
  VMPtr<DrawCanvas> canvas = DrawCanvas::make();
  const std::vector<uint8_t> data = {0xF8, 0, 0, 0, 0xFC, 0, 1, 2, 3};
  VMPtr<VMArray<int8_t>> chunk = VMArray<int8_t>::create(13);
  for (int i = 0; i < 9; ++i) chunk->at(i) = int8_t(data[i]);
  canvas->updatePaletteChunkCrc(chunk);
  std::vector<uint8_t> typed = {'P', 'L', 'T', 'E'};
  typed.insert(typed.end(), data.begin(), data.end());
  const uint32_t crc = ::crc32(0, typed.data(), typed.size());
  const std::vector<uint8_t> bytes = vectorOf(chunk);
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 9, bytes.end()),
            (std::vector<uint8_t>{uint8_t(crc >> 24), uint8_t(crc >> 16), uint8_t(crc >> 8), uint8_t(crc)}));
  java_test::thrownMessage<java::lang::ArrayIndexOutOfBoundsException>(
      [&] { TqCanvas::updatePaletteCrc(VMArray<int8_t>::create(3)); });
  DrawCanvas::stop();
}

}  // namespace
