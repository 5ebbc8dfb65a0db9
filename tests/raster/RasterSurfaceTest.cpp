#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "RasterContext.h"
#include "RasterImage.h"
#include "RasterSurface.h"

namespace {

TEST(RasterSurfaceTest, RefusesSidesOutsideOneTo32767) {
  struct Case { int32_t w, h, type; };
  for (const Case& c : {Case{0, 5, 1}, Case{5, 0, 1}, Case{-1, 5, 1}, Case{32768, 1, 1},
                        Case{1, 32768, 3}, Case{1, 1, 0}, Case{1, 1, 4},
                        Case{INT32_MIN, INT32_MIN, 1}}) {
    EXPECT_EQ(RasterSurface::create(c.w, c.h, c.type), nullptr) << c.w << "x" << c.h;
    EXPECT_EQ(RasterSurface::byteSize(c.w, c.h, c.type), 0u);
  }
  EXPECT_EQ(RasterSurface::byteSize(32767, 32767, 3), size_t{32767} * 32767 * 3);
}

TEST(RasterSurfaceTest, AlphaPlaneFollowsTheColourPlane) {
  RasterSurface* s = RasterSurface::createWithAlphaPlane(3, 2);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->stride, 3);
  EXPECT_TRUE(s->ownsPixels);
  EXPECT_FALSE(s->wrapsMemory);
  EXPECT_EQ(reinterpret_cast<uint8_t*>(s->alphaAddress(1, 1)),
            reinterpret_cast<uint8_t*>(s->pixels) + 3 * 2 * 2 + 3 + 1);
  delete s;
}

TEST(RasterSurfaceTest, PackAndUnpackTruncate) {
  EXPECT_EQ(rasterPack565(0xFFFFFFFF), 0xFFFF);
  EXPECT_EQ(rasterPack565(0x00123456), ((0x12 >> 3) << 11) | ((0x34 >> 2) << 5) | (0x56 >> 3));
  EXPECT_EQ(rasterUnpack565(0xFFFF), 0xF8FCF8u);
}

TEST(RasterSurfaceTest, ImageReleasesItsSurfaceWithTheLastReference) {
  RasterImage* image = RasterImage::create(RasterSurface::createOpaque(4, 3));
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->refCount, 1);
  EXPECT_EQ(image->width, 4);
  EXPECT_EQ(image->height, 3);
  RasterContext* g = RasterContext::create(image);
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(image->refCount, 2);
  image->release();
  delete g;  // the last reference: ASan reports a leak otherwise
  EXPECT_EQ(RasterImage::create(nullptr), nullptr);
}

TEST(RasterSurfaceTest, ARGBConversionChoosesTheAlphaType) {
  struct Case { std::vector<uint32_t> argb; bool process; int32_t type; };
  const Case cases[] = {
      {{0x00FFFFFF, 0x80000000}, false, 1},
      {{0xFFFFFFFF, 0xF8000000}, true, 1},
      {{0xFFFFFFFF, 0x00FF00FF, 0x07123456}, true, 2},
      {{0xFFFFFFFF, 0x00FF00FF, 0x64000000}, true, 3},
      {{0x08000000}, true, 3},
      {{0xF7000000}, true, 3},
  };
  for (const Case& c : cases) {
    std::vector<int32_t> in(c.argb.begin(), c.argb.end());
    RasterSurface* s = RasterSurface::createFromARGB(in.data(), static_cast<int32_t>(in.size()),
                                                     1, 0, c.process);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->alphaType, c.type);
    for (size_t i = 0; i < in.size(); ++i) {
      const uint32_t a = c.argb[i] >> 24;
      const uint32_t rgb = rasterUnpack565(rasterPack565(c.argb[i]));
      uint32_t want = 0xFF000000u | rgb;
      if (c.type == 2 && a < 8) want = 0x00F800F8;  // the key colour, transparent
      if (c.type == 3) want = (a << 24) | rgb;
      EXPECT_EQ(s->argbAt(static_cast<int32_t>(i), 0), want) << i;
    }
    delete s;
  }
  int32_t one = -1;
  EXPECT_EQ(RasterSurface::createFromARGB(&one, 0, 1, 0, true), nullptr);
  EXPECT_EQ(RasterSurface::createFromARGB(nullptr, 1, 1, 0, true), nullptr);
}

TEST(RasterSurfaceTest, UnpacksWithoutReplicatingLowBits) {
  RasterSurface* s = RasterSurface::createOpaque(1, 1);
  s->pixels[0] = 0xFFFF;
  EXPECT_EQ(s->argbAt(0, 0), 0xFFF8FCF8u);
  delete s;
}

TEST(RasterSurfaceTest, ResizeReallocatesOnlyOwnedHeapSurfaces) {
  RasterSurface* s = RasterSurface::createWithAlphaPlane(4, 4);
  uint16_t* before = s->pixels;
  EXPECT_TRUE(s->resize(4, 4));
  EXPECT_EQ(s->pixels, before);
  EXPECT_TRUE(s->resize(7, 2));
  EXPECT_EQ(s->width, 7);
  EXPECT_EQ(s->height, 2);
  EXPECT_EQ(s->stride, 7);
  *s->alphaAddress(6, 1) = 9;  // the plane came along (ASan checks the size)
  EXPECT_FALSE(s->resize(0, 2));
  EXPECT_FALSE(s->resize(40000, 2));
  EXPECT_EQ(s->width, 7);
  delete s;
}

TEST(RasterSurfaceTest, SurfaceOverCallerMemoryTakesIt) {
  uint16_t* memory = RasterSurface::allocatePixels(3, 2, RasterSurface::kMasked);
  ASSERT_NE(memory, nullptr);
  EXPECT_EQ(RasterSurface::createOver(memory, 0, 2, 2), nullptr);  // refused: still ours
  RasterSurface* s = RasterSurface::createOver(memory, 3, 2, RasterSurface::kMasked);
  ASSERT_NE(s, nullptr);
  EXPECT_TRUE(s->wrapsMemory);
  EXPECT_TRUE(s->ownsPixels);
  EXPECT_EQ(s->pixels, memory);
  EXPECT_TRUE(s->hasAlpha());
  delete s;  // frees the memory: ASan reports a leak or double free otherwise
}

}  // namespace
