// The simple pack format: the saver's image byte for byte, reading it back
// (4- and 2-byte sizes, offsets, with and without data), one table of
// refused indexes, and the pack file names.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "JavaTestSupport.h"
#include "PackFixtures.h"
#include "SimplePackWriter.h"
#include "VMTestEnv.h"
#include "java_io_ByteArrayInputStream.h"
#include "java_lang_IllegalArgumentException.h"
#include "java_lang_RuntimeException.h"
#include "tq_Resources.h"
#include "tq_io_resource_ResourcePack.h"
#include "tq_io_resource_ResourcePackSaver.h"

using namespace pack_fixtures;
using tq::io::resource::ResourcePack;
using tq::io::resource::ResourcePackSaver;

namespace {

VMPtr<ResourcePack> newPack() {
  VMPtr<ResourcePack> p = ResourcePack::_VM_new();
  p->_VM_init();
  return p;
}

VMPtr<java::io::DataInputStream> over(const Bytes& b) { return tq::Resources::openStream(javaBytes(b), 0, static_cast<int32_t>(b.size())); }

VMPtr<VMArray<int8_t, 2>> arrays(const std::vector<Bytes>& items) {
  VMPtr<VMArray<int8_t, 2>> out = VMArray<int8_t, 2>::createMulti(1, static_cast<int32_t>(items.size()));
  for (size_t i = 0; i < items.size(); ++i) out->set(static_cast<int32_t>(i), javaBytes(items[i]));
  return out;
}

std::vector<int32_t> sizesOf(const VMPtr<ResourcePack>& p) {
  VMPtr<VMArray<int32_t>> s(p->sizes);
  return std::vector<int32_t>(s->elements(), s->elements() + s->length);
}

bool hasTables(const VMPtr<ResourcePack>& p) { return p->types || p->sizes || p->data; }

// Three resources of sizes 3, 0 and 2 and types 7, 9 and -2.
const std::vector<content::PackResource> kThree = {{7, {1, 2, 3}}, {9, {}}, {-2, {4, 5}}};

TEST(SimplePack, SaverWritesTheDocumentedImage) {
  VMTestEnv::start();
  const Bytes two = nativeBytes(ResourcePackSaver::build(arrays({{1, 2, 3}, {}}), javaBytes({7, 9})));
  EXPECT_EQ(two, (Bytes{0x41, 0, 2, 0, 0, 0, 3, 0, 0, 0, 0, 7, 9, 0, 0, 0, 3, 1, 2, 3}));
  EXPECT_EQ(nativeBytes(ResourcePackSaver::build(arrays({}), javaBytes({}))), (Bytes{0x41, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(content::writeSimplePack({{7, {1, 2, 3}}, {9, {}}}), two);  // the content writer agrees

  for (const Bytes& types : {Bytes{7}, Bytes{7, 9, 11}}) {
    java_test::thrownMessage<java::lang::IllegalArgumentException>(
        [&] { ResourcePackSaver::build(arrays({{1}, {2}}), javaBytes(types)); });
  }
}

TEST(SimplePack, ReadsBackSizesTypesDataAndOffsets) {
  VMTestEnv::start();
  struct Case {
    const char* what;
    Bytes image;
  };
  const std::vector<Case> cases = {
      {"flags 0x41", content::writeSimplePack(kThree)},
      {"flags 0x40: 2-byte sizes", content::writeSimplePack(kThree, true)},
      // Flags the writer does not write.
      {"flags 0x01", simplePack({{1, 2, 3}, {}, {4, 5}}, {7, 9, 0xFE}, 0x01)},
      {"flags 0x00: 2-byte sizes", simplePack({{1, 2, 3}, {}, {4, 5}}, {7, 9, 0xFE}, 0x00)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    VMPtr<ResourcePack> p = newPack();
    ASSERT_TRUE(p->loadIndex(over(c.image), 0));
    EXPECT_EQ(ResourcePack::currentPack, 0);
    EXPECT_EQ(sizesOf(p), (std::vector<int32_t>{3, 0, 2}));
    EXPECT_EQ(p->getType(2), -2);
    EXPECT_EQ(nativeBytes(VMPtr<VMArray<int8_t>>(p->data)), (Bytes{1, 2, 3, 4, 5}));
    EXPECT_EQ(p->getOffset(0), 0);
    EXPECT_EQ(p->getOffset(1), 3);
    EXPECT_EQ(p->getOffset(2), 3);
    EXPECT_EQ(nativeBytes(p->getBytes(2)), (Bytes{4, 5}));
    EXPECT_EQ(nativeBytes(p->getBytes(1)), Bytes{});
    // The stream reads the slice in place.
    VMPtr<java::io::DataInputStream> s = p->getStream(2);
    EXPECT_EQ(s->read(), 4);
    EXPECT_EQ(s->read(), 5);
    EXPECT_EQ(s->read(), -1);
    EXPECT_EQ(p->getDataArray(2).get(), VMPtr<VMArray<int8_t>>(p->data).get());
  }
}

TEST(SimplePack, WithoutDataInMemoryTheReaderStopsAfterTheTypes) {
  VMTestEnv::start();
  VMPtr<ResourcePack> p = newPack();
  VMPtr<java::io::DataInputStream> in = over(cat({content::writePackIndex({{5, {1, 2}}}), {0xAB}}));
  EXPECT_TRUE(p->readIndex(in));
  EXPECT_EQ(sizesOf(p), (std::vector<int32_t>{2}));
  EXPECT_FALSE(p->data);
  EXPECT_EQ(in->read(), 0xAB);
}

// Every refused index leaves no tables and false; a good one loads after.
TEST(SimplePack, RefusedIndexesLeaveNoTables) {
  VMTestEnv::start();
  const Bytes good = content::writeSimplePack({{1, {1, 2, 3}}, {2, {4}}});
  Bytes negativeSize = good;
  negativeSize[3] = 0x80;  // size 0 becomes 2^31 + 3
  Bytes sumAboveTotal = good;
  sumAboveTotal[16] = 3;  // total 3 for sizes 3 + 1
  Bytes totalPastData = good;
  totalPastData[16] = 5;  // a total of 5, but 4 bytes follow
  Bytes negativeTotal = good;
  negativeTotal[13] = 0xFF;
  struct Case {
    const char* what;
    Bytes image;
  };
  const std::vector<Case> cases = {
      {"empty", {}},
      {"count cut short", {0x41, 0}},
      {"sizes cut short", Bytes(good.begin(), good.begin() + 8)},
      {"types cut short", Bytes(good.begin(), good.begin() + 12)},
      {"total cut short", Bytes(good.begin(), good.begin() + 15)},
      {"data cut short", Bytes(good.begin(), good.end() - 1)},
      {"negative size", negativeSize},
      {"sizes above the total", sumAboveTotal},
      {"total past the data", totalPastData},
      {"negative total", negativeTotal},
      {"huge total", cat({Bytes(good.begin(), good.begin() + 13), {0x7F, 0xFF, 0xFF, 0xF0}, {1, 2, 3, 4}})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    VMPtr<ResourcePack> p = newPack();
    ASSERT_TRUE(p->loadIndex(over(good), 0));
    EXPECT_FALSE(p->loadIndex(over(c.image), 0));
    EXPECT_FALSE(hasTables(p));
    EXPECT_EQ(ResourcePack::currentPack, -1);
    EXPECT_EQ(java_test::thrownMessage<java::lang::RuntimeException>([&] { p->getSize(0); }), "no resource pack");
    EXPECT_EQ(java_test::thrownMessage<java::lang::RuntimeException>([&] { p->getType(0); }), "no resource pack");
    ASSERT_TRUE(p->loadIndex(over(good), 0));
    EXPECT_EQ(nativeBytes(p->getBytes(1)), Bytes{4});
  }
  VMPtr<ResourcePack> p = newPack();
  EXPECT_FALSE(p->loadIndex(VMPtr<java::io::DataInputStream>(), 0));
}

TEST(SimplePack, FileNames) {
  VMTestEnv::start();
  VMPtr<ResourcePack> p = newPack();
  struct Case {
    int32_t pack;
    int32_t part;
    const char16_t* extension;
    std::u16string name;
  };
  for (const Case& c : {Case{2, -1, nullptr, u"/RP2.rp"}, Case{5, 0, nullptr, u"/RP5part0.rp"},
                        Case{5, 7, u"png", u"/RP5part7.png"}, Case{18, 3, u"mid", u"/RP18part3.mid"},
                        Case{4, 12, nullptr, u"/RP4part12.rp"}}) {
    VMPtr<java::lang::String> ext = c.extension ? java_test::jstr(c.extension) : VMPtr<java::lang::String>();
    EXPECT_EQ(java_test::text(p->getFileName(c.pack, c.part, ext)), c.name);
  }
  EXPECT_EQ(java_test::text(p->getFileName(2, -1)), u"/RP2.rp");
  // Only a pack whose resources are files of their own names them.
  ASSERT_TRUE(p->loadIndex(over(content::writeSimplePack({{0, {1}}})), 0));
  EXPECT_FALSE(p->getResourceFileName(0x1403));
  p->singleFile = 0;
  EXPECT_EQ(java_test::text(p->getResourceFileName(0x1403)), u"/RP5part3.rp");
}

}  // namespace
