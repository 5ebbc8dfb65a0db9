#include <gtest/gtest.h>

#include "ChunkedPackWriter.h"
#include "ContentError.h"
#include "PackExtensionWriter.h"
#include "SimplePackWriter.h"
#include "TestBytes.h"

namespace content {
namespace {

TEST(SimplePackWriter, TwoResourcesGiveTheTwentyBytesOfThePackSaver) {
  const Bytes image = writeSimplePack({{7, {0xA1, 0xA2, 0xA3}}, {9, {}}});
  EXPECT_EQ(image, hexBytes("41 0002 00000003 00000000 07 09 00000003 A1A2A3"));
  EXPECT_EQ(image.size(), 20u);
}

TEST(SimplePackWriter, NoResourcesGiveTheSevenByteImage) {
  EXPECT_EQ(writeSimplePack({}), hexBytes("41 0000 00000000"));
}

TEST(SimplePackWriter, TwoByteSizesClearBitZeroOfTheFlags) {
  EXPECT_EQ(writeSimplePack({{1, {0xEE}}, {2, {}}}, true), hexBytes("40 0002 0001 0000 01 02 00000001 EE"));
}

TEST(SimplePackWriter, HeaderIsFiveBytesPerResourcePlusSeven) {
  std::vector<PackResource> resources(1024, PackResource{3, {1, 2}});
  const Bytes image = writeSimplePack(resources);
  ASSERT_EQ(image.size(), 5 * 1024 + 7 + 2048u);
  EXPECT_EQ(image[1], 0x04);
  EXPECT_EQ(image[2], 0x00);
}

TEST(SimplePackWriter, RefusesWhatTheIndexCannotAddressOrHold) {
  std::vector<PackResource> tooMany(1025);
  expectRefusal([&] { writeSimplePack(tooMany); }, "resource count");
  expectRefusal([&] { writeSimplePack({{0, {}}, {0, Bytes(65536)}}, true); }, "resource 1");
  expectRefusal([&] { simplePackFiles(3, {}); }, "pack 3");
  expectRefusal([&] { simplePackFiles(0, {}); }, "pack number");
}

TEST(SimplePackWriter, PackFileCarriesThePackName) {
  const PackFiles files = simplePackFiles(2, {{7, {1}}});
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files.begin()->first, "RP2.rp");
  EXPECT_EQ(files.begin()->second, writeSimplePack({{7, {1}}}));
}

TEST(PackFileNames, FollowTheResourceFolderScheme) {
  EXPECT_EQ(packFileName(2), "RP2.rp");
  EXPECT_EQ(packFileName(5, 0), "RP5part0.rp");
  EXPECT_EQ(packFileName(5, 7, "png"), "RP5part7.png");
  EXPECT_EQ(fileTypeExtension(0), "mid");
  EXPECT_EQ(fileTypeExtension(1), "wav");
  EXPECT_EQ(fileTypeExtension(-3), "png");
  EXPECT_EQ(fileTypeExtension(-12), "rp");
  EXPECT_EQ(fileTypeExtension(13), "rp");
  EXPECT_EQ(fileTypeExtension(99), "rp");
  for (int pack : {2, 10, 16, 17, 20, 33}) EXPECT_FALSE(isChunkedPack(pack)) << pack;
  for (int pack : {1, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 14, 15, 18, 19}) EXPECT_TRUE(isChunkedPack(pack)) << pack;
}

const std::vector<PackResource> kThree = {{7, {1, 2, 3}}, {1, {}}, {-3, {4, 5}}};

TEST(ChunkedPackWriter, SplitPackHoldsHeaderIndexAndSplitMap) {
  const PackFiles files = writeChunkedPack(5, kThree, ChunkedPackLayout::split(2));
  ASSERT_EQ(files.size(), 3u);
  const Bytes index = writePackIndex(kThree);
  const Bytes expected = concat({hexBytes("25525025 0004 0002"), hexBytes("52504865"), be32(index.size()), be32(1),
                                 index, hexBytes("46534C4D 00000010 00000001"),
                                 hexBytes("00000005 00000002 00000003 00000002")});
  EXPECT_EQ(files.at("RP5.rp"), expected);
  EXPECT_EQ(files.at("RP5part1.rp"), hexBytes("010203"));
  EXPECT_EQ(files.at("RP5part2.rp"), hexBytes("0405"));
}

TEST(ChunkedPackWriter, FileTablePackPutsEachResourceInItsOwnTypedFile) {
  const PackFiles files =
      writeChunkedPack(18, kThree, ChunkedPackLayout::fileTable({0, 1, -3}, false));
  ASSERT_EQ(files.size(), 4u);
  EXPECT_EQ(files.at("RP18part0.mid"), hexBytes("010203"));
  EXPECT_EQ(files.at("RP18part1.wav"), Bytes{});
  EXPECT_EQ(files.at("RP18part2.png"), hexBytes("0405"));
  const Bytes index = writePackIndex(kThree);
  const Bytes table = hexBytes(
      "00000000 00000003"
      "00 00 0000 00000000 00000000"
      "01 00 0001 00000000 00000000"
      "FD 00 0002 00000000 00000000");
  const Bytes expected = concat({hexBytes("25525025 0004 0002 5646534F"), be32(table.size()), be32(1), table,
                                 hexBytes("52504865"), be32(index.size()), be32(1), index});
  EXPECT_EQ(files.at("RP18.rp"), expected);
}

TEST(ChunkedPackWriter, EmptySplitPackHasNoParts) {
  const PackFiles files = writeChunkedPack(1, {}, ChunkedPackLayout::split(0));
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files.at("RP1.rp"),
            hexBytes("25525025 0004 0002 52504865 00000003 00000001 410000 46534C4D 00000008 00000001 00000000 00000000"));
}

TEST(ChunkedPackWriter, RefusesWhatTheReaderCannotOpen) {
  expectRefusal([] { writeChunkedPack(2, kThree, {}); }, "pack 2");
  expectRefusal([] { writeChunkedPack(5, kThree, ChunkedPackLayout::split(0)); }, "part count");
  expectRefusal([] { writeChunkedPack(5, kThree, ChunkedPackLayout::fileTable({1})); },
                "file types");
  expectRefusal([] { writeChunkedPack(5, std::vector<PackResource>(1025), {}); }, "resource count");
}

TEST(PackExtensionWriter, WritesSizesThenBytes) {
  EXPECT_EQ(writePackExtension({{0xAA, 0xBB}, {}, {0xCC}}), hexBytes("0002 0000 0001 AABBCC"));
  const Bytes largest = writePackExtension({Bytes(65535, 7)});
  EXPECT_EQ(largest[0], 0xFF);
  EXPECT_EQ(largest[1], 0xFF);
  EXPECT_EQ(largest.size(), 65537u);
}

TEST(PackExtensionWriter, RefusesAnExtensionPastSixteenBits) {
  expectRefusal([] { writePackExtension({{}, Bytes(65536)}); }, "extension 1, size");
}

}  // namespace
}  // namespace content
