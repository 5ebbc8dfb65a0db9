// Packs written by the pack writers and read by the engine's pack: simple
// packs of both size widths, from their file and from memory, byte for byte
// what the engine's own pack saver builds; chunked packs with split data
// over m part files and with a file table, each with the index chunk before
// and after the data chunk; the extension section after an index. Every
// resource's size, type, offset and bytes are compared, from an empty pack
// to one of 1024 resources.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ChunkedPackWriter.h"
#include "ContentFixtures.h"
#include "JavaTestSupport.h"
#include "PackExtensionWriter.h"
#include "PackFixtures.h"
#include "RoundTrip.h"
#include "SimplePackWriter.h"
#include "VMJava.h"
#include "VMTestEnv.h"
#include "tq_Resources.h"
#include "tq_io_resource_ChunkVirtualFileSystemOrganization.h"
#include "tq_io_resource_ResourcePackChunked.h"

using content::ChunkedPackLayout;
using content::PackResource;
using contentrt::Bytes;
using contentrt::caseName;
using tq::Resources;
using tq::io::resource::ResourcePackChunked;

namespace {

using Resources_ = std::vector<PackResource>;

// `n` resources of sizes 0, 1, 2, ... (modulo 7) and types cycling through
// the signed byte range.
Resources_ numbered(size_t n) {
  Resources_ out;
  for (size_t i = 0; i < n; ++i) {
    Bytes bytes(i % 7);
    for (size_t k = 0; k < bytes.size(); ++k) bytes[k] = static_cast<uint8_t>(i * 31 + k);
    out.push_back({static_cast<int8_t>(static_cast<int>(i * 37 % 256) - 128), bytes});
  }
  return out;
}

// The packs every layout is tried with.
struct PackCase {
  std::string what;
  Resources_ resources;
};

std::vector<PackCase> packCases() {
  Bytes large(70000);
  for (size_t i = 0; i < large.size(); ++i) large[i] = static_cast<uint8_t>(i * 7);
  return {
      {"empty", {}},
      {"one empty resource", {{0, {}}}},
      {"types -128, -1, 0, 1, 127", {{-128, {1}}, {-1, {2, 3}}, {0, {}}, {1, {4}}, {127, {5, 6, 7}}}},
      {"two bytes, fewer than some part counts", {{1, {1}}, {2, {}}, {3, {2}}}},
      {"a resource of 65535 bytes", {{4, Bytes(65535, 0xA5)}}},
      {"a resource past 65535 bytes", {{5, {9}}, {6, large}, {7, {8}}}},
      {"the fixture's image, sound and empty resource", content::fixtures::packResources()},
      {"1024 resources", numbered(1024)},
  };
}

// Every resource of pack `pack` (0: the pack loaded from memory) read
// through Resources against what was written; `splitData` packs keep all
// data in one array at running offsets.
void expectResources(int32_t pack, const Resources_& resources, bool singleFile, const std::string& what) {
  SCOPED_TRACE(what);
  const int32_t base = pack << 10;
  if (pack != 0) Resources::currentPack()->ensurePack(base);  // also a pack without resources
  int32_t offset = 0;
  for (size_t i = 0; i < resources.size(); ++i) {
    const int32_t id = base + static_cast<int32_t>(i);
    const PackResource& r = resources[i];
    const auto size = static_cast<int32_t>(r.bytes.size());
    ASSERT_EQ(Resources::getSize(id), size) << caseName("resource", i);
    EXPECT_EQ(Resources::getType(id), r.type) << caseName("resource", i);
    EXPECT_EQ(contentrt::bytesOf(id), r.bytes) << caseName("resource", i);
    EXPECT_EQ(Resources::getOffset(id), singleFile ? offset : 0) << caseName("resource", i);
    EXPECT_EQ(Resources::getStream(id)->available(), size) << caseName("resource", i);
    offset += size;
  }
  VMPtr<tq::io::resource::ResourcePack> current = Resources::currentPack();
  ASSERT_TRUE(current->sizes);
  EXPECT_EQ(VMPtr<VMArray<int32_t>>(current->sizes)->length, static_cast<int32_t>(resources.size()));
  EXPECT_EQ(current->singleFile, singleFile);
}

TEST(PackRoundTrip, SimplePacksAreWhatTheEngineSaverBuilds) {
  VMTestEnv::start();
  for (const PackCase& c : packCases()) {
    VMPtr<VMArray<int8_t, 2>> items = VMArray<int8_t, 2>::createMulti(1, static_cast<int32_t>(c.resources.size()));
    VMPtr<VMArray<int8_t>> types = VMArray<int8_t>::create(static_cast<int32_t>(c.resources.size()));
    for (size_t i = 0; i < c.resources.size(); ++i) {
      items->set(static_cast<int32_t>(i), pack_fixtures::javaBytes(c.resources[i].bytes));
      types->at(static_cast<int32_t>(i)) = c.resources[i].type;
    }
    EXPECT_EQ(pack_fixtures::nativeBytes(Resources::buildPack(items, types)), content::writeSimplePack(c.resources))
        << c.what;
  }
}

TEST(PackRoundTrip, SimplePacksReadBackFromTheirFileAndFromMemory) {
  pack_fixtures::ProgramFolder folder;
  VMTestEnv::start();
  for (const PackCase& c : packCases()) {
    for (bool twoByteSizes : {false, true}) {
      bool fits = true;
      for (const PackResource& r : c.resources) fits = fits && r.bytes.size() <= 0xFFFF;
      if (twoByteSizes && !fits) continue;
      const std::string what = c.what + (twoByteSizes ? ", 2-byte sizes" : ", 4-byte sizes");
      const Bytes image = content::writeSimplePack(c.resources, twoByteSizes);
      // Packs 20 and the highest number from their files, then the same
      // image from memory.
      for (int32_t pack : {20, 0x1FFFFF}) {
        folder.put(content::packFileName(pack), image);
        Resources::closePack();
        expectResources(pack, c.resources, true, what + ", from " + content::packFileName(pack));
      }
      VMPtr<VMArray<int8_t>> data = pack_fixtures::javaBytes(image);
      ASSERT_TRUE(Resources::loadIndex(Resources::openStream(data, 0, data->length))) << what;
      expectResources(0, c.resources, true, what + ", from memory");
    }
  }
  // The files the writer names are the ones the engine opens.
  const content::fixtures::PackFixture fixture = content::fixtures::simplePack(2);
  contentrt::putFiles(folder, fixture.files);
  Resources::closePack();
  expectResources(2, fixture.resources, true, "simple pack fixture");
}

// Chunked layouts: split data over m part files and file tables, each with
// the index chunk first and last.
struct Layout {
  std::string what;
  ChunkedPackLayout layout;
};

std::vector<Layout> layoutsFor(const Resources_& resources) {
  // File types -13 to 29 in turn: every type of the engine's table and
  // types it lacks, whose part files are ".rp" files.
  std::vector<int8_t> fileTypes;
  for (size_t i = 0; i < resources.size(); ++i) fileTypes.push_back(static_cast<int8_t>(static_cast<int>(i % 43) - 13));
  size_t total = 0;
  for (const PackResource& r : resources) total += r.bytes.size();
  std::vector<Layout> out;
  for (bool indexFirst : {true, false}) {
    const std::string order = indexFirst ? ", index chunk first" : ", index chunk last";
    for (int parts : {1, 2, 3, 7}) {
      if (total == 0) {
        out.push_back({"split over no part" + order, ChunkedPackLayout::split(0, indexFirst)});
        break;
      }
      out.push_back({"split over " + std::to_string(parts) + " parts" + order, ChunkedPackLayout::split(parts, indexFirst)});
    }
    out.push_back({"file table" + order, ChunkedPackLayout::fileTable(fileTypes, indexFirst)});
    out.push_back({"file table of default types" + order, ChunkedPackLayout::fileTable({}, indexFirst)});
  }
  return out;
}

TEST(PackRoundTrip, ChunkedPacksReadBackInEveryLayoutAndChunkOrder) {
  pack_fixtures::ProgramFolder folder;
  VMTestEnv::start();
  int32_t pack = 0;
  const int32_t kChunkedPacks[] = {1, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 14, 15, 18, 19};
  for (const PackCase& c : packCases()) {
    for (const Layout& l : layoutsFor(c.resources)) {
      // A pack number of its own for each, so no file of an earlier case
      // is read by mistake.
      const int32_t number = kChunkedPacks[pack++ % 15];
      std::filesystem::remove_all(folder.root() / "rsc");
      std::filesystem::create_directories(folder.root() / "rsc");
      const content::PackFiles files = content::writeChunkedPack(number, c.resources, l.layout);
      contentrt::putFiles(folder, files);
      Resources::closePack();
      const bool split = l.layout.data == ChunkedPackLayout::Data::Split;
      expectResources(number, c.resources, split, c.what + ", " + l.what);
      VMPtr<ResourcePackChunked> chunked = _VM_cast<ResourcePackChunked>(Resources::currentPack());
      if (split) {
        EXPECT_FALSE(chunked->fileTable);
        continue;
      }
      VMPtr<tq::io::resource::ChunkVirtualFileSystemOrganization> table(chunked->fileTable);
      ASSERT_TRUE(table) << c.what << ", " << l.what;
      EXPECT_EQ(table->getEntryCount(), static_cast<int32_t>(c.resources.size()));
      for (size_t i = 0; i < c.resources.size(); ++i) {
        const int32_t id = number << 10 | static_cast<int32_t>(i);
        const int8_t type = l.layout.fileTypes.empty() ? -1 : l.layout.fileTypes[i];
        const std::string name = content::packFileName(number, static_cast<int>(i), content::fileTypeExtension(type));
        EXPECT_EQ(java_test::text(chunked->getResourceFileName(id)), java_test::u16("/" + name));
        EXPECT_TRUE(files.count(name) == 1) << name;
        EXPECT_EQ(table->getFileType(id), type);
        EXPECT_EQ(table->getPart(id), static_cast<int32_t>(i));
        EXPECT_EQ(table->getFileOffset(id), 0);
      }
    }
  }
}

TEST(PackRoundTrip, FixturePacksOfBothKindsGiveTheSameResources) {
  pack_fixtures::ProgramFolder folder;
  VMTestEnv::start();
  struct Case {
    content::fixtures::PackFixture fixture;
    bool singleFile;
  };
  const Case cases[] = {{content::fixtures::simplePack(), true},
                        {content::fixtures::splitPack(), true},
                        {content::fixtures::splitPack(6, 3), true},
                        {content::fixtures::fileTablePack(), false}};
  const content::fixtures::ImageFixture image = content::fixtures::paletteImage();
  for (const Case& c : cases) {
    const int32_t pack = c.fixture.pack;
    contentrt::putFiles(folder, c.fixture.files);
    Resources::closePack();
    expectResources(pack, c.fixture.resources, c.singleFile, "fixture pack " + std::to_string(pack));
    // The image decodes the same from the data array and, in the file
    // table pack, straight from its part file.
    EXPECT_EQ(contentrt::surfaceColours(contentrt::pixels(Resources::getImage(pack << 10))),
              contentrt::surfaceColours(contentrt::regionOf(image.image, 0, 0, 4, 3)))
        << pack;
  }
}

// The extension section read after an index with its data, from one
// stream: sizes at the 16-bit edge, empty extensions and a resource past
// the last extension size.
TEST(PackRoundTrip, ExtensionsReadBackAfterTheirIndex) {
  VMTestEnv::start();
  Bytes longest(65535);
  for (size_t i = 0; i < longest.size(); ++i) longest[i] = static_cast<uint8_t>(i % 251);
  struct Case {
    std::string what;
    Resources_ resources;
    std::vector<Bytes> extensions;
  };
  const std::vector<Case> cases = {
      {"no resources", {}, {}},
      {"the three resources of the example", {{0, {1}}, {0, {2}}, {0, {3}}}, {{0xAA, 0xBB}, {}, {0xCC}}},
      {"an extension of 65535 bytes", {{1, {}}, {2, {7, 7}}}, {longest, {1, 2, 3}}},
      {"every extension empty", numbered(5), std::vector<Bytes>(5)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Bytes stream = content::writeSimplePack(c.resources);
    const Bytes extension = content::writePackExtension(c.extensions);
    stream.insert(stream.end(), extension.begin(), extension.end());
    VMPtr<VMArray<int8_t>> data = pack_fixtures::javaBytes(stream);
    VMPtr<java::io::DataInputStream> in = Resources::openStream(data, 0, data->length);
    ASSERT_TRUE(Resources::loadIndex(in));
    VMPtr<ResourcePackChunked> pack = _VM_cast<ResourcePackChunked>(Resources::currentPack());
    EXPECT_FALSE(pack->hasExtension());
    pack->readExtension(in);
    EXPECT_TRUE(pack->hasExtension());
    EXPECT_EQ(in->available(), 0);
    for (size_t i = 0; i < c.extensions.size(); ++i) {
      const auto id = static_cast<int32_t>(i);
      EXPECT_EQ(pack->getExtensionSize(id), static_cast<int32_t>(c.extensions[i].size())) << i;
      EXPECT_EQ(pack_fixtures::nativeBytes(pack->getExtensionBytes(id)), c.extensions[i]) << i;
      EXPECT_EQ(pack->getExtensionStream(id)->available(), static_cast<int32_t>(c.extensions[i].size())) << i;
    }
    expectResources(0, c.resources, true, c.what);
  }
}

}  // namespace
