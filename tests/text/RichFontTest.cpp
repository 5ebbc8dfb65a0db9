// The rich font over the eight-glyph fixture font (preparation, lookup,
// widths, ink boxes under each anchor, tight heights, pixels against the
// sheet, alpha) and over the platform's fonts (placement against
// Graphics.drawChars, font and colour handling), and the canvas's font.

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "ContentFixtures.h"
#include "JavaTestSupport.h"
#include "PlainCanvas.h"
#include "TextFixtures.h"
#include "VMTestEnv.h"
#include "tq_util_text_RichFont.h"

using java_test::jstr;
using javax::microedition::lcdui::Font;
using javax::microedition::lcdui::Graphics;
using tq::util::text::RichFont;
using namespace text_fixtures;

namespace {

constexpr int32_t kTopLeft = 20;

VMPtr<RichFont> newFont() {
  VMPtr<RichFont> f = RichFont::_VM_new();
  return f->_VM_init();
}

VMPtr<RichFont> copyOf(const VMPtr<RichFont>& other) {
  VMPtr<RichFont> f = RichFont::_VM_new();
  return f->_VM_init(other);
}

class GlyphFont : public ::testing::Test {
 protected:
  pack_fixtures::ProgramFolder folder;
  VMContext* vm = VMTestEnv::start();
  content::GlyphFont description = content::fixtures::eightGlyphFont().font;
  VMPtr<Gobs> set = loadGlyphs(folder, description);
  VMPtr<RichFont> font = withGlyphs(set);

