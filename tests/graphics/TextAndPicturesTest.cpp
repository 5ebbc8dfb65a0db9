// Pictures drawn through Graphics: text placed by its anchor with a box
// font of known glyphs, clipped and blended like an opaque image, and the
// engine's mutable-image factory.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <set>
#include <utility>
#include <vector>

#include "CeFont.h"
#include "HALFont.h"
#include "JavaTestSupport.h"
#include "RasterRect.h"
#include "RasterSurface.h"
#include "VMTestEnv.h"
#include "javax_microedition_lcdui_Graphics.h"
#include "javax_microedition_lcdui_Image.h"

namespace {

using java_test::jstr;
using javax::microedition::lcdui::Font;
using javax::microedition::lcdui::Graphics;
using javax::microedition::lcdui::Image;

// Every character is a 3 x 5 box in a 4 x 6 cell, the baseline 5 rows down.
constexpr int32_t kAdvance = 4, kHeight = 6, kAscent = 5;

class TextAndPicturesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    VMTestEnv::start();
    boxes_ = CeFont::createBoxes(kAdvance, kHeight, kAscent);
    record_ = HALFont{boxes_.get(), kHeight, kAscent};
  }

  // A Font over the box font.
  VMPtr<Font> boxFont() {
    VMPtr<Font> f = Font::_VM_new();
    f->Object::_VM_init();
    f->height = kHeight;
    f->baseline = kAscent;
    f->native = &record_;
    return f;
  }

  std::unique_ptr<CeFont> boxes_;
  HALFont record_{};
};

using Picture = std::vector<uint32_t>;

Picture pictureOf(const VMPtr<Image>& image) {
  VMPtr<VMArray<int32_t>> out = VMArray<int32_t>::create(image->getWidth() * image->getHeight());
  image->getRGB(out, 0, image->getWidth(), 0, 0, image->getWidth(), image->getHeight());
  return Picture(out->elements(), out->elements() + out->length);
}

// A white picture with black where the boxes of `count` characters stand
// when the text's top-left corner is at (x, y), inside `clip`.
Picture expectedText(int32_t width, int32_t height, int32_t count, int32_t x, int32_t y,
                     RasterRect clip = {0, 0, 1000, 1000}) {
  Picture p(size_t(width) * height, 0xFFF8FCF8);
  for (int32_t c = 0; c < count; ++c) {
    for (int32_t row = 0; row < kAscent; ++row) {
      for (int32_t column = 0; column < kAdvance - 1; ++column) {
        const int32_t px = x + c * kAdvance + column, py = y + row;
        if (px >= 0 && py >= 0 && px < width && py < height && clip.contains(px, py)) {
          p[size_t(py) * width + px] = 0xFF000000;
        }
      }
    }
  }
  return p;
}

TEST_F(TextAndPicturesTest, TextIsPlacedByItsAnchor) {
  struct Case {
    int32_t anchor;
    int32_t x, y;  // where the top-left corner of "ab" (8 x 6) lands for (12, 10)
  };
  const int32_t T = Graphics::TOP, L = Graphics::LEFT, R = Graphics::RIGHT, H = Graphics::HCENTER,
                B = Graphics::BOTTOM, BL = Graphics::BASELINE;
  for (const Case& c : std::vector<Case>{{0, 12, 10},
                                         {T | L, 12, 10},
                                         {T | R, 4, 10},
                                         {T | H, 8, 10},
                                         {BL | L, 12, 5},
                                         {B | R, 4, 4},
                                         {BL | H, 8, 5}}) {
    SCOPED_TRACE(c.anchor);
    VMPtr<Image> image = Image::createImage(30, 20);
    VMPtr<Graphics> g = image->getGraphics();
    g->setFont(boxFont());
    g->drawString(jstr(u"ab"), 12, 10, c.anchor);
    EXPECT_EQ(pictureOf(image), expectedText(30, 20, 2, c.x, c.y));
  }
  // The other text forms place the same way, and the translation is added.
  VMPtr<Image> image = Image::createImage(30, 20);
  VMPtr<Graphics> g = image->getGraphics();
  g->setFont(boxFont());
  g->translate(-3, 2);
  g->drawSubstring(jstr(u"xaby"), 1, 2, 15, 8, T | L);
  EXPECT_EQ(pictureOf(image), expectedText(30, 20, 2, 12, 10));
  VMPtr<VMArray<char16_t>> chars = VMArray<char16_t>::create(3);
  VMPtr<Image> other = Image::createImage(30, 20);
  VMPtr<Graphics> h = other->getGraphics();
  h->setFont(boxFont());
  h->drawChars(chars, 0, 3, 24, 10, T | R);
  h->drawChar(u'q', 0, 0, 0);
  Picture expected = expectedText(30, 20, 3, 12, 10);
  const Picture corner = expectedText(30, 20, 1, 0, 0);
  for (size_t i = 0; i < expected.size(); ++i) expected[i] = std::min(expected[i], corner[i]);
  EXPECT_EQ(pictureOf(other), expected);
}

