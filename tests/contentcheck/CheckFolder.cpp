#include "CheckFolder.h"

#include <unistd.h>

#include <atomic>
#include <fstream>

#include "ChunkedPackWriter.h"
#include "ContentFixtures.h"
#include "Manifest.h"
#include "TextTableWriter.h"
#include "VMTestEnv.h"

namespace contentcheck {

using namespace content;

namespace {

std::string widths(const LevelFields& fields) {
  std::string text;
  for (const LevelField& f : fields) text += (text.empty() ? "" : ",") + std::to_string(f.bits);
  return text;
}

// The level fixture's field widths as manifest options.
std::string levelOptions(const Level& level) {
  std::string options = "header-fields=" + widths(level.header->fields);
  for (const LevelEntityGroup& g : level.entities->groups) {
    options += " entity-fields." + std::to_string(g.type) + "=" + widths(g.entities[0].fields);
  }
  return options;
}

}  // namespace

AnimationSet panelSet() {
  AnimationSet set;
  set.durations = {2};
  set.frames = {
      {{{0, 0, 0, 0}}, {{0, 0, 10, 4, false, 0}, {0, 6, 10, 4, false, 1}, {0, 12, 10, 4, true, 2}}},
      {{{4, 1, 1, 0}}, {{0, 0, 8, 8, false, 0}, {2, 2, 4, 4, false, 1}}},
  };
  set.animations = {{0, {{0, 0, 0, 0, 0, 0}}}, {-1, {{1, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}}}};
  return set;
}

CheckFolder soundFolder() {
  using namespace content::fixtures;
  CheckFolder f;
  f.packs = {{2, ""}, {5, "split 2"}, {18, "files"}, {20, ""}};
  const Level level = levelWithEveryBlock().level;
  const std::vector<Entry> entries = {
      {kImage, "image", "check=png-order", -3, paletteImage().png},
      {kSprites, "sprites", "sheet=0 empty=3 check=sizes,limits,png-order", -1, spriteSet(0).bytes},
      {kGlyphSheet, "image", "check=png-order", -3, eightGlyphFont(2).sheet.png},
      {kGlyphs, "glyphs", "sheet=2 empty=32 check=glyphs,sizes,limits,png-order", -1, eightGlyphFont(2).spriteSet},
      {kAnims, "anims", "sprites=1 check=limits,durations", -1, smallAnimationSet().bytes},
      {kLevel, "level", levelOptions(level) + " check=limits", -1, levelWithEveryBlock().bytes},
      {kTranslation, "translation", "check=limits", -1, translationTable16().bytes},
      {kTexts, "texts", "check=limits", -1, canvasTextTable().bytes},
      {kRaw, "raw", "type=7", 7, {1, 2, 3}},
      {kPanel, "anims", "sprites=2049 sprite-data check=limits,durations,box-types", -1,
       writeAnimationSet(panelSet(), true)},
      {kSplitTable, "translation", "check=limits", -1, translationTable32().bytes},
      {kSplitImage, "image", "check=png-order", -3, writePng(rgbaImage())},
      {kSound, "sound", "check=limits", 1, shortSound().wav},
      {kFileImage, "image", "check=png-order", -3, paletteImage().png},
      {kLonePack, "texts", "check=limits", -1, canvasTextTable().bytes},
  };
  for (const Entry& e : entries) f.entries[e.id] = e;
  return f;
}

std::string CheckFolder::manifest() const {
  std::string text = "# made by the contentcheck tests\n";
  for (const auto& [pack, settings] : packs) {
    text += "pack " + std::to_string(pack) + " " + settings + "\n";
    for (const auto& [id, e] : entries) {
      if (id >> 10 == pack) text += std::to_string(id & 0x3FF) + " " + e.kind + " unused-source " + e.options + "\n";
    }
  }
  return text;
}

void CheckFolder::write(const std::filesystem::path& folder) const {
  for (const auto& [pack, settings] : packs) {
    std::vector<PackResource> resources;
    for (const auto& [id, e] : entries) {
      if (id >> 10 != pack || !e.inPack) continue;
      resources.resize(static_cast<size_t>((id & 0x3FF) + 1), PackResource{-1, {}});
      resources[static_cast<size_t>(id & 0x3FF)] = {static_cast<int8_t>(e.type), e.bytes};
    }
    PackFiles files;
    if (settings.empty()) {
      files = simplePackFiles(pack, resources);
    } else if (settings == "split 2") {
      files = writeChunkedPack(pack, resources, ChunkedPackLayout::split(2));
    } else {
      std::vector<int8_t> types;
      for (const PackResource& r : resources) types.push_back(r.type);
      files = writeChunkedPack(pack, resources, ChunkedPackLayout::fileTable(types));
    }
    writePackFiles(folder, files);
  }
  for (const std::string& name : removed) std::filesystem::remove(folder / name);
}

std::vector<ContentFault> CheckFolder::check(const std::filesystem::path& root) const {
  write(root / "rsc");
  writeText(root / "manifest.txt", manifest());
  const Manifest m = readManifest(root / "manifest.txt");
  VMTestEnv::start();
  return ContentValidator(m, root / "rsc").run();
}

ScratchFolder::ScratchFolder() {
  static std::atomic<int> serial{0};
  path_ = std::filesystem::temp_directory_path() /
          ("jme-contentcheck-" + std::to_string(getpid()) + "-" + std::to_string(serial++));
  std::filesystem::remove_all(path_);
  std::filesystem::create_directories(path_);
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

void writeFile(const std::filesystem::path& path, const Bytes& bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void writeText(const std::filesystem::path& path, const std::string& text) { writeFile(path, Bytes(text.begin(), text.end())); }

}  // namespace contentcheck
