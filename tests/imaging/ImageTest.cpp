// javax.microedition.lcdui.Image: every way of making one, the exceptions
// of each, and the pixels read back.
#include <gtest/gtest.h>
#include <malloc.h>
#include <png.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "DeviceProfile.h"
#include "HALMemory.h"
#include "JavaTestSupport.h"
#include "PngFixtures.h"
#include "RasterImage.h"
#include "RasterSurface.h"
#include "VMClassRegistry.h"
#include "VMHeap.h"
#include "VMTestEnv.h"
#include "java_io_IOException.h"
#include "java_lang_ArrayIndexOutOfBoundsException.h"
#include "java_lang_Class.h"
#include "java_lang_IllegalArgumentException.h"
#include "java_lang_IllegalStateException.h"
#include "java_lang_NullPointerException.h"
#include "javax_microedition_lcdui_Graphics.h"
#include "javax_microedition_lcdui_Image.h"

namespace {

using java::lang::ArrayIndexOutOfBoundsException;
using java::lang::IllegalArgumentException;
using java::lang::NullPointerException;
using java_test::jstr;
using java_test::thrownMessage;
using javax::microedition::lcdui::Graphics;
using javax::microedition::lcdui::Image;
using png_fixtures::Bytes;

class ImageTest : public ::testing::Test {
 protected:
  void SetUp() override { VMTestEnv::start(); }
};

VMPtr<VMArray<int8_t>> bytes(const Bytes& data) {
  VMPtr<VMArray<int8_t>> array = VMArray<int8_t>::create(static_cast<int32_t>(data.size()));
  for (size_t i = 0; i < data.size(); ++i) array->elements()[i] = static_cast<int8_t>(data[i]);
  return array;
}

VMPtr<VMArray<int32_t>> ints(const std::vector<int32_t>& values) {
  VMPtr<VMArray<int32_t>> array = VMArray<int32_t>::create(static_cast<int32_t>(values.size()));
  for (size_t i = 0; i < values.size(); ++i) array->elements()[i] = values[i];
  return array;
}

std::vector<uint32_t> pixels(const VMPtr<Image>& image) {
  VMPtr<VMArray<int32_t>> out = VMArray<int32_t>::create(image->getWidth() * image->getHeight());
  image->getRGB(out, 0, image->getWidth(), 0, 0, image->getWidth(), image->getHeight());
  return std::vector<uint32_t>(out->elements(), out->elements() + out->length);
}

TEST_F(ImageTest, ImageAndGraphicsAreRegisteredUnderTheirJavaNames) {
  for (auto [name, cls] : {std::pair{"javax.microedition.lcdui.Image", Image::_VM_class},
                           std::pair{"javax.microedition.lcdui.Graphics", Graphics::_VM_class}}) {
    java::lang::Class* c = _VM_findClass(name);
    ASSERT_EQ(c, cls) << name;
    EXPECT_STREQ(c->_VM_superName.c_str(), "java.lang.Object");
  }
}

TEST_F(ImageTest, BytesDecodeIntoAnImmutableImageAndBadBytesAreAnIllegalArgument) {
  const Bytes file = png_fixtures::encode({2, 1, PNG_COLOR_TYPE_RGBA, 8, {{255, 0, 0, 255, 0, 0, 0, 0}}});
  Bytes padded = {9, 9};
  padded.insert(padded.end(), file.begin(), file.end());
  padded.push_back(9);
  VMPtr<Image> image = Image::createImage(bytes(padded), 2, static_cast<int32_t>(file.size()));
  EXPECT_EQ(image->getWidth(), 2);
  EXPECT_EQ(image->getHeight(), 1);
  EXPECT_FALSE(image->isMutable());
  EXPECT_TRUE(image->hasAlpha());
  EXPECT_EQ(pixels(image), (std::vector<uint32_t>{0xFFF80000, 0x00F800F8}));
  EXPECT_EQ(thrownMessage<java::lang::IllegalStateException>([&] { image->getGraphics(); }), "<null>");

  // The slice is what is decoded: cut inside the pixel data, it is not an
  // image any more.
  VMPtr<VMArray<int8_t>> data = bytes(padded);
  EXPECT_EQ(thrownMessage<IllegalArgumentException>(
                [&] { Image::createImage(data, 2, static_cast<int32_t>(file.size()) - 20); }),
            "HAL_createImageWithData() error: HAL_BAD_FORMAT_ERR");
  EXPECT_EQ(thrownMessage<IllegalArgumentException>([&] { Image::createImage(data, 0, 0); }),
            "HAL_createImageWithData() error: HAL_BAD_FORMAT_ERR");
  struct Case {
    int32_t offset, length;
  };
  for (const Case& c : std::vector<Case>{{data->length, 0}, {-1, 4}, {0, -1}, {3, data->length}, {1, 0x7FFFFFFF}}) {
    thrownMessage<ArrayIndexOutOfBoundsException>([&] { Image::createImage(data, c.offset, c.length); });
  }
  thrownMessage<NullPointerException>([] { Image::createImage(VMPtr<VMArray<int8_t>>(), 0, 1); });
}

TEST_F(ImageTest, ResourceNamesResolveLikeResourcesOfTheImageClass) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("jme-image-class-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder / "rsc" / "javax" / "microedition" / "lcdui");
  DeviceProfile::instance().setProgramDirectory(folder.string());
  const auto write = [&](const std::filesystem::path& path, int32_t width) {
    const Bytes file = png_fixtures::encode({width, 1, PNG_COLOR_TYPE_GRAY, 8, {Bytes(size_t(width), 0)}});
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()),
                                                static_cast<std::streamsize>(file.size()));
  };
  write(folder / "rsc" / "top.png", 1);
  write(folder / "rsc" / "javax" / "microedition" / "lcdui" / "top.png", 2);
  std::ofstream(folder / "rsc" / "bad.png") << "bad";
  std::ofstream(folder / "rsc" / "empty.png").close();

  EXPECT_EQ(Image::createImage(jstr(u"/top.png"))->getWidth(), 1);
  EXPECT_EQ(Image::createImage(jstr(u"top.png"))->getWidth(), 2);
  EXPECT_FALSE(Image::createImage(jstr(u"/top.png"))->isMutable());
  struct Case {
    std::u16string name;
    const char* message;
  };
  for (const Case& c : std::vector<Case>{{u"/missing.png", "HAL_createImageWithResource() error: 4"},
                                         {u"/bad.png", "HAL_createImageWithResource() error: 6"},
                                         {u"/empty.png", "HAL_createImageWithResource() error: 7"},
                                         {u"/", "HAL_createImageWithResource() error: 4"}}) {
    EXPECT_EQ(thrownMessage<java::io::IOException>([&] { Image::createImage(jstr(c.name)); }), c.message);
  }
  thrownMessage<NullPointerException>([] { Image::createImage(VMPtr<java::lang::String>()); });
  std::filesystem::remove_all(folder);
}