TEST_F(TextAndPicturesTest, TextIsClippedAndBlendsLikeAnOpaqueImage) {
  VMPtr<Image> image = Image::createImage(20, 10);
  VMPtr<Graphics> g = image->getGraphics();
  g->setFont(boxFont());
  g->setClip(3, 2, 6, 2);
  g->drawString(jstr(u"abc"), 1, 1, 0);
  EXPECT_EQ(pictureOf(image), expectedText(20, 10, 3, 1, 1, RasterRect{3, 2, 6, 2}));
  g->setClip(0, 0, 0, 0);
  g->drawString(jstr(u"abc"), 0, 0, 0);
  EXPECT_EQ(pictureOf(image), expectedText(20, 10, 3, 1, 1, RasterRect{3, 2, 6, 2}));

  // With alpha 128 the text's box blends over what was there: the strokes
  // look exactly like a fill of the same colour and alpha, the rest of the
  // box stays as it was.
  VMPtr<Image> text = Image::createImage(20, 10);
  VMPtr<Image> filled = Image::createImage(20, 10);
  VMPtr<Graphics> t = text->getGraphics();
  VMPtr<Graphics> f = filled->getGraphics();
  t->setFont(boxFont());
  for (const VMPtr<Graphics>& each : {t, f}) {
    each->setColor(0x00FF00);
    each->fillRect(0, 0, 20, 5);
    each->setARGBColor(0x800000FF);
  }
  t->drawString(jstr(u"ab"), 2, 2, 0);
  f->fillRect(2, 2, 3, 5);
  f->fillRect(6, 2, 3, 5);
  EXPECT_EQ(pictureOf(text), pictureOf(filled));
  // Nothing at all below alpha 8.
  t->setAlpha(7);
  t->drawString(jstr(u"ab"), 12, 0, 0);
  EXPECT_EQ(pictureOf(text), pictureOf(filled));
}

TEST_F(TextAndPicturesTest, TextFarWiderThanAnySurfaceDrawsItsVisiblePart) {
  VMPtr<Image> image = Image::createImage(30, 20);
  VMPtr<Graphics> g = image->getGraphics();
  g->setFont(boxFont());
  const std::u16string line(10000, u'w');  // 40000 pixels wide
  g->drawString(jstr(line), 30, 3, Graphics::TOP | Graphics::RIGHT);
  Picture expected = expectedText(30, 20, 8, -2, 3);
  EXPECT_EQ(pictureOf(image), expected);
}

TEST_F(TextAndPicturesTest, SystemFontTextInkStaysInsideItsMeasuredBox) {
  VMPtr<Image> image = Image::createImage(120, 40);
  VMPtr<Graphics> g = image->getGraphics();
  VMPtr<Font> font = Font::getDefaultFont();
  VMPtr<java::lang::String> s = jstr(u"Hello, world");
  g->drawString(s, 60, 30, Graphics::BASELINE | Graphics::HCENTER);
  const int32_t width = font->stringWidth(s);
  const int32_t left = 60 - width / 2, top = 30 - font->getBaselinePosition();
  const Picture p = pictureOf(image);
  int32_t inked = 0;
  for (int32_t y = 0; y < 40; ++y) {
    for (int32_t x = 0; x < 120; ++x) {
      if (p[size_t(y) * 120 + x] == 0xFFF8FCF8) continue;
      ++inked;
      EXPECT_TRUE(x >= left && x < left + width && y >= top && y < top + font->getHeight()) << x << "," << y;
    }
  }
  EXPECT_GT(inked, 20);
}

