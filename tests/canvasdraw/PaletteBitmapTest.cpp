// Palettes read from packed PNGs, the transparent index, palette swaps,
// and the BMP export byte for byte.

#include <gtest/gtest.h>

#include "DrawCanvas.h"
#include "JavaTestSupport.h"
#include "PackFixtures.h"
#include "PngWriter.h"
#include "SimplePackWriter.h"
#include "VMTestEnv.h"
#include "java_lang_ArrayIndexOutOfBoundsException.h"
#include "tq_Resources.h"
#include "tq_TqCanvas.h"

using namespace test::canvasdraw;
using pack_fixtures::ProgramFolder;
using tq::Resources;
using tq::TqCanvas;

namespace {

using Bytes = std::vector<uint8_t>;

constexpr uint32_t kRed = 0xFFF80000, kGreen = 0xFF00FC00, kBlue = 0xFF0000F8, kMagenta = 0xFFF800F8;

Bytes indexedPng(int w, int h, std::vector<uint8_t> indices, std::vector<uint32_t> palette) {
  return content::writePng(content::IndexedImage{w, h, std::move(indices), std::move(palette)});
}

// Resources 2048, 2049 ... of pack 2, in order.
void putPack(const ProgramFolder& folder, const std::vector<Bytes>& items) {
  std::vector<content::PackResource> resources;
  for (const Bytes& b : items) resources.push_back({0, b});
  folder.put("RP2.rp", content::writeSimplePack(resources));
}

TEST(PaletteBitmap, PalettesAndTransparentIndexes) {
  ProgramFolder folder;
  VMTestEnv::start();
  const Bytes rgba = content::writePng(content::RgbaImage{1, 1, {kRed}});
  const Bytes opaque = indexedPng(2, 1, {0, 1}, {kRed, kGreen});
  const Bytes holeAt5 = indexedPng(2, 1, {0, 5}, {kRed, 0x80F80000, kRed, kRed, kRed, 0, 0});
  const Bytes blueGreen = indexedPng(2, 1, {0, 1}, {kBlue, kGreen});
  putPack(folder, {rgba, opaque, holeAt5, blueGreen});
  VMPtr<DrawCanvas> canvas = DrawCanvas::make();
  // No PLTE: no palette, no transparent index, a swap changes nothing.
  EXPECT_FALSE(canvas->getPalette(2048));
  EXPECT_EQ(canvas->getTransparentIndex(2048), -1);
  VMPtr<VMArray<int8_t>> png = Resources::getBytes(2048);
  VMPtr<VMArray<int8_t>> palette = bytesOf({1, 2, 3, 4, 5, 6, 7});
  Resources::swapPalette(png, 0, palette);
  EXPECT_EQ(vectorOf(png), rgba);
  EXPECT_EQ(vectorOf(palette), (Bytes{1, 2, 3, 4, 5, 6, 7}));
  // PLTE data and CRC; tRNS entries; the first zero alpha.
  EXPECT_EQ(vectorOf(canvas->getPalette(2049)), pack_fixtures::paletteOf(opaque));
  EXPECT_EQ(canvas->getTransparentIndex(2049), -1);
  EXPECT_EQ(Resources::getTransparentIndex(2050), 5);
  // A double swap restores both arrays; the single one recolours.
  png = Resources::getBytes(2049);
  palette = canvas->getPalette(2051);
  Resources::swapPalette(png, 0, palette);
  EXPECT_EQ(pixelsOf(Resources::createImage(png, 0, png->length)), (std::vector<uint32_t>{kBlue, kGreen}));
  Resources::swapPalette(png, 0, palette);
  EXPECT_EQ(vectorOf(png), opaque);
  EXPECT_EQ(vectorOf(palette), pack_fixtures::paletteOf(blueGreen));
  DrawCanvas::stop();
}

Bytes le32(uint32_t v) { return {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)}; }

// The BMP of a w x h image of `pixels`, whose first-seen colour order is
// `colours`; `rows` the index rows, bottom row first, padded.
Bytes expectedBitmap(int w, int h, const std::vector<uint32_t>& colours, const Bytes& rows) {
  const uint32_t pixelBytes = static_cast<uint32_t>(rows.size());
  Bytes out = {'B', 'M'};
  for (uint32_t v : {pixelBytes + 1078, 0u, 1078u, 40u, uint32_t(w), uint32_t(h)}) {
    const Bytes b = le32(v);
    out.insert(out.end(), b.begin(), b.end());
  }
  out.insert(out.end(), {1, 0, 8, 0});
  for (uint32_t v : {0u, pixelBytes, 0u, 0u, 256u, 256u}) {
    const Bytes b = le32(v);
    out.insert(out.end(), b.begin(), b.end());
  }
  for (int i = 0; i < 256; ++i) {
    const Bytes b = le32((i < int(colours.size()) ? colours[i] : 0) | 0xFF000000u);
    out.insert(out.end(), b.begin(), b.end());
  }
  out.insert(out.end(), rows.begin(), rows.end());
  return out;
}

TEST(PaletteBitmap, BitmapsByteForByte) {
  ProgramFolder folder;
  VMTestEnv::start();
  // 3 x 2: red green red / blue magenta green. Magenta is the key: it
  // trades places with red, the first colour.
  const Bytes threeByTwo =
      content::writePng(content::RgbaImage{3, 2, {kRed, kGreen, kRed, kBlue, kMagenta, kGreen}});
  const Bytes fourByOne = content::writePng(content::RgbaImage{4, 1, {kRed, kGreen, kBlue, kGreen}});
  std::vector<uint32_t> many;
  // 257 colours that stay apart in RGB565: blue steps, then green steps.
  for (uint32_t i = 0; i < 257; ++i) many.push_back(0xFF000000u | ((i & 31) << 3) | ((i >> 5) << 10));
  const Bytes tooMany = content::writePng(content::RgbaImage{257, 1, many});
  putPack(folder, {threeByTwo, fourByOne, tooMany});
  VMPtr<DrawCanvas> canvas = DrawCanvas::make();
  VMPtr<VMArray<int8_t>> before = VMArray<int8_t>::create(8);
  TqCanvas::writeBuffer = before;
  TqCanvas::writePosition = 3;
  const Bytes bmp = vectorOf(canvas->getBitmap(2048));
  ASSERT_EQ(bmp.size(), 1086u);
  const std::vector<uint32_t> colours = {kMagenta, kGreen, kBlue, kRed};
  // Rows bottom-up: blue magenta green = 2 0 1, then red green red = 3 1 3.
  EXPECT_EQ(bmp, expectedBitmap(3, 2, colours, {2, 0, 1, 0, 3, 1, 3, 0}));
  EXPECT_EQ(vectorOf(canvas->getBitmap(2049)), expectedBitmap(4, 1, {kRed, kGreen, kBlue}, {0, 1, 2, 1}));
  EXPECT_EQ(TqCanvas::writeBuffer.get(), before.get());
  EXPECT_EQ(TqCanvas::writePosition, 3);
  java_test::thrownMessage<java::lang::ArrayIndexOutOfBoundsException>([&] { canvas->getBitmap(2050); });
  EXPECT_EQ(TqCanvas::writeBuffer.get(), before.get());
  EXPECT_EQ(TqCanvas::writePosition, 3);
  DrawCanvas::stop();
}

}  // namespace