TEST_F(ImageTest, RgbImagesCheckTheirArgumentsAndKeepTheAlphasAsked) {
  VMPtr<VMArray<int32_t>> argb = ints({0x00123456, int32_t(0xFF654321), 0x64000000, 0});
  VMPtr<Image> opaque = Image::createRGBImage(argb, 2, 1, 0);
  VMPtr<Image> masked = Image::createRGBImage(argb, 2, 1, 1);
  VMPtr<Image> translucent = Image::createRGBImage(argb, 2, 2, 1);
  EXPECT_FALSE(opaque->hasAlpha());
  EXPECT_TRUE(masked->hasAlpha());
  EXPECT_EQ(translucent->nativeImage()->surface->alphaType, RasterSurface::kAlphaPlane);
  EXPECT_EQ(pixels(masked), (std::vector<uint32_t>{0x00F800F8, 0xFF604020}));
  EXPECT_EQ(pixels(translucent)[2], 0x64000000u);
  thrownMessage<NullPointerException>([] { Image::createRGBImage(VMPtr<VMArray<int32_t>>(), 1, 1, 0); });
  for (auto [w, h] : {std::pair{0, 1}, std::pair{1, 0}, std::pair{-1, 1}, std::pair{40000, 1}}) {
    VMPtr<VMArray<int32_t>> big = VMArray<int32_t>::create(w > 0 ? w : 1);
    thrownMessage<IllegalArgumentException>([&] { Image::createRGBImage(big, w, h, 0); });
  }
  thrownMessage<ArrayIndexOutOfBoundsException>([&] { Image::createRGBImage(argb, 3, 2, 0); });
  thrownMessage<ArrayIndexOutOfBoundsException>([&] { Image::createRGBImage(argb, 0x10000, 0x10000, 0); });
}

