// Pack switching over a program folder's rsc/: a pack is read once while it
// is current, an id below 1024 addresses the current pack, a missing or
// broken pack becomes current without tables and is not retried until
// another pack has been current, and the packs after it load normally; an
// id past a pack's table throws ArrayIndexOutOfBoundsException naming it.

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "JavaTestSupport.h"
#include "PackFixtures.h"
#include "SimplePackWriter.h"
#include "VMTestEnv.h"
#include "java_lang_ArrayIndexOutOfBoundsException.h"
#include "java_lang_RuntimeException.h"
#include "tq_Resources.h"
#include "tq_io_resource_ResourcePack.h"

using namespace pack_fixtures;
using tq::Resources;
using tq::io::resource::ResourcePack;

namespace {

std::string noPack(int32_t id) {
  return java_test::thrownMessage<java::lang::RuntimeException>([&] { Resources::getSize(id); });
}

TEST(PackSwitching, APackIsReadOnceWhileCurrent) {
  ProgramFolder folder;
  VMTestEnv::start();
  folder.put("RP2.rp", content::writeSimplePack({{0, {1, 2}}, {0, {3, 4, 5}}, {0, {6}}, {0, {7, 8, 9, 10}}}));
  folder.put("RP20.rp", content::writeSimplePack({{9, {42}}}));
  EXPECT_EQ(Resources::getSize(2048 + 3), 4);
  EXPECT_EQ(ResourcePack::currentPack, 2);
  // The file changes, but the pack stays current and is not read again.
  folder.put("RP2.rp", content::writeSimplePack({{0, {1}}}));
  EXPECT_EQ(Resources::getSize(2048 + 1), 3);
  EXPECT_EQ(Resources::getSize(1), 3);  // an id below 1024: the current pack
  EXPECT_EQ(ResourcePack::currentPack, 2);
  EXPECT_EQ(java_test::text(Resources::currentPack()->getFileName(2, -1)), u"/RP2.rp");

  EXPECT_EQ(nativeBytes(Resources::getBytes(0x5000)), (Bytes{42}));
  EXPECT_EQ(ResourcePack::currentPack, 20);
  // Back to pack 2: read afresh.
  EXPECT_EQ(Resources::getSize(2048), 1);
  Resources::closePack();
  EXPECT_EQ(ResourcePack::currentPack, -1);
  EXPECT_EQ(noPack(0), "no resource pack");
}

TEST(PackSwitching, MissingAndBrokenPacksAreCurrentWithoutTablesAndNotRetried) {
  ProgramFolder folder;
  VMTestEnv::start();
  folder.put("RP20.rp", content::writeSimplePack({{9, {42}}}));
  EXPECT_EQ(noPack(2048), "no resource pack");
  EXPECT_EQ(ResourcePack::currentPack, 2);
  // Written now, but pack 2 is still current: not retried.
  folder.put("RP2.rp", content::writeSimplePack({{0, {1, 2}}}));
  EXPECT_EQ(noPack(2049), "no resource pack");
  EXPECT_EQ(Resources::getSize(0x5000), 1);
  EXPECT_EQ(Resources::getSize(2048), 2);

  folder.put("RP16.rp", Bytes{0x41, 0, 1, 0xFF, 0xFF, 0xFF, 0xFF});
  EXPECT_EQ(noPack(16 * 1024), "no resource pack");
  EXPECT_EQ(ResourcePack::currentPack, 16);
  EXPECT_EQ(Resources::getSize(0x5000), 1);

  // A negative id leaves no pack current.
  EXPECT_EQ(noPack(-5), "no resource pack");
  EXPECT_EQ(ResourcePack::currentPack, -1);
}

// Every lookup of an id whose index is past the pack's table (a level that
// the packs lack, a level id that fell into the pack below) throws the
// array exception with the id and the pack; the pack stays current and its
// resources answer afterwards.
TEST(PackSwitching, AnIdPastThePacksTableThrowsNamingIt) {
  ProgramFolder folder;
  VMTestEnv::start();
  folder.put("RP17.rp", content::writeSimplePack({{0, {1}}, {0, {2, 3}}}));
  folder.put("RP2.rp", content::writeSimplePack({{5, {1, 2}}, {6, {3, 4, 5}}}));
  struct Lookup {
    const char* name;
    std::function<void(int32_t)> call;
  };
  const Lookup lookups[] = {
      {"getStream", [](int32_t id) { Resources::getStream(id); }},
      {"getBytes", [](int32_t id) { Resources::getBytes(id); }},
      {"getSize", [](int32_t id) { Resources::getSize(id); }},
      {"getType", [](int32_t id) { Resources::getType(id); }},
      {"getImage", [](int32_t id) { Resources::getImage(id); }},
      {"getOffset", [](int32_t id) { Resources::getOffset(id); }},
      {"loadToReadBuffer", [](int32_t id) { Resources::currentPack()->loadToReadBuffer(id); }},
  };
  for (const Lookup& l : lookups) {
    SCOPED_TRACE(l.name);
    // One past pack 2's table, the last index of pack 2, and pack 17 between.
    for (int32_t id : {2048 + 2, 2048 + 1023, 17 * 1024 + 1019}) {
      const std::string m = java_test::thrownMessage<java::lang::ArrayIndexOutOfBoundsException>([&] { l.call(id); });
      EXPECT_EQ(m, "no resource " + std::to_string(id) + " in pack " + std::to_string(id >> 10));
      EXPECT_EQ(ResourcePack::currentPack, id >> 10);
    }
    EXPECT_EQ(Resources::getSize(2049), 3);
    EXPECT_EQ(Resources::getType(2049), 6);
  }
}

TEST(PackSwitching, ResourcesAddressExactlyTheResourceBytes) {
  ProgramFolder folder;
  VMTestEnv::start();
  folder.put("RP2.rp", content::writeSimplePack({{0, {1, 2}}, {0, {3, 4, 5}}}));
  for (int32_t id : {2048, 2049}) {
    VMPtr<VMArray<int8_t>> a = Resources::getDataArray(id);
    const int32_t off = Resources::getOffset(id);
    const Bytes whole = nativeBytes(a);
    EXPECT_EQ(Bytes(whole.begin() + off, whole.begin() + off + Resources::getSize(id)),
              nativeBytes(Resources::getBytes(id)));
  }
  // A byte-array stream supports marks: it comes marked at its start.
  VMPtr<java::io::DataInputStream> s = Resources::getStream(2049);
  EXPECT_EQ(s->read(), 3);
  s->reset();
  EXPECT_EQ(s->read(), 3);

  EXPECT_FALSE(Resources::loadIndex(VMPtr<java::io::DataInputStream>()));
  EXPECT_EQ(ResourcePack::currentPack, -1);
  const Bytes image = nativeBytes(Resources::buildPack(
      [] {
        VMPtr<VMArray<int8_t, 2>> items = VMArray<int8_t, 2>::createMulti(1, 1);
        items->set(0, javaBytes({5, 6}));
        return items;
      }(),
      javaBytes({3})));
  EXPECT_TRUE(Resources::loadIndex(Resources::openStream(javaBytes(image), 0, static_cast<int32_t>(image.size()))));
  EXPECT_EQ(Resources::getType(0), 3);
  EXPECT_EQ(nativeBytes(Resources::getBytes(0)), (Bytes{5, 6}));
}

}  // namespace
