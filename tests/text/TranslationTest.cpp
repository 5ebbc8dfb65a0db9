// Translation tables: the decoder on the sequences of the format and the
// bytes outside it, both offset widths at their boundary, the shared
// buffer limit, decodeAll, and tables cut short or with negative lengths.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ContentFixtures.h"
#include "JavaTestSupport.h"
#include "PackFixtures.h"
#include "TextTableWriter.h"
#include "VMTestEnv.h"
#include "tq_Resources.h"
#include "tq_util_text_Translation.h"

using java_test::jstr;
using java_test::text;
using pack_fixtures::Bytes;
using tq::util::text::Translation;

namespace {

VMPtr<Translation> tableOf(const Bytes& bytes, int32_t size = -1) {
  VMPtr<VMArray<int8_t>> data = pack_fixtures::javaBytes(bytes);
  VMPtr<Translation> t = Translation::_VM_new();
  return t->_VM_init(tq::Resources::openStream(data, 0, data->length), size < 0 ? data->length : size);
}

// A table of records given as raw bytes, each with its own length.
Bytes records(const std::vector<Bytes>& texts) {
  Bytes out;
  pack_fixtures::put16(out, static_cast<uint32_t>(texts.size()));
  for (const Bytes& t : texts) {
    pack_fixtures::put16(out, static_cast<uint32_t>(t.size()));
    out.insert(out.end(), t.begin(), t.end());
  }
  return out;
}

std::vector<std::u16string> all(const VMPtr<Translation>& t) {
  std::vector<std::u16string> out;
  for (int32_t id = 0; id < t->count; ++id) out.push_back(text(t->getString(id)));
  return out;
}

TEST(Translation, DecodesEachKindOfSequence) {
  VMTestEnv::start();
  struct Case {
    Bytes bytes;
    std::u16string expected;
  };
  const std::vector<Case> cases = {
      {{0x41}, u"A"},
      {{0xC3, 0xA9}, u"\u00E9"},
      {{0xE2, 0x82, 0xAC}, u"\u20AC"},
      {{0x80, 0x41}, std::u16string(u"\0A", 2)},
      {{0xF0, 0x41}, std::u16string(u"\0A", 2)},
      {{0xC3, 0x41}, u"\u00C1"},  // continuation bytes are not checked
      {{}, u""},
  };
  std::vector<Bytes> texts;
  for (const Case& c : cases) texts.push_back(c.bytes);
  VMPtr<Translation> t = tableOf(records(texts));
  ASSERT_EQ(t->count, static_cast<int32_t>(cases.size()));
  for (size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(text(t->getString(static_cast<int32_t>(i))), cases[i].expected) << "text " << i;
  }
}

TEST(Translation, ASequenceCutByThePoolEndsTheText) {
  VMTestEnv::start();
  // Text 0 ends in a lead byte whose continuation bytes are text 1's: it
  // takes them from the pool; text 1 then ends in a lead byte with nothing
  // after it in the pool.
  VMPtr<Translation> t = tableOf(records({{0x41, 0xE2}, {0x82, 0xAC, 0x42, 0xE2, 0x82}}));
  EXPECT_EQ(all(t), (std::vector<std::u16string>{u"A\u20AC", std::u16string(u"\0\0B", 3)}));
}

TEST(Translation, OffsetWidthFollowsTheResourceSize) {
  VMTestEnv::start();
  const std::u16string big(32767, u'x');
  // 2 + 3 x 2 + 32767 + 32760 = 65535 bytes; one more goes to 32 bits.
  for (int extra : {0, 1}) {
    const std::vector<std::u16string> texts = {big, std::u16string(32760 + extra, u'y'), u""};
    const Bytes bytes = content::writeTranslationTable(texts);
    ASSERT_EQ(bytes.size(), 65535u + extra);
    VMPtr<Translation> t = tableOf(bytes);
    EXPECT_EQ(static_cast<bool>(t->offsets16), extra == 0);
    EXPECT_EQ(static_cast<bool>(t->offsets32), extra == 1);
    EXPECT_EQ(all(t), texts);
  }
}

TEST(Translation, FixtureTablesReadBack) {
  VMTestEnv::start();
  for (const auto& fixture : {content::fixtures::translationTable16(), content::fixtures::translationTable32()}) {
    EXPECT_EQ(all(tableOf(fixture.bytes)), fixture.texts);
  }
}

TEST(Translation, ShortTextsUseTheSharedBuffer) {
  VMTestEnv::start();
  const std::u16string t128(128, u'a');
  const std::u16string t129(129, u'b');
  VMPtr<Translation> t = tableOf(content::writeTranslationTable({t128, t129}));
  VMPtr<java::lang::String> first = t->getString(0);
  EXPECT_EQ(text(first), t128);
  EXPECT_NE(t->getString(0).get(), first.get());  // a new String each call
  ASSERT_TRUE(Translation::sharedBuffer);
  EXPECT_EQ(text(VMPtr<java::lang::StringBuffer>(Translation::sharedBuffer)->toString()), t128);
  EXPECT_EQ(text(t->getString(1)), t129);
  // The long text was decoded in a buffer of its own.
  EXPECT_EQ(text(VMPtr<java::lang::StringBuffer>(Translation::sharedBuffer)->toString()), t128);
}

TEST(Translation, DecodeAllKeepsTheTexts) {
  VMTestEnv::start();
  const auto fixture = content::fixtures::translationTable16();
  VMPtr<Translation> t = tableOf(fixture.bytes);
  t->decodeAll();
  EXPECT_FALSE(t->data);
  EXPECT_FALSE(t->offsets16);
  EXPECT_EQ(all(t), fixture.texts);
  EXPECT_EQ(t->getString(1).get(), t->getString(1).get());
  t->decodeAll();  // once only
  EXPECT_EQ(all(t), fixture.texts);
}

TEST(Translation, InsertsAndAppendsIntoABuffer) {
  VMTestEnv::start();
  VMPtr<Translation> t = tableOf(content::writeTranslationTable({u"\u00E9t\u00E9", u"!"}));
  VMPtr<java::lang::StringBuffer> sb = java::lang::StringBuffer::_VM_new();
  sb->_VM_init(jstr(u"<>"));
  t->insertText(0, sb, 1);
  t->appendText(1, sb);
  EXPECT_EQ(text(sb->toString()), u"<\u00E9t\u00E9>!");
  EXPECT_EQ(text(t->getText(1, sb)->toString()), u"!");
}

TEST(Translation, BrokenTablesReadWhatTheyHold) {
  VMTestEnv::start();
  const Bytes whole = content::writeTranslationTable({u"ab", u"\u20AC", u"cd"});
  // Cut inside the second record's bytes: the first text stays whole.
  for (size_t cut : {size_t{0}, size_t{1}, size_t{3}, size_t{6}, size_t{9}, whole.size() - 1}) {
    const Bytes part(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(cut));
    VMPtr<Translation> t = tableOf(part, static_cast<int32_t>(whole.size()));
    for (int32_t id = 0; id < t->count; ++id) t->getString(id);
    if (cut >= 6) {
      EXPECT_EQ(text(t->getString(0)), u"ab") << cut;
    }
  }
  // A size too small for the count leaves no pool: every text is empty.
  VMPtr<Translation> small = tableOf(whole, 3);
  EXPECT_EQ(small->count, 0);
  // A negative length counts as 0: the next text starts where it should.
  Bytes negative;
  pack_fixtures::put16(negative, 3);
  for (const Bytes& r : {Bytes{0, 2, 'a', 'b'}, Bytes{0xFF, 0xFB}, Bytes{0, 1, 'c'}}) {
    negative.insert(negative.end(), r.begin(), r.end());
  }
  EXPECT_EQ(all(tableOf(negative)), (std::vector<std::u16string>{u"ab", u"", u"c"}));
}

TEST(Translation, ResourcesReadATableById) {
  pack_fixtures::ProgramFolder folder;
  VMTestEnv::start();
  const auto fixture = content::fixtures::translationTable16();
  folder.put("RP20.rp", pack_fixtures::simplePack({{1}, fixture.bytes}, {0, 0}));
  EXPECT_EQ(all(tq::Resources::getTranslation(0x5001)), fixture.texts);
}

}  // namespace
