// Writes seeds for the engine's fuzz targets from the content writers and
// their fixtures: well-formed inputs that reach every part of a reader,
// beside the hand-made seeds of fuzz/corpus. Each seed is written as
// <folder>/<target>/content_<name>, in the framing its target reads.
//
//   jme_fuzz_seeds <folder> [<rsc folder>]
//
// Given the game's built resource folder, its packs seed the pack targets
// too, and the game's fresh saved-progress stores seed the record targets.
// The same call always writes the same bytes.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <map>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "AnimationSetWriter.h"
#include "ChunkedPackWriter.h"
#include "ContentError.h"
#include "ContentFixtures.h"
#include "DescriptionFile.h"
#include "GlyphFontWriter.h"
#include "LevelWriter.h"
#include "PackFiles.h"
#include "PlayLevels.h"
#include "PngWriter.h"
#include "SimplePackWriter.h"
#include "SpriteSetWriter.h"
#include "TextTableWriter.h"
#include "WavWriter.h"

namespace {

using content::Bytes;
namespace fx = content::fixtures;

// The seeds of one target by name.
using Seeds = std::vector<std::pair<std::string, Bytes>>;

// The largest input most targets read.
constexpr size_t kMaxInput = 1 << 16;

Seeds simplePacks() {
  std::vector<content::PackResource> many;
  for (int i = 0; i < 1024; ++i) many.push_back({static_cast<int8_t>(i % 3), Bytes(static_cast<size_t>(i % 5), 7)});
  return {
      {"fixture_pack", content::writeSimplePack(fx::packResources())},
      {"fixture_pack_2byte_sizes", content::writeSimplePack(fx::packResources(), true)},
      {"empty_pack", content::writeSimplePack({})},
      {"two_resources", content::writeSimplePack({{7, {1, 2, 3}}, {9, {}}})},
      {"1024_resources", content::writeSimplePack(many)},
  };
}

// The chunked_pack target's framing of a pack, which it opens as pack 3:
// the number of part files, each part's 16-bit length, the parts
// (RP<pack>part1.rp ...), then RP<pack>.rp. Empty when the pack has more
// .rp parts than the framing's 3 or a part longer than 16 bits can give.
Bytes framed(const content::PackFiles& files, int pack = 3) {
  std::vector<const Bytes*> parts;
  for (int k = 1; k <= 4; ++k) {
    const auto part = files.find(content::packFileName(pack, k));
    if (part == files.end()) break;
    if (k == 4 || part->second.size() > 0xFFFF) return {};
    parts.push_back(&part->second);
  }
  Bytes out = {static_cast<uint8_t>(parts.size())};
  for (const Bytes* p : parts) {
    out.push_back(static_cast<uint8_t>(p->size() >> 8));
    out.push_back(static_cast<uint8_t>(p->size()));
  }
  for (const Bytes* p : parts) out.insert(out.end(), p->begin(), p->end());
  const Bytes& main = files.at(content::packFileName(pack));
  out.insert(out.end(), main.begin(), main.end());
  return out;
}

Seeds chunkedPacks() {
  using Layout = content::ChunkedPackLayout;
  const std::vector<content::PackResource> resources = fx::packResources();
  Seeds out;
  for (int parts : {1, 2, 3}) {
    out.push_back({"split_" + std::to_string(parts), framed(content::writeChunkedPack(3, resources, Layout::split(parts)))});
  }
  out.push_back({"split_index_last", framed(content::writeChunkedPack(3, resources, Layout::split(2, false)))});
  out.push_back({"file_table", framed(content::writeChunkedPack(3, resources, Layout::fileTable({})))});
  out.push_back({"file_table_index_last", framed(content::writeChunkedPack(3, resources, Layout::fileTable({}, false)))});
  out.push_back({"empty", framed(content::writeChunkedPack(3, {}, Layout::split(0)))});
  return out;
}

Seeds levels() {
  content::Level fixture = fx::levelWithEveryBlock().level;
  content::Level noFiller = fixture;
  noFiller.filler = false;
  content::Level wide;
  content::LevelMap map;
  map.columns = 4095;
  for (int i = 0; i < 4095; ++i) map.palette.push_back(1 + i * 7919 % 32767);
  map.width = 64;
  map.height = 8;
  for (int i = 0; i < 64 * 8; ++i) map.cells.push_back(i * 13 % 4096);
  map.offset = -65536;
  wide.map = map;
  return {
      {"every_block", content::writeLevel(fixture)},
      {"every_block_no_filler", content::writeLevel(noFiller)},
      {"no_blocks", content::writeLevel(content::Level{true, {}, {}, {}})},
      {"palette_4095", content::writeLevel(wide)},
  };
}

Seeds animationSets(bool spriteData) {
  return {
      {"small", content::writeAnimationSet(fx::smallAnimationSet().set, spriteData)},
      {"at_limits", content::writeAnimationSet(fx::animationSetAtLimits().set, spriteData)},
      {"nothing", content::writeAnimationSet({}, spriteData)},
  };
}

// Sets over the sprite_set target's 4 x 2 sheet (index 0), and the
// fixtures cut from larger sheets (their regions fall outside it).
Seeds spriteSets() {
  content::SpriteSet fits;
  fits.sprites = {{-1, -2, 0, 0, 4, 2, 0, 0, false, 4, 2, false},
                  {300, 0, 1, 1, 2, 1, -5, 5, true, 3, 3, false},
                  {0, 0, 0, 0, 0, 0, 0, 0, false, 0, 0, true},
                  {0, 127, 3, 0, 1, 1, 1, 1, false, 1, 1, false},
                  {-128, 0, 2, 1, 2, 1, 0, 0, false, 0, 0, false}};
  fits.attributes = {3, 2, 1, 0, 1};
  content::SpriteSet wide = fits;
  wide.layout = 0;
  wide.attributes.clear();
  return {
      {"fits_sheet", content::writeSpriteSet(fits)},
      {"fits_sheet_two_byte", content::writeSpriteSet(wide)},
      {"fixture", fx::spriteSet().bytes},
      {"glyph_font", fx::eightGlyphFont().spriteSet},
  };
}

// The glyph_font target's framing: 12 bytes a glyph (x, y, box x, box y,
// box width, box height as 16 bits, the marker bit of glyph 3 in byte 8,
// width and height 0 to 4).
Seeds glyphFonts() {
  const content::SpriteSet set = content::glyphFontSprites(fx::eightGlyphFont().font);
  Bytes out;
  for (size_t i = 0; i < set.sprites.size(); ++i) {
    const content::SpriteRecord& g = set.sprites[i];
    out.push_back(static_cast<uint8_t>(g.x));
    out.push_back(static_cast<uint8_t>(g.y));
    for (int16_t v : {g.boxX, g.boxY, g.boxWidth, g.boxHeight}) {
      out.push_back(static_cast<uint8_t>(static_cast<uint16_t>(v) >> 8));
      out.push_back(static_cast<uint8_t>(v));
    }
    if (i == 3) out[i * 12 + 8] = 1;  // unprepared: the set is prepared once
    out.push_back(static_cast<uint8_t>(std::min<int>(g.width, 4)));
    out.push_back(static_cast<uint8_t>(std::min<int>(g.height, 4)));
  }
  return {{"eight_glyphs", out}};
}

Seeds pngs() {
  content::IndexedImage full{16, 16, {}, {}};
  for (uint32_t k = 0; k < 256; ++k) full.palette.push_back((k < 3 ? k * 0x7F : 0xFFu) << 24 | k * 0x010101u);
  for (int i = 0; i < 256; ++i) full.indices.push_back(static_cast<uint8_t>(i));
  return {
      {"palette_fixture", fx::paletteImage().png},
      {"palette_256_with_transparency", content::writePng(full)},
      {"glyph_sheet", fx::eightGlyphFont().sheet.png},
      {"rgba", content::writePng(fx::rgbaImage())},
  };
}

Seeds textTables(bool canvas) {
  const Bytes table = canvas ? content::writeCanvasTextTable(fx::canvasTextTable().texts)
                             : content::writeTranslationTable(fx::translationTable16().texts);
  const std::u16string edges(u"\u0000\u007F\u0080\u07FF\u0800\uFFFF", 6);
  const std::vector<std::u16string> texts = {edges, u"", std::u16string(300, u'\u20AC')};
  return {
      {"fixture", table},
      {"utf8_edges", canvas ? content::writeCanvasTextTable(texts) : content::writeTranslationTable(texts)},
      {"empty", canvas ? content::writeCanvasTextTable({}) : content::writeTranslationTable({})},
  };
}

Seeds sounds() {
  return {
      {"fixture", fx::shortSound().wav},
      {"stereo_8bit", content::writeWav({2, 22050, 8, {0, 255, 128, 128, 1, 254}})},
  };
}

// The game's 25 levels, built from their sources (tools/content/game/levels).
Seeds gameLevels() {
  const std::filesystem::path game = std::filesystem::path(JME_SOURCE_DIR) / "tools/content/game";
  Seeds seeds;
  for (int n = 0; n < 25; ++n) {
    const gamecontent::LevelSource source = gamecontent::readLevelSource(gamecontent::levelSourcePath(game, n));
    seeds.push_back({"game_level_" + std::to_string(n), content::writeLevel(gamecontent::buildLevel(source))});
  }
  return seeds;
}

// The game's built packs in `rsc` (each RP<n>.rp with its .rp part files),
// by pack number: the simple packs as the pack index targets read them,
// the chunked ones in chunked_pack's framing. A pack whose seed would be
// larger than kMaxInput, or that has more .rp parts than the framing
// takes, is left out. Part files of other types (RP<n>part<k>.wav) have no
// place in the framing: the target fails to read those resources, as it
// may.
struct BuiltPacks {
  Seeds simple;
  Seeds chunked;
};

BuiltPacks builtPacks(const std::filesystem::path& rsc) {
  const std::regex mainFile("RP([0-9]{1,4})\\.rp");
  std::map<int, content::PackFiles> packs;
  for (const auto& entry : std::filesystem::directory_iterator(rsc)) {
    std::smatch match;
    const std::string name = entry.path().filename().string();
    if (!entry.is_regular_file() || !std::regex_match(name, match, mainFile)) continue;
    const int pack = std::stoi(match[1].str());
    content::PackFiles& files = packs[pack];
    files[name] = content::readFileBytes(entry.path());
    for (int k = 1; k <= 4 && content::isChunkedPack(pack); ++k) {
      const std::filesystem::path part = rsc / content::packFileName(pack, k);
      if (!std::filesystem::is_regular_file(part)) break;
      files[part.filename().string()] = content::readFileBytes(part);
    }
  }
  BuiltPacks out;
  for (const auto& [pack, files] : packs) {
    const std::string name = "game_RP" + std::to_string(pack);
    if (!content::isChunkedPack(pack)) {
      const Bytes& bytes = files.at(content::packFileName(pack));
      if (bytes.size() <= kMaxInput) out.simple.push_back({name, bytes});
      continue;
    }
    Bytes bytes = framed(files, pack);
    if (!bytes.empty() && bytes.size() <= kMaxInput) out.chunked.push_back({name, std::move(bytes)});
  }
  return out;
}

// The game's saved-progress records as it writes them fresh (main_Game.h):
// record 0 holds 110 bytes of unlock flags, the tier page's first entry
// and group 0's first stage open; record 1 524 bytes and record 2 1000
// bytes, all 0.
constexpr size_t kUnlockBytes = 110;
constexpr size_t kProgressBytes = 524;
constexpr size_t kBestBytes = 1000;

Bytes freshUnlocks() {
  Bytes unlocks(kUnlockBytes, 0);
  unlocks[0] = 1;
  unlocks[5] = 1;  // 5 + 10 group + stage
  return unlocks;
}

// The saved_progress target's framing: the lengths of records 0 and 1 (16
// bits each), the level word (tier + 5 group + 25 stage, the items
// gathered from bit 16), then the three records.
Seeds savedProgress() {
  Seeds seeds;
  const std::pair<const char*, uint32_t> levels[] = {{"first_level", 0}, {"last_level_3_items", 124 | 3u << 16}};
  for (const auto& [name, level] : levels) {
    Bytes out = {static_cast<uint8_t>(kUnlockBytes >> 8), static_cast<uint8_t>(kUnlockBytes),
                 static_cast<uint8_t>(kProgressBytes >> 8), static_cast<uint8_t>(kProgressBytes)};
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(level >> shift));
    const Bytes unlocks = freshUnlocks();
    out.insert(out.end(), unlocks.begin(), unlocks.end());
    out.insert(out.end(), kProgressBytes + kBestBytes, 0);
    seeds.push_back({std::string("game_fresh_") + name, out});
  }
  return seeds;
}

