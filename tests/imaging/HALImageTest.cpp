// The platform's image functions without a VM: decoding into RGB565
// surfaces with their alpha type, the status of every failure, the retry
// after a collection, resource files, and the pixels read back.
#include <gtest/gtest.h>
#include <png.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "CeProcessHeap.h"
#include "DeviceProfile.h"
#include "HALCallbacks.h"
#include "HALImage.h"
#include "HALMemory.h"
#include "PngFixtures.h"
#include "RasterImage.h"
#include "RasterSurface.h"

namespace {

using png_fixtures::Bytes;
using png_fixtures::Spec;

// What getRGB gives for a pixel of 0xAARRGGBB after the RGB565 round trip
// in a surface of `alphaType`.
uint32_t through565(uint32_t argb, int32_t alphaType) {
  const uint32_t alpha = argb >> 24;
  if (alphaType == RasterSurface::kMasked && alpha < 8) return 0x00F800F8;
  const uint32_t kept = alphaType == RasterSurface::kAlphaPlane ? alpha << 24 : 0xFF000000u;
  return kept | rasterUnpack565(rasterPack565(argb));
}

struct Image {
  HALStatus status = HAL_ILLEGAL_ARGUMENT_ERR;
  RasterImage* handle = nullptr;
  int32_t width = 0;
  int32_t height = 0;

  explicit Image(const Bytes& file) {
    status = HAL_createImageWithData(&handle, file.data(), static_cast<int32_t>(file.size()), &width, &height);
  }
  Image(const Image&) = delete;
  ~Image() { HAL_releaseImage(handle); }

