// The game's own rules over a folder of the game's real interface sets, a
// glyph set and a translation table: no fault as built, and one fault,
// naming the resource, for each way a set can break what the game reads.

#include <gtest/gtest.h>

#include <functional>

#include "CheckFolder.h"
#include "GameTexts.h"
#include "GlyphSets.h"
#include "InterfaceArt.h"
#include "PngWriter.h"
#include "SpriteSetWriter.h"
#include "TextTableWriter.h"

namespace contentcheck {
namespace {

using namespace content;

const std::filesystem::path kGame = std::filesystem::path(JME_SOURCE_DIR) / "tools/content/game";
constexpr int kDecoration = 0xC00, kPickups = 0xC03, kPanels = 0xC04, kGlyphs = 0x4C01, kTable = 0x5000;

// The translation table: the game's 73 ids, the shown ones "Ab 1", the
// others empty.
std::vector<std::u16string> gameTexts() {
  std::vector<std::u16string> texts(gamecontent::kTextCount);
  for (int id : gamecontent::usedTextIds()) texts[id] = u"Ab 1";
  return texts;
}

Bytes tableBytes(const std::vector<std::u16string>& texts) { return writeTranslationTable(texts); }

Bytes glyphBytes(const std::u16string& characters, Bytes& sheet) {
  std::set<char16_t> codes(characters.begin(), characters.end());
  for (char16_t c : std::u16string(u"0123456789/ -.")) codes.insert(c);
  const auto& source = gamecontent::glyphSetSources().at(1);
  const gamecontent::BuiltGlyphSet built = gamecontent::buildGlyphSet(kGame / "fonts" / source.font, codes, 3, source.style);
  sheet = writePng(built.sheet);
  return writeSpriteSet(glyphFontSprites(built.font));
}

void addKit(CheckFolder& f, int anims, const std::string& rules) {
  const int sprites = anims + 5;
  const gamecontent::InterfaceKit& kit = gamecontent::interfaceKit(kGame, sprites);
  const int sheet = (sprites & ~0x3FF) | kit.sprites.sheet;
  f.entries[anims] = {anims, "anims", "sprites=" + std::to_string(sprites) + " check=" + rules, -1, writeAnimationSet(*kit.anims)};
  f.entries[sprites] = {sprites, "sprites", "sheet=" + std::to_string(kit.sprites.sheet), -1, writeSpriteSet(kit.sprites)};
  f.entries[sheet] = {sheet, "image", "", -3, writePng(kit.sheet)};
}

CheckFolder gameFolder() {
  CheckFolder f;
  f.packs = {{3, "split 1"}, {19, "split 1"}, {20, ""}};
  addKit(f, kDecoration, "interface-boxes,screen-anims");
  addKit(f, kPickups, "pickups");
  addKit(f, kPanels, "interface-boxes,screen-anims,results-frame");
  Bytes sheet;
  f.entries[kGlyphs] = {kGlyphs, "glyphs", "sheet=3 empty=32 check=charset", -1, glyphBytes(u"Ab", sheet)};
  f.entries[0x4C03] = {0x4C03, "image", "", -3, sheet};
  f.entries[kTable] = {kTable, "translation", "check=text-ids", -1, tableBytes(gameTexts())};
  return f;
}

// The kit's animation set, changed, written back.
void changeAnims(CheckFolder& f, int anims, const std::function<void(AnimationSet&)>& change) {
  AnimationSet set = *gamecontent::interfaceKit(kGame, anims + 5).anims;
  change(set);
  f.at(anims).bytes = writeAnimationSet(set);
}

struct RuleCase {
  const char* name;
  std::function<void(CheckFolder&)> breakIt;
  int id;
  const char* fault;
};

void PrintTo(const RuleCase& c, std::ostream* os) { *os << c.name; }

const RuleCase kRuleCases[] = {
    {"BoxOfAnotherType", [](CheckFolder& f) { changeAnims(f, kPanels, [](AnimationSet& s) { s.frames[9].boxes[0].type = 2; }); },
     kPanels, "frame 9, box 0 has type 2; box i has type i here"},
    {"ReadBoxZeroSize",
     [](CheckFolder& f) { changeAnims(f, kPanels, [](AnimationSet& s) { s.frames[4].boxes[0].height = 0; }); }, kPanels,
     "frame 4, box 0 is zero-size, where the game reads its rectangle"},
    {"ReadBoxMissing", [](CheckFolder& f) { changeAnims(f, kPanels, [](AnimationSet& s) { s.frames[6].boxes.pop_back(); }); },
     kPanels, "frame 6 has no box 3, which the game reads"},
    {"UnusedBoxWithArea",
     [](CheckFolder& f) {
       changeAnims(f, kPanels, [](AnimationSet& s) { s.frames[4].boxes.push_back({0, 0, 10, 10, false, 1}); });
     },
     kPanels, "frame 4, box 1 is 10 x 10, where the game reads nothing"},
    {"ArrowBoxesMayHaveArea",  // optional boxes: either way is sound, so this breaks nothing else
     [](CheckFolder& f) {
       changeAnims(f, kDecoration, [](AnimationSet& s) {
         s.frames[0].boxes[1] = {180, 0, 16, 16, false, 1};
         s.frames[0].boxes[5].height = 0;
       });
     },
     kDecoration, "frame 0, box 5 is zero-size"},
    {"ShownAnimationEndsWithoutASuccessor",
     [](CheckFolder& f) { changeAnims(f, kDecoration, [](AnimationSet& s) { s.animations[5].loops = 2; }); }, kDecoration,
     "animation 6, which a screen layer shows after animation 5 ends, is missing"},
    {"ShownAnimationMissing",
     [](CheckFolder& f) { changeAnims(f, kDecoration, [](AnimationSet& s) { s.animations.resize(3); }); }, kDecoration,
     "animation 5, which a screen layer shows, is missing"},
    {"GatheredPickupStillAnItem",
     [](CheckFolder& f) {
       changeAnims(f, kPickups, [](AnimationSet& s) { s.frames[s.animations[3].steps[1].frame].boxes[0].type = 4; });
     },
     kPickups, "of animation 3 (a gathered pick-up) has box 0 of type 4"},
    {"ResultsTitleOverTheRows",
     [](CheckFolder& f) {
       changeAnims(f, kPanels, [](AnimationSet& s) { s.frames[9].parts.push_back({s.frames[9].parts[0].sprite, -96, 10}); });
     },
     kPanels, "where the results list draws its rows before it"},
    {"TableShortOfTheGamesIds",
     [](CheckFolder& f) {
       auto texts = gameTexts();
       texts.pop_back();
       f.at(kTable).bytes = tableBytes(texts);
     },
     kTable, "holds 72 texts, where the game's text ids run 0 to 72"},
    {"ShownTextEmpty",
     [](CheckFolder& f) {
       auto texts = gameTexts();
       texts[37].clear();
       f.at(kTable).bytes = tableBytes(texts);
     },
     kTable, "text 37 is empty, where the game shows it"},
    {"GlyphMissingForATableCharacter",
     [](CheckFolder& f) {
       auto texts = gameTexts();
       texts[2] = u"z";
       f.at(kTable).bytes = tableBytes(texts);
     },
     kGlyphs, "has no glyph for U+007A, which text 2 of resource 20480 needs"},
    {"GlyphMissingForADigit",
     [](CheckFolder& f) {
       // A set of the texts' letters without the counter's characters.
       const auto& source = gamecontent::glyphSetSources().at(1);
       const auto built = gamecontent::buildGlyphSet(kGame / "fonts" / source.font, {u'A', u'b', u' ', u'1', u'x', u'y', u'z'}, 3, source.style);
       f.at(kGlyphs).bytes = writeSpriteSet(glyphFontSprites(built.font));
       f.at(0x4C03).bytes = writePng(built.sheet);
     },
     kGlyphs, "has no glyph for U+002D, which the counter and level names needs"},
};

class GameRule : public testing::TestWithParam<RuleCase> {};

std::string joined(const std::vector<ContentFault>& faults) {
  std::string all;
  for (const ContentFault& f : faults) all += f.text + "\n";
  return all;
}

TEST_P(GameRule, ReportsTheFaultUnderItsResource) {
  const RuleCase& c = GetParam();
  CheckFolder folder = gameFolder();
  c.breakIt(folder);
  ScratchFolder scratch;
  const std::vector<ContentFault> faults = folder.check(scratch.path());
  ASSERT_GE(faults.size(), 1u);
  for (const ContentFault& f : faults) EXPECT_EQ(f.id, c.id) << joined(faults);
  EXPECT_NE(joined(faults).find(c.fault), std::string::npos) << joined(faults);
}

INSTANTIATE_TEST_SUITE_P(BrokenGameSets, GameRule, testing::ValuesIn(kRuleCases),
                         [](const testing::TestParamInfo<RuleCase>& info) { return std::string(info.param.name); });

TEST(GameRules, FindNoFaultInTheGamesSets) {
  ScratchFolder scratch;
  const std::vector<ContentFault> faults = gameFolder().check(scratch.path());
  EXPECT_TRUE(faults.empty()) << joined(faults);
}

// A set checked for the interface rules that is not one of the game's
// interface sets is a fault of its own: the rules are the game's.
TEST(GameRules, NameOnlyTheGamesSets) {
  CheckFolder folder = gameFolder();
  folder.at(kPickups).options = "sprites=" + std::to_string(kPickups + 5) + " check=interface-boxes";
  ScratchFolder scratch;
  const std::vector<ContentFault> faults = folder.check(scratch.path());
  ASSERT_EQ(faults.size(), 1u) << joined(faults);
  EXPECT_NE(faults[0].text.find("is not one of the game's interface sets"), std::string::npos);
}

}  // namespace
}  // namespace contentcheck
