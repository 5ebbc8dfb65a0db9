#include <gtest/gtest.h>

#include "TextTableWriter.h"
#include "TestBytes.h"

namespace content {
namespace {

TEST(TextTableWriter, CanvasTableOfTwoEntriesIsEightBytes) {
  EXPECT_EQ(writeCanvasTextTable({u"ab", u""}), hexBytes("0002 0002 6162 0000"));
}

TEST(TextTableWriter, EncodesOneToThreeByteCharacters) {
  EXPECT_EQ(encodeText(u"A\u00E9\u20AC", "t"), hexBytes("41 C3A9 E282AC"));
  EXPECT_EQ(encodeText(std::u16string{u'\0', u'\u007F', u'\u0080', u'\u07FF', u'\u0800', u'\uFFFF'}, "t"),
            hexBytes("00 7F C280 DFBF E0A080 EFBFBF"));
  EXPECT_EQ(writeTranslationTable({u"A\u00E9\u20AC", u""}), hexBytes("0002 0006 41C3A9E282AC 0000"));
}

TEST(TextTableWriter, TranslationTableReachesBothOffsetWidths) {
  // 2 + 2 per text + the bytes: 65535 bytes keep 16-bit offsets, 65536 take 32-bit ones.
  const std::u16string big(32767, u'x');
  std::vector<std::u16string> texts = {big, std::u16string(65535 - 2 - 4 - 32767, u'y')};
  EXPECT_EQ(writeTranslationTable(texts).size(), 65535u);
  texts[1] += u'y';
  EXPECT_EQ(writeTranslationTable(texts).size(), 65536u);
}

TEST(TextTableWriter, RefusesWhatTheReadersCannotHold) {
  expectRefusal([] { writeTranslationTable({u"ok", u"a\U0001F600"}); }, "text 1, character 1");
  expectRefusal([] { writeCanvasTextTable({std::u16string(1, static_cast<char16_t>(0xDC00))}); }, "text 0, character 0");
  expectRefusal([] { writeTranslationTable({u"", std::u16string(32768, u'x')}); }, "text 1");
  expectRefusal([] { writeTranslationTable({std::u16string(10923, u'\u20AC')}); }, "text 0");  // 32769 bytes
  expectRefusal([] { writeCanvasTextTable({std::u16string(32768, u'x')}); }, "text 0");
  expectRefusal([] { writeTranslationTable(std::vector<std::u16string>(65536)); }, "text count");
  expectRefusal([] { writeCanvasTextTable(std::vector<std::u16string>(32768)); }, "text count");
  const std::u16string half(32767, u'x');
  EXPECT_EQ(writeCanvasTextTable({half, half, u"x"}).size(), 2 + 6 + 65535u);
  expectRefusal([&] { writeCanvasTextTable({half, half, u"xy"}); }, "text bytes");
  EXPECT_EQ(writeTranslationTable(std::vector<std::u16string>(65535)).size(), 2 + 2 * 65535u);
}

}  // namespace
}  // namespace content
