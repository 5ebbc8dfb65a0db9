#include "ManifestBuilder.h"

#include <regex>

#include "BmpReader.h"
#include "ChunkedPackWriter.h"
#include "ContentError.h"
#include "ContentGenerators.h"
#include "Descriptions.h"
#include "TextTableWriter.h"

namespace content {

namespace {

// The content of a file source, read as its kind describes.
GeneratedContent readSource(const Manifest& manifest, const ManifestResource& r) {
  const std::filesystem::path path = manifest.sourceOf(r);
  switch (r.kind) {
    case ResourceKind::SpriteSet:
      return readSpriteDescription(DescriptionFile::read(path));
    case ResourceKind::AnimationSet:
      return readAnimationDescription(DescriptionFile::read(path));
    case ResourceKind::GlyphSet:
      return readGlyphDescription(DescriptionFile::read(path));
    case ResourceKind::Level:
      return readLevelDescription(DescriptionFile::read(path));
    case ResourceKind::TranslationTable:
    case ResourceKind::CanvasTextTable:
      return readTextFile(readFileBytes(path), path.string());
    case ResourceKind::Image: {
      const std::string ext = path.extension().string();
      if (ext == ".png" || ext == ".PNG") return readFileBytes(path);
      require(ext == ".bmp" || ext == ".BMP", path.string(), "an image source is a .png or a .bmp file");
      std::optional<int> transparent;
      if (r.options.count("transparent")) transparent = std::stoi(r.options.at("transparent"), nullptr, 0);
      auto image = readBmp(readFileBytes(path), path.string(), transparent);
      if (auto* rgba = std::get_if<RgbaImage>(&image)) return *rgba;
      return std::get<IndexedImage>(image);
    }
    case ResourceKind::Sound:
    case ResourceKind::Raw:
      return readFileBytes(path);
  }
  return Bytes{};
}

Bytes spriteSetBytes(const ManifestResource& r, SpriteSet set) {
  set.sheet = static_cast<uint16_t>(*r.sheet);
  for (int i : r.empty) require(static_cast<size_t>(i) < set.sprites.size(), "empty=" + std::to_string(i), "names no sprite of the set");
  for (size_t i = 0; i < set.sprites.size(); ++i) set.sprites[i].empty = r.empty.count(static_cast<int>(i)) != 0;
  return writeSpriteSet(set);
}

Bytes glyphSetBytes(const ManifestResource& r, GlyphFont font) {
  font.sheet = static_cast<uint16_t>(*r.sheet);
  std::set<int> named;
  for (Glyph& g : font.glyphs) {
    g.empty = r.empty.count(g.code) != 0;
    named.insert(g.code);
  }
  for (int code : r.empty) require(named.count(code) != 0, "empty=" + std::to_string(code), "names no glyph of the font");
  return writeGlyphFont(font);
}

void requireWidths(const LevelFields& fields, const std::vector<int>& widths, const std::string& item) {
  bool same = fields.size() == widths.size();
  for (size_t i = 0; same && i < fields.size(); ++i) same = fields[i].bits == widths[i];
  require(same, item, "its fields are not the widths the manifest declares");
}

Bytes levelBytes(const ManifestResource& r, const Level& level) {
  if (level.header && r.options.count("header-fields")) requireWidths(level.header->fields, r.headerFields, "header");
  if (level.entities) {
    for (size_t g = 0; g < level.entities->groups.size(); ++g) {
      const LevelEntityGroup& group = level.entities->groups[g];
      const bool declared = r.options.count("entity-fields") || r.entityFieldsByType.count(group.type);
      for (size_t e = 0; declared && e < group.entities.size(); ++e) {
        requireWidths(group.entities[e].fields, r.fieldsOfEntity(group.type),
                      itemName("entity group", g) + ", " + itemName("entity", e));
      }
    }
  }
  return writeLevel(level);
}

// The bytes of generated or read content, through the kind's writer.
Bytes write(const ManifestResource& r, GeneratedContent content) {
  const std::string kind = kindName(r.kind);
  auto expect = [&](auto* value) {
    require(value != nullptr, "source", "gives content that is no " + kind);
    return value;
  };
  switch (r.kind) {
    case ResourceKind::SpriteSet:
      return spriteSetBytes(r, *expect(std::get_if<SpriteSet>(&content)));
    case ResourceKind::GlyphSet:
      return glyphSetBytes(r, *expect(std::get_if<GlyphFont>(&content)));
    case ResourceKind::AnimationSet:
      return writeAnimationSet(*expect(std::get_if<AnimationSet>(&content)), r.spriteData);
    case ResourceKind::Level:
      return levelBytes(r, *expect(std::get_if<Level>(&content)));
    case ResourceKind::TranslationTable:
      return writeTranslationTable(*expect(std::get_if<Texts>(&content)));
    case ResourceKind::CanvasTextTable:
      return writeCanvasTextTable(*expect(std::get_if<Texts>(&content)));
    case ResourceKind::Image:
      if (auto* rgba = std::get_if<RgbaImage>(&content)) return writePng(*rgba);
      if (auto* indexed = std::get_if<IndexedImage>(&content)) return writePng(*indexed);
      return *expect(std::get_if<Bytes>(&content));
    case ResourceKind::Sound:
      if (auto* sound = std::get_if<PcmSound>(&content)) return writeWav(*sound);
      return *expect(std::get_if<Bytes>(&content));
    case ResourceKind::Raw:
      return *expect(std::get_if<Bytes>(&content));
  }
  return {};
}

}  // namespace

Bytes buildResource(const Manifest& manifest, const ManifestResource& r) {
  try {
    if (!r.generator.empty()) {
      ContentGenerator generator = findContentGenerator(r.generator);
      require(generator != nullptr, "gen:" + r.generator, "no generator of that name is registered in the tool");
      return write(r, generator(r));
    }
    return write(r, readSource(manifest, r));
  } catch (const ContentError& e) {
    throw ContentError(r.where + ": " + r.name(), e.what());
  }
}

std::map<int, PackFiles> buildPacks(const Manifest& manifest) {
  std::map<int, PackFiles> packs;
  for (const ManifestPack& pack : manifest.packs) {
    std::vector<PackResource> resources(static_cast<size_t>(pack.count()), PackResource{-1, {}});
    for (const ManifestResource& r : pack.resources) {
      resources[static_cast<size_t>(r.index)] = {static_cast<int8_t>(r.type), buildResource(manifest, r)};
    }
    try {
      switch (pack.layout) {
        case ManifestPack::Layout::Simple:
          packs[pack.number] = simplePackFiles(pack.number, resources);
          break;
        case ManifestPack::Layout::Split:
          packs[pack.number] = writeChunkedPack(pack.number, resources, ChunkedPackLayout::split(pack.parts, pack.indexFirst));
          break;
        case ManifestPack::Layout::Files: {
          std::vector<int8_t> types;
          for (const PackResource& resource : resources) types.push_back(resource.type);
          packs[pack.number] = writeChunkedPack(pack.number, resources, ChunkedPackLayout::fileTable(types, pack.indexFirst));
          break;
        }
      }
    } catch (const ContentError& e) {
      throw ContentError(pack.where + ": pack " + std::to_string(pack.number), e.what());
    }
  }
  return packs;
}

void buildResourceFolder(const Manifest& manifest, const std::filesystem::path& folder) {
  const std::map<int, PackFiles> packs = buildPacks(manifest);
  std::error_code error;
  if (std::filesystem::is_symlink(folder)) std::filesystem::remove(folder, error);
  require(!error, folder.string(), "its link cannot be replaced: " + error.message());
  std::filesystem::create_directories(folder, error);
  require(!error, folder.string(), "cannot be created: " + error.message());
  static const std::regex kPackFile("RP[0-9]+(part[0-9]+)?\\.[A-Za-z0-9]+");
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (entry.is_regular_file() && std::regex_match(name, kPackFile)) std::filesystem::remove(entry.path());
  }
  for (const auto& [number, files] : packs) writePackFiles(folder, files);
}

}  // namespace content