  std::vector<uint32_t> pixels() const {
    std::vector<int32_t> out(size_t(width) * height);
    EXPECT_EQ(HAL_getImmutableRGB(handle, out.data(), static_cast<int32_t>(out.size()), 0, width, 0, 0,
                                  width, height),
              HAL_OK);
    return std::vector<uint32_t>(out.begin(), out.end());
  }
};

struct DecodeCase {
  const char* name;
  Bytes file;
  int32_t alphaType;
  std::vector<uint32_t> argb;  // what the file holds, row by row
};

std::vector<DecodeCase> decodeCases() {
  const std::vector<uint8_t> palette = {255, 0, 0, 0, 255, 0, 0, 0, 255, 10, 20, 30};
  Spec interlaced(3, 3, PNG_COLOR_TYPE_RGB, 8,
                  {{1, 2, 3, 40, 50, 60, 70, 80, 90}, {9, 9, 9, 8, 8, 8, 7, 7, 7}, {255, 0, 0, 0, 255, 0, 0, 0, 255}});
  interlaced.interlaced = true;
  Bytes broken = png_fixtures::storedPalettePng(2, 1, palette, {}, {3, 0});
  broken[broken.size() - 20] ^= 0x55;  // the IDAT chunk's checksum
  return {
      {"rgba with alphas 0 and 255 is masked",
       png_fixtures::encode({2, 1, PNG_COLOR_TYPE_RGBA, 8, {{0x12, 0x34, 0x56, 0xFF, 1, 2, 3, 0}}}),
       RasterSurface::kMasked, {0xFF123456, 0x00010203}},
      {"palette with a half alpha has an alpha plane",
       png_fixtures::encode({2, 2, PNG_COLOR_TYPE_PALETTE, 8, {{0, 1}, {2, 3}}, palette, {0, 128}}),
       RasterSurface::kAlphaPlane, {0x00FF0000, 0x8000FF00, 0xFF0000FF, 0xFF0A141E}},
      {"palette without tRNS is opaque",
       png_fixtures::encode({2, 1, PNG_COLOR_TYPE_PALETTE, 4, {{0x32}}, palette}), RasterSurface::kOpaque,
       {0xFF0A141E, 0xFF0000FF}},
      {"alphas 1..7 count as transparent, 248..254 as opaque",
       png_fixtures::encode({2, 1, PNG_COLOR_TYPE_RGBA, 8, {{9, 9, 9, 7, 200, 100, 50, 248}}}),
       RasterSurface::kMasked, {0x07090909, 0xF8C86432}},
      {"grey 16 bits", png_fixtures::encode({2, 1, PNG_COLOR_TYPE_GRAY, 16, {{0x80, 0x11, 0xFF, 0xFF}}}),
       RasterSurface::kOpaque, {0xFF808080, 0xFFFFFFFF}},
      {"grey 1 bit", png_fixtures::encode({2, 1, PNG_COLOR_TYPE_GRAY, 1, {{0x80}}}), RasterSurface::kOpaque,
       {0xFFFFFFFF, 0xFF000000}},
      {"grey 2 bits", png_fixtures::encode({2, 1, PNG_COLOR_TYPE_GRAY, 2, {{0x6C}}}), RasterSurface::kOpaque,
       {0xFF555555, 0xFFAAAAAA}},
      {"interlaced", png_fixtures::encode(interlaced), RasterSurface::kOpaque,
       {0xFF010203, 0xFF28323C, 0xFF46505A, 0xFF090909, 0xFF080808, 0xFF070707, 0xFFFF0000, 0xFF00FF00,
        0xFF0000FF}},
      {"stored palette form with a wrong checksum", broken, RasterSurface::kOpaque, {0xFF0A141E, 0xFFFF0000}},
  };
}

TEST(HALImageTest, DecodedPixelsAreTheFileThroughRgb565WithTheAlphaTypeTheyNeed) {
  for (const DecodeCase& c : decodeCases()) {
    SCOPED_TRACE(c.name);
    Image image(c.file);
    ASSERT_EQ(image.status, HAL_OK);
    ASSERT_EQ(size_t(image.width) * image.height, c.argb.size());
    EXPECT_EQ(image.handle->surface->alphaType, c.alphaType);
    uint8_t hasAlpha = 9;
    EXPECT_EQ(HAL_getImmutableHasAlpha(image.handle, &hasAlpha), HAL_OK);
    EXPECT_EQ(hasAlpha, c.alphaType != RasterSurface::kOpaque);
    std::vector<uint32_t> expected;
    for (uint32_t p : c.argb) expected.push_back(through565(p, c.alphaType));
    EXPECT_EQ(image.pixels(), expected);
  }
}

// The pixel (x, y) of the RGBA images below. Its blue stays below 0xF8, so
// no opaque pixel packs to the key colour (which a masked surface shows as
// transparent, whatever the file said).
uint32_t argbAt(int x, int y, uint8_t alpha) {
  return uint32_t{alpha} << 24 | uint32_t(x * 7 % 256) << 16 | uint32_t(y * 13 % 256) << 8 | uint32_t((x ^ y) % 200);
}

Bytes rgbaFile(int width, int height, uint8_t (*alphaOf)(int x, int y)) {
  std::vector<Bytes> rows;
  for (int y = 0; y < height; ++y) {
    Bytes row;
    for (int x = 0; x < width; ++x) {
      const uint32_t p = argbAt(x, y, alphaOf(x, y));
      row.insert(row.end(), {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p), uint8_t(p >> 24)});
    }
    rows.push_back(row);
  }
  return png_fixtures::encode({width, height, PNG_COLOR_TYPE_RGBA, 8, rows});
}

