// The five translation tables: complete for every text id, the shown texts
// non-empty, the language names the same everywhere, and the help texts
// long enough to scroll; malformed sources are refused with their line.

#include <gtest/gtest.h>

#include <sstream>

#include "ContentError.h"
#include "GameTexts.h"
#include "GameIds.h"

namespace {

const std::filesystem::path kGame = std::filesystem::path(JME_SOURCE_DIR) / "tools/content/game";

// Lines of `text` word-wrapped at `columns` characters, every "\n" a break.
int wrappedLines(const std::u16string& text, size_t columns) {
  int lines = 1;
  size_t length = 0;  // of the current line
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] == u'\n') {
      ++lines, length = 0, ++i;
      continue;
    }
    if (text[i] == u' ') {
      ++i;
      continue;
    }
    size_t word = 0;
    while (i + word < text.size() && text[i + word] != u' ' && text[i + word] != u'\n') ++word;
    if (length > 0 && length + 1 + word > columns) ++lines, length = 0;
    length += (length > 0 ? 1 : 0) + word;
    i += word;
  }
  return lines;
}

TEST(GameTexts, EveryTableHasEveryIdAndTheShownOnesAreNotEmpty) {
  const auto tables = gamecontent::readTables(kGame);
  ASSERT_EQ(tables.size(), 5u);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(tables[i].resourceId, gameids::kFirstTranslation + i);
  for (const auto& t : tables) {
    ASSERT_EQ(t.texts.size(), 73u) << t.source;
    for (int id : gamecontent::usedTextIds()) EXPECT_FALSE(t.texts[id].empty()) << t.source << " text " << id;
    for (int id : {gameids::kTextMainMenu, gameids::kTextYes, gameids::kTextNo, gameids::kTextBack,
                   gameids::kTextNext}) {
      EXPECT_FALSE(t.texts[id].empty()) << t.source << " text " << id;
    }
  }
}

TEST(GameTexts, EachLanguageIsNamedInItselfInEveryTable) {
  // Language page rows 47, 50, 51, 52, 53 choose 0x5000, 0x5001, 0x5003,
  // 0x5002, 0x5004.
  const std::vector<std::pair<int, std::u16string>> names = {
      {47, u"Deutsch"}, {50, u"English"}, {51, u"Español"}, {52, u"Français"}, {53, u"Italiano"}};
  for (const auto& t : gamecontent::readTables(kGame)) {
    for (const auto& [id, name] : names) EXPECT_EQ(t.texts[id], name) << t.source << " text " << id;
  }
}

TEST(GameTexts, TheVersionLineAndTheTablesDiffer) {
  const auto tables = gamecontent::readTables(kGame);
  for (const auto& t : tables) {
    // The about page shows text 16 followed by "1.32.0".
    EXPECT_EQ(t.texts[16].back(), u' ') << t.source;
    EXPECT_EQ(t.texts[16].find(u'\n'), std::u16string::npos) << t.source;
  }
  // Real translations: the first help page differs between languages.
  for (size_t a = 0; a < tables.size(); ++a) {
    for (size_t b = a + 1; b < tables.size(); ++b) {
      EXPECT_NE(tables[a].texts[57], tables[b].texts[57]) << tables[a].source << " " << tables[b].source;
    }
  }
}

TEST(GameTexts, HelpAndAboutTextsAreLongEnoughToScroll) {
  // 6-pixel glyphs in a board about 200 pixels wide: 32 columns; a board
  // shows no more than about twelve lines of 13 pixels.
  for (const auto& t : gamecontent::readTables(kGame)) {
    for (int id : {56, 57, 58, 59}) EXPECT_GE(wrappedLines(t.texts[id], 32), 14) << t.source << " text " << id;
  }
}

TEST(GameTexts, MalformedSourcesAreRefusedWithTheirLine) {
  std::string complete;
  for (int i = 0; i < 73; ++i) complete += std::to_string(i) + " t\n";
  struct Case {
    std::string text;
    std::string where;
  };
  const std::vector<Case> cases = {
      {"1 a\n", "x.txt:1"},                                    // id 0 missing
      {"0 a\n0 b\n", "x.txt:2"},                               // repeated
      {"0\tb\n", "x.txt:1"},                                   // no space after the id
      {"# c\n0 a\\tb\n", "x.txt:2"},                           // unknown escape
      {"0 a\\\n", "x.txt:1"},                                  // escape at the end
      {"0 \xC3\n", "x.txt:1"},                                 // cut UTF-8
      {"0 \xC0\x80\n", "x.txt:1"},                             // overlong
      {"0 \xF0\x9F\x98\x80\n", "x.txt:1"},                     // beyond the BMP
      {"0 \xED\xA0\x80\n", "x.txt:1"},                         // a surrogate
      {"zero\n", "x.txt:1"},                                   // no id
      {complete + "73 more\n", "x.txt:74"},                    // beyond the last id
      {"0 a\n", "x.txt"},                                      // too few
  };
  for (const Case& c : cases) {
    std::istringstream in(c.text);
    try {
      gamecontent::parseTexts(in, "x.txt");
      ADD_FAILURE() << "accepted: " << c.text.substr(0, 20);
    } catch (const content::ContentError& e) {
      EXPECT_EQ(e.item(), c.where) << e.what();
    }
  }
}

TEST(GameTexts, EscapesCommentsAndEmptyTextsAreRead) {
  std::string source = "# comment\r\n0 a\\nb \\\\ é\r\n1\n";
  for (int i = 2; i < 73; ++i) source += std::to_string(i) + " \n";
  std::istringstream in(source);
  const auto texts = gamecontent::parseTexts(in, "x.txt");
  EXPECT_EQ(texts[0], u"a\nb \\ é");
  EXPECT_EQ(texts[1], u"");
  EXPECT_EQ(texts[2], u"");
}

}  // namespace