  static VMPtr<RichFont> withGlyphs(const VMPtr<Gobs>& glyphs) {
    VMPtr<RichFont> f = newFont();
    f->setGlyphs(glyphs);
    return f;
  }
  std::array<int32_t, 4> bounds(const char16_t* s, int32_t x, int32_t y, int32_t anchor) {
    VMPtr<VMArray<int32_t>> box = VMArray<int32_t>::create(4);
    font->getStringBounds(jstr(s), x, y, box, anchor);
    return {box->at(0), box->at(1), box->at(2), box->at(3)};
  }
};

TEST_F(GlyphFont, PreparesASharedSetOnceAndFindsEveryGlyph) {
  VMPtr<RichFont> second = withGlyphs(set);  // finds the set prepared
  for (const VMPtr<RichFont>& f : {font, second, copyOf(font)}) {
    EXPECT_EQ(f->getGlyphs().get(), set.get());
    for (int32_t i = 0; i < set->length; ++i) {
      EXPECT_EQ(f->getGlyph(description.glyphs[i].code).get(), set->get(i).get()) << i;
    }
    EXPECT_FALSE(f->getGlyph(u'z'));
    EXPECT_FALSE(f->getGlyph(u'\uFFFF'));
  }
  EXPECT_EQ(set->get(3)->boxHeight, 0);
  EXPECT_EQ(set->get(3)->x, 1);  // 'A': the ink offset moved into place
  EXPECT_EQ(set->get(3)->y, 1);
  EXPECT_EQ(font->getHeight(), 8);
  EXPECT_EQ(font->getBaselinePosition(), 6);
  EXPECT_EQ(font->getLineHeight(), 8);
  EXPECT_EQ(font->getExtraSpacing(), 1);
  EXPECT_FALSE(font->alignsByAdvance());
  EXPECT_EQ(font->getCharAscent(u'A'), 5);
  EXPECT_EQ(font->getCharDescent(u'A'), 1);
  font->addGlyph(u'z', set->get(4));
  EXPECT_EQ(font->getGlyph(u'z').get(), set->get(4).get());
}

TEST_F(GlyphFont, WidthsSumAdvancesWithTheMissingGlyphAdvance) {
  const std::pair<const char16_t*, int32_t> cases[] = {{u"", 0}, {u"A", 5}, {u" ", 3}, {u"AzA", 13}, {u"\u20AC0", 10}};
  for (const auto& [s, width] : cases) EXPECT_EQ(font->stringWidth(jstr(s)), width) << java_test::show(s);
  EXPECT_EQ(font->charWidth(u'z'), 3);
  EXPECT_EQ(font->substringWidth(jstr(u"xAAx"), 1, 2), 10);
}

TEST_F(GlyphFont, InkBoxesFollowTheAnchor) {
  struct Case {
    int32_t anchor;
    std::array<int32_t, 4> box;
  };
  // "A0" at (10, 20): ink from x 11 (A's offset 1), 10 wide, from y 21, 6 high.
  const Case cases[] = {
      {kTopLeft, {11, 21, 10, 6}},    {Graphics::BASELINE | Graphics::HCENTER, {6, 15, 10, 6}},
      {Graphics::RIGHT, {1, 21, 10, 6}}, {Graphics::BOTTOM | Graphics::RIGHT, {1, 13, 10, 6}},
      {Graphics::VCENTER | Graphics::HCENTER, {6, 21, 10, 6}},
  };
  for (const Case& c : cases) EXPECT_EQ(bounds(u"A0", 10, 20, c.anchor), c.box) << c.anchor;
  EXPECT_EQ(bounds(u"zz", 0, 0, kTopLeft), (std::array<int32_t, 4>{0, 0, 0, 0}));
}

TEST_F(GlyphFont, ANegativeBearingWidensTheBox) {
  description.glyphs[4].xOffset = -2;  // 'a'
  font = withGlyphs(loadGlyphs(folder, description, 10));
  EXPECT_EQ(bounds(u"a", 10, 20, kTopLeft), (std::array<int32_t, 4>{8, 21, 4, 6}));
  EXPECT_EQ(bounds(u"a", 10, 20, Graphics::RIGHT), (std::array<int32_t, 4>{4, 21, 4, 6}));
}

TEST_F(GlyphFont, TheTightHeightLastsOneCall) {
  EXPECT_EQ(font->stringHeight(jstr(u"A")), 7);
  font->setTightHeightOnce(1);
  EXPECT_EQ(font->stringHeight(jstr(u"A")), 6);
  EXPECT_EQ(font->stringHeight(jstr(u"A")), 7);
  EXPECT_EQ(font->charHeight(u'z'), 0);
}

TEST_F(GlyphFont, DrawsEachGlyphAtItsPenPosition) {
  struct Placed {
    int32_t glyph, x, y;
  };
  struct Case {
    const char16_t* text;
    int32_t x, y, anchor;
    std::vector<Placed> glyphs;
  };
  // A is glyph 3, 0 glyph 1, both with ink offset (1, 1); z has no glyph.
  const Case cases[] = {
      {u"AzA0", 2, 3, kTopLeft, {{3, 3, 4}, {3, 11, 4}, {1, 16, 4}}},
      {u"A0", 30, 3, Graphics::RIGHT, {{3, 21, 4}, {1, 26, 4}}},
      {u"A0", 20, 10, Graphics::BASELINE | Graphics::HCENTER, {{3, 16, 5}, {1, 21, 5}}},
  };
  VMPtr<Image> sheet = sheetImage();
  for (const Case& c : cases) {
    VMPtr<Image> drawn = blankImage(40, 16);
    font->drawString(drawn->getGraphics(), jstr(c.text), c.x, c.y, c.anchor);
    VMPtr<Image> expected = blankImage(40, 16);
    VMPtr<Graphics> g = expected->getGraphics();
    for (const Placed& p : c.glyphs) g->drawRegion(sheet, p.glyph * 4, 0, 4, 6, 0, p.x, p.y, kTopLeft);
    EXPECT_EQ(pixels(drawn), pixels(expected)) << java_test::show(c.text) << " anchor " << c.anchor;
  }
  VMPtr<Image> number = blankImage(40, 16);
  font->drawNumber(number->getGraphics(), 10, 3, 2, 3, kTopLeft);
  VMPtr<Image> text = blankImage(40, 16);
  font->drawString(text->getGraphics(), jstr(u"010"), 2, 3, kTopLeft);
  EXPECT_EQ(pixels(number), pixels(text));
}

TEST_F(GlyphFont, AlphaConvertsTheSharedSetOnce) {
  VMPtr<RichFont> second = withGlyphs(set);
  VMPtr<Image> opaque = blankImage(20, 10);
  font->drawString(opaque->getGraphics(), jstr(u"A"), 0, 0, kTopLeft);
  font->setAlpha(255);  // already what glyph 0 reports
  EXPECT_EQ(set->get(1)->isAlphaImage(), 0);
  font->setAlpha(128);
  EXPECT_EQ(second->getAlpha(), 128);
  for (int32_t i = 0; i < set->length; ++i) {
    EXPECT_EQ(set->get(i)->isAlphaImage(), 1) << i;
    EXPECT_EQ(second->getGlyph(description.glyphs[i].code).get(), set->get(i).get()) << i;
  }
  EXPECT_NE(pixels(opaque), pixels(blankImage(20, 10)));
  VMPtr<Image> faded = blankImage(20, 10);
  second->drawString(faded->getGraphics(), jstr(u"A"), 0, 0, kTopLeft);
  EXPECT_NE(pixels(faded), pixels(opaque));
}

class SystemFont : public ::testing::Test {
 protected:
  VMContext* vm = VMTestEnv::start();
  VMPtr<RichFont> font = newFont();
};

TEST_F(SystemFont, DrawsWhereGraphicsDrawsTheSameFont) {
  VMPtr<java::lang::String> s = jstr(u"Hello 42");
  VMPtr<VMArray<char16_t>> chars = VMArray<char16_t>::create(s->length());
  s->getChars(0, s->length(), chars, 0);
  VMPtr<Font> f = font->font;
  const int32_t w = f->charsWidth(chars, 0, chars->length);
  EXPECT_EQ(font->stringWidth(s), w);
  EXPECT_EQ(font->getHeight(), f->getHeight());
  struct Case {
    int32_t anchor, x, y;
  };
  const Case cases[] = {{kTopLeft, 5, 4}, {Graphics::BASELINE | Graphics::HCENTER, 50 - w / 2, 30 - f->getBaselinePosition()},
                        {Graphics::BOTTOM | Graphics::RIGHT, 50 - w, 30 - f->getHeight()}};
  for (const Case& c : cases) {
    VMPtr<Image> drawn = blankImage(100, 40);
    VMPtr<Graphics> g = drawn->getGraphics();
    g->setColor(0);
    font->drawString(g, s, c.anchor == kTopLeft ? 5 : 50, c.anchor == kTopLeft ? 4 : 30, c.anchor);
    EXPECT_EQ(g->getFont().get(), f.get());  // set and left set
    VMPtr<Image> expected = blankImage(100, 40);
    VMPtr<Graphics> e = expected->getGraphics();
    e->setColor(0);
    e->setFont(f);
    e->drawChars(chars, 0, chars->length, c.x, c.y, kTopLeft);
    EXPECT_EQ(pixels(drawn), pixels(expected)) << c.anchor;
  }
}

TEST_F(SystemFont, KeepsItsFontAndSwapsColoursOnlyForDrawing) {
  VMPtr<Font> medium = font->font;
  font->setSystemFont(1);
  EXPECT_EQ(font->font.get(), medium.get());
  font->setGlyphs(fixedAdvanceGlyphs());
  EXPECT_TRUE(font->hasGlyphs());
  font->setSystemFont(1);  // the same index still leaves glyph mode
  EXPECT_FALSE(font->hasGlyphs());
  font->setSystemFont(4);
  EXPECT_EQ(font->font.get(), Font::getFont(0, 1, 0).get());
  font->setColor(0x7F00FF00);
  EXPECT_EQ(font->color, 0x00FF00);
  VMPtr<RichFont> copy = copyOf(font);
  EXPECT_EQ(copy->getSystemFontIndex(), 4);
  EXPECT_EQ(copy->color, 0x00FF00);
  VMPtr<Image> image = blankImage(60, 30);
  VMPtr<Graphics> g = image->getGraphics();
  g->setColor(0x0000FF);
  copy->drawString(g, jstr(u"HH"), 2, 2, kTopLeft);
  EXPECT_EQ(g->getColor(), 0x0000FF);  // restored
  bool green = false;
  for (int32_t p : pixels(image)) green = green || (p & 0xFFFFFF) == 0x00FC00 || (p & 0xFFFFFF) == 0x00FF00;
  EXPECT_TRUE(green);
  EXPECT_EQ(font->getAlpha(), 255);
  font->setAlpha(10);  // nothing in system mode
  EXPECT_EQ(font->getAlpha(), 255);
}

TEST(CanvasFont, IsMadeOnceAndForwardsTightHeights) {
  pack_fixtures::ProgramFolder folder;
  VMTestEnv::start();
  VMPtr<test_support::PlainCanvas> canvas = test_support::PlainCanvas::make();
  VMPtr<RichFont> first = canvas->getRichFont();
  EXPECT_EQ(canvas->getRichFont().get(), first.get());
  EXPECT_EQ(canvas->getSystemFontIndex(), 1);
  canvas->setFontGlyphs(loadGlyphs(folder, content::fixtures::eightGlyphFont().font));
  EXPECT_EQ(canvas->getFontHeight(), 8);
  EXPECT_EQ(canvas->getFontBaseline(), 6);
  EXPECT_EQ(canvas->stringTightHeight(jstr(u"A")), 6);
  EXPECT_EQ(canvas->charTightHeight(u'A'), 6);
  EXPECT_EQ(first->stringHeight(jstr(u"A")), 7);
  EXPECT_EQ(canvas->stringWidth(jstr(u"AzA")), 13);
  EXPECT_EQ(canvas->getGlyph(u'A').get(), first->getGlyph(u'A').get());
  canvas = nullptr;
  test_support::PlainCanvas::stop();
}

}  // namespace