TEST_F(ImageTest, MutableImagesAreWhiteAndTheirImmutableCopiesNeverChange) {
  VMPtr<Image> canvas = Image::createImage(3, 2);
  EXPECT_TRUE(canvas->isMutable());
  EXPECT_FALSE(canvas->hasAlpha());
  EXPECT_EQ(pixels(canvas), std::vector<uint32_t>(6, 0xFFF8FCF8));
  VMPtr<Image> snapshot = Image::createImage(canvas);
  VMPtr<Image> again = Image::createImage(snapshot);
  EXPECT_FALSE(snapshot->isMutable());
  EXPECT_EQ(snapshot->getWidth(), 3);
  EXPECT_NE(snapshot->nativeImage(), canvas->nativeImage());
  EXPECT_EQ(again->nativeImage(), snapshot->nativeImage());
  *canvas->nativeImage()->surface->pixelAddress(0, 0) = 0;
  EXPECT_EQ(pixels(snapshot), std::vector<uint32_t>(6, 0xFFF8FCF8));
  EXPECT_EQ(pixels(canvas)[0], 0xFF000000u);

  for (auto [w, h] : {std::pair{0, 1}, std::pair{1, 0}, std::pair{-1, 5}, std::pair{5, 40000}}) {
    thrownMessage<IllegalArgumentException>([&] { Image::createImage(w, h); });
    thrownMessage<IllegalArgumentException>([&] { Image::createMutableImage(w, h, 1, 0); });
  }
  thrownMessage<NullPointerException>([] { Image::createImage(VMPtr<Image>()); });
  VMPtr<Image> clear = Image::createMutableImage(2, 2, 1, 0x123456);
  EXPECT_TRUE(clear->isMutable());
  EXPECT_TRUE(clear->hasAlpha());
  EXPECT_EQ(pixels(clear), std::vector<uint32_t>(4, 0));
}

