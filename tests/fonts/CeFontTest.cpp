#include <gtest/gtest.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "CeFont.h"

namespace {

std::unique_ptr<CeFont> font(const std::u16string& face, int32_t height, bool italic = false,
                             bool underline = false) {
  return CeFont::create({face, height, italic, underline});
}

int32_t width(CeFont& f, const std::u16string& text) {
  return f.measure(text.data(), static_cast<int32_t>(text.size()));
}

// Where a picture's ink lies: the mean column of the inked pixels of the
// top and of the bottom half of a drawn "l".
std::pair<double, double> inkColumns(CeFont& f) {
  const int32_t w = 32, h = f.metrics().height;
  std::vector<uint16_t> pixels(size_t(w) * h, 0);
  f.draw(CeFont::Target{pixels.data(), w, h, w, false}, u"l", 1, 0xFFFFFF);
  double sum[2] = {0, 0}, count[2] = {0, 0};
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) {
      if (pixels[size_t(y) * w + x] == 0) continue;
      sum[y * 2 >= h] += x;
      count[y * 2 >= h] += 1;
    }
  }
  return {sum[0] / count[0], sum[1] / count[1]};
}

TEST(CeFontTest, PhoneFaceNamesSelectSansAndMonospaceFiles) {
  struct Case {
    std::u16string face;
    bool italic, mono, bold;
  };
  const std::vector<Case> cases = {
      {u"Tahoma", false, false, false},      {u"Tahoma Bold", false, false, true},
      {u"Courier New", false, true, false},  {u"Courier New Bold", true, true, true},
      {u"Tahoma", true, false, false},       {u"Anything Else", false, false, false},
      {u"Bold", false, false, false},
  };
  const auto holds = [](const std::string& file, const char* part) {
    return file.find(part) != std::string::npos;
  };
  for (const Case& c : cases) {
    auto f = font(c.face, 12, c.italic);
    ASSERT_NE(f, nullptr);
    const std::string& file = f->fileName();
    const bool wine = holds(file, "/wine/");
    EXPECT_EQ(holds(file, "Mono"), c.mono) << file;
    EXPECT_EQ(holds(file, "Bold") || holds(file, "tahomabd"), c.bold) << file;
    // Wine's Tahoma has no italic file: its italic is slanted when drawn.
    if (!wine) {
      EXPECT_EQ(holds(file, "Italic") || holds(file, "Oblique"), c.italic) << file;
    }
  }
}

TEST(CeFontTest, SansFaceIsTahomaWhereFontsWineIsInstalledAndItalicSlants) {
  if (access("/usr/share/wine/fonts/tahoma.ttf", R_OK) != 0) GTEST_SKIP() << "fonts-wine missing";
  auto upright = font(u"Tahoma", 40);
  auto italic = font(u"Tahoma", 40, true);
  EXPECT_EQ(upright->fileName(), "/usr/share/wine/fonts/tahoma.ttf");
  EXPECT_EQ(font(u"Tahoma Bold", 40)->fileName(), "/usr/share/wine/fonts/tahomabd.ttf");
  EXPECT_EQ(italic->fileName(), upright->fileName());
  const auto [uprightTop, uprightBottom] = inkColumns(*upright);
  const auto [italicTop, italicBottom] = inkColumns(*italic);
  EXPECT_NEAR(uprightTop, uprightBottom, 0.5);
  EXPECT_GT(italicTop - italicBottom, 2.0);  // leans to the right
  EXPECT_EQ(width(*italic, u"Hello"), width(*upright, u"Hello"));
}

TEST(CeFontTest, CellHeightIsWhatWasAskedAndMetricsAreConsistent) {
  for (const std::u16string face : {u"Tahoma", u"Tahoma Bold", u"Courier New"}) {
    for (int32_t height : {9, 12, 16, 40}) {
      auto f = font(face, height);
      ASSERT_NE(f, nullptr);
      const CeFont::Metrics& m = f->metrics();
      EXPECT_NEAR(m.height, height, 1) << height;
      EXPECT_GT(m.ascent, 0);
      EXPECT_LT(m.ascent, m.height);
      EXPECT_GE(m.externalLeading, 0);
    }
  }
  EXPECT_EQ(font(u"Tahoma", 0), nullptr);
  EXPECT_EQ(font(u"Tahoma", -12), nullptr);
}

