#include <gtest/gtest.h>

#include <cstdlib>

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

}  // namespace
