// Chunked packs: which pack numbers are chunked, the header and chunk
// messages, split data over part files, the virtual file table, chunk
// records written and read back, one table of broken files (each leaves the
// pack current without tables, and the next pack still loads), and the
// extension section.

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "JavaTestSupport.h"
#include "PackFixtures.h"
#include "SimplePackWriter.h"
#include "VMJava.h"
#include "VMTestEnv.h"
#include "java_io_IOException.h"
#include "java_lang_ArrayIndexOutOfBoundsException.h"
#include "java_lang_RuntimeException.h"
#include "tq_Resources.h"
#include "tq_io_resource_Chunk.h"
#include "tq_io_resource_ChunkVirtualFileSystemOrganization.h"
#include "tq_io_resource_ResourcePackChunked.h"

using namespace pack_fixtures;
using tq::Resources;
using tq::io::resource::Chunk;
using tq::io::resource::ChunkVirtualFileSystemOrganization;
using tq::io::resource::ResourcePack;
using tq::io::resource::ResourcePackChunked;

namespace {

VMPtr<ResourcePackChunked> newPack() {
  VMPtr<ResourcePackChunked> p = ResourcePackChunked::_VM_new();
  p->_VM_init();
  return p;
}

std::string text(const VMPtr<java::lang::String>& s) { return java_test::show(java_test::text(s)); }

// The message of the RuntimeException that opening `pack` throws.
std::string openFailure(const VMPtr<ResourcePackChunked>& p, int32_t pack) {
  return java_test::thrownMessage<java::lang::RuntimeException>([&] { p->openPack(pack); });
}

const Bytes kIndex = content::writePackIndex({{1, {1, 2, 3}}, {-3, {4, 5}}});

TEST(ChunkedPack, WhichPacksAreChunked) {
  VMTestEnv::start();
  const std::set<int32_t> chunked = {1, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 14, 15, 18, 19};
  for (int32_t p = -1; p <= 40; ++p) EXPECT_EQ(ResourcePackChunked::isChunked(p), chunked.count(p) == 1) << p;
}

TEST(ChunkedPack, HeaderAndChunkMessages) {
  ProgramFolder folder;
  VMTestEnv::start();
  VMPtr<ResourcePackChunked> p = newPack();
  struct Case {
    const char* what;
    Bytes file;
    std::string message;
  };
  const Bytes split = chunk("FSLM", splitMapBody(0, {}));
  const std::vector<Case> cases = {
      {"marker", cat({{'A', 'B', 'C', 'D', 0, 4, 0, 0}}),
       "java.io.IOException: Invalid chunked RP file marker, expecting '%PR%' instead of 'DCBA'"},
      {"version", chunkedFile({}, 3), "java.io.IOException: Invalid RP version, expecting '4' instead of '\\u0003'"},
      {"unknown chunk", chunkedFile({chunk("XYZW", {})}), "java.io.IOException: Unknown RP chunk id 'WZYX'"},
      {"no index", chunkedFile({split}), "java.io.IOException: Missing RP chunk 'eHPR'"},
      {"no data", chunkedFile({chunk("RPHe", content::writePackIndex({}))}),
       "java.io.IOException: Missing RP chunk 'MLSF'"},
      {"cut short", Bytes{'%', 'R', 'P', '%', 0}, "java.io.EOFException"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    folder.put("RP3.rp", c.file);
    EXPECT_EQ(openFailure(p, 3), c.message);
    EXPECT_FALSE(p->sizes);
  }
  folder.remove("RP3.rp");
  EXPECT_EQ(openFailure(p, 3), "java.io.IOException: /RP3.rp");
  // A version of 4 with no chunks passes the header, then misses the index.
  folder.put("RP3.rp", Bytes{0x25, 0x52, 0x50, 0x25, 0, 4, 0, 0});
  EXPECT_EQ(openFailure(p, 3), "java.io.IOException: Missing RP chunk 'eHPR'");
}

TEST(ChunkedPack, SplitDataIsThePartsBackToBack) {
  ProgramFolder folder;
  VMTestEnv::start();
  Bytes part1(10), part2(20);
  for (int i = 0; i < 10; ++i) part1[i] = static_cast<uint8_t>(i);
  for (int i = 0; i < 20; ++i) part2[i] = static_cast<uint8_t>(100 + i);
  const Bytes index = content::writePackIndex({{4, Bytes(12)}, {5, Bytes(18)}});
  // Chunks in any order; the first chunk of an id counts.
  folder.put("RP3.rp", chunkedFile({chunk("FSLM", splitMapBody(30, {10, 20})), chunk("RPHe", index, 77),
                                    chunk("RPHe", kIndex)}));
  folder.put("RP3part1.rp", part1);
  folder.put("RP3part2.rp", cat({part2, {0xEE, 0xEE}}));  // longer than its share
  EXPECT_EQ(Resources::getSize(3 * 1024 + 1), 18);
  EXPECT_EQ(Resources::getType(3 * 1024), 4);
  EXPECT_EQ(nativeBytes(Resources::getDataArray(3 * 1024)), cat({part1, part2}));
  EXPECT_EQ(Resources::getOffset(3 * 1024 + 1), 12);
  EXPECT_EQ(nativeBytes(Resources::getBytes(3 * 1024 + 1)), Bytes(part2.begin() + 2, part2.end()));
  EXPECT_FALSE(Resources::currentPack()->getResourceFileName(3 * 1024));
}

TEST(ChunkedPack, FileTableNamesAndOffsets) {
  ProgramFolder folder;
  VMTestEnv::start();
  const Bytes index = content::writePackIndex({{0, Bytes(3)}, {0, Bytes(4)}, {0, Bytes(2)}, {0, Bytes(1)}});
  folder.put("RP18.rp", chunkedFile({chunk("RPHe", index),
                                     chunk("VFSO", fileTableBody({{0, 3, 0, 11}, {13, 1, 100, 12}, {99, 1, 2, 13},
                                                                  {-3, 65535, 0, 14}},
                                                                 0xC0FFEE))}));
  Bytes part1(104);
  for (size_t i = 0; i < part1.size(); ++i) part1[i] = static_cast<uint8_t>(i);
  folder.put("RP18part3.mid", {'M', 'T', 'h'});
  folder.put("RP18part1.rp", part1);
  const int32_t base = 18 * 1024;
  VMPtr<ResourcePack> pack = Resources::currentPack();
  EXPECT_EQ(text(pack->getResourceFileName(base)), "/RP18part3.mid");
  EXPECT_EQ(text(pack->getResourceFileName(base + 1)), "/RP18part1.rp");
  EXPECT_EQ(text(pack->getResourceFileName(base + 2)), "/RP18part1.rp");
  EXPECT_EQ(text(pack->getResourceFileName(base + 3)), "/RP18part65535.png");
  EXPECT_EQ(nativeBytes(Resources::getBytes(base)), (Bytes{'M', 'T', 'h'}));
  EXPECT_EQ(nativeBytes(Resources::getBytes(base + 1)), (Bytes{100, 101, 102, 103}));
  EXPECT_EQ(nativeBytes(Resources::getBytes(base + 2)), (Bytes{2, 3}));
  EXPECT_EQ(Resources::getOffset(base + 1), 0);
  VMPtr<java::io::DataInputStream> s = Resources::getStream(base + 1);
  EXPECT_EQ(s->read(), 100);
  // A resource whose part file is missing fails to its caller.
  EXPECT_EQ(java_test::thrownMessage<java::lang::RuntimeException>([&] { Resources::getBytes(base + 3); }),
            "java.io.IOException: /RP18part65535.png");
  // An id past the tables: the array exception naming it, from the file
  // table's image path too.
  const std::function<void()> pastTheTables[] = {[&] { Resources::getImage(base + 4); },
                                                 [&] { Resources::getBytes(base + 4); },
                                                 [&] { Resources::getStream(base + 4); },
                                                 [&] { Resources::getOffset(base + 4); }};
  for (const auto& lookup : pastTheTables) {
    EXPECT_EQ(java_test::thrownMessage<java::lang::ArrayIndexOutOfBoundsException>(lookup),
              "no resource " + std::to_string(base + 4) + " in pack 18");
  }

  VMPtr<ResourcePackChunked> chunked = _VM_cast<ResourcePackChunked>(pack);
  VMPtr<ChunkVirtualFileSystemOrganization> vfso(chunked->fileTable);
  EXPECT_EQ(vfso->getHeaderValue(), 0xC0FFEE);
  EXPECT_EQ(vfso->getEntryCount(), 4);
  EXPECT_EQ(vfso->getFileType(base + 3), -3);
  EXPECT_EQ(vfso->getEntryValue(2), 13);
  EXPECT_EQ(vfso->getFileOffset(1), 100);
  EXPECT_EQ(vfso->getPart(0x400 | 3), 65535);
  EXPECT_FALSE(chunked->chunks);  // kept only while the pack is opened
}

TEST(ChunkedPack, FileTypeTable) {
  VMTestEnv::start();
  VMPtr<tq::util::IntHashtable> types = ChunkVirtualFileSystemOrganization::getFileTypes();
  EXPECT_EQ(types->size(), 34);
  EXPECT_EQ(types.get(), ChunkVirtualFileSystemOrganization::getFileTypes().get());
  EXPECT_EQ(VMPtr<tq::util::IntHashtable::Buckets>(types->table)->length, 128);
  struct Case {
    int32_t key;
    const char* extension;
  };
  for (const Case& c : {Case{0, "mid"}, Case{1, "wav"}, Case{14, "3gp"}, Case{23, "wbxml"}, Case{28, "m4a"},
                        Case{-1, "rp"}, Case{-3, "png"}, Case{-4, "jpg"}, Case{-6, "utf"}, Case{-7, "txt"},
                        Case{-12, "rp"}}) {
    EXPECT_EQ(text(_VM_cast<java::lang::String>(types->get(c.key))), c.extension) << c.key;
  }
  for (int32_t absent : {13, -2, -5, -8, -9, -10, -11, 29, 99}) EXPECT_FALSE(types->containsKey(absent)) << absent;
}

TEST(ChunkedPack, ChunksWriteAndReadBack) {
  VMTestEnv::start();
  VMPtr<Chunk> c = Chunk::_VM_new();
  c->_VM_init(Chunk::kSplitMap);
  EXPECT_EQ(c->getValue(), 1);
  c->setValue(-7);
  c->getOutput()->writeInt(0x01020304);
  c->getOutput()->write(9);
  const Bytes record = nativeBytes(c->toByteArray());
  EXPECT_EQ(record, chunk("FSLM", {1, 2, 3, 4, 9}, static_cast<uint32_t>(-7)));
  VMPtr<Chunk> back = Chunk::read(Resources::openStream(javaBytes(record), 0, static_cast<int32_t>(record.size())));
  EXPECT_TRUE(back->isId(Chunk::kSplitMap));
  EXPECT_EQ(back->getValue(), -7);
  EXPECT_EQ(back->getDataSize(), 5);
  EXPECT_EQ(nativeBytes(back->getData()), (Bytes{1, 2, 3, 4, 9}));
  EXPECT_EQ(text(Chunk::idToString(Chunk::kIndex)), "eHPR");

  const Bytes table = chunk("VFSO", fileTableBody({{1, 2, 3, 4}}, 5));
  VMPtr<Chunk> read = Chunk::read(Resources::openStream(javaBytes(table), 0, static_cast<int32_t>(table.size())));
  VMPtr<ChunkVirtualFileSystemOrganization> vfso = _VM_cast<ChunkVirtualFileSystemOrganization>(read);
  EXPECT_EQ(vfso->getPart(0), 2);
  EXPECT_EQ(text(vfso->getExtension(0)), "wav");
  EXPECT_EQ(nativeBytes(vfso->toByteArray()), table);
}

// Each broken file leaves pack 3 current without tables; pack 20 loads.
TEST(ChunkedPack, BrokenFilesLeaveNoTables) {
  ProgramFolder folder;
  VMTestEnv::start();
  folder.put("RP20.rp", content::writeSimplePack({{9, {42}}}));
  folder.put("RP3part1.rp", Bytes(5, 1));
  const Bytes index = content::writePackIndex({{0, Bytes(2)}, {0, Bytes(3)}});
  const Bytes rphe = chunk("RPHe", index);
  Bytes negativeLength = chunk("RPHe", index);
  negativeLength[4] = 0x80;
  Bytes pastFile = chunk("RPHe", index);
  pastFile[7] += 1;
  Bytes badIndex = chunk("RPHe", Bytes(index.begin(), index.begin() + 5));
  Bytes hugeTableCount = chunk("VFSO", fileTableBody({{0, 1, 0}, {0, 1, 0}}));
  hugeTableCount[12 + 4] = 0x10;
  Bytes negativeTableCount = chunk("VFSO", fileTableBody({{0, 1, 0}, {0, 1, 0}}));
  negativeTableCount[12 + 4] = 0xFF;
  struct Case {
    const char* what;
    Bytes file;
  };
  const std::vector<Case> cases = {
      {"good", chunkedFile({rphe, chunk("FSLM", splitMapBody(5, {5}))})},
      {"negative chunk length", chunkedFile({negativeLength, chunk("FSLM", splitMapBody(5, {5}))})},
      {"chunk past the file", chunkedFile({pastFile})},
      {"fewer chunks than counted", cat({chunkedFile({rphe}), {}})},
      {"damaged index", chunkedFile({badIndex, chunk("FSLM", splitMapBody(5, {5}))})},
      {"file table shorter than the index", chunkedFile({rphe, chunk("VFSO", fileTableBody({{0, 1, 0}}))})},
      {"file table count past its body", chunkedFile({rphe, hugeTableCount})},
      {"negative file table count", chunkedFile({rphe, negativeTableCount})},
      {"parts not adding up to the total", chunkedFile({rphe, chunk("FSLM", splitMapBody(6, {5}))})},
      {"negative part size", chunkedFile({rphe, chunk("FSLM", splitMapBody(0, {5, 0xFFFFFFFB}))})},
      {"negative total", chunkedFile({rphe, chunk("FSLM", splitMapBody(0xFFFFFFFF, {}))})},
      {"part count past the map", chunkedFile({rphe, chunk("FSLM", Bytes{0, 0, 0, 5, 0, 0, 0, 2, 0, 0, 0, 5})})},
      {"index sizes past the total", chunkedFile({rphe, chunk("FSLM", splitMapBody(4, {4}))})},
      {"part file missing", chunkedFile({rphe, chunk("FSLM", splitMapBody(6, {5, 1}))})},
      {"part file short", chunkedFile({rphe, chunk("FSLM", splitMapBody(6, {6}))})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    folder.put("RP3.rp", c.file);
    const bool good = std::string(c.what) == "good";
    if (good) {
      EXPECT_EQ(Resources::getSize(3 * 1024 + 1), 3);
    } else {
      EXPECT_EQ(java_test::thrownMessage<java::lang::RuntimeException>([&] { Resources::getSize(3 * 1024 + 1); }),
                "no resource pack");
      VMPtr<ResourcePack> pack = Resources::currentPack();
      EXPECT_FALSE(pack->sizes || pack->types || pack->data);
      EXPECT_FALSE(_VM_cast<ResourcePackChunked>(pack)->fileTable);
    }
    EXPECT_EQ(ResourcePack::currentPack, 3);
    EXPECT_EQ(nativeBytes(Resources::getBytes(0x5000)), Bytes{42});
  }
}

TEST(ChunkedPack, ExtensionSection) {
  VMTestEnv::start();
  VMPtr<ResourcePackChunked> p = newPack();
  const Bytes index = content::writeSimplePack({{0, {1}}, {0, {2}}, {0, {3}}});
  ASSERT_TRUE(p->loadIndex(Resources::openStream(javaBytes(index), 0, static_cast<int32_t>(index.size())), 0));
  EXPECT_EQ(p->getExtensionSize(1), -1);
  EXPECT_FALSE(p->getExtensionBytes(1));
  EXPECT_FALSE(p->getExtensionStream(1));
  EXPECT_FALSE(p->hasExtension());

  const Bytes section = {0, 2, 0, 0, 0, 1, 0xAA, 0xBB, 0xCC};
  p->readExtension(Resources::openStream(javaBytes(section), 0, 9));
  EXPECT_TRUE(p->hasExtension());
  EXPECT_EQ(nativeBytes(p->getExtensionBytes(0)), (Bytes{0xAA, 0xBB}));
  VMPtr<VMArray<int8_t>> empty = p->getExtensionBytes(1);
  ASSERT_TRUE(empty);
  EXPECT_EQ(empty->length, 0);
  EXPECT_EQ(p->getExtensionSize(1), 0);
  EXPECT_EQ(p->getExtensionStream(2)->read(), 0xCC);
  EXPECT_EQ(p->getExtensionOffset(2), 2);

  // FF FF is 65535, not -1.
  const Bytes large = cat({{0xFF, 0xFF, 0, 0, 0, 0}, Bytes(65535, 7)});
  p->readExtension(Resources::openStream(javaBytes(large), 0, static_cast<int32_t>(large.size())));
  EXPECT_EQ(p->getExtensionSize(0), 65535);
  // Sizes that promise more than the stream holds are refused.
  const Bytes cut = {0xFF, 0xFF, 0, 0, 0, 0, 1, 2};
  java_test::thrownMessage<java::io::IOException>(
      [&] { p->readExtension(Resources::openStream(javaBytes(cut), 0, 8)); });
  p->unload();
  EXPECT_FALSE(p->hasExtension());
}

}  // namespace