TEST(CeFontTest, AdvancesAreWholePixelsWithoutKerning) {
  auto sans = font(u"Tahoma", 16);
  for (const std::u16string pair : {u"AV", u"To", u"Ty", u"LT", u"WA"}) {
    EXPECT_EQ(width(*sans, pair), width(*sans, pair.substr(0, 1)) + width(*sans, pair.substr(1)));
  }
  auto mono = font(u"Courier New", 16);
  const int32_t one = width(*mono, u"M");
  EXPECT_GT(one, 0);
  for (char16_t c = 0x21; c < 0x7F; ++c) EXPECT_EQ(width(*mono, std::u16string(1, c)), one) << char(c);
  EXPECT_EQ(width(*mono, u"iiiii"), 5 * one);
  EXPECT_GT(width(*font(u"Tahoma Bold", 16), u"Hello world"), width(*sans, u"Hello world"));
  EXPECT_EQ(width(*sans, u""), 0);
}

TEST(CeFontTest, LinesAreMeasuredApartAndTheWidestCounts) {
  auto f = font(u"Tahoma", 12);
  const int32_t longLine = width(*f, u"a longer line");
  for (const std::u16string text : {u"ab\na longer line", u"ab\r\na longer line", u"a longer line\rab"}) {
    EXPECT_EQ(width(*f, text), longLine);
  }
  // A lone surrogate is measured as the replacement character.
  EXPECT_EQ(width(*f, std::u16string(1, char16_t(0xD800))), width(*f, u"\uFFFD"));
}

struct Canvas {
  int32_t width, height;
  std::vector<uint16_t> pixels;
  Canvas(int32_t w, int32_t h, uint16_t fill) : width(w), height(h), pixels(size_t(w) * h, fill) {}
  CeFont::Target target(bool bottomUp = false) { return {pixels.data(), width, height, width, bottomUp}; }
  uint16_t at(int32_t x, int32_t y) const { return pixels[size_t(y) * width + x]; }
};

TEST(CeFontTest, TextIsDrawnInItsColourInsideItsCell) {
  auto f = font(u"Tahoma", 40);
  Canvas canvas(96, 60, 0xFFFF);
  const std::u16string text = u"IH";
  f->draw(canvas.target(), text.data(), 2, 0xFF0000);
  const int32_t w = width(*f, text);
  int32_t fullRed = 0;
  for (int32_t y = 0; y < canvas.height; ++y) {
    for (int32_t x = 0; x < canvas.width; ++x) {
      const uint16_t p = canvas.at(x, y);
      if (x >= w + 2 || y >= f->metrics().height) {
        EXPECT_EQ(p, 0xFFFF) << x << "," << y;
      }
      fullRed += p == 0xF800;
      // Blended edge pixels keep full red and lose green and blue.
      if (p != 0xFFFF) {
        EXPECT_EQ(p >> 11, 0x1F);
      }
    }
  }
  EXPECT_GT(fullRed, 50);
}

TEST(CeFontTest, BottomUpTargetsGetTheSamePictureUpsideDownInMemory) {
  auto f = font(u"Courier New", 12);
  Canvas down(30, 20, 0), up(30, 20, 0);
  f->draw(down.target(false), u"Fg", 2, 0xFFFFFF);
  f->draw(up.target(true), u"Fg", 2, 0xFFFFFF);
  for (int32_t y = 0; y < 20; ++y) {
    for (int32_t x = 0; x < 30; ++x) ASSERT_EQ(down.at(x, y), up.at(x, 19 - y));
  }
}

TEST(CeFontTest, UnderlineRunsUnderTheWholeText) {
  auto plain = font(u"Tahoma", 16);
  auto underlined = font(u"Tahoma", 16, false, true);
  Canvas a(80, 30, 0), b(80, 30, 0);
  plain->draw(a.target(), u"a b", 3, 0x00FF00);
  underlined->draw(b.target(), u"a b", 3, 0x00FF00);
  const int32_t w = width(*plain, u"a b");
  int32_t fullRows = 0;
  for (int32_t y = 0; y < 30; ++y) {
    bool full = true;
    for (int32_t x = 0; x < w; ++x) full = full && b.at(x, y) == 0x07E0;
    fullRows += full;
  }
  EXPECT_GE(fullRows, 1);
  EXPECT_NE(a.pixels, b.pixels);
}

TEST(CeFontTest, DrawingNeverLeavesATargetOfAnySize) {
  auto f = font(u"Tahoma Bold", 40, true, true);
  const std::u16string text = u"Wide text\nand more";
  for (int32_t size : {1, 2, 5, 17}) {
    Canvas canvas(size, size, 0x1234);
    f->draw(canvas.target(), text.data(), static_cast<int32_t>(text.size()), 0x123456);
    f->draw(canvas.target(true), text.data(), static_cast<int32_t>(text.size()), 0x123456);
  }
  f->draw({nullptr, 10, 10, 10, false}, text.data(), 3, 0);
}

}  // namespace
