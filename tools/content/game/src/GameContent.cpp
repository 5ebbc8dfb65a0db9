#include "GameContent.h"

#include <cstdio>
#include <fstream>
#include <iterator>

#include "ContentError.h"
#include "GameTexts.h"
#include "GlyphSets.h"
#include "GlyphFontWriter.h"
#include "PngWriter.h"

namespace gamecontent {

std::string resourceFileName(int id, const char* extension) {
  char name[32];
  std::snprintf(name, sizeof name, "%x.%s", id, extension);
  return name;
}

GeneratedFiles generateAll(const std::filesystem::path& folder) {
  GeneratedFiles files;
  const std::vector<TextTable> tables = readTables(folder);
  for (const TextTable& t : tables) files[resourceFileName(t.resourceId, "bin")] = tableResource(t);
  const std::set<char16_t> codes = glyphCodes(tables);
  for (const GlyphSetSource& s : glyphSetSources()) {
    const BuiltGlyphSet built = buildGlyphSet(folder / "fonts" / s.font, codes, s.sheetIndex, s.style);
    files[resourceFileName(s.resourceId, "bin")] = content::writeGlyphFont(built.font);
    files[resourceFileName((s.resourceId & ~0x3FF) | s.sheetIndex, "png")] = content::writePng(built.sheet);
  }
  return files;
}

void writeFiles(const std::filesystem::path& out, const GeneratedFiles& files) {
  std::filesystem::create_directories(out);
  for (const auto& [name, bytes] : files) {
    const std::filesystem::path path = out / name;
    std::ifstream old(path, std::ios::binary);
    if (old && content::Bytes(std::istreambuf_iterator<char>(old), {}) == bytes) continue;
    old.close();
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    content::require(file.good(), path.string(), "cannot be written");
  }
}

}  // namespace gamecontent
