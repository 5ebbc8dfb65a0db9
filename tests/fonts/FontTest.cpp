#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CeFont.h"
#include "HALFont.h"
#include "JavaTestSupport.h"
#include "VMClassRegistry.h"
#include "VMTestEnv.h"
#include "java_lang_Class.h"
#include "java_lang_ArrayIndexOutOfBoundsException.h"
#include "java_lang_IllegalArgumentException.h"
#include "java_lang_NullPointerException.h"
#include "javax_microedition_lcdui_Font.h"

namespace {

using java_test::jstr;
using java_test::thrownMessage;
using javax::microedition::lcdui::Font;

class FontTest : public ::testing::Test {
 protected:
  void SetUp() override { VMTestEnv::start(); }
};

TEST_F(FontTest, RegisteredUnderItsJavaName) {
  java::lang::Class* c = _VM_findClass("javax.microedition.lcdui.Font");
  ASSERT_EQ(c, Font::_VM_class);
  EXPECT_STREQ(c->_VM_superName.c_str(), "java.lang.Object");
  EXPECT_EQ(c->_VM_instantiator, nullptr);
}

TEST_F(FontTest, CodesOutsideTheConstantsAreRefusedByName) {
  struct Case {
    int32_t face, style, size;
    const char* message;
  };
  for (const Case& c : std::vector<Case>{{16, 0, 0, "Unsupported face"},
                                         {-1, 0, 0, "Unsupported face"},
                                         {0, 8, 0, "Unsupported style"},
                                         {0, -1, 0, "Unsupported style"},
                                         {0, 0, 4, "Unsupported size"},
                                         {0, 0, 32, "Unsupported size"}}) {
    EXPECT_EQ(thrownMessage<java::lang::IllegalArgumentException>(
                  [&] { Font::getFont(c.face, c.style, c.size); }),
              c.message);
  }
}

TEST_F(FontTest, EqualArgumentsGiveTheSameFontAndEachStyleItsOwn) {
  VMPtr<Font> a = Font::getFont(Font::FACE_PROPORTIONAL, Font::STYLE_BOLD, Font::SIZE_LARGE);
  EXPECT_EQ(a.get(), Font::getFont(64, 1, 16).get());
  EXPECT_EQ(Font::getDefaultFont().get(), Font::getDefaultFont().get());
  EXPECT_EQ(a->getFace(), 64);
  EXPECT_EQ(a->getStyle(), 1);
  EXPECT_EQ(a->getSize(), 16);
  EXPECT_TRUE(a->isBold());
  EXPECT_FALSE(a->isPlain());

  // Bold and bold italic are different fonts, not one shared slot.
  VMPtr<Font> boldItalic = Font::getFont(0, Font::STYLE_BOLD | Font::STYLE_ITALIC, 0);
  VMPtr<Font> bold = Font::getFont(0, Font::STYLE_BOLD, 0);
  EXPECT_NE(boldItalic->nativeFont(), bold->nativeFont());
  EXPECT_TRUE(boldItalic->isItalic());
  VMPtr<Font> monoBoldItalic = Font::getFont(Font::FACE_MONOSPACE, Font::STYLE_BOLD | Font::STYLE_ITALIC, 0);
  VMPtr<Font> monoBold = Font::getFont(Font::FACE_MONOSPACE, Font::STYLE_BOLD, 0);
  EXPECT_NE(monoBoldItalic->nativeFont()->font->fileName(), monoBold->nativeFont()->font->fileName());
}

TEST_F(FontTest, SizesAreTheirPointSizesAtNinetySixDotsPerInch) {
  // 7, 9 and 12 points are 9, 12 and 16 pixels.
  struct Case {
    int32_t size, pixels;
  };
  for (const Case& c : std::vector<Case>{{Font::SIZE_SMALL, 9}, {Font::SIZE_MEDIUM, 12}, {Font::SIZE_LARGE, 16}}) {
    VMPtr<Font> f = Font::getFont(0, 0, c.size);
    EXPECT_NEAR(f->getHeight(), c.pixels, 2) << c.size;
    EXPECT_GT(f->getBaselinePosition(), 0);
    EXPECT_LT(f->getBaselinePosition(), f->getHeight());
  }
  VMPtr<Font> mono = Font::getFont(Font::FACE_MONOSPACE, 0, Font::SIZE_SMALL);
  EXPECT_NE(mono->nativeFont()->font->fileName().find("Mono"), std::string::npos);
  EXPECT_EQ(mono->stringWidth(jstr(u"iiii")), mono->stringWidth(jstr(u"MMMM")));
}

TEST_F(FontTest, WidthsOfCharactersRangesAndStringsAgree) {
  VMPtr<Font> f = Font::getDefaultFont();
  VMPtr<java::lang::String> s = jstr(u"Hello, world");
  const int32_t whole = f->stringWidth(s);
  EXPECT_GT(whole, 0);
  EXPECT_EQ(f->substringWidth(s, 0, 5) + f->substringWidth(s, 5, 7), whole);
  int32_t sum = 0;
  for (char16_t c : std::u16string(u"Hello, world")) sum += f->charWidth(c);
  EXPECT_EQ(sum, whole);
  VMPtr<VMArray<char16_t>> chars = VMArray<char16_t>::create(12);
  s->getChars(0, 12, chars, 0);
  EXPECT_EQ(f->charsWidth(chars, 7, 5), f->stringWidth(jstr(u"world")));
  EXPECT_EQ(f->substringWidth(s, 0, 0), 0);
  EXPECT_EQ(f->substringWidth(s, 12, 0), 0);
  EXPECT_EQ(f->stringWidth(jstr(u"")), 0);
}

TEST_F(FontTest, BadRangesAndNullsThrowAsJavaDoes) {
  VMPtr<Font> f = Font::getDefaultFont();
  VMPtr<java::lang::String> s = jstr(u"abc");
  VMPtr<VMArray<char16_t>> chars = VMArray<char16_t>::create(3);
  s->getChars(0, 3, chars, 0);
  struct Range {
    int32_t offset, length;
  };
  for (const Range r : {Range{-1, 1}, Range{0, 4}, Range{4, 0}, Range{2, 2}, Range{1, -1},
                        Range{1, 0x7FFFFFFF}}) {
    thrownMessage<java::lang::ArrayIndexOutOfBoundsException>([&] { f->substringWidth(s, r.offset, r.length); });
    thrownMessage<java::lang::ArrayIndexOutOfBoundsException>([&] { f->charsWidth(chars, r.offset, r.length); });
  }
  thrownMessage<java::lang::NullPointerException>([&] { f->stringWidth(nullptr); });
  thrownMessage<java::lang::NullPointerException>([&] { f->substringWidth(nullptr, 0, 0); });
  thrownMessage<java::lang::NullPointerException>([&] { f->charsWidth(nullptr, 0, 0); });
}

TEST(HALFontTest, CacheSurvivesAFreeAndRemakesItsFonts) {
  HALFont* first = nullptr;
  ASSERT_EQ(HAL_getFont(&first, 32, 4, 16), HAL_OK);
  EXPECT_EQ(HAL_getFont(nullptr, 0, 0, 0), HAL_ILLEGAL_ARGUMENT_ERR);
  EXPECT_EQ(HAL_getTextWidth(first, u"ab", 0), 0);
  EXPECT_EQ(HAL_getTextWidth(nullptr, u"ab", 2), 0);
  EXPECT_GT(HAL_getTextWidth(first, u"ab", 2), 0);
  HAL_freeFontCache();
  ASSERT_EQ(HAL_initFontCache(), HAL_OK);
  ASSERT_EQ(HAL_initFontCache(), HAL_OK);
  HALFont* again = nullptr;
  ASSERT_EQ(HAL_getFont(&again, 32, 4, 16), HAL_OK);
  EXPECT_GT(again->height, 0);
  HAL_freeFontCache();
}

}  // namespace