TEST(HALImageTest, DecodedImagesHoldOnlyThePlanesTheirAlphaTypeNeeds) {
  // Rows go straight into the surface, which has room for an alpha plane
  // until the alphas are known; one that needs none gives that room back.
  // Widths change from one decode to the next, so the decoder's row memory
  // is reused and grown.
  struct Case {
    int width, height;
    uint8_t (*alphaOf)(int x, int y);
    int32_t alphaType;
  };
  for (const Case& c : std::vector<Case>{
           {3, 2, [](int, int) -> uint8_t { return 255; }, RasterSurface::kOpaque},
           {300, 4, [](int x, int) -> uint8_t { return x % 5 == 0 ? 3 : 250; }, RasterSurface::kMasked},
           {5, 1, [](int x, int) -> uint8_t { return x == 4 ? 100 : 0; }, RasterSurface::kAlphaPlane},
           {301, 3, [](int, int y) -> uint8_t { return y == 2 ? 0 : 255; }, RasterSurface::kMasked},
           {2, 2, [](int, int) -> uint8_t { return 255; }, RasterSurface::kOpaque}}) {
    SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
    const uint64_t before = HAL_getAllocatedImageMemory();
    {
      Image image(rgbaFile(c.width, c.height, c.alphaOf));
      ASSERT_EQ(image.status, HAL_OK);
      EXPECT_EQ(image.handle->surface->alphaType, c.alphaType);
      const uint64_t perPixel = c.alphaType == RasterSurface::kAlphaPlane ? 3 : 2;
      EXPECT_EQ(HAL_getAllocatedImageMemory(), before + uint64_t(c.width) * c.height * perPixel + 16);
      std::vector<uint32_t> expected;
      for (int y = 0; y < c.height; ++y) {
        for (int x = 0; x < c.width; ++x) expected.push_back(through565(argbAt(x, y, c.alphaOf(x, y)), c.alphaType));
      }
      EXPECT_EQ(image.pixels(), expected);
    }
    EXPECT_EQ(HAL_getAllocatedImageMemory(), before);
  }
}

TEST(HALImageTest, DataThatIsNoImageIsBadFormatAtEveryCut) {
  const Bytes good = png_fixtures::encode({3, 2, PNG_COLOR_TYPE_RGB, 8, {Bytes(9, 7), Bytes(9, 8)}});
  const uint64_t imageBytes = HAL_getAllocatedImageMemory();
  for (size_t cut = 1; cut < good.size(); ++cut) {
    const Bytes part(good.begin(), good.begin() + static_cast<ptrdiff_t>(cut));
    Image image(part);
    EXPECT_TRUE(image.status == HAL_BAD_FORMAT_ERR || image.status == HAL_OK) << cut;
    EXPECT_EQ(image.handle == nullptr, image.status != HAL_OK) << cut;
    // A decode that fails half way gives back the pixels it had taken.
    if (image.status != HAL_OK) {
      EXPECT_EQ(HAL_getAllocatedImageMemory(), imageBytes) << cut;
    }
  }
  for (const Bytes& junk : {Bytes{1, 2, 3}, Bytes(100, 0), Bytes{'G', 'I', 'F', '8', '9', 'a'}}) {
    Image image(junk);
    EXPECT_EQ(image.status, HAL_BAD_FORMAT_ERR);
    EXPECT_EQ(image.handle, nullptr);
  }
  RasterImage* out = nullptr;
  const uint8_t byte = 0;
  EXPECT_EQ(HAL_createImageWithData(&out, &byte, 0, nullptr, nullptr), HAL_BAD_FORMAT_ERR);
  EXPECT_EQ(HAL_createImageWithData(&out, nullptr, 5, nullptr, nullptr), HAL_ILLEGAL_ARGUMENT_ERR);
  EXPECT_EQ(HAL_createImageWithData(nullptr, &byte, 1, nullptr, nullptr), HAL_ILLEGAL_ARGUMENT_ERR);
}

int collections = 0;

// Every way of making an image's pixels, each giving its status.
struct Maker {
  const char* name;
  HALStatus (*make)(RasterImage** out);
};

