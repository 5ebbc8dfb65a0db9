// Wrapping as a table of (text, width in characters) -> lines, over a font
// whose every character is one pixel wide; texts too long for the line
// table; drawing that starts at the first visible line.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "JavaTestSupport.h"
#include "PlainCanvas.h"
#include "TextFixtures.h"
#include "VMTestEnv.h"
#include "java_lang_IllegalArgumentException.h"
#include "tq_util_text_StringHelper.h"
#include "tq_util_text_WrappedText.h"

using java_test::jstr;
using java_test::text;
using tq::util::text::RichFont;
using tq::util::text::WrappedText;

namespace test_text {

// A font that records the lines it is asked to draw.
class CountingFont : public RichFont {
  VM_CLASS(CountingFont, RichFont)

 public:
  void drawSubstring(VMPtr<Graphics> g, VMPtr<String> s, int32_t off, int32_t len, int32_t x, int32_t y,
                     int32_t anchor) override {
    calls.push_back({off, len, x, y});
  }
  std::vector<std::vector<int32_t>> calls;
};

}  // namespace test_text

VM_REGISTER_CLASS(test_text::CountingFont, "test_text.CountingFont", "tq.util.text.RichFont", 0);

namespace {

using test_text::CountingFont;

class Wrapping : public ::testing::Test {
 protected:
  VMContext* vm = VMTestEnv::start();
  VMPtr<test_support::PlainCanvas> canvas = test_support::PlainCanvas::make();
  VMPtr<WrappedText> wrapped = make();
  VMPtr<CountingFont> font = fixedFont();

  void TearDown() override {
    wrapped = nullptr;
    canvas = nullptr;
    test_support::PlainCanvas::stop();
  }
  VMPtr<WrappedText> make() {
    VMPtr<WrappedText> w = WrappedText::_VM_new();
    return w->_VM_init(canvas);
  }
  static VMPtr<CountingFont> fixedFont() {
    VMPtr<CountingFont> f = CountingFont::_VM_new();
    f->_VM_init();
    f->setGlyphs(text_fixtures::fixedAdvanceGlyphs());
    return f;
  }
  std::vector<std::u16string> wrap(const std::u16string& s, int32_t width) {
    wrapped->setText(font, jstr(s), width);
    std::vector<std::u16string> out;
    VMPtr<VMArray<java::lang::String>> lines = wrapped->getLines();
    for (int32_t i = 0; i < lines->length; ++i) out.push_back(text(lines->get(i)));
    return out;
  }
};

TEST_F(Wrapping, BreaksWhereTheRulesSay) {
  struct Case {
    std::u16string text;
    int32_t width;
    std::vector<std::u16string> lines;
  };
  const std::vector<Case> cases = {
      {u"one two", 6, {u"one", u"two"}},
      {u"well-known", 7, {u"well-", u"known"}},
      {u"cost -5", 6, {u"cost", u"-5"}},
      {u"mail@home", 6, {u"mail@", u"home"}},
      {u"a\r\nb", 10, {u"a", u"b"}},
      {u"a\n\nb", 10, {u"a", u"", u"b"}},
      {u"a\rb", 10, {u"a", u"b"}},
      {u"ab\n", 10, {u"ab"}},
      {u"abcdefgh", 3, {u"abc", u"def", u"gh"}},
      {u"ab cd", 2, {u"ab", u"cd"}},
      {u" ab", 5, {u"ab"}},
      {u"abc", 0, {u"a", u"b", u"c"}},  // every line takes one character
      {u"ab", -4, {u"a", u"b"}},
      {u"", 5, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(wrap(c.text, c.width), c.lines) << java_test::show(c.text) << " " << c.width;
  EXPECT_EQ(wrapped->getLineCount(), 0);
}

TEST_F(Wrapping, KeepsItsSettingsAndMeasures) {
  wrap(u"one two three", 5);
  EXPECT_EQ(wrapped->getLineCount(), 3);
  EXPECT_EQ(wrapped->getLineStart(1), 4);
  wrapped->setSpacing(2);
  EXPECT_EQ(wrapped->getLineHeight(), 12);
  EXPECT_EQ(wrapped->getHeight(), 36);
  EXPECT_EQ(wrapped->getWidth(), 5);
  VMPtr<VMArray<char16_t>> only = VMArray<char16_t>::create(1);
  only->at(0) = u'-';
  wrapped->setBreakChars(only);
  EXPECT_EQ(wrap(u"ab cd-ef", 6), (std::vector<std::u16string>{u"ab cd-", u"ef"}));
  wrapped->reset();
  EXPECT_EQ(wrapped->getBreakChars()->length, 3);
  EXPECT_FALSE(wrapped->getText());
  EXPECT_EQ(tq::util::text::StringHelper::lastIndexOf(jstr(u"a-b-c"), u'-', 0, 2), 1);
  EXPECT_EQ(tq::util::text::StringHelper::lastIndexOf(jstr(u"a-b-c"), u'-', 2, 1), -1);
}

TEST_F(Wrapping, RefusesTextsTheLineTableCannotHold) {
  EXPECT_EQ(wrap(std::u16string(32767, u'x'), 40000).size(), 1u);
  EXPECT_THROW(wrapped->setText(font, jstr(std::u16string(32768, u'x')), 40000),
               java::lang::IllegalArgumentException*);
  EXPECT_EQ(wrapped->getLineCount(), 1);  // the last wrap stays
}

TEST_F(Wrapping, DrawingStartsAtTheFirstVisibleLine) {
  std::u16string hundred;
  for (int i = 0; i < 100; ++i) hundred += u"ab\n";
  wrap(hundred, 10);
  VMPtr<javax::microedition::lcdui::Image> image = text_fixtures::blankImage(40, 40);
  VMPtr<javax::microedition::lcdui::Graphics> g = image->getGraphics();
  g->setClip(0, 0, 40, 25);
  wrapped->draw(g, 7, -500, javax::microedition::lcdui::Graphics::HCENTER);
  // Lines 50, 51 and 52 at y 0, 10 and 20; x moved by half the width.
  EXPECT_EQ(font->calls, (std::vector<std::vector<int32_t>>{{150, 2, 12, 0}, {153, 2, 12, 10}, {156, 2, 12, 20}}));
}

TEST_F(Wrapping, TheCanvasFontIsCopied) {
  VMPtr<RichFont> canvasFont = canvas->getRichFont();
  canvasFont->setSystemFont(3);
  EXPECT_GE(wrapped->setText(jstr(u"Hello there, a line of words"), 40), 2);
  canvasFont->setSystemFont(2);  // later changes stay away from the wrap
  EXPECT_EQ(VMPtr<RichFont>(wrapped->font)->getSystemFontIndex(), 3);
}

}  // namespace
