// javax.microedition.lcdui.Graphics: its state, clip and translation,
// argument and anchor checks, and the replacing draw mode.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "JavaTestSupport.h"
#include "RasterContext.h"
#include "RasterImage.h"
#include "RasterSurface.h"
#include "VMTestEnv.h"
#include "java_lang_ArrayIndexOutOfBoundsException.h"
#include "java_lang_IllegalArgumentException.h"
#include "java_lang_IllegalStateException.h"
#include "java_lang_NullPointerException.h"
#include "java_lang_StringIndexOutOfBoundsException.h"
#include "javax_microedition_lcdui_Graphics.h"
#include "javax_microedition_lcdui_Image.h"

namespace {

using java::lang::IllegalArgumentException;
using java_test::jstr;
using java_test::thrownMessage;
using javax::microedition::lcdui::Font;
using javax::microedition::lcdui::Graphics;
using javax::microedition::lcdui::Image;

class GraphicsTest : public ::testing::Test {
 protected:
  void SetUp() override { VMTestEnv::start(); }
};

struct Clip {
  int32_t x, y, w, h;
  bool operator==(const Clip&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Clip& c) {
  return out << "(" << c.x << ", " << c.y << ", " << c.w << ", " << c.h << ")";
}

Clip clipOf(const VMPtr<Graphics>& g) {
  return {g->getClipX(), g->getClipY(), g->getClipWidth(), g->getClipHeight()};
}

// The native context's clip, in target pixels.
Clip nativeClip(const VMPtr<Graphics>& g) {
  const RasterRect& r = g->context->clip;
  return {r.x, r.y, r.width < 1 || r.height < 1 ? 0 : r.width, r.width < 1 || r.height < 1 ? 0 : r.height};
}

VMPtr<Graphics> graphicsOver(int32_t width, int32_t height) {
  return Image::createImage(width, height)->getGraphics();
}

TEST_F(GraphicsTest, ANewGraphicsCoversItsImageWithTheDefaultState) {
  VMPtr<Graphics> g = graphicsOver(20, 10);
  EXPECT_EQ(clipOf(g), (Clip{0, 0, 20, 10}));
  EXPECT_EQ(nativeClip(g), (Clip{0, 0, 20, 10}));
  EXPECT_FALSE(g->clipChanged);
  EXPECT_EQ(g->getColor(), 0);
  EXPECT_EQ(g->getAlpha(), 255);
  EXPECT_EQ(g->getARGBColor(), int32_t(0xFF000000));
  EXPECT_EQ(g->getStrokeStyle(), Graphics::SOLID);
  EXPECT_EQ(g->getFont().get(), Font::getDefaultFont().get());
  EXPECT_EQ(g->getDrawMode(), 0);
  EXPECT_EQ(g->getGrayScale(), 0);
  EXPECT_EQ(g->context->argb, 0xFF000000u);
  thrownMessage<java::lang::NullPointerException>([] { Graphics::create(VMPtr<Image>()); });
}

TEST_F(GraphicsTest, ColoursGreysAndAlphaReachTheContextOnlyWhenTheyChange) {
  VMPtr<Graphics> g = graphicsOver(4, 4);
  g->setColor(255, 0, 0);
  EXPECT_EQ(g->getGrayScale(), 75);  // (76 * 255) >> 8
  EXPECT_EQ(g->context->argb, 0xFFFF0000u);
  g->context->argb = 0;  // a push would overwrite this
  g->setColor(0xAAFF0000);  // same colour: the alpha byte is ignored
  EXPECT_EQ(g->context->argb, 0u);
  g->setColor(0x123456);
  EXPECT_EQ(g->context->argb, 0xFF123456u);
  EXPECT_EQ(g->getRedComponent() * 0x10000 + g->getGreenComponent() * 0x100 + g->getBlueComponent(), 0x123456);
  g->setGrayScale(200);
  EXPECT_EQ(g->getColor(), 0xC8C8C8);
  g->context->argb = 0;
  g->setGrayScale(200);
  EXPECT_EQ(g->context->argb, 0u);
  g->setARGBColor(0x80010203);
  EXPECT_EQ(g->getAlpha(), 0x80);
  EXPECT_EQ(g->getColor(), 0x010203);
  EXPECT_EQ(g->context->argb, 0x80010203u);
  EXPECT_EQ(g->context->alpha, 0x80);
  g->setAlpha(255);
  EXPECT_EQ(g->context->argb, 0xFF010203u);
  g->setColor(0xFFFFFF);
  EXPECT_EQ(g->context->argb, 0xFFFFFFFFu);
  g->setARGBColor(7, 1, 2, 3);
  EXPECT_EQ(g->getARGBColor(), 0x07010203);
  EXPECT_EQ(g->getDisplayColor(0xFFFFFF), 0xFFFF);
  EXPECT_EQ(g->getDisplayColor(0x123456), rasterPack565(0x123456));

  for (auto bad : std::vector<std::vector<int32_t>>{{256, 0, 0}, {-1, 0, 0}, {0, 0, 256}, {0, -5, 0}}) {
    thrownMessage<IllegalArgumentException>([&] { g->setColor(bad[0], bad[1], bad[2]); });
    thrownMessage<IllegalArgumentException>([&] { g->setARGBColor(0, bad[0], bad[1], bad[2]); });
  }
  for (int32_t bad : {256, -1}) {
    thrownMessage<IllegalArgumentException>([&] { g->setGrayScale(bad); });
    thrownMessage<IllegalArgumentException>([&] { g->setAlpha(bad); });
    thrownMessage<IllegalArgumentException>([&] { g->setARGBColor(bad, 0, 0, 0); });
  }
  EXPECT_EQ(g->getARGBColor(), 0x07010203);
  thrownMessage<IllegalArgumentException>([&] { g->setStrokeStyle(2); });
  g->setStrokeStyle(Graphics::DOTTED);
  EXPECT_EQ(g->context->strokeStyle, 1);
  VMPtr<Font> big = Font::getFont(Font::FACE_MONOSPACE, Font::STYLE_BOLD, Font::SIZE_LARGE);
  g->setFont(big);
  EXPECT_EQ(g->context->font, big->nativeFont());
  g->setFont(VMPtr<Font>());
  EXPECT_EQ(g->getFont().get(), Font::getDefaultFont().get());
}

TEST_F(GraphicsTest, ClipsFollowTheTranslationAndStayInsideTheTarget) {
  struct Case {
    const char* name;
    int32_t tx, ty;
    bool clipRect;  // else setClip
    Clip arguments;
    Clip result;  // in translated coordinates
    Clip native;
  };
  const int32_t big = 0x7FFFFFF0;
  const std::vector<Case> cases = {
      {"inside", 0, 0, false, {2, 3, 4, 5}, {2, 3, 4, 5}, {2, 3, 4, 5}},
      {"translated", 10, 5, false, {-5, -2, 4, 3}, {-5, -2, 4, 3}, {5, 3, 4, 3}},
      {"cut at the edges", 0, 0, false, {-3, -3, 10, 100}, {0, 0, 7, 40}, {0, 0, 7, 40}},
      {"zero width", 0, 0, false, {0, 0, 0, 10}, {0, 0, 0, 0}, {0, 0, 0, 0}},
      {"beyond the target", 0, 0, false, {30, 0, 5, 5}, {0, 0, 0, 0}, {0, 0, 0, 0}},
      {"huge sizes do not wrap", 0, 0, false, {5, 5, big, big}, {5, 5, 25, 35}, {5, 5, 25, 35}},
      {"huge translation does not wrap", big, 0, false, {big, 0, 5, 5}, {-big, 0, 0, 0}, {0, 0, 0, 0}},
      {"clipRect narrows", 0, 0, true, {5, 5, 10, 100}, {5, 5, 10, 35}, {5, 5, 10, 35}},
      {"clipRect outside", 0, 0, true, {31, 0, 5, 5}, {0, 0, 0, 0}, {0, 0, 0, 0}},
      {"clipRect empty", 0, 0, true, {1, 1, 0, 5}, {0, 0, 0, 0}, {0, 0, 0, 0}},
      {"clipRect translated", -10, 0, true, {15, -20, 100, 30}, {15, 0, 25, 10}, {5, 0, 25, 10}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    VMPtr<Graphics> g = graphicsOver(30, 40);
    g->translate(c.tx, c.ty);
    const Clip& a = c.arguments;
    if (c.clipRect) {
      g->clipRect(a.x, a.y, a.w, a.h);
    } else {
      g->setClip(a.x, a.y, a.w, a.h);
    }
    EXPECT_EQ(clipOf(g), c.result);
    EXPECT_EQ(nativeClip(g), c.native);
  }
  // clipRect only ever narrows, and setClip replaces.
  VMPtr<Graphics> g = graphicsOver(30, 40);
  g->setClip(0, 0, 10, 10);
  g->clipRect(5, 5, 20, 20);
  EXPECT_EQ(clipOf(g), (Clip{5, 5, 5, 5}));
  EXPECT_TRUE(g->clipChanged);
  g->setClip(0, 0, 30, 40);
  EXPECT_FALSE(g->clipChanged);
  EXPECT_EQ(nativeClip(g), (Clip{0, 0, 30, 40}));
  g->translate(3, 4);
  EXPECT_EQ(g->getTranslateX(), 3);
  EXPECT_EQ(clipOf(g), (Clip{-3, -4, 30, 40}));
  g->setSize(30, 40);
  EXPECT_EQ(g->getTranslateX(), 0);
}

TEST_F(GraphicsTest, AnchorsAreCheckedPerOperation) {
  VMPtr<Graphics> g = graphicsOver(10, 10);
  VMPtr<Image> img = Image::createImage(2, 2);
  VMPtr<java::lang::String> s = jstr(u"x");
  const int32_t T = Graphics::TOP, L = Graphics::LEFT, H = Graphics::HCENTER, V = Graphics::VCENTER,
                R = Graphics::RIGHT, B = Graphics::BOTTOM, BL = Graphics::BASELINE;
  struct Case {
    int32_t anchor;
    bool stringOk, imageOk;
  };
  for (const Case& c : std::vector<Case>{{0, true, true},
                                         {T | L, true, true},
                                         {T | H | V, false, false},
                                         {V | L, false, true},
                                         {BL | L, true, false},
                                         {B | R, true, true},
                                         {T, false, false},
                                         {L | R | T, false, false},
                                         {128 | T | L, false, false},
                                         {-1, false, false}}) {
    SCOPED_TRACE(c.anchor);
    const auto check = [](bool ok, auto body) {
      if (ok) {
        body();
      } else {
        thrownMessage<IllegalArgumentException>(body);
      }
    };
    check(c.stringOk, [&] { g->drawString(s, 0, 0, c.anchor); });
    check(c.imageOk, [&] { g->drawImage(img, 0, 0, c.anchor); });
    check(c.imageOk, [&] { g->drawRegion(img, 0, 0, 1, 1, 0, 0, 0, c.anchor); });
    check(c.imageOk, [&] { g->copyArea(0, 0, 1, 1, 0, 0, c.anchor); });
    // The substring and character forms take any anchor.
    g->drawSubstring(s, 0, 1, 0, 0, c.anchor);
    g->drawChar(u'x', 0, 0, c.anchor);
  }
}

TEST_F(GraphicsTest, RangeAndTargetChecksOfTheDrawingOperations) {
  VMPtr<Graphics> g = graphicsOver(10, 10);
  VMPtr<Image> img = Image::createImage(4, 4);
  VMPtr<java::lang::String> s = jstr(u"abc");
  VMPtr<VMArray<char16_t>> chars = VMArray<char16_t>::create(3);
  using java::lang::ArrayIndexOutOfBoundsException;
  using java::lang::NullPointerException;
  using java::lang::StringIndexOutOfBoundsException;
  for (auto [offset, length] : {std::pair{-1, 1}, std::pair{0, 4}, std::pair{3, 1}, std::pair{1, -1},
                                std::pair{2, 0x7FFFFFFF}}) {
    thrownMessage<StringIndexOutOfBoundsException>([&] { g->drawSubstring(s, offset, length, 0, 0, 0); });
    thrownMessage<ArrayIndexOutOfBoundsException>([&] { g->drawChars(chars, offset, length, 0, 0, 0); });
  }
  g->drawSubstring(s, 3, 0, 0, 0, 0);
  thrownMessage<NullPointerException>([&] { g->drawString(VMPtr<java::lang::String>(), 0, 0, 0); });
  thrownMessage<NullPointerException>([&] { g->drawChars(VMPtr<VMArray<char16_t>>(), 0, 0, 0, 0, 0); });
  thrownMessage<NullPointerException>([&] { g->drawImage(VMPtr<Image>(), 0, 0, 0); });
  thrownMessage<NullPointerException>([&] { g->drawRegion(VMPtr<Image>(), 0, 0, 1, 1, 0, 0, 0, 0); });

  for (int32_t transform : {0x400, 8, 0x1000, -1}) {
    thrownMessage<IllegalArgumentException>([&] { g->drawRegion(img, 0, 0, 1, 1, transform, 0, 0, 0); });
  }
  g->drawRegion(img, 0, 0, 4, 4, 0x307, 0, 0, 0);
  struct Region {
    int32_t x, y, w, h;
  };
  for (const Region& r : std::vector<Region>{{-1, 0, 1, 1}, {0, 0, 5, 1}, {3, 0, 2, 1}, {0, 0, -1, 1},
                                             {0, 0x7FFFFFFF, 1, 1}}) {
    thrownMessage<IllegalArgumentException>([&] { g->drawRegion(img, r.x, r.y, r.w, r.h, 0, 0, 0, 0); });
  }
  thrownMessage<IllegalArgumentException>([&] { g->drawRegion(g->target, 0, 0, 1, 1, 0, 0, 0, 0); });

  for (const Region& r : std::vector<Region>{{-1, 0, 1, 1}, {0, 0, 11, 1}, {5, 5, 6, 1}, {0, 0, 1, -1}}) {
    thrownMessage<IllegalArgumentException>([&] { g->copyArea(r.x, r.y, r.w, r.h, 0, 0, 0); });
  }
  g->translate(2, 2);
  thrownMessage<IllegalArgumentException>([&] { g->copyArea(0, 0, 9, 1, 0, 0, 0); });
  g->copyArea(-2, -2, 10, 10, 0, 0, 0);

  VMPtr<VMArray<int32_t>> rgb = VMArray<int32_t>::create(6);
  struct Rgb {
    int32_t offset, scan, w, h;
  };
  for (const Rgb& r : std::vector<Rgb>{{-1, 3, 1, 1}, {0, 3, 4, 2}, {4, 3, 3, 1}, {0, -3, 3, 2}, {6, 0, 0, 0},
                                       {0, 0x40000000, 1, 3}}) {
    thrownMessage<ArrayIndexOutOfBoundsException>(
        [&] { g->drawRGB(rgb, r.offset, r.scan, 0, 0, r.w, r.h, 0); });
  }
  g->drawRGB(rgb, 3, -3, 0, 0, 3, 2, 1);
  g->drawRGB(rgb, 5, 3, 0, 0, 0, 0, 1);
  thrownMessage<NullPointerException>([&] { g->drawRGB(VMPtr<VMArray<int32_t>>(), 0, 1, 0, 0, 1, 1, 0); });
}

TEST_F(GraphicsTest, DrawModeOneIsOnlyForImagesWithAlphaAndReplacesTheirPixels) {
  VMPtr<Graphics> opaque = graphicsOver(4, 4);
  thrownMessage<IllegalArgumentException>([&] { opaque->setDrawMode(1, 0); });
  thrownMessage<IllegalArgumentException>([&] { opaque->setDrawMode(2, 0); });
  opaque->setDrawMode(0, 1);

  VMPtr<Image> layer = Image::createMutableImage(4, 2, 1, 0);
  VMPtr<Graphics> g = layer->getGraphics();
  g->setDrawMode(1, 0);
  EXPECT_EQ(g->getDrawMode(), 1);
  thrownMessage<IllegalArgumentException>([&] { g->setDrawMode(-1, 0); });
  EXPECT_EQ(g->getDrawMode(), 1);

  const auto pixels = [&] {
    VMPtr<VMArray<int32_t>> out = VMArray<int32_t>::create(8);
    layer->getRGB(out, 0, 4, 0, 0, 4, 2);
    return std::vector<uint32_t>(out->elements(), out->elements() + 8);
  };
  g->setARGBColor(0x80FF0000);
  g->fillRect(0, 0, 4, 2);
  EXPECT_EQ(pixels(), std::vector<uint32_t>(8, 0x80F80000));
  // A clear with alpha 0, clipped and translated, as the engine clears a layer.
  g->translate(1, 0);
  g->clipRect(0, 0, 2, 1);
  g->setARGBColor(0);
  g->fillRect(-1, 0, 10, 10);
  EXPECT_EQ(pixels(), (std::vector<uint32_t>{0x80F80000, 0, 0, 0x80F80000, 0x80F80000, 0x80F80000,
                                            0x80F80000, 0x80F80000}));
  // Images replace too, alpha included, through every transform.
  VMPtr<VMArray<int32_t>> ab = VMArray<int32_t>::create(2);
  ab->elements()[0] = int32_t(0xFF0000FF);  // A
  ab->elements()[1] = 0x40FFFFFF;           // B
  VMPtr<Image> source = Image::createRGBImage(ab, 2, 1, 1);
  const uint32_t A = 0xFF0000F8, B = 0x40F8FCF8;
  struct Case {
    int32_t transform;
    std::vector<uint32_t> column;  // (0, 0) and (0, 1) of the layer
  };
  g->setSize(4, 2);
  g->setAlpha(255);
  for (const Case& c : std::vector<Case>{{5, {A, B}}, {6, {B, A}}}) {
    g->drawRegion(source, 0, 0, 2, 1, c.transform, 0, 0, 0);
    const std::vector<uint32_t> p = pixels();
    EXPECT_EQ((std::vector<uint32_t>{p[0], p[4]}), c.column) << c.transform;
  }
  g->drawImage(source, 2, 1, 0);
  EXPECT_EQ(pixels()[6], A);
  EXPECT_EQ(pixels()[7], B);
  // An opaque override ignores the source's alphas.
  g->drawRegion(source, 1, 0, 1, 1, 0x100, 3, 1, 0);
  EXPECT_EQ(pixels()[7], 0xFFF8FCF8);
}

}  // namespace