TEST_F(TextAndPicturesTest, TheEngineFactoryFillsOpaqueImagesWithTheColourAtFullAlpha) {
  for (int32_t colour : {0, 0x123456, int32_t(0x00FFFFFF), int32_t(0x80FF0000)}) {
    VMPtr<Image> image = Image::createMutableImage(3, 2, 0, colour);
    EXPECT_TRUE(image->isMutable());
    EXPECT_FALSE(image->hasAlpha());
    EXPECT_EQ(pictureOf(image),
              Picture(6, 0xFF000000 | rasterUnpack565(rasterPack565(static_cast<uint32_t>(colour)))));
  }
  VMPtr<Image> clear = Image::createMutableImage(2, 1, 1, 0xFFFFFF);
  EXPECT_EQ(pictureOf(clear), Picture(2, 0));
}

// On a transparent image text draws only its glyphs, over what is there:
// the rest of its box stays clear.
TEST_F(TextAndPicturesTest, TextOnATransparentImageInksOnlyItsGlyphs) {
  VMPtr<Image> clear = Image::createMutableImage(20, 10, 1, 0);
  VMPtr<Graphics> g = clear->getGraphics();
  g->setFont(boxFont());
  g->setColor(0xFF0000);
  g->setClip(0, 0, 7, 10);
  g->drawString(jstr(u"ab"), 0, 1, 0);
  g->setClip(0, 0, 20, 10);
  g->setAlpha(128);
  g->drawString(jstr(u"c"), 12, 2, 0);
  g->setAlpha(7);
  g->drawString(jstr(u"d"), 16, 2, 0);
  Picture expected(200, 0);
  for (int32_t y = 0; y < 10; ++y) {
    for (int32_t x = 0; x < 20; ++x) {
      const bool ab = y >= 1 && y < 1 + kAscent && x < 7 && x % kAdvance != kAdvance - 1;
      const bool c = y >= 2 && y < 2 + kAscent && x >= 12 && x < 15;
      if (ab) expected[size_t(y) * 20 + x] = 0xFFF80000;
      // The global alpha scales the glyphs' coverage as it scales an
      // image's alphas: ((255 + 1) * (128 + 1)) >> 8 = 129.
      if (c) expected[size_t(y) * 20 + x] = 0x81F80000;
    }
  }
  const Picture inked = pictureOf(clear);
  for (size_t i = 0; i < inked.size(); ++i) EXPECT_EQ(inked[i], expected[i]) << i % 20 << "," << i / 20;

  // The system font's anti-aliased edges get partial alphas: the layer over
  // white looks like the text drawn straight onto white, within two levels
  // of each channel (the edges' coverage is read back through 6 bits of
  // green and weighs in 5 bits, and the blend truncates where the font
  // rounds).
  VMPtr<Image> layer = Image::createMutableImage(120, 40, 1, 0);
  VMPtr<Image> direct = Image::createImage(120, 40);
  VMPtr<Image> composed = Image::createImage(120, 40);
  VMPtr<java::lang::String> s = jstr(u"Hello, world");
  for (const VMPtr<Image>& target : {layer, direct}) {
    VMPtr<Graphics> t = target->getGraphics();
    t->setColor(0x2040C0);
    t->drawString(s, 4, 30, Graphics::BASELINE | Graphics::LEFT);
  }
  composed->getGraphics()->drawImage(layer, 0, 0, 0);
  const Picture want = pictureOf(direct), got = pictureOf(composed), alphas = pictureOf(layer);
  int32_t partial = 0, solid = 0;
  for (size_t i = 0; i < want.size(); ++i) {
    const uint32_t a = alphas[i] >> 24;
    partial += a > 0 && a < 255;
    solid += a == 255;
    for (int shift : {0, 8, 16}) {
      const int difference = int((want[i] >> shift) & 0xFF) - int((got[i] >> shift) & 0xFF);
      EXPECT_LE(std::abs(difference), 16) << i % 120 << "," << i / 120 << " shift " << shift;
    }
  }
  EXPECT_GT(solid, 20);
  EXPECT_GT(partial, 0);
}

