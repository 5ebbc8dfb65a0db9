// Text tables written by the text-table writers and read by the engine:
// translation tables through Resources (raw and decoded all at once, with
// 16-bit offsets up to a resource of 65535 bytes and 32-bit ones from
// 65536), and the canvas's text table; each at the edges of its format:
// the UTF-8 forms of one, two and three bytes at their boundaries, the
// longest record, the largest counts, the largest text total.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ContentFixtures.h"
#include "JavaTestSupport.h"
#include "PlainCanvas.h"
#include "RoundTrip.h"
#include "TextTableWriter.h"
#include "VMCollector.h"
#include "VMTestEnv.h"
#include "tq_Resources.h"
#include "tq_util_text_Translation.h"

using contentrt::caseName;
using Texts = std::vector<std::u16string>;

namespace {

// Characters at the edges of each UTF-8 form, U+0000 included.
const std::u16string kEdges = std::u16string(u"\u0000\u007F\u0080\u07FF\u0800\uD7FF\uE000\uFFFD\uFFFF", 9);

// `units` copies of `c`.
std::u16string times(size_t units, char16_t c) { return std::u16string(units, c); }

// Texts whose translation table is `size` bytes long: two long texts of
// three-byte characters and a third of single bytes.
Texts tableOfSize(size_t size) {
  const size_t textBytes = size - 2 * (3 + 1);
  const size_t first = 32767;  // the longest record: 10922 three-byte characters and one byte
  const size_t second = 32760;
  Texts texts = {times(10922, u'\u20AC') + u"a", times(second / 3, u'\u0800'), times(textBytes - first - second, u'z')};
  return texts;
}

struct Case {
  std::string what;
  Texts texts;
};

std::vector<Case> translationCases() {
  return {
      {"the 16-bit offsets fixture", content::fixtures::translationTable16().texts},
      {"the 32-bit offsets fixture", content::fixtures::translationTable32().texts},
      {"a resource of 65535 bytes", tableOfSize(65535)},
      {"a resource of 65536 bytes", tableOfSize(65536)},
      {"characters at the UTF-8 edges", {kEdges, u"", kEdges + kEdges}},
      {"no texts", {}},
  };
}

// `n` texts, empty but for one in every `every`, which holds its number.
Texts numbered(size_t n, size_t every) {
  Texts texts(n);
  for (size_t i = 0; i < n; i += every) texts[i] = u"#" + java_test::u16(std::to_string(i));
  return texts;
}

void expectTexts(const Texts& read, const Texts& written, const std::string& what) {
  ASSERT_EQ(read.size(), written.size()) << what;
  for (size_t i = 0; i < written.size(); ++i) {
    EXPECT_EQ(read[i], written[i]) << what << ", " << caseName("text", i) << ": " << java_test::show(read[i]);
  }
}

// Through Resources: every text raw, then decoded all at once.
void expectTranslation(const Case& c) {
  const content::Bytes bytes = content::writeTranslationTable(c.texts);
  contentrt::loadPack({{0, bytes}});
  VMPtr<tq::util::text::Translation> t = tq::Resources::getTranslation(0);
  ASSERT_EQ(t->count, static_cast<int32_t>(c.texts.size())) << c.what;
  EXPECT_EQ(static_cast<bool>(t->offsets32), bytes.size() > 0xFFFF) << c.what;
  EXPECT_EQ(static_cast<bool>(t->offsets16), bytes.size() <= 0xFFFF) << c.what;
  Texts raw;
  for (int32_t id = 0; id < t->count; ++id) raw.push_back(java_test::text(t->getString(id)));
  expectTexts(raw, c.texts, c.what + ", raw");
  t->decodeAll();
  Texts decoded;
  for (int32_t id = 0; id < t->count; ++id) decoded.push_back(java_test::text(t->getString(id)));
  expectTexts(decoded, c.texts, c.what + ", decoded");
}

void expectCanvasTable(const VMPtr<test_support::PlainCanvas>& canvas, const Case& c) {
  contentrt::loadPack({{0, content::writeCanvasTextTable(c.texts)}});
  canvas->loadTexts(0);
  VMPtr<VMArray<java::lang::String>> strings = canvas->textStrings;
  ASSERT_TRUE(strings) << c.what;
  Texts read;
  for (int32_t i = 0; i < strings->length; ++i) read.push_back(java_test::text(canvas->getText(i)));
  expectTexts(read, c.texts, c.what);
}

TEST(TextTableRoundTrip, TranslationTablesReadBackInBothOffsetWidths) {
  VMTestEnv::start();
  for (const Case& c : translationCases()) expectTranslation(c);
  EXPECT_EQ(content::writeTranslationTable(tableOfSize(65535)).size(), 65535u);
  EXPECT_EQ(content::writeTranslationTable(tableOfSize(65536)).size(), 65536u);
}

TEST(TextTableRoundTrip, CanvasTextTablesReadBack) {
  VMTestEnv::start();
  // 65535 text bytes in all: two longest records and one byte.
  const Texts fullest = {times(10922, u'\u20AC') + u"a", times(16383, u'\u00E9') + u"b", u"c"};
  const std::vector<Case> cases = {
      {"the fixture", content::fixtures::canvasTextTable().texts},
      {"characters at the UTF-8 edges", {kEdges, u"", kEdges + kEdges}},
      {"no texts", {}},
      {"65535 text bytes", fullest},
  };
  VMPtr<test_support::PlainCanvas> canvas = test_support::PlainCanvas::make();
  for (const Case& c : cases) expectCanvasTable(canvas, c);
  test_support::PlainCanvas::stop();
}

// The largest counts: 65535 translations (the count read unsigned) and
// 32767 canvas texts (read signed).
TEST(TextTableRoundTrip, TheLargestCountsReadBack) {
  if (_VM_gcStressMode()) GTEST_SKIP() << "a collection for each of tens of thousands of strings";
  VMTestEnv::start();
  expectTranslation({"65535 texts", numbered(65535, 4093)});
  VMPtr<test_support::PlainCanvas> canvas = test_support::PlainCanvas::make();
  expectCanvasTable(canvas, {"32767 texts", numbered(32767, 1000)});
  test_support::PlainCanvas::stop();
}

}  // namespace
