// The canvas's text table: the format's examples, bytes that start no
// sequence, a negative count, a table cut short, and -1 clearing it.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ContentFixtures.h"
#include "JavaTestSupport.h"
#include "PackFixtures.h"
#include "PlainCanvas.h"
#include "VMTestEnv.h"
#include "tq_Resources.h"

using java_test::text;
using pack_fixtures::Bytes;
using test_support::PlainCanvas;

namespace {

class CanvasTextTable : public ::testing::Test {
 protected:
  void TearDown() override {
    canvas = nullptr;
    PlainCanvas::stop();
  }
  // Loads `table` as resource 2048 (the pack is read again each time).
  void load(const Bytes& table) {
    tq::Resources::closePack();
    folder.put("RP2.rp", pack_fixtures::simplePack({table}, {0}));
    canvas->loadTexts(2048);
  }
  std::vector<std::u16string> texts() {
    std::vector<std::u16string> out;
    VMPtr<VMArray<java::lang::String>> strings = canvas->textStrings;
    for (int32_t i = 0; i < strings->length; ++i) {
      VMPtr<java::lang::String> s = canvas->getText(i);
      out.push_back(s ? text(s) : u"<null>");
    }
    return out;
  }

  pack_fixtures::ProgramFolder folder;
  VMContext* vm = VMTestEnv::start();
  VMPtr<PlainCanvas> canvas = PlainCanvas::make();
};

TEST_F(CanvasTextTable, ReadsTheFormatsExamples) {
  load({0, 1, 0, 6, 0x41, 0xC3, 0xA9, 0xE2, 0x82, 0xAC});
  EXPECT_EQ(texts(), (std::vector<std::u16string>{u"A\u00E9\u20AC"}));
  EXPECT_FALSE(canvas->textBytes);
  EXPECT_FALSE(canvas->textOffsets);
  load({0, 2, 0, 2, 0x61, 0x62, 0, 0});
  EXPECT_EQ(texts(), (std::vector<std::u16string>{u"ab", u""}));
  const auto fixture = content::fixtures::canvasTextTable();
  load(fixture.bytes);
  EXPECT_EQ(texts(), fixture.texts);
}

TEST_F(CanvasTextTable, SkipsBytesThatStartNoSequence) {
  load({0, 2, 0, 5, 0x41, 0x80, 0x42, 0xF5, 0x43, 0, 3, 0xBF, 0xF0, 0xFF});
  EXPECT_EQ(texts(), (std::vector<std::u16string>{u"ABC", u""}));
  // A sequence cut off by the end of its entry ends the text.
  load({0, 1, 0, 2, 0x41, 0xE2});
  EXPECT_EQ(texts(), (std::vector<std::u16string>{u"A"}));
}

TEST_F(CanvasTextTable, NegativeCountsAndCutTables) {
  load({0xFF, 0xFF});
  EXPECT_EQ(VMPtr<VMArray<java::lang::String>>(canvas->textStrings)->length, 0);
  // Declared three entries, the third cut: the whole ones decode.
  load({0, 3, 0, 1, 0x61, 0, 2, 0x62, 0x63, 0, 4, 0x64});
  const std::vector<std::u16string> got = texts();
  ASSERT_EQ(got.size(), 3u);
  EXPECT_EQ(got[0], u"a");
  EXPECT_EQ(got[1], u"bc");
  EXPECT_EQ(got[2], u"");
}

TEST_F(CanvasTextTable, MinusOneClearsTheTable) {
  load({0, 1, 0, 1, 0x61});
  canvas->loadTexts(-1);
  EXPECT_FALSE(canvas->textStrings);
  EXPECT_FALSE(canvas->textBytes);
  EXPECT_FALSE(canvas->getText(0));  // nothing to read: null, no crash
}

}  // namespace