TEST_F(ImageTest, GetRgbChecksItsArgumentsInOrder) {
  VMPtr<Image> image =
      Image::createRGBImage(ints({0x111111, 0x222222, 0x333333, 0x444444, 0x555555, 0x666666}), 3, 2, 0);
  VMPtr<VMArray<int32_t>> out = VMArray<int32_t>::create(6);
  // Width or height 0: nothing is copied, even into no array.
  image->getRGB(VMPtr<VMArray<int32_t>>(), 0, 3, 0, 0, 0, 2);
  image->getRGB(out, -100, 3, 3, 2, 0, 0);
  struct Case {
    int32_t offset, scan, x, y, w, h;
  };
  for (const Case& c : std::vector<Case>{{0, 3, -1, 0, 1, 1},
                                         {0, 3, 0, 0, 4, 1},
                                         {0, 3, 0, 1, 1, 2},
                                         {0, 3, 0x7FFFFFFF, 0, 2, 1},
                                         {0, 2, 0, 0, 3, 1}}) {
    thrownMessage<IllegalArgumentException>([&] { image->getRGB(out, c.offset, c.scan, c.x, c.y, c.w, c.h); });
  }
  // Every row must fit the array, with either sign of the scan length: the
  // first row as well as the last (a negative scan length puts the first
  // row highest).
  for (const Case& c : std::vector<Case>{{-1, 3, 0, 0, 1, 1},
                                         {4, 3, 0, 0, 3, 1},
                                         {1, 3, 0, 0, 3, 2},
                                         {2, -3, 0, 0, 3, 2},
                                         {4, -3, 0, 0, 3, 2},
                                         {6, -3, 0, 0, 1, 2},
                                         {4, -4, 0, 0, 3, 2},
                                         {-1, -3, 0, 1, 1, 1},
                                         {0, 0x40000000, 0, 0, 1, 2},
                                         {5, -0x40000000, 0, 0, 1, 2}}) {
    SCOPED_TRACE(testing::Message() << c.offset << " " << c.scan << " " << c.w << "x" << c.h);
    thrownMessage<ArrayIndexOutOfBoundsException>([&] { image->getRGB(out, c.offset, c.scan, c.x, c.y, c.w, c.h); });
  }
  // The same shapes at the array's very edges are accepted.
  for (const Case& c : std::vector<Case>{{3, -3, 0, 0, 3, 2}, {5, -5, 0, 0, 1, 2}, {3, 3, 0, 0, 3, 1}, {0, 3, 0, 0, 3, 2}}) {
    image->getRGB(VMArray<int32_t>::create(6), c.offset, c.scan, c.x, c.y, c.w, c.h);
  }
  thrownMessage<NullPointerException>([&] { image->getRGB(VMPtr<VMArray<int32_t>>(), 0, 3, 0, 0, 1, 1); });
  image->getRGB(out, 3, -3, 1, 0, 2, 2);
  // A negative scan length puts the later rows before the first.
  const auto shown = [](uint32_t rgb) { return int32_t(0xFF000000 | rasterUnpack565(rasterPack565(rgb))); };
  EXPECT_EQ(std::vector<int32_t>(out->elements(), out->elements() + 5),
            (std::vector<int32_t>{shown(0x555555), shown(0x666666), 0, shown(0x222222), shown(0x333333)}));
}

// A VM whose heap is small next to the images made in it.
class ImageMemoryTest : public ::testing::Test {
 protected:
  static constexpr uint64_t kHeap = 4u << 20;
  void SetUp() override { VMTestEnv::start(1u << 20, kHeap); }
};

// Bytes the process holds from malloc, whoever took them.
uint64_t mallocBytes() {
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

TEST_F(ImageMemoryTest, ImagesMadeAndDroppedInALoopStayWithinTheHeapLimit) {
  constexpr int32_t kSide = 256;  // 128 KiB of pixels each, 64 KiB for the RGB ones
  constexpr uint64_t kImageBytes = uint64_t{kSide} * kSide * 2;
  VMPtr<VMArray<int32_t>> argb = VMArray<int32_t>::create(kSide * kSide / 2);
  const uint64_t before = mallocBytes();
  uint64_t most = 0;
  for (int i = 0; i < 120; ++i) {
    // Each image is dropped at once; only a collection gives its pixels back.
    Image::createImage(kSide, kSide);
    Image::createMutableImage(kSide, kSide, 1, 0);
    Image::createRGBImage(argb, kSide, kSide / 2, 0);
    most = std::max(most, mallocBytes() - std::min(before, mallocBytes()));
    ASSERT_LE(HAL_getMemoryInUse() + _VM_heapState().allocated, kHeap + 3 * kImageBytes) << i;
  }
  // The images' pixels, counted against the heap, made the collector run
  // in time; uncounted, the loop would have held some 40 MiB of them.
  EXPECT_LE(most, kHeap + 4 * kImageBytes);
}

}  // namespace