std::vector<Maker> makers() {
  return {
      {"decode",
       [](RasterImage** out) {
         static const Bytes file = png_fixtures::encode({1, 1, PNG_COLOR_TYPE_RGB, 8, {{1, 2, 3}}});
         return HAL_createImageWithData(out, file.data(), static_cast<int32_t>(file.size()), nullptr, nullptr);
       }},
      {"rgb",
       [](RasterImage** out) {
         static const int32_t argb[2] = {0x11223344, int32_t(0xFF000000)};
         return HAL_createImageWithRGB(out, argb, 2, 2, 1, 1);
       }},
      {"mutable", [](RasterImage** out) { return HAL_createMutableImage(out, 4, 3); }},
      {"transparent", [](RasterImage** out) { return HAL_createTransparentMutableImage(out, 4, 3); }},
      {"copy of a mutable image",
       [](RasterImage** out) {
         RasterImage* source = nullptr;
         CeProcessHeap::setAllocationsLeft(CeProcessHeap::kUnlimited);
         EXPECT_EQ(HAL_createMutableImage(&source, 2, 2), HAL_OK);
         CeProcessHeap::setAllocationsLeft(0);
         const HALStatus status = HAL_createImageWithMutableImage(out, source);
         CeProcessHeap::setAllocationsLeft(CeProcessHeap::kUnlimited);
         HAL_releaseImage(source);
         return status;
       }},
  };
}

TEST(HALImageTest, OutOfMemoryCollectsOnceAndTriesAgain) {
  VMCallbacks freeing{};
  freeing.collectGarbage = [] {
    ++collections;
    CeProcessHeap::setAllocationsLeft(CeProcessHeap::kUnlimited);
  };
  VMCallbacks useless{};
  useless.collectGarbage = [] { ++collections; };
  for (const Maker& m : makers()) {
    SCOPED_TRACE(m.name);
    // Memory freed by the collection is used.
    HAL_setVMCallbacks(&freeing);
    collections = 0;
    CeProcessHeap::setAllocationsLeft(0);
    RasterImage* image = nullptr;
    EXPECT_EQ(m.make(&image), HAL_OK);
    EXPECT_NE(image, nullptr);
    EXPECT_EQ(collections, 1);
    HAL_releaseImage(image);
    // Memory that stays short after the collection is reported.
    HAL_setVMCallbacks(&useless);
    collections = 0;
    const uint64_t imageBytes = HAL_getAllocatedImageMemory();
    CeProcessHeap::setAllocationsLeft(0);
    image = reinterpret_cast<RasterImage*>(1);
    EXPECT_EQ(m.make(&image), HAL_OUT_OF_MEMORY_ERR);
    CeProcessHeap::setAllocationsLeft(CeProcessHeap::kUnlimited);
    EXPECT_EQ(image, nullptr);
    EXPECT_EQ(collections, 1);
    EXPECT_EQ(HAL_getAllocatedImageMemory(), imageBytes);
  }
}

TEST(HALImageTest, PixelsAreCountedAsImageMemoryUntilTheLastReferenceGoes) {
  const uint64_t before = HAL_getAllocatedImageMemory();
  RasterImage* opaque = nullptr;
  RasterImage* clear = nullptr;
  ASSERT_EQ(HAL_createMutableImage(&opaque, 10, 7), HAL_OK);
  ASSERT_EQ(HAL_createTransparentMutableImage(&clear, 10, 7), HAL_OK);
  EXPECT_EQ(HAL_getAllocatedImageMemory(), before + (10 * 7 * 2 + 16) + (10 * 7 * 3 + 16));
  RasterImage* shared = nullptr;
  ASSERT_EQ(HAL_createImageWithImmutableImage(&shared, opaque), HAL_OK);
  HAL_releaseImage(opaque);
  HAL_releaseImage(clear);
  EXPECT_EQ(HAL_getAllocatedImageMemory(), before + (10 * 7 * 2 + 16));
  HAL_releaseImage(shared);
  EXPECT_EQ(HAL_getAllocatedImageMemory(), before);
}

