// The game manifest's resources of this folder's kinds build through the
// content tool's builder with the game generators: the tables carry the
// sources' texts, the sounds are the committed loops byte for byte, and
// the glyph sets and sheets build.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "GameTexts.h"
#include "Manifest.h"
#include "ManifestBuilder.h"
#include "Music.h"
#include "TextTableWriter.h"

namespace {

const std::filesystem::path kGame = std::filesystem::path(JME_SOURCE_DIR) / "tools/content/game";

// The texts of a translation table resource: a 16-bit count, then per
// text a 16-bit length and its UTF-8 bytes.
std::vector<std::string> tableTexts(const content::Bytes& b) {
  std::vector<std::string> texts;
  size_t at = 2;
  const int count = (b.at(0) << 8) | b.at(1);
  for (int i = 0; i < count; ++i) {
    const size_t length = (b.at(at) << 8) | b.at(at + 1);
    at += 2;
    EXPECT_LE(at + length, b.size());
    texts.emplace_back(b.begin() + at, b.begin() + at + length);
    at += length;
  }
  EXPECT_EQ(at, b.size());
  return texts;
}

TEST(ManifestBuild, TablesCarryTheSourcesTexts) {
  const content::Manifest manifest = content::readManifest(kGame / "manifest.txt");
  for (const auto& table : gamecontent::readTables(kGame)) {
    SCOPED_TRACE(table.source);
    const content::ManifestResource* r = manifest.find(table.resourceId);
    ASSERT_NE(r, nullptr);
    const auto texts = tableTexts(content::buildResource(manifest, *r));
    ASSERT_EQ(texts.size(), table.texts.size());
    for (size_t i = 0; i < texts.size(); ++i) {
      const content::Bytes utf8 = content::encodeText(table.texts[i], "text");
      EXPECT_EQ(texts[i], std::string(utf8.begin(), utf8.end())) << "text " << i;
    }
  }
}

TEST(ManifestBuild, SoundsAreTheCommittedLoops) {
  const content::Manifest manifest = content::readManifest(kGame / "manifest.txt");
  for (const auto& piece : gamecontent::musicPieces()) {
    const content::ManifestResource* r = manifest.find(piece.resourceId);
    ASSERT_NE(r, nullptr) << piece.name;
    EXPECT_EQ(r->type, 1);
    std::ifstream in(kGame / "music" / (std::string(piece.name) + ".wav"), std::ios::binary);
    const content::Bytes wav(std::istreambuf_iterator<char>(in), {});
    EXPECT_EQ(content::buildResource(manifest, *r), wav) << piece.name;
  }
}

TEST(ManifestBuild, EveryResourceBuilds) {
  const content::Manifest manifest = content::readManifest(kGame / "manifest.txt");
  ASSERT_FALSE(manifest.resources().empty());
  for (const content::ManifestResource* r : manifest.resources()) {
    EXPECT_NO_THROW(EXPECT_FALSE(content::buildResource(manifest, *r).empty()) << r->name()) << r->name();
  }
}

}  // namespace
