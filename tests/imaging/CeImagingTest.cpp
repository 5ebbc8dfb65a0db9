#include <gtest/gtest.h>
#include <png.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "CeImaging.h"
#include "CeProcessHeap.h"
#include "PngFixtures.h"

namespace {

using png_fixtures::Bytes;
using png_fixtures::Spec;

struct Decoded {
  CeImaging::Result result = CeImaging::Result::badData;
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> pixels;
};

Decoded decode(const Bytes& file) {
  CeImaging::Bitmap bitmap;
  Decoded d;
  d.result = CeImaging::decode(file.data(), file.size(), bitmap);
  if (d.result == CeImaging::Result::ok) {
    d.width = bitmap.width;
    d.height = bitmap.height;
    d.pixels.assign(bitmap.pixels, bitmap.pixels + size_t(bitmap.width) * bitmap.height);
  } else {
    EXPECT_EQ(bitmap.pixels, nullptr);
  }
  CeImaging::release(bitmap);
  return d;
}

struct FormatCase {
  const char* name;
  Spec spec;
  std::vector<uint32_t> expected;  // 0xAARRGGBB, row by row
};

Spec withGamma(Spec spec, double gamma) {
  spec.gamma = gamma;
  return spec;
}

// A 2x2 image in every colour type and depth the engine's images use.
std::vector<FormatCase> formatCases() {
  const std::vector<uint8_t> palette = {255, 0, 0, 0, 255, 0, 0, 0, 255, 10, 20, 30};
  return {
      {"rgba8", {2, 2, PNG_COLOR_TYPE_RGBA, 8,
                 {{1, 2, 3, 4, 5, 6, 7, 8}, {9, 10, 11, 255, 200, 100, 50, 0}}},
       {0x04010203, 0x08050607, 0xFF090A0B, 0x00C86432}},
      {"rgb8", {2, 2, PNG_COLOR_TYPE_RGB, 8, {{1, 2, 3, 4, 5, 6}, {7, 8, 9, 250, 251, 252}}},
       {0xFF010203, 0xFF040506, 0xFF070809, 0xFFFAFBFC}},
      {"rgb16 keeps the high byte", {2, 1, PNG_COLOR_TYPE_RGB, 16,
                                     {{0x12, 0xFF, 0x34, 0x00, 0x56, 0x80, 0xAB, 0x01, 0xCD, 0x02, 0xEF, 0x03}}},
       {0xFF123456, 0xFFABCDEF}},
      {"grey1", {2, 2, PNG_COLOR_TYPE_GRAY, 1, {{0x80}, {0x40}}},
       {0xFFFFFFFF, 0xFF000000, 0xFF000000, 0xFFFFFFFF}},
      {"grey2", {2, 1, PNG_COLOR_TYPE_GRAY, 2, {{0x6C}}}, {0xFF555555, 0xFFAAAAAA}},
      {"grey4", {2, 1, PNG_COLOR_TYPE_GRAY, 4, {{0x1F}}}, {0xFF111111, 0xFFFFFFFF}},
      {"grey-alpha8", {2, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, {{0x40, 0x80, 0xC0, 0xFF}}},
       {0x80404040, 0xFFC0C0C0}},
      {"palette8 with alphas", {2, 2, PNG_COLOR_TYPE_PALETTE, 8, {{0, 1}, {2, 3}}, palette, {0, 128}},
       {0x00FF0000, 0x8000FF00, 0xFF0000FF, 0xFF0A141E}},
      {"palette4 opaque", {2, 1, PNG_COLOR_TYPE_PALETTE, 4, {{0x32}}, palette},
       {0xFF0A141E, 0xFF0000FF}},
      {"palette2", {2, 1, PNG_COLOR_TYPE_PALETTE, 2, {{0x40}}, palette}, {0xFF00FF00, 0xFFFF0000}},
      {"gamma chunk leaves samples raw", withGamma({1, 1, PNG_COLOR_TYPE_RGB, 8, {{100, 150, 200}}}, 1.0),
       {0xFF6496C8}},
  };
}

TEST(CeImagingTest, EveryColourTypeDecodesToExactArgb) {
  for (const FormatCase& c : formatCases()) {
    SCOPED_TRACE(c.name);
    const Decoded d = decode(png_fixtures::encode(c.spec));
    ASSERT_EQ(d.result, CeImaging::Result::ok);
    EXPECT_EQ(d.width, c.spec.width);
    EXPECT_EQ(d.height, c.spec.height);
    EXPECT_EQ(d.pixels, c.expected);
  }
}

TEST(CeImagingTest, InterlacedImageDecodesLikeThePlainOne) {
  Spec spec{9, 7, PNG_COLOR_TYPE_RGB, 8};
  for (int y = 0; y < spec.height; ++y) {
    Bytes row;
    for (int x = 0; x < spec.width * 3; ++x) row.push_back(static_cast<uint8_t>(y * 31 + x * 7));
    spec.rows.push_back(row);
  }
  const Decoded plain = decode(png_fixtures::encode(spec));
  spec.interlaced = true;
  const Decoded interlaced = decode(png_fixtures::encode(spec));
  ASSERT_EQ(plain.result, CeImaging::Result::ok);
  ASSERT_EQ(interlaced.result, CeImaging::Result::ok);
  EXPECT_EQ(interlaced.pixels, plain.pixels);
}

// The engine writes palette images with stored deflate blocks and later
// rewrites the palette in place without fixing the chunk's CRC.
TEST(CeImagingTest, StoredPaletteImageDecodesAfterItsPaletteWasRewritten) {
  Bytes file = png_fixtures::storedPalettePng(3, 1, {1, 2, 3, 4, 5, 6}, {255, 0}, {1, 0, 1});
  ASSERT_EQ(decode(file).pixels, (std::vector<uint32_t>{0x00040506, 0xFF010203, 0x00040506}));
  // The PLTE chunk's data starts after the signature (8), IHDR (25) and its
  // own length and type (8).
  file[8 + 25 + 8] = 0x70;
  const Decoded d = decode(file);
  ASSERT_EQ(d.result, CeImaging::Result::ok);
  EXPECT_EQ(d.pixels, (std::vector<uint32_t>{0x00040506, 0xFF700203, 0x00040506}));
}

TEST(CeImagingTest, DataThatIsNoImageIsBadData) {
  const Bytes png = png_fixtures::encode({1, 1, PNG_COLOR_TYPE_RGB, 8, {{1, 2, 3}}});
  const std::vector<Bytes> cases = {
      {}, {0x89, 'P', 'N', 'G'}, Bytes(64, 0), Bytes(png.begin(), png.begin() + 8),
      // A good signature followed by a chunk that is not IHDR.
      [&] { Bytes b(png.begin(), png.begin() + 8); Bytes c = png_fixtures::chunk("IDAT", {1}); b.insert(b.end(), c.begin(), c.end()); return b; }(),
  };
  for (const Bytes& bytes : cases) EXPECT_EQ(decode(bytes).result, CeImaging::Result::badData);
  CeImaging::Bitmap bitmap;
  EXPECT_EQ(CeImaging::decode(nullptr, 100, bitmap), CeImaging::Result::badData);
}

// Every cut of a file either fails cleanly or, when only the trailer is
// missing, gives the whole image.
TEST(CeImagingTest, ImageCutAtAnyByteFailsCleanly) {
  Spec spec{5, 4, PNG_COLOR_TYPE_PALETTE, 8};
  spec.interlaced = true;
  for (int y = 0; y < 4; ++y) spec.rows.push_back({0, 1, 2, 3, static_cast<uint8_t>(y % 4)});
  spec.palette = {255, 0, 0, 0, 255, 0, 0, 0, 255, 10, 20, 30};
  spec.alphas = {7};
  const Bytes file = png_fixtures::encode(spec);
  const Decoded whole = decode(file);
  ASSERT_EQ(whole.result, CeImaging::Result::ok);
  const int64_t blocksBefore = CeProcessHeap::blocksInUse();
  for (size_t cut = 0; cut < file.size(); ++cut) {
    // A copy of exactly `cut` bytes, so AddressSanitizer sees any read past it.
    const Decoded d = decode(Bytes(file.begin(), file.begin() + cut));
    ASSERT_TRUE(d.result == CeImaging::Result::badData || d.pixels == whole.pixels) << cut;
  }
  EXPECT_EQ(CeProcessHeap::blocksInUse(), blocksBefore);
}

TEST(CeImagingTest, ImagesTooLargeAreRefusedBeforeTheirPixelsAreTaken) {
  struct Size { uint32_t width, height; };
  for (const Size s : {Size{40000, 1}, Size{1, 40000}, Size{5000, 5000}, Size{0, 1},
                       Size{0x7FFFFFFF, 0x7FFFFFFF}, Size{0x80000000, 1}}) {
    Bytes header = {0, 0, 0, 0, 0, 0, 0, 0, 8, PNG_COLOR_TYPE_RGB, 0, 0, 0};
    for (int i = 0; i < 4; ++i) {
      header[i] = static_cast<uint8_t>(s.width >> (24 - 8 * i));
      header[4 + i] = static_cast<uint8_t>(s.height >> (24 - 8 * i));
    }
    Bytes file = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    for (const Bytes& c : {png_fixtures::chunk("IHDR", header), png_fixtures::chunk("IDAT", {0x78, 0x01}),
                           png_fixtures::chunk("IEND", {})}) {
      file.insert(file.end(), c.begin(), c.end());
    }
    EXPECT_EQ(decode(file).result, CeImaging::Result::badData) << s.width << "x" << s.height;
  }
}

// What a decode of `file` ends in once the heap lets it through, and the
// fewest heap allocations it needs to get there ({outOfMemory, -1} when a
// thousand are not enough).
struct Cost {
  CeImaging::Result result = CeImaging::Result::outOfMemory;
  int64_t allocations = -1;
  bool operator==(const Cost&) const = default;
};

Cost decodeCost(const Bytes& file) {
  for (int64_t allowed = 0; allowed < 1000; ++allowed) {
    CeProcessHeap::setAllocationsLeft(allowed);
    const CeImaging::Result result = decode(file).result;
    CeProcessHeap::setAllocationsLeft(CeProcessHeap::kUnlimited);
    if (result != CeImaging::Result::outOfMemory) return {result, allowed};
  }
  return {};
}

void PrintTo(const Cost& cost, std::ostream* out) {
  static const char* const names[] = {"ok", "outOfMemory", "badData"};
  *out << names[static_cast<int>(cost.result)] << " after " << cost.allocations << " allocations";
}

Bytes bytes(const std::string& s) { return Bytes(s.begin(), s.end()); }

// A text of every kind (the compressed ones empty), a suggested palette,
// Exif data, scales and a chunk of no known kind, each with a small body.
std::vector<std::pair<std::string, Bytes>> chunksBesideThePixels() {
  return {
      {"tEXt", bytes(std::string("Title\0a plain text", 18))},
      {"zTXt", bytes(std::string("Title\0\0\x78\x01\x03\0\0\0\0\x01", 15))},
      {"iTXt", bytes(std::string("Title\0\0\0en\0\0text", 16))},
      {"sPLT", bytes(std::string("p\0\x08\x01\x02\x03\x04\x00\x05", 9))},
      {"eXIf", bytes(std::string("MM\0*\0\0\0\x08\0\0", 10))},
      {"pCAL", bytes(std::string("c\0\0\0\0\0\0\0\0\x01\0\0m", 13))},
      {"sCAL", bytes(std::string("\x01" "1\0" "1", 4))},
      {"ruSt", Bytes(100, 7)},
  };
}

// Chunks that do not make the pixels are skipped as they are read, so a
// small file cannot make a decode hold megabytes it never uses: with texts
// that inflate to 1 MiB each and twenty of every other kind, a 1x1 image
// decodes with as many heap blocks as the bare image.
TEST(CeImagingTest, ChunksBesideThePixelsAreNotKept) {
  Spec spec{1, 1, PNG_COLOR_TYPE_RGB, 8, {{1, 2, 3}}};
  const Bytes bare = png_fixtures::encode(spec);
  spec.compressedTexts.assign(8, std::string(1 << 20, 'a'));
  Bytes file = png_fixtures::encode(spec);
  ASSERT_LT(file.size(), size_t{40000});
  for (int copies = 0; copies < 20; ++copies) {
    for (const auto& [type, body] : chunksBesideThePixels()) {
      const Bytes c = png_fixtures::chunk(type, body);
      file.insert(file.begin() + 8 + 25, c.begin(), c.end());  // after IHDR
    }
  }
  const Decoded d = decode(file);
  ASSERT_EQ(d.result, CeImaging::Result::ok);
  EXPECT_EQ(d.pixels, std::vector<uint32_t>{0xFF010203});
  const Cost bareCost = decodeCost(bare);
  ASSERT_EQ(bareCost.result, CeImaging::Result::ok);
  EXPECT_EQ(decodeCost(file), bareCost);
}

// A chunk whose length field claims 2 GiB makes libpng ask for a buffer of
// that size when it reads the chunk; skipped, it takes nothing, and the
// file, which ends long before, is bad data as one with a chunk of no known
// kind is.
TEST(CeImagingTest, ChunkClaimingGigabytesTakesNoMemory) {
  const Bytes png = png_fixtures::encode({1, 1, PNG_COLOR_TYPE_RGB, 8, {{1, 2, 3}}});
  const auto claiming = [&](const std::string& type) {
    Bytes file = bytes("\x7F\xFF\xFF\xFF" + type + std::string(64, 'x'));
    file.insert(file.begin(), png.begin(), png.begin() + 8 + 25);  // signature and IHDR
    return file;
  };
  const Cost unknownCost = decodeCost(claiming("ruSt"));
  ASSERT_EQ(unknownCost.result, CeImaging::Result::badData);
  for (const auto& [type, body] : chunksBesideThePixels()) {
    EXPECT_EQ(decodeCost(claiming(type)), unknownCost) << type;
  }
}

// Whichever allocation of a decode the heap refuses, the decode reports
// out of memory and gives back every block it took.
TEST(CeImagingTest, RefusedAllocationIsOutOfMemoryAndLeaksNothing) {
  const Bytes file = png_fixtures::encode({3, 2, PNG_COLOR_TYPE_RGBA, 8,
                                           {Bytes(12, 0x55), Bytes(12, 0xAA)}});
  const int64_t blocksBefore = CeProcessHeap::blocksInUse();
  bool succeeded = false;
  for (int64_t allowed = 0; allowed < 100 && !succeeded; ++allowed) {
    CeProcessHeap::setAllocationsLeft(allowed);
    const Decoded d = decode(file);
    CeProcessHeap::setAllocationsLeft(CeProcessHeap::kUnlimited);
    ASSERT_NE(d.result, CeImaging::Result::badData) << allowed;
    succeeded = d.result == CeImaging::Result::ok;
    EXPECT_EQ(CeProcessHeap::blocksInUse(), blocksBefore) << allowed;
  }
  EXPECT_TRUE(succeeded);
}

}  // namespace