TEST(HALImageTest, ResourceFilesAreReadWholeWithTheirOwnStatuses) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("jme-images-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder / "rsc");
  DeviceProfile::instance().setProgramDirectory(folder.string());
  const Bytes file = png_fixtures::encode({2, 1, PNG_COLOR_TYPE_RGB, 8, {{1, 2, 3, 4, 5, 6}}});
  std::ofstream(folder / "rsc" / "ok.png", std::ios::binary).write(reinterpret_cast<const char*>(file.data()),
                                                                   static_cast<std::streamsize>(file.size()));
  std::ofstream(folder / "rsc" / "empty.png").close();
  std::ofstream(folder / "rsc" / "text.png") << "not an image";
  std::ofstream(folder / "rsc" / "huge.png").close();
  std::filesystem::resize_file(folder / "rsc" / "huge.png", (256u << 20) + 1);  // sparse: never read
  struct Case {
    std::u16string name;
    HALStatus status;
  };
  for (const Case& c : std::vector<Case>{{u"ok.png", HAL_OK},
                                         {u"missing.png", HAL_NOT_FOUND_ERR},
                                         {u"../ok.png", HAL_NOT_FOUND_ERR},
                                         {u"", HAL_NOT_FOUND_ERR},
                                         {u"empty.png", HAL_IO_ERR},
                                         {u"text.png", HAL_BAD_FORMAT_ERR},
                                         {u"huge.png", HAL_BAD_FORMAT_ERR}}) {
    RasterImage* image = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    EXPECT_EQ(HAL_createImageWithResource(&image, c.name.data(), static_cast<int32_t>(c.name.size()), &width,
                                          &height),
              c.status);
    EXPECT_EQ(image != nullptr, c.status == HAL_OK);
    if (image != nullptr) {
      EXPECT_EQ(width * 10 + height, 21);
    }
    HAL_releaseImage(image);
  }
  std::filesystem::remove_all(folder);
}

TEST(HALImageTest, RgbArraysGetTheAlphaTypeTheirAlphasNeed) {
  struct Case {
    std::vector<int32_t> argb;
    int processAlpha;
    int32_t alphaType;
  };
  for (const Case& c : std::vector<Case>{{{0x00123456, 0x7F654321}, 0, RasterSurface::kOpaque},
                                         {{0x00123456, int32_t(0xFF654321)}, 1, RasterSurface::kMasked},
                                         {{int32_t(0xFF123456), 0x64654321}, 1, RasterSurface::kAlphaPlane},
                                         {{int32_t(0xFF123456), int32_t(0xF8654321)}, 1, RasterSurface::kOpaque}}) {
    RasterImage* image = nullptr;
    ASSERT_EQ(HAL_createImageWithRGB(&image, c.argb.data(), 2, 2, 1, c.processAlpha), HAL_OK);
    EXPECT_EQ(image->surface->alphaType, c.alphaType);
    int32_t back[2] = {};
    ASSERT_EQ(HAL_getImmutableRGB(image, back, 2, 0, 2, 0, 0, 2, 1), HAL_OK);
    for (int i = 0; i < 2; ++i) EXPECT_EQ(uint32_t(back[i]), through565(uint32_t(c.argb[i]), c.alphaType));
    HAL_releaseImage(image);
  }
  RasterImage* image = nullptr;
  const int32_t one[1] = {0};
  EXPECT_EQ(HAL_createImageWithRGB(&image, one, 1, 2, 1, 0), HAL_ILLEGAL_ARGUMENT_ERR);  // short
  EXPECT_EQ(HAL_createImageWithRGB(&image, one, 1, 1, 0, 0), HAL_ILLEGAL_ARGUMENT_ERR);
  EXPECT_EQ(HAL_createImageWithRGB(&image, nullptr, 1, 1, 1, 0), HAL_ILLEGAL_ARGUMENT_ERR);
  EXPECT_EQ(image, nullptr);
}