// The game's fresh unlock store "0" as the record store files hold it, in
// the record_store target's framing: the metadata's length and its five
// little-endian words (last modified 0, version 1 after the one add, next
// id 2, size 110, one record), then record 1 as id, length and bytes. The
// other two stores have records longer than the framing's 255 bytes.
Seeds recordStores() {
  Bytes out = {20};
  for (uint32_t word : {0u, 1u, 2u, static_cast<uint32_t>(kUnlockBytes), 1u}) {
    for (int b = 0; b < 4; ++b) out.push_back(static_cast<uint8_t>(word >> 8 * b));
  }
  out.push_back(1);
  out.push_back(static_cast<uint8_t>(kUnlockBytes));
  const Bytes unlocks = freshUnlocks();
  out.insert(out.end(), unlocks.begin(), unlocks.end());
  return {{"game_fresh_unlocks", out}};
}

void writeSeeds(const std::filesystem::path& folder, const std::string& target, const Seeds& seeds) {
  content::PackFiles files;
  for (const auto& [name, bytes] : seeds) {
    content::require(bytes.size() <= kMaxInput, target + " seed " + name, "larger than the target reads");
    files["content_" + name] = bytes;
  }
  content::writePackFiles(folder / target, files);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: %s <corpus folder> [<rsc folder>]\n", argv[0]);
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  try {
    Seeds packs = simplePacks();
    Seeds chunked = chunkedPacks();
    if (argc == 3) {
      BuiltPacks built = builtPacks(argv[2]);
      packs.insert(packs.end(), built.simple.begin(), built.simple.end());
      chunked.insert(chunked.end(), built.chunked.begin(), built.chunked.end());
    }
    writeSeeds(folder, "pack_index", packs);
    writeSeeds(folder, "pack_index_record", packs);
    writeSeeds(folder, "chunked_pack", chunked);
    writeSeeds(folder, "saved_progress", savedProgress());
    writeSeeds(folder, "record_store", recordStores());
    Seeds allLevels = levels();
    const Seeds game = gameLevels();
    allLevels.insert(allLevels.end(), game.begin(), game.end());
    writeSeeds(folder, "level_stream", allLevels);
    writeSeeds(folder, "level_loader", game);
    writeSeeds(folder, "anim_set", animationSets(false));
    writeSeeds(folder, "sprite_data", animationSets(true));
    writeSeeds(folder, "sprite_set", spriteSets());
    writeSeeds(folder, "glyph_font", glyphFonts());
    const Seeds images = pngs();
    writeSeeds(folder, "png_palette", images);
    writeSeeds(folder, "image_decode", images);
    writeSeeds(folder, "translation_table", textTables(false));
    writeSeeds(folder, "canvas_text_table", textTables(true));
    writeSeeds(folder, "wav_open", sounds());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
