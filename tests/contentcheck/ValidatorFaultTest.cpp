// The validator over a sound folder of every kind (no fault), and over
// copies of it with one resource or file broken: it reports exactly that
// fault, naming the resource.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <functional>

#include "CheckFolder.h"
#include "ContentFixtures.h"
#include "Manifest.h"
#include "SpriteSetWriter.h"
#include "VMTestEnv.h"

namespace contentcheck {
namespace {

using namespace content;
using content::fixtures::eightGlyphFont;

// A PNG with a chunk of type `type` (and a valid CRC) put in before the
// chunk that starts at `before`.
Bytes insertChunk(const Bytes& png, size_t before, const std::string& type, const Bytes& data) {
  Bytes chunk;
  ByteWriter w;
  w.u32(static_cast<uint32_t>(data.size()));
  Bytes typed(type.begin(), type.end());
  typed.insert(typed.end(), data.begin(), data.end());
  uint32_t crc = 0xFFFFFFFFu;
  for (uint8_t b : typed) {
    crc ^= b;
    for (int k = 0; k < 8; ++k) crc = crc & 1 ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
  }
  w.bytes(typed);
  w.u32(~crc);
  Bytes out(png.begin(), png.begin() + static_cast<long>(before));
  out.insert(out.end(), w.data().begin(), w.data().end());
  out.insert(out.end(), png.begin() + static_cast<long>(before), png.end());
  return out;
}

// Where the chunk of `type` starts in a PNG.
size_t chunkAt(const Bytes& png, const std::string& type) {
  for (size_t at = 8; at + 8 <= png.size();) {
    if (std::string(png.begin() + static_cast<long>(at) + 4, png.begin() + static_cast<long>(at) + 8) == type) return at;
    at += 12 + (static_cast<size_t>(png[at]) << 24 | png[at + 1] << 16 | png[at + 2] << 8 | png[at + 3]);
  }
  return png.size();
}

Bytes glyphSetWith(const std::function<void(SpriteSet&)>& change) {
  SpriteSet sprites = glyphFontSprites(eightGlyphFont(2).font);
  change(sprites);
  return writeSpriteSet(sprites);
}

// The sprite-set fixture written with two-byte columns, then value `v` of
// sprite `i` replaced in place (the writer itself refuses such sprites).
Bytes spriteSetPatched(int i, std::vector<std::pair<int, int16_t>> values) {
  SpriteSet set = fixtures::spriteSet(0).set;
  set.layout = 0;
  Bytes bytes = writeSpriteSet(set);
  const size_t n = set.sprites.size();
  for (auto [v, value] : values) {
    const size_t at = 9 + 2 * (static_cast<size_t>(v) * n + static_cast<size_t>(i));
    bytes[at] = static_cast<uint8_t>(value >> 8);
    bytes[at + 1] = static_cast<uint8_t>(value);
  }
  return bytes;
}

Bytes textTable(const std::vector<Bytes>& records, bool withCount = true) {
  ByteWriter w;
  if (withCount) w.u16(static_cast<uint32_t>(records.size()));
  for (const Bytes& r : records) {
    w.u16(static_cast<uint32_t>(r.size()));
    w.bytes(r);
  }
  return w.take();
}

struct FaultCase {
  const char* name;
  std::function<void(CheckFolder&)> breakIt;
  int id;
  const char* fault;  // a part of the one fault's text
};

void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.name; }

const FaultCase kFaultCases[] = {
    {"MissingSheet", [](CheckFolder& f) { f.at(kSprites).bytes = fixtures::spriteSet(12).bytes; }, kSprites,
     "its sheet (index 12) is missing from pack 2"},
    {"SheetOtherThanManifest", [](CheckFolder& f) { f.at(kSprites).bytes = fixtures::spriteSet(2).bytes; }, kSprites,
     "its sheet is index 2, where the manifest gives 0"},
    {"SpriteIndexPastSet",
     [](CheckFolder& f) {
       AnimationSet set = fixtures::smallAnimationSet().set;
       set.frames[0].parts[1].sprite = 9;
       f.at(kAnims).bytes = writeAnimationSet(set);
     },
     kAnims, "frame 0, part 1: sprite 9 is past its sprite set's 5 sprites"},
    {"TruncatedLevel",
     [](CheckFolder& f) {
       Bytes& level = f.at(kLevel).bytes;
       level.resize(level.size() - 3);
     },
     kLevel, "is cut short: the stream ends before its last field"},
    {"LevelWithBytesAfterIt", [](CheckFolder& f) { f.at(kLevel).bytes.insert(f.at(kLevel).bytes.end(), {0, 0}); },
     kLevel, "2 bytes follow its last field"},
    {"GlyphSetWithoutMarker", [](CheckFolder& f) { f.at(kGlyphs).bytes = glyphSetWith([](SpriteSet& s) { s.sprites[3].boxHeight = 0; }); },
     kGlyphs, "glyph 3 holds 0 where the marker 255 belongs"},
    {"GlyphHeightUnlikeLineHeight",
     [](CheckFolder& f) { f.at(kGlyphs).bytes = glyphSetWith([](SpriteSet& s) { s.sprites[0].boxHeight = 9; }); }, kGlyphs,
     "metric 0 (height 9) differs from metric 4 (line height 8)"},
    {"GlyphCodesNotAscending",
     [](CheckFolder& f) { f.at(kGlyphs).bytes = glyphSetWith([](SpriteSet& s) { s.sprites[5].y = 0; }); }, kGlyphs,
     "glyph 5 (U+0061) does not come after U+0061; codes must ascend"},
    {"UndeclaredEmptySprite", [](CheckFolder& f) { f.at(kSprites).bytes = spriteSetPatched(1, {{4, 0}, {5, 8}}); },
     kSprites, "sprite 1 is 0 x 8 and not declared empty"},
    {"DeclaredEmptySpriteWithSize", [](CheckFolder& f) { f.at(kSprites).options = "sheet=0 empty=3,4 check=sizes"; },
     kSprites, "sprite 4 is declared empty but is 4 x 1"},
    {"SpriteSetWithByteAfterIt", [](CheckFolder& f) { f.at(kSprites).bytes.push_back(0); }, kSprites,
     "1 byte follows the set"},
    {"BoxNumberedAgainstItsType",
     [](CheckFolder& f) {
       AnimationSet set = panelSet();
       set.frames[1].boxes[1].type = 0;
       f.at(kPanel).bytes = writeAnimationSet(set, true);
     },
     kPanel, "frame 1, box 1 has type 0; box i has type i here"},
    {"ZeroDuration",
     [](CheckFolder& f) {
       Bytes& anims = f.at(kAnims).bytes;  // its last byte is its last duration, 100
       ASSERT_EQ(anims.back(), 100);
       anims.back() = 0;
     },
     kAnims, "duration 2 is 0; durations are at least 1"},
    {"AnimationSetCutShort", [](CheckFolder& f) { f.at(kAnims).bytes.resize(f.at(kAnims).bytes.size() - 1); }, kAnims,
     "the reader stopped before its durations"},
    {"ChunkBetweenPlteAndTrns",
     [](CheckFolder& f) {
       Bytes& png = f.at(kImage).bytes;
       png = insertChunk(png, chunkAt(png, "tRNS"), "tEXt", {'a', 0, 'b'});
     },
     kImage, "tRNS does not follow PLTE right away (tEXt comes between)"},
    {"SheetWithChunkBetweenIhdrAndPlte",
     [](CheckFolder& f) {
       Bytes& png = f.at(kGlyphSheet).bytes;
       png = insertChunk(png, chunkAt(png, "PLTE"), "tEXt", {'a', 0, 'b'});
       f.at(kGlyphSheet).options = "";
     },
     kGlyphs, "its sheet: PLTE does not follow IHDR right away (tEXt comes between)"},
    {"ImageThatDoesNotDecode", [](CheckFolder& f) { f.at(kSplitImage).bytes.resize(30); }, kSplitImage,
     "does not decode as an image"},
    {"MissingPartFile", [](CheckFolder& f) { f.removed = {"RP18part1.png"}; }, kFileImage, "does not decode as an image"},
    {"MissingPackFile", [](CheckFolder& f) { f.removed = {"RP20.rp"}; }, kLonePack,
     "its pack does not open: RP20.rp is missing"},
    {"DamagedChunkedPack", [](CheckFolder& f) { f.removed = {"RP5part2.rp"}; f.entries.erase(kSplitImage); },
     kSplitTable, "its pack does not open: RP5.rp: java.lang.RuntimeException"},
    {"ResourceMissingFromPack", [](CheckFolder& f) { f.at(kLonePack).inPack = false; }, kLonePack,
     "is missing: its pack holds 0 resources"},
    {"SoundOfAnotherType", [](CheckFolder& f) { f.at(kSound).type = 0; }, kSound,
     "type byte 0, where the manifest gives 1"},
    {"SoundWithWrongDataSize", [](CheckFolder& f) { f.at(kSound).bytes[40] ^= 2; }, kSound,
     "its data size is not the 4000 bytes after the header"},
    {"SoundNotCanonical", [](CheckFolder& f) { f.at(kSound).bytes[36] = 'L'; }, kSound,
     "is not a WAV with the canonical 44-byte header"},
    {"TranslationWithFourByteCharacter",
     [](CheckFolder& f) { f.at(kTranslation).bytes = textTable({{'o', 'k'}, {0xF0, 0x9F, 0x98, 0x80}}); }, kTranslation,
     "text 1 is not UTF-8 of 1- to 3-byte characters"},
    {"TranslationRecordPastTheEnd",
     [](CheckFolder& f) {
       Bytes& table = f.at(kTranslation).bytes;
       table.resize(table.size() - 1);
     },
     kTranslation, "text 5 runs past the end"},
    {"CanvasTextsPastTheirOffsets",
     [](CheckFolder& f) {
       f.at(kTexts).bytes = textTable({Bytes(30000, 'a'), Bytes(30000, 'b'), Bytes(30000, 'c')});
     },
     kTexts, "its texts hold 90000 bytes, past the 65535 its offsets reach"},
    {"RawOfAnotherType", [](CheckFolder& f) { f.at(kRaw).type = 3; }, kRaw, "type byte 3, where the manifest gives 7"},
};

class ValidatorFault : public testing::TestWithParam<FaultCase> {};

TEST_P(ValidatorFault, ReportsExactlyThatFault) {
  const FaultCase& c = GetParam();
  CheckFolder folder = soundFolder();
  c.breakIt(folder);
  ScratchFolder scratch;
  const std::vector<ContentFault> faults = folder.check(scratch.path());
  ASSERT_EQ(faults.size(), 1u) << [&] {
    std::string all;
    for (const ContentFault& f : faults) all += f.text + "\n";
    return all;
  }();
  EXPECT_EQ(faults[0].id, c.id);
  EXPECT_NE(faults[0].text.find(c.fault), std::string::npos) << faults[0].text;
  const std::string name = "resource " + std::to_string(c.id) + " (pack " + std::to_string(c.id >> 10) + ", index " +
                           std::to_string(c.id & 0x3FF) + "): ";
  EXPECT_EQ(faults[0].text.rfind(name, 0), 0u) << faults[0].text;
}

INSTANTIATE_TEST_SUITE_P(BrokenFixtures, ValidatorFault, testing::ValuesIn(kFaultCases),
                         [](const testing::TestParamInfo<FaultCase>& info) { return std::string(info.param.name); });

TEST(Validator, FindsNoFaultInTheSoundFolder) {
  ScratchFolder scratch;
  const std::vector<ContentFault> faults = soundFolder().check(scratch.path());
  for (const ContentFault& f : faults) ADD_FAILURE() << f.text;
}

// The durations rule walks the stored records to the durations: offsets
// and sizes that take the escaped forms (an S of -200, a U of 128 beside
// an S) keep the walk in step, so sound durations give no fault.
TEST(Validator, WalksEscapedValuesToTheDurations) {
  CheckFolder folder = soundFolder();
  AnimationSet set = fixtures::smallAnimationSet().set;
  set.frames[0].parts[0].dx = -200;
  set.frames[0].boxes.push_back({-200, 128, 128, 200, false, 1});
  set.animations[0].steps[0].dy = -150;
  folder.at(kAnims).bytes = writeAnimationSet(set);
  ScratchFolder scratch;
  const std::vector<ContentFault> faults = folder.check(scratch.path());
  for (const ContentFault& f : faults) ADD_FAILURE() << f.text;
}

// The same folder with nothing switched on but the checks that always run:
// the broken glyph set and box types then pass, a missing sheet does not.
TEST(Validator, AppliesOnlyTheRulesTheManifestSwitchesOn) {
  CheckFolder folder = soundFolder();
  folder.at(kGlyphs).options = "sheet=2";
  folder.at(kGlyphs).bytes = glyphSetWith([](SpriteSet& s) { s.sprites[3].boxHeight = 0; });
  AnimationSet panel = panelSet();
  panel.frames[0].boxes[0].type = 5;
  folder.at(kPanel).options = "sprites=2049";
  folder.at(kPanel).bytes = writeAnimationSet(panel, true);
  folder.at(kSprites).bytes = fixtures::spriteSet(12).bytes;
  ScratchFolder scratch;
  const std::vector<ContentFault> faults = folder.check(scratch.path());
  ASSERT_EQ(faults.size(), 1u);
  EXPECT_EQ(faults[0].id, kSprites);
}

// The folder need not be named rsc: the validator reaches it through a
// link of that name.
TEST(Validator, ChecksAFolderOfAnyName) {
  CheckFolder folder = soundFolder();
  ScratchFolder scratch;
  folder.write(scratch.path() / "built");
  writeText(scratch.path() / "manifest.txt", folder.manifest());
  VMTestEnv::start();
  EXPECT_TRUE(ContentValidator(readManifest(scratch.path() / "manifest.txt"), scratch.path() / "built").run().empty());
  folder.at(kRaw).type = 1;
  folder.write(scratch.path() / "built");
  EXPECT_EQ(ContentValidator(readManifest(scratch.path() / "manifest.txt"), scratch.path() / "built").run().size(), 1u);
}

// The tool's check command: exit code 0 and a summary for a sound folder;
// 1 and one line per fault otherwise; 2 for a manifest it cannot read.
TEST(ContentTool, CheckCommandReportsFaultsByExitCode) {
  CheckFolder folder = soundFolder();
  ScratchFolder scratch;
  folder.write(scratch.path() / "rsc");
  writeText(scratch.path() / "manifest.txt", folder.manifest());
  auto run = [&](const std::string& arguments, std::string& output) {
    const std::string command = std::string(JME_CONTENT_TOOL) + " " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    output.clear();
    char buffer[512];
    while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  };
  const std::string args = "check " + (scratch.path() / "rsc").string() + " " + (scratch.path() / "manifest.txt").string();
  std::string output;
  EXPECT_EQ(run(args, output), 0) << output;
  EXPECT_NE(output.find("15 resources checked, 0 faults"), std::string::npos) << output;
  folder.at(kSound).type = 0;
  folder.write(scratch.path() / "rsc");
  EXPECT_EQ(run(args, output), 1) << output;
  EXPECT_NE(output.find("resource 18432 (pack 18, index 0): type byte 0, where the manifest gives 1\n"), std::string::npos)
      << output;
  writeText(scratch.path() / "manifest.txt", "pack 2\n0 nonsense x\n");
  EXPECT_EQ(run(args, output), 2) << output;
  EXPECT_NE(output.find("manifest.txt:2: unknown kind \"nonsense\""), std::string::npos) << output;
}

}  // namespace
}  // namespace contentcheck
