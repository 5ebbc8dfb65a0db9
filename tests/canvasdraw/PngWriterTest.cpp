// The in-memory PNG writer, read back independently: chunk layout and CRCs
// through zlib, the stored deflate blocks and their Adler-32 through
// zlib's inflate, the pixels through libpng and through the platform's own
// decoder; and the checksum helpers against zlib.

#include <gtest/gtest.h>
#include <zlib.h>

#include <random>

#include "DrawCanvas.h"
#include "JavaTestSupport.h"
#include "PngCheck.h"
#include "VMTestEnv.h"
#include "java_lang_ArrayIndexOutOfBoundsException.h"
#include "java_lang_IllegalArgumentException.h"
#include "tq_TqCanvas.h"

using namespace test::canvasdraw;
using tq::TqCanvas;

namespace {

using Bytes = std::vector<uint8_t>;

// Palette entries (RGB) whose colours the RGB565 surfaces keep exactly.
const Bytes kRgb = {0xF8, 0x00, 0x00, 0x00, 0xFC, 0x00, 0x00, 0x00, 0xF8, 0x80, 0x40, 0x08};

// A palette array: the PLTE data of `entries` colours and 4 ignored bytes.
Bytes paletteArray(int entries) {
  Bytes p;
  for (int i = 0; i < entries; ++i) p.insert(p.end(), kRgb.begin() + 3 * (i % 4), kRgb.begin() + 3 * (i % 4) + 3);
  p.insert(p.end(), {0xDE, 0xAD, 0xBE, 0xEF});
  return p;
}

Bytes indicesFor(int w, int h, int entries) {
  Bytes v(size_t(w) * h);
  for (size_t i = 0; i < v.size(); ++i) v[i] = static_cast<uint8_t>((i * 7 + i / w) % entries);
  return v;
}

uint32_t colourOf(const Bytes& palette, int index, int transparentIndex) {
  const uint32_t alpha = index == transparentIndex ? 0 : 0xFF;
  return (alpha << 24) | (uint32_t{palette[3 * index]} << 16) | (uint32_t{palette[3 * index + 1]} << 8) |
         palette[3 * index + 2];
}

Bytes write(const Bytes& indices, int w, int h, const Bytes& palette, int transparentIndex) {
  return vectorOf(TqCanvas::writePNG(bytesOf(indices), 0, w, w, h, bytesOf(palette), transparentIndex));
}

// The stored blocks of the zlib stream: (final flag, data length) each.
std::vector<std::pair<int, int>> blocksOf(const Bytes& zlib) {
  std::vector<std::pair<int, int>> out;
  size_t at = 2;
  while (at + 5 <= zlib.size()) {
    const int len = zlib[at + 1] | (zlib[at + 2] << 8);
    const int nlen = zlib[at + 3] | (zlib[at + 4] << 8);
    EXPECT_EQ(len ^ 0xFFFF, nlen);
    out.push_back({zlib[at], len});
    if (zlib[at] & 1) break;
    at += 5 + len;
  }
  return out;
}

struct Split {
  int width, height;
  std::vector<int> rows;  // rows a block
};

TEST(PngWriter, BlockSplitsSizesAndBothDecoders) {
  VMTestEnv::start();
  const Split splits[] = {{1, 1, {1}},           {239, 320, {136, 136, 48}}, {99, 655, {327, 327, 1}},
                          {127, 512, {256, 256}}, {5, 3, {3}}};
  for (const Split& s : splits) {
    SCOPED_TRACE(std::to_string(s.width) + " x " + std::to_string(s.height));
    const Bytes palette = paletteArray(4);
    const Bytes indices = indicesFor(s.width, s.height, 4);
    const Bytes png = write(indices, s.width, s.height, palette, -1);
    const int blocks = static_cast<int>(s.rows.size());
    EXPECT_EQ(png.size(), 75u + 12 + 5 * blocks + size_t(s.height) * (s.width + 1));
    const std::vector<PngChunk> chunks = chunksOf(png);
    ASSERT_EQ(chunks.size(), 4u);
    EXPECT_EQ(chunks[0].type + chunks[1].type + chunks[2].type + chunks[3].type, "IHDRPLTEIDATIEND");
    for (const PngChunk& c : chunks) EXPECT_TRUE(c.crcMatches) << c.type;
    std::vector<std::pair<int, int>> expected;
    for (int i = 0; i < blocks; ++i) expected.push_back({i == blocks - 1 ? 1 : 0, s.rows[i] * (s.width + 1)});
    EXPECT_EQ(blocksOf(chunks[2].data), expected);
    // Inflated: a filter byte 0 before each row.
    Bytes rows;
    for (int y = 0; y < s.height; ++y) {
      rows.push_back(0);
      rows.insert(rows.end(), indices.begin() + y * s.width, indices.begin() + (y + 1) * s.width);
    }
    EXPECT_EQ(inflated(chunks[2].data), rows);
    int w = 0, h = 0;
    const std::vector<uint32_t> decoded = decodedByLibpng(png, &w, &h);
    ASSERT_EQ(decoded.size(), indices.size());
    for (size_t i = 0; i < indices.size(); ++i) ASSERT_EQ(decoded[i], colourOf(palette, indices[i], -1)) << i;
    const std::vector<uint32_t> platform =
        pixelsOf(TqCanvas::createIndexedImage(bytesOf(indices), 0, s.width, s.width, s.height, bytesOf(palette), -1));
    for (size_t i = 0; i < indices.size(); ++i) ASSERT_EQ(platform[i], colourOf(palette, indices[i], -1)) << i;
  }
}

TEST(PngWriter, OnePixelIs85BytesAndTransparencyChunks) {
  VMTestEnv::start();
  EXPECT_EQ(write({0}, 1, 1, paletteArray(1), -1).size(), 85u);
  const struct {
    int index;
    Bytes trns;
  } cases[] = {{0, {0x00}}, {2, {0xFF, 0xFF, 0x00}}};
  for (const auto& c : cases) {
    const Bytes palette = paletteArray(4);
    const Bytes indices = {0, 1, 2, 3, 2, 1};
    const Bytes png = write(indices, 3, 2, palette, c.index);
    EXPECT_EQ(png.size(), 75u + 12 + 5 + 2 * 4 + 12 + c.index + 1);
    const std::vector<PngChunk> chunks = chunksOf(png);
    ASSERT_EQ(chunks.size(), 5u);
    EXPECT_EQ(chunks[2].type, "tRNS");
    EXPECT_EQ(chunks[2].data, c.trns);
    for (const PngChunk& chunk : chunks) EXPECT_TRUE(chunk.crcMatches) << chunk.type;
    int w = 0, h = 0;
    const std::vector<uint32_t> decoded = decodedByLibpng(png, &w, &h);
    ASSERT_EQ(decoded.size(), 6u);
    for (size_t i = 0; i < 6; ++i) EXPECT_EQ(decoded[i], colourOf(palette, indices[i], c.index)) << i;
    const std::vector<uint32_t> platform =
        pixelsOf(TqCanvas::createIndexedImage(bytesOf(indices), 0, 3, 3, 2, bytesOf(palette), c.index));
    for (size_t i = 0; i < 6; ++i) {
      if (indices[i] == c.index) {
        EXPECT_EQ(platform[i] >> 24, 0u) << i;
      } else {
        EXPECT_EQ(platform[i], colourOf(palette, indices[i], c.index)) << i;
      }
    }
  }
}

TEST(PngWriter, ReadsTheSourceAreaAndKeepsTheWriteBuffer) {
  VMTestEnv::start();
  // A 2 x 2 area at offset 3 of rows 5 apart.
  const Bytes source = {9, 9, 9, 1, 2, 9, 9, 9, 3, 0, 9, 9};
  VMPtr<VMArray<int8_t>> before = VMArray<int8_t>::create(16);
  TqCanvas::writeBuffer = before;
  TqCanvas::writePosition = 5;
  const Bytes png = vectorOf(TqCanvas::writePNG(bytesOf(source), 3, 5, 2, 2, bytesOf(paletteArray(4)), -1));
  EXPECT_EQ(TqCanvas::writeBuffer.get(), before.get());
  EXPECT_EQ(TqCanvas::writePosition, 5);
  EXPECT_EQ(inflated(chunksOf(png)[2].data), (Bytes{0, 1, 2, 0, 3, 0}));
  // Failures leave it too, and say what was wrong.
  java_test::thrownMessage<java::lang::ArrayIndexOutOfBoundsException>(
      [&] { TqCanvas::writePNG(bytesOf(source), 3, 5, 2, 3, bytesOf(paletteArray(4)), -1); });
  java_test::thrownMessage<java::lang::IllegalArgumentException>(
      [&] { TqCanvas::writePNG(bytesOf(source), 0, 5, 0, 2, bytesOf(paletteArray(4)), -1); });
  java_test::thrownMessage<java::lang::IllegalArgumentException>(
      [&] { TqCanvas::writePNG(bytesOf(source), 0, 5, 2, 2, bytesOf({1, 2, 3}), -1); });
  EXPECT_EQ(TqCanvas::writeBuffer.get(), before.get());
  EXPECT_EQ(TqCanvas::writePosition, 5);
}

TEST(PngWriter, ChecksumsAgreeWithZlib) {
  VMTestEnv::start();
  std::mt19937 random(7);
  for (int size : {0, 1, 4, 3799, 3800, 3801, 100000}) {
    Bytes data(size);
    for (uint8_t& b : data) b = static_cast<uint8_t>(random());
    VMPtr<VMArray<int8_t>> a = bytesOf(data);
    EXPECT_EQ(static_cast<uint32_t>(TqCanvas::pngCrc(a, 0, size)), ::crc32(0, data.data(), size)) << size;
    EXPECT_EQ(static_cast<uint32_t>(TqCanvas::adler32(1, a, 0, size)), ::adler32(1, data.data(), size)) << size;
  }
  // All bytes 0xFF: the sums at their largest before each reduction.
  Bytes ff(50000, 0xFF);
  EXPECT_EQ(static_cast<uint32_t>(TqCanvas::adler32(1, bytesOf(ff), 0, 50000)), ::adler32(1, ff.data(), 50000));
  EXPECT_EQ(static_cast<uint32_t>(TqCanvas::pngCrc(bytesOf({'I', 'E', 'N', 'D'}), 0, 4)), 0xAE426082u);
  java_test::thrownMessage<java::lang::ArrayIndexOutOfBoundsException>(
      [&] { TqCanvas::pngCrc(bytesOf({1, 2}), 1, 2); });
}

}  // namespace