TEST(HALImageTest, MutableImagesStartWhiteOrTransparentAndCopiesDoNotFollowThem) {
  RasterImage* white = nullptr;
  RasterImage* clear = nullptr;
  ASSERT_EQ(HAL_createMutableImage(&white, 3, 2), HAL_OK);
  ASSERT_EQ(HAL_createTransparentMutableImage(&clear, 3, 2), HAL_OK);
  int32_t pixels[6] = {};
  ASSERT_EQ(HAL_getMutableRGB(white, pixels, 6, 0, 3, 0, 0, 3, 2), HAL_OK);
  for (int32_t p : pixels) EXPECT_EQ(uint32_t(p), 0xFFF8FCF8u);
  ASSERT_EQ(HAL_getMutableRGB(clear, pixels, 6, 0, 3, 0, 0, 3, 2), HAL_OK);
  for (int32_t p : pixels) EXPECT_EQ(p, 0);

  RasterImage* copy = nullptr;
  RasterImage* shared = nullptr;
  ASSERT_EQ(HAL_createImageWithMutableImage(&copy, clear), HAL_OK);
  ASSERT_EQ(HAL_createImageWithImmutableImage(&shared, copy), HAL_OK);
  EXPECT_NE(copy, clear);
  EXPECT_EQ(shared, copy);
  EXPECT_EQ(copy->refCount, 2);
  *clear->surface->pixelAddress(1, 1) = 0x1234;
  *clear->surface->alphaAddress(1, 1) = 99;
  ASSERT_EQ(HAL_getImmutableRGB(copy, pixels, 6, 0, 3, 0, 0, 3, 2), HAL_OK);
  for (int32_t p : pixels) EXPECT_EQ(p, 0);
  for (RasterImage* i : {white, clear, copy, shared}) HAL_releaseImage(i);

  for (auto make : {HAL_createMutableImage, HAL_createTransparentMutableImage}) {
    RasterImage* none = nullptr;
    EXPECT_EQ(make(&none, 0, 5), HAL_ILLEGAL_ARGUMENT_ERR);
    EXPECT_EQ(make(&none, 5, -1), HAL_ILLEGAL_ARGUMENT_ERR);
    EXPECT_EQ(make(&none, 40000, 1), HAL_ILLEGAL_ARGUMENT_ERR);
    EXPECT_EQ(none, nullptr);
  }
}

TEST(HALImageTest, ReadingPixelsBackStaysInsideTheImageAndTheArray) {
  const std::vector<int32_t> argb = {1, 2, 3, 4, 5, 6};  // 3 x 2
  RasterImage* image = nullptr;
  ASSERT_EQ(HAL_createImageWithRGB(&image, argb.data(), 6, 3, 2, 0), HAL_OK);
  const auto value = [](int32_t i) { return int32_t(through565(uint32_t(i), RasterSurface::kOpaque)); };
  // A negative scan length walks the array upwards.
  std::vector<int32_t> out(6, -1);
  ASSERT_EQ(HAL_getImmutableRGB(image, out.data(), 6, 3, -3, 0, 0, 3, 2), HAL_OK);
  EXPECT_EQ(out, (std::vector<int32_t>{value(4), value(5), value(6), value(1), value(2), value(3)}));
  struct Case {
    int32_t length, offset, scan, x, y, w, h;
  };
  for (const Case& c : std::vector<Case>{{6, 0, 3, 1, 0, 3, 1},
                                         {6, 0, 3, 0, -1, 1, 1},
                                         {6, 4, 3, 0, 0, 3, 1},
                                         {6, 0, -3, 0, 0, 3, 2},
                                         {6, 0, 0x7FFFFFFF, 0, 0, 1, 2},
                                         {6, -1, 3, 0, 0, 1, 1}}) {
    std::vector<int32_t> target(6, -1);
    EXPECT_EQ(HAL_getImmutableRGB(image, target.data(), c.length, c.offset, c.scan, c.x, c.y, c.w, c.h),
              HAL_ILLEGAL_ARGUMENT_ERR);
    EXPECT_EQ(target, std::vector<int32_t>(6, -1));
  }
  HAL_releaseImage(image);
}

}  // namespace