// Gradients, lines and solid images make the pixels of a transparent image
// they cover opaque, in the colours an opaque image gets.
TEST_F(TextAndPicturesTest, SolidDrawingOnATransparentImageMakesItOpaque) {
  VMPtr<Image> clear = Image::createMutableImage(16, 8, 1, 0);
  VMPtr<Image> opaque = Image::createImage(16, 8);
  VMPtr<VMArray<int32_t>> red = VMArray<int32_t>::create(4);
  for (int i = 0; i < 4; ++i) red->elements()[i] = int32_t(0xFFFF0000);
  VMPtr<Image> square = Image::createRGBImage(red, 2, 2, 0);
  for (const VMPtr<Image>& target : {clear, opaque}) {
    VMPtr<Graphics> g = target->getGraphics();
    g->fillGradientRect(1, 1, 10, 3, 0x102030, 0xF0C080, 1);
    g->drawLine(0, 6, 15, 6);
    g->drawRegion(square, 0, 0, 2, 2, 5, 13, 0, 0);
  }
  const Picture a = pictureOf(clear), b = pictureOf(opaque);
  for (int32_t y = 0; y < 8; ++y) {
    for (int32_t x = 0; x < 16; ++x) {
      const bool drawn = (x >= 1 && x < 11 && y >= 1 && y < 4) || y == 6 || (x >= 13 && x < 15 && y < 2);
      EXPECT_EQ(a[size_t(y) * 16 + x], drawn ? b[size_t(y) * 16 + x] : 0u) << x << "," << y;
    }
  }
}

TEST_F(TextAndPicturesTest, ShapesAndImagesGoThroughTheTranslation) {
  VMPtr<Image> image = Image::createImage(20, 20);
  VMPtr<Graphics> g = image->getGraphics();
  g->translate(10, 10);
  g->drawLine(0, 0, 5, 0);
  Picture p = pictureOf(image);
  for (int32_t x = 0; x < 20; ++x) EXPECT_EQ(p[10 * 20 + x], x >= 10 && x <= 15 ? 0xFF000000 : 0xFFF8FCF8) << x;
  VMPtr<VMArray<int32_t>> red = VMArray<int32_t>::create(4);
  for (int i = 0; i < 4; ++i) red->elements()[i] = int32_t(0xFFFF0000);
  VMPtr<Image> square = Image::createRGBImage(red, 2, 2, 0);
  g->drawImage(square, 0, 0, Graphics::BOTTOM | Graphics::RIGHT);
  p = pictureOf(image);
  EXPECT_EQ(p[8 * 20 + 8], 0xFFF80000u);
  EXPECT_EQ(p[9 * 20 + 9], 0xFFF80000u);
  EXPECT_EQ(p[7 * 20 + 7], 0xFFF8FCF8u);

  // A masked image keeps its transparent pixels out, unless the region is
  // drawn with the opaque override, which shows the key colour itself.
  VMPtr<VMArray<int32_t>> holed = VMArray<int32_t>::create(2);
  holed->elements()[0] = int32_t(0xFF0000FF);
  VMPtr<Image> masked = Image::createRGBImage(holed, 2, 1, 1);
  g->drawImage(masked, -10, -10, 0);
  g->drawRegion(masked, 0, 0, 2, 1, 0x100, -10, -9, 0);
  p = pictureOf(image);
  EXPECT_EQ((std::vector<uint32_t>{p[0], p[1], p[20], p[21]}),
            (std::vector<uint32_t>{0xFF0000F8, 0xFFF8FCF8, 0xFF0000F8, 0xFFF800F8}));
}

}  // namespace
